// Korvel 98 in a Wayland session without X: under a headless Wayland compositor of the test's own
// it must open its main window natively, not abort for want of an X display.

#include <QDeadlineTimer>
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
        process.waitForFinished();
    }
};

} // namespace

TEST(WaylandSession, TheMainWindowOpensNativelyWithoutX)
{
    QTemporaryDir runtime; // private (0700), as a session's runtime folder must be
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        env.remove(name);
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("XDG_CONFIG_HOME", runtime.path()); // no weston.ini or settings of the user's

    QProcess compositor;
    compositor.setProcessEnvironment(env);
    compositor.start("weston", {"--backend=headless-backend.so", "--socket=korvel98-test"});
    ASSERT_TRUE(compositor.waitForStarted()) << "weston is not installed";
    const Stopper stopCompositor{compositor};
    const QString socket = runtime.filePath("korvel98-test");
    for (QDeadlineTimer wait(20000); !QFileInfo::exists(socket) && !wait.hasExpired();)
        QThread::msleep(50);
    ASSERT_TRUE(QFileInfo::exists(socket)) << compositor.readAllStandardError().toStdString();

    // libwayland logs the client's requests: the window gets its title, then a drawn buffer.
    env.insert("WAYLAND_DISPLAY", "korvel98-test");
    env.insert("WAYLAND_DEBUG", "client");
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(KORVEL_PROGRAM, QStringList{});
    ASSERT_TRUE(program.waitForStarted());
    const Stopper stopProgram{program};
    QByteArray log;
    auto drawn = [&log] {
        const qsizetype titled = log.indexOf(R"(set_title("Korvel 98"))");
        return titled >= 0 && log.indexOf(".attach(", titled) >= 0;
    };
    for (QDeadlineTimer wait(60000);
         !drawn() && !wait.hasExpired() && program.state() == QProcess::Running;) {
        program.waitForReadyRead(200);
        log += program.readAllStandardError();
    }
    EXPECT_TRUE(drawn()) << log.right(3000).toStdString();
    EXPECT_EQ(program.state(), QProcess::Running) << "the program ended";
}
