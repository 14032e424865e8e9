#pragma once

#include "engine/StatisticsEngine.h"
#include "platform/DriveSource.h"
#include "platform/FileTimes.h"
#include "platform/FolderDriveSource.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <filesystem>
#include <gtest/gtest.h>
#include <numeric>

namespace korvel::test {

// Seconds since 1970 of a UTC date and time.
inline std::int64_t utc(int year, int month, int day, int hour = 12, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone::utc())
        .toSecsSinceEpoch();
}

// The day every engine test calls today, at noon UTC.
inline const std::int64_t testToday = utc(2026, 12, 7);

// A temporary folder tree to walk. Files are written with the size asked for; their times are
// set when given.
class Tree
{
public:
    Tree() { EXPECT_TRUE(dir.isValid()); }
    // A tree in memory (tmpfs) where there is one: big trees are made and removed much faster
    // there than on a disk that discards every freed block.
    explicit Tree(bool inMemory)
        : dir(inMemory && QFileInfo("/dev/shm").isWritable()
                  ? QStringLiteral("/dev/shm/korvel98-test-XXXXXX")
                  : QDir::tempPath() + "/korvel98-test-XXXXXX")
    {
        EXPECT_TRUE(dir.isValid());
    }
    // Removed in this process: a threaded test must not fork a child to do it.
    ~Tree()
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir.path().toStdString(), ignored);
    }

    QString root() const { return dir.path(); }
    QString path(const QString &relative) const { return dir.filePath(relative); }

    void folder(const QString &relative) { EXPECT_TRUE(QDir(dir.path()).mkpath(relative)); }
    void file(const QString &relative, qint64 size = 0, std::int64_t written = 0,
              std::int64_t accessed = 0)
    {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile f(full);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << relative.toStdString();
        if (size > 0) {
            ASSERT_TRUE(f.resize(size));
        }
        if (written)
            f.setFileTime(QDateTime::fromSecsSinceEpoch(written, QTimeZone::utc()),
                          QFileDevice::FileModificationTime);
        if (accessed)
            f.setFileTime(QDateTime::fromSecsSinceEpoch(accessed, QTimeZone::utc()),
                          QFileDevice::FileAccessTime);
    }

private:
    QTemporaryDir dir;
};

// An engine over folders that stand in for drives, in UTC with today fixed; the machine's time
// zone, working directory and current drive come back afterwards.
class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setLocalTimeZone(QTimeZone("UTC"));
        savedDirectory = QDir::currentPath();
        engine.clock = [] { return testToday; };
        engine.filter = Filter();
        engine.hooks.statusText = [this](const QString &text) { statusTexts << text; };
        engine.hooks.walking = [this](const QString &folder) { walkedFolders << folder; };
        engine.hooks.caption = [this](const QString &text) { captions << text; };
        engine.hooks.errorBox = [this](const QString &text) { errors << text; };
    }
    void TearDown() override
    {
        platform::setLocalTimeZone(QTimeZone());
        platform::setListingHook({});
        platform::setCurrentFolder(QString());
        QDir::setCurrent(savedDirectory);
    }

    // Lets folders stand in for the drives c:, d:, ... and picks them all for the run.
    platform::FolderDriveSource &useDrives(const QStringList &folders)
    {
        drives = platform::FolderDriveSource();
        char letter = 'c';
        engine.PickList1.clear();
        for (const QString &folder : folders) {
            drives.addDrive(QChar(letter++), platform::DriveFixed, QString(), folder);
            engine.PickList1 << drives.drives().back().entry;
        }
        return drives;
    }

    // What the figures of every complete run must agree on.
    void expectInvariants() const
    {
        auto sum = [](const auto &table) {
            return std::accumulate(table.begin(), table.end(), 0.0);
        };
        EXPECT_EQ(sum(engine.sizeFiles), double(engine.filesFound));
        const double bytes = sum(engine.sizeBytes);
        for (const auto *files :
             {&engine.ageAccessedFiles, &engine.ageCreatedFiles, &engine.ageModifiedFiles})
            EXPECT_EQ(sum(*files), double(engine.filesFound));
        for (const auto *sizes :
             {&engine.ageAccessedBytes, &engine.ageCreatedBytes, &engine.ageModifiedBytes})
            EXPECT_EQ(sum(*sizes), bytes);
        for (const auto *hours :
             {&engine.hourModified, &engine.hourCreated, &engine.hourAccessed}) {
            EXPECT_LE(sum(*hours), double(engine.filesFound));
            EXPECT_EQ((*hours)[0], 0.0);
        }
        for (std::int64_t n : {engine.nReadOnly, engine.nHidden, engine.nSystem, engine.nArchive})
            EXPECT_LE(n, engine.filesFound);
        EXPECT_LE(engine.filesFound, engine.filesProcessed);
        std::int64_t typed = 0;
        for (int i = 0; i < engine.lbTypes.count(); ++i)
            typed += engine.lbTypes.filesAt(i);
        EXPECT_LE(typed, engine.filesFound);
    }

    platform::FolderDriveSource drives; // the engine's drive table
    StatisticsEngine engine{drives};
    QStringList statusTexts, walkedFolders, captions, errors;
    QString savedDirectory;
};

} // namespace korvel::test
