#pragma once

#include "platform/ProfileFile.h"

#include <QString>
#include <algorithm>

namespace korvel::fuzz {

// What reading the settings file gives back of a value that was set: up to its first line break,
// trimmed, without one pair of quotes around it, cut to the longest value.
inline QString settingsValueAsRead(const QString &set)
{
    QString value = set;
    const auto lineBreak =
        std::find_if(value.begin(), value.end(), [](QChar c) { return c == u'\n' || c == u'\r'; });
    value.truncate(lineBreak - value.begin());
    value = value.trimmed();
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == u'"' || value.front() == u'\''))
        value = value.mid(1, value.size() - 2);
    return value.left(platform::ProfileFile::maxValueLength);
}

} // namespace korvel::fuzz
