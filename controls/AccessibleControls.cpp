#include "controls/AccessibleControls.h"

#include "controls/Notebook.h"
#include "controls/StyledLabel.h"

namespace {

QAccessibleInterface *controlsFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("TOvcNotebook"))
        return new NotebookAccessible(static_cast<TOvcNotebook *>(object));
    if (className == QLatin1String("StyledLabel"))
        return new StyledLabelAccessible(static_cast<StyledLabel *>(object));
    return nullptr;
}

} // namespace

void installControlsAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(controlsFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

NotebookAccessible::NotebookAccessible(TOvcNotebook *notebook)
    : QAccessibleWidget(notebook, QAccessible::PageTabList)
{}

NotebookAccessible::~NotebookAccessible()
{
    for (const QAccessible::Id id : std::as_const(tabs))
        QAccessible::deleteAccessibleInterface(id);
}

TOvcNotebook *NotebookAccessible::notebook() const
{
    return static_cast<TOvcNotebook *>(widget());
}

int NotebookAccessible::tabCount() const
{
    return notebook()->pageCount();
}

int NotebookAccessible::childCount() const
{
    return tabCount() + QAccessibleWidget::childCount();
}

QAccessibleInterface *NotebookAccessible::child(int index) const
{
    if (index < 0)
        return nullptr;
    if (index >= tabCount())
        return QAccessibleWidget::child(index - tabCount());
    while (tabs.size() <= index) {
        auto *tab = new PageTabAccessible(notebook(), int(tabs.size()));
        tabs.append(QAccessible::registerAccessibleInterface(tab));
    }
    return QAccessible::accessibleInterface(tabs.at(index));
}

int NotebookAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    if (const auto *tab = dynamic_cast<const PageTabAccessible *>(child)) {
        const int index = tab->pageIndex();
        return index < tabCount() && tabs.value(index) ==
                                         QAccessible::uniqueId(const_cast<PageTabAccessible *>(tab))
                   ? index
                   : -1;
    }
    const int widgetIndex = QAccessibleWidget::indexOfChild(child);
    return widgetIndex < 0 ? -1 : tabCount() + widgetIndex;
}

QAccessibleInterface *NotebookAccessible::childAt(int x, int y) const
{
    const QPoint at = notebook()->mapFromGlobal(QPoint(x, y));
    for (int index = 0; index < tabCount(); ++index)
        if (notebook()->tabRect(index).contains(at))
            return child(index);
    return QAccessibleWidget::childAt(x, y);
}

PageTabAccessible::PageTabAccessible(TOvcNotebook *notebook, int index)
    : notebook(notebook), index(index)
{}

bool PageTabAccessible::isValid() const
{
    return notebook && index < notebook->pageCount();
}

QWindow *PageTabAccessible::window() const
{
    QAccessibleInterface *owner = parent();
    return owner ? owner->window() : nullptr;
}

QAccessibleInterface *PageTabAccessible::parent() const
{
    return notebook ? QAccessible::queryAccessibleInterface(notebook.data()) : nullptr;
}

QString PageTabAccessible::text(QAccessible::Text t) const
{
    if (!isValid() || t != QAccessible::Name)
        return QString();
    return notebook->pageCaption(index);
}

QRect PageTabAccessible::rect() const
{
    if (!isValid() || !notebook->isVisible())
        return QRect();
    const QRect tab = notebook->tabRect(index);
    return QRect(notebook->mapToGlobal(tab.topLeft()), tab.size());
}

QAccessible::State PageTabAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const bool front = notebook->PageIndex() == index;
    state.selectable = true;
    state.focusable = true;
    state.selected = front;
    state.focused = front && notebook->hasFocus();
    state.disabled = !notebook->isPageEnabled(index) || !notebook->isEnabled();
    state.invisible = !notebook->isVisible();
    return state;
}

void *PageTabAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface)
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList PageTabAccessible::actionNames() const
{
    if (!isValid() || !notebook->isPageEnabled(index))
        return {};
    return {pressAction()};
}

void PageTabAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction() && isValid())
        notebook->choosePage(index);
}

QStringList PageTabAccessible::keyBindingsForAction(const QString &) const
{
    return {};
}

StyledLabelAccessible::StyledLabelAccessible(StyledLabel *label)
    : QAccessibleWidget(label, QAccessible::StaticText)
{}

QString StyledLabelAccessible::text(QAccessible::Text t) const
{
    const QString own = QAccessibleWidget::text(t);
    if (t != QAccessible::Name || !own.isEmpty())
        return own;
    return static_cast<const StyledLabel *>(widget())->text();
}
