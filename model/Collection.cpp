#include "model/Collection.h"

#include "helpers/NameText.h"
#include "model/JsonScan.h"
#include "platform/FileWriter.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <span>

// Every value the program keeps as a 64-bit integer is written as a string of decimal digits,
// because a JSON number read as a double keeps only 53 bits; every value it keeps as a double is
// written as a JSON number in the shortest form that reads back to the same double.

namespace {

// ---- The figures, named once for the writer, the reader and the comparison -----------------

template <std::size_t N> struct TableField
{
    const char *name;
    std::array<double, N> Accumulators::*table;
    std::size_t first; // the size tables leave their index 0 unused
};

constexpr TableField<13> sizeTables[] = {{"sizeFiles", &Accumulators::sizeFiles, 1},
                                         {"sizeBytes", &Accumulators::sizeBytes, 1}};
constexpr TableField<10> ageTables[] = {{"ageAccessedFiles", &Accumulators::ageAccessedFiles, 0},
                                        {"ageAccessedBytes", &Accumulators::ageAccessedBytes, 0},
                                        {"ageCreatedFiles", &Accumulators::ageCreatedFiles, 0},
                                        {"ageCreatedBytes", &Accumulators::ageCreatedBytes, 0},
                                        {"ageModifiedFiles", &Accumulators::ageModifiedFiles, 0},
                                        {"ageModifiedBytes", &Accumulators::ageModifiedBytes, 0}};
constexpr TableField<48> hourTables[] = {{"hourModified", &Accumulators::hourModified, 0},
                                         {"hourCreated", &Accumulators::hourCreated, 0},
                                         {"hourAccessed", &Accumulators::hourAccessed, 0}};

struct CountField
{
    const char *name;
    std::int64_t Accumulators::*count;
};
constexpr CountField counts[] = {{"filesProcessed", &Accumulators::filesProcessed},
                                 {"filesFound", &Accumulators::filesFound},
                                 {"nReadOnly", &Accumulators::nReadOnly},
                                 {"nHidden", &Accumulators::nHidden},
                                 {"nSystem", &Accumulators::nSystem},
                                 {"nArchive", &Accumulators::nArchive}};

// Counted by the run beside its figures, and kept since they were added: a file without them
// read 0.
constexpr CountField optionalCounts[] = {{"linkedNamesSkipped", &Accumulators::linkedNamesSkipped},
                                         {"foldersUnreadable", &Accumulators::foldersUnreadable}};

struct SumField
{
    const char *name;
    double Accumulators::*sum;
};
constexpr SumField sums[] = {
    {"szReadOnly", &Accumulators::szReadOnly},   {"szHidden", &Accumulators::szHidden},
    {"szSystem", &Accumulators::szSystem},       {"szArchive", &Accumulators::szArchive},
    {"overhang4K", &Accumulators::overhang4K},   {"overhang8K", &Accumulators::overhang8K},
    {"overhang16K", &Accumulators::overhang16K}, {"overhang32K", &Accumulators::overhang32K},
    {"overhang64K", &Accumulators::overhang64K}};

// Limits on what a file may hold beside the type rows.
constexpr qsizetype mountPointLimit = 4096; // the longest path the system takes
constexpr qsizetype shortTextLimit = 255;
constexpr qsizetype pickedRowLimit = 100'000;
constexpr qsizetype driveLimit = 24; // c: to z:
// A file name: the longest a file system allows, and as escaped text, with every byte written as
// a six-character escape such as "\u007F".
constexpr qsizetype nameByteLimit = 255;
constexpr qsizetype nameTextLimit = 6 * nameByteLimit;
// No limit but the file's own for what has none where it comes from: a folder's path is as long
// as the folders are deep (the walk enters one at a time, so past the 4,096 bytes the system
// takes in one call), and a picked type is a line of the settings file.
constexpr qsizetype unlimitedText = collectionFileLimit;
// No byte sum of a run comes near this; a larger figure is not a figure of a run.
constexpr double figureLimit = 18446744073709551616.0; // 2^64

// Bit for bit, so that a saved -0 or a sum's last bit counts as a difference.
template <std::size_t N>
bool sameTable(const std::array<double, N> &a, const std::array<double, N> &b)
{
    return std::memcmp(a.data(), b.data(), sizeof(double) * N) == 0;
}

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// ---- Writing ---------------------------------------------------------------------------------

QString whole(std::uint64_t value)
{
    return QString::number(value);
}

QString moment(const QDateTime &at)
{
    const int offset = at.offsetFromUtc();
    const QDateTime local = at.toOffsetFromUtc(offset);
    const int minutes = std::abs(offset) / 60;
    const bool wholeSecond = local.time().msec() == 0;
    return local.toString(wholeSecond ? QStringLiteral("yyyy-MM-ddTHH:mm:ss")
                                      : QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
           (offset < 0 ? u'-' : u'+') +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

template <std::size_t N> QJsonArray tableJson(const std::array<double, N> &table, std::size_t first)
{
    QJsonArray out;
    for (std::size_t i = first; i < N; ++i)
        out.append(table[i]);
    return out;
}

// How a drive updates access dates, by the name of its mount option; empty when unknown.
constexpr std::pair<platform::AccessTimes, const char *> accessDateOptions[] = {
    {platform::AccessTimes::Never, "noatime"},
    {platform::AccessTimes::Daily, "relatime"},
    {platform::AccessTimes::Always, "strictatime"}};

QJsonObject driveJson(const DriveFacts &drive)
{
    QJsonObject out{
        {"letter", QString(drive.letter)},         {"walked", drive.walked},
        {"mountPoint", drive.mountPoint},          {"fileSystem", drive.fileSystem},
        {"capacity", whole(drive.capacity)},       {"free", whole(drive.freeBytes)},
        {"used", whole(drive.usedBytes())},        {"clusterSize", whole(drive.clusterSize)},
        {"usedEntries", whole(drive.usedEntries)}, {"entriesMet", whole(drive.entriesMet)}};
    for (const auto &[way, option] : accessDateOptions)
        if (drive.accessTimes == way)
            out.insert("accessDates", option);
    if (drive.keepsCreationDates)
        out.insert("creationDates", *drive.keepsCreationDates);
    return out;
}

QJsonObject filterJson(const Accumulators &figures)
{
    const char *mode = figures.includeSelected   ? "include"
                       : figures.excludeSelected ? "exclude"
                                                 : "all";
    return {{"mode", mode}, {"types", QJsonArray::fromStringList(figures.PickList2)}};
}

QJsonArray foldersJson(const std::vector<DriveFolders> &drives)
{
    QJsonArray out;
    for (const DriveFolders &drive : drives) {
        QJsonArray rows;
        for (const FolderTotal &folder : drive.folders)
            rows.append(QJsonArray{escapedName(folder.path), whole(std::uint64_t(folder.files)),
                                   whole(folder.bytes), whole(std::uint64_t(folder.ownFiles)),
                                   whole(folder.ownBytes)});
        out.append(QJsonObject{{"letter", QString(drive.letter)}, {"rows", rows}});
    }
    return out;
}

QJsonArray ownersJson(const std::vector<OwnerTotal> &owners)
{
    QJsonArray rows;
    for (const OwnerTotal &owner : owners)
        rows.append(QJsonArray{whole(owner.id), owner.name, whole(std::uint64_t(owner.files)),
                               whole(owner.bytes)});
    return rows;
}

// A modification time may lie before 1970; a double holds every second of the years a file
// system can tell.
QJsonArray filesJson(const std::vector<DriveFiles> &drives)
{
    QJsonArray out;
    for (const DriveFiles &drive : drives) {
        QJsonArray largest;
        for (const LargeFile &file : drive.largest)
            largest.append(QJsonArray{escapedName(file.path), whole(file.size),
                                      double(file.writeTime), whole(file.owner),
                                      whole(file.group)});
        out.append(QJsonObject{{"letter", QString(drive.letter)},
                               {"counted", whole(std::uint64_t(drive.counted))},
                               {"largest", largest},
                               {"users", ownersJson(drive.users)},
                               {"groups", ownersJson(drive.groups)}});
    }
    return out;
}

QJsonObject figuresJson(const Accumulators &figures)
{
    QJsonObject out;
    for (const CountField &field : counts)
        out.insert(field.name, whole(std::uint64_t(figures.*field.count)));
    for (const CountField &field : optionalCounts)
        out.insert(field.name, whole(std::uint64_t(figures.*field.count)));
    for (const SumField &field : sums)
        out.insert(field.name, figures.*field.sum);
    for (const auto &field : sizeTables)
        out.insert(field.name, tableJson(figures.*field.table, field.first));
    for (const auto &field : ageTables)
        out.insert(field.name, tableJson(figures.*field.table, field.first));
    for (const auto &field : hourTables)
        out.insert(field.name, tableJson(figures.*field.table, field.first));
    QJsonArray rows;
    const TypeTable &types = figures.lbTypes;
    for (int i = 0; i < types.count(); ++i)
        rows.append(QJsonArray{types.extensionAt(i), whole(std::uint64_t(types.filesAt(i))),
                               whole(types.bytesAt(i))});
    out.insert("lbTypes", rows);
    out.insert("folders", foldersJson(figures.folderTotals));
    if (!figures.driveFiles.empty())
        out.insert("files", filesJson(figures.driveFiles));
    if (types.longerFiles() > 0) {
        out.insert("longerExtensionFiles", whole(std::uint64_t(types.longerFiles())));
        out.insert("commonestLongerExtension", types.commonestLonger());
    }
    return out;
}

// ---- Reading ---------------------------------------------------------------------------------

struct Refusal
{
    QString reason;
};

[[noreturn]] void refuse(const QString &reason)
{
    throw Refusal{reason};
}

// Where a value stands in the file, such as drives[0].capacity: spelled out only for a message,
// as a file may hold a million of them.
class Place
{
public:
    Place(const QString &path, const char *key, qsizetype index = -1)
        : path(path), key(key), index(index)
    {}
    Place operator[](qsizetype i) const { return Place(path, key, i); }
    QString text() const
    {
        QString result = path.isEmpty() ? QString::fromLatin1(key) : path + u'.' + key;
        return index < 0 ? result : result + QStringLiteral("[%1]").arg(index);
    }

private:
    const QString &path;
    const char *key;
    qsizetype index;
};

[[noreturn]] void damaged(const Place &where, const QString &what)
{
    refuse(QStringLiteral("it is damaged: %1 %2").arg(where.text(), what));
}

// One JSON object of the file and where it stands in it, for the messages.
class Node
{
public:
    Node(const QJsonObject &object, const QString &path) : object(object), path(path) {}

    Place at(const char *key) const { return Place(path, key); }

    // A key that version 1 always writes; later versions may add others, which are ignored.
    QJsonValue required(const char *key) const
    {
        const QJsonValue value = object.value(QLatin1String(key));
        if (value.isUndefined())
            damaged(at(key), QStringLiteral("is missing"));
        return value;
    }

    QString text(const char *key, qsizetype limit, bool mandatory = false) const
    {
        const QJsonValue value = mandatory ? required(key) : object.value(QLatin1String(key));
        if (value.isUndefined())
            return QString();
        return checkedText(value, at(key), limit);
    }

    // Text that holds unpaired halves of a character could not be written back as it was read.
    static QString checkedText(const QJsonValue &value, const Place &where, qsizetype limit)
    {
        const QString result = value.toString();
        if (!value.isString() || result.size() > limit || !result.isValidUtf16())
            damaged(where, QStringLiteral("is not a text of at most %1 characters").arg(limit));
        return result;
    }

    bool flag(const char *key, bool fallback, bool mandatory = false) const
    {
        const QJsonValue value = mandatory ? required(key) : object.value(QLatin1String(key));
        if (value.isUndefined())
            return fallback;
        if (!value.isBool())
            damaged(at(key), QStringLiteral("is neither true nor false"));
        return value.toBool();
    }

    std::uint64_t number(const char *key, std::uint64_t limit, bool mandatory = false) const
    {
        const QJsonValue value = mandatory ? required(key) : object.value(QLatin1String(key));
        return value.isUndefined() ? 0 : wholeNumber(value, at(key), limit);
    }

    QJsonArray array(const char *key) const
    {
        const QJsonValue value = required(key);
        if (!value.isArray())
            damaged(at(key), QStringLiteral("is not a list"));
        return value.toArray();
    }

    Node child(const char *key) const
    {
        const QJsonValue value = required(key);
        if (!value.isObject())
            damaged(at(key), QStringLiteral("is not an object"));
        return Node(value.toObject(), at(key).text());
    }

    static std::uint64_t wholeNumber(const QJsonValue &value, const Place &where,
                                     std::uint64_t limit)
    {
        if (!value.isString())
            damaged(where, QStringLiteral("is not a whole number in quotes"));
        return digitsValue(QStringView(value.toString()), where, limit);
    }

    static char16_t unitOf(QChar c) { return c.unicode(); }
    static char16_t unitOf(char c) { return uchar(c); }

    // The value of the digits of a whole number in quotes, as text or as the file's bytes.
    template <typename Text>
    static std::uint64_t digitsValue(const Text &digits, const Place &where, std::uint64_t limit)
    {
        if (digits.isEmpty() || digits.size() > 20)
            damaged(where, QStringLiteral("is not a whole number"));
        std::uint64_t result = 0;
        for (const auto c : digits) {
            const char16_t unit = unitOf(c);
            if (unit < u'0' || unit > u'9')
                damaged(where, QStringLiteral("is not a whole number"));
            const unsigned digit = unit - u'0';
            if (digit > limit || result > (limit - digit) / 10)
                damaged(where, QStringLiteral("is larger than %1").arg(limit));
            result = result * 10 + digit;
        }
        return result;
    }

    static double figure(const QJsonValue &value, const Place &where)
    {
        if (!value.isDouble())
            damaged(where, QStringLiteral("is not a number"));
        const double result = value.toDouble();
        if (!std::isfinite(result) || result < 0 || result >= figureLimit ||
            std::floor(result) != result)
            damaged(where, QStringLiteral("is not a whole number from 0 to 2^64"));
        return result;
    }

    const QJsonObject object;
    const QString path;
};

QDateTime readMoment(const Node &node, const char *key)
{
    const QString text = node.text(key, 64, true);
    static const QRegularExpression offset(QStringLiteral("(Z|[+-]\\d\\d:\\d\\d)$"));
    const QDateTime result = QDateTime::fromString(text, Qt::ISODate);
    if (!result.isValid() || !offset.match(text).hasMatch())
        damaged(node.at(key), QStringLiteral("is not a date and time with its offset from UTC"));
    return result;
}

DriveFacts readDrive(const Node &node)
{
    DriveFacts drive;
    const QString letter = node.text("letter", 1, true);
    if (letter.size() != 1 || letter.at(0) < u'c' || letter.at(0) > u'z')
        damaged(node.at("letter"), QStringLiteral("is not a drive letter from c to z"));
    drive.letter = letter.at(0);
    drive.walked = node.flag("walked", false);
    drive.mountPoint = node.text("mountPoint", mountPointLimit);
    drive.fileSystem = node.text("fileSystem", shortTextLimit);
    constexpr std::uint64_t any = std::numeric_limits<std::uint64_t>::max();
    drive.capacity = node.number("capacity", any);
    drive.freeBytes = node.number("free", any);
    if (node.object.contains(QLatin1String("used")) &&
        node.number("used", any) != drive.usedBytes())
        damaged(node.at("used"), QStringLiteral("is not the capacity less the free bytes"));
    drive.clusterSize = node.number("clusterSize", any);
    drive.usedEntries = node.number("usedEntries", any);
    drive.entriesMet = node.number("entriesMet", any);
    if (!drive.walked && drive.entriesMet != 0)
        damaged(node.at("entriesMet"), QStringLiteral("counts entries of a drive not walked"));
    const QString accessDates = node.text("accessDates", shortTextLimit);
    for (const auto &[way, option] : accessDateOptions)
        if (accessDates == QLatin1String(option))
            drive.accessTimes = way;
    if (!accessDates.isEmpty() && drive.accessTimes == platform::AccessTimes::Unknown)
        damaged(node.at("accessDates"), QStringLiteral("is not noatime, relatime or strictatime"));
    if (node.object.contains(QLatin1String("creationDates")))
        drive.keepsCreationDates = node.flag("creationDates", false);
    return drive;
}

// A run read back tells its times as the run did ("01:40:35 CET") rather than by a bare offset,
// when its recorded zone is one this computer knows and agrees with the recorded offset.
QDateTime inRecordedZone(const QDateTime &at, const QString &zone)
{
    const QTimeZone recorded(zone.toUtf8());
    if (!at.isValid() || !recorded.isValid() || recorded.offsetFromUtc(at) != at.offsetFromUtc())
        return at;
    return at.toTimeZone(recorded);
}

RunFacts readFacts(const Node &root)
{
    RunFacts facts;
    facts.programVersion = root.text("program", shortTextLimit);
    facts.started = readMoment(root, "started");
    facts.ended = readMoment(root, "ended");
    facts.timeZone = root.text("timeZone", shortTextLimit);
    facts.started = inRecordedZone(facts.started, facts.timeZone);
    facts.ended = inRecordedZone(facts.ended, facts.timeZone);
    facts.hostName = root.text("host", shortTextLimit);
    facts.complete = root.flag("complete", false, true);
    const QJsonArray drives = root.array("drives");
    if (drives.isEmpty() || drives.size() > driveLimit)
        damaged(root.at("drives"), QStringLiteral("does not hold 1 to %1 drives").arg(driveLimit));
    QSet<QChar> letters;
    for (qsizetype i = 0; i < drives.size(); ++i) {
        const Place where = root.at("drives")[i];
        if (!drives[i].isObject())
            damaged(where, QStringLiteral("is not an object"));
        facts.drives.push_back(readDrive(Node(drives[i].toObject(), where.text())));
        if (letters.contains(facts.drives.back().letter))
            damaged(where, QStringLiteral("names a drive letter twice"));
        letters.insert(facts.drives.back().letter);
    }
    return facts;
}

void readFilter(const Node &node, Accumulators &figures)
{
    const QString mode = node.text("mode", 16, true);
    figures.allTypes = mode == u"all";
    figures.includeSelected = mode == u"include";
    figures.excludeSelected = mode == u"exclude";
    if (!figures.allTypes && !figures.includeSelected && !figures.excludeSelected)
        damaged(node.at("mode"), QStringLiteral("is none of all, include and exclude"));
    const QJsonArray types = node.array("types");
    if (types.size() > pickedRowLimit)
        damaged(node.at("types"), QStringLiteral("holds more than %1 rows").arg(pickedRowLimit));
    if (figures.allTypes && !types.isEmpty())
        damaged(node.at("types"), QStringLiteral("picks types for a run of all files"));
    for (qsizetype i = 0; i < types.size(); ++i)
        figures.PickList2 << Node::checkedText(types[i], node.at("types")[i], unlimitedText);
}

template <std::size_t N>
void readTable(const Node &node, const TableField<N> &field, Accumulators &figures)
{
    const QJsonArray values = node.array(field.name);
    const std::size_t expected = N - field.first;
    if (std::size_t(values.size()) != expected)
        damaged(node.at(field.name),
                QStringLiteral("has %1 entries, not %2").arg(values.size()).arg(expected));
    std::array<double, N> &table = figures.*field.table;
    for (std::size_t i = 0; i < expected; ++i)
        table[field.first + i] = Node::figure(values[qsizetype(i)], node.at(field.name)[i]);
}

template <std::size_t N> double tableSum(const std::array<double, N> &table)
{
    double sum = 0;
    for (const double value : table)
        sum += value;
    return sum;
}

// ---- Long lists read a row at a time -----------------------------------------------------

// One row of a long list: the texts of a row as the program writes it (a list of texts without
// escapes or white space, such as ["dir0/sub0001","100","20000000","100","20000000"]) taken as
// they stand in the file, or any other row as the JSON parser read it. A rebuilt trend index
// reads ten million rows: the parser's values for each would be most of its time.
class Row
{
public:
    explicit Row(QJsonValue value) : parsed(std::move(value)) {}
    // The most texts a row of a collection holds: a folder's path and four numbers.
    static constexpr std::size_t plainLimit = 5;

    // The texts of a row as the program writes it; nothing for any other row.
    static std::optional<Row> plainOf(QByteArrayView row)
    {
        if (row.size() < 2 || row.front() != '[' || row.back() != ']')
            return std::nullopt;
        Row plain;
        plain.isPlain = true;
        for (qsizetype at = 1; at < row.size() - 1;) {
            if (row[at] != '"' || plain.textCount == plainLimit)
                return std::nullopt;
            qsizetype end = ++at;
            while (end < row.size() && row[end] != '"') {
                if (row[end] == '\\' || uchar(row[end]) < 0x20)
                    return std::nullopt;
                ++end;
            }
            if (end + 1 >= row.size() || !QUtf8StringView(row.sliced(at, end - at)).isValidUtf8())
                return std::nullopt;
            plain.texts[plain.textCount++] = row.sliced(at, end - at);
            at = end + 1;
            if (row[at] == ',' && at + 1 < row.size() - 1)
                ++at;
            else if (at != row.size() - 1)
                return std::nullopt;
        }
        return plain;
    }

    // A list of exactly this many values.
    bool isListOf(qsizetype count) const
    {
        return isPlain ? qsizetype(textCount) == count
                       : parsed.isArray() && parsed.toArray().size() == count;
    }
    QString text(qsizetype i, const Place &where, qsizetype limit) const
    {
        if (!isPlain)
            return Node::checkedText(parsed.toArray().at(i), where, limit);
        const QString result = QString::fromUtf8(texts[std::size_t(i)]);
        if (result.size() > limit)
            damaged(where, QStringLiteral("is not a text of at most %1 characters").arg(limit));
        return result;
    }
    std::uint64_t number(qsizetype i, const Place &where, std::uint64_t limit) const
    {
        return isPlain ? Node::digitsValue(texts[std::size_t(i)], where, limit)
                       : Node::wholeNumber(parsed.toArray().at(i), where, limit);
    }
    // The bytes of a text of printable ASCII without a backslash, which stands for itself as a
    // name; nothing for any other.
    std::optional<QByteArray> printableText(qsizetype i) const
    {
        if (!isPlain)
            return std::nullopt;
        const QByteArrayView text = texts[std::size_t(i)];
        for (const char c : text)
            if (uchar(c) < 0x20 || uchar(c) >= 0x7F || c == '\\')
                return std::nullopt;
        return text.toByteArray();
    }

private:
    Row() = default;

    QJsonValue parsed;
    std::array<QByteArrayView, plainLimit> texts; // in the file, without their quotes
    std::size_t textCount = 0;
    bool isPlain = false;
};

// The rows of a list: those of a parsed document, or the places of their bytes in the file, each
// row read when its turn comes, so that a million rows never stand in memory as JSON values.
class RowList
{
public:
    explicit RowList(QJsonArray rows) : parsed(std::move(rows)) {}
    RowList(QByteArrayView file, std::vector<JsonSpan> spans) : file(file), spans(std::move(spans))
    {}

    qsizetype size() const { return file.isNull() ? parsed.size() : qsizetype(spans.size()); }
    Row at(qsizetype i) const
    {
        if (file.isNull())
            return Row(parsed.at(i));
        const JsonSpan span = spans[std::size_t(i)];
        const QByteArrayView bytes = file.sliced(span.begin, span.end - span.begin);
        if (std::optional<Row> row = Row::plainOf(bytes))
            return std::move(*row);
        QByteArray list = bytes.toByteArray();
        list.prepend('[').append(']');
        QJsonParseError error;
        const QJsonDocument row = QJsonDocument::fromJson(list, &error);
        if (row.isNull())
            refuse(QStringLiteral("it is not a collection file (%1 at byte %2)")
                       .arg(error.errorString())
                       .arg(span.begin + error.offset - 1));
        return Row(row.array().at(0));
    }

private:
    QJsonArray parsed;
    QByteArrayView file;
    std::vector<JsonSpan> spans; // in the file
};

// A collection file with its long lists (the type rows, each drive's folder rows) taken out: the
// rest, a few kilobytes, is parsed as a whole, the lists a row at a time.
struct SplitFile
{
    QByteArray rest; // the file with each long list left empty
    std::optional<RowList> typeRows;
    std::vector<std::optional<RowList>> driveRows; // by drive of the folder totals
};

// The one member of an object with this key; nothing when there is none or more than one.
std::optional<JsonMember> onlyMember(const std::vector<JsonMember> &members, const char *key)
{
    std::optional<JsonMember> found;
    for (const JsonMember &member : members)
        if (member.key == key) {
            if (found)
                return std::nullopt;
            found = member;
        }
    return found;
}

// The spans of the elements of the list at span, as places in the file.
std::optional<std::vector<JsonSpan>> elementsIn(QByteArrayView file, JsonSpan span)
{
    std::optional<std::vector<JsonSpan>> elements =
        jsonElements(file.sliced(span.begin, span.end - span.begin));
    if (elements)
        for (JsonSpan &element : *elements)
            element = {span.begin + element.begin, span.begin + element.end};
    return elements;
}

// Nothing when the file is not laid out as expected: it is then parsed whole, as before, and
// whatever is wrong with it is told the same way.
std::optional<SplitFile> splitFile(QByteArrayView file)
{
    const auto top = jsonMembers(file);
    const auto figures = top ? onlyMember(*top, "figures") : std::nullopt;
    if (!figures)
        return std::nullopt;
    const JsonSpan inFigures = figures->value;
    const auto members = jsonMembers(file.sliced(inFigures.begin, inFigures.end - inFigures.begin));
    const auto types = members ? onlyMember(*members, "lbTypes") : std::nullopt;
    if (!types)
        return std::nullopt;
    const JsonSpan typeSpan{inFigures.begin + types->value.begin,
                            inFigures.begin + types->value.end};
    auto typeRows = elementsIn(file, typeSpan);
    if (!typeRows)
        return std::nullopt;
    SplitFile split;
    split.typeRows.emplace(file, std::move(*typeRows));
    // What takes the place of each long list in the rest, in the order of the file.
    std::vector<std::pair<JsonSpan, QByteArray>> cuts{{typeSpan, "[]"}};

    if (const auto folders = onlyMember(*members, "folders")) {
        const JsonSpan folderSpan{inFigures.begin + folders->value.begin,
                                  inFigures.begin + folders->value.end};
        const auto drives = elementsIn(file, folderSpan);
        if (!drives)
            return std::nullopt;
        QByteArray list = "[";
        for (const JsonSpan &drive : *drives) {
            const QByteArrayView object = file.sliced(drive.begin, drive.end - drive.begin);
            // Where the drive's rows lie within its object, when they can be read one by one.
            JsonSpan rows;
            std::optional<std::vector<JsonSpan>> rowSpans;
            if (const auto driveMembers = jsonMembers(object))
                if (const auto member = onlyMember(*driveMembers, "rows")) {
                    rows = member->value;
                    rowSpans = elementsIn(file, {drive.begin + rows.begin, drive.begin + rows.end});
                }
            if (list.size() > 1)
                list += ',';
            if (!rowSpans) {
                list += object;
                split.driveRows.emplace_back();
                continue;
            }
            list += object.first(rows.begin);
            list += "[]";
            list += object.sliced(rows.end);
            split.driveRows.emplace_back(RowList(file, std::move(*rowSpans)));
        }
        cuts.push_back({folderSpan, list + ']'});
    }
    std::sort(cuts.begin(), cuts.end(),
              [](const auto &a, const auto &b) { return a.first.begin < b.first.begin; });
    qsizetype at = 0;
    for (const auto &[span, replacement] : cuts) {
        split.rest += file.sliced(at, span.begin - at);
        split.rest += replacement;
        at = span.end;
    }
    split.rest += file.sliced(at);
    return split;
}

void readTypeRows(const Node &node, const RowList *split, Accumulators &figures)
{
    const RowList rows = split ? *split : RowList(node.array("lbTypes"));
    if (rows.size() > collectionTypeRowLimit)
        damaged(node.at("lbTypes"),
                QStringLiteral("holds more than %1 rows").arg(collectionTypeRowLimit));
    constexpr std::uint64_t countLimit = std::numeric_limits<std::int64_t>::max();
    const auto found = std::uint64_t(figures.filesFound);
    std::uint64_t counted = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Place where = node.at("lbTypes")[i];
        const Row row = rows.at(i);
        if (!row.isListOf(3))
            damaged(where, QStringLiteral("is not an extension, a file count and a byte sum"));
        // Escaped as the rows show it; files written before extensions were escaped hold them as
        // plain text, which reads as its own UTF-8.
        const QByteArray extension = nameBytes(row.text(0, where, 64));
        if (extension != upperName(extension) || !extensionFitsRow(extension) ||
            (!extension.isEmpty() && !extension.startsWith('.')))
            damaged(where, QStringLiteral("holds no extension as a type row shows it"));
        const std::uint64_t files = row.number(1, where, countLimit);
        const std::uint64_t bytes = row.number(2, where, std::numeric_limits<std::uint64_t>::max());
        if (files == 0 && bytes != 0)
            damaged(where, QStringLiteral("has bytes but no files"));
        counted += files; // each at most filesFound, checked below: no overflow
        if (counted > found)
            damaged(node.at("lbTypes"), QStringLiteral("counts more files than were found"));
        if (!figures.lbTypes.putRow(escapedName(extension), std::int64_t(files), bytes))
            damaged(where, QStringLiteral("repeats an extension"));
    }

    // Files whose extensions are too long for a row, kept as their number and the commonest of
    // those extensions; files of older versions have none.
    const std::uint64_t longer = node.number("longerExtensionFiles", found - counted);
    const QString commonest = node.text("commonestLongerExtension", nameTextLimit);
    const QByteArray commonBytes = nameBytes(commonest);
    if (longer > 0 && (!commonBytes.startsWith('.') || extensionFitsRow(upperName(commonBytes)) ||
                       commonBytes.size() > nameByteLimit))
        damaged(node.at("commonestLongerExtension"),
                QStringLiteral("is no extension too long for a row"));
    if (longer > 0)
        figures.lbTypes.addLonger(commonest, std::int64_t(longer));
}

// Each part of a path is a folder's name: at most a name's bytes, and neither empty, "." nor
// "..". Looked at in place, so that a path of millions of parts costs no more than its bytes.
bool soundFolderParts(QByteArrayView path)
{
    while (true) {
        const qsizetype end = path.indexOf('/');
        const QByteArrayView part = end < 0 ? path : path.first(end);
        if (part.isEmpty() || part.size() > nameByteLimit || part == "." || part == "..")
            return false;
        if (end < 0)
            return true;
        path = path.sliced(end + 1);
    }
}

// A path below a drive's root as the file holds it: escaped bytes, parts joined by "/", and no
// zero byte.
QByteArray readFolderPath(const Row &row, const Place &where)
{
    // Most paths are printable ASCII, which spells itself.
    std::optional<QByteArray> path = row.printableText(0);
    if (!path)
        path = unescapedName(row.text(0, where, unlimitedText));
    if (!path || path->contains('\0') || (!path->isEmpty() && !soundFolderParts(*path)))
        damaged(where, QStringLiteral("is not a folder's path"));
    return *path;
}

// One drive's rows: the root first, each folder after the one it lies in, every folder once; a
// folder holds at least what its kept subfolders hold, and its own files are part of its files.
DriveFolders readDriveFolders(const Node &node, const RowList *split, qsizetype &rowsLeft)
{
    DriveFolders drive;
    const QString letter = node.text("letter", 1, true);
    drive.letter = letter.isEmpty() ? QChar() : letter.at(0);
    const RowList rows = split ? *split : RowList(node.array("rows"));
    if (rows.size() == 0 || rows.size() > rowsLeft)
        damaged(node.at("rows"),
                QStringLiteral("does not hold 1 to %1 folders in all").arg(folderRowLimit));
    rowsLeft -= rows.size();
    constexpr std::uint64_t countLimit = std::numeric_limits<std::int64_t>::max();
    constexpr std::uint64_t byteLimit = std::numeric_limits<std::uint64_t>::max();
    // What the kept subfolders of each folder hold together, by the folder's index.
    std::vector<FolderTally::Mark> below(std::size_t(rows.size()));
    // The folders the next one may lie in: in this order each folder's subfolders follow it
    // before any other folder, so the one it lies in, when listed, is on this stack.
    std::vector<std::size_t> open;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Place where = node.at("rows")[i];
        const Row row = rows.at(i);
        if (!row.isListOf(5))
            damaged(where, QStringLiteral("is not a path and four whole numbers"));
        FolderTotal folder;
        folder.path = readFolderPath(row, where);
        folder.files = std::int64_t(row.number(1, where, countLimit));
        folder.bytes = row.number(2, where, byteLimit);
        folder.ownFiles = std::int64_t(row.number(3, where, countLimit));
        folder.ownBytes = row.number(4, where, byteLimit);
        if (folder.ownFiles > folder.files || folder.ownBytes > folder.bytes ||
            (folder.files == 0 && folder.bytes != 0))
            damaged(where, QStringLiteral("holds more in its own files than in all"));
        if (i == 0 && !folder.path.isEmpty())
            damaged(where, QStringLiteral("is not the drive's root"));
        if (i > 0) {
            if (!folderPathBefore(drive.folders.back().path, folder.path))
                damaged(where, QStringLiteral("is out of order or repeats a folder"));
            const qsizetype cut = folder.path.lastIndexOf('/');
            const QByteArrayView parentPath =
                cut < 0 ? QByteArrayView("") : QByteArrayView(folder.path).first(cut);
            while (!open.empty() && QByteArrayView(drive.folders[open.back()].path) != parentPath)
                open.pop_back();
            if (open.empty())
                damaged(where, QStringLiteral("lies in a folder that is not listed"));
            const std::size_t parent = open.back();
            // Compared with what is left, so that no sum can pass the largest number.
            FolderTally::Mark &sum = below[parent];
            const FolderTotal &up = drive.folders[parent];
            if (folder.files > up.subfolderFiles() - sum.files ||
                folder.bytes > up.subfolderBytes() - sum.bytes)
                damaged(where, QStringLiteral("and the folders beside it hold more than the "
                                              "folder they lie in"));
            sum.files += folder.files;
            sum.bytes += folder.bytes;
        }
        open.push_back(std::size_t(i));
        drive.folders.push_back(std::move(folder));
    }
    return drive;
}

// The folder totals, when the file has them (older files do not): one entry per walked drive at
// most, and the files of the roots are the files found.
void readFolderTotals(const Node &node, const std::vector<std::optional<RowList>> &split,
                      const RunFacts &facts, Accumulators &figures)
{
    if (!node.object.contains(QLatin1String("folders")))
        return;
    const QJsonArray drives = node.array("folders");
    // An empty list holds no totals, as a file without the key: a run that walked no drive, or
    // a file of an older version written again.
    if (drives.isEmpty())
        return;
    if (drives.size() > driveLimit)
        damaged(node.at("folders"), QStringLiteral("holds more than %1 drives").arg(driveLimit));
    qsizetype rowsLeft = folderRowLimit;
    std::int64_t files = 0;
    for (qsizetype i = 0; i < drives.size(); ++i) {
        const Place where = node.at("folders")[i];
        if (!drives[i].isObject())
            damaged(where, QStringLiteral("is not an object"));
        const std::optional<RowList> *rows =
            std::size_t(i) < split.size() ? &split[std::size_t(i)] : nullptr;
        DriveFolders drive = readDriveFolders(Node(drives[i].toObject(), where.text()),
                                              rows && *rows ? &**rows : nullptr, rowsLeft);
        const auto walked =
            std::find_if(facts.drives.begin(), facts.drives.end(),
                         [&](const DriveFacts &d) { return d.letter == drive.letter && d.walked; });
        if (walked == facts.drives.end())
            damaged(where, QStringLiteral("names no drive the run walked"));
        for (const DriveFolders &before : figures.folderTotals)
            if (before.letter == drive.letter)
                damaged(where, QStringLiteral("names a drive a second time"));
        if (drive.countedFiles() > figures.filesFound - files)
            damaged(node.at("folders"), QStringLiteral("counts more files than were found"));
        files += drive.countedFiles();
        figures.folderTotals.push_back(std::move(drive));
    }
    if (files != figures.filesFound)
        damaged(node.at("folders"), QStringLiteral("counts fewer files than were found"));
}

QJsonArray rowOf(const QJsonValue &value, const Place &where, qsizetype columns)
{
    if (!value.isArray() || value.toArray().size() != columns)
        damaged(where, QStringLiteral("is not a list of %1 values").arg(columns));
    return value.toArray();
}

// A user or group table: ids in increasing order, whose files add up to the drive's.
std::vector<OwnerTotal> readOwners(const Node &node, const char *key, std::int64_t counted,
                                   qsizetype &rowsLeft)
{
    const QJsonArray rows = node.array(key);
    rowsLeft -= rows.size();
    if (rowsLeft < 0)
        damaged(node.at(key),
                QStringLiteral("and the other owner tables hold more than %1 rows in all")
                    .arg(ownerRowLimit));
    constexpr std::uint64_t idLimit = std::numeric_limits<std::uint32_t>::max();
    std::vector<OwnerTotal> owners;
    std::int64_t files = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Place where = node.at(key)[i];
        const QJsonArray row = rowOf(rows[i], where, 4);
        OwnerTotal owner;
        owner.id = std::uint32_t(Node::wholeNumber(row[0], where, idLimit));
        owner.name = Node::checkedText(row[1], where, shortTextLimit);
        owner.files =
            std::int64_t(Node::wholeNumber(row[2], where, std::uint64_t(counted - files)));
        owner.bytes = Node::wholeNumber(row[3], where, std::numeric_limits<std::uint64_t>::max());
        if (!owners.empty() && owners.back().id >= owner.id)
            damaged(where, QStringLiteral("is out of order or repeats an id"));
        files += owner.files;
        owners.push_back(std::move(owner));
    }
    if (files != counted)
        damaged(node.at(key), QStringLiteral("does not add up to the files counted"));
    return owners;
}

