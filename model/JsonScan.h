#pragma once

#include <QByteArrayView>
#include <optional>
#include <vector>

// Finding one's way through the bytes of a JSON text without reading it into memory as a whole:
// where values, members and list elements begin and end. Only strings and brackets are followed;
// what lies between them is left to a real parser, which reads each piece found here.

// The first byte at or after i that is no JSON white space.
qsizetype jsonSkipSpace(QByteArrayView bytes, qsizetype i);
// One past the value that starts at i; -1 when the bytes end first.
qsizetype jsonValueEnd(QByteArrayView bytes, qsizetype i);

// Where a piece lies in the bytes: [begin, end).
struct JsonSpan
{
    qsizetype begin = 0, end = 0;
};

// A member of an object: its key as written (between the quotes) and where its value lies.
struct JsonMember
{
    QByteArrayView key;
    JsonSpan value;
};

// The members of the object the bytes hold, in order; nothing when the bytes are not one object
// as this can follow it, or a key holds an escape (it would not read as written).
std::optional<std::vector<JsonMember>> jsonMembers(QByteArrayView object);
// The elements of the list the bytes hold, in order; nothing when they are not one list.
std::optional<std::vector<JsonSpan>> jsonElements(QByteArrayView list);
