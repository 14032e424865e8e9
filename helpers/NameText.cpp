#include "helpers/NameText.h"

#include <algorithm>

namespace {

// The length of the valid UTF-8 sequence that starts at a byte, with its character; 0 when the
// byte starts none (a stray continuation byte, a cut or overlong sequence, a surrogate half, or a
// value past U+10FFFF).
int sequenceAt(QByteArrayView bytes, qsizetype at, char32_t &character)
{
    const auto lead = uchar(bytes[at]);
    if (lead < 0x80) {
        character = lead;
        return 1;
    }
    int length;
    char32_t least;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        character = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        character = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        character = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        const auto next = uchar(bytes[at + i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        character = (character << 6) | (next & 0x3F);
    }
    if (character < least || character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF))
        return 0;
    return length;
}

// Characters that show nothing, move the text or turn its direction: a name that holds one would
// look like another name, or push the text beside it about.
bool unseen(char32_t character)
{
    if (character < 0x20 || (character >= 0x7F && character <= 0x9F))
        return true;
    switch (QChar::category(character)) {
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString hex(unsigned value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString escapeOf(char32_t character)
{
    switch (character) {
    case '\t':
        return QStringLiteral("\\t");
    case '\n':
        return QStringLiteral("\\n");
    case '\r':
        return QStringLiteral("\\r");
    default:
        return character > 0xFFFF ? QStringLiteral("\\U") + hex(character, 8)
                                  : QStringLiteral("\\u") + hex(character, 4);
    }
}

// The value of the hex digits of an escape; nothing when they are not all hex digits.
std::optional<char32_t> hexValue(QStringView digits)
{
    char32_t value = 0;
    for (const QChar c : digits) {
        const int digit = (c >= u'0' && c <= u'9')   ? c.unicode() - '0'
                          : (c >= u'A' && c <= u'F') ? c.unicode() - 'A' + 10
                          : (c >= u'a' && c <= u'f') ? c.unicode() - 'a' + 10
                                                     : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + char32_t(digit);
    }
    return value;
}

void appendUtf8(QByteArray &out, char32_t character)
{
    out += QString::fromUcs4(&character, 1).toUtf8();
}

// A character as one UTF-16 unit, or two past U+FFFF, without a string made for each.
void appendCharacter(QString &text, char32_t character)
{
    if (QChar::requiresSurrogates(character)) {
        text += QChar(QChar::highSurrogate(character));
        text += QChar(QChar::lowSurrogate(character));
    } else {
        text += QChar(char16_t(character));
    }
}

} // namespace

QString escapedName(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        // Printable ASCII, most of most names, stands as it is: a history holds millions of
        // folder paths, each spelled out again whenever a collection is read.
        if (const auto byte = uchar(bytes[at]); byte >= 0x20 && byte < 0x7F && byte != '\\') {
            text += QChar(byte);
            ++at;
            continue;
        }
        char32_t character = 0;
        const int length = sequenceAt(bytes, at, character);
        if (length == 0) {
            text += QStringLiteral("\\x") + hex(uchar(bytes[at]), 2);
            ++at;
            continue;
        }
        if (character == '\\')
            text += QStringLiteral("\\\\");
        else if (unseen(character))
            text += escapeOf(character);
        else
            appendCharacter(text, character);
        at += length;
    }
    return text;
}

std::optional<QByteArray> unescapedName(QStringView text)
{
    QByteArray bytes;
    for (qsizetype at = 0; at < text.size();) {
        const QChar c = text[at];
        if (c != u'\\') {
            // The text up to the next escape at once: a path may hold millions of characters. A
            // high surrogate takes the unit after it along, whatever that is.
            qsizetype end = at;
            while (end < text.size() && text[end] != u'\\')
                end += text[end].isHighSurrogate() ? 2 : 1;
            bytes += text.mid(at, end - at).toUtf8();
            at = end;
            continue;
        }
        if (at + 1 >= text.size())
            return std::nullopt;
        const QChar kind = text[at + 1];
        at += 2;
        int digits = 0;
        switch (kind.unicode()) {
        case '\\':
            bytes += '\\';
            continue;
        case 't':
            bytes += '\t';
            continue;
        case 'n':
            bytes += '\n';
            continue;
        case 'r':
            bytes += '\r';
            continue;
        case 'x':
            digits = 2;
            break;
        case 'u':
            digits = 4;
            break;
        case 'U':
            digits = 8;
            break;
        default:
            return std::nullopt;
        }
        if (at + digits > text.size())
            return std::nullopt;
        const std::optional<char32_t> value = hexValue(text.mid(at, digits));
        if (!value || *value > 0x10FFFF)
            return std::nullopt;
        if (kind == u'x')
            bytes += char(*value);
        else
            appendUtf8(bytes, *value);
        at += digits;
    }
    // Only the one spelling escapedName gives: every other would let two texts name one folder.
    if (escapedName(bytes) != text)
        return std::nullopt;
    return bytes;
}

QByteArray nameBytes(QStringView text)
{
    if (std::optional<QByteArray> bytes = unescapedName(text))
        return *bytes;
    return text.toUtf8();
}

namespace {

// The name with each run of valid UTF-8 changed by one case rule and every other byte kept.
template <typename Change> QByteArray inCase(QByteArrayView bytes, Change change)
{
    QByteArray out;
    out.reserve(bytes.size());
    qsizetype runStart = 0;
    auto endRun = [&](qsizetype at) {
        if (at > runStart)
            out += change(QString::fromUtf8(bytes.sliced(runStart, at - runStart))).toUtf8();
    };
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t character = 0;
        const int length = sequenceAt(bytes, at, character);
        if (length > 0) {
            at += length;
            continue;
        }
        endRun(at);
        out += bytes[at];
        runStart = ++at;
    }
    endRun(bytes.size());
    return out;
}

} // namespace

QByteArray upperName(QByteArrayView bytes)
{
    return inCase(bytes, [](const QString &text) { return text.toUpper(); });
}

QByteArray lowerName(QByteArrayView bytes)
{
    return inCase(bytes, [](const QString &text) { return text.toLower(); });
}

qsizetype nameLength(QByteArrayView bytes)
{
    qsizetype characters = 0;
    for (qsizetype at = 0; at < bytes.size(); ++characters) {
        char32_t character = 0;
        at += std::max(1, sequenceAt(bytes, at, character));
    }
    return characters;
}
