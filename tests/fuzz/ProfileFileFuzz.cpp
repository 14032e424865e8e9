// The settings file's reader and writer. The input is a file; the target reads it, writes it back
// unchanged, then sets one key and writes again:
// - a file written back unchanged keeps every byte (a missing last line break is added);
// - the key set reads back as set, and every other key of every section reads as it did.

#include "fuzz/FuzzInput.h"
#include "fuzz/SettingsValue.h"
#include "platform/ProfileFile.h"

#include <QFile>
#include <QTemporaryDir>

using korvel::fuzz::FuzzInput;
using korvel::fuzz::settingsValueAsRead;
using platform::ProfileFile;

namespace {

QString folder()
{
    // Memory-backed where there is such a folder: every input writes the file twice.
    static QTemporaryDir dir(QFile::exists("/dev/shm") ? "/dev/shm/korvel-fuzz-XXXXXX" : QString());
    return dir.path();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

QString without(QString text, QStringView characters)
{
    text.removeIf([&](QChar c) { return characters.contains(c); });
    return text;
}

// The section names of a file, as a reader would see them: each "[" line up to its "]".
QStringList sectionNames(const QByteArray &content)
{
    QStringList names{"Include", "Exclude"};
    for (const QByteArray &line : content.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (!trimmed.startsWith('['))
            continue;
        const qsizetype close = trimmed.indexOf(']');
        names << QString::fromUtf8(trimmed.mid(1, close < 0 ? -1 : close - 1)).trimmed();
        if (names.size() > 12)
            break;
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    // The first line names the section, key and value to set; the rest is the file.
    const QByteArray edit = input.upTo('\n');
    const QList<QByteArray> parts = edit.split('\x01');
    // Names as the program gives them: no brackets or line breaks in a section name, no equals
    // sign, comment or section mark in a key.
    const QString section = without(QString::fromUtf8(parts.value(0)), u"[]\r\n").trimmed();
    const QString key = without(QString::fromUtf8(parts.value(1)), u"=[;\r\n").trimmed();
    const QString value = QString::fromUtf8(parts.value(2));
    const QByteArray content = input.rest();

    const QString path = folder() + "/k.ini";
    writeBytes(path, content);
    const ProfileFile before(path);
    FUZZ_CHECK(before.save());
    QByteArray expected = content;
    if (!expected.isEmpty() && expected != "\xEF\xBB\xBF" && !expected.endsWith('\n'))
        expected += '\n';
    FUZZ_CHECK(fileBytes(path) == expected);

    if (section.isEmpty() || key.isEmpty())
        return 0;
    ProfileFile changed(path);
    changed.setValue(section, key, value);
    FUZZ_CHECK(changed.save());
    const ProfileFile after(path);
    FUZZ_CHECK(after.value(section, key) == settingsValueAsRead(value));
    for (const QString &name : sectionNames(content)) {
        auto entries = before.entries(name);
        auto now = after.entries(name);
        if (name.compare(section, Qt::CaseInsensitive) == 0) {
            // The first entry of the key took the new value, or the key came last.
            const auto same = [&](const auto &entry) {
                return entry.first.compare(key, Qt::CaseInsensitive) == 0;
            };
            const auto it = std::find_if(entries.begin(), entries.end(), same);
            if (it != entries.end())
                *it = {key, settingsValueAsRead(value)};
            else
                entries.append({key, settingsValueAsRead(value)});
        }
        FUZZ_CHECK(now == entries);
    }
    return 0;
}
