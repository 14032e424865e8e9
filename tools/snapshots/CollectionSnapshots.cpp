// Pictures of a collection opened in the statistics window: a run over a small folder is saved,
// the drive then fills up, and a fresh window opens the file. The pictures carry the window's
// caption in a strip above it, as a title bar would show it.

#include "controls/Notebook.h"
#include "reports/SpacePage.h"
#include "reports/Statistics.h"
#include "tools/Unattended.h"
#include "tools/snapshots/Snapshots.h"

#include <QApplication>
#include <QPainter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <filesystem>

namespace {

void makeFiles(const std::filesystem::path &root)
{
    const std::pair<const char *, std::uintmax_t> files[] = {{"Music/01.flac", 48'000'000},
                                                             {"Music/02.flac", 31'000'000},
                                                             {"Pictures/a.jpg", 4'200'000},
                                                             {"Documents/letter.odt", 41'000},
                                                             {"Documents/notes.txt", 3'000}};
    for (const auto &[name, size] : files)
        sparseFile(root / name, size);
}

// The window with its caption above it, in the title bar's colours.
void saveWithCaption(QWidget &window, const QDir &out, const QString &name)
{
    const QPixmap client = window.grab();
    QPixmap framed(client.width(), client.height() + 20);
    framed.fill(QColor(0, 0, 128));
    QPainter painter(&framed);
    painter.setPen(Qt::white);
    painter.setFont(QFont("Arial", 9, QFont::Bold));
    painter.drawText(QRect(6, 0, client.width() - 12, 20), Qt::AlignVCenter, window.windowTitle());
    painter.drawPixmap(0, 20, client);
    painter.end();
    framed.save(out.filePath(name + ".png"));
}

void collectionSnapshots(const QDir &out)
{
    QTemporaryDir folder;
    makeFiles(folder.filePath("c").toStdString());
    const UnattendedDrive drive(folder.filePath("c"), QStringLiteral("c: [home]"));
    drive.source->setSpace('c', 96'000'000'000, 250'000'000'000);
    const QString path = folder.filePath("run.korvel98.json");
    {
        TfrmStatistics ran;
        ran.engine.readAheadThreads = 0;
        ran.historyFolder.clear();
        ran.recorder.now = [] { return QDateTime(QDate(2026, 12, 7), QTime(16, 45, 3)); };
        ran.show();
        answerNextWizard();
        ran.btOKClick();
        ran.saveCollectionFile(path);
    }
    drive.source->setSpace('c', 2'000'000'000, 250'000'000'000);
    TfrmStatistics opened;
    opened.historyFolder.clear();
    opened.show();
    if (!opened.openCollectionFile(path))
        return;
    QApplication::processEvents();
    saveWithCaption(opened, out, QStringLiteral("collection-space"));
    auto &space = static_cast<SpacePage &>(*opened.pages[TfrmStatistics::SpaceTab]);
    space.rgSpace1->click();
    saveWithCaption(opened, out, QStringLiteral("collection-space-pies"));
    opened.OvcNotebook1->setPageIndex(TfrmStatistics::TypesTab);
    saveWithCaption(opened, out, QStringLiteral("collection-types"));
}

SnapshotRegistrar collection(QStringLiteral("collection"), collectionSnapshots);

} // namespace
