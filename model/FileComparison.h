#pragma once

#include "model/Collection.h"

#include <vector>

struct ChangeRow;

// The largest files of two runs compared, matched by their drive's mount point and their path
// below it, on the drives both runs walked: first those that are new in the later list or grew,
// largest now first, then those that left it, largest then first. A file absent from a list that
// holds every counted file of its drive was not there (0); absent from a list that was full, its
// figure is not known, since it may lie below the list.
std::vector<ChangeRow> largestFileChanges(const Collection &then, const Collection &now);

// The files and bytes of each user of either run, the largest change first (growth or loss
// alike), then by id. The name is the later run's, else the earlier's, else the id.
std::vector<ChangeRow> ownerChanges(const Collection &then, const Collection &now);

// The line under the files table.
QString fileRule();
