#include "selection/ExtensionLists.h"

#include "helpers/Helpers.h"
#include "platform/FileLock.h"
#include "platform/ProfileFile.h"
#include "selection/TypeNames.h"

#include <QDir>
#include <QMap>
#include <algorithm>

namespace {

const QString fileName = QStringLiteral("korvel98.ini");

QString &overridePath()
{
    static QString path;
    return path;
}

QString entryFor(const QString &pattern)
{
    return pattern + u'\t' + getTypeName(patternExtension(pattern));
}

// "Number" as the list was saved; -1 when it is missing or not a whole number.
int storedCount(const platform::ProfileFile &file, const QString &section)
{
    QString text = file.value(section, QStringLiteral("Number")).value_or(QString());
    if (text.size() > 2 &&
        (text.startsWith(QStringLiteral("0x")) || text.startsWith(QStringLiteral("0X"))))
        text = u'$' + text.mid(2);
    int count = -1;
    return textToIntChecked(text, count) ? count : -1;
}

// The patterns of the "File<n>" keys of a section with n in 1..count, in the order of n. Only
// the keys that exist are visited, so a huge "Number" costs nothing; of two equal keys the first
// counts.
QStringList storedPatterns(const platform::ProfileFile &file, const QString &section, int count)
{
    QMap<int, QString> byNumber;
    for (const auto &[key, value] : file.entries(section)) {
        if (!key.startsWith(QStringLiteral("File"), Qt::CaseInsensitive))
            continue;
        const QString digits = key.mid(4);
        if (digits.isEmpty() || digits.startsWith(u'0') || digitsOnly(digits) != digits)
            continue;
        const int n = textToInt(digits);
        if (n >= 1 && n <= count && !byNumber.contains(n))
            byNumber.insert(n, value);
    }
    return byNumber.values();
}

} // namespace

QString patternExtension(const QString &pattern)
{
    const qsizetype start = std::max(pattern.lastIndexOf(u'\\'), pattern.lastIndexOf(u':')) + 1;
    const qsizetype dot = pattern.lastIndexOf(u'.');
    return dot >= start ? pattern.mid(dot) : QString();
}

// A relative XDG_CONFIG_HOME is invalid and ignored (it would be taken from whatever folder is
// current at the moment, the drive walked last).
QString settingsFileFor(const QString &xdgConfigHome, const QString &home)
{
    const QString folder =
        QDir::isAbsolutePath(xdgConfigHome) ? xdgConfigHome : home + QStringLiteral("/.config");
    return QDir::cleanPath(folder + u'/' + fileName);
}

// Worked out once, at the first question (the program asks at start), and kept: the file stays
// where it was found whatever the environment or the working folder do later.
QString settingsFilePath()
{
    if (!overridePath().isEmpty())
        return overridePath();
    static const QString resolved =
        QDir(QDir::currentPath())
            .absoluteFilePath(
                settingsFileFor(qEnvironmentVariable("XDG_CONFIG_HOME"), QDir::homePath()));
    return resolved;
}

void setSettingsFilePath(const QString &path)
{
    overridePath() = path;
}

void ReadStatFilesFromDisk(QStringList &target, const QString &section)
{
    const platform::ProfileFile file(settingsFilePath());
    const int count = storedCount(file, section);
    target.clear();
    for (const QString &pattern : storedPatterns(file, section, count))
        if (!pattern.isEmpty())
            target.append(entryFor(pattern));
    if (count < 0)
        for (const char *pattern : {"*.doc", "*.exe", "*.dll"})
            target.append(entryFor(QString::fromLatin1(pattern)));
}

// Each save reads the file, changes one section and writes the whole file back. Another instance
// of the program doing the same meanwhile would have its change thrown away, so the three steps
// happen under a lock on a file beside the settings file.
void WriteStatFilesToDisk(const QStringList &source, const QString &section)
{
    const QString path = settingsFilePath();
    const auto refused = [&](const QString &why) {
        QString message = QStringLiteral("Unable to write to ") + fileName;
        if (!why.isEmpty())
            message += QStringLiteral(": ") + why;
        throw SettingsWriteError(message.toStdString());
    };
    const platform::FileLock lock(path + QStringLiteral(".lock"));
    if (lock.state() == platform::FileLock::Busy)
        refused(QStringLiteral("another program kept %1.lock locked").arg(path));
    if (lock.state() != platform::FileLock::Held)
        refused(QString());

    platform::ProfileFile file(path);
    // A file not read whole may hold more than what was read: it is left as it is.
    if (!file.readProblem().isEmpty())
        refused(QStringLiteral("%1 %2, so it was not read whole and is left as it is")
                    .arg(path, file.readProblem()));
    QList<std::pair<QString, QString>> values;
    values.reserve(source.size() + 1);
    values.append({QStringLiteral("Number"), QString::number(source.size())});
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QString &entry = source[i];
        values.append({QStringLiteral("File%1").arg(i + 1), entry.left(entry.indexOf(u'\t'))});
    }
    file.setValues(section, values);
    // The whole list goes to disk in one replacement of the file: a refused write leaves the old
    // list complete instead of half of the new one.
    if (!file.save())
        refused(QString());
}