// A file's path below its drive's root: folder names and the file's own name.
QByteArray readFilePath(const QJsonValue &value, const Place &where)
{
    const QByteArray path = readFolderPath(Row(QJsonArray{value}), where);
    if (path.isEmpty())
        damaged(where, QStringLiteral("is not a file's path"));
    return path;
}

DriveFiles readDriveFiles(const Node &node, qsizetype &ownerRowsLeft)
{
    DriveFiles drive;
    const QString letter = node.text("letter", 1, true);
    if (letter.size() != 1)
        damaged(node.at("letter"), QStringLiteral("is not a drive letter"));
    drive.letter = letter.at(0);
    drive.counted =
        std::int64_t(node.number("counted", std::numeric_limits<std::int64_t>::max(), true));
    const QJsonArray rows = node.array("largest");
    if (std::uint64_t(rows.size()) > std::min<std::uint64_t>(largestFilesKept, drive.counted))
        damaged(node.at("largest"), QStringLiteral("holds more files than were kept"));
    constexpr std::uint64_t idLimit = std::numeric_limits<std::uint32_t>::max();
    constexpr double secondLimit = 9007199254740992.0; // 2^53
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const Place where = node.at("largest")[i];
        const QJsonArray row = rowOf(rows[i], where, 5);
        LargeFile file;
        file.path = readFilePath(row[0], where);
        file.size = Node::wholeNumber(row[1], where, std::numeric_limits<std::uint64_t>::max());
        const double written = row[2].toDouble(secondLimit);
        if (!row[2].isDouble() || std::abs(written) >= secondLimit ||
            std::floor(written) != written)
            damaged(where, QStringLiteral("holds no modification time in seconds"));
        file.writeTime = std::int64_t(written);
        file.owner = std::uint32_t(Node::wholeNumber(row[3], where, idLimit));
        file.group = std::uint32_t(Node::wholeNumber(row[4], where, idLimit));
        if (!drive.largest.empty() && !largeFileBefore(drive.largest.back(), file))
            damaged(where, QStringLiteral("is out of order or repeats a file"));
        drive.largest.push_back(std::move(file));
    }
    drive.users = readOwners(node, "users", drive.counted, ownerRowsLeft);
    drive.groups = readOwners(node, "groups", drive.counted, ownerRowsLeft);
    return drive;
}

