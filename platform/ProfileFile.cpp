#include "platform/ProfileFile.h"

#include "platform/FileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Only the file's own first bytes are a byte order mark: a name or value that begins with U+FEFF
// keeps it (QString::fromUtf8 would drop it).
QString decode(const QByteArray &bytes)
{
    QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return QString(toUtf16(bytes)).trimmed();
}

} // namespace

// The settings path may name anything: a pipe would block the reader for good, a device such as
// /dev/zero would never end. Opening without blocking and looking at what was opened rules both
// out, with no gap between the look and the read.
QByteArray ProfileFile::readRegularFile(const QString &path, QString &problem)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // No file (or no folder for it) is an empty file; anything else may hide settings.
        if (errno != ENOENT && errno != ENOTDIR)
            problem = QStringLiteral("could not be read (%1)").arg(std::strerror(errno));
        return QByteArray();
    }
    QByteArray content;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        problem = QStringLiteral("is not a regular file");
    } else if (st.st_size > maxFileSize) {
        problem = QStringLiteral("is larger than %1 MB").arg(maxFileSize >> 20);
    } else {
        // Room for one byte more than the file holds: a file that grows meanwhile is followed,
        // up to one byte more than allowed, which tells it from a file that just fits.
        content.resize(qsizetype(st.st_size) + 1);
        qsizetype got = 0;
        while (true) {
            if (got == content.size()) {
                if (got > maxFileSize)
                    break;
                content.resize(std::min(2 * content.size(), qsizetype(maxFileSize) + 1));
            }
            const ssize_t n = ::read(fd, content.data() + got, std::size_t(content.size() - got));
            if (n == 0)
                break;
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                problem = QStringLiteral("could not be read (%1)").arg(std::strerror(errno));
                break;
            }
            got += n;
        }
        content.truncate(got);
        if (problem.isEmpty() && got > maxFileSize)
            problem = QStringLiteral("is larger than %1 MB").arg(maxFileSize >> 20);
    }
    ::close(fd);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "korvel98: %s %s; its settings are not read\n", name.constData(),
                     problem.toLocal8Bit().constData());
        return QByteArray();
    }
    return content;
}

ProfileFile::ProfileFile(const QString &path) : filePath(path)
{
    const QByteArray content = readRegularFile(path, problem);
    // Some editors start the file with a byte order mark: it is no part of the first line.
    qsizetype begin = content.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    byteOrderMark = content.left(begin);
    while (begin < content.size()) {
        qsizetype end = content.indexOf('\n', begin);
        if (end < 0)
            end = content.size();
        QByteArray text = content.mid(begin, end - begin);
        const bool carriageReturn = text.endsWith('\r');
        if (carriageReturn)
            text.chop(1);
        lines.append(parse(text));
        lines.back().carriageReturn = carriageReturn;
        begin = end + 1;
    }
}

ProfileFile::Line ProfileFile::parse(const QByteArray &text)
{
    Line line;
    line.text = text;
    const QByteArray trimmed = text.trimmed();
    if (trimmed.startsWith('[')) {
        const qsizetype close = trimmed.indexOf(']');
        line.isSection = true;
        line.section = decode(trimmed.mid(1, close < 0 ? -1 : close - 1));
        return line;
    }
    if (trimmed.startsWith(';'))
        return line;
    const qsizetype equals = text.indexOf('=');
    if (equals > 0)
        line.key = decode(text.left(equals));
    return line;
}

std::pair<qsizetype, qsizetype> ProfileFile::sectionRange(const QString &section) const
{
    qsizetype begin = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].isSection)
            continue;
        if (begin >= 0)
            return {begin, i};
        if (sameName(lines[i].section, section))
            begin = i + 1;
    }
    return {begin, lines.size()};
}

qsizetype ProfileFile::keyLine(const QString &section, const QString &key) const
{
    const auto [begin, end] = sectionRange(section);
    if (begin < 0)
        return -1;
    for (qsizetype i = begin; i < end; ++i)
        if (!lines[i].key.isEmpty() && sameName(lines[i].key, key))
            return i;
    return -1;
}

