#pragma once

#include "model/RunFacts.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// A quick look at a collection file for the facts of its run, without its filter and figures: the
// list of earlier runs and the walk's progress estimate look through the whole history, whose
// files may hold tens of megabytes of figures each. Files of this version hold the facts before
// the figures, and only the first bytes are read; files of earlier releases hold some facts
// before the figures and the rest after them, and their last bytes are read too. Anything else is
// read whole. Nothing when the file is refused, or is cut short at its end.
std::optional<RunFacts> quickRunFacts(const QString &path);

// The same for a file's first bytes and its last bytes; headIsWhole when the first bytes are the
// whole file. Nothing when these bytes do not tell the facts.
std::optional<RunFacts> quickRunFacts(QByteArrayView head, QByteArrayView tail, bool headIsWhole);

// The facts, and what a list of runs tells them apart by: the filter's mode ("all", "include" or
// "exclude") and types, and the files counted, when the first or last bytes read hold them.
struct RunGlance
{
    RunFacts facts;
    QString filterMode;
    QStringList filterTypes;
    std::optional<std::uint64_t> filesFound;
};
std::optional<RunGlance> quickRunGlance(const QString &path);
