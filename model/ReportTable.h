#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

// The uniform shape every report page's figures take outside the window: a table of headings and
// rows of typed cells, with the page's totals rows and the lines it shows below its listing. A
// CSV writer, a text printer or a PDF page walks any page's table the same way; the numbers stay
// numbers until someone writes them out.

// One cell: a text, a whole number (bytes or a count), a change of one (signed), or a percentage.
struct ReportCell
{
    enum class Kind
    {
        Text,
        Integer,
        Percentage,
        Change
    };

    Kind kind = Kind::Text;
    QString text;              // Kind::Text
    std::uint64_t integer = 0; // Kind::Integer
    double percentage = 0;     // Kind::Percentage, 0 to 100
    std::int64_t change = 0;   // Kind::Change: then to now, negative when it shrank

    static ReportCell ofText(const QString &text);
    static ReportCell ofInteger(std::uint64_t value);
    static ReportCell ofPercentage(double value);
    static ReportCell ofChange(std::int64_t value);

    // As a person reads it: the text; the whole number with the locale's group separators; the
    // percentage with one decimal in the locale's format and " %"; a change with its sign in
    // front, "+" for growth ("+1,000", "-500", "0").
    QString shown() const;
    // As a program reads it: the number in the C locale with no grouping, a percentage in the
    // given format ('f' or 'g') with the shortest digits that read back as the same number; empty
    // for a text.
    QByteArray number(char percentageFormat) const;

    bool operator==(const ReportCell &other) const = default;
};

// The ten report pages, in the order of the statistics window's tabs.
enum class ReportPageId
{
    Space,
    Types,
    Sizes,
    Overhang,
    Access,
    Created,
    Modified,
    Combined,
    Attribute,
    Time
};
inline constexpr int reportPageCount = 10;

// The page's name on a command line, "space" to "time", and its tab caption, "Space" to "Time".
QString reportPageName(ReportPageId page);
QString reportPageTitle(ReportPageId page);
// The page of a command-line name; none for a name that is no page.
std::optional<ReportPageId> reportPageNamed(const QString &name);

// One page's figures as a table.
struct ReportTable
{
    QString title;                             // the page's tab caption
    QStringList headings;                      // one per column
    std::vector<std::vector<ReportCell>> rows; // each with one cell per heading
    int footerRows = 0;                        // the last rows are totals ("Totals", "Total")
    QStringList notes;                         // lines the page shows with its figures
};
