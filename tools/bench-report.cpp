// korvel98-bench-report: times the report document of a run through the statistics window.
//
// Usage: korvel98-bench-report FOLDER
// The folder is walked once as drive c: (not timed), offscreen. Then "Export all pages as PDF..."
// writes the report document three times; prints the middle time by the clock on the wall and of
// the processor, and the document's size.

#include "platform/DirectorySearch.h"
#include "reports/Statistics.h"
#include "tools/Unattended.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::raiseDescriptorLimit();
    QApplication app(argc, argv);
    if (argc != 2 || !QFileInfo(QString::fromLocal8Bit(argv[1])).isDir()) {
        std::fputs("usage: korvel98-bench-report FOLDER\n", stderr);
        return 2;
    }
    const UnattendedDrive drive(QString::fromLocal8Bit(argv[1]), QStringLiteral("c: [bench]"));
    const QTemporaryDir folder;
    TfrmStatistics window;
    window.historyFolder.clear();
    window.show();
    QElapsedTimer walk;
    walk.start();
    answerNextWizard();
    window.btOKClick();
    std::printf("walked %lld files in %.1f s\n",
                static_cast<long long>(window.engine.filesProcessed), walk.elapsed() / 1000.0);

    const QString pdf = folder.filePath("report.pdf");
    window.runSaveDialog = [&pdf](const QString &, const QString &, const QStringList &,
                                  QString &) { return pdf; };
    std::vector<double> wall, cpu;
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer clock;
        const std::clock_t cpuStart = std::clock();
        clock.start();
        window.ExportAll1->trigger();
        wall.push_back(clock.nsecsElapsed() / 1e6);
        cpu.push_back(double(std::clock() - cpuStart) * 1000 / CLOCKS_PER_SEC);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("report document: %.0f ms (%.0f ms processor), %lld bytes\n", wall[1], cpu[1],
                static_cast<long long>(QFileInfo(pdf).size()));
    return QFileInfo(pdf).size() > 0 ? 0 : 1;
}
