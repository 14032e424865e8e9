// Korvel 98: the main window with its drive chart, and the statistics window behind it.

#include "app/MainWindow.h"
#include "controls/DesignFonts.h"
#include "platform/DirectorySearch.h"
#include "reports/Statistics.h"

#include <QApplication>
#include <cstdio>

namespace {

// A window system to show windows on: X11, Wayland, or a platform chosen on purpose.
bool haveDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char **argv)
{
    if (!haveDisplay()) {
        std::fputs("korvel98: no display to show the windows on (DISPLAY is not set)\n", stderr);
        return 1;
    }
    platform::raiseDescriptorLimit();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Korvel 98");
    installDesignFonts();

    TfrmMain frmMain;
    TfrmStatistics frmStatistics;
    // Closing the main window ends the program, also while the statistics window is open.
    frmStatistics.setAttribute(Qt::WA_QuitOnClose, false);
    frmMain.setStatisticsWindow(&frmStatistics);
    frmMain.show();
    return app.exec();
}
