#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A table of text cells addressed by column and row, as the report grids hold them.
class TextTable
{
public:
    virtual ~TextTable() = default;
    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    virtual QString cell(int column, int row) const = 0;
    virtual void setCell(int column, int row, const QString &text) = 0;

    // A whole row: every cell text, column by column. Tables that can move rows faster override.
    virtual QStringList rowCells(int row) const;
    virtual void setRowCells(int row, const QStringList &cells);
};

// The text with every thousands separator of the default locale taken out.
QString removeThousandSeparators(const QString &text);
// A cell's number: its text without thousands separators read as a number; 0 when it is none.
double cellNumber(const QString &text);
