#pragma once

#include <QByteArray>
#include <QString>

// A text as a JSON string, quotes included, escaped exactly as the collection files escape their
// texts: the one escaper of every JSON the program writes by hand (the comparison, the scan tool).
QByteArray jsonText(const QString &text);
