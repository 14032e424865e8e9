// Korvel 98: the main window with its drive chart, and the statistics window behind it.

#include "app/DisplayStart.h"
#include "app/MainWindow.h"
#include "controls/DesignFonts.h"
#include "controls/DesignPalette.h"
#include "platform/DirectorySearch.h"
#include "platform/StandardOutput.h"
#include "reports/Statistics.h"
#include "selection/ExtensionLists.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

// The window system chosen on the command line (-platform) or in QT_QPA_PLATFORM, or empty when
// Qt is left to choose.
QString chosenPlatform(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-platform")
            return i + 1 < argc ? QString::fromLocal8Bit(argv[i + 1]) : QString();
        if (arg.starts_with("-platform="))
            return QString::fromLocal8Bit(arg.substr(10));
    }
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

// A window system to show windows on: X11, Wayland, or a platform chosen on purpose.
bool haveDisplay(const QString &platform)
{
    return !platform.isEmpty() || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

const char helpText[] =
    "Usage: korvel98 [--help | --version | --trends | FILE]\n"
    "\n"
    "Korvel 98 draws the used and free space of every mounted drive as a 3-D bar chart\n"
    "and, on request, counts the files on the drives you pick and shows what it found on\n"
    "ten report pages. Start it from your desktop's menu or from a terminal inside a\n"
    "desktop session.\n"
    "\n"
    "  FILE           a saved collection (NAME.korvel98.json) to show on the report pages,\n"
    "                 or the JSON dump of another disk-usage scanner (also gzipped)\n"
    "  --trends       open the trends of the history of runs\n"
    "  -h, --help     print this help and exit\n"
    "  -v, --version  print the version and exit\n"
    "\n"
    "Every run is kept in $XDG_DATA_HOME/korvel98/collections (normally\n"
    "~/.local/share/korvel98/collections).\n"
    "The file-type lists are kept in $XDG_CONFIG_HOME/korvel98.ini (normally\n"
    "~/.config/korvel98.ini). Qt's own options such as -style and -platform, and its\n"
    "environment variables such as QT_QPA_PLATFORM and QT_SCALE_FACTOR, apply. For the\n"
    "figures of a collection in a script, see korvel98-scan --help.\n";

// How many arguments a window-system option of Qt's own takes up at args[0] (itself and its
// value), or 0 when it is none of them.
int qtOptionLength(int count, char **args)
{
    static const char *const withValue[] = {"-platform",        "-platformpluginpath",
                                            "-platformtheme",   "-plugin",
                                            "-qwindowgeometry", "-qwindowtitle",
                                            "-qwindowicon",     "-style",
                                            "-stylesheet",      "-session",
                                            "-display",         "-geometry"};
    static const char *const alone[] = {"-reverse", "-nograb", "-dograb", "-sync", "-widgetcount"};
    const std::string_view arg = args[0];
    for (const char *option : alone)
        if (arg == option)
            return 1;
    for (const std::string_view option : withValue) {
        if (arg == option)
            return count > 1 ? 2 : 0;
        if (arg.size() > option.size() && arg.starts_with(option) && arg[option.size()] == '=')
            return 1;
    }
    return 0;
}

// Answers --help and --version before any window exists, so that both work without a display.
// One argument that is no option names a collection file to show; anything else is a mistake
// worth reporting. The exit code, or nothing when the program should start.
std::optional<int> answerCommandLine(int argc, char **argv, QString &collectionFile, bool &trends)
{
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (arg[0] != '-' || optionsEnd) {
            if (collectionFile.isEmpty() && arg[0] != '\0') {
                // Made whole now: a walk changes the working folder.
                collectionFile = QFileInfo(QString::fromLocal8Bit(arg)).absoluteFilePath();
                continue;
            }
        } else if (!std::strcmp(arg, "--")) {
            optionsEnd = true;
            continue;
        } else if (!std::strcmp(arg, "--trends")) {
            trends = true;
            continue;
        } else if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h"))
            return platform::printToStandardOutput("korvel98", helpText) ? 0 : 1;
        else if (!std::strcmp(arg, "--version") || !std::strcmp(arg, "-v"))
            return platform::printToStandardOutput("korvel98", "Korvel 98 " KORVEL_VERSION "\n")
                       ? 0
                       : 1;
        // Qt's own options are Qt's business (an X session manager restarts the program with
        // -session, users choose a style or a platform); they are left for QApplication.
        if (const int taken = optionsEnd ? 0 : qtOptionLength(argc - i, argv + i)) {
            i += taken - 1;
            continue;
        }
        std::fprintf(stderr, "korvel98: %s %s (see korvel98 --help)\n",
                     arg[0] == '-' ? "unknown option" : "unexpected argument", arg);
        return 2;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    QString collectionFile;
    bool trends = false;
    if (const std::optional<int> exitCode = answerCommandLine(argc, argv, collectionFile, trends))
        return *exitCode;
    const QString windowSystem = chosenPlatform(argc, argv);
    if (!haveDisplay(windowSystem)) {
        std::fputs("korvel98: no display to show the windows on (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set)\n",
                   stderr);
        return 1;
    }
    platform::raiseDescriptorLimit();
    // The settings file's place is fixed now, before a walk can move the working folder.
    settingsFilePath();
    DisplayStart start(windowSystem);
    QApplication app(argc, argv);
    start.done();
    QApplication::setApplicationName("Korvel 98");
    QApplication::setApplicationVersion(KORVEL_VERSION);
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName("korvel98");
    QApplication::setWindowIcon(QIcon::fromTheme("korvel98"));
    installDesignFonts();
    useDesignPalette();

    TfrmMain frmMain;
    TfrmStatistics frmStatistics;
    // Closing the main window ends the program, also while the statistics window is open.
    frmStatistics.setAttribute(Qt::WA_QuitOnClose, false);
    frmMain.setStatisticsWindow(&frmStatistics);
    frmMain.show();
    // A file that cannot be shown is told over the main window, which then goes on as usual.
    if (!collectionFile.isEmpty())
        QTimer::singleShot(0, &frmStatistics,
                           [&] { frmStatistics.openCollectionFile(collectionFile); });
    if (trends)
        QTimer::singleShot(0, &frmStatistics, [&] { frmStatistics.Trends1Click(); });
    return app.exec();
}
