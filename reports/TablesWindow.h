#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QDialog;
class QIODevice;
class QWidget;
class StyledLabel;

// What the windows of tables beside the statistics window (the comparison, the trends, the
// machines) share: their frame, and an "Export..." that writes one table as CSV or every table
// as a PDF in the report document's look.

// A window that can be resized, maximised and closed, in the dialogs' 11-pixel font, at its
// starting size; answers its shadowed title, for the caller's layout.
StyledLabel *makeTablesWindowFrame(QDialog &window, const QString &objectName, const QString &title,
                                   const QSize &start);

// The tables an "Export..." offers: its dialog's title, the start of the file names
// ("comparison" gives "comparison-types.csv" and "comparison.pdf"), each table's title and name
// in the same order, and the table offered first.
struct TablesExportOffer
{
    QString title;
    QString fileStem;
    QStringList tableTitles;
    QStringList tableNames;
    int current = 0;
};

// One table as CSV (its index), or every table as a PDF (none), and where.
struct TablesExportChoice
{
    std::optional<int> table;
    QString path;
};

// Asks which, then where: the save dialog starts in the folder the last export of the same
// title went to this session, the documents folder at first. Nothing when the user gives up.
std::optional<TablesExportChoice> askTablesExport(QWidget *parent, const TablesExportOffer &offer);

// Writes an export whole or not at all; a failure gets one message naming the file. Answers
// whether it was written.
bool writeTablesExport(const QString &path, const std::function<bool(QIODevice &)> &write);
