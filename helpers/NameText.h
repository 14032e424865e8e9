#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// Names and paths as the file system holds them are bytes, and not every string of bytes is
// UTF-8. These turn them into text a person can read and back, without two names ever reading
// alike: valid UTF-8 stands as it is; a byte that is no part of valid UTF-8 reads "\xFF"; control,
// invisible and direction characters read "\n", "\t", "\r" or "\u202E"; and the backslash itself
// reads "\\".

QString escapedName(QByteArrayView bytes);

// The bytes of a text escapedName gave; nothing when the text is not exactly what escapedName
// gives for any bytes (an escape it never writes, a character it would have escaped, a lone
// backslash).
std::optional<QByteArray> unescapedName(QStringView text);

// The bytes a name's text stands for: those unescapedName gives, or, for a text that is no such
// spelling (typed by hand, or kept before names were shown escaped), the text's own UTF-8.
QByteArray nameBytes(QStringView text);

// A name with the letters of its valid UTF-8 in upper or in lower case; bytes that are no part of
// valid UTF-8 stay as they are, so that names told apart by them stay apart.
QByteArray upperName(QByteArrayView bytes);
QByteArray lowerName(QByteArrayView bytes);

// The characters of a name as a person counts them: each character of its valid UTF-8 once, and
// each byte that is no part of it once.
qsizetype nameLength(QByteArrayView bytes);
