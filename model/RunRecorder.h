#pragma once

#include "model/RunFacts.h"

#include <QDateTime>
#include <QStringList>
#include <functional>

// Writes down the facts of a run while it goes, for the collection that keeps it: the window and
// the command line tell it when the run and each drive's walk begin and end.
class RunRecorder
{
public:
    // A run over these drive entries (each begins with its drive letter) begins.
    void runStarting(const platform::DriveSource &source, const QStringList &driveEntries);
    // The walk of a drive begins: its space and entries of this moment. Answers them.
    const DriveFacts &driveWalking(const platform::DriveSource &source, QChar letter);
    // The walk begun last has ended after meeting this many entries, of which this many had a
    // creation date: a drive whose walk met entries and no creation date keeps none.
    void driveWalked(std::uint64_t entriesMet, std::uint64_t withCreationDate);
    // The run has ended, stopped by the user or not: its facts, every drive of the run in order.
    const RunFacts &runEnded(bool aborted);
    // A run kept before is shown again: its facts stand for the last run until the next begins.
    void runReopened(const RunFacts &kept)
    {
        facts = kept;
        walking = nullptr;
    }
    // The facts so far: of the run under way, or of the last run once it ended.
    const RunFacts &run() const { return facts; }

    // The time of day, to the second; tests set their own.
    std::function<QDateTime()> now = [] {
        const QDateTime at = QDateTime::currentDateTime();
        return at.addMSecs(-at.time().msec());
    };

private:
    RunFacts facts;
    DriveFacts *walking = nullptr;
};
