#include "platform/Volume.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace platform {

namespace {

constexpr char probeModeSwitch[] = "--korvel98-probe-volume";

VolumeFacts probePath(const char *path)
{
    VolumeFacts facts;
    struct stat st
    {
    };
    struct statvfs vfs
    {
    };
    if (!*path || ::stat(path, &st) != 0 || !S_ISDIR(st.st_mode) || ::statvfs(path, &vfs) != 0)
        return facts;
    facts.answered = true;
    facts.device = std::uint64_t(st.st_dev);
    const std::uint64_t fragment = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    facts.totalBytes = std::uint64_t(vfs.f_blocks) * fragment;
    facts.freeBytes = std::uint64_t(vfs.f_bfree) * fragment;
    facts.clusterSize = std::uint64_t(vfs.f_bsize);
    if (vfs.f_files > vfs.f_ffree)
        facts.usedEntries = std::uint64_t(vfs.f_files - vfs.f_ffree);
    return facts;
}

// The probe mode: runs before main() and before the program's own set-up, so a probe costs no
// more than loading the program. The child dies with the program that started it, as soon as the
// kernel lets it, and does nothing if that program is already gone.
void runProbeMode(int argc, char **argv, char **)
{
    if (argc != 4 || std::strcmp(argv[1], probeModeSwitch) != 0)
        return;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != pid_t(std::atoll(argv[2])))
        ::_exit(1);
    const QByteArray line = volumeFactsLine(probePath(argv[3]));
    const bool written =
        ::write(STDOUT_FILENO, line.constData(), size_t(line.size())) == ssize_t(line.size());
    ::_exit(written ? 0 : 1);
}

// The C library calls what this section holds with the program's arguments, before main().
__attribute__((section(".init_array"), used)) void (*const probeModeEntry)(int, char **,
                                                                           char **) = runProbeMode;

} // namespace

VolumeFacts probeVolume(const QString &folder)
{
    return probePath(QFile::encodeName(folder).constData());
}

QByteArray volumeFactsLine(const VolumeFacts &facts)
{
    if (!facts.answered)
        return "0\n";
    char line[128];
    const int n = std::snprintf(
        line, sizeof line, "1 %llu %llu %llu %llu %llu\n", (unsigned long long)facts.device,
        (unsigned long long)facts.totalBytes, (unsigned long long)facts.freeBytes,
        (unsigned long long)facts.clusterSize, (unsigned long long)facts.usedEntries);
    return QByteArray(line, n);
}

VolumeFacts parseVolumeFactsLine(const QByteArray &line)
{
    const QList<QByteArray> fields = line.trimmed().split(' ');
    VolumeFacts facts;
    if (fields.size() != 6 || fields[0] != "1")
        return facts;
    bool ok = true;
    const auto number = [&](qsizetype i) {
        bool read = false;
        const std::uint64_t value = fields[i].toULongLong(&read);
        ok = ok && read;
        return value;
    };
    facts.device = number(1);
    facts.totalBytes = number(2);
    facts.freeBytes = number(3);
    facts.clusterSize = number(4);
    facts.usedEntries = number(5);
    facts.answered = ok;
    return ok ? facts : VolumeFacts();
}

ProbeCommand ownProbeCommand()
{
    // /proc/self/exe names the program that runs, even when its file was replaced meanwhile.
    return {QStringLiteral("/proc/self/exe"),
            {QStringLiteral("korvel98-probe"), QString::fromLatin1(probeModeSwitch),
             QString::number(::getpid())}};
}

ProbeChild::ProbeChild(const ProbeCommand &command, const QString &folder)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return;
    std::vector<QByteArray> words;
    for (const QString &argument : command.arguments)
        words.push_back(QFile::encodeName(argument));
    words.push_back(QFile::encodeName(folder));
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const QByteArray program = QFile::encodeName(command.program);

    // The child sees nothing of the program but its answer pipe: a child that hangs must not hold
    // the terminal's or a caller's pipe open after the program has ended.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&files, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    if (::posix_spawn(&pid, program.constData(), &files, &attributes, argv.data(), environ) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    ::close(ends[1]);
    if (pid > 0)
        pipe = ends[0];
    else
        ::close(ends[0]);
}

ProbeChild::~ProbeChild()
{
    if (pipe >= 0)
        ::close(pipe);
    if (pid > 0) {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

void ProbeChild::readSome()
{
    char buffer[256];
    const ssize_t n = ::read(pipe, buffer, sizeof buffer);
    if (n > 0)
        said.append(buffer, n);
    else if (n == 0 || errno != EINTR)
        closed = true;
}

bool ProbeChild::finishesBy(std::chrono::steady_clock::time_point deadline)
{
    using namespace std::chrono;
    while (pipe >= 0 && !closed) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0)
            return false;
        pollfd watched{pipe, POLLIN, 0};
        const int ready = ::poll(&watched, 1, int(std::min<long long>(left, 60'000)) + 1);
        if (ready > 0)
            readSome();
        else if (ready < 0 && errno != EINTR)
            closed = true;
    }
    return true;
}

VolumeFacts ProbeChild::answer()
{
    while (pipe >= 0 && !closed)
        readSome();
    return parseVolumeFactsLine(said);
}

} // namespace platform
