#pragma once

#include "model/Collection.h"
#include "model/HistoryThinning.h"
#include "platform/Outcome.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// The history of runs: every run that ends is kept as a collection file in one folder, whose
// runs thin out as they grow old (see HistoryThinning.h).

// $XDG_DATA_HOME/korvel98/collections, or ~/.local/share/korvel98/collections when that variable
// is unset, empty or not an absolute path.
QString collectionsFolder();

// "2026-12-07T16-45-03_c_d.korvel98.json": the local time the run started and its drive letters,
// so that the names sort by time.
QString historyFileName(const RunFacts &facts);

// The collection files of a history folder that carry a history name, oldest first. Other files
// there are not the history's and are left alone.
QStringList historyFiles(const QString &folder);

// Saves a run into the history folder, which is made when missing, under its history name (with
// "_2", "_3", ... added when a run of the same second and drives is there already, even one saved
// at the same moment by another program), then thins
// the history as of the run's start. Answers the path written, or why it could not be saved.
platform::Outcome<QString> keepInHistory(const Collection &collection, const QString &folder);

// The thinning of a history folder as of now: each of its collections with whether it stays and
// why. Only a regular file with a history name whose bytes are a collection of this program takes
// part (never a link, nor a file of another program), and never the file spared, which was just
// written.
struct PruneEntry
{
    QString path;
    HistoryRun run;
    ThinningVerdict verdict;
};
std::vector<PruneEntry> historyPrunePlan(const QString &folder, const QDateTime &now,
                                         const QString &spared = QString());
// Removes what the plan lets go; answers how many files went.
int pruneHistory(const QString &folder, const QDateTime &now, const QString &spared = QString());

// How many entries a walk of a drive is likely to meet: the count of the newest complete run in
// the history that walked the same drive (the same mount point and file system), scaled by what
// the drive holds now against then. 0 when the history knows no such walk.
std::uint64_t expectedEntries(const QString &folder, const DriveFacts &now);
std::uint64_t scaledEntries(const DriveFacts &then, const DriveFacts &now);