// The largest files and the owners, when the file has them (older files do not): one entry per
// walked drive at most.
void readDriveFilesList(const Node &node, const RunFacts &facts, Accumulators &figures)
{
    if (!node.object.contains(QLatin1String("files")))
        return;
    const QJsonArray drives = node.array("files");
    if (drives.size() > driveLimit)
        damaged(node.at("files"), QStringLiteral("holds more than %1 drives").arg(driveLimit));
    qsizetype ownerRowsLeft = ownerRowLimit;
    std::int64_t files = 0;
    for (qsizetype i = 0; i < drives.size(); ++i) {
        const Place where = node.at("files")[i];
        if (!drives[i].isObject())
            damaged(where, QStringLiteral("is not an object"));
        DriveFiles drive = readDriveFiles(Node(drives[i].toObject(), where.text()), ownerRowsLeft);
        const bool walked =
            std::any_of(facts.drives.begin(), facts.drives.end(),
                        [&](const DriveFacts &d) { return d.letter == drive.letter && d.walked; });
        if (!walked)
            damaged(where, QStringLiteral("names no drive the run walked"));
        for (const DriveFiles &before : figures.driveFiles)
            if (before.letter == drive.letter)
                damaged(where, QStringLiteral("names a drive a second time"));
        if (drive.counted > figures.filesFound - files)
            damaged(node.at("files"), QStringLiteral("counts more files than were found"));
        files += drive.counted;
        figures.driveFiles.push_back(std::move(drive));
    }
}

