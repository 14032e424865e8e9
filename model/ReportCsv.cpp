#include "model/ReportCsv.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

// A spreadsheet takes a cell that starts with one of these as a formula and runs it: a folder
// named "=HYPERLINK(...)" must stay a name. The leading quote tells the spreadsheet it is text.
bool readsAsFormula(const QByteArray &text)
{
    return !text.isEmpty() && QByteArrayView("=+-@\t\r").contains(text.front());
}

QByteArray quoted(QByteArray text)
{
    if (readsAsFormula(text))
        text.prepend('\'');
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r'))
        return text;
    text.replace('"', "\"\"");
    return '"' + text + '"';
}

void appendRecord(QByteArray &csv, const QList<QByteArray> &fields)
{
    for (qsizetype column = 0; column < fields.size(); ++column) {
        if (column > 0)
            csv += ',';
        csv += fields[column];
    }
    csv += "\r\n";
}

} // namespace

QByteArray csvField(const ReportCell &cell)
{
    // Spreadsheets take fixed notation for a number more readily than an exponent.
    return cell.kind == ReportCell::Kind::Text ? quoted(cell.text.toUtf8()) : cell.number('f');
}

QByteArray reportCsv(const ReportTable &table)
{
    QByteArray csv;
    QList<QByteArray> fields;
    for (const QString &heading : table.headings)
        fields << quoted(heading.toUtf8());
    appendRecord(csv, fields);
    for (const std::vector<ReportCell> &row : table.rows) {
        fields.clear();
        for (const ReportCell &cell : row)
            fields << csvField(cell);
        appendRecord(csv, fields);
    }
    return csv;
}

namespace {

QByteArray jsonString(const QString &text)
{
    return QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact).chopped(1).mid(1);
}

QByteArray jsonList(const QStringList &texts)
{
    QByteArrayList items;
    for (const QString &text : texts)
        items << jsonString(text);
    return '[' + items.join(", ") + ']';
}

} // namespace

QByteArray reportJson(const ReportTable &table)
{
    QByteArray out = "{\"title\": " + jsonString(table.title) +
                     ", \"headings\": " + jsonList(table.headings) + ", \"rows\": [";
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        QByteArrayList cells;
        for (const ReportCell &cell : table.rows[i])
            cells << (cell.kind == ReportCell::Kind::Text ? jsonString(cell.text)
                                                          : cell.number('g'));
        out += (i ? ",\n  [" : "\n  [") + cells.join(", ") + ']';
    }
    return out + "], \"notes\": " + jsonList(table.notes) + "}\n";
}
