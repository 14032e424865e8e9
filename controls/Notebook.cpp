#include "controls/Notebook.h"

#include "controls/AccessibleControls.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QStackedWidget>
#include <algorithm>
#include <cmath>

namespace {

// The tab in front stands this much taller than the others and joins its page.
constexpr int frontLift = 2;
const QColor frontCaption(255, 0, 0);

// The dotted frame of the focused tab: every other pixel, as the list boxes draw theirs.
void drawFocusFrame(QPainter &painter, const QRect &box)
{
    painter.save();
    QPen dots(Qt::black, 0, Qt::CustomDashLine);
    dots.setDashPattern({1, 1});
    painter.setPen(dots);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.restore();
}

// One of the edges of the tabs and the page, from one pixel to another along a row or a column:
// as thick as a whole number of the screen's pixels, the same for every edge. A pen one logical
// pixel wide covers one or two pixels at 1.5, by where the edge falls.
void drawEdge(QPainter &painter, const QPoint &from, const QPoint &to, const QColor &colour)
{
    const QTransform &toDevice = painter.deviceTransform();
    auto thickness = [](double scale) { return std::max(1.0, std::floor(scale)) / scale; };
    const QRect pixels = QRect(from, to).normalized();
    if (from.y() == to.y())
        painter.fillRect(QRectF(pixels.left(), pixels.top(), pixels.width(),
                                thickness(std::abs(toDevice.m22()))),
                         colour);
    else
        painter.fillRect(QRectF(pixels.left(), pixels.top(), thickness(std::abs(toDevice.m11())),
                                pixels.height()),
                         colour);
}

} // namespace

TOvcNotebook::TOvcNotebook(QWidget *parent)
    : QWidget(parent), stack(new QStackedWidget(this)), background(palette().window().color())
{
    stack->setGeometry(pageArea());
    // Tab reaches the row of tabs; a click takes focus only on a tab, not on a page's bare ground.
    setFocusPolicy(Qt::TabFocus);
    addPageShortcuts();
    installControlsAccessibility();
}

