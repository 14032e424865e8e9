#include "helpers/GridSort.h"

#include "helpers/Helpers.h"

#include <QLocale>
#include <algorithm>
#include <vector>

QStringList TextTable::rowCells(int row) const
{
    QStringList cells;
    for (int column = 0; column < columnCount(); ++column)
        cells.append(cell(column, row));
    return cells;
}

void TextTable::setRowCells(int row, const QStringList &cells)
{
    for (int column = 0; column < columnCount(); ++column)
        setCell(column, row, column < cells.size() ? cells[column] : QString());
}

QString removeThousandSeparators(const QString &text)
{
    QString result = text;
    result.remove(QLocale().groupSeparator());
    return result;
}

double cellNumber(const QString &text)
{
    return textToFloat(removeThousandSeparators(text));
}
