#pragma once

#include "engine/FolderTotals.h"
#include "model/ReportTable.h"
#include "model/RunFacts.h"

#include <cstddef>
#include <vector>

// The kept folders of a run as a report table, largest first: where the folder lies, its bytes
// and files, its share of its drive's counted bytes, and how its bytes part between the folder's
// own files and its subfolders. The drives' roots are rows too unless left out; count bounds the
// rows.
ReportTable largestFoldersTable(const RunFacts &facts, const std::vector<DriveFolders> &drives,
                                bool withRoots = true, std::size_t count = SIZE_MAX);
