#include "model/ScannerDump.h"

#include "engine/FolderTotals.h"
#include "engine/LinkedFiles.h"
#include "engine/StatisticsEngine.h"
#include "helpers/NameText.h"
#include "platform/DirectorySearch.h"
#include "platform/FolderDriveSource.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>
#include <zlib.h>

namespace {

struct Refusal
{
    QString reason;
};

[[noreturn]] void refuse(const QString &reason)
{
    throw Refusal{reason};
}

// The bytes of the file, gunzipped on the way when they start as gzip does, in chunks: nothing
// but one chunk of each is held at a time.
class Input
{
public:
    using Reader = std::function<qint64(char *, qint64)>; // -1 on an error, 0 at the end
    explicit Input(Reader reader) : read(std::move(reader)) {}
    ~Input()
    {
        if (inflating)
            inflateEnd(&stream);
    }
    Input(const Input &) = delete;
    Input &operator=(const Input &) = delete;

    int peek()
    {
        if (at == out.size() && !fill())
            return -1;
        return uchar(out[at]);
    }
    int get()
    {
        const int c = peek();
        at += c >= 0;
        return c;
    }

private:
    static constexpr qint64 chunk = 256 * 1024;

    bool fill()
    {
        at = 0;
        out.clear();
        while (out.empty()) {
            if (!inflating && !started) {
                started = true;
                if (!readRaw())
                    return false;
                if (raw.size() >= 2 && uchar(raw[0]) == 0x1f && uchar(raw[1]) == 0x8b) {
                    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
                        refuse(QStringLiteral("it cannot be unpacked"));
                    inflating = true;
                }
            }
            if (!inflating) {
                if (rawAt == raw.size() && !readRaw())
                    return false;
                out.assign(raw.begin() + qsizetype(rawAt), raw.end());
                rawAt = raw.size();
                continue;
            }
            if (rawAt == raw.size() && !readRaw()) {
                if (!streamEnded)
                    refuse(QStringLiteral("it is cut short"));
                return false;
            }
            unpack();
        }
        return true;
    }

    void unpack()
    {
        if (streamEnded) { // another gzip member follows
            inflateReset(&stream);
            streamEnded = false;
        }
        out.resize(std::size_t(chunk));
        stream.next_in = reinterpret_cast<Bytef *>(raw.data() + rawAt);
        stream.avail_in = uInt(raw.size() - rawAt);
        stream.next_out = reinterpret_cast<Bytef *>(out.data());
        stream.avail_out = uInt(out.size());
        const int result = inflate(&stream, Z_NO_FLUSH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            refuse(QStringLiteral("its gzip packing is damaged"));
        const std::size_t before = rawAt;
        rawAt = raw.size() - stream.avail_in;
        out.resize(out.size() - stream.avail_out);
        streamEnded = result == Z_STREAM_END;
        // Input left that unpacks to nothing would be asked for again and again.
        if (!streamEnded && out.empty() && rawAt == before && rawAt < raw.size())
            refuse(QStringLiteral("its gzip packing is damaged"));
    }

    bool readRaw()
    {
        raw.resize(std::size_t(chunk));
        const qint64 got = read(raw.data(), chunk);
        if (got < 0)
            refuse(QStringLiteral("it cannot be read"));
        raw.resize(std::size_t(got));
        rawAt = 0;
        return got > 0;
    }

    Reader read;
    std::vector<char> raw, out;
    std::size_t rawAt = 0, at = 0;
    bool started = false, inflating = false, streamEnded = false;
    z_stream stream{};
};

// One entry as the dump describes it; what it leaves out stays 0.
struct Item
{
    std::string name;
    bool hasName = false;
    std::uint64_t size = 0, allocated = 0, device = 0, inode = 0, links = 0, mode = 0;
    bool hasDevice = false, hasMode = false, hasTime = false;
    std::int64_t mtime = 0;
    bool linked = false, readError = false, excluded = false;
};

class Parser
{
public:
    Parser(Input &input, std::optional<std::int64_t> today) : in(input), today(today) {}

