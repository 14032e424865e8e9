#include "model/TrendIndex.h"

#include "model/History.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <algorithm>
#include <atomic>
#include <map>
#include <optional>
#include <thread>

namespace {

// Bounds on what a stored summary may claim, so a damaged row cannot ask for the memory of the
// machine.
constexpr quint32 rowLimit = 4'000'000;

// A stored summary unpacked; nothing when it claims more than a summary can hold, so that a
// damaged or forged index cannot make the program ask for gigabytes.
std::optional<QByteArray> unpacked(const QByteArray &stored)
{
    constexpr quint32 unpackedLimit = 256 * 1024 * 1024;
    if (stored.size() < 4)
        return std::nullopt;
    const auto *size = reinterpret_cast<const uchar *>(stored.constData());
    const quint32 claimed =
        quint32(size[0]) << 24 | quint32(size[1]) << 16 | quint32(size[2]) << 8 | quint32(size[3]);
    if (claimed > unpackedLimit)
        return std::nullopt;
    QByteArray bytes = qUncompress(stored);
    if (bytes.isEmpty())
        return std::nullopt;
    return bytes;
}

QByteArray encodePoint(const TrendPoint &point)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << point.fileName << point.host << point.started << quint32(point.drives.size());
    for (const TrendDrive &d : point.drives)
        out << d.letter << d.mountPoint << quint64(d.capacity) << quint64(d.freeBytes)
            << qint64(d.files) << quint64(d.bytes) << d.accessDates;
    out << quint32(point.types.size());
    for (const TrendType &t : point.types)
        out << t.extension << qint64(t.files) << quint64(t.bytes);
    for (double v : point.sizeBytes)
        out << v;
    for (const auto *ages :
         {&point.ageModifiedBytes, &point.ageAccessedBytes, &point.ageCreatedBytes})
        for (double v : *ages)
            out << v;
    return qCompress(bytes);
}

QByteArray encodeFolders(const std::vector<TrendFolder> &folders)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << quint32(folders.size());
    for (const TrendFolder &f : folders)
        out << f.letter << f.path << qint64(f.files) << quint64(f.bytes);
    // The quickest packing: the folders are most of a rebuild's writing, and are read back only
    // two collections at a time.
    return qCompress(bytes, 1);
}

std::optional<std::vector<TrendFolder>> decodeFolders(const QByteArray &stored)
{
    const auto bytes = unpacked(stored);
    if (!bytes)
        return std::nullopt;
    QDataStream in(*bytes);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 count = 0;
    in >> count;
    if (in.status() != QDataStream::Ok || count > rowLimit || qint64(count) > bytes->size())
        return std::nullopt;
    std::vector<TrendFolder> folders(count);
    for (TrendFolder &f : folders) {
        qint64 files = 0;
        quint64 bytes = 0;
        in >> f.letter >> f.path >> files >> bytes;
        f.files = files;
        f.bytes = bytes;
    }
    if (in.status() != QDataStream::Ok || !in.atEnd())
        return std::nullopt;
    return folders;
}

std::optional<TrendPoint> decodePoint(const QByteArray &stored)
{
    const auto bytes = unpacked(stored);
    if (!bytes)
        return std::nullopt;
    QDataStream in(*bytes);
    in.setVersion(QDataStream::Qt_6_4);
    TrendPoint point;
    quint32 count = 0;
    auto counted = [&] {
        in >> count;
        // Every row takes some bytes: no more rows than bytes are left.
        return in.status() == QDataStream::Ok && count <= rowLimit &&
               qint64(count) <= bytes->size() - in.device()->pos();
    };
    in >> point.fileName >> point.host >> point.started;
    if (!counted())
        return std::nullopt;
    point.drives.resize(count);
    for (TrendDrive &d : point.drives) {
        quint64 capacity = 0, freeBytes = 0, bytes = 0;
        qint64 files = 0;
        in >> d.letter >> d.mountPoint >> capacity >> freeBytes >> files >> bytes >> d.accessDates;
        d = {d.letter, d.mountPoint, capacity, freeBytes, files, bytes, d.accessDates};
    }
    if (!counted())
        return std::nullopt;
    point.types.resize(count);
    for (TrendType &t : point.types) {
        qint64 files = 0;
        quint64 bytes = 0;
        in >> t.extension >> files >> bytes;
        t.files = files;
        t.bytes = bytes;
    }
    for (double &v : point.sizeBytes)
        in >> v;
    for (auto *ages : {&point.ageModifiedBytes, &point.ageAccessedBytes, &point.ageCreatedBytes})
        for (double &v : *ages)
            in >> v;
    if (in.status() != QDataStream::Ok || !in.atEnd() || !point.started.isValid())
        return std::nullopt;
    return point;
}

