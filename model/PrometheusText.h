#pragma once

#include <QByteArray>
#include <QString>

struct Accumulators;
struct RunFacts;

// A run's figures in the text format monitoring systems scrape (one "# HELP" and "# TYPE" line per
// metric, then one line per series), every metric a gauge named korvel98_... with its unit in the
// name. Label values are escaped as that format wants (backslash, double quote, line break), and
// names read as the program shows them elsewhere (helpers/NameText.h), so odd bytes stay apart.
// Only the 50 types with the most bytes get a series of their own; the rest add up in
// extension="(other)", so that a drive with thousands of extensions does not flood the monitoring.
QByteArray prometheusText(const RunFacts &facts, const Accumulators &figures);

// The most types with a series of their own.
inline constexpr int prometheusTypeSeries = 50;

// Writes prometheusText to DIR/korvel98.prom as a textfile collector wants it: the figures go to a
// temporary file in DIR first, which takes the name only once whole, so a scrape never reads half
// a file; nothing else in DIR is touched. False with one sentence in message when it fails.
bool writePrometheusTextfile(const QString &folder, const RunFacts &facts,
                             const Accumulators &figures, QString &message);
