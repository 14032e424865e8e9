#include "engine/Filter.h"

#include "engine/Classification.h"
#include "helpers/NameText.h"

#include <algorithm>

Filter::Filter(Mode mode, QStringList rows) : kind(mode), pickedRows(std::move(rows))
{
    lowered.reserve(std::size_t(pickedRows.size()));
    for (const QString &row : std::as_const(pickedRows))
        lowered.push_back(nameBytes(extractExtension(row)).toStdString());
}

QStringList Filter::pickedTexts() const
{
    QStringList texts;
    for (const QString &row : pickedRows)
        texts << row.section(u'\t', 0, 0).remove(u'*');
    return texts;
}

QStringList Filter::extensions() const
{
    std::vector<std::string> sorted = lowered;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    QStringList shown;
    for (const std::string &extension : sorted)
        shown << escapedName(QByteArrayView(extension.data(), qsizetype(extension.size())));
    return shown;
}

// The extension is compared in lower case, byte for byte, with each picked one. Plain ASCII
// extensions, nearly all of them, are lowered in place; others go through Unicode rules, and
// bytes that are not UTF-8 stay as they are.
bool Filter::passes(std::string_view name) const
{
    if (kind == Mode::All)
        return true;
    if (lowered.empty())
        return kind == Mode::Exclude;

    const std::string_view extension = fileExtension(name);
    std::string lower(extension);
    bool plain = true;
    for (char &c : lower) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            plain = false;
            break;
        }
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    if (!plain)
        lower =
            lowerName(QByteArrayView(extension.data(), qsizetype(extension.size()))).toStdString();
    for (const std::string &picked : lowered)
        if (picked == lower)
            return kind == Mode::Include;
    return kind == Mode::Exclude;
}

bool Filter::operator==(const Filter &other) const
{
    return kind == other.kind && pickedRows == other.pickedRows;
}
