// The set-up script behind `make run` and `make test`, run against stand-ins for dpkg-query, id,
// sudo and apt-get, so that nothing is installed and the answers of the package system are ours.

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class InstallDeps : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(bin()));
        // The script sees only these programs: no sudo unless a test adds one.
        ASSERT_TRUE(QFile::link("/bin/bash", bin() + "/bash"));
        ASSERT_TRUE(QFile::link("/usr/bin/env", bin() + "/env"));
        // dpkg-query -W -f='${Status}' PACKAGE: installed when listed in the file "installed".
        addProgram("dpkg-query", R"sh(pkg="${@: -1}"
while read -r line; do
  [[ "$line" == "$pkg" ]] && { printf 'install ok installed'; exit 0; }
done < "$FAKE_ROOT/installed"
exit 1)sh");
        addProgram("id", R"sh(echo "$FAKE_UID")sh");
        // apt-get logs its call and whether it may ask questions; "install" lists what it got as
        // installed unless told to fail.
        addProgram("apt-get",
                   R"sh(echo "apt-get $* (${DEBIAN_FRONTEND:-interactive})" >> "$FAKE_ROOT/log"
[[ -n "${FAKE_APT_FAIL:-}" ]] && exit 100
if [[ "$1" == install ]]; then
  for p in "$@"; do [[ "$p" == install || "$p" == -* ]] || echo "$p" >> "$FAKE_ROOT/installed"; done
fi
exit 0)sh");
        setInstalled({});
    }

    QString bin() const { return temp.filePath("bin"); }

    void addProgram(const QString &name, const QByteArray &body)
    {
        QFile file(bin() + '/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/bash\n" + body + "\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Like the real one, the stand-in sudo runs the command in a cleared environment.
    void addSudo()
    {
        addProgram("sudo", R"sh(echo "sudo $*" >> "$FAKE_ROOT/log"
exec env -i PATH="$PATH" FAKE_ROOT="$FAKE_ROOT" "$@")sh");
    }

    void setInstalled(const QStringList &packages)
    {
        QFile file(temp.filePath("installed"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (const QString &p : packages)
            file.write(p.toUtf8() + '\n');
    }
    QStringList installed() const { return lines("installed"); }
    QStringList log() const { return lines("log"); }
    QStringList lines(const QString &name) const
    {
        return QString::fromUtf8(korvel::test::fileBytes(temp.filePath(name)))
            .split('\n', Qt::SkipEmptyParts);
    }

    // Runs the script as the given user id; the exit code, or -1 when it did not end normally.
    int run(int uid, const QStringList &extra = {}, bool aptFails = false)
    {
        QProcess process;
        QProcessEnvironment env;
        env.insert("PATH", bin());
        env.insert("FAKE_ROOT", temp.path());
        env.insert("FAKE_UID", QString::number(uid));
        if (aptFails)
            env.insert("FAKE_APT_FAIL", "1");
        process.setProcessEnvironment(env);
        process.start("/bin/bash",
                      QStringList{QStringLiteral(KORVEL_SOURCE_DIR "/tools/install-deps.sh")} +
                          extra);
        process.waitForFinished(60000);
        output = process.readAllStandardOutput() + process.readAllStandardError();
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QTemporaryDir temp;
    QByteArray output;
};

} // namespace

TEST_F(InstallDeps, AFreshMachineGetsEveryPackageOnceAndASecondRunInstallsNothing)
{
    ASSERT_EQ(run(0), 0) << output.toStdString();
    const QStringList calls = log();
    ASSERT_EQ(calls.size(), 2) << output.toStdString();
    EXPECT_TRUE(calls[0].startsWith("apt-get update"));
    EXPECT_TRUE(calls[1].startsWith("apt-get install"));
    for (const char *needed : {"qt6-base-dev", "libgtest-dev", "shared-mime-info",
                               "fonts-liberation2", "cmake", "ninja-build", "g++"})
        EXPECT_TRUE(installed().contains(needed)) << needed;

    // Everything is there now: no update, no install, success.
    ASSERT_EQ(run(0), 0);
    EXPECT_EQ(log(), calls);
}

TEST_F(InstallDeps, OnlyTheMissingPackagesAreAskedFor)
{
    ASSERT_EQ(run(0), 0);
    QStringList all = installed();
    all.removeAll("libgtest-dev");
    all.removeAll("fonts-liberation2");
    setInstalled(all);
    QFile::remove(temp.filePath("log"));

    ASSERT_EQ(run(0, {"hyperfine"}), 0);
    EXPECT_EQ(log(), QStringList({"apt-get update -qq (noninteractive)",
                                  "apt-get install -y -qq --no-install-recommends libgtest-dev "
                                  "fonts-liberation2 hyperfine (noninteractive)"}));
}

TEST_F(InstallDeps, AUserOtherThanRootGoesThroughSudoOrStops)
{
    // Without sudo nothing can be installed: the script says so and fails.
    EXPECT_NE(run(1000), 0);
    EXPECT_TRUE(output.contains("sudo")) << output.toStdString();
    EXPECT_TRUE(log().isEmpty());

    addSudo();
    ASSERT_EQ(run(1000), 0) << output.toStdString();
    // sudo clears the environment, yet apt-get still never asks.
    const QStringList calls = log();
    ASSERT_EQ(calls.size(), 4);
    EXPECT_TRUE(calls[0].startsWith("sudo ")) << calls[0].toStdString();
    EXPECT_TRUE(calls[1].startsWith("apt-get update") && calls[1].endsWith("(noninteractive)"));
    EXPECT_TRUE(calls[2].startsWith("sudo ")) << calls[2].toStdString();
    EXPECT_TRUE(calls[3].startsWith("apt-get install") && calls[3].endsWith("(noninteractive)"));
}

TEST_F(InstallDeps, AFailedInstallFailsTheScript)
{
    EXPECT_NE(run(0, {}, true), 0);
    EXPECT_EQ(log().size(), 1); // the update failed; nothing was installed
}