    DumpFacts facts;
    std::int64_t written = 0; // the dump's own timestamp; 0 when it has none

    Collection read()
    {
        expect('[');
        if (wholeNumber() != 1)
            refuse(QStringLiteral("it is no dump of a layout this program reads"));
        expect(',');
        wholeNumber();
        expect(',');
        metadata();
        expect(',');
        startRun();
        folder(0, 0);
        expect(']');
        space();
        if (in.peek() >= 0)
            refuse(QStringLiteral("something follows the end of the dump"));
        return endRun();
    }

private:
    struct Level
    {
        FolderTally::Marks marks;
        std::int64_t ownFiles = 0;
        std::uint64_t ownBytes = 0;
        std::size_t pathLength = 0; // of path before this folder's name was added
        std::uint64_t device = 0;
    };

    void space()
    {
        for (int c = in.peek(); c == ' ' || c == '\n' || c == '\r' || c == '\t'; c = in.peek())
            in.get();
    }

    void expect(char wanted)
    {
        space();
        const int c = in.get();
        if (c != uchar(wanted))
            refuse(c < 0 ? QStringLiteral("it is cut short")
                         : QStringLiteral("it is damaged: \"%1\" where \"%2\" belongs")
                               .arg(QChar(c < 0x20 || c > 0x7e ? u'?' : char16_t(c)))
                               .arg(QChar::fromLatin1(wanted)));
    }

    bool maybe(char wanted)
    {
        space();
        if (in.peek() != uchar(wanted))
            return false;
        in.get();
        return true;
    }

    static void damaged(const QString &what)
    {
        refuse(QStringLiteral("it is damaged: %1").arg(what));
    }

    void literal(const char *word)
    {
        for (const char *c = word; *c; ++c)
            if (in.get() != uchar(*c))
                damaged(QStringLiteral("a word that is not JSON"));
    }

    // A string's bytes, escapes undone (names are bytes: they need not be UTF-8).
    std::string string()
    {
        expect('"');
        std::string text;
        for (;;) {
            int c = in.get();
            if (c < 0)
                refuse(QStringLiteral("it is cut short"));
            if (c == '"')
                return text;
            if (c < 0x20)
                damaged(QStringLiteral("a control character in a string"));
            if (c == '\\') {
                c = in.get();
                switch (c) {
                case '"':
                case '\\':
                case '/':
                    break;
                case 'b':
                    c = '\b';
                    break;
                case 'f':
                    c = '\f';
                    break;
                case 'n':
                    c = '\n';
                    break;
                case 'r':
                    c = '\r';
                    break;
                case 't':
                    c = '\t';
                    break;
                case 'u':
                    codePoint(text);
                    c = -1;
                    break;
                default:
                    damaged(QStringLiteral("an unknown escape in a string"));
                }
            }
            if (c >= 0)
                text += char(c);
            if (text.size() > std::size_t(dumpStringLimit))
                damaged(QStringLiteral("a string longer than any name"));
        }
    }

    unsigned hex4()
    {
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            const int c = in.get();
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                damaged(QStringLiteral("a \\u escape without four hex digits"));
            value = value * 16 + unsigned(digit);
        }
        return value;
    }

    void codePoint(std::string &text)
    {
        char32_t code = hex4();
        if (code >= 0xd800 && code < 0xdc00) {
            if (in.get() != '\\' || in.get() != 'u')
                damaged(QStringLiteral("half a surrogate pair"));
            const char32_t low = hex4();
            if (low < 0xdc00 || low >= 0xe000)
                damaged(QStringLiteral("half a surrogate pair"));
            code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
        } else if (code >= 0xdc00 && code < 0xe000) {
            damaged(QStringLiteral("half a surrogate pair"));
        }
        text += QString::fromUcs4(&code, 1).toUtf8().toStdString();
    }

