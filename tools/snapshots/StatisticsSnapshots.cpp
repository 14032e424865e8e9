// Pictures of the statistics window: under its cover before any run, in the middle of a walk,
// after a run, and after a run that could not read some folders, with their list.

#include "controls/Notebook.h"
#include "platform/DirectorySearch.h"
#include "reports/Statistics.h"
#include "reports/UnreadableFolders.h"
#include "tools/Unattended.h"
#include "tools/snapshots/Snapshots.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

namespace {

// A small tree of files to walk: a few folders of a few dozen files each.
void makeTree(const QString &root)
{
    QDir dir(root);
    for (int folder = 0; folder < 6; ++folder) {
        const QString name = QStringLiteral("folder%1").arg(folder);
        dir.mkpath(name);
        for (int file = 0; file < 40; ++file) {
            QFile out(dir.filePath(name + QStringLiteral("/file%1.txt").arg(file)));
            if (out.open(QIODevice::WriteOnly))
                out.write(QByteArray(100 * file, 'x'));
        }
    }
}

// The window with a plain title bar above it, since the caption is part of what a run reports and
// a picture of the client area alone would not show it.
void saveWithCaption(QWidget &window, const QDir &out, const QString &name)
{
    constexpr int titleHeight = 22;
    const QPixmap client = window.grab();
    // Sized in the screen's own pixels, so that at any scale the client area fills the picture.
    const double scale = client.devicePixelRatio();
    const QSize logical = client.deviceIndependentSize().toSize() + QSize(0, titleHeight);
    QImage picture(logical * scale, QImage::Format_RGB32);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.fillRect(0, 0, logical.width(), titleHeight, QColor(0, 0, 128));
    painter.setPen(Qt::white);
    painter.setFont(QFont(QStringLiteral("MS Sans Serif"), 8, QFont::Bold));
    painter.drawText(QRect(6, 0, logical.width() - 12, titleHeight), Qt::AlignVCenter,
                     window.windowTitle());
    painter.drawPixmap(0, titleHeight, client);
    painter.end();
    picture.save(out.filePath(name + QStringLiteral(".png")));
}

void statisticsSnapshots(const QDir &out)
{
    QTemporaryDir home;
    makeTree(home.path());
    const UnattendedDrive drive(home.path(), QStringLiteral("c: [system]"));
    drive.source->setUsedEntries('c', 500); // the walk then stands about halfway when pictured
    TfrmStatistics window;
    window.show();
    window.OvcNotebook1->setPageIndex(TfrmStatistics::TypesTab);
    saveWithCaption(window, out, QStringLiteral("stats-cover"));

    // Halfway through the walk the picture is taken from inside it, as the user sees it.
    window.engine.dispatchInterval = std::chrono::milliseconds(0);
    window.engine.readAheadThreads = 0;
    int dispatches = 0;
    const auto dispatch = window.engine.hooks.dispatchMessages;
    window.engine.hooks.dispatchMessages = [&] {
        dispatch();
        if (++dispatches == 120)
            saveWithCaption(window, out, QStringLiteral("stats-running"));
    };
    answerNextWizard();
    window.btOKClick();
    saveWithCaption(window, out, QStringLiteral("stats-done"));

    // A run that could not read two of the folders, and the list its status bar item opens.
    window.engine.hooks.dispatchMessages = dispatch;
    platform::setListingHook(
        [](const std::string &path) { return !path.ends_with("2") && !path.ends_with("4"); });
    answerNextWizard();
    window.btOKClick();
    platform::setListingHook({});
    saveWithCaption(window, out, QStringLiteral("stats-unreadable"));
    QTimer::singleShot(0, [&out] {
        if (QWidget *list = QApplication::activeModalWidget()) {
            saveWithCaption(*list, out, QStringLiteral("unreadable-list"));
            list->close();
        }
    });
    window.unreadableItem->click();
}

SnapshotRegistrar statistics(QStringLiteral("statistics"), statisticsSnapshots);

} // namespace
