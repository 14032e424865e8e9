#include "model/JsonScan.h"

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
        int depth = 0;
        bool inText = false;
        for (; i < bytes.size(); ++i) {
            const char c = bytes[i];
            if (inText) {
                if (c == '\\')
                    ++i;
                else if (c == '"')
                    inText = false;
            } else if (c == '"') {
                inText = true;
            } else if (c == '{' || c == '[') {
                ++depth;
            } else if (c == '}' || c == ']') {
                --depth;
            }
            if (depth == 0 && !inText)
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
