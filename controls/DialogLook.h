#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QDialog;
class QLabel;
class QMenu;
class QWidget;
class StyledLabel;

// The look shared by the program's dialogs: a fixed size, centred on the screen, blue Times New
// Roman titles with an olive shadow extruded four pixels down and to the right, and lists on the
// button-face colour.

QFont pixelFont(const QString &family, int pixels, bool bold = false);
StyledLabel *makeTitleLabel(const QString &text, const QRect &place, QWidget *parent);
QColor buttonFace();
// A label whose text wraps inside its place, starting at the top left.
QLabel *wrappedLabel(const QString &text, const QRect &place, QWidget *parent);

// A dialog that cannot be resized, with only the close box in its title bar, placed in the middle
// of the screen whatever window opened it.
void setDialogFrame(QDialog &dialog, const QSize &client);

// A pop-up menu is a window of its own and would take the desktop's font: it takes the font of
// the window it opens in, as the buttons beside it do, each time it opens.
void useWindowFont(QMenu &menu);
