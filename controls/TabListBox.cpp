#include "controls/TabListBox.h"

#include "controls/TabbedText.h"

#include <QAbstractItemDelegate>
#include <QFontMetrics>
#include <QPainter>

namespace {

// Each entry at the list's fixed height: highlight when picked, text in columns.
class TabListDelegate : public QAbstractItemDelegate
{
public:
    explicit TabListDelegate(TTabListBox *list) : QAbstractItemDelegate(list), list(list) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QPalette &colours = list->palette();
        const bool picked = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(option.rect,
                          colours.color(picked ? QPalette::Highlight : QPalette::Base));
        painter->setPen(colours.color(picked ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(list->font());
        const int x = option.rect.left() + 2;
        TabStopRule rule;
        rule.origin = x;
        rule.defaultInterval = list->tabInterval();
        drawTabbedText(*painter, x, option.rect.top(), index.data().toString(), rule);
        if (option.state & QStyle::State_HasFocus) {
            painter->setPen(QPen(colours.color(QPalette::Text), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const override
    {
        const QFontMetrics metrics(list->font());
        return QSize(metrics.horizontalAdvance(index.data().toString()) + list->tabInterval(),
                     list->ItemHeight());
    }

private:
    TTabListBox *list;
};

} // namespace

TTabListBox::TTabListBox(QWidget *parent) : TCustomListBox(parent)
{
    setItemDelegate(new TabListDelegate(this));
}

int TTabListBox::tabInterval() const
{
    return 8 * QFontMetrics(font()).averageCharWidth();
}
