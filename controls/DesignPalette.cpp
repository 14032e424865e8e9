#include "controls/DesignPalette.h"

#include <QApplication>
#include <QToolTip>

namespace {

struct RoleColours
{
    QPalette::ColorRole role;
    QColor enabled;
    QColor disabled;
};

const QColor black(0, 0, 0), white(255, 255, 255), face(239, 239, 239), greyText(190, 190, 190);

// Every role set in every state, so that nothing of the desktop's palette shows through.
const RoleColours roleColours[] = {
    {QPalette::Window, face, face},
    {QPalette::WindowText, black, greyText},
    {QPalette::Button, face, face},
    {QPalette::ButtonText, black, greyText},
    {QPalette::Base, white, face},
    {QPalette::AlternateBase, QColor(247, 247, 247), QColor(247, 247, 247)},
    {QPalette::Text, black, greyText},
    {QPalette::BrightText, white, white},
    {QPalette::PlaceholderText, QColor(96, 96, 96), greyText},
    {QPalette::Light, white, white},
    {QPalette::Midlight, QColor(202, 202, 202), QColor(202, 202, 202)},
    {QPalette::Mid, QColor(184, 184, 184), QColor(184, 184, 184)},
    {QPalette::Dark, QColor(159, 159, 159), greyText},
    {QPalette::Shadow, QColor(118, 118, 118), QColor(177, 177, 177)},
    {QPalette::Highlight, QColor(0, 0, 128), QColor(145, 145, 145)},
    {QPalette::HighlightedText, white, white},
    {QPalette::Link, QColor(0, 0, 255), QColor(0, 0, 255)},
    {QPalette::LinkVisited, QColor(128, 0, 128), QColor(128, 0, 128)},
    {QPalette::ToolTipBase, QColor(255, 255, 220), QColor(255, 255, 220)},
    {QPalette::ToolTipText, black, black},
};

} // namespace

QPalette designPalette()
{
    QPalette palette;
    for (const RoleColours &colours : roleColours) {
        palette.setColor(QPalette::Active, colours.role, colours.enabled);
        palette.setColor(QPalette::Inactive, colours.role, colours.enabled);
        palette.setColor(QPalette::Disabled, colours.role, colours.disabled);
    }
    return palette;
}

void useDesignPalette()
{
    // Setting the application's palette also drops the palettes the desktop gave kinds of
    // controls; the hints keep a palette of their own.
    QApplication::setPalette(designPalette());
    QToolTip::setPalette(designPalette());
}
