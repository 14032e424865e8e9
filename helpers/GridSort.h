#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A table of text cells addressed by column and row, as the report grids hold them. The sorting
// helpers below work on this, so that a widget grid and a plain table in memory sort alike.
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

// A table in memory: the key tables of the sort, and tests.
class StringTable : public TextTable
{
public:
    StringTable(int columns, int rows);
    int rowCount() const override { return int(rows.size()); }
    int columnCount() const override { return columns; }
    QString cell(int column, int row) const override;
    void setCell(int column, int row, const QString &text) override;
    QStringList rowCells(int row) const override;
    void setRowCells(int row, const QStringList &cells) override;

private:
    int columns;
    QList<QStringList> rows;
};

// Sorts rows first..last by the text of a column (letters compared without regard to case) or by
// its number (thousands separators ignored, anything else 0), moving whole rows. Rows outside the
// range never move. The order of rows with equal keys is not kept.
void sortRowsText(TextTable &grid, int first, int last, int column, bool descending);
void sortRowsNumeric(TextTable &grid, int first, int last, int column, bool descending);

// The sorts themselves, on rows first..last of a table by one column.
void quickSortText(TextTable &table, int first, int last, int column, bool descending);
void bubbleSortText(TextTable &table, int first, int last, int column, bool descending);
void quickSortNumeric(TextTable &table, int first, int last, int column, bool descending);

// The text with every thousands separator of the default locale taken out.
QString removeThousandSeparators(const QString &text);
// A cell's number: its text without thousands separators read as a number; 0 when it is none.
double cellNumber(const QString &text);
