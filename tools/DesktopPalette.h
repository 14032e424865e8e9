#pragma once

// For the developer tools and the tests that look at the windows as a desktop with a dark colour
// scheme would show them.

#include <QApplication>
#include <QPalette>
#include <QToolTip>

// The colours a dark desktop hands out: dark grey windows and buttons, near-white text, a light
// blue highlight.
inline QPalette darkDesktopPalette()
{
    QPalette dark(QColor(252, 252, 252), QColor(49, 54, 59), QColor(70, 76, 82), QColor(20, 22, 24),
                  QColor(40, 44, 48), QColor(252, 252, 252), QColor(255, 255, 255),
                  QColor(35, 38, 41), QColor(49, 54, 59));
    dark.setColor(QPalette::Highlight, QColor(61, 174, 233));
    dark.setColor(QPalette::ToolTipBase, QColor(49, 54, 59));
    dark.setColor(QPalette::ToolTipText, QColor(252, 252, 252));
    return dark;
}

// Hands the palette out as a desktop's theme does: to the application, to kinds of controls, and
// to the hints.
inline void pretendDesktopPalette(const QPalette &desktop)
{
    QApplication::setPalette(desktop);
    for (const char *kind : {"QAbstractButton", "QAbstractItemView", "QLabel", "QMenu"})
        QApplication::setPalette(desktop, kind);
    QToolTip::setPalette(desktop);
}
