// Pictures of the machines window: collections of three hosts copied into one folder, one host
// with two weeks of runs that grew, one whose newest run is old. With --dark, as a desktop with a
// dark colour scheme shows them.

#include "controls/Notebook.h"
#include "model/Collection.h"
#include "reports/MachinesWindow.h"
#include "reports/Statistics.h"
#include "tools/Unattended.h"
#include "tools/snapshots/Snapshots.h"

#include <QAction>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <filesystem>

namespace {

void machinesSnapshots(const QDir &out)
{
    TemporaryHome home;
    const std::filesystem::path root = home.path().toStdString();
    sparseFile(root / "srv/backup/week.tar", 4'000'000'000);
    sparseFile(root / "srv/www/index.html", 12'000);
    sparseFile(root / "srv/db/main.sqlite", 800'000'000);
    const UnattendedDrive drive(home.path() + QStringLiteral("/srv"), QStringLiteral("c: [srv]"));
    TfrmStatistics window;
    window.engine.readAheadThreads = 0;
    window.show();
    answerNextWizard();
    window.btOKClick();

    const QDateTime now(QDate(2026, 12, 7), QTime(9, 0));
    const struct
    {
        const char *host;
        int daysBack;
        std::uint64_t freeBytes;
    } runs[] = {{"nas.home", 14, 900'000'000'000},
                {"nas.home", 7, 880'000'000'000},
                {"nas.home", 0, 850'000'000'000},
                {"workstation-anna", 1, 120'000'000'000},
                {"old-laptop", 40, 10'000'000'000}};
    const QString folder = home.path() + QStringLiteral("/copied");
    QDir().mkpath(folder);
    int index = 0;
    for (const auto &run : runs) {
        Collection c = collectionOf(window.recorder.run(), window.engine);
        c.facts.hostName = QString::fromLatin1(run.host);
        c.facts.started = c.facts.ended = now.addDays(-run.daysBack);
        for (DriveFacts &d : c.facts.drives) {
            d.capacity = 2'000'000'000'000;
            d.freeBytes = run.freeBytes;
        }
        QString message;
        writeCollectionFile(QStringLiteral("%1/%2.korvel98.json").arg(folder).arg(index++), c,
                            message);
    }
    window.askMachinesFolder = [&](const QString &) { return folder; };
    window.Machines1->trigger();
    auto *machines = window.findChild<MachinesWindow *>();
    if (!machines)
        return;
    machines->now = [now] { return now; };
    machines->showFolder(folder);
    machines->tvMachines->setFocus();
    saveSnapshot(*machines, out, QStringLiteral("machines"));

    // A dump of another scanner opened: its figures on the Types page, a cover on the Access page.
    QFile dump(home.path() + QStringLiteral("/srv.json"));
    dump.open(QIODevice::WriteOnly);
    dump.write(R"([1,2,{"progname":"ncdu","progver":"1.19","timestamp":1796630400},
        [{"name":"/srv"},{"name":"week.tar","asize":4000000000,"mtime":1796000000},
         [{"name":"www"},{"name":"index.html","asize":12000,"mtime":1790000000}]]])");
    dump.close();
    window.openCollectionFile(dump.fileName());
    window.OvcNotebook1->setPageIndex(TfrmStatistics::TypesTab);
    saveSnapshot(window, out, QStringLiteral("dump-types"));
    window.OvcNotebook1->setPageIndex(TfrmStatistics::AccessTab);
    saveSnapshot(window, out, QStringLiteral("dump-access"));
    window.OvcNotebook1->setPageIndex(TfrmStatistics::TimeTab);
    saveSnapshot(window, out, QStringLiteral("dump-time"));
}

SnapshotRegistrar machines(QStringLiteral("machines"), machinesSnapshots);

} // namespace