std::optional<QString> ProfileFile::value(const QString &section, const QString &key) const
{
    const qsizetype at = keyLine(section, key);
    if (at < 0)
        return std::nullopt;
    return valueOf(lines[at]);
}

QString ProfileFile::valueOf(const Line &line)
{
    const QByteArray &text = line.text;
    QString result = decode(text.mid(text.indexOf('=') + 1));
    // A value written in quotes means the text between them.
    if (result.size() >= 2 && result.front() == result.back() &&
        (result.front() == u'"' || result.front() == u'\''))
        result = result.mid(1, result.size() - 2);
    return result.left(maxValueLength);
}

QList<std::pair<QString, QString>> ProfileFile::entries(const QString &section) const
{
    QList<std::pair<QString, QString>> found;
    const auto [begin, end] = sectionRange(section);
    if (begin < 0)
        return found;
    for (qsizetype i = begin; i < end; ++i)
        if (!lines[i].key.isEmpty())
            found.append({lines[i].key, valueOf(lines[i])});
    return found;
}

// A value ends at its first line break, so that no value can add lines of its own to the file.
ProfileFile::Line ProfileFile::makeKeyLine(const QString &key, const QString &value)
{
    QByteArray bytes = value.toUtf8();
    const auto lineBreak =
        std::find_if(bytes.begin(), bytes.end(), [](char c) { return c == '\n' || c == '\r'; });
    bytes.truncate(lineBreak - bytes.begin());
    return parse(key.toUtf8() + '=' + bytes);
}

void ProfileFile::setValue(const QString &section, const QString &key, const QString &value)
{
    setValues(section, {{key, value}});
}

// One look at the section finds every key there is; the new ones go in together, so a long list
// costs one pass and one insertion instead of one of each per key.
void ProfileFile::setValues(const QString &section,
                            const QList<std::pair<QString, QString>> &values)
{
    auto [begin, end] = sectionRange(section);
    if (begin < 0) {
        lines.append(parse('[' + section.toUtf8() + ']'));
        begin = end = lines.size();
    }
    QHash<QString, qsizetype> existing;
    // From the end, so that of two equal keys the first is the one left in the table.
    for (qsizetype i = end - 1; i >= begin; --i)
        if (!lines[i].key.isEmpty())
            existing.insert(lines[i].key.toCaseFolded(), i);
    QList<Line> added;
    QHash<QString, qsizetype> addedAt;
    for (const auto &[key, value] : values) {
        const QString folded = key.toCaseFolded();
        if (const auto it = existing.constFind(folded); it != existing.cend()) {
            const bool carriageReturn = lines[*it].carriageReturn;
            lines[*it] = makeKeyLine(key, value);
            lines[*it].carriageReturn = carriageReturn;
        } else if (const auto at = addedAt.constFind(folded); at != addedAt.cend()) {
            added[*at] = makeKeyLine(key, value);
        } else {
            addedAt.insert(folded, added.size());
            added.append(makeKeyLine(key, value));
        }
    }
    if (added.isEmpty())
        return;
    // After the section's last non-blank line, so the blank line before the next section stays.
    while (end > begin && lines[end - 1].text.trimmed().isEmpty())
        --end;
    QList<Line> merged;
    merged.reserve(lines.size() + added.size());
    merged.append(lines.mid(0, end));
    merged.append(added);
    merged.append(lines.mid(end));
    lines = std::move(merged);
}

bool ProfileFile::save() const
{
    const QFileInfo info(filePath);
    // A file its owner made read-only is left alone, as is a folder that cannot be made, and a
    // file of which only a part (or nothing) was read.
    if (!problem.isEmpty() || (info.exists() && !info.isWritable()) ||
        !QDir().mkpath(info.absolutePath()))
        return false;
    QByteArray content = byteOrderMark;
    for (const Line &line : lines)
        content += line.text + (line.carriageReturn ? "\r\n" : "\n");
    // Written as every file of the program is: on a failure the old file stays whole.
    return !writeFile(filePath, [&content](QIODevice &file) {
                return file.write(content) == content.size();
            }).has_value();
}

} // namespace platform
