#include "model/ReportTable.h"

#include "helpers/Helpers.h"

#include <QLocale>
#include <array>

namespace {

const std::array<const char *, reportPageCount> pageNames = {
    "space",   "types",    "sizes",    "overhang",  "access",
    "created", "modified", "combined", "attribute", "time"};

} // namespace

ReportCell ReportCell::ofText(const QString &text)
{
    ReportCell cell;
    cell.text = text;
    return cell;
}

ReportCell ReportCell::ofInteger(std::uint64_t value)
{
    ReportCell cell;
    cell.kind = Kind::Integer;
    cell.integer = value;
    return cell;
}

ReportCell ReportCell::ofPercentage(double value)
{
    ReportCell cell;
    cell.kind = Kind::Percentage;
    cell.percentage = value;
    return cell;
}

ReportCell ReportCell::ofChange(std::int64_t value)
{
    ReportCell cell;
    cell.kind = Kind::Change;
    cell.change = value;
    return cell;
}

QString ReportCell::shown() const
{
    switch (kind) {
    case Kind::Integer:
        return unsignedToGrouped(integer);
    case Kind::Percentage:
        return QLocale().toString(percentage, 'f', 1) + QStringLiteral(" %");
    case Kind::Change:
        return (change > 0 ? QLocale().positiveSign() : QString()) + intToGrouped(change);
    case Kind::Text:
        break;
    }
    return text;
}

QString reportPageName(ReportPageId page)
{
    return QString::fromLatin1(pageNames[std::size_t(page)]);
}

QString reportPageTitle(ReportPageId page)
{
    QString title = reportPageName(page);
    title[0] = title[0].toUpper();
    return title;
}

std::optional<ReportPageId> reportPageNamed(const QString &name)
{
    for (int page = 0; page < reportPageCount; ++page)
        if (name == QLatin1String(pageNames[std::size_t(page)]))
            return ReportPageId(page);
    return std::nullopt;
}
