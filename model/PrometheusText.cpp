#include "model/PrometheusText.h"

#include "engine/Accumulators.h"
#include "helpers/NameText.h"
#include "model/FolderReport.h"
#include "model/ReportModel.h"
#include "model/RunFacts.h"

#include <QDir>
#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t foldersShown = 20;

using Labels = std::vector<std::pair<const char *, QString>>;

std::string labelValue(const QString &value)
{
    std::string out;
    for (const char c : value.toUtf8()) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '"')
            out += "\\\"";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

class Exposition
{
public:
    // Opens a metric: its help line and its type.
    void metric(const char *name, const char *help)
    {
        current = name;
        text += std::string("# HELP ") + name + ' ' + help + "\n# TYPE " + name + " gauge\n";
    }

    void series(const Labels &labels, const std::string &value)
    {
        text += current;
        if (!labels.empty()) {
            text += '{';
            for (std::size_t i = 0; i < labels.size(); ++i)
                text += std::string(i ? "," : "") + labels[i].first + "=\"" +
                        labelValue(labels[i].second) + '"';
            text += '}';
        }
        text += ' ' + value + '\n';
    }
    void series(const Labels &labels, std::uint64_t value)
    {
        series(labels, std::to_string(value));
    }

    QByteArray bytes() const { return QByteArray::fromStdString(text); }

private:
    std::string text;
    std::string current;
};

std::string seconds(double value)
{
    char out[48];
    std::snprintf(out, sizeof out, "%.3f", value);
    return out;
}

void driveSeries(Exposition &out, const RunFacts &facts)
{
    const auto each = [&](const char *name, const char *help, auto value) {
        out.metric(name, help);
        for (const DriveFacts &drive : facts.drives)
            out.series({{"drive", QString(drive.letter) + u':'},
                        {"mountpoint", escapedName(drive.mountPoint.toUtf8())},
                        {"fstype", drive.fileSystem}},
                       value(drive));
    };
    each("korvel98_drive_capacity_bytes", "Capacity of each drive when the run walked it.",
         [](const DriveFacts &d) { return d.capacity; });
    each("korvel98_drive_free_bytes", "Free space of each drive when the run walked it.",
         [](const DriveFacts &d) { return d.freeBytes; });
    each("korvel98_drive_used_bytes", "Used space of each drive when the run walked it.",
         [](const DriveFacts &d) { return d.usedBytes(); });
    each("korvel98_drive_entries", "Files and folders the walk met on each drive.",
         [](const DriveFacts &d) { return d.entriesMet; });
}

// The types with the most bytes by name, the rest in one series.
void typeSeries(Exposition &out, const ReportModel &model)
{
    std::vector<TypeRow> rows;
    for (const TypeRow &row : model.types().rows())
        if (row.files > 0)
            rows.push_back(row);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TypeRow &a, const TypeRow &b) { return a.bytes > b.bytes; });
    const std::size_t named = std::min(rows.size(), std::size_t(prometheusTypeSeries));
    TypeRow other{QStringLiteral("(other)"), QString(), 0, 0};
    for (std::size_t i = named; i < rows.size(); ++i) {
        other.bytes += rows[i].bytes;
        other.files += rows[i].files;
    }
    rows.resize(named);
    rows.push_back(other);
    const auto label = [](const TypeRow &row) {
        return Labels{
            {"extension", row.extension.isEmpty() ? QStringLiteral("(none)") : row.extension}};
    };
    out.metric("korvel98_type_files",
               "Files counted per extension: the 50 extensions with the most bytes, the rest "
               "summed in extension=\"(other)\"; \"(none)\" holds files without an extension.");
    for (const TypeRow &row : rows)
        out.series(label(row), std::uint64_t(row.files));
    out.metric("korvel98_type_bytes",
               "Bytes counted per extension: the 50 extensions with the most bytes, the rest "
               "summed in extension=\"(other)\"; \"(none)\" holds files without an extension.");
    for (const TypeRow &row : rows)
        out.series(label(row), row.bytes);
}

