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
