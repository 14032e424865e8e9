#include "controls/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageHook &messageHook()
{
    static MessageHook hook;
    return hook;
}

} // namespace

void setMessageHook(MessageHook hook)
{
    messageHook() = std::move(hook);
}

void errorBox(const QString &text)
{
    QApplication::beep();
    if (messageHook()) {
        messageHook()(MessageKind::Error, text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void infoBox(const QString &text)
{
    if (messageHook()) {
        messageHook()(MessageKind::Information, text);
        return;
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool askYesNoCancel(const QString &text)
{
    if (messageHook())
        return messageHook()(MessageKind::Question, text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    QApplication::activeWindow());
    return box.exec() == QMessageBox::Yes;
}
