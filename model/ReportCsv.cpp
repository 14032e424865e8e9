#include "model/ReportCsv.h"

namespace {

QByteArray quoted(const QByteArray &text)
{
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r'))
        return text;
    QByteArray field = text;
    field.replace('"', "\"\"");
    return '"' + field + '"';
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
