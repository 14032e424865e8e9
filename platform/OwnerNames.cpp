#include "platform/OwnerNames.h"

#include <QHash>
#include <QMutex>
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <type_traits>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

// Asks lookUp with a buffer that grows while the database says it is too small.
template <typename Entry, typename LookUp> QString askDatabase(LookUp lookUp)
{
    std::vector<char> buffer(1024);
    for (;;) {
        Entry entry{};
        Entry *found = nullptr;
        const int error = lookUp(&entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 4);
            continue;
        }
        if (error != 0 || !found)
            return QString();
        if constexpr (std::is_same_v<Entry, passwd>)
            return QString::fromLocal8Bit(found->pw_name);
        else
            return QString::fromLocal8Bit(found->gr_name);
    }
}

class NameCache
{
public:
    template <typename Ask> QString nameOf(std::uint32_t id, Ask ask)
    {
        {
            QMutexLocker lock(&mutex);
            if (const auto it = names.constFind(id); it != names.constEnd())
                return *it;
        }
        // Asked unlocked: a network name service may take its time.
        const QString name = ask(id);
        QMutexLocker lock(&mutex);
        names.insert(id, name);
        return name;
    }

private:
    QMutex mutex;
    QHash<std::uint32_t, QString> names;
};

} // namespace

QString userName(std::uint32_t id)
{
    static NameCache cache;
    return cache.nameOf(id, [](std::uint32_t uid) {
        return askDatabase<passwd>(
            [uid](passwd *entry, char *buffer, std::size_t size, passwd **found) {
                return ::getpwuid_r(uid_t(uid), entry, buffer, size, found);
            });
    });
}

QString groupName(std::uint32_t id)
{
    static NameCache cache;
    return cache.nameOf(id, [](std::uint32_t gid) {
        return askDatabase<group>(
            [gid](group *entry, char *buffer, std::size_t size, group **found) {
                return ::getgrgid_r(gid_t(gid), entry, buffer, size, found);
            });
    });
}

} // namespace platform
