#include "model/History.h"

#include "platform/FileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>

namespace {

const QString suffix = QStringLiteral(".korvel98.json");

// The start time, the drive letters, and a number when a name was taken already.
const QRegularExpression historyName(QStringLiteral(
    "^\\d{4}-\\d\\d-\\d\\dT\\d\\d-\\d\\d-\\d\\d(_[c-z])+(_\\d+)?\\.korvel98\\.json$"));

const QByteArray collectionStart = QByteArrayLiteral("{\"format\":\"") + collectionFormat + '"';

// The start time a history name carries; invalid for a name no run could have (month 13).
QDateTime historyDate(const QString &name)
{
    if (!historyName.match(name).hasMatch())
        return QDateTime();
    return QDateTime::fromString(name.left(19), QStringLiteral("yyyy-MM-ddTHH-mm-ss"));
}

} // namespace

QString collectionsFolder()
{
    // A relative path is not a base folder: the variable then counts as unset.
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/korvel98/collections"));
}

QString historyFileName(const RunFacts &facts)
{
    const QDateTime started =
        facts.started.isValid() ? facts.started.toLocalTime() : QDateTime::currentDateTime();
    QString name = started.toString(QStringLiteral("yyyy-MM-ddTHH-mm-ss"));
    for (const DriveFacts &drive : facts.drives)
        name += u'_' + drive.letter.toLower();
    return name + suffix;
}

QStringList historyFiles(const QString &folder)
{
    QStringList names = QDir(folder).entryList({u'*' + suffix}, QDir::Files, QDir::Name);
    names.removeIf([](const QString &name) { return !historyName.match(name).hasMatch(); });
    for (QString &name : names)
        name = QDir(folder).filePath(name);
    return names;
}

bool removableFromHistory(const QString &path, const QString &keptRun)
{
    const QFileInfo file(path);
    // A link is never followed, so that pruning removes nothing outside the folder.
    if (file.isSymLink() || !file.isFile() || file.absoluteFilePath() == keptRun)
        return false;
    if (!historyDate(file.fileName()).isValid())
        return false;
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    // The first bytes the writer puts in every collection: anything else is not the program's.
    return in.read(collectionStart.size()) == collectionStart;
}

QStringList historyToDrop(const QStringList &files, int keep)
{
    return files.mid(0, std::max<qsizetype>(0, files.size() - keep));
}

QString keepInHistory(const Collection &collection, const QString &folder, QString &message,
                      int keep)
{
    if (!QDir().mkpath(folder)) {
        message = QStringLiteral("Cannot make the history folder %1.").arg(folder);
        return QString();
    }
    const QByteArray bytes = collectionJson(collection);
    if (const CollectionRead check = parseCollection(bytes); !check) {
        message = QStringLiteral("Cannot save the collection in %1: %2.")
                      .arg(QDir(folder).absolutePath(), check.message);
        return QString();
    }
    const QString name = historyFileName(collection.facts).chopped(suffix.size());
    QString why;
    const QString path = platform::writeNewFile(
        QDir(folder).absolutePath(),
        [&name](int n) {
            return n == 1 ? name + suffix : name + QStringLiteral("_%1").arg(n) + suffix;
        },
        [&bytes](QIODevice &file) { return file.write(bytes) == bytes.size(); }, why);
    if (path.isEmpty()) {
        message = QStringLiteral("Cannot save the collection in %1: %2.")
                      .arg(QDir(folder).absolutePath(), why);
        return QString();
    }
    QStringList files = historyFiles(folder);
    files.removeIf([&path](const QString &file) { return !removableFromHistory(file, path); });
    // The run just written counts among those kept, wherever its date sorts it.
    for (const QString &file : historyToDrop(files, keep - 1))
        QFile::remove(file); // one left behind goes with the next run
    return path;
}

std::uint64_t scaledEntries(const DriveFacts &then, const DriveFacts &now)
{
    auto scaled = [&](std::uint64_t before, std::uint64_t after) {
        const long double entries =
            static_cast<long double>(then.entriesMet) * after / static_cast<long double>(before);
        return std::max<std::uint64_t>(1, std::uint64_t(std::min<long double>(entries, 1e18L)));
    };
    if (then.usedEntries > 0 && now.usedEntries > 0)
        return scaled(then.usedEntries, now.usedEntries);
    if (then.usedBytes() > 0 && now.usedBytes() > 0)
        return scaled(then.usedBytes(), now.usedBytes());
    return then.entriesMet;
}

std::uint64_t expectedEntries(const QString &folder, const DriveFacts &now)
{
    if (folder.isEmpty() || now.mountPoint.isEmpty())
        return 0;
    // A file that does not hold the mount point and the mark of a complete run as the writer
    // spells them is not parsed: the history may be full of other drives and stopped runs.
    const QByteArray mountPoint =
        "\"mountPoint\":" +
        QJsonDocument(QJsonArray{now.mountPoint}).toJson(QJsonDocument::Compact).chopped(1).mid(1);
    const QByteArray complete = "\"complete\":true";
    const QStringList files = historyFiles(folder);
    for (auto file = files.crbegin(); file != files.crend(); ++file) {
        QFile in(*file);
        if (!in.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = in.read(collectionFileLimit + 1);
        if (!bytes.contains(mountPoint) || !bytes.contains(complete))
            continue;
        const auto facts = parseRunFacts(bytes);
        if (!facts || !facts->complete)
            continue;
        for (const DriveFacts &then : facts->drives)
            if (then.walked && then.entriesMet > 0 && then.mountPoint == now.mountPoint &&
                then.fileSystem == now.fileSystem)
                return scaledEntries(then, now);
    }
    return 0;
}
