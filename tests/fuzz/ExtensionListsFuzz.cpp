// Fuzz links: korvel_selection
//
// The extension lists over any settings file. The input is a list to save (patterns apart by
// byte 1, up to a zero byte), then the file. The target reads both lists, saves the list in one
// section and reads again:
// - every entry read is a pattern, a tab and a description, the defaults when "Number" is missing;
// - the saved list reads back as saved (each pattern as the file keeps it, empty ones left out);
// - the other list reads as it did.

#include "fuzz/FuzzInput.h"
#include "fuzz/SettingsValue.h"
#include "platform/TypeRegistry.h"
#include "selection/ExtensionLists.h"

#include <QFile>
#include <QTemporaryDir>

using korvel::fuzz::FuzzInput;
using korvel::fuzz::settingsValueAsRead;

namespace {

QString settingsPath()
{
    static QTemporaryDir dir(QFile::exists("/dev/shm") ? "/dev/shm/korvel-fuzz-XXXXXX" : QString());
    return dir.filePath("korvel98.ini");
}

QStringList read(const QString &section)
{
    QStringList list{"stale"};
    ReadStatFilesFromDisk(list, section);
    for (const QString &entry : list)
        FUZZ_CHECK(entry.contains(u'\t') && !entry.startsWith(u'\t'));
    return list;
}

QStringList patternsOf(const QStringList &entries)
{
    QStringList patterns;
    for (const QString &entry : entries)
        patterns << entry.left(entry.indexOf(u'\t'));
    return patterns;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // A fixed table of types: the machine's MIME database would make runs differ between machines.
    auto table = std::make_unique<platform::TableTypeRegistry>();
    table->addExtension(".doc", "Word.Document");
    table->addClass("Word.Document", "Word document");
    platform::setTypeRegistry(std::move(table));
    setSettingsFilePath(settingsPath());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    const QString sections[] = {"Include", "Exclude"};
    const int saved = input.choice(2);
    const QStringList list = QString::fromUtf8(input.upTo('\0')).split(u'\x01');
    const QByteArray content = input.rest();
    QFile file(settingsPath());
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(content) == content.size());
    file.close();

    const QStringList other = read(sections[1 - saved]);
    read(sections[saved]);
    try {
        WriteStatFilesToDisk(list, sections[saved]);
    } catch (const SettingsWriteError &) {
        FUZZ_CHECK(!"a small settings file was not saved");
    }
    QStringList expected;
    for (const QString &entry : list)
        if (const QString pattern = settingsValueAsRead(entry.left(entry.indexOf(u'\t')));
            !pattern.isEmpty())
            expected << pattern;
    FUZZ_CHECK(patternsOf(read(sections[saved])) == expected);
    FUZZ_CHECK(read(sections[1 - saved]) == other);
    return 0;
}
