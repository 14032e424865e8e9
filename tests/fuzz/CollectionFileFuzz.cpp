// Any bytes as a collection file: a file the reader takes must write back and read again as the
// same collection; one it refuses must say why. Anything else (a crash, a hang, a sanitizer's
// report) is a fault of the reader.

#include "model/Collection.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const CollectionRead first = parseCollection(bytes);
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
