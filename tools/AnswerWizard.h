#pragma once

// For the developer tools that run a collection without a person: the wizard is answered as a
// user would answer it for every file of the current drive, and the information box is passed.

#include "controls/MessageBoxes.h"
#include "selection/WhichDrive.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

// Answers the next selection wizard that shows: the drives picked as they start, "&All files".
inline void answerNextWizard()
{
    QTimer::singleShot(0, [] {
        if (auto *wizard = qobject_cast<TfrmWhichDrive *>(QApplication::activeModalWidget())) {
            wizard->btNext1->click();
            wizard->btNext2->click();
        }
    });
}

// Message boxes are answered at once (Yes to a question) instead of waiting for a click.
inline void passMessageBoxes()
{
    setMessageHook([](MessageKind, const QString &) { return true; });
}
