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

} // namespace

QString TypeTable::row(int index) const
{
    const Row &r = ordered(index);
    return textOf(r).toString() + u'\t' + QString::number(r.files) + u'\t' +
           QString::number(r.bytes);
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
    return textOf(ordered(index)).toString();
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
        if (find(shown) < 0)
            rowFor(shown).bytes = size;
        return;
    }
    rowFor(shown).add(size);
}

// A plain ASCII extension of printable characters and no backslash reads as itself: its row is
// found by its upper-cased characters, without a string made for it.
void TypeTable::countFile(std::string_view extension, std::uint64_t size)
{
    if (isAscii(extension)) {
        if (extension.size() > longestAscii) {
            countLonger(extension, 1); // upper-casing ASCII keeps the length
            return;
        }
        char16_t upper[longestAscii];
        bool plain = true;
        for (std::size_t i = 0; i < extension.size(); ++i) {
            const char c = extension[i];
            plain = plain && c >= ' ' && c < 0x7f && c != '\\';
            upper[i] = char16_t(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
        const int at = plain ? find(QStringView(upper, qsizetype(extension.size()))) : -1;
        if (at >= 0) {
            table[std::size_t(at)].add(size);
            return;
        }
    }
    countBytes(QByteArrayView(extension.data(), qsizetype(extension.size())), size, false);
}

int TypeTable::find(QStringView upperExtension) const
{
    if (buckets.empty())
        return -1;
    const std::size_t mask = buckets.size() - 1;
    for (std::size_t i = qHash(upperExtension, 0) & mask;; i = (i + 1) & mask) {
        const int slot = buckets[i];
        if (slot == 0)
            return -1;
        if (textOf(table[std::size_t(slot - 1)]) == upperExtension)
            return slot - 1;
    }
}

TypeTable::Row &TypeTable::rowFor(QStringView upperExtension)
{
    if (const int at = find(upperExtension); at >= 0)
        return table[std::size_t(at)];
    if (2 * (table.size() + 1) > buckets.size()) {
        std::vector<int> grown(std::max<std::size_t>(16, 2 * buckets.size()), 0);
        const std::size_t mask = grown.size() - 1;
        for (std::size_t row = 0; row < table.size(); ++row) {
            std::size_t i = qHash(textOf(table[row]), 0) & mask;
            while (grown[i] != 0)
                i = (i + 1) & mask;
            grown[i] = int(row) + 1;
        }
        buckets = std::move(grown);
    }
    const std::size_t mask = buckets.size() - 1;
    std::size_t i = qHash(upperExtension, 0) & mask;
    while (buckets[i] != 0)
        i = (i + 1) & mask;
    buckets[i] = int(table.size()) + 1;
    table.push_back({0, 0, std::uint32_t(texts.size()), std::uint32_t(upperExtension.size())});
    texts += upperExtension;
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
        const QStringView x = textOf(table[std::size_t(a)]);
        const QStringView y = textOf(table[std::size_t(b)]);
        const int c = collator.compare(x, y);
        return c != 0 ? c < 0 : x < y;
    });
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
    if (find(upperExtension) >= 0)
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
    texts.clear();
    buckets.clear();
    order.clear();
    sorted = true;
}
