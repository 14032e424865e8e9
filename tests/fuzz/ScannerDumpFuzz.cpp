// Any bytes as the dump of another scanner, plain or gzipped: a dump the reader takes must make a
// collection that is written and read back as itself; one it refuses must say why. Anything else
// (a crash, a hang, a sanitizer's report) is a fault of the reader.

#include "model/ScannerDump.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const DumpRead read = parseScannerDump(bytes, QStringLiteral("dump.json"), 1796690000);
    if (!read) {
        if (read.message.isEmpty())
            std::abort();
        return 0;
    }
    const CollectionRead again = parseCollection(collectionJson(*read.collection));
    if (!again || !(*again.collection == *read.collection))
        std::abort();
    return 0;
}