void readFigures(const Node &node, const RowList *typeRows, Accumulators &figures)
{
    constexpr std::uint64_t countLimit = std::numeric_limits<std::int64_t>::max();
    for (const CountField &field : counts)
        figures.*field.count = std::int64_t(node.number(field.name, countLimit, true));
    for (const CountField &field : optionalCounts)
        figures.*field.count = std::int64_t(node.number(field.name, countLimit));
    for (const SumField &field : sums)
        figures.*field.sum = Node::figure(node.required(field.name), node.at(field.name));
    for (const auto &field : sizeTables)
        readTable(node, field, figures);
    for (const auto &field : ageTables)
        readTable(node, field, figures);
    for (const auto &field : hourTables)
        readTable(node, field, figures);

    // What every run holds true, aborted or not: each file found is in one size class and one
    // age class of each time, in at most one half hour of each, and counts once per attribute.
    const double found = double(figures.filesFound);
    if (figures.filesFound > figures.filesProcessed)
        damaged(node.at("filesFound"), QStringLiteral("is larger than filesProcessed"));
    const TableField<10> *fileTables[] = {&ageTables[0], &ageTables[2], &ageTables[4]};
    if (tableSum(figures.sizeFiles) != found)
        damaged(node.at("sizeFiles"), QStringLiteral("does not add up to filesFound"));
    for (const auto *field : fileTables)
        if (tableSum(figures.*field->table) != found)
            damaged(node.at(field->name), QStringLiteral("does not add up to filesFound"));
    for (const auto &field : hourTables)
        if (tableSum(figures.*field.table) > found)
            damaged(node.at(field.name), QStringLiteral("adds up to more than filesFound"));
    for (const CountField &field : std::span(counts).subspan(2)) // the attribute counters
        if (figures.*field.count > figures.filesFound)
            damaged(node.at(field.name), QStringLiteral("is larger than filesFound"));
    readTypeRows(node, typeRows, figures);
}

