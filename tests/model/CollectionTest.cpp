#include "model/Collection.h"

#include "engine/EngineTestSupport.h"
#include "model/RunRecorder.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QJsonDocument>
#include <QTimeZone>

namespace {

using korvel::test::Tree;
using korvel::test::utc;

class CollectionFile : public korvel::test::EngineTest
{
protected:
    // A run over two folders, filtered, with its facts written down as the window does.
    Collection realRun(int stopAfterPauses = -1)
    {
        Tree first, second;
        first.file("a.doc", 5000, utc(2026, 12, 1, 9, 40), utc(2026, 12, 6, 23, 10));
        first.file("sub/b.DOC", 70000, utc(2020, 2, 29));
        first.file("sub/c.txt", 3, utc(2026, 6, 1));
        first.file("no extension", 1);
        first.file("x.toolong", 20'000'000);
        second.file("deep/er/d.txt", 100, utc(2025, 1, 1, 0, 45));
        second.file("ü.äöü", 7);
        useDrives({first.root(), second.root()});
        engine.includeSelected = true;
        engine.allTypes = false;
        engine.PickList2 = QStringList{"*.doc\tWord document", "*.txt\tText", "*.äöü\t"};
        RunRecorder recorder;
        recorder.now = [t = utc(2026, 12, 7, 16, 45, 3)]() mutable {
            return QDateTime::fromSecsSinceEpoch(t += 61, QTimeZone(3600));
        };
        recorder.runStarting(drives, engine.PickList1);
        engine.hooks.driveStarting = [&] {
            recorder.driveWalking(drives, engine.currentDrive.at(0));
        };
        engine.hooks.refillPages = [&] {
            recorder.driveWalked(engine.walkCounters.entries, engine.walkCounters.withCreationTime);
        };
        if (stopAfterPauses >= 0) {
            engine.dispatchInterval = std::chrono::milliseconds(0);
            engine.hooks.dispatchMessages = [this, pauses = stopAfterPauses]() mutable {
                engine.aborted = engine.aborted || pauses-- == 0;
            };
        }
        engine.collectDrives();
        return collectionOf(recorder.runEnded(engine.aborted), engine);
    }
};

// A run stopped at any point (here from its first file to past its end) is kept in the history:
// its file must open again as it was.
TEST_F(CollectionFile, StoppedRunsOpenAgain)
{
    for (int pauses = 0; pauses < 12; ++pauses) {
        const Collection run = realRun(pauses);
        const CollectionRead read = parseCollection(collectionJson(run));
        ASSERT_TRUE(read) << pauses << ": " << read.message.toStdString();
        EXPECT_TRUE(*read.collection == run) << pauses;
    }
}

// Every figure of a real walk, the facts of its drives and the largest numbers a drive or a
// type row can hold come back exactly from the file.
TEST_F(CollectionFile, RoundTripOfARealRunIsExact)
{
    Collection run = realRun();
    ASSERT_EQ(run.figures.filesFound, 5);
    ASSERT_EQ(run.facts.drives.size(), 2u);
    EXPECT_EQ(run.facts.drives[1].entriesMet, 4u) << "deep, er, d.txt and ü.äöü";
    run.facts.drives[0].capacity = UINT64_MAX;
    run.facts.drives[0].freeBytes = (1ull << 53) + 1;
    TypeTable rows;
    for (int i = 0; i < run.figures.lbTypes.count(); ++i)
        rows.putRow(run.figures.lbTypes.extensionAt(i), run.figures.lbTypes.filesAt(i),
                    i == 0 ? UINT64_MAX : run.figures.lbTypes.bytesAt(i));
    run.figures.lbTypes = rows;
    run.figures.sizeBytes[12] = 0x1p63 + 0x1p11; // past 2^53: a double's spacing shows
    ASSERT_EQ(run.figures.folderTotals.size(), 2u);
    EXPECT_EQ(run.figures.folderTotals[1].folders[2].path, "deep/er");
    // A folder name that is no UTF-8 and holds a line break comes back byte for byte.
    run.figures.folderTotals[0].folders.push_back({"z\xff\n\\", 0, 0, 0, 0});
    ASSERT_EQ(run.figures.driveFiles.size(), 2u);
    EXPECT_EQ(run.figures.driveFiles[0].largest[0].path, "sub/b.DOC");
    run.figures.driveFiles[1].largest[0].path = "z\xff\n\\/ü";

    QTemporaryDir folder;
    const QString path = folder.filePath("run.korvel98.json");
    QString message;
    ASSERT_TRUE(writeCollectionFile(path, run, message)) << message.toStdString();
    const QByteArray bytes = korvel::test::fileBytes(path);
    EXPECT_TRUE(bytes.startsWith(R"({"format":"korvel98-collection","version":1,)"));
    EXPECT_TRUE(bytes.contains(R"("18446744073709551615")"));
    const CollectionRead read = readCollectionFile(path);
    ASSERT_TRUE(read) << read.message.toStdString();
    EXPECT_TRUE(*read.collection == run);
    EXPECT_EQ(read.collection->facts.started.toString(Qt::ISODate), "2026-12-07T17:46:04+01:00");
    EXPECT_EQ(collectionJson(*read.collection), bytes);
}

// A valid file with the figures of four files, changed in one place per case.
QByteArray sample()
{
    Collection c;
    c.facts.programVersion = "1.3";
    c.facts.started = QDateTime::fromSecsSinceEpoch(utc(2026, 12, 7), QTimeZone(3600));
    c.facts.ended = c.facts.started.addSecs(90);
    c.facts.hostName = "box";
    c.facts.complete = true;
    DriveFacts drive;
    drive.letter = 'c';
    drive.walked = true;
    drive.mountPoint = "/";
    drive.capacity = 1000;
    drive.freeBytes = 400;
    drive.accessTimes = platform::AccessTimes::Daily;
    c.facts.drives = {drive};
    Accumulators &f = c.figures;
    f.allTypes = true;
    f.filesProcessed = 5;
    f.filesFound = 4;
    f.lbTypes.putRow(".TXT", 3, 30);
    f.lbTypes.putRow("", 1, 10);
    f.sizeFiles[1] = 4;
    f.sizeBytes[1] = 40;
    for (auto *table : {&f.ageAccessedFiles, &f.ageCreatedFiles, &f.ageModifiedFiles})
        (*table)[1] = 4;
    f.hourModified[20] = 4;
    f.nReadOnly = 2;
    f.folderTotals = {{QChar('c'), {{"", 4, 40, 1, 10}, {"docs", 3, 30, 3, 30}}}};
    f.driveFiles = {{QChar('c'),
                     {{"docs/big", 20, -86400, 1000, 100}, {"docs/b", 5, 0, 0, 0}},
                     4,
                     {{0, 1, 5, "root"}, {1000, 3, 35, ""}},
                     {{0, 1, 5, "root"}, {100, 3, 35, "users"}}}};
    return collectionJson(c);
}

TEST(CollectionRead, HostileFilesAreRefusedWithOneMessage)
{
    const struct
    {
        QByteArray from, to, message;
    } cases[] = {
        {"", "", "not a collection file"}, // the whole file cut to nothing
        {R"("figures")", R"("figures)", "not a collection file"},
        {"korvel98-collection", "other-collection", "not a Korvel 98 collection"},
        {R"("version":1)", R"("version":2)", "newer Korvel 98 (collection version 2"},
        {R"("version":1)", R"("version":"1")", "version is not a format version"},
        {R"("capacity":"1000")", R"("capacity":1000)", "drives[0].capacity is not a whole"},
        {R"("filesFound":"4")", R"("filesFound":"-4")", "filesFound is not a whole number"},
        {R"("capacity":"1000")", R"("capacity":"18446744073709551616")", "is larger than"},
        {R"("filesProcessed":"5")", R"("filesProcessed":"9223372036854775808")", "larger than"},
        {R"("sizeBytes":[40,)", R"("sizeBytes":[1e300,)", "sizeBytes[0] is not a whole"},
        {R"("sizeBytes":[40,)", R"("sizeBytes":[-40,)", "sizeBytes[0] is not a whole"},
        {R"("sizeFiles":[4,0,)", R"("sizeFiles":[3.5,0.5,)", "sizeFiles[0] is not a whole"},
        {R"("hourCreated":[0,)", R"("hourCreated":[)", "hourCreated has 47 entries, not 48"},
        {R"("sizeFiles":[4,)", R"("sizeFiles":[5,)", "sizeFiles does not add up"},
        {R"("nReadOnly":"2")", R"("nReadOnly":"5")", "nReadOnly is larger than filesFound"},
        {R"(["","1","10"])", R"([".TXT","1","10"])", "lbTypes[1] repeats an extension"},
        {R"(["","1","10"])", R"([".TOOLONG","1","10"])", "holds no extension"},
        {R"(["","1","10"])", R"(["","1","10",4])", "lbTypes[0] is not an extension"},
        {R"(".TXT","3")", R"(".TXT","4")", "counts more files than were found"},
        {R"("overhang4K":0,)", "", "figures.overhang4K is missing"},
        {R"("letter":"c")", R"("letter":"a")", "not a drive letter from c to z"},
        {R"("used":"600")", R"("used":"601")", "used is not the capacity less the free"},
        {"relatime", "lazytime", "accessDates is not noatime, relatime or strictatime"},
        {"+01:00", "", "not a date and time with its offset"},
        {R"("host":"box")", R"("host":"\udc00")", "host is not a text"},
        {R"("mode":"all")", R"("mode":"some")", "is none of all, include and exclude"},
        {R"(["","4","40")", R"(["","5","40")", "folders counts more files than were found"},
        {R"(["docs","3","30","3")", R"(["docs","3","30","4")", "rows[1] holds more in its own"},
        {R"(["docs","3","30")", R"(["docs","3","31")", "hold more than the folder they lie in"},
        {R"(["docs")", R"(["x/docs")", "rows[1] lies in a folder that is not listed"},
        {R"(["docs")", R"(["")", "rows[1] is out of order or repeats a folder"},
        {R"(["docs")", R"(["../docs")", "rows[1] is not a folder's path"},
        {R"(["docs")", R"(["do\\qcs")", "rows[1] is not a folder's path"},
        {R"(["docs")", "[\"" + QByteArray(256, 'd') + '"', "rows[1] is not a folder's path"},
        {R"("letter":"c","rows")", R"("letter":"d","rows")", "names no drive the run walked"},
        {R"(["docs/b","5")", R"(["docs/b","50")", "largest[1] is out of order"},
        {R"(["docs/b","5",0,)", R"(["docs/b","5",0.5,)", "holds no modification time"},
        {R"(["docs/b")", R"(["docs/")", "largest[1] is not a folder's path"},
        {R"("1000","","3")", R"("1000","","2")", "users does not add up to the files counted"},
        {R"("1000","","3")", R"("0","","3")", "users[1] is out of order or repeats an id"},
        {R"("counted":"4")", R"("counted":"1")", "largest holds more files than were kept"},
        {R"(["docs","3")", R"(["docs","3a")", "rows[1] is not a whole number"},
        {R"(["docs","3")", R"(["docs","")", "rows[1] is not a whole number"},
        {R"(["docs","3","30")", R"(["docs","3","18446744073709551616")", "is larger than"},
        {R"(["docs","3","30","3","30"])", R"(["docs","3","30","3"])", "rows[1] is not a path"},
    };
    const QByteArray valid = sample();
    ASSERT_TRUE(parseCollection(valid)) << parseCollection(valid).message.toStdString();
    for (const auto &c : cases) {
        QByteArray bytes = valid;
        if (!c.from.isEmpty()) {
            ASSERT_TRUE(bytes.contains(c.from)) << c.from.toStdString();
            bytes.replace(bytes.indexOf(c.from), c.from.size(), c.to);
        } else {
            bytes.clear();
        }
        const CollectionRead read = parseCollection(bytes);
        EXPECT_FALSE(read.collection) << c.to.toStdString();
        EXPECT_TRUE(read.message.contains(QString::fromUtf8(c.message)))
            << read.message.toStdString();
    }
    EXPECT_FALSE(parseCollection(QByteArray(collectionFileLimit + 1, ' ')));
}

// The long lists are read a row at a time: damage to a row's text is told as of the whole file,
// and lists that cannot be read that way (repeated keys) are read as before.
TEST(CollectionRead, LongListsReadRowByRowAsTheWholeFile)
{
    const QByteArray valid = sample();
    const struct
    {
        QByteArray from, to;
    } cases[] = {{R"(".TXT","3")", R"(".TXT" "3")"},
                 {R"(["docs","3")", R"(["docs",,"3")"},
                 {R"(["docs","3")", R"(["docs","3\u12")"},
                 {R"("lbTypes":[)", R"("lbTypes":[],"lbTypes":[)"}};
    for (const auto &c : cases) {
        QByteArray bytes = valid;
        ASSERT_TRUE(bytes.contains(c.from)) << c.from.toStdString();
        bytes.replace(bytes.indexOf(c.from), c.from.size(), c.to);
        QJsonParseError error;
        const bool parses = !QJsonDocument::fromJson(bytes, &error).isNull();
        const CollectionRead read = parseCollection(bytes);
        EXPECT_EQ(bool(read), parses) << c.to.toStdString();
        if (!parses) {
            EXPECT_EQ(read.message, QStringLiteral("it is not a collection file (%1 at byte %2)")
                                        .arg(error.errorString())
                                        .arg(error.offset));
        }
    }
    // A row spelled otherwise than the program writes it reads as the same row.
    for (const auto &[from, to] :
         {std::pair{R"(["docs","3")", R"([ "docs", "3")"},
          std::pair{R"(["docs")", R"(["\u0064ocs")"}, std::pair{R"([".TXT")", R"([".T\u0058T")"}}) {
        QByteArray bytes = valid;
        bytes.replace(from, to);
        EXPECT_EQ(parseCollection(bytes).collection, parseCollection(valid).collection) << to;
    }
}

// Later versions add keys; a reader of today passes them by and fills in what is left out. A file
// from before the folder totals reads without them.
TEST(CollectionRead, UnknownKeysAreIgnoredAndOptionalOnesDefault)
{
    QByteArray bytes = sample();
    bytes.replace(R"("host":"box",)", R"("foldersUnreadable":["/x"],)");
    bytes.replace(R"("entriesMet":"0",)", "");
    const qsizetype folders = bytes.indexOf(R"("folders":)");
    ASSERT_GT(folders, 0);
    bytes.remove(folders, bytes.indexOf("]]}],", folders) + 5 - folders);
    const qsizetype files = bytes.indexOf(R"("files":)");
    bytes.remove(files, bytes.indexOf(R"("filesFound")") - files);
    const CollectionRead read = parseCollection(bytes);
    ASSERT_TRUE(read) << read.message.toStdString();
    EXPECT_EQ(read.collection->facts.hostName, "");
    EXPECT_EQ(read.collection->figures.lbTypes.rows(), (QStringList{"\t1\t10", ".TXT\t3\t30"}));
    EXPECT_TRUE(read.collection->figures.folderTotals.empty());
    EXPECT_TRUE(read.collection->figures.driveFiles.empty());
}

// Extensions are written escaped; files from before hold them as they were, and read alike.
TEST(CollectionRead, ExtensionsReadAlikeEscapedOrAsTheyWere)
{
    for (const char *stored : {R"(".\n")", R"(".\\n")"}) {
        QByteArray bytes = sample();
        bytes.replace(R"(".TXT")", stored);
        const CollectionRead read = parseCollection(bytes);
        ASSERT_TRUE(read) << read.message.toStdString();
        EXPECT_EQ(read.collection->figures.lbTypes.rows(), (QStringList{"\t1\t10", ".\\n\t3\t30"}));
    }
}

// The sample with two more files, whose extension is too long for a row.
Collection withLongerExtensions(const QString &extension)
{
    Collection run = *parseCollection(sample()).collection;
    Accumulators &f = run.figures;
    f.filesProcessed = f.filesFound = 6;
    f.sizeFiles[1] = 6;
    for (auto *table : {&f.ageAccessedFiles, &f.ageCreatedFiles, &f.ageModifiedFiles})
        (*table)[1] = 6;
    f.lbTypes.addLonger(extension, 2);
    f.folderTotals.clear(); // they would count fewer files than were found
    return run;
}

// The files whose extensions are too long for a row come back with the line the Types page shows
// about them; a count past the files found or an extension that fits a row is refused.
TEST(CollectionRead, FilesWithLongerExtensionsComeBack)
{
    const QByteArray bytes = collectionJson(withLongerExtensions(".desktop"));
    const CollectionRead read = parseCollection(bytes);
    ASSERT_TRUE(read) << read.message.toStdString();
    EXPECT_EQ(read.collection->figures.lbTypes.longerFiles(), 2);
    EXPECT_EQ(read.collection->figures.lbTypes.commonestLonger(), ".desktop");

    const std::pair<QByteArray, QByteArray> hostile[] = {
        {R"("longerExtensionFiles":"2")", R"("longerExtensionFiles":"3")"},
        {R"(".desktop")", R"(".txt")"},
        {R"(".desktop")", "\"." + QByteArray(255, 'x') + '"'}}; // longer than a file name
    for (const auto &[from, to] : hostile) {
        QByteArray changed = bytes;
        ASSERT_TRUE(changed.contains(from));
        changed.replace(from, to);
        EXPECT_FALSE(parseCollection(changed)) << to.toStdString();
    }
}

// The longest names a walk can meet come back, each byte written as a six-character escape: an
// extension as long as a file name may be, and a folder path far past the system's 4,096 bytes
// (the walk enters one folder at a time).
TEST(CollectionRead, TheLongestNamesComeBack)
{
    const QByteArray part(255, '\x7f');
    Collection run = withLongerExtensions(QString::fromLatin1("." + part.left(254)));
    std::vector<FolderTotal> folders = {{"", 6, 60, 6, 60}};
    for (QByteArray path = part; path.size() < 6000; path += "/" + part)
        folders.push_back({path, 0, 0, 0, 0});
    run.figures.folderTotals = {{QChar('c'), folders}};
    const CollectionRead read = parseCollection(collectionJson(run));
    ASSERT_TRUE(read) << read.message.toStdString();
    EXPECT_TRUE(*read.collection == run);
}

TEST(CollectionRead, FileMessageNamesTheFile)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("cut.korvel98.json");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(sample().left(100));
    file.close();
    EXPECT_TRUE(readCollectionFile(path).message.startsWith(
        "Cannot open the collection " + path +
        ": it ends early, at byte 100, and may be incomplete"));
    EXPECT_TRUE(readCollectionFile(folder.filePath("none")).message.contains("none: "));
    EXPECT_TRUE(readCollectionFile("/dev/zero").message.endsWith("it is not a regular file."));
}

// A run read back tells its times in the zone it recorded when this computer knows that zone and
// it agrees with the recorded offset; otherwise by the offset.
TEST(CollectionRead, TimesComeBackInTheRecordedZone)
{
    const struct
    {
        const char *zone, *shown;
    } cases[] = {
        {"Europe/Paris", "CET"}, {"Nowhere/Else", "UTC+01:00"}, {"Asia/Tokyo", "UTC+01:00"}};
    for (const auto &c : cases) {
        QByteArray bytes = sample();
        const qsizetype at = bytes.indexOf(R"("timeZone":")") + 12;
        ASSERT_GT(at, 12);
        bytes.replace(at, bytes.indexOf('"', at) - at, c.zone);
        const CollectionRead read = parseCollection(bytes);
        ASSERT_TRUE(read) << read.message.toStdString();
        EXPECT_EQ(read.collection->facts.started.timeZoneAbbreviation(), c.shown) << c.zone;
    }
}

} // namespace
