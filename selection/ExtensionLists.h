#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

// The "Include" and "Exclude" extension lists in korvel98.ini. An entry in memory is a pattern,
// a tab and the type's description; the file keeps only the patterns.

// The settings file: $XDG_CONFIG_HOME/korvel98.ini, or ~/.config/korvel98.ini when that is not
// set to an absolute path, unless a test set another path. Fixed at the first call.
QString settingsFilePath();
// Where the settings file lies for a value of XDG_CONFIG_HOME and a home folder.
QString settingsFileFor(const QString &xdgConfigHome, const QString &home);
void setSettingsFilePath(const QString &path); // empty puts the default back

// A refused write; what() is "Unable to write to korvel98.ini", followed by the reason when the
// program itself refused: a file it did not read whole, or a lock another program kept.
class SettingsWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The extension of a pattern: from its last dot on, looking only past the last backslash or
// colon; empty without a dot ("*.doc" -> ".doc").
QString patternExtension(const QString &pattern);

// Replaces target with the list of a section, the three defaults when it was never written.
void ReadStatFilesFromDisk(QStringList &target, const QString &section);
// Stores the patterns of source in a section, keeping everything else the file holds. Throws
// SettingsWriteError when the file cannot be written or was not read whole; the file on disk is
// then as it was.
void WriteStatFilesToDisk(const QStringList &source, const QString &section);
