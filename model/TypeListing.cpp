#include "model/TypeListing.h"

#include "engine/Accumulators.h"
#include "engine/Classification.h"
#include "helpers/Helpers.h"
#include "model/TypeNames.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

// Only a to z change case: the order must not depend on the locale's idea of letters.
QString upperAscii(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper)
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    return upper;
}

} // namespace

std::uint64_t TypeRow::average() const
{
    if (files <= 0)
        return 0;
    const auto count = std::uint64_t(files);
    const std::uint64_t rest = bytes % count;
    return bytes / count + (rest >= count - rest ? 1 : 0);
}

std::vector<ReportSlice> withOtherSlice(const std::vector<ReportSlice> &slices, double otherPercent)
{
    double sum = 0;
    for (const ReportSlice &slice : slices)
        sum += std::max(0.0, slice.value);
    std::vector<ReportSlice> drawn;
    if (sum <= 0)
        return drawn;
    ReportSlice other{QStringLiteral("Other"), 0, 0};
    bool merged = false;
    for (const ReportSlice &slice : slices) {
        if (slice.value <= 0)
            continue;
        if (slice.value * 100.0 / sum < otherPercent) {
            other.value += slice.value;
            merged = true;
        } else {
            drawn.push_back(slice);
        }
    }
    if (merged)
        drawn.push_back(other);
    return drawn;
}

TypeListing::TypeListing(const Accumulators &results)
{
    // The picked types show even where no file had them; the run's own table stays as the walk
    // left it, and is copied only then: a run may have a million rows.
    std::optional<TypeTable> withPicked;
    if (results.filter.includeSelected() && !results.filter.rows().isEmpty()) {
        withPicked = results.lbTypes;
        for (const QString &picked : results.filter.extensions())
            withPicked->insertType(picked, 0, true);
    }
    const TypeTable &table = withPicked ? *withPicked : results.lbTypes;

    rowList.reserve(std::size_t(table.count()));
    for (int i = 0; i < table.count(); ++i) {
        TypeRow row{table.extensionAt(i), QString(), table.bytesAt(i), table.filesAt(i)};
        row.typeName = getTypeName(row.extension);
        bytesSum = addCapped(bytesSum, row.bytes);
        filesSum += row.files;
        rowList.push_back(std::move(row));
    }
    longerCount = results.lbTypes.longerFiles();
    commonLonger = results.lbTypes.commonestLonger();
}

QString TypeListing::longerLine() const
{
    if (longerCount <= 0)
        return QString();
    if (longerCount == 1)
        return QStringLiteral("1 file with a longer extension (%1) is not listed.")
            .arg(commonLonger);
    return QStringLiteral("%1 files with longer extensions (such as %2) are not listed.")
        .arg(intToGrouped(longerCount), commonLonger);
}

double TypeListing::measureOf(const TypeRow &row, TypeSort measure) const
{
    switch (measure) {
    case TypeSort::Files:
        return double(row.files);
    case TypeSort::Average:
        return double(row.average());
    default:
        return double(row.bytes);
    }
}

std::vector<int> TypeListing::order(TypeSort sort) const
{
    std::vector<int> indexes(rowList.size());
    std::iota(indexes.begin(), indexes.end(), 0);
    const auto by = [&](const auto &less) {
        std::stable_sort(indexes.begin(), indexes.end(), [&](int a, int b) {
            return less(rowList[std::size_t(a)], rowList[std::size_t(b)]);
        });
    };
    switch (sort) {
    case TypeSort::Extension:
        break;
    case TypeSort::Type: {
        std::vector<QString> keys;
        keys.reserve(rowList.size());
        for (const TypeRow &row : rowList)
            keys.push_back(upperAscii(row.typeName));
        std::stable_sort(indexes.begin(), indexes.end(), [&](int a, int b) {
            return QStringView(keys[std::size_t(a)]).compare(keys[std::size_t(b)]) < 0;
        });
        break;
    }
    case TypeSort::Size:
        by([](const TypeRow &a, const TypeRow &b) { return a.bytes > b.bytes; });
        break;
    case TypeSort::Files:
        by([](const TypeRow &a, const TypeRow &b) { return a.files > b.files; });
        break;
    case TypeSort::Average:
        by([](const TypeRow &a, const TypeRow &b) { return a.average() > b.average(); });
        break;
    }
    return indexes;
}

std::vector<ReportSlice> TypeListing::pie(TypeSort measure) const
{
    if (measure != TypeSort::Files && measure != TypeSort::Average)
        measure = TypeSort::Size;
    const std::vector<int> largest = order(measure);
    std::vector<ReportSlice> slices;
    const int shown = std::min(int(largest.size()), mostPieSlices);
    for (int k = 0; k < shown; ++k) {
        const TypeRow &row = rowList[std::size_t(largest[std::size_t(k)])];
        const double value = measureOf(row, measure);
        if (value > 0)
            slices.push_back({row.typeName, value, k + 1});
    }
    return slices;
}

ReportTable TypeListing::table(TypeSort sort) const
{
    ReportTable table;
    table.title = reportPageTitle(ReportPageId::Types);
    table.headings = {"Extension", "Type", "Size", "# Files", "Avg File Size"};
    for (const int index : order(sort)) {
        const TypeRow &row = rowList[std::size_t(index)];
        table.rows.push_back({ReportCell::ofText(row.extension), ReportCell::ofText(row.typeName),
                              ReportCell::ofInteger(row.bytes),
                              ReportCell::ofInteger(std::uint64_t(row.files)),
                              ReportCell::ofInteger(row.average())});
    }
    table.rows.push_back({ReportCell::ofText(QString()), ReportCell::ofText("Totals"),
                          ReportCell::ofInteger(bytesSum),
                          ReportCell::ofInteger(std::uint64_t(filesSum)),
                          ReportCell::ofText(QString())});
    table.footerRows = 1;
    if (longerCount > 0)
        table.notes << longerLine();
    return table;
}