    // A JSON number as its text, checked against the grammar.
    std::string numberText()
    {
        space();
        std::string text;
        auto digits = [&] {
            std::size_t count = 0;
            for (int c = in.peek(); c >= '0' && c <= '9'; c = in.peek(), ++count) {
                text += char(in.get());
                if (text.size() > 64)
                    damaged(QStringLiteral("a number too long"));
            }
            if (count == 0)
                damaged(QStringLiteral("a number without digits"));
        };
        if (in.peek() == '-')
            text += char(in.get());
        digits();
        if (text.size() > 1 + (text[0] == '-') && text[text[0] == '-'] == '0')
            damaged(QStringLiteral("a number with a leading zero"));
        if (in.peek() == '.') {
            text += char(in.get());
            digits();
        }
        if (in.peek() == 'e' || in.peek() == 'E') {
            text += char(in.get());
            if (in.peek() == '+' || in.peek() == '-')
                text += char(in.get());
            digits();
        }
        return text;
    }

    std::int64_t wholeNumber(bool negativeToo = false)
    {
        const std::string text = numberText();
        bool ok = false;
        const qlonglong value = QByteArray::fromStdString(text).toLongLong(&ok);
        if (!ok || (!negativeToo && value < 0))
            damaged(
                QStringLiteral("%1 is not a whole number in range").arg(QString::fromLatin1(text)));
        return value;
    }

    std::uint64_t count()
    {
        const std::string text = numberText();
        bool ok = false;
        const qulonglong value = QByteArray::fromStdString(text).toULongLong(&ok);
        if (!ok)
            damaged(
                QStringLiteral("%1 is not a whole number in range").arg(QString::fromLatin1(text)));
        return value;
    }

    // A file's size as a file system can hold it: up to 2^63 - 1 bytes.
    std::uint64_t fileSize()
    {
        const std::uint64_t size = count();
        if (size > std::uint64_t(INT64_MAX))
            damaged(QStringLiteral("a size larger than any file"));
        return size;
    }

    // Seconds since 1970 within the years a date can show (up to 9999).
    std::int64_t moment()
    {
        const std::int64_t at = wholeNumber(true);
        if (at < -62135596800 || at > 253402300799)
            damaged(QStringLiteral("a time outside the years 1 to 9999"));
        return at;
    }

    bool boolean()
    {
        space();
        if (in.peek() == 't')
            return literal("true"), true;
        literal("false");
        return false;
    }

    void skipValue(int depth)
    {
        if (depth > dumpDepthLimit)
            damaged(QStringLiteral("values nested too deep"));
        space();
        const int c = in.peek();
        if (c == '"') {
            string();
        } else if (c == '{' || c == '[') {
            in.get();
            const char close = c == '{' ? '}' : ']';
            if (maybe(close))
                return;
            do {
                if (c == '{') {
                    string();
                    expect(':');
                }
                skipValue(depth + 1);
            } while (maybe(','));
            expect(close);
        } else if (c == 't') {
            literal("true");
        } else if (c == 'f') {
            literal("false");
        } else if (c == 'n') {
            literal("null");
        } else {
            numberText();
        }
    }

    void metadata()
    {
        facts.maker = QStringLiteral("another scanner");
        expect('{');
        if (maybe('}'))
            return;
        QString name, version;
        do {
            const std::string key = string();
            expect(':');
            space();
            if (key == "progname" && in.peek() == '"')
                name = escapedName(QByteArray::fromStdString(string())).left(64);
            else if (key == "progver" && in.peek() == '"')
                version = escapedName(QByteArray::fromStdString(string())).left(64);
            else if (key == "timestamp" && in.peek() != '"')
                written = moment();
            else
                skipValue(1);
        } while (maybe(','));
        expect('}');
        facts.maker = (name.isEmpty() ? QStringLiteral("another scanner") : name) +
                      (version.isEmpty() ? QString() : u' ' + version);
    }

