#include "engine/TypeTable.h"

#include <gtest/gtest.h>

namespace {

TEST(TypeTable, RowsMergeWithoutRegardToCaseAndStaySorted)
{
    TypeTable table;
    table.countFile(".txt", 10);
    table.countFile(".TXT", 5);
    table.countFile(".Doc", 1);
    table.countFile("", 7);
    table.insertType(".bmp", 3, false);
    EXPECT_EQ(table.rows(), (QStringList{"\t1\t7", ".BMP\t1\t3", ".DOC\t1\t1", ".TXT\t2\t15"}));

    table.countFile(".ABC", 1); // a new row takes its place in the order
    EXPECT_EQ(table.row(1), ".ABC\t1\t1");
    EXPECT_EQ(table.row(2), ".BMP\t1\t3");
}

// Hundreds of extensions, met in either case, each find their own row again.
TEST(TypeTable, ManyExtensionsEachKeepTheirOwnRow)
{
    TypeTable table;
    for (const bool upper : {false, true})
        for (int i = 0; i < 500; ++i) {
            const std::string extension = "." + std::to_string(i) + (upper ? "X" : "x");
            table.countFile(extension, std::uint64_t(i));
        }
    ASSERT_EQ(table.count(), 500);
    for (int i = 0; i < table.count(); ++i)
        EXPECT_EQ(table.bytesAt(i), 2 * table.extensionAt(i).mid(1).chopped(1).toULongLong())
            << table.row(i).toStdString();
}

TEST(TypeTable, SeedingOnlyMakesSureARowExists)
{
    TypeTable table;
    table.countFile(".doc", 100);
    table.insertType(".DOC", 0, true);
    table.insertType(".xls", 0, true);
    EXPECT_EQ(table.rows(), (QStringList{".DOC\t1\t100", ".XLS\t0\t0"}));
    table.countFile(".xls", 4);
    EXPECT_EQ(table.row(1), ".XLS\t1\t4");
}

TEST(TypeTable, LongExtensionsGetNoRowAndLargeSumsDoNotWrap)
{
    TypeTable table;
    table.countFile(".class", 1);
    table.insertType(".class", 1, false);
    table.countFile(".abcd", 3ll << 30);
    table.countFile(".ABCD", 3ll << 30);
    EXPECT_EQ(table.rows(), QStringList{".ABCD\t2\t6442450944"});
    // Five characters but more bytes: the limit is on characters.
    table.countFile(".äöü", 2);
    table.countFile(".ÄÖÜ", 2);
    EXPECT_EQ(table.row(1), ".ÄÖÜ\t2\t4");
    table.countFile(".a\tb", 1); // a tab in a name must not add a field to the row
    table.countFile(".a\tb", 1);
    EXPECT_EQ(table.row(0), ".A\\tB\t2\t2");
    table.clear();
    EXPECT_EQ(table.count(), 0);
}

} // namespace

namespace {

// An extension that grows past the limit when upper-cased must not take the row of files
// without an extension, whichever of the two the walk meets first.
TEST(TypeTable, GrowingExtensionsNeverTakeTheEmptyRow)
{
    for (const char *grown : {".ßßß", ".ﬀﬀﬀ"}) {
        for (bool grownFirst : {true, false}) {
            TypeTable table;
            if (grownFirst)
                table.countFile(grown, 1);
            table.countFile("", 2);
            table.countFile("", 3);
            if (!grownFirst)
                table.countFile(grown, 1);
            EXPECT_EQ(table.rows(), QStringList{"\t2\t5"}) << grown << grownFirst;
        }
    }
}

TEST(TypeTable, TheLimitCountsCharactersOfTheUpperCasedExtension)
{
    const struct
    {
        const char *extension;
        bool getsRow;
    } cases[] = {{".😀😀😀", true}, {".😀😀😀😀😀", false}, {".äöüß", false},
                 {".ßß", true},  {".abcd", true},   {".abcde", false}};
    for (const auto &c : cases) {
        TypeTable table;
        table.countFile(c.extension, 1);
        EXPECT_EQ(table.count(), c.getsRow ? 1 : 0) << c.extension;
        EXPECT_EQ(extensionFitsRow(QString::fromUtf8(c.extension).toUpper().toUtf8()), c.getsRow);
    }
}

TEST(TypeTable, ByteSumsAreUnsignedAndStopAtTheMaximum)
{
    TypeTable table;
    const std::uint64_t sparse = (std::uint64_t(1) << 63) - 1;
    table.countFile(".img", sparse);
    table.countFile(".img", sparse);
    EXPECT_EQ(table.bytesAt(0), 2 * sparse);
    table.countFile(".IMG", sparse);
    table.insertType(".img", sparse, false);
    EXPECT_EQ(table.bytesAt(0), UINT64_MAX);
    EXPECT_EQ(table.row(0), ".IMG\t4\t18446744073709551615");
}

} // namespace

namespace {

// Files whose extension gets no row are counted with their commonest extension, whatever the
// case they are spelt in and whether they come through the walk's bytes or as text.
TEST(TypeTable, FilesWithLongerExtensionsAreCountedWithTheCommonestOne)
{
    TypeTable table;
    for (const char *extension : {".desktop", ".DESKTOP", ".service", ".Desktop", ".abcd"})
        table.countFile(extension, 10);
    table.insertType(".patch", 1, false);
    table.insertType(".äöüßx", 1, false);
    table.insertType(".ÄÖÜSSX", 1, false);
    table.insertType(".sqlite3", 0, true); // seeding counts no file
    table.countFile(".txt", 1);
    EXPECT_EQ(table.longerFiles(), 7);
    EXPECT_EQ(table.commonestLonger(), ".desktop");
    EXPECT_EQ(table.rows(), (QStringList{".ABCD\t1\t10", ".TXT\t1\t1"}));

    table.addLonger(".ÄÖÜSSX", 5);
    EXPECT_EQ(table.longerFiles(), 12);
    EXPECT_EQ(table.commonestLonger(), ".äöüssx");
    table.clear();
    EXPECT_EQ(table.longerFiles(), 0);
    EXPECT_EQ(table.commonestLonger(), "");
}

} // namespace
