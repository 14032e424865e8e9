#pragma once

#include <QAccessibleWidget>
#include <QPointer>

class StyledLabel;
class TOvcNotebook;

// What a screen reader learns of the program's own controls. The notebook is a list of page
// tabs, each named by its caption, selected while its page is in front, disabled with its page,
// and pressed to bring its page to the front; the pages themselves follow the tabs as the
// notebook's last child. A styled label is static text named by its caption.

// Makes the interfaces below the ones Qt hands out for these controls; the controls call it
// when they are made, and calls after the first change nothing.
void installControlsAccessibility();

class NotebookAccessible : public QAccessibleWidget
{
public:
    explicit NotebookAccessible(TOvcNotebook *notebook);
    ~NotebookAccessible() override;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

    TOvcNotebook *notebook() const;

private:
    int tabCount() const;
    // The tabs are made when first asked for and live as long as the notebook's interface.
    mutable QList<QAccessible::Id> tabs;
};

class PageTabAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    PageTabAccessible(TOvcNotebook *notebook, int index);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

    int pageIndex() const { return index; }

private:
    QPointer<TOvcNotebook> notebook;
    int index;
};

class StyledLabelAccessible : public QAccessibleWidget
{
public:
    explicit StyledLabelAccessible(StyledLabel *label);
    QString text(QAccessible::Text t) const override;
};
