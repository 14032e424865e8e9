// Pictures of the program's own background and label controls.

#include "controls/AboutBox.h"
#include "controls/DialogLook.h"
#include "controls/GradientBack.h"
#include "controls/StyledLabel.h"
#include "tools/snapshots/Snapshots.h"

namespace {

void renderControls(const QDir &out)
{
    QWidget window;
    window.resize(480, 300);
    TGradientBack back(&window);
    back.setIsAllBlue(true);

    StyledLabel title("Korvel 99 - Disk Statistics", &window);
    title.resize(480, 57);
    title.setDock(StyledLabel::Dock::Top);
    title.setFont(pixelFont("Times New Roman", 29));
    title.setTextColor(QColor(128, 128, 0));
    title.setHighlightColor(Qt::yellow);
    title.setAlignment(Qt::AlignCenter);

    StyledLabel bottom(makerWebAddress(), &window);
    bottom.resize(480, 42);
    bottom.setDock(StyledLabel::Dock::Bottom);
    bottom.setFont(pixelFont("Times New Roman", 27));
    bottom.setTextColor(QColor(255, 0, 255));
    bottom.setShadow(QColor(0, 0, 128), 4);
    bottom.setGraduateFrom(QColor(0, 0, 255));
    bottom.setHighlightColor(Qt::yellow);
    bottom.setAlignment(Qt::AlignCenter);

    StyledLabel olive("Statistics haven't been collected yet!", &window);
    olive.setGeometry(10, 120, 460, 60);
    olive.setFont(pixelFont("Times New Roman", 23));
    olive.setTextColor(Qt::blue);
    olive.setShadow(QColor(128, 128, 0), 4);
    saveSnapshot(window, out, "controls-gradient-labels");

    back.setIsAllBlue(false);
    saveSnapshot(window, out, "controls-gradient-blue-red");
}

SnapshotRegistrar controls("controls", renderControls);

} // namespace
