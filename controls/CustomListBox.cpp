#include "controls/CustomListBox.h"

#include "controls/KeyboardMenu.h"
#include "controls/TabbedText.h"

#include <QAbstractItemDelegate>
#include <QFontMetrics>
#include <QPainter>

namespace {

// Hands the painting of every entry to its list, at the list's fixed height.
class ListBoxDelegate : public QAbstractItemDelegate
{
public:
    explicit ListBoxDelegate(TCustomListBox *list) : QAbstractItemDelegate(list), list(list) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        painter->save();
        list->DrawItem(*painter, index.row(), option.rect, option.state);
        painter->restore();
    }

    // Only the height counts: like a plain list box, the list never scrolls sideways and each
    // entry is as wide as the list.
    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return QSize(1, list->ItemHeight());
    }

private:
    TCustomListBox *list;
};

} // namespace

TCustomListBox::TCustomListBox(QWidget *parent) : QListWidget(parent)
{
    setItemDelegate(new ListBoxDelegate(this));
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { nameEntries(first, last); });
    connect(model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) {
                nameEntries(from.row(), to.row());
            });
}

void TCustomListBox::nameEntries(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        if (QListWidgetItem *entry = item(row)) {
            const QString text = entry->text();
            // An entry without a tab reads as it stands.
            const QVariant name = text.contains(u'\t')
                                      ? QVariant(text.split(u'\t', Qt::SkipEmptyParts).join(u' '))
                                      : QVariant();
            if (entry->data(Qt::AccessibleTextRole) != name)
                entry->setData(Qt::AccessibleTextRole, name);
        }
    }
}

void TCustomListBox::keyPressEvent(QKeyEvent *event)
{
    if (!openContextMenuByKeys(*this, *event))
        QListWidget::keyPressEvent(event);
}

void TCustomListBox::setItemHeight(int value)
{
    if (value <= 0 || value == itemHeight)
        return;
    itemHeight = value;
    doItemsLayout();
    viewport()->update();
}

QStringList TCustomListBox::Items() const
{
    QStringList entries;
    entries.reserve(count());
    for (int i = 0; i < count(); ++i)
        entries.append(item(i)->text());
    return entries;
}

QString TCustomListBox::itemText(int index) const
{
    const QListWidgetItem *entry = item(index);
    return entry ? entry->text() : QString();
}

bool TCustomListBox::Selected(int index) const
{
    const QListWidgetItem *entry = item(index);
    return entry && entry->isSelected();
}

int TCustomListBox::SelCount() const
{
    return int(selectionModel()->selectedRows().size());
}

QStringList TCustomListBox::pickedEntries() const
{
    QStringList entries;
    for (int i = 0; i < count(); ++i)
        if (item(i)->isSelected())
            entries.append(item(i)->text());
    return entries;
}

QColor TCustomListBox::Color() const
{
    return palette().color(QPalette::Base);
}

void TCustomListBox::setColor(const QColor &value)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Base, value);
    setPalette(colours);
}

int TCustomListBox::tabInterval() const
{
    return 8 * QFontMetrics(font()).averageCharWidth();
}

void TCustomListBox::DrawItem(QPainter &painter, int index, const QRect &rect,
                              QStyle::State state) const
{
    drawStandardItem(painter, index, rect, state, expandsTabs());
    if (state & QStyle::State_HasFocus)
        drawFocusRect(painter, rect);
}

void TCustomListBox::drawStandardItem(QPainter &painter, int index, const QRect &rect,
                                      QStyle::State state, bool tabbed) const
{
    const bool picked = state & QStyle::State_Selected;
    painter.fillRect(rect, palette().color(picked ? QPalette::Highlight : QPalette::Base));
    painter.setPen(palette().color(picked ? QPalette::HighlightedText : QPalette::Text));
    painter.setFont(font());
    const int x = rect.left() + 2;
    if (tabbed) {
        TabStopRule rule;
        rule.origin = x;
        rule.defaultInterval = tabInterval();
        drawTabbedText(painter, x, rect.top(), itemText(index), rule);
    } else {
        drawPlainText(painter, x, rect.top(), itemText(index));
    }
}

void TCustomListBox::drawFocusRect(QPainter &painter, const QRect &rect) const
{
    painter.setPen(palette().color(QPalette::Text));
    const int right = rect.right();
    const int bottom = rect.bottom();
    for (int x = rect.left(); x <= right; x += 2) {
        painter.drawPoint(x, rect.top());
        painter.drawPoint(x, bottom);
    }
    for (int y = rect.top(); y <= bottom; y += 2) {
        painter.drawPoint(rect.left(), y);
        painter.drawPoint(right, y);
    }
}
