// The report document's layout: a long table over several pages.

#include "reports/ReportDocument.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvel::test;

namespace {

// Every row once, in order, the headings on each page the table runs over, and every word far
// enough from the paper's edge.
TEST(ReportDocument, LongTableRunsOverPagesWithItsHeadingsOnEach)
{
    LocaleGuard locale(commaLocale());
    ReportSection section;
    section.table.title = "Types";
    section.table.headings = {"Extension", "Size"};
    for (int row = 0; row < 150; ++row)
        section.table.rows.push_back({ReportCell::ofText(QStringLiteral("row%1x").arg(row)),
                                      ReportCell::ofInteger(std::uint64_t(row) * 1000)});
    ReportCover cover;
    cover.title = "Korvel 98 report";

    QTemporaryDir folder;
    const QString path = folder.filePath("long.pdf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(writeReportDocument(file, cover, {section}));
    file.close();

    const QStringList pages = pdfText(path, true).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 4); // the cover and the table on three pages or more
    int next = 0;
    for (int page = 1; page < pages.size(); ++page) {
        SCOPED_TRACE(page);
        EXPECT_TRUE(pages[page].contains("Extension")) << "the headings";
        EXPECT_TRUE(
            pages[page].contains(QStringLiteral("Page %1 of %2").arg(page + 1).arg(pages.size())));
        for (; pages[page].contains(QStringLiteral("row%1x").arg(next)); ++next)
            EXPECT_EQ(pages[page].count(QStringLiteral("row%1x").arg(next)), 1);
    }
    EXPECT_EQ(next, 150) << "a row lost or out of order";
    EXPECT_TRUE(pages.last().contains("149,000"));
    EXPECT_GE(pdfLeastTextMarginMm(path), 10);
}

} // namespace
