#include "model/QuickFacts.h"

#include "model/Collection.h"
#include "model/JsonScan.h"
#include "platform/RegularFile.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Enough for the facts of 24 drives whose mount points are as long as a path may be.
constexpr qint64 headBytes = 1 << 20;
// Enough for the filter and the facts an earlier release wrote after the figures.
constexpr qint64 tailBytes = 64 << 10;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Where the members of the top object that are facts end: before its filter (this version), or
// before its figures (earlier releases), or at its end.
struct Cut
{
    enum Kind
    {
        Filter,
        Figures,
        End,
        Unknown
    } kind = Unknown;
    qsizetype at = 0;
};

Cut factsCut(QByteArrayView bytes)
{
    qsizetype i = jsonSkipSpace(bytes, 0);
    if (i >= bytes.size() || bytes[i] != '{')
        return {};
    qsizetype memberStart = ++i;
    while (true) {
        i = jsonSkipSpace(bytes, i);
        if (i < bytes.size() && bytes[i] == '}')
            return {Cut::End, i + 1};
        const qsizetype keyEnd = i < bytes.size() && bytes[i] == '"' ? jsonValueEnd(bytes, i) : -1;
        if (keyEnd < 0)
            return {};
        const QByteArrayView key = bytes.sliced(i + 1, keyEnd - i - 2);
        if (key == "filter")
            return {Cut::Filter, memberStart};
        if (key == "figures")
            return {Cut::Figures, memberStart};
        i = jsonSkipSpace(bytes, keyEnd);
        if (i >= bytes.size() || bytes[i] != ':')
            return {};
        i = jsonValueEnd(bytes, jsonSkipSpace(bytes, i + 1));
        if (i < 0)
            return {};
        i = jsonSkipSpace(bytes, i);
        if (i >= bytes.size() || (bytes[i] != ',' && bytes[i] != '}'))
            return {};
        if (bytes[i] == ',')
            memberStart = i++;
    }
}

// The figures close, then the file: a file cut short lacks its last brackets.
bool endsWhole(QByteArrayView tail)
{
    int closed = 0;
    for (qsizetype i = tail.size() - 1; i >= 0 && closed < 2; --i) {
        if (tail[i] == '}')
            ++closed;
        else if (!isSpace(tail[i]))
            return false;
    }
    return closed == 2;
}

// What the first and last bytes tell: the facts, a refusal, or nothing either way.
enum class Look
{
    Told,
    Refused,
    Undecided
};

Look look(QByteArrayView head, QByteArrayView tail, bool headIsWhole,
          std::optional<RunFacts> &facts)
{
    const Cut cut = factsCut(head);
    switch (cut.kind) {
    case Cut::Filter:
        if (!endsWhole(tail))
            return Look::Refused;
        facts = parseRunFacts(head.first(cut.at).toByteArray() + '}');
        break;
    case Cut::Figures: {
        // An earlier release wrote the filter, host, program, start and time zone last.
        const qsizetype filter = tail.lastIndexOf(QByteArrayView(R"(},"filter":{"mode":")"));
        if (filter < 0)
            return Look::Undecided;
        facts = parseRunFacts(head.first(cut.at).toByteArray().append(tail.sliced(filter + 1)));
        break;
    }
    case Cut::End:
        if (!headIsWhole)
            return Look::Refused;
        facts = parseRunFacts(head.toByteArray());
        break;
    case Cut::Unknown:
        return Look::Undecided;
    }
    return facts ? Look::Told : Look::Refused;
}

} // namespace

std::optional<RunFacts> quickRunFacts(QByteArrayView head, QByteArrayView tail, bool headIsWhole)
{
    std::optional<RunFacts> facts;
    look(head, tail, headIsWhole, facts);
    return facts;
}

namespace {

// A member of the figures or the filter, found by its key with the quotes around it: inside a
// text of the file a quote is escaped, so the key cannot be met there.
QByteArrayView memberValue(QByteArrayView bytes, QByteArrayView quotedKey)
{
    const qsizetype key = bytes.indexOf(quotedKey);
    if (key < 0)
        return {};
    qsizetype at = jsonSkipSpace(bytes, key + quotedKey.size());
    if (at >= bytes.size() || bytes[at] != ':')
        return {};
    at = jsonSkipSpace(bytes, at + 1);
    const qsizetype end = jsonValueEnd(bytes, at);
    return end < 0 ? QByteArrayView() : bytes.sliced(at, end - at);
}

void glanceAt(QByteArrayView bytes, RunGlance &glance)
{
    if (glance.filterMode.isEmpty()) {
        const QJsonObject filter =
            QJsonDocument::fromJson(memberValue(bytes, "\"filter\"").toByteArray()).object();
        glance.filterMode = filter.value(QLatin1String("mode")).toString();
        for (const QJsonValue type : filter.value(QLatin1String("types")).toArray())
            glance.filterTypes << type.toString();
    }
    if (!glance.filesFound) {
        const QByteArrayView found = memberValue(bytes, "\"filesFound\"");
        bool ok = false;
        const std::uint64_t files =
            found.size() > 2 ? found.sliced(1, found.size() - 2).toULongLong(&ok) : 0;
        if (ok)
            glance.filesFound = files;
    }
}

} // namespace

namespace {

// The facts, and the bytes read to find them: the first and last ones, or the whole file.
struct Read
{
    std::optional<RunFacts> facts;
    std::optional<QByteArray> head, tail;
};

Read readFacts(const QString &path)
{
    Read read;
    const platform::RegularFileRead head = platform::readRegularFile(path, headBytes);
    if (!head.bytes)
        return read;
    const bool whole = head.bytes->size() <= headBytes;
    const platform::RegularFileRead tail =
        whole ? head : platform::readRegularFileEnd(path, tailBytes);
    read.head = head.bytes;
    read.tail = tail.bytes;
    if (!tail.bytes || look(*head.bytes, *tail.bytes, whole, read.facts) != Look::Undecided)
        return read;
    // A file laid out as no release writes it: read whole, within the reader's limit.
    const platform::RegularFileRead all = platform::readRegularFile(path, collectionFileLimit);
    read.head = all.bytes;
    read.tail.reset();
    read.facts = all.bytes ? parseRunFacts(*all.bytes) : std::nullopt;
    return read;
}

} // namespace

std::optional<RunGlance> quickRunGlance(const QString &path)
{
    Read read = readFacts(path);
    if (!read.facts)
        return std::nullopt;
    RunGlance glance{std::move(*read.facts), {}, {}, {}};
    for (const std::optional<QByteArray> &bytes : {read.head, read.tail})
        if (bytes)
            glanceAt(*bytes, glance);
    return glance;
}

std::optional<RunFacts> quickRunFacts(const QString &path)
{
    return readFacts(path).facts;
}
