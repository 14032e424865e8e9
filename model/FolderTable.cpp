#include "model/FolderTable.h"

#include "model/FolderReport.h"

#include <cstdint>

ReportTable largestFoldersTable(const RunFacts &facts, const std::vector<DriveFolders> &drives,
                                bool withRoots, std::size_t count)
{
    ReportTable table;
    table.title = QStringLiteral("Largest folders");
    table.headings = {"Folder",         "Total file size", "Number of files",
                      "Share of counted bytes", "In the folder",   "In subfolders"};
    for (const FolderRow &row : largestFolders(facts, drives)) {
        if (table.rows.size() >= count)
            break;
        if (!withRoots && row.totals.depth() == 0)
            continue;
        const FolderTotal &folder = row.totals;
        table.rows.push_back({ReportCell::ofText(row.location), ReportCell::ofInteger(folder.bytes),
                              ReportCell::ofInteger(std::uint64_t(folder.files)),
                              ReportCell::ofPercentage(row.share * 100),
                              ReportCell::ofInteger(folder.ownBytes),
                              ReportCell::ofInteger(folder.subfolderBytes())});
    }
    return table;
}
