#include "platform/MountTable.h"
#include "support/ServerStandIn.h"

#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <sys/sysmacros.h>
#include <thread>

using namespace platform;
using namespace std::chrono_literals;
using korvel::test::ServerStandIn;

namespace {

// Waits for what a background probe brings about; false when it has not come within a minute.
bool eventually(const std::function<bool()> &condition)
{
    for (int i = 0; i < 6000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

// Runs questions on a thread of their own; false when they have not returned within a minute,
// which only a wait for a server that is down explains.
bool returnsAtOnce(std::function<void()> questions)
{
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([questions, done] {
        questions();
        done->set_value();
    }).detach();
    return finished.wait_for(60s) == std::future_status::ready;
}

TEST(ProbeChild, AnswersWhatTheFolderSaysToThisProgram)
{
    QTemporaryDir temp;
    QFile file(temp.filePath("file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const QString &folder : {temp.path(), temp.filePath("file"), temp.filePath("missing")}) {
        ProbeChild child(ownProbeCommand(), folder);
        ASSERT_TRUE(child.started());
        const VolumeFacts heard = child.answer(), here = probeVolume(folder);
        EXPECT_EQ(heard.answered, here.answered) << folder.toStdString();
        EXPECT_EQ(heard.device, here.device);
        EXPECT_EQ(heard.totalBytes, here.totalBytes);
        EXPECT_EQ(heard.clusterSize, here.clusterSize);
        // Files come and go meanwhile; whether the file system counts them does not.
        EXPECT_EQ(heard.usedEntries != 0, here.usedEntries != 0);
    }
}

// A root drive and three network drives, d: to f:, on one server.
class DeadServerTest : public ::testing::Test
{
protected:
    ServerStandIn server;
    QStringList touched; // every path the table and the local probe looked at

    MountTableOptions options(std::chrono::milliseconds timeLimit)
    {
        MountTableOptions options = server.tableOptions(timeLimit);
        options.isDirectory = [this](const QString &mountPoint) {
            touched << mountPoint;
            return true;
        };
        options.probe = [this](const QString &folder) {
            touched << folder;
            return VolumeFacts{true, makedev(8, 1), 1000, 500, 4096};
        };
        options.remote.refreshSpan = 0ms; // every question is a refresh of its own
        return options;
    }

    std::shared_ptr<MountTableDriveSource> drives(std::chrono::milliseconds timeLimit)
    {
        return std::make_shared<MountTableDriveSource>(ServerStandIn::networkTable,
                                                       options(timeLimit));
    }

    // A table whose drives answered when it was made, and whose server is down since.
    std::shared_ptr<MountTableDriveSource> answeredThenDown(std::chrono::milliseconds timeLimit)
    {
        auto heard = std::make_shared<std::atomic<int>>(0);
        const QMetaObject::Connection listening = QObject::connect(
            &driveNews(), &DriveNews::lateAnswer, [heard, base = server.base()](const QString &f) {
                if (f.startsWith(base))
                    ++*heard;
            });
        server.setUp(true);
        auto source = drives(timeLimit);
        EXPECT_TRUE(eventually([&] { return *heard == 3; }));
        QObject::disconnect(listening);
        server.setUp(false);
        return source;
    }
};

TEST_F(DeadServerTest, MakingTheTableAndItsFirstQuestionsNeverWait)
{
    const auto source = drives(1h);
    bool anyReady = true;
    ASSERT_TRUE(returnsAtOnce([source, &anyReady] {
        anyReady = source->isReady('d') || source->isReady('e') || source->isReady('f');
    }));
    EXPECT_FALSE(anyReady);
    EXPECT_TRUE(source->isReady('c'));
    EXPECT_TRUE(eventually([&] { return server.probesStarted() == 3; }));
}

TEST_F(DeadServerTest, ARefreshAsksEveryDriveAtOnceAndADeadOneIsNotAskedAgain)
{
    const auto source = answeredThenDown(300ms);
    EXPECT_FALSE(source->isReady('e'));
    EXPECT_TRUE(eventually([&] { return server.probesStarted() == 6; })); // d: and f: as well

    // Another table over the same drives, whose probes would wait for ever.
    const auto later = drives(1h);
    std::uint64_t freeBytes = 0, totalBytes = 0;
    bool anyAnswer = true;
    ASSERT_TRUE(returnsAtOnce([&] {
        anyAnswer = later->isReady('d') || later->isReady('f') ||
                    later->space('e', freeBytes, totalBytes) || later->clusterSize('f') != 0;
    }));
    EXPECT_FALSE(anyAnswer);
    EXPECT_EQ(server.probesStarted(), 6);
}

TEST_F(DeadServerTest, ADriveThatAnswersAfterAllIsReadyAgain)
{
    const auto source = answeredThenDown(300ms);
    ASSERT_FALSE(source->isReady('e')); // now known not to answer

    server.setUp(true);
    std::uint64_t freeBytes = 0, totalBytes = 0;
    EXPECT_TRUE(eventually([&] {
        return source->isReady('f') && source->space('e', freeBytes, totalBytes) &&
               totalBytes == 1000000u && source->usedEntries('d') == 1234u;
    }));
}

TEST_F(DeadServerTest, MountsBelowANetworkDriveAreAskedOnlyByProbes)
{
    const QByteArray text = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                            "2 1 0:45 /a /mnt/nas rw - nfs nas:/a rw\n"
                            "3 2 0:45 /t /mnt/nas/tmp rw - tmpfs tmpfs rw\n"
                            "4 2 0:45 /u /mnt/nas/usb rw - ext4 /dev/sdb1 rw\n"
                            "5 1 8:2 / /mnt/nasty rw - ext4 /dev/sdc1 rw\n";
    const MountTableDriveSource source(text, options(1h));
    QStringList entries;
    for (const Drive &drive : source.drives())
        entries << drive.entry;
    EXPECT_EQ(entries, QStringList({"c: [/]", "d: nas:/a", "e: [/mnt/nas/tmp]", "f: [/mnt/nas/usb]",
                                    "g: [/mnt/nasty]"}));

    bool ready = true;
    ASSERT_TRUE(returnsAtOnce([&] { ready = source.isReady('f'); }));
    EXPECT_FALSE(ready);
    EXPECT_TRUE(source.isReady('g'));
    for (const QString &path : touched)
        EXPECT_FALSE(path.contains("/mnt/nas/")) << path.toStdString();
    EXPECT_TRUE(touched.contains(server.base() + "/mnt/nasty"));

    server.setUp(true);
    EXPECT_TRUE(eventually([&] { return source.isReady('e') && source.isReady('f'); }));
}

} // namespace
