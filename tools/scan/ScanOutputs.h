#pragma once

#include "ScanOptions.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class HeldFolder;
}
struct Accumulators;
struct Collection;
struct RunFacts;
class StatisticsEngine;

// A collection file comes from anywhere: no text of it may steer the terminal. Control
// characters other than the line feed are written as "\x1b".
QString withoutControls(const QString &text);

// The comparison of two collections in the format the options ask for, on standard output.
void printComparison(const Options &options, const Collection &then, const Collection &now);

// The report of one run in the format the options ask for, on standard output.
void printReport(const Options &options, const RunFacts &facts, const Accumulators &figures);

// A path of the walk as the user named it: the folder as given in place of the descriptor path it
// was walked by.
std::string asGiven(const QByteArray &path, const Options &options,
                    const std::vector<std::unique_ptr<platform::HeldFolder>> &held);

// The folders the walk could not read, on standard error.
void tellUnreadable(const StatisticsEngine &e, const Options &options,
                    const std::vector<std::unique_ptr<platform::HeldFolder>> &held);

// The facts of each drive name the folder as given and its file system.
void nameFolders(RunFacts &facts, const Options &options);

// Keeps the run where the options say; false when it could not be kept somewhere.
bool keepRun(const Options &options, const RunFacts &facts, const Accumulators &figures);
