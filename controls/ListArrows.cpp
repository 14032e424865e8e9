#include "controls/ListArrows.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QProxyStyle>
#include <QStyleOptionHeader>
#include <QTableView>
#include <QTreeView>

namespace {

class ArrowStyle : public QProxyStyle
{
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element == PE_IndicatorHeaderArrow) {
            if (const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option)) {
                // The header view calls an ascending sort "down"; the program's lists point the
                // arrow the way the values run.
                QStyleOptionHeader flipped = *header;
                if (header->sortIndicator == QStyleOptionHeader::SortUp)
                    flipped.sortIndicator = QStyleOptionHeader::SortDown;
                else if (header->sortIndicator == QStyleOptionHeader::SortDown)
                    flipped.sortIndicator = QStyleOptionHeader::SortUp;
                QProxyStyle::drawPrimitive(element, &flipped, painter, widget);
                return;
            }
        }
        if (element == PE_IndicatorBranch && (option->state & State_Selected)) {
            QStyleOption selected = *option;
            const QColor text = option->palette.color(QPalette::HighlightedText);
            for (const QPalette::ColorRole role :
                 {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                selected.palette.setColor(role, text);
            QProxyStyle::drawPrimitive(element, &selected, painter, widget);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

QHeaderView *headerOf(QAbstractItemView *view)
{
    if (auto *tree = qobject_cast<QTreeView *>(view))
        return tree->header();
    if (auto *table = qobject_cast<QTableView *>(view))
        return table->horizontalHeader();
    return nullptr;
}

} // namespace

void useListArrows(QAbstractItemView *view)
{
    auto *style = new ArrowStyle;
    style->setParent(view);
    view->setStyle(style);
    if (QHeaderView *header = headerOf(view))
        header->setStyle(style);
}
