#pragma once

#include "model/Collection.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// The history of runs: every run that ends is kept as a collection file in one folder, whose
// newest files stay and whose oldest go.

inline constexpr int historyLength = 100;

// $XDG_DATA_HOME/korvel98/collections, or ~/.local/share/korvel98/collections when that variable
// is unset, empty or not an absolute path.
QString collectionsFolder();

// "2026-12-07T16-45-03_c_d.korvel98.json": the local time the run started and its drive letters,
// so that the names sort by time.
QString historyFileName(const RunFacts &facts);

// The collection files of a history folder that carry a history name, oldest first. Other files
// there are not the history's and are left alone.
QStringList historyFiles(const QString &folder);

// Whether pruning may remove a file: a regular file, not a link, named as a run is named with a
// date that exists, holding a collection by its first bytes, and not keptRun, the run just saved.
bool removableFromHistory(const QString &path, const QString &keptRun);

// Which of the removable history files, oldest first, go so that keep of them stay.
QStringList historyToDrop(const QStringList &files, int keep);

// Saves a run into the history folder, which is made when missing, under its history name (with
// "_2", "_3", ... added when a run of the same second and drives is there already, even one
// saved at the same moment by another program), then removes the oldest history files beyond keep.
// Answers the path written, or an empty path and a message.
QString keepInHistory(const Collection &collection, const QString &folder, QString &message,
                      int keep = historyLength);

// How many entries a walk of a drive is likely to meet: the count of the newest complete run in
// the history that walked the same drive (the same mount point and file system), scaled by what
// the drive holds now against then. 0 when the history knows no such walk.
std::uint64_t expectedEntries(const QString &folder, const DriveFacts &now);
std::uint64_t scaledEntries(const DriveFacts &then, const DriveFacts &now);
