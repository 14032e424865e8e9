#include "engine/TypeTable.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <numeric>

namespace {

constexpr std::size_t longestAscii = 5;
// Different longer extensions told apart; a tree of dated backups could otherwise hold one per
// file.
constexpr std::size_t mostLongerKinds = 4096;

char foldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A plain ASCII extension of up to five bytes, in upper case, packed with its length: a key that
// names the extension exactly without building a string. Only for extensions that fit a row, so
// that no longer one can share a key with a shorter one.
std::uint64_t asciiKey(std::string_view extension)
{
    std::uint64_t key = extension.size();
    int shift = 8;
    for (char c : extension) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        key |= std::uint64_t(static_cast<unsigned char>(c)) << shift;
        shift += 8;
    }
    return key;
}

} // namespace

QString TypeTable::row(int index) const
{
    const Row &r = ordered(index);
    return r.extension + u'\t' + QString::number(r.files) + u'\t' + QString::number(r.bytes);
}

QStringList TypeTable::rows() const
{
    QStringList result;
    result.reserve(count());
    for (int i = 0; i < count(); ++i)
        result << row(i);
    return result;
}

QString TypeTable::extensionAt(int index) const
{
    return ordered(index).extension;
}

std::int64_t TypeTable::filesAt(int index) const
{
    return ordered(index).files;
}

std::uint64_t TypeTable::bytesAt(int index) const
{
    return ordered(index).bytes;
}

void TypeTable::Row::add(std::uint64_t size)
{
    ++files;
    bytes = size > UINT64_MAX - bytes ? UINT64_MAX : bytes + size;
}

void TypeTable::insertType(const QString &extension, std::uint64_t size, bool seeding)
{
    countBytes(nameBytes(extension), size, seeding);
}

void TypeTable::countBytes(QByteArrayView extension, std::uint64_t size, bool seeding)
{
    // The limit holds for the extension as the row shows it: upper-casing can lengthen it.
    const QByteArray upper = upperName(extension);
    if (!extensionFitsRow(upper)) {
        if (!seeding) {
            const QByteArray lower = lowerName(extension);
            countLonger(std::string_view(lower.constData(), std::size_t(lower.size())), 1);
        }
        return;
    }
    const QString shown = escapedName(upper);
    if (seeding) {
        if (!byExtension.contains(shown))
            rowFor(shown).bytes = size;
        return;
    }
    rowFor(shown).add(size);
}

void TypeTable::countFile(std::string_view extension, std::uint64_t size)
{
    if (isAscii(extension)) {
        if (extension.size() > longestAscii) {
            countLonger(extension, 1); // upper-casing ASCII keeps the length
            return;
        }
        const int index = byAscii.find(asciiKey(extension));
        if (index >= 0) {
            table[std::size_t(index)].add(size);
            return;
        }
    }
    countBytes(QByteArrayView(extension.data(), qsizetype(extension.size())), size, false);
}

std::size_t TypeTable::AsciiRows::slotOf(std::uint64_t key) const
{
    // The bytes of a key sit in its low bits: a multiplication carries them all to the top.
    return std::size_t((key * 0x9e3779b97f4a7c15ULL) >> 32) & (cells.size() - 1);
}

int TypeTable::AsciiRows::find(std::uint64_t key) const
{
    if (cells.empty())
        return -1;
    const std::size_t mask = cells.size() - 1;
    for (std::size_t at = slotOf(key);; at = (at + 1) & mask) {
        if (cells[at].second < 0 || cells[at].first == key)
            return cells[at].second;
    }
}

void TypeTable::AsciiRows::insert(std::uint64_t key, int index)
{
    if (2 * (used + 1) > cells.size()) {
        std::vector<std::pair<std::uint64_t, int>> old(cells.empty() ? 64 : 2 * cells.size(),
                                                       {0, -1});
        old.swap(cells);
        used = 0;
        for (const auto &[k, i] : old)
            if (i >= 0)
                insert(k, i);
    }
    const std::size_t mask = cells.size() - 1;
    std::size_t at = slotOf(key);
    while (cells[at].second >= 0 && cells[at].first != key)
        at = (at + 1) & mask;
    if (cells[at].second < 0)
        ++used;
    cells[at] = {key, index};
}

void TypeTable::AsciiRows::clear()
{
    cells.clear();
    used = 0;
}

TypeTable::Row &TypeTable::rowFor(const QString &upperExtension)
{
    const auto it = byExtension.constFind(upperExtension);
    if (it != byExtension.cend())
        return table[std::size_t(it.value())];
    const int index = int(table.size());
    table.push_back({upperExtension, 0, 0});
    byExtension.insert(upperExtension, index);
    const QByteArray bytes = upperExtension.toUtf8();
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    // Only rows whose text is their bytes: an escaped one shares its text with other bytes.
    if (isAscii(text) && text.size() <= longestAscii && !upperExtension.contains(u'\\'))
        byAscii.insert(asciiKey(text), index);
    sorted = false;
    return table.back();
}

void TypeTable::sortIfNeeded() const
{
    if (sorted && order.size() == table.size())
        return;
    order.resize(table.size());
    std::iota(order.begin(), order.end(), 0);
    // The user's locale decides the order, without regard to case; extensions it cannot tell
    // apart keep a fixed order by their characters.
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const QString &x = table[std::size_t(a)].extension;
        const QString &y = table[std::size_t(b)].extension;
        const int c = collator.compare(x, y);
        return c != 0 ? c < 0 : x < y;
    });
    position.resize(table.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        position[std::size_t(order[i])] = int(i);
    sorted = true;
}

const TypeTable::Row &TypeTable::ordered(int index) const
{
    sortIfNeeded();
    return table[std::size_t(order[std::size_t(index)])];
}

std::size_t TypeTable::FoldedHash::operator()(std::string_view text) const
{
    std::size_t hash = 14695981039346656037ull;
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(foldAscii(c))) * 1099511628211ull;
    return hash;
}

bool TypeTable::FoldedEqual::operator()(std::string_view a, std::string_view b) const
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return foldAscii(x) == foldAscii(y);
           });
}

void TypeTable::countLonger(std::string_view extension, std::int64_t files)
{
    longerCount += files;
    const auto it = longer.find(extension);
    if (it != longer.end()) {
        it->second += files;
    } else if (longer.size() < mostLongerKinds) {
        std::string key(extension);
        std::transform(key.begin(), key.end(), key.begin(), foldAscii);
        longer.emplace(std::move(key), files);
    }
}

void TypeTable::addLonger(const QString &extension, std::int64_t files)
{
    const QByteArray lower = lowerName(nameBytes(extension));
    countLonger(std::string_view(lower.constData(), std::size_t(lower.size())), files);
}

QString TypeTable::commonestLonger() const
{
    const std::pair<const std::string, std::int64_t> *best = nullptr;
    for (const auto &entry : longer)
        if (!best || entry.second > best->second ||
            (entry.second == best->second && entry.first < best->first))
            best = &entry;
    return best ? escapedName(QByteArrayView(best->first.data(), qsizetype(best->first.size())))
                : QString();
}

bool TypeTable::putRow(const QString &upperExtension, std::int64_t files, std::uint64_t bytes)
{
    if (byExtension.contains(upperExtension))
        return false;
    Row &row = rowFor(upperExtension);
    row.files = files;
    row.bytes = bytes;
    return true;
}

void TypeTable::clear()
{
    longerCount = 0;
    longer.clear();
    table.clear();
    byExtension.clear();
    byAscii.clear();
    order.clear();
    position.clear();
    sorted = true;
}
