#include "model/History.h"

#include "model/QuickFacts.h"
#include "platform/FileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString suffix = QStringLiteral(".korvel98.json");

// The start time, the drive letters, and a number when a name was taken already.
const QRegularExpression historyName(QStringLiteral(
    "^\\d{4}-\\d\\d-\\d\\dT\\d\\d-\\d\\d-\\d\\d(_[c-z])*(_\\d+)?\\.korvel98\\.json$"));

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

platform::Outcome<QString> keepInHistory(const Collection &collection, const QString &folder)
{
    using Saved = platform::Outcome<QString>;
    if (!QDir().mkpath(folder))
        return Saved::failure(QStringLiteral("Cannot make the history folder %1.").arg(folder));
    const QByteArray bytes = collectionJson(collection);
    if (const CollectionRead check = parseCollection(bytes); !check)
        return Saved::failure(QStringLiteral("Cannot save the collection in %1: %2.")
                                  .arg(QDir(folder).absolutePath(), check.message));
    // The name is taken by a link to the written file, which fails when another run of the same
    // second got there first: then the next number, and no run replaces another.
    const QString name = historyFileName(collection.facts).chopped(suffix.size());
    const Saved written = platform::writeNewFile(
        QDir(folder).absolutePath(),
        [&name](int n) {
            return n == 1 ? name + suffix : name + QStringLiteral("_%1").arg(n) + suffix;
        },
        [&bytes](QIODevice &file) { return file.write(bytes) == bytes.size(); });
    if (!written)
        return Saved::failure(QStringLiteral("Cannot save the collection in %1: %2.")
                                  .arg(QDir(folder).absolutePath(), written.message()));
    const QString &path = *written;
    // One left behind goes with the next run.
    pruneHistory(folder,
                 collection.facts.started.isValid() ? collection.facts.started
                                                    : QDateTime::currentDateTime(),
                 path);
    return path;
}

namespace {

// Whether a history name is one a run could have been saved under: a start time that exists on
// the calendar and the clock, and at least one drive. "0000-00-00T00-00-00_c" or a name without
// drives is someone else's file, however much it looks like ours.
bool writableHistoryName(const QString &fileName)
{
    return QDate::fromString(fileName.left(10), QStringLiteral("yyyy-MM-dd")).isValid() &&
           QTime::fromString(fileName.mid(11, 8), QStringLiteral("HH-mm-ss")).isValid() &&
           fileName.size() > 21 && fileName.at(19) == u'_' && fileName.at(20).isLower();
}

// The run a history file holds, when it is a regular file (not a link) with a name a run is
// saved under, whose bytes are a collection of this program: the name alone never decides what
// may be removed.
std::optional<HistoryRun> historyRunOf(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || !writableHistoryName(info.fileName()))
        return std::nullopt;
    // The quick look reads only what tells the facts, so thinning a long history stays cheap.
    const std::optional<RunFacts> facts = quickRunFacts(path);
    if (!facts || !facts->started.isValid())
        return std::nullopt;
    HistoryRun run{facts->started, QString()};
    for (const DriveFacts &drive : facts->drives)
        run.drives += drive.letter;
    return run;
}

} // namespace

std::vector<PruneEntry> historyPrunePlan(const QString &folder, const QDateTime &now,
                                         const QString &spared)
{
    std::vector<PruneEntry> entries;
    for (const QString &path : historyFiles(folder))
        if (const auto run = historyRunOf(path))
            entries.push_back({path, *run, {}});
    std::vector<HistoryRun> runs;
    for (const PruneEntry &entry : entries)
        runs.push_back(entry.run);
    const std::vector<ThinningVerdict> verdicts = thinHistory(runs, now);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].verdict = verdicts[i];
        if (!spared.isEmpty() && QFileInfo(entries[i].path) == QFileInfo(spared))
            entries[i].verdict = {true, QStringLiteral("just written")};
    }
    return entries;
}

int pruneHistory(const QString &folder, const QDateTime &now, const QString &spared)
{
    int removed = 0;
    for (const PruneEntry &entry : historyPrunePlan(folder, now, spared))
        if (!entry.verdict.keep && QFile::remove(entry.path))
            ++removed;
    return removed;
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
    const QStringList files = historyFiles(folder);
    for (auto file = files.crbegin(); file != files.crend(); ++file) {
        const std::optional<RunFacts> facts = quickRunFacts(*file);
        if (!facts || !facts->complete)
            continue;
        for (const DriveFacts &then : facts->drives)
            if (then.walked && then.entriesMet > 0 && then.mountPoint == now.mountPoint &&
                then.fileSystem == now.fileSystem)
                return scaledEntries(then, now);
    }
    return 0;
}
