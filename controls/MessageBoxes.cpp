#include "controls/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageHook &messageHook()
{
    static MessageHook hook;
    return hook;
}

// Hands the box to the test hook when one is installed, else shows it modally over the active
// window. True when the answer is Yes (or the hook said so).
bool showBox(MessageKind kind, QMessageBox::Icon icon, const QString &title, const QString &text,
             QMessageBox::StandardButtons buttons)
{
    if (messageHook())
        return messageHook()(kind, text);
    QMessageBox box(icon, title, text, buttons, QApplication::activeWindow());
    return box.exec() == QMessageBox::Yes;
}

} // namespace

void setMessageHook(MessageHook hook)
{
    messageHook() = std::move(hook);
}

void errorBox(const QString &text)
{
    QApplication::beep();
    showBox(MessageKind::Error, QMessageBox::Critical, QStringLiteral("Error"), text,
            QMessageBox::Ok);
}

void infoBox(const QString &text)
{
    showBox(MessageKind::Information, QMessageBox::Information, QStringLiteral("Information"), text,
            QMessageBox::Ok);
}

bool askYesNoCancel(const QString &text)
{
    return showBox(MessageKind::Question, QMessageBox::Question, QStringLiteral("Confirm"), text,
                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}
