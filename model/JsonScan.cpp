#include "model/JsonScan.h"

#include <cstring>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The bytes hold nothing but white space from i on.
bool onlySpaceFrom(QByteArrayView bytes, qsizetype i)
{
    return jsonSkipSpace(bytes, i) == bytes.size();
}

// The closing quote of the text whose opening quote is at open; -1 when the bytes end first. A
// quote after an odd number of backslashes is part of the text.
qsizetype textEnd(QByteArrayView bytes, qsizetype open)
{
    const char *data = bytes.data();
    for (qsizetype from = open + 1; from < bytes.size();) {
        const auto *quote = static_cast<const char *>(
            std::memchr(data + from, '"', std::size_t(bytes.size() - from)));
        if (!quote)
            return -1;
        const qsizetype at = quote - data;
        qsizetype escapes = at;
        while (escapes > open + 1 && data[escapes - 1] == '\\')
            --escapes;
        if ((at - escapes) % 2 == 0)
            return at;
        from = at + 1;
    }
    return -1;
}

} // namespace

qsizetype jsonSkipSpace(QByteArrayView bytes, qsizetype i)
{
    while (i < bytes.size() && isSpace(bytes[i]))
        ++i;
    return i;
}

qsizetype jsonValueEnd(QByteArrayView bytes, qsizetype i)
{
    if (i >= bytes.size())
        return -1;
    if (bytes[i] == '"' || bytes[i] == '{' || bytes[i] == '[') {
        const qsizetype size = bytes.size();
        int depth = 0;
        for (; i < size; ++i) {
            const char c = bytes[i];
            if (c == '"') {
                // A text is passed over in a loop of its own: texts are most of a collection's
                // bytes, and the lists it holds are looked through more than once.
                i = textEnd(bytes, i);
                if (i < 0)
                    return -1;
            } else if (c == '{' || c == '[') {
                ++depth;
            } else if (c == '}' || c == ']') {
                --depth;
            }
            if (depth == 0)
                return i + 1;
        }
        return -1;
    }
    while (i < bytes.size() && bytes[i] != ',' && bytes[i] != '}' && bytes[i] != ']' &&
           !isSpace(bytes[i]))
        ++i;
    return i < bytes.size() ? i : -1;
}

std::optional<std::vector<JsonMember>> jsonMembers(QByteArrayView object)
{
    qsizetype i = jsonSkipSpace(object, 0);
    if (i >= object.size() || object[i] != '{')
        return std::nullopt;
    std::vector<JsonMember> members;
    i = jsonSkipSpace(object, i + 1);
    if (i < object.size() && object[i] == '}')
        return onlySpaceFrom(object, i + 1) ? std::optional(members) : std::nullopt;
    while (true) {
        const qsizetype keyEnd =
            i < object.size() && object[i] == '"' ? jsonValueEnd(object, i) : -1;
        if (keyEnd < 0)
            return std::nullopt;
        const QByteArrayView key = object.sliced(i + 1, keyEnd - i - 2);
        if (key.contains('\\'))
            return std::nullopt;
        i = jsonSkipSpace(object, keyEnd);
        if (i >= object.size() || object[i] != ':')
            return std::nullopt;
        const qsizetype begin = jsonSkipSpace(object, i + 1);
        const qsizetype end = jsonValueEnd(object, begin);
        if (end < 0)
            return std::nullopt;
        members.push_back({key, {begin, end}});
        i = jsonSkipSpace(object, end);
        if (i < object.size() && object[i] == '}')
            return onlySpaceFrom(object, i + 1) ? std::optional(members) : std::nullopt;
        if (i >= object.size() || object[i] != ',')
            return std::nullopt;
        i = jsonSkipSpace(object, i + 1);
    }
}

std::optional<std::vector<JsonSpan>> jsonElements(QByteArrayView list)
{
    qsizetype i = jsonSkipSpace(list, 0);
    if (i >= list.size() || list[i] != '[')
        return std::nullopt;
    std::vector<JsonSpan> elements;
    i = jsonSkipSpace(list, i + 1);
    if (i < list.size() && list[i] == ']')
        return onlySpaceFrom(list, i + 1) ? std::optional(elements) : std::nullopt;
    while (true) {
        const qsizetype end = jsonValueEnd(list, i);
        if (end < 0 || end == i)
            return std::nullopt;
        elements.push_back({i, end});
        i = jsonSkipSpace(list, end);
        if (i < list.size() && list[i] == ']')
            return onlySpaceFrom(list, i + 1) ? std::optional(elements) : std::nullopt;
        if (i >= list.size() || list[i] != ',')
            return std::nullopt;
        i = jsonSkipSpace(list, i + 1);
    }
}
