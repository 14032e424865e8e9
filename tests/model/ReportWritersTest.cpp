#include "model/ReportCsv.h"
#include "model/ReportText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

ReportTable sample()
{
    ReportTable table;
    table.title = "Types";
    table.headings = {"Type", "Bytes", "Share"};
    table.rows = {{ReportCell::ofText("a, \"b\""), ReportCell::ofInteger(18446744073709551615u),
                   ReportCell::ofPercentage(12.5)},
                  {ReportCell::ofText("Grüße\nzwei"), ReportCell::ofInteger(0),
                   ReportCell::ofPercentage(100.0 / 3)},
                  {ReportCell::ofText("Totals"), ReportCell::ofInteger(1234567),
                   ReportCell::ofPercentage(100)}};
    table.footerRows = 1;
    table.notes = {"A note."};
    return table;
}

// The numbers stay numbers whatever the locale; text fields are quoted only where needed.
TEST(ReportCsv, WritesHeadingsRowsAndUnformattedNumbers)
{
    korvel::test::LocaleGuard locale{korvel::test::dotLocale()};
    EXPECT_EQ(reportCsv(sample()), QByteArray("Type,Bytes,Share\r\n"
                                              "\"a, \"\"b\"\"\",18446744073709551615,12.5\r\n"
                                              "\"Grüße\nzwei\",0,33.333333333333336\r\n"
                                              "Totals,1234567,100\r\n"));
}

// A text a spreadsheet would run as a formula starts with a single quote, also inside quotes;
// numbers, negative changes among them, are written as they are.
TEST(ReportCsv, DefusesTextThatASpreadsheetWouldRun)
{
    const struct
    {
        ReportCell cell;
        const char *field;
    } cases[] = {
        {ReportCell::ofText("=1+2"), "'=1+2"},     {ReportCell::ofText("+x"), "'+x"},
        {ReportCell::ofText("-x"), "'-x"},         {ReportCell::ofText("@SUM(A1)"), "'@SUM(A1)"},
        {ReportCell::ofText("\tx"), "'\tx"},       {ReportCell::ofText("\rx"), "\"'\rx\""},
        {ReportCell::ofText("=a,b"), "\"'=a,b\""}, {ReportCell::ofText("a=b"), "a=b"},
        {ReportCell::ofChange(-5), "-5"}};
    for (const auto &c : cases)
        EXPECT_EQ(csvField(c.cell), QByteArray(c.field)) << c.field;
}

// Numbers and their headings stand right, text left; a rule comes before the totals.
TEST(ReportText, AlignsColumnsAndGroupsDigits)
{
    korvel::test::LocaleGuard locale{korvel::test::commaLocale()};
    ReportTable table = sample();
    table.rows[0][0] = ReportCell::ofText("漢字");
    table.rows[1][0] = ReportCell::ofText("e\u0301");
    EXPECT_EQ(reportText(table), QString("Types\n"
                                         "\n"
                                         "Type                         Bytes    Share\n"
                                         "-------------------------------------------\n"
                                         "漢字    18,446,744,073,709,551,615   12.5 %\n"
                                         "e\u0301                                0   33.3 %\n"
                                         "-------------------------------------------\n"
                                         "Totals                   1,234,567  100.0 %\n"
                                         "\n"
                                         "A note.\n"));
}

} // namespace