// The document of a collection file of a version this program reads.
QJsonObject readDocument(const QByteArray &bytes, const QByteArray *rest = nullptr)
{
    if (bytes.size() > collectionFileLimit)
        refuse(QStringLiteral("it is larger than %1 MB").arg(collectionFileLimit >> 20));
    QJsonParseError error;
    QJsonDocument document = rest ? QJsonDocument::fromJson(*rest, &error) : QJsonDocument();
    // What the rest cannot tell is told of the whole file, where its bytes are.
    if (document.isNull())
        document = QJsonDocument::fromJson(bytes, &error);
    const bool cutShort = error.error == QJsonParseError::UnterminatedObject ||
                          error.error == QJsonParseError::UnterminatedArray ||
                          error.error == QJsonParseError::UnterminatedString ||
                          (error.error != QJsonParseError::NoError &&
                           error.offset >= bytes.trimmed().size() && !bytes.trimmed().isEmpty());
    if (document.isNull() && cutShort)
        refuse(
            QStringLiteral("it ends early, at byte %1, and may be incomplete").arg(bytes.size()));
    if (document.isNull())
        refuse(QStringLiteral("it is not a collection file (%1 at byte %2)")
                   .arg(error.errorString())
                   .arg(error.offset));
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value("format") != QLatin1String(collectionFormat))
        refuse(QStringLiteral("it is not a Korvel 98 collection"));
    const QJsonValue version = root.value("version");
    if (!version.isDouble() || version.toDouble() != std::floor(version.toDouble()) ||
        version.toDouble() < 1)
        damaged(Place(QString(), "version"), QStringLiteral("is not a format version"));
    if (version.toDouble() > collectionVersion)
        refuse(QStringLiteral("it was written by a newer Korvel 98 (collection version %1; this "
                              "one reads version %2)")
                   .arg(version.toDouble())
                   .arg(collectionVersion));
    return root;
}

} // namespace

