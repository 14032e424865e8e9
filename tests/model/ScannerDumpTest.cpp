#include "model/ScannerDump.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QByteArray dump =
    R"([1,2,{"progname":"ncdu","progver":"1.19","timestamp":1796690000},
[{"name":"/srv","asize":4096,"dev":7},
 {"name":"a.log","asize":1000,"mtime":1796000000,"mode":33060},
 [{"name":".cache"},{"name":"b.LOG","asize":20,"ino":5,"hlnkc":true,"nlink":2},
  {"name":"c.log","asize":20,"ino":5,"hlnkc":true,"nlink":2}],
 {"name":"proc","excluded":"otherfs"}]])";

TEST(ScannerDump, CountsWhatTheDumpHoldsAndTellsWhatItLacks)
{
    const DumpRead read = parseScannerDump(dump, "d.json");
    ASSERT_TRUE(read) << read.message.toStdString();
    const Accumulators &figures = read.collection->figures;
    EXPECT_EQ(figures.filesProcessed, 2); // the second name of the linked file and "proc" not
    EXPECT_EQ(figures.linkedNamesSkipped, 1);
    EXPECT_EQ(figures.nReadOnly, 1);
    EXPECT_EQ(figures.nHidden, 0); // ".cache" is a folder the dump holds: its files count
    EXPECT_EQ(figures.folderTotals.at(0).folders.at(1).path, ".cache");
    EXPECT_EQ(read.dump.maker, "ncdu 1.19");
    EXPECT_TRUE(read.dump.hasTimes && read.dump.hasModes);
    EXPECT_EQ(read.collection->facts.started.toSecsSinceEpoch(), 1796690000);
}

TEST(ScannerDump, AGzippedDumpReadsAsThePlainOne)
{
    QProcess gzip;
    gzip.start("gzip", {"-c"});
    gzip.write(dump);
    gzip.closeWriteChannel();
    ASSERT_TRUE(gzip.waitForFinished());
    const DumpRead packed = parseScannerDump(gzip.readAllStandardOutput(), "d.json.gz");
    ASSERT_TRUE(packed) << packed.message.toStdString();
    EXPECT_EQ(*packed.collection, *parseScannerDump(dump, "d.json").collection);
}

TEST(ScannerDump, RefusesDamagedDumpsWithOneMessage)
{
    const struct
    {
        QByteArray bytes;
        const char *says;
    } cases[] = {
        {dump.left(dump.size() - 1), "cut short"},
        {dump + "x", "follows the end"},
        {"[2,0,{},[{\"name\":\"/\"}]]", "layout"},
        {"[1,0,{},[{\"asize\":1}]]", "without a name"},
        {"[1,0,{},[{\"name\":\"/\"},{\"name\":\"a/b\"}]]", "without a name"},
        {"[1,0,{},[{\"name\":\"/\"},{\"name\":\"a\",\"asize\":-1}]]", "whole number"},
        {"[1,0,{},[{\"name\":\"/\"},{\"name\":\"a\",\"asize\":01}]]", "leading zero"},
        {"[1,0,{},[{\"name\":\"/\"},{\"name\":\"a\\ud800\"}]]", "surrogate"},
        {"[1,0,{},[{\"name\":\"/\"},{\"name\":\"a\nb\"}]]", "control character"},
        {"[1,0,{},[{\"name\":\"/\"} {\"name\":\"a\"}]]", "damaged"},
        {"\x1f\x8b\x08\x00garbage", "cut short"},
        {"[1,0,{}," + QByteArray("[{\"name\":\"a\"},").repeated(3000), "too deep"},
    };
    for (const auto &c : cases) {
        const DumpRead read = parseScannerDump(c.bytes, "d.json");
        EXPECT_FALSE(read);
        EXPECT_TRUE(read.message.startsWith("Cannot open the dump d.json: "))
            << read.message.toStdString();
        EXPECT_TRUE(read.message.contains(c.says)) << read.message.toStdString();
    }
}

} // namespace