void classSeries(Exposition &out, const ReportModel &model)
{
    out.metric("korvel98_size_class_files", "Files counted per size class.");
    for (const ClassFigures &c : model.sizes())
        out.series({{"class", c.label}}, c.files);
    out.metric("korvel98_size_class_bytes", "Bytes counted per size class.");
    for (const ClassFigures &c : model.sizes())
        out.series({{"class", c.label}}, c.bytes);
    const std::pair<DateKind, const char *> dates[] = {{DateKind::Accessed, "accessed"},
                                                       {DateKind::Created, "created"},
                                                       {DateKind::Modified, "modified"}};
    out.metric("korvel98_age_class_files",
               "Files counted per age class of the date of last access, creation or change.");
    for (const auto &[date, name] : dates)
        for (const ClassFigures &c : model.ages(date))
            out.series({{"date", QString::fromLatin1(name)}, {"class", c.label}}, c.files);
    out.metric("korvel98_age_class_bytes",
               "Bytes counted per age class of the date of last access, creation or change.");
    for (const auto &[date, name] : dates)
        for (const ClassFigures &c : model.ages(date))
            out.series({{"date", QString::fromLatin1(name)}, {"class", c.label}}, c.bytes);
}

void attributeSeries(Exposition &out, const ReportModel &model)
{
    const AttributeFigures &a = model.attributes();
    out.metric("korvel98_attribute_files",
               "Files counted per attribute; a file counts under each it carries.");
    for (int row = 0; row < 4; ++row)
        out.series({{"attribute", attributeLabel(row).toLower()}}, a.files[std::size_t(row)]);
    out.metric("korvel98_attribute_bytes",
               "Bytes counted per attribute; a file counts under each it carries.");
    for (int row = 0; row < 4; ++row)
        out.series({{"attribute", attributeLabel(row).toLower()}}, a.bytes[std::size_t(row)]);
}

void folderSeries(Exposition &out, const RunFacts &facts, const Accumulators &figures)
{
    out.metric("korvel98_folder_bytes",
               "Bytes counted in the 20 largest folders kept by the run, with all below them.");
    std::size_t shown = 0;
    for (const FolderRow &row : largestFolders(facts, figures.folderTotals)) {
        if (shown == foldersShown)
            break;
        if (row.totals.depth() == 0)
            continue;
        out.series({{"path", row.location}}, row.totals.bytes);
        ++shown;
    }
}

std::uint64_t count(std::int64_t value)
{
    return std::uint64_t(std::max<std::int64_t>(value, 0));
}

void runSeries(Exposition &out, const RunFacts &facts, const Accumulators &figures)
{
    out.metric("korvel98_run_start_time_seconds", "When the run started, in seconds since 1970.");
    out.series({}, seconds(double(facts.started.toMSecsSinceEpoch()) / 1000));
    out.metric("korvel98_run_duration_seconds", "How long the run took.");
    out.series({}, seconds(double(std::max<qint64>(facts.started.msecsTo(facts.ended), 0)) / 1000));
    out.metric("korvel98_run_complete", "1 when the run walked every drive to its end, else 0.");
    out.series({}, facts.complete ? 1 : 0);
    out.metric("korvel98_run_files_processed", "Files met, whatever their type.");
    out.series({}, count(figures.filesProcessed));
    out.metric("korvel98_run_files_found", "Files that passed the type filter.");
    out.series({}, count(figures.filesFound));
    out.metric("korvel98_run_folders_unreadable",
               "Folders that could not be read; their files are not counted.");
    out.series({}, count(figures.foldersUnreadable));
    out.metric("korvel98_run_linked_names_skipped",
               "Further names of files with several names, counted under their first name only.");
    out.series({}, count(figures.linkedNamesSkipped));
    out.metric("korvel98_run_filter", "The type filter of the run: 1 for its mode.");
    const QString mode = figures.filter.includeSelected()   ? QStringLiteral("include")
                         : figures.filter.excludeSelected() ? QStringLiteral("exclude")
                                                            : QStringLiteral("all");
    out.series({{"mode", mode}}, 1);
}

} // namespace

QByteArray prometheusText(const RunFacts &facts, const Accumulators &figures)
{
    const ReportModel model(figures, facts.drives);
    Exposition out;
    driveSeries(out, facts);
    typeSeries(out, model);
    classSeries(out, model);
    attributeSeries(out, model);
    folderSeries(out, facts, figures);
    runSeries(out, facts, figures);
    return out.bytes();
}

bool writePrometheusTextfile(const QString &folder, const RunFacts &facts,
                             const Accumulators &figures, QString &message)
{
    const QString path = QDir(folder).filePath(QStringLiteral("korvel98.prom"));
    const QByteArray bytes = prometheusText(facts, figures);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
        file.commit())
        return true;
    message = QStringLiteral("Cannot write %1: %2.").arg(path, file.errorString());
    return false;
}
