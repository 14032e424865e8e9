// Any bytes as the trend index of a history folder (one copied from elsewhere may hold anything):
// the trends read through it must be those of the collection files, whether the index is taken,
// mended or passed over. Anything else (a crash, a hang, a sanitizer's report) is a fault of the
// index reader.

#include "model/History.h"
#include "model/TrendIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

// One history of two collections, made once.
const QTemporaryDir &history()
{
    static QTemporaryDir folder;
    static bool made = false;
    if (!made) {
        made = true;
        for (int day = 1; day <= 2; ++day) {
            Collection c;
            c.facts.started = QDateTime(QDate(2026, 3, day), QTime(3, 0));
            c.facts.ended = c.facts.started.addSecs(60);
            DriveFacts drive;
            drive.letter = 'c';
            drive.capacity = 1000;
            drive.freeBytes = 1000 - 100 * day;
            c.facts.drives = {drive};
            c.figures.filter = Filter();
            keepInHistory(c, folder.path());
        }
    }
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
    const QString folder = history().path();
    const QString index = QDir(folder).filePath(trendIndexName);
    QFile::remove(index);
    QFile file(index);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    file.close();
    if (!(readTrends(folder).points == readTrendPoints(folder)))
        std::abort();
    return 0;
}
