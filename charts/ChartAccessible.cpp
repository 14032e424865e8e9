#include "charts/ChartAccessible.h"

#include "charts/Chart.h"

#include <QRadioButton>

namespace {

QAccessibleInterface *chartFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("TChart") || dynamic_cast<ChartTableSource *>(object))
        return new ChartAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

// A caption as it reads: "&&" is an ampersand, any other "&" only marks the access key.
QString withoutAccessKey(QString caption)
{
    caption.replace(QLatin1String("&&"), QStringLiteral("\u0001"));
    caption.remove(u'&');
    return caption.replace(u'\u0001', u'&');
}

} // namespace

void installChartAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(chartFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

QString chartAccessibleName(const TChart &chart)
{
    const ChartTitle &title = chart.Title();
    const QString titleText = title.lines.join(u' ').simplified();
    if (title.visible && !titleText.isEmpty())
        return titleText;
    QStringList parts;
    const QWidget *place = chart.parentWidget();
    while (place && place->accessibleName().isEmpty())
        place = place->parentWidget();
    if (place) {
        parts << place->accessibleName();
        // The view chosen is the chart's only while the chart shows.
        if (chart.isVisibleTo(place))
            for (const QRadioButton *view : place->findChildren<QRadioButton *>())
                if (view->isChecked() && !view->isHidden())
                    parts << withoutAccessKey(view->text());
    }
    if (!chart.accessibleName().isEmpty())
        parts << chart.accessibleName();
    return parts.join(QStringLiteral(" - "));
}

ChartAccessible::ChartAccessible(QWidget *chart) : QAccessibleWidget(chart, QAccessible::Table) {}

ChartAccessible::~ChartAccessible()
{
    forgetCells();
}

TChart *ChartAccessible::chart() const
{
    return qobject_cast<TChart *>(widget());
}

ChartTableText ChartAccessible::table() const
{
    if (const TChart *drawn = chart())
        return chartTable(*drawn);
    return dynamic_cast<const ChartTableSource &>(*widget()).chartTableText();
}

QString ChartAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && chart())
        return chartAccessibleName(*chart());
    return QAccessibleWidget::text(t);
}

// The chart's own widgets (a scroll bar, a note button) come first, then the cells row by row,
// each row led by its header, under a first row of column headers.
int ChartAccessible::widgetChildCount() const
{
    return QAccessibleWidget::childCount();
}

int ChartAccessible::childCount() const
{
    const ChartTableText figures = table();
    return widgetChildCount() + (figures.rowCount() + 1) * (figures.columnCount() + 1) - 1;
}

QAccessibleInterface *ChartAccessible::child(int index) const
{
    const int widgets = widgetChildCount();
    if (index < widgets)
        return QAccessibleWidget::child(index);
    const int across = columnCount() + 1;
    const int place = index - widgets + 1;
    const int row = place / across - 1;
    if (row >= rowCount())
        return nullptr;
    return cellAt(row, place % across - 1);
}

int ChartAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *cell = dynamic_cast<const ChartCellAccessible *>(child);
    if (!cell)
        return QAccessibleWidget::indexOfChild(child);
    if (cell->parent() != this || cell->rowIndex() >= rowCount() ||
        cell->columnIndex() >= columnCount())
        return -1;
    const int across = columnCount() + 1;
    return widgetChildCount() + (cell->rowIndex() + 1) * across + cell->columnIndex();
}

void *ChartAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface *ChartAccessible::cellAt(int row, int column) const
{
    if (row < -1 || column < -1 || (row < 0 && column < 0) || row >= rowCount() ||
        column >= columnCount())
        return nullptr;
    const std::pair key(row, column);
    auto known = cells.constFind(key);
    if (known == cells.constEnd())
        known = cells.insert(key, QAccessible::registerAccessibleInterface(
                                      new ChartCellAccessible(widget(), row, column)));
    return QAccessible::accessibleInterface(known.value());
}

int ChartAccessible::columnCount() const
{
    return table().columnCount();
}

int ChartAccessible::rowCount() const
{
    return table().rowCount();
}

QString ChartAccessible::columnDescription(int column) const
{
    return table().columnHeaders.value(column);
}

QString ChartAccessible::rowDescription(int row) const
{
    return table().rowHeaders.value(row);
}

// The cells read the chart whenever asked; only a new set of figures lets go of them, so that a
// reader asks again.
void ChartAccessible::modelChange(QAccessibleTableModelChangeEvent *event)
{
    if (event->modelChangeType() == QAccessibleTableModelChangeEvent::ModelReset)
        forgetCells();
}

void ChartAccessible::forgetCells() const
{
    for (const QAccessible::Id id : std::as_const(cells))
        QAccessible::deleteAccessibleInterface(id);
    cells.clear();
}

ChartCellAccessible::ChartCellAccessible(QWidget *chart, int row, int column)
    : chart(chart), row(row), column(column)
{}

ChartAccessible *ChartCellAccessible::owner() const
{
    if (!chart)
        return nullptr;
    return dynamic_cast<ChartAccessible *>(QAccessible::queryAccessibleInterface(chart.data()));
}

bool ChartCellAccessible::isValid() const
{
    const ChartAccessible *table = owner();
    return table && row < table->rowCount() && column < table->columnCount();
}

QWindow *ChartCellAccessible::window() const
{
    const ChartAccessible *table = owner();
    return table ? table->window() : nullptr;
}

QAccessibleInterface *ChartCellAccessible::parent() const
{
    return owner();
}

QString ChartCellAccessible::text(QAccessible::Text t) const
{
    const ChartAccessible *table = owner();
    if (!table || t != QAccessible::Name)
        return QString();
    const ChartTableText figures = table->table();
    if (row < 0)
        return figures.columnHeaders.value(column);
    if (column < 0)
        return figures.rowHeaders.value(row);
    return figures.cell(row, column);
}

QRect ChartCellAccessible::rect() const
{
    const ChartAccessible *table = owner();
    return table ? table->rect() : QRect();
}

QAccessible::Role ChartCellAccessible::role() const
{
    if (row < 0)
        return QAccessible::ColumnHeader;
    if (column < 0)
        return QAccessible::RowHeader;
    return QAccessible::Cell;
}

QAccessible::State ChartCellAccessible::state() const
{
    QAccessible::State state;
    state.readOnly = true;
    state.invalid = !isValid();
    state.invisible = !chart || !chart->isVisible();
    return state;
}

void *ChartCellAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableCellInterface)
        return static_cast<QAccessibleTableCellInterface *>(this);
    return nullptr;
}

QList<QAccessibleInterface *> ChartCellAccessible::columnHeaderCells() const
{
    const ChartAccessible *table = owner();
    if (!table || row < 0)
        return {};
    return {table->cellAt(-1, column)};
}

QList<QAccessibleInterface *> ChartCellAccessible::rowHeaderCells() const
{
    const ChartAccessible *table = owner();
    if (!table || column < 0)
        return {};
    return {table->cellAt(row, -1)};
}
