#include "platform/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace platform {

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString decode(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes).trimmed();
}

} // namespace

ProfileFile::ProfileFile(const QString &path) : filePath(path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = file.readAll();
    // Some editors start the file with a byte order mark: it is no part of the first line.
    qsizetype begin = content.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (begin < content.size()) {
        qsizetype end = content.indexOf('\n', begin);
        if (end < 0)
            end = content.size();
        QByteArray text = content.mid(begin, end - begin);
        if (text.endsWith('\r'))
            text.chop(1);
        lines.append(parse(text));
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

void ProfileFile::setValue(const QString &section, const QString &key, const QString &value)
{
    QByteArray bytes = value.toUtf8();
    const auto lineBreak =
        std::find_if(bytes.begin(), bytes.end(), [](char c) { return c == '\n' || c == '\r'; });
    bytes.truncate(lineBreak - bytes.begin());
    const QByteArray text = key.toUtf8() + '=' + bytes;
    const qsizetype at = keyLine(section, key);
    if (at >= 0) {
        lines[at] = parse(text);
        return;
    }
    auto [begin, end] = sectionRange(section);
    if (begin < 0) {
        lines.append(parse('[' + section.toUtf8() + ']'));
        lines.append(parse(text));
        return;
    }
    // After the section's last non-blank line, so the blank line before the next section stays.
    while (end > begin && lines[end - 1].text.trimmed().isEmpty())
        --end;
    lines.insert(end, parse(text));
}

bool ProfileFile::save() const
{
    const QFileInfo info(filePath);
    // A file its owner made read-only is left alone, as is a folder that cannot be made.
    if ((info.exists() && !info.isWritable()) || !QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const Line &line : lines)
        if (file.write(line.text + '\n') != line.text.size() + 1)
            return false; // the old file stays; QSaveFile throws the temporary away
    return file.commit();
}

} // namespace platform
