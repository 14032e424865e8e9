#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;
class StyledLabel;

// The look shared by the selection dialogs: blue Times New Roman titles with an olive shadow
// extruded four pixels down and to the right, and lists on the button-face colour.

QFont pixelFont(const QString &family, int pixels, bool bold = false);
StyledLabel *makeTitleLabel(const QString &text, const QRect &place, QWidget *parent);
QColor buttonFace();