Collection collectionOf(const RunFacts &facts, const Accumulators &figures)
{
    return {facts, figures};
}

bool sameFigures(const Accumulators &a, const Accumulators &b)
{
    if (a.allTypes != b.allTypes || a.includeSelected != b.includeSelected ||
        a.excludeSelected != b.excludeSelected || a.PickList2 != b.PickList2)
        return false;
    for (const CountField &field : counts)
        if (a.*field.count != b.*field.count)
            return false;
    for (const CountField &field : optionalCounts)
        if (a.*field.count != b.*field.count)
            return false;
    for (const SumField &field : sums)
        if (!sameBits(a.*field.sum, b.*field.sum))
            return false;
    for (const auto &field : sizeTables)
        if (!sameTable(a.*field.table, b.*field.table))
            return false;
    for (const auto &field : ageTables)
        if (!sameTable(a.*field.table, b.*field.table))
            return false;
    for (const auto &field : hourTables)
        if (!sameTable(a.*field.table, b.*field.table))
            return false;
    return a.lbTypes.rows() == b.lbTypes.rows() &&
           a.lbTypes.longerFiles() == b.lbTypes.longerFiles() &&
           a.lbTypes.commonestLonger() == b.lbTypes.commonestLonger() &&
           a.folderTotals == b.folderTotals && a.driveFiles == b.driveFiles;
}

