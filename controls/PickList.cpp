#include "controls/PickList.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <limits>

namespace {

// Tab positions far beyond any screen would overflow when turned into pixels.
int toPixels(qint64 stops, int averageWidth)
{
    const qint64 pixels = stops * averageWidth;
    return int(std::clamp<qint64>(pixels, std::numeric_limits<int>::min() / 2,
                                  std::numeric_limits<int>::max() / 2));
}

} // namespace

TabStopError::TabStopError(const QString &piece)
    : std::runtime_error((piece + QStringLiteral(" is an invalid tab stop")).toStdString())
{}

TPickList::TPickList(QWidget *parent) : TCustomListBox(parent)
{
    updateSelectionMode();
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TPickList::selectionTouched);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TPickList::selectionTouched);
}

void TPickList::setUseTabStops(bool value)
{
    if (value == useTabStops)
        return;
    useTabStops = value;
    viewport()->update();
}

void TPickList::setSelectedStyle(TSelectedStyle value)
{
    if (value == selectedStyle)
        return;
    selectedStyle = value;
    viewport()->update();
}

void TPickList::setTabStops(const QString &text)
{
    tabStopList.clear();
    // A ";" ends a piece except in the very first place, where it belongs to the first piece.
    QString piece;
    auto accept = [&] {
        bool ok = false;
        piece.toInt(&ok, 10);
        if (!ok) {
            viewport()->update();
            throw TabStopError(piece);
        }
        tabStopList.append(piece);
        piece.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char(';') && i > 0)
            accept();
        else
            piece.append(text[i]);
    }
    if (!text.isEmpty())
        accept();
    viewport()->update();
}

void TPickList::setMultiSelect(bool value)
{
    multiSelect = value;
    updateSelectionMode();
}

void TPickList::setExtendedSelect(bool value)
{
    extendedSelect = value;
    updateSelectionMode();
}

void TPickList::updateSelectionMode()
{
    if (!multiSelect)
        setSelectionMode(SingleSelection);
    else
        setSelectionMode(extendedSelect ? ExtendedSelection : MultiSelection);
}

void TPickList::setSorted(bool value)
{
    sorted = value;
    if (sorted)
        setItems(Items());
}

void TPickList::setItems(const QStringList &entries)
{
    clear();
    lastIndex = -1;
    for (const QString &entry : entries)
        addEntry(entry);
}

int TPickList::addEntry(const QString &text)
{
    int index = count();
    if (sorted) {
        // First entry that sorts after the new one, so equal entries keep their order.
        int low = 0;
        int high = count();
        while (low < high) {
            const int middle = (low + high) / 2;
            if (QString::compare(item(middle)->text(), text, Qt::CaseInsensitive) <= 0)
                low = middle + 1;
            else
                high = middle;
        }
        index = low;
    }
    insertItem(index, text);
    return index;
}

void TPickList::setSelected(int index, bool picked)
{
    if (QListWidgetItem *entry = item(index))
        entry->setSelected(picked);
}

void TPickList::setAllSelected(bool picked)
{
    for (int i = 0; i < count(); ++i)
        item(i)->setSelected(picked);
}

void TPickList::setItemIndex(int index)
{
    // Through the selection model, so that moving the caret never toggles a pick.
    selectionModel()->setCurrentIndex(model()->index(index, 0), QItemSelectionModel::NoUpdate);
}

// Only what the user does with mouse and keys counts as a click; picks set from code do not.
template <typename Handler> void TPickList::asUser(Handler handler)
{
    const bool outer = !inUserAction;
    if (outer) {
        inUserAction = true;
        touchedByUser = false;
    }
    handler();
    if (outer) {
        inUserAction = false;
        if (touchedByUser)
            Click();
    }
}

void TPickList::selectionTouched()
{
    if (inUserAction)
        touchedByUser = true;
}

void TPickList::Click()
{
    emit OnClick();
    if (ItemIndex() != lastIndex)
        Change();
}

void TPickList::Change()
{
    lastIndex = ItemIndex();
    emit OnChange(this);
}

void TPickList::mousePressEvent(QMouseEvent *event)
{
    asUser([&] { TCustomListBox::mousePressEvent(event); });
}

void TPickList::mouseMoveEvent(QMouseEvent *event)
{
    asUser([&] { TCustomListBox::mouseMoveEvent(event); });
}

void TPickList::mouseReleaseEvent(QMouseEvent *event)
{
    asUser([&] { TCustomListBox::mouseReleaseEvent(event); });
}

void TPickList::mouseDoubleClickEvent(QMouseEvent *event)
{
    asUser([&] { TCustomListBox::mouseDoubleClickEvent(event); });
    emit OnDblClick();
}

void TPickList::keyPressEvent(QKeyEvent *event)
{
    asUser([&] { TCustomListBox::keyPressEvent(event); });
}

QList<int> TPickList::tabPositions() const
{
    const int average = QFontMetrics(font()).averageCharWidth();
    QList<int> pixels;
    for (const QString &stop : tabStopList)
        pixels.append(toPixels(stop.toLongLong(), average));
    return pixels;
}

