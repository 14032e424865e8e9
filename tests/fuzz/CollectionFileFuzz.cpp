// Any bytes as a collection file: a file the reader takes must write back and read again as the
// same collection; one it refuses must say why. The progress estimate reads only the facts of a
// history file: it must read those of every file the full reader takes, and scale the entries of
// any drive it reads by any other; the quick look at a file's ends must tell the facts of every
// file the program writes. Reading must stay within memory in proportion to the file: a
// rise of the process's peak beyond a fixed allowance and ten times the input is a fault, as is
// anything else (a crash, a hang, a sanitizer's report).

#include "model/Collection.h"
#include "model/History.h"
#include "model/QuickFacts.h"

#include <cstdint>
#include <cstdlib>
#include <sys/resource.h>

namespace {

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The peak can only rise by what this input took at least, whatever earlier inputs left behind.
// The allowance covers the libraries' first use of memory and a sanitizer's bookkeeping.
void checkPeak(long before, std::size_t size)
{
    constexpr long allowanceKilobytes = 64 * 1024;
    if (peakKilobytes() - before > allowanceKilobytes + long(10 * size / 1024))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const long before = peakKilobytes();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<RunFacts> facts = parseRunFacts(bytes);
    quickRunFacts(bytes, bytes, true);
    if (facts)
        for (const DriveFacts &then : facts->drives)
            for (const DriveFacts &now : facts->drives)
                if (scaledEntries(then, now) == 0 && then.entriesMet > 0)
                    std::abort();
    const CollectionRead first = parseCollection(bytes);
    checkPeak(before, size);
    if (first && !(facts && *facts == first.collection->facts))
        std::abort();
    if (!first) {
        if (first.message.isEmpty())
            std::abort();
        return 0;
    }
    const QByteArray written = collectionJson(*first.collection);
    const CollectionRead again = parseCollection(written);
    if (!again || !(*again.collection == *first.collection))
        std::abort();
    // What the program writes, a quick look at its first and last bytes tells the facts of.
    const std::optional<RunFacts> quick = quickRunFacts(written, written.right(64 << 10), false);
    if (!quick || !(*quick == first.collection->facts))
        std::abort();
    return 0;
}