bool operator==(const Collection &a, const Collection &b)
{
    return a.facts == b.facts && sameFigures(a.figures, b.figures);
}

QByteArray collectionJson(const Collection &collection)
{
    const RunFacts &facts = collection.facts;
    QJsonArray drives;
    for (const DriveFacts &drive : facts.drives)
        drives.append(driveJson(drive));
    const QJsonObject runFacts{{"program", facts.programVersion},
                               {"started", moment(facts.started)},
                               {"ended", moment(facts.ended)},
                               {"timeZone", facts.timeZone},
                               {"host", facts.hostName},
                               {"complete", facts.complete},
                               {"drives", drives}};
    auto compact = [](const QJsonObject &object) {
        return QJsonDocument(object).toJson(QJsonDocument::Compact);
    };
    // The identifier and the version lead, so that a glance at the first bytes tells the file;
    // the run's facts follow before the figures, so that a look through the history for them
    // reads a few hundred bytes of each file, however many figures it holds.
    return QByteArrayLiteral("{\"format\":\"") + collectionFormat +
           "\",\"version\":" + QByteArray::number(collectionVersion) + ',' +
           compact(runFacts).chopped(1).mid(1) +
           ",\"filter\":" + compact(filterJson(collection.figures)) +
           ",\"figures\":" + compact(figuresJson(collection.figures)) + "}\n";
}

