#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// An initialisation file: "[Section]" lines and "key=value" lines below them. Section and key
// names are compared without regard to case; the first of two equal sections or keys is the one
// that counts. Lines the layer does not understand (comments, garbage, text before the first
// section) are kept byte for byte when the file is written back.
class ProfileFile
{
public:
    // Reads the file; a missing or unreadable file reads as empty, and so does anything but a
    // regular file (a pipe would never end) or a file larger than maxFileSize, with a line on
    // standard error.
    explicit ProfileFile(const QString &path);

    QString path() const { return filePath; }
    // Why the file was not read whole ("is larger than 4 MB"); empty when it was, or when there
    // is no file. Such a file may hold more than what was read and is never replaced.
    QString readProblem() const { return problem; }

    // The value of a key, trimmed, at most 1023 characters; nullopt when the key is missing.
    std::optional<QString> value(const QString &section, const QString &key) const;
    // The keys of a section with their values (as value() gives them), in file order.
    QList<std::pair<QString, QString>> entries(const QString &section) const;

    // Replaces the key's value in its section, or adds the key at the end of the section, or adds
    // the section at the end of the file. A value ends at its first line break, so that no value
    // can add lines of its own to the file. Only memory changes until save().
    void setValue(const QString &section, const QString &key, const QString &value);
    // The same for many keys of one section at once, in time linear in the size of the file.
    void setValues(const QString &section, const QList<std::pair<QString, QString>> &values);

    // Replaces the file as a whole: a temporary file in the same folder is written, flushed to
    // disk and renamed over the old one, so the old file stays whole when anything fails. Creates
    // the folder when it is missing. False when the file could not be replaced, or was not read
    // whole.
    bool save() const;

    static constexpr int maxValueLength = 1023;
    static constexpr qint64 maxFileSize = 4 << 20;

private:
    struct Line
    {
        QByteArray text;             // as in the file, without its line break
        bool carriageReturn = false; // the line ended in "\r\n" and is written back so
        bool isSection = false;
        QString section; // for a section line: the name
        QString key;     // for a key line: the name; else empty
    };

    // Index range [begin, end) of the lines of the first section with this name; begin = -1 when
    // there is none. A section's range runs up to the next section line.
    std::pair<qsizetype, qsizetype> sectionRange(const QString &section) const;
    qsizetype keyLine(const QString &section, const QString &key) const;
    static Line parse(const QByteArray &text);
    static Line makeKeyLine(const QString &key, const QString &value);
    // The whole content of a regular file; problem tells why not when it is not read whole.
    static QByteArray readRegularFile(const QString &path, QString &problem);
    static QString valueOf(const Line &line);

    QString filePath;
    QString problem;
    QByteArray byteOrderMark; // as the file started, written back as it was
    QList<Line> lines;
};

} // namespace platform
