// Pictures of the trends window over a made-up history of 45 daily runs of a growing home folder,
// one per tab.

#include "controls/Notebook.h"
#include "reports/TrendsWindow.h"
#include "tools/MadeUpHistory.h"
#include "tools/snapshots/Snapshots.h"

#include <QTemporaryDir>
#include <QtCore/qtestsupport_core.h>

namespace {

void trendsSnapshots(const QDir &out)
{
    QTemporaryDir history;
    if (!writeMadeUpHistory(history.path(), 45, 200'000, 120))
        return;
    TrendsWindow window;
    window.showHistory(history.path());
    window.show();
    if (!QTest::qWaitFor([&] { return !window.isReading(); }))
        return;
    const char *const names[] = {"trends-space", "trends-types", "trends-folders", "trends-ages"};
    for (int page = 0; page < window.notebook->pageCount(); ++page) {
        window.notebook->setPageIndex(page);
        saveSnapshot(window, out, QString::fromLatin1(names[page]));
    }
}

SnapshotRegistrar trends(QStringLiteral("trends"), trendsSnapshots);

} // namespace
