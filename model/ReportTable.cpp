#include "model/ReportTable.h"

#include "helpers/Helpers.h"
#include "model/NameList.h"

#include <QLocale>
#include <array>

namespace {

const NameList<ReportPageId, reportPageCount> pageNames = {{"space", "types", "sizes", "overhang",
                                                            "access", "created", "modified",
                                                            "combined", "attribute", "time"}};

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

QByteArray ReportCell::number(char percentageFormat) const
{
    switch (kind) {
    case Kind::Integer:
        return QByteArray::number(integer);
    case Kind::Change:
        return QByteArray::number(change);
    case Kind::Percentage:
        return QByteArray::number(percentage, percentageFormat, QLocale::FloatingPointShortest);
    case Kind::Text:
        break;
    }
    return {};
}

QString reportPageName(ReportPageId page)
{
    return pageNames.name(page);
}

QString reportPageTitle(ReportPageId page)
{
    return pageNames.title(page);
}

std::optional<ReportPageId> reportPageNamed(const QString &name)
{
    return pageNames.named(name);
}
