#include "controls/Notebook.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>

namespace {

// The tab in front stands this much taller than the others and joins its page.
constexpr int frontLift = 2;
const QColor frontCaption(255, 0, 0);

} // namespace

TOvcNotebook::TOvcNotebook(QWidget *parent)
    : QWidget(parent), stack(new QStackedWidget(this)), background(palette().window().color())
{
    stack->setGeometry(pageArea());
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
    if (changed)
        emit OnPageChanged(index);
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
    painter.setPen(Qt::white);
    painter.drawLine(area.topLeft(), area.bottomLeft());
    painter.drawLine(area.topLeft(), area.topRight());
    painter.setPen(palette().dark().color());
    painter.drawLine(area.topRight(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.bottomRight());
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
    painter.setPen(Qt::white);
    painter.drawLine(box.bottomLeft(), box.topLeft() + QPoint(0, 2));
    painter.drawLine(box.topLeft() + QPoint(2, 0), box.topRight() - QPoint(2, 0));
    painter.setPen(palette().dark().color());
    painter.drawLine(box.topRight() + QPoint(0, 2), box.bottomRight());
    QColor ink = front ? frontCaption : QColor(Qt::black);
    if (!isPageEnabled(index))
        ink = palette().color(QPalette::Disabled, QPalette::WindowText);
    painter.setPen(ink);
    painter.drawText(box, Qt::AlignCenter, captions.at(index));
}

void TOvcNotebook::mousePressEvent(QMouseEvent *event)
{
    for (int index = 0; index < pageCount(); ++index)
        if (tabRect(index).contains(event->position().toPoint())) {
            setPageIndex(index);
            return;
        }
    QWidget::mousePressEvent(event);
}

void TOvcNotebook::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    stack->setGeometry(pageArea());
}