struct FileStamp
{
    qint64 size = 0;
    qint64 modified = 0; // milliseconds since the epoch
    bool operator==(const FileStamp &) const = default;
};

std::map<QString, FileStamp> stampsOf(const QString &folder)
{
    std::map<QString, FileStamp> stamps;
    for (const QString &path : historyFiles(folder)) {
        const QFileInfo info(path);
        stamps[info.fileName()] = {info.size(), info.lastModified().toMSecsSinceEpoch()};
    }
    return stamps;
}

// One connection to the index, closed and let go when it ends.
class Connection
{
public:
    explicit Connection(const QString &path)
        : name(QStringLiteral("trends-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Another program holding the index makes us read the files instead of waiting long.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=200"));
        opened = db.open();
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }
    bool isOpen() const { return opened; }
    // Runs one statement; false with the reason in error when it fails.
    bool exec(const QString &statement)
    {
        QSqlQuery query(db());
        if (query.exec(statement))
            return true;
        error = query.lastError().text();
        return false;
    }
    QString error;

private:
    QString name;
    bool opened = false;
};

enum class IndexState
{
    Usable,
    Damaged, // made again from the files
    Unusable // read the files instead
};

// Whether the index is whole and of this layout; a new, empty file is given the layout.
IndexState checkIndex(Connection &index)
{
    QSqlQuery query(index.db());
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return query.lastError().text().contains(QStringLiteral("locked"), Qt::CaseInsensitive)
                   ? IndexState::Unusable
                   : IndexState::Damaged;
    if (!query.next() || query.value(0).toString() != QStringLiteral("ok"))
        return IndexState::Damaged;
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return IndexState::Damaged;
    const int version = query.value(0).toInt();
    if (version == trendIndexVersion)
        return IndexState::Usable;
    if (version != 0 || !index.db().tables().isEmpty())
        return IndexState::Damaged;
    return index.exec(QStringLiteral("CREATE TABLE runs (file TEXT PRIMARY KEY, size INTEGER, "
                                     "modified INTEGER, point BLOB, folders BLOB)")) &&
                   index.exec(QStringLiteral("PRAGMA user_version = %1").arg(trendIndexVersion))
               ? IndexState::Usable
               : IndexState::Unusable;
}

// A collection file's stored summary and folders; both null for a file that is no collection.
struct Summary
{
    QVariant point = QVariant(QMetaType(QMetaType::QByteArray));
    QVariant folders = QVariant(QMetaType(QMetaType::QByteArray));
};

// Reading and packing the files is most of the work of a rebuild: the files are shared out among
// the processor's cores, each reading its own.
std::vector<Summary> summariesOf(const QString &folder,
                                 const std::vector<std::pair<QString, FileStamp>> &files)
{
    std::vector<Summary> summaries(files.size());
    const std::size_t workers = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::atomic<std::size_t> next = 0;
    auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++) {
            const CollectionRead read = readCollectionFile(QDir(folder).filePath(files[i].first));
            if (read)
                summaries[i] = {encodePoint(trendPointOf(*read.collection, files[i].first)),
                                encodeFolders(trendFoldersOf(*read.collection))};
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t t = 1; t < std::min(workers, files.size()); ++t)
        threads.emplace_back(work);
    work();
    for (std::thread &thread : threads)
        thread.join();
    return summaries;
}

