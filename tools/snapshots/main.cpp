// korvel98-snapshots [--dark] OUTDIR [GROUP...]
// Renders the program's windows and charts to PNG files without a display, with fixed data, so
// that they can be looked at, and compared from one change to the next. Named groups alone are
// rendered when given (the build makes the software centres' screenshots that way).
// QT_SCALE_FACTOR renders them for a denser screen, with that many pixels to each logical one.
// --dark renders them as on a desktop with a dark colour scheme; the windows take their colours
// as the program does at start, whatever the desktop's palette.

#include "controls/DesignFonts.h"
#include "controls/DesignPalette.h"
#include "tools/DesktopPalette.h"
#include "tools/snapshots/Snapshots.h"

#include <QApplication>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextStream>
#include <map>
#include <string_view>

namespace {

std::map<QString, SnapshotGroup> &groups()
{
    static std::map<QString, SnapshotGroup> registered;
    return registered;
}

} // namespace

SnapshotRegistrar::SnapshotRegistrar(const QString &name, SnapshotGroup group)
{
    groups()[name] = std::move(group);
}

bool saveSnapshot(QWidget &widget, const QDir &out, const QString &name)
{
    widget.ensurePolished();
    if (!widget.testAttribute(Qt::WA_WState_Created))
        widget.winId();
    return widget.grab().save(out.filePath(name + ".png"));
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The runs behind the pictures are kept in a history of their own, not the user's.
    const QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const bool dark = argc > 1 && std::string_view(argv[1]) == "--dark";
    const int outArg = dark ? 2 : 1;
    if (argc <= outArg) {
        err << "usage: korvel98-snapshots [--dark] OUTDIR [GROUP...]\n";
        return 2;
    }
    QStringList wanted;
    for (int i = outArg + 1; i < argc; ++i) {
        wanted << QString::fromLocal8Bit(argv[i]);
        if (!groups().contains(wanted.back())) {
            err << "korvel98-snapshots: no group " << wanted.back() << "\n";
            return 2;
        }
    }
    installDesignFonts();
    if (dark)
        pretendDesktopPalette(darkDesktopPalette());
    useDesignPalette();
    // Numbers and dates in the pictures read the same on every machine.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QDir out(QString::fromLocal8Bit(argv[outArg]));
    if (!out.mkpath(".")) {
        err << "korvel98-snapshots: cannot create " << out.path() << "\n";
        return 2;
    }
    for (const auto &[name, group] : groups())
        if (wanted.isEmpty() || wanted.contains(name))
            group(out);
    return 0;
}
