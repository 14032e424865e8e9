// Korvel 98 in a Wayland session without X: under a headless Wayland compositor of the test's own
// it must open its main window natively, not abort for want of an X display.

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Ends a process the test started, and waits for it.
struct Stopper
{
    QProcess &process;
    ~Stopper()
    {
        process.terminate();
        if (!process.waitForFinished(10000))
            process.kill();
        process.waitForFinished(10000);
    }
};

} // namespace

TEST(WaylandSession, TheMainWindowOpensNativelyWithoutX)
{
    QTemporaryDir runtime; // the compositor's socket lives here; made private (0700) as it must be
    ASSERT_TRUE(runtime.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        env.remove(name);
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("XDG_CONFIG_HOME", runtime.path()); // no weston.ini or settings of the user's

    QProcess compositor;
    compositor.setProcessEnvironment(env);
    compositor.setProcessChannelMode(QProcess::MergedChannels);
    compositor.start("weston",
                     {"--backend=headless-backend.so", "--socket=korvel98-test", "--idle-time=0"});
    ASSERT_TRUE(compositor.waitForStarted()) << "weston is not installed";
    const Stopper stopCompositor{compositor};
    const QString socket = runtime.filePath("korvel98-test");
    for (QDeadlineTimer deadline(20000); !QFileInfo::exists(socket) && !deadline.hasExpired();)
        QThread::msleep(50);
    ASSERT_TRUE(QFileInfo::exists(socket)) << compositor.readAll().toStdString();

    // The client side of the protocol, as libwayland logs it, shows the window being made.
    env.insert("WAYLAND_DISPLAY", "korvel98-test");
    env.insert("WAYLAND_DEBUG", "client");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(KORVEL_PROGRAM, QStringList{});
    ASSERT_TRUE(program.waitForStarted());
    const Stopper stopProgram{program};
    QByteArray log;
    const QByteArray titled = R"(set_title("Korvel 98"))";
    for (QDeadlineTimer deadline(60000);
         !deadline.hasExpired() && program.state() == QProcess::Running;) {
        program.waitForReadyRead(200);
        log += program.readAllStandardError();
        // Titled, then drawn: a buffer attached to a surface after the title was set.
        if (const qsizetype at = log.indexOf(titled); at >= 0 && log.indexOf(".attach(", at) >= 0)
            break;
    }
    const qsizetype at = log.indexOf(titled);
    EXPECT_TRUE(at >= 0 && log.indexOf(".attach(", at) >= 0) << log.right(3000).toStdString();
    EXPECT_EQ(program.state(), QProcess::Running) << "the program ended";
}