// Brings the rows in line with the files: rows of files gone or changed go, files new or changed
// are read. A file that is no collection keeps a row without a summary, so it is read once.
bool updateIndex(Connection &index, const QString &folder, bool &changed)
{
    if (!index.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    std::map<QString, FileStamp> stamps = stampsOf(folder);
    // The quick check passes over the lookup by file name, which a damaged file may have wrong:
    // rows are told by their rowid, and every lookup reads the table itself (NOT INDEXED). A
    // second row of one file is stale too.
    QSqlQuery rows(index.db());
    if (!rows.exec(QStringLiteral("SELECT rowid, file, size, modified FROM runs NOT INDEXED")))
        return false;
    QList<qint64> stale;
    while (rows.next()) {
        const auto at = stamps.find(rows.value(1).toString());
        if (at != stamps.end() &&
            at->second == FileStamp{rows.value(2).toLongLong(), rows.value(3).toLongLong()})
            stamps.erase(at); // indexed as it is
        else
            stale << rows.value(0).toLongLong();
    }
    QSqlQuery remove(index.db());
    remove.prepare(QStringLiteral("DELETE FROM runs WHERE rowid = ?"));
    for (const qint64 row : stale) {
        remove.addBindValue(row);
        if (!remove.exec())
            return false;
    }
    QSqlQuery insert(index.db());
    insert.prepare(QStringLiteral("INSERT INTO runs VALUES (?, ?, ?, ?, ?)"));
    const std::vector<std::pair<QString, FileStamp>> added(stamps.begin(), stamps.end());
    const std::vector<Summary> summaries = summariesOf(folder, added);
    for (std::size_t i = 0; i < added.size(); ++i) {
        insert.addBindValue(added[i].first);
        insert.addBindValue(added[i].second.size);
        insert.addBindValue(added[i].second.modified);
        insert.addBindValue(summaries[i].point);
        insert.addBindValue(summaries[i].folders);
        if (!insert.exec())
            return false;
    }
    changed = !stale.isEmpty() || !stamps.empty();
    return index.exec(QStringLiteral("COMMIT"));
}

std::optional<std::vector<TrendPoint>> loadIndex(Connection &index)
{
    QSqlQuery query(index.db());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT point FROM runs NOT INDEXED WHERE point IS NOT NULL")))
        return std::nullopt;
    std::vector<TrendPoint> points;
    while (query.next()) {
        auto point = decodePoint(query.value(0).toByteArray());
        if (!point)
            return std::nullopt;
        points.push_back(std::move(*point));
    }
    std::stable_sort(points.begin(), points.end(), [](const TrendPoint &a, const TrendPoint &b) {
        return a.started < b.started;
    });
    return points;
}

enum class Outcome
{
    Read,
    Damaged,
    Unusable
};

Outcome readIndex(const QString &path, const QString &folder, TrendRead &result, QString &why)
{
    Connection index(path);
    if (!index.isOpen())
        return Outcome::Unusable;
    switch (checkIndex(index)) {
    case IndexState::Damaged:
        return Outcome::Damaged;
    case IndexState::Unusable:
        why = index.error;
        return Outcome::Unusable;
    case IndexState::Usable:
        break;
    }
    bool changed = false;
    if (!updateIndex(index, folder, changed)) {
        why = index.error;
        index.exec(QStringLiteral("ROLLBACK"));
        return Outcome::Unusable;
    }
    auto points = loadIndex(index);
    if (!points)
        return Outcome::Damaged;
    result.points = std::move(*points);
    return Outcome::Read;
}

std::optional<std::vector<TrendFolder>> foldersFromIndex(const QString &path,
                                                         const QString &fileName)
{
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile())
        return std::nullopt;
    Connection index(path);
    QSqlQuery query(index.db());
    query.prepare(QStringLiteral("SELECT folders FROM runs NOT INDEXED WHERE file = ?"));
    query.addBindValue(fileName);
    if (!index.isOpen() || !query.exec() || !query.next())
        return std::nullopt;
    return decodeFolders(query.value(0).toByteArray());
}

} // namespace

std::vector<TrendFolder> readTrendFolders(const QString &folder, const QString &fileName)
{
    const QString path = QDir(folder).filePath(QString::fromLatin1(trendIndexName));
    if (auto folders = foldersFromIndex(path, fileName))
        return *folders;
    const CollectionRead read = readCollectionFile(QDir(folder).filePath(fileName));
    return read ? trendFoldersOf(*read.collection) : std::vector<TrendFolder>();
}

TrendRead readTrends(const QString &folder)
{
    TrendRead result;
    const QString path = QDir(folder).filePath(QString::fromLatin1(trendIndexName));
    QString why;
    Outcome outcome = Outcome::Unusable;
    const QFileInfo info(path);
    // The index is never followed through a link, nor taken from anything but a plain file.
    if (QDir(folder).exists() && !info.isSymLink() && (!info.exists() || info.isFile())) {
        result.rebuilt = !info.exists();
        outcome = readIndex(path, folder, result, why);
        if (outcome == Outcome::Damaged && QFile::remove(path)) {
            result.rebuilt = true;
            outcome = readIndex(path, folder, result, why);
        }
    }
    if (outcome == Outcome::Read)
        return result;
    result.rebuilt = false;
    result.points = readTrendPoints(folder);
    if (QDir(folder).exists())
        result.message = QStringLiteral("The trend index %1 cannot be used%2; the trends are read "
                                        "from the collection files.")
                             .arg(QDir::toNativeSeparators(path),
                                  why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why));
    return result;
}