TabStopRule TPickList::tabRule(const QRect &rect) const
{
    TabStopRule rule;
    rule.positions = tabPositions();
    rule.origin = rect.left();
    rule.defaultInterval = tabInterval();
    return rule;
}

void TPickList::DrawItem(QPainter &painter, int index, const QRect &rect, QStyle::State state) const
{
    painter.setFont(font());
    switch (selectedStyle) {
    case psCheckbox:
        drawCheckbox(painter, index, rect, state);
        break;
    case psBoldText:
        drawBold(painter, index, rect, state);
        break;
    case psOwnerDraw:
        if (onDrawItem) {
            onDrawItem(painter, index, rect, state);
            break;
        }
        [[fallthrough]];
    case psStandard:
        // The plain look, whose tabs (when used at all) fall on the default stops.
        drawStandardItem(painter, index, rect, state, selectedStyle == psStandard && useTabStops);
        break;
    }
    if (state & QStyle::State_HasFocus)
        drawFocusRect(painter, rect);
}

// A picked entry keeps the list's own colours; only the check mark tells it apart.
void TPickList::drawCheckbox(QPainter &painter, int index, const QRect &rect,
                             QStyle::State state) const
{
    const QColor ink = palette().color(QPalette::Text);
    painter.fillRect(rect, Color());

    const int left = rect.left();
    const int top = rect.top();
    const int size = ItemHeight();
    const QRect box(QPoint(left + 2, top + 1), QPoint(left + size - 1, top + size - 2));
    painter.fillRect(box, ink);
    painter.fillRect(box.adjusted(1, 1, -1, -1), QApplication::palette().color(QPalette::Base));

    if (state & QStyle::State_Selected)
        drawCheckMark(painter, rect, ink);

    painter.setPen(ink);
    drawEntryText(painter, left + size + 4, rect, itemText(index));
}

// The mark is made of vertical strokes three pixels long: a short run down to the right, then a
// longer one up to the right, both scaled to the entry height. Where a logical pixel is a pixel of
// the device the strokes are those pixels; on a denser screen (or paper) the same two bands are
// drawn as shapes, so that their slanted edges are as sharp as the text beside them.
void TPickList::drawCheckMark(QPainter &painter, const QRect &rect, const QColor &ink)
{
    int h = rect.height();
    if (h % 2 == 0)
        --h;
    const int m = h / 2 + 1;
    const int t = h / 3;
    const int downRuns = t - 1;   // strokes of the down stroke
    const int upRuns = h - 3 - t; // strokes of the up stroke
    const int e = m + (t >= 2 ? t - 1 : 0) - 2;
    const QPoint down(rect.left() + 3, rect.top() + m);   // its first stroke's top
    const QPoint up(rect.left() + 2 + t, rect.top() + e); // likewise
    if (painter.deviceTransform().type() <= QTransform::TxTranslate) {
        for (int k = 0; k < downRuns; ++k)
            painter.fillRect(down.x() + k, down.y() + k, 1, 3, ink);
        for (int j = 0; j < upRuns; ++j)
            painter.fillRect(up.x() + j, up.y() - j, 1, 3, ink);
        return;
    }
    // Each band as the parallelogram whose middle line runs through the middles of its strokes.
    auto band = [](QPointF from, int runs, int rise) {
        from += QPointF(0, -0.5 * rise);
        const QPointF to = from + QPointF(runs, runs * rise);
        return QPolygonF({from, to, to + QPointF(0, 3), from + QPointF(0, 3), from});
    };
    QPainterPath mark;
    mark.setFillRule(Qt::WindingFill);
    if (downRuns > 0)
        mark.addPolygon(band(down, downRuns, 1));
    if (upRuns > 0)
        mark.addPolygon(band(up, upRuns, -1));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPath(mark);
    painter.restore();
}

void TPickList::drawBold(QPainter &painter, int index, const QRect &rect, QStyle::State state) const
{
    const QColor ink = palette().color(QPalette::Text);
    painter.fillRect(rect, Color());
    QFont face = font();
    face.setBold(bool(state & QStyle::State_Selected));
    painter.setFont(face);
    painter.setPen(ink);
    drawEntryText(painter, rect.left() + 2, rect, itemText(index));
}

void TPickList::drawEntryText(QPainter &painter, int x, const QRect &rect,
                              const QString &text) const
{
    // An entry wider than the list ends in an ellipsis, not cut off inside a word.
    const int right = std::min(rect.right(), viewport()->width() - 1);
    if (useTabStops) {
        drawTabbedText(painter, x, rect.top(), text, tabRule(rect), right);
        return;
    }
    const QFontMetrics metrics(painter.font());
    drawPlainText(painter, x, rect.top(),
                  metrics.horizontalAdvance(text) > right - x
                      ? metrics.elidedText(text, Qt::ElideRight, right - x)
                      : text);
}
