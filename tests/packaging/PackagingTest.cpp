// Korvel 98 as an installed desktop program: what `make install` puts in place and `make
// uninstall` takes away, the checks menus and software centres apply to it, the Debian package,
// and the command lines, which must answer without a display.

#include "support/TestSupport.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Result
{
    int exitCode = -1;
    QByteArray out, err;
};

// Runs a program to its end; output names a file to take its standard output instead of the pipe.
Result run(const QString &program, const QStringList &args,
           const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
           const QString &output = {})
{
    QProcess process;
    process.setProcessEnvironment(env);
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    process.start(program, args);
    if (!process.waitForStarted())
        return {-1, {}, "cannot start " + program.toUtf8()};
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

const QList<int> iconSizes = {16, 22, 24, 32, 48, 64, 128, 256};

QStringList expectedFiles(const QString &prefix)
{
    QStringList files = {"/bin/korvel98",
                         "/bin/korvel98-scan",
                         "/share/applications/korvel98.desktop",
                         "/share/mime/packages/korvel98.xml",
                         "/share/metainfo/example.tembrel.korvel98.metainfo.xml",
                         "/share/icons/hicolor/scalable/apps/korvel98.svg",
                         "/share/man/man1/korvel98.1.gz",
                         "/share/man/man1/korvel98-scan.1.gz",
                         "/share/doc/korvel98/changelog.gz",
                         "/share/doc/korvel98/copyright",
                         "/lib/systemd/user/korvel98-history.service",
                         "/lib/systemd/user/korvel98-history.timer"};
    for (const char *shot : {"main-rest", "space-pies", "access-mb", "time"})
        files << QString("/share/korvel98/screenshots/%1.png").arg(shot);
    for (int size : iconSizes)
        files << QString("/share/icons/hicolor/%1x%1/apps/korvel98.png").arg(size);
    for (QString &file : files)
        file.prepend(prefix);
    files.sort();
    return files;
}

QStringList filesUnder(const QString &root, QDir::Filters kind = QDir::Files)
{
    QStringList files;
    QDirIterator it(root, kind | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(root.size());
    files.sort();
    return files;
}

// Installs the build into DESTDIR=stage with the default prefix.
class Install : public ::testing::Test
{
protected:
    void SetUp() override { env.insert("DESTDIR", stage.path()); }
    Result install() { return run(KORVEL_CMAKE, {"--install", KORVEL_BUILD_DIR}, env); }
    QString installed(const QString &file) const { return stage.path() + "/usr/local" + file; }

    QTemporaryDir stage;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
};

} // namespace

// For each prefix the weekly timer's units land in a folder the user's service manager searches,
// and pass its own check with the installed scan tool named by its full path. The manager checks
// only a root it runs on, so a staged install is checked in copies whose program path has the
// stage put before it: the units as they will be, with the program where they will find it.
TEST(UserTimer, UnitsPassTheServiceManagersCheckForEachPrefix)
{
    if (QStandardPaths::findExecutable("systemd-analyze").isEmpty())
        GTEST_SKIP() << "systemd-analyze is not installed: the timer's units are not checked";
    // A home of its own holds the ~/.local install for real; the others are staged.
    QTemporaryDir home, runtime, copies;
    const QString local = home.path() + "/.local";
    QProcessEnvironment user = QProcessEnvironment::systemEnvironment();
    for (const char *name :
         {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
        user.remove(name);
    user.insert("HOME", home.path());
    user.insert("XDG_RUNTIME_DIR", runtime.path());
    const QList<QByteArray> searched =
        run("systemd-analyze", {"--user", "unit-paths"}, user).out.split('\n');
    const struct
    {
        QString prefix, units;
        bool staged;
    } cases[] = {{"/usr", "/usr/lib/systemd/user", true},
                 {"/usr/local", "/usr/local/lib/systemd/user", true},
                 {local, local + "/share/systemd/user", false}};
    for (const auto &c : cases) {
        QTemporaryDir stage;
        const QString root = c.staged ? stage.path() : QString();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", root);
        const Result installed =
            run(KORVEL_CMAKE, {"--install", KORVEL_BUILD_DIR, "--prefix", c.prefix}, env);
        ASSERT_EQ(installed.exitCode, 0) << installed.err.toStdString();
        EXPECT_TRUE(searched.contains(c.units.toUtf8())) << c.units.toStdString();
        const QByteArray program = c.prefix.toUtf8() + "/bin/korvel98-scan ";
        QStringList checked;
        for (const QString unit : {"service", "timer"}) {
            const QString name = "korvel98-history." + unit;
            QByteArray text = korvel::test::fileBytes(root + c.units + '/' + name);
            if (unit == "service") {
                EXPECT_TRUE(text.contains("\nExecStart=" + program)) << c.prefix.toStdString();
            }
            text.replace("\nExecStart=" + program, "\nExecStart=" + root.toUtf8() + program);
            QFile copy(copies.filePath(name));
            ASSERT_TRUE(copy.open(QIODevice::WriteOnly) && copy.write(text) == text.size());
            checked << copy.fileName();
        }
        const Result verified = run("systemd-analyze", QStringList{"verify", "--man=no"} + checked);
        EXPECT_EQ(verified.exitCode, 0) << c.prefix.toStdString() << verified.err.toStdString();
    }
}

TEST_F(Install, PutsInPlaceExactlyItsFilesAndUninstallRemovesOnlyThose)
{
    // Another program's menu entry in the shared folder must survive the uninstall, and so must
    // the folder.
    const QString other = "/usr/local/share/applications/other.desktop";
    ASSERT_TRUE(QDir().mkpath(stage.path() + "/usr/local/share/applications"));
    QFile(stage.path() + other).open(QIODevice::WriteOnly);

    const Result result = install();
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();
    QStringList expected = expectedFiles("/usr/local") << other;
    expected.sort();
    EXPECT_EQ(filesUnder(stage.path()), expected);
    for (int size : iconSizes)
        EXPECT_EQ(
            QImage(installed(QString("/share/icons/hicolor/%1x%1/apps/korvel98.png").arg(size)))
                .size(),
            QSize(size, size));

    const Result removed =
        run(KORVEL_CMAKE,
            {"-DPREFIX=/usr/local", "-DFILES=" KORVEL_BUILD_DIR "/packaging/installed-files.txt",
             "-P", KORVEL_SOURCE_DIR "/packaging/uninstall.cmake"},
            env);
    ASSERT_EQ(removed.exitCode, 0) << removed.err.toStdString();
    EXPECT_EQ(filesUnder(stage.path()), QStringList{other});
    // The folders made for the icons and the metadata go too; the shared ones stay.
    EXPECT_EQ(filesUnder(stage.path() + "/usr/local", QDir::Dirs),
              QStringList({"/bin", "/lib", "/share", "/share/applications"}));
}

TEST_F(Install, MenuEntryAndSoftwareCentreDataPassTheirValidators)
{
    ASSERT_EQ(install().exitCode, 0);
    const Result desktop =
        run("desktop-file-validate", {installed("/share/applications/korvel98.desktop")});
    EXPECT_EQ(desktop.exitCode, 0);
    EXPECT_EQ(desktop.out + desktop.err, "") << "hints and warnings count too";
    const Result metainfo =
        run("appstreamcli", {"validate", "--no-net",
                             installed("/share/metainfo/example.tembrel.korvel98.metainfo.xml")});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out.toStdString();
    // The tree check also finds the menu entry that the metadata names as the program to start.
    const Result tree = run("appstreamcli", {"validate-tree", "--no-net", installed("")});
    EXPECT_EQ(tree.exitCode, 0) << tree.out.toStdString();
}

// The smallest icon is drawn for its 16 pixels: whole pixels of solid colour or none, where the
// large drawing shrunk would be mostly blended edges.
TEST(Icon, SixteenPixelIconSitsOnThePixelGrid)
{
    const QImage icon(KORVEL_BUILD_DIR "/packaging/icons/16x16/korvel98.png");
    ASSERT_EQ(icon.size(), QSize(16, 16));
    int blended = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            blended += icon.pixelColor(x, y).alpha() % 255 != 0;
    EXPECT_EQ(blended, 0);
}

namespace {

// The options a program's --help lists, long forms.
QStringList helpOptions(const QString &program)
{
    static const QRegularExpression option(R"(^  (-\w, )?(--[\w-]+))");
    QStringList options;
    for (const QString &line : QString::fromUtf8(run(program, {"--help"}).out).split('\n'))
        if (const QRegularExpressionMatch m = option.match(line); m.hasMatch())
            options << m.captured(2);
    return options;
}

} // namespace

TEST_F(Install, ManualPagesRenderWithoutWarningsAndDescribeEveryOption)
{
    ASSERT_EQ(install().exitCode, 0);
    QProcessEnvironment man = env;
    man.insert("MANPAGER", "cat");
    man.insert("MANWIDTH", "200"); // no option name broken across lines
    man.insert("LC_ALL", "C.UTF-8");
    for (const auto &[page, program] :
         {std::pair{"korvel98", KORVEL_PROGRAM}, std::pair{"korvel98-scan", KORVEL_SCAN_TOOL}}) {
        SCOPED_TRACE(page);
        // --warnings=w: every warning groff knows.
        const Result shown = run(
            "man", {"--warnings=w", "-l", installed(QString("/share/man/man1/%1.1.gz").arg(page))},
            man);
        EXPECT_EQ(shown.exitCode, 0);
        EXPECT_EQ(shown.err, "");
        const QString text = QString::fromUtf8(shown.out);
        for (const char *section : {"OPTIONS", "FILES", "ENVIRONMENT", "EXIT STATUS", "EXAMPLES"})
            EXPECT_TRUE(text.contains(QString("\n%1\n").arg(section))) << section;
        const QStringList options = helpOptions(program);
        EXPECT_GE(options.size(), 2);
        for (const QString &option : options)
            EXPECT_TRUE(text.contains(option)) << option.toStdString() << " is not described";
    }
}

TEST(Package, NamesItsDependenciesHoldsTheInstalledFilesUnderUsrAndPassesLintian)
{
    QTemporaryDir out;
    const Result packed =
        run(KORVEL_CPACK,
            {"-G", "DEB", "--config", KORVEL_BUILD_DIR "/CPackConfig.cmake", "-B", out.path()});
    ASSERT_EQ(packed.exitCode, 0) << packed.out.toStdString() << packed.err.toStdString();
    const QStringList debs = QDir(out.path()).entryList({"korvel98_*.deb"}, QDir::Files);
    ASSERT_EQ(debs.size(), 1);
    const QString deb = out.filePath(debs[0]);

    const QString depends =
        QString::fromUtf8(run("dpkg-deb", {"-f", deb, "Depends"}).out).simplified();
    for (const char *package :
         {"libqt6core6 (", "libqt6gui6 (", "libqt6widgets6 (", "libqt6printsupport6 (", "libc6 (",
          "libstdc++6 (", "qt6-qpa-plugins", "qt6-wayland", "shared-mime-info", "fonts-liberation2",
          "libqt6sql6-sqlite"})
        EXPECT_TRUE(depends.contains(package))
            << package << " missing in: " << depends.toStdString();

    QStringList files;
    QString program;
    for (const QString &line : QString::fromUtf8(run("dpkg-deb", {"-c", deb}).out).split('\n')) {
        const QString path = line.section(' ', -1).mid(1); // "./usr/bin/x" -> "/usr/bin/x"
        if (!line.isEmpty() && !path.endsWith('/'))
            files << path;
        if (path == "/usr/bin/korvel98")
            program = line.section(' ', 0, 1);
    }
    files.sort();
    QStringList expected = expectedFiles("/usr") << "/usr/share/lintian/overrides/korvel98";
    expected.sort();
    EXPECT_EQ(files, expected);
    EXPECT_EQ(program, "-rwxr-xr-x root/root");

    // No error and no warning, nor any of the hardening findings, which lintian only notes.
    const Result lint = run("lintian", {"--display-info", deb});
    QStringList findings;
    for (const QString &line : QString::fromUtf8(lint.out).split('\n'))
        if (line.startsWith("E:") || line.startsWith("W:") || line.contains("hardening-"))
            findings << line;
    EXPECT_EQ(findings, QStringList()) << lint.err.toStdString();
    EXPECT_EQ(lint.exitCode, 0) << lint.err.toStdString();
}

TEST(CommandLine, HelpVersionMistakesAndMissingDisplaysAnswerInTheProgramsOwnWords)
{
    QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        noDisplay.remove(name);
    struct Case
    {
        QString program;
        QStringList args;
        int exitCode;
        QByteArray outStart; // empty: nothing on standard output
        int errLines;
        QStringList env = {};  // NAME=value, added
        bool fullDisk = false; // standard output goes to /dev/full
    };
    const QByteArray version = "Korvel 98 " KORVEL_VERSION "\n";
    const Case cases[] = {
        {KORVEL_PROGRAM,
         {"--help"},
         0,
         "Usage: korvel98 [--help | --version | --trends | FILE]\n",
         0},
        {KORVEL_PROGRAM, {"-v"}, 0, version, 0},
        {KORVEL_PROGRAM, {"--version"}, 0, version, 0},
        // Qt's own options (a session manager's restart, a style) are no mistake of the user's.
        {KORVEL_PROGRAM, {"-session", "1234", "--version"}, 0, version, 0},
        {KORVEL_PROGRAM, {"-style=fusion", "-reverse", "-v"}, 0, version, 0},
        {KORVEL_PROGRAM, {"-style"}, 2, "", 1}, // its value is missing
        {KORVEL_PROGRAM, {"--colour", "--help"}, 2, "", 1},
        // One file is a collection to show, which needs a display; a second is a mistake.
        {KORVEL_PROGRAM, {"run.korvel98.json"}, 1, "", 1},
        {KORVEL_PROGRAM, {"a.korvel98.json", "b.korvel98.json"}, 2, "", 1},
        {KORVEL_PROGRAM, {}, 1, "", 1}, // the window itself does need a display
        {KORVEL_PROGRAM, {"-platformtheme", "gtk3"}, 1, "", 1}, // a theme is no display
        {KORVEL_SCAN_TOOL, {"--help"}, 0, "Usage: korvel98-scan [--include EXTS", 0},
        {KORVEL_SCAN_TOOL, {"--version"}, 0, version, 0},
        // A display that cannot be reached is the program's own one-line message, not Qt's
        // abort.
        {KORVEL_PROGRAM, {}, 1, "", 1, {"DISPLAY=:77"}},
        {KORVEL_PROGRAM, {}, 1, "", 1, {"WAYLAND_DISPLAY=nowhere", "XDG_RUNTIME_DIR=/tmp"}},
        // Help or version that cannot be written is a failure, said as such.
        {KORVEL_PROGRAM, {"--help"}, 1, "", 1, {}, true},
        {KORVEL_PROGRAM, {"-v"}, 1, "", 1, {}, true},
        {KORVEL_SCAN_TOOL, {"-h"}, 1, "", 1, {}, true},
        {KORVEL_SCAN_TOOL, {"--version"}, 1, "", 1, {}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE((c.env.join(' ') + ' ' + c.args.join(' ') + (c.fullDisk ? " >/dev/full" : ""))
                         .toStdString());
        QProcessEnvironment env = noDisplay;
        for (const QString &setting : c.env)
            env.insert(setting.section('=', 0, 0), setting.section('=', 1));
        const Result result = run(c.program, c.args, env, c.fullDisk ? "/dev/full" : "");
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_TRUE(c.outStart.isEmpty() ? result.out.isEmpty() : result.out.startsWith(c.outStart))
            << result.out.toStdString();
        EXPECT_EQ(result.err.count('\n'), c.errLines) << result.err.toStdString();
        EXPECT_EQ(result.err.isEmpty(), c.errLines == 0);
        EXPECT_TRUE(result.err.isEmpty() ||
                    result.err.startsWith(QFileInfo(c.program).fileName().toUtf8() + ": "))
            << result.err.toStdString();
    }
}