CollectionRead parseCollection(const QByteArray &bytes)
{
    try {
        // A file too large is refused before a byte of it is looked at.
        const std::optional<SplitFile> split =
            bytes.size() > collectionFileLimit ? std::nullopt : splitFile(bytes);
        const Node root(readDocument(bytes, split ? &split->rest : nullptr), QString());
        Collection collection;
        collection.facts = readFacts(root);
        readFilter(root.child("filter"), collection.figures);
        const Node figures = root.child("figures");
        readFigures(figures, split && split->typeRows ? &*split->typeRows : nullptr,
                    collection.figures);
        readFolderTotals(figures, split ? split->driveRows : std::vector<std::optional<RowList>>(),
                         collection.facts, collection.figures);
        readDriveFilesList(figures, collection.facts, collection.figures);
        return {std::move(collection), QString()};
    } catch (const Refusal &refusal) {
        return {std::nullopt, refusal.reason};
    }
}

std::optional<RunFacts> parseRunFacts(const QByteArray &bytes)
{
    try {
        return readFacts(Node(readDocument(bytes), QString()));
    } catch (const Refusal &) {
        return std::nullopt;
    }
}

CollectionRead readCollectionFile(const QString &path)
{
    auto refused = [&](const QString &reason) {
        return CollectionRead{std::nullopt, QStringLiteral("Cannot open the collection %1: %2.")
                                                .arg(QFileInfo(path).absoluteFilePath(), reason)};
    };
    // A pipe or a device would keep the reader waiting or feed it without end; one byte past the
    // limit tells a file too large.
    const platform::RegularFileRead file = platform::readRegularFile(path, collectionFileLimit);
    if (!file.bytes)
        return refused(file.reason);
    CollectionRead result = parseCollection(*file.bytes);
    if (!result)
        return refused(result.message);
    return result;
}

bool writeCollectionFile(const QString &path, const Collection &collection, QString &message)
{
    auto cannot = [&](const QString &why) {
        message = QStringLiteral("Cannot save the collection %1: %2.")
                      .arg(QFileInfo(path).absoluteFilePath(), why);
        return false;
    };
    const QByteArray bytes = collectionJson(collection);
    // A file that could not be opened again would be a loss reported as a save: a run too large
    // for a collection, for one, is said now.
    if (const CollectionRead check = parseCollection(bytes); !check)
        return cannot(check.message);
    if (const std::optional<QString> failure = platform::writeFile(
            path, [&bytes](QIODevice &file) { return file.write(bytes) == bytes.size(); }))
        return cannot(*failure);
    return true;
}