    Item item(int depth)
    {
        expect('{');
        Item it;
        if (!maybe('}')) {
            do {
                const std::string key = string();
                expect(':');
                if (key == "name") {
                    it.name = string();
                    it.hasName = true;
                } else if (key == "asize") {
                    it.size = fileSize();
                } else if (key == "dsize") {
                    it.allocated = fileSize();
                } else if (key == "dev") {
                    it.device = count();
                    it.hasDevice = true;
                } else if (key == "ino") {
                    it.inode = count();
                } else if (key == "nlink") {
                    it.links = count();
                } else if (key == "hlnkc") {
                    it.linked = boolean();
                } else if (key == "read_error") {
                    it.readError = boolean();
                } else if (key == "excluded") {
                    skipValue(depth + 1);
                    it.excluded = true;
                } else if (key == "mode") {
                    it.mode = count();
                    it.hasMode = true;
                } else if (key == "mtime") {
                    it.mtime = moment();
                    it.hasTime = true;
                } else {
                    skipValue(depth + 1);
                }
            } while (maybe(','));
            expect('}');
        }
        if (!it.hasName || it.name.find('\0') != std::string::npos ||
            (depth > 0 && (it.name.empty() || it.name.find('/') != std::string::npos ||
                           it.name == "." || it.name == "..")))
            damaged(QStringLiteral("an entry without a name of its own"));
        facts.hasModes |= it.hasMode;
        facts.hasTimes |= it.hasTime;
        return it;
    }

    void startRun()
    {
        engine.filter = Filter();
        engine.overhangPageEnabled = true;
        engine.clearVariables();
        tally.driveStarting();
        // Ages count from when the dump was written, as a walk's from when it ran.
        now = today ? *today : written > 0 ? written : std::int64_t(std::time(nullptr));
        const std::int64_t at = now;
        engine.clock = [at] { return at; };
    }

    // A folder as an array: its own entry, then its files and subfolders in any order.
    void folder(int depth, std::uint64_t parentDevice)
    {
        if (depth > dumpDepthLimit)
            damaged(QStringLiteral("folders nested too deep"));
        expect('[');
        const Item self = item(depth);
        ++entries;
        Level level;
        level.marks.entered = tally.mark();
        level.pathLength = path.size();
        level.device = self.hasDevice ? self.device : parentDevice;
        if (depth == 0) {
            root = QString::fromUtf8(self.name.data(), qsizetype(self.name.size()));
        } else {
            if (depth > 1)
                path += '/';
            path += self.name;
        }
        if (self.readError) {
            ++engine.foldersUnreadable;
            if (engine.unreadableFolders.size() < Accumulators::unreadableFoldersKept)
                engine.unreadableFolders.push_back(
                    {QByteArray::fromStdString(root.toStdString() + '/' + path),
                     QStringLiteral("The scanner could not read it")});
        }
        while (maybe(',')) {
            space();
            if (in.peek() == '[')
                folder(depth + 1, level.device);
            else
                file(item(depth + 1), level);
        }
        expect(']');
        const FolderTally::Mark at = tally.mark();
        level.marks.ownFiles = {at.files - level.ownFiles, at.bytes - level.ownBytes};
        tally.left(std::string_view(path), depth, level.marks);
        path.resize(level.pathLength);
    }

