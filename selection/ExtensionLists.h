#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

// The "Include" and "Exclude" extension lists in korvel98.ini. An entry in memory is a pattern,
// a tab and the type's description; the file keeps only the patterns.

// The settings file: ~/.config/korvel98.ini unless a test set another path.
QString settingsFilePath();
void setSettingsFilePath(const QString &path); // empty puts the default back

// A refused write; what() is "Unable to write to korvel98.ini".
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
// Stores the patterns of source in a section. Throws SettingsWriteError when the file cannot be
// written; the file on disk is then as it was.
void WriteStatFilesToDisk(const QStringList &source, const QString &section);
