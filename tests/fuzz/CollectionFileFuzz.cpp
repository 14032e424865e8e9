// Any bytes as a collection file: a file the reader takes must write back and read again as the
// same collection; one it refuses must say why. The progress estimate reads only the facts of a
// history file: it must read those of every file the full reader takes, and scale the entries of
// any drive it reads by any other. Anything else (a crash, a hang, a sanitizer's report) is a
// fault of the readers.

#include "model/Collection.h"
#include "model/History.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<RunFacts> facts = parseRunFacts(bytes);
    if (facts)
        for (const DriveFacts &then : facts->drives)
            for (const DriveFacts &now : facts->drives)
                if (scaledEntries(then, now) == 0 && then.entriesMet > 0)
                    std::abort();
    const CollectionRead first = parseCollection(bytes);
    if (first && !(facts && *facts == first.collection->facts))
        std::abort();
    if (!first) {
        if (first.message.isEmpty())
            std::abort();
        return 0;
    }
    const CollectionRead again = parseCollection(collectionJson(*first.collection));
    if (!again || !(*again.collection == *first.collection))
        std::abort();
    return 0;
}