    void file(const Item &it, Level &level)
    {
        ++entries;
        if (it.excluded || (it.hasMode && S_ISDIR(mode_t(it.mode))))
            return; // not walked by the scanner, or a folder it left empty
        platform::DirectoryEntry entry;
        entry.rawName = it.name;
        entry.size = it.size;
        entry.allocated = it.allocated;
        entry.writeTime = it.hasTime ? it.mtime : 0;
        entry.device = it.hasDevice ? it.device : level.device;
        if (it.linked || it.links > 1) {
            entry.inode = it.inode;
            entry.links = std::uint32_t(
                std::max<std::uint64_t>(std::min<std::uint64_t>(it.links, UINT32_MAX), 2));
        }
        if (!it.name.empty() && it.name.front() == '.')
            entry.attributes |= platform::AttrHidden;
        if (it.hasMode) {
            const auto mode = mode_t(it.mode);
            if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode) || S_ISSOCK(mode))
                entry.attributes |= platform::AttrSystem;
            if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
                entry.attributes |= platform::AttrReadOnly;
        }
        if (entry.inode != 0 && !linked.firstName(entry)) {
            ++engine.linkedNamesSkipped;
            return;
        }
        engine.crunchNumbers(QString(), entry);
        ++engine.filesProcessed;
        tally.count(it.size);
        ++level.ownFiles;
        level.ownBytes += it.size;
    }

    Collection endRun()
    {
        Collection run;
        run.figures = engine;
        run.figures.folderTotals = {tally.driveEnded(QChar('c'))};
        run.figures.collected = true;
        const QDateTime at = QDateTime::fromSecsSinceEpoch(now).toLocalTime();
        run.facts.programVersion = QStringLiteral(KORVEL_VERSION);
        run.facts.started = run.facts.ended = at;
        run.facts.timeZone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
        DriveFacts drive;
        drive.letter = QChar('c');
        drive.mountPoint = root;
        drive.walked = true;
        drive.entriesMet = entries;
        drive.keepsCreationDates = false;
        run.facts.drives = {drive};
        run.facts.complete = true;
        return run;
    }

    Input &in;
    std::optional<std::int64_t> today;
    std::int64_t now = 0;
    platform::FolderDriveSource noDrives;
    StatisticsEngine engine{noDrives};
    FolderTally tally;
    LinkedFiles linked;
    std::string path; // below the root, of the folder being read
    QString root;
    std::uint64_t entries = 0;
};

DumpRead parse(Input &input, const QString &fileName, std::optional<std::int64_t> today)
{
    DumpRead result;
    try {
        Parser parser(input, today);
        Collection run = parser.read();
        // Figures no collection can hold (sums past what a file keeps) are refused here, not
        // shown and then lost on a save.
        if (const CollectionRead check = parseCollection(collectionJson(run)); !check)
            refuse(check.message);
        result.dump = parser.facts;
        result.collection = std::move(run);
    } catch (const Refusal &refusal) {
        result.message =
            QStringLiteral("Cannot open the dump %1: %2.").arg(fileName, refusal.reason);
    }
    result.dump.fileName = fileName;
    return result;
}

} // namespace

bool looksLikeScannerDump(const QByteArray &firstBytes)
{
    if (firstBytes.startsWith("\x1f\x8b"))
        return true;
    return firstBytes.trimmed().startsWith('[');
}

DumpRead parseScannerDump(const QByteArray &bytes, const QString &fileName,
                          std::optional<std::int64_t> today)
{
    qint64 at = 0;
    Input input([&](char *to, qint64 most) {
        const qint64 n = std::min(most, qint64(bytes.size()) - at);
        std::memcpy(to, bytes.constData() + at, std::size_t(n));
        at += n;
        return n;
    });
    return parse(input, fileName, today);
}

DumpRead readScannerDump(const QString &path, std::optional<std::int64_t> today)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        DumpRead result;
        result.message =
            QStringLiteral("Cannot open the dump %1: %2.").arg(name, file.errorString());
        return result;
    }
    Input input([&](char *to, qint64 most) { return file.read(to, most); });
    return parse(input, name, today);
}

OpenedRun readRunFile(const QString &path)
{
    QFile file(path);
    const QByteArray start = file.open(QIODevice::ReadOnly) ? file.peek(64) : QByteArray();
    file.close();
    if (!looksLikeScannerDump(start))
        return {readCollectionFile(path), std::nullopt};
    DumpRead dump = readScannerDump(path);
    return {{std::move(dump.collection), dump.message}, dump.dump};
}
