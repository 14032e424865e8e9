#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// At a scale of 2 the statistics window's pictures hold two pixels to each of the window's, and the
// window fills all of them: its status bar reaches the bottom right corner.
TEST(SnapshotTool, PicturesFillTheirImageOnADenserScreen)
{
    QTemporaryDir out;
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_SCALE_FACTOR", "2");
    tool.setProcessEnvironment(env);
    tool.start(KORVEL_SNAPSHOT_TOOL, {out.path(), "statistics"});
    ASSERT_TRUE(tool.waitForFinished(120000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    for (const char *name : {"stats-cover.png", "stats-running.png", "stats-done.png"}) {
        const QImage picture(out.filePath(name));
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_EQ(picture.size(), QSize(632, 431 + 22) * 2) << name;
        const QColor corner = picture.pixelColor(picture.width() - 3, picture.height() - 3);
        EXPECT_GT(corner.value(), 128) << name << ": the window does not reach the corner";
    }
}