void TOvcNotebook::addPageShortcuts()
{
    const std::pair<QKeyCombination, int> keys[] = {{Qt::CTRL | Qt::Key_Tab, 1},
                                                    {Qt::CTRL | Qt::Key_PageDown, 1},
                                                    {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
                                                    {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
                                                    {Qt::CTRL | Qt::Key_PageUp, -1}};
    for (const auto &[key, step] : keys) {
        auto *shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { turnPage(step); });
    }
}

void TOvcNotebook::setTabSize(const QSize &size)
{
    tab = size;
    stack->setGeometry(pageArea());
    update();
}

QRect TOvcNotebook::pageArea() const
{
    return QRect(0, tab.height() + 1, width(), height() - tab.height() - 1);
}

int TOvcNotebook::addPage(const QString &caption, QWidget *page)
{
    captions.append(caption);
    enabledPages.append(true);
    stack->addWidget(page);
    page->setAutoFillBackground(false);
    // A screen reader names the page, and what stands on it, after its tab.
    if (page->accessibleName().isEmpty())
        page->setAccessibleName(caption);
    if (current < 0) {
        current = 0;
        stack->setCurrentIndex(0);
    }
    update();
    return captions.size() - 1;
}

QWidget *TOvcNotebook::page(int index) const
{
    return stack->widget(index);
}

void TOvcNotebook::setPageIndex(int index)
{
    if (index < 0 || index >= pageCount() || !isPageEnabled(index))
        return;
    const bool changed = index != current;
    current = index;
    stack->setCurrentIndex(index);
    update();
    if (changed) {
        announceCurrentTab();
        emit OnPageChanged(index);
    }
}

void TOvcNotebook::choosePage(int index)
{
    setPageIndex(index);
}

int TOvcNotebook::enabledPageFrom(int step, bool wrap) const
{
    const int count = pageCount();
    if (count == 0 || step == 0)
        return current;
    const int direction = step > 0 ? 1 : -1;
    int found = current;
    int left = std::abs(step);
    for (int index = current + direction, seen = 1; seen < count && left > 0;
         index += direction, ++seen) {
        if (wrap)
            index = (index + count) % count;
        else if (index < 0 || index >= count)
            break;
        if (isPageEnabled(index)) {
            found = index;
            --left;
        }
    }
    return found;
}

void TOvcNotebook::turnPage(int step)
{
    if (!isEnabled() || !isVisible())
        return;
    const QWidget *focus = QApplication::focusWidget();
    const bool focusInPage = focus && stack->isAncestorOf(focus);
    choosePage(enabledPageFrom(step, true));
    if (focusInPage)
        setFocus(Qt::TabFocusReason);
}

void TOvcNotebook::keyPressEvent(QKeyEvent *event)
{
    // Keys a control on a page leaves unused come here too; only the row of tabs' own count.
    if (!hasFocus() || (event->modifiers() & ~Qt::KeypadModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int all = pageCount();
    switch (event->key()) {
    case Qt::Key_Left:
        choosePage(enabledPageFrom(-1, false));
        break;
    case Qt::Key_Right:
        choosePage(enabledPageFrom(1, false));
        break;
    case Qt::Key_Home:
        choosePage(enabledPageFrom(-all, false));
        break;
    case Qt::Key_End:
        choosePage(enabledPageFrom(all, false));
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TOvcNotebook::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
    announceCurrentTab();
}

void TOvcNotebook::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

// A screen reader follows the tab in front: it is selected, and focused while the row has focus.
void TOvcNotebook::announceCurrentTab()
{
    if (!QAccessible::isActive() || current < 0)
        return;
    QAccessibleEvent selection(this, QAccessible::Selection);
    selection.setChild(current);
    QAccessible::updateAccessibility(&selection);
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(current);
        QAccessible::updateAccessibility(&focus);
    }
}

void TOvcNotebook::setPageEnabled(int index, bool enabled)
{
    if (index < 0 || index >= pageCount())
        return;
    enabledPages[index] = enabled;
    update();
    // A page that cannot be chosen cannot stay in view either.
    if (!enabled && index == current)
        setPageIndex(nearestEnabledPage(index));
}

int TOvcNotebook::nearestEnabledPage(int index) const
{
    for (int next = index + 1; next < pageCount(); ++next)
        if (isPageEnabled(next))
            return next;
    for (int previous = index - 1; previous >= 0; --previous)
        if (isPageEnabled(previous))
            return previous;
    return index;
}

void TOvcNotebook::setColor(const QColor &colour)
{
    background = colour;
    update();
}

QRect TOvcNotebook::tabRect(int index) const
{
    return QRect(index * tab.width(), 0, tab.width(), tab.height());
}

void TOvcNotebook::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), background);
    // The page's raised edge, open under the tab in front.
    const QRect area = pageArea().adjusted(0, -1, -1, -1);
    const QColor shade = palette().dark().color();
    drawEdge(painter, area.topLeft(), area.bottomLeft(), Qt::white);
    drawEdge(painter, area.topLeft(), area.topRight(), Qt::white);
    drawEdge(painter, area.topRight(), area.bottomRight(), shade);
    drawEdge(painter, area.bottomLeft(), area.bottomRight(), shade);
    painter.setFont(font());
    for (int index = 0; index < pageCount(); ++index)
        if (index != current)
            paintTab(painter, index);
    if (current >= 0)
        paintTab(painter, current);
}

void TOvcNotebook::paintTab(QPainter &painter, int index) const
{
    const bool front = index == current;
    QRect box = tabRect(index).adjusted(0, front ? 0 : frontLift, -1, front ? 1 : 0);
    painter.fillRect(box, background);
    drawEdge(painter, box.bottomLeft(), box.topLeft() + QPoint(0, 2), Qt::white);
    drawEdge(painter, box.topLeft() + QPoint(2, 0), box.topRight() - QPoint(2, 0), Qt::white);
    drawEdge(painter, box.topRight() + QPoint(0, 2), box.bottomRight(), palette().dark().color());
    QColor ink = front ? frontCaption : QColor(Qt::black);
    if (!isPageEnabled(index))
        ink = palette().color(QPalette::Disabled, QPalette::WindowText);
    painter.setPen(ink);
    painter.drawText(box, Qt::AlignCenter, captions.at(index));
    if (front && hasFocus())
        drawFocusFrame(painter, box.adjusted(3, 3, -3, -2));
}

void TOvcNotebook::mousePressEvent(QMouseEvent *event)
{
    for (int index = 0; index < pageCount(); ++index)
        if (tabRect(index).contains(event->position().toPoint())) {
            setFocus(Qt::MouseFocusReason);
            choosePage(index);
            return;
        }
    QWidget::mousePressEvent(event);
}

void TOvcNotebook::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    stack->setGeometry(pageArea());
}
