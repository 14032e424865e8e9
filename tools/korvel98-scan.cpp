// korvel98-scan: the command-line report, for people at a terminal or on a server, for scripts,
// for the scheduled collection and for the walk benchmark. Each folder given stands in for one
// drive; the figures come out as one JSON object, as aligned tables or as one page in CSV, and may
// be kept as a collection file the window opens. The usage is in helpText below, which --help
// prints.

#include "TrendsCommand.h"
#include "engine/StatisticsEngine.h"
#include "helpers/NameText.h"
#include "model/Collection.h"
#include "model/Machines.h"
#include "model/PrometheusText.h"
#include "model/ReportCsv.h"
#include "model/ReportText.h"
#include "model/RunRecorder.h"
#include "model/ScannerDump.h"
#include "platform/DirectorySearch.h"
#include "platform/FileTimes.h"
#include "platform/FolderDriveSource.h"
#include "platform/StandardOutput.h"
#include "platform/Terminal.h"
#include "tools/scan/ProgressLine.h"
#include "tools/scan/ScanOptions.h"
#include "tools/scan/ScanOutputs.h"

#include <QCollator>
#include <QDate>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int usageError = 2;

// Bad input is said in one line on standard error, and nothing is printed on standard output.
int badInput(const QString &message)
{
    std::fprintf(stderr, "korvel98-scan: %s\n", message.toLocal8Bit().constData());
    return usageError;
}

using HeldFolders = std::vector<std::unique_ptr<platform::HeldFolder>>;

// Each folder is held open and walked through the descriptor, so that its name is never turned
// into text and back. A message names a folder as its bytes stand, whatever they are.
platform::Outcome<HeldFolders, std::string> holdFolders(const Options &options)
{
    HeldFolders held;
    for (const std::string &folder : options.folders) {
        held.push_back(std::make_unique<platform::HeldFolder>(folder));
        const int error = held.back()->error();
        if (error == 0)
            continue;
        const std::string what = error == ENOENT    ? "no such folder"
                                 : error == ENOTDIR ? "not a folder"
                                                    : std::strerror(error);
        return platform::Outcome<HeldFolders, std::string>::failure(what + ": " + folder);
    }
    return held;
}

// A moment on a local date by the walk's own conversion, which follows every form TZ may take:
// noon UTC of the date, moved by whole days when the zone is so far out that it falls on another.
std::int64_t localNoon(const QDate &date)
{
    const std::int64_t day = platform::daysFromCivil(date.year(), date.month(), date.day());
    const std::int64_t noon = day * 86400 + 12 * 3600;
    return noon - (platform::localDayNumber(noon) - day) * 86400;
}

// The figures are the tool's whole result: losing them on a full disk or a closed output is a
// failure the caller must see.
int finishOutput()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    std::fprintf(stderr, "korvel98-scan: cannot write the figures: %s\n", std::strerror(errno));
    return 1;
}

// A collection file to report instead of a walk; one that cannot be read is bad input.
int showCollection(const Options &options)
{
    const OpenedRun opened = readRunFile(options.show);
    const CollectionRead &read = opened.read;
    if (!read)
        return badInput(read.message);
    // A person reading the tables learns first that they are another scanner's figures.
    if (opened.dump && options.format == Options::Format::Text)
        std::fputs(withoutControls(QStringLiteral("Dump %1 by %2, its own rules on hidden "
                                                  "folders applied\n")
                                       .arg(opened.dump->fileName, opened.dump->maker))
                       .toUtf8()
                       .constData(),
                   stdout);
    int status = 0;
    QString message;
    if (!options.save.isEmpty() && !writeCollectionFile(options.save, *read.collection, message)) {
        std::fprintf(stderr, "korvel98-scan: %s\n", message.toLocal8Bit().constData());
        status = 1;
    }
    if (!options.textfileDir.isEmpty() &&
        !writePrometheusTextfile(options.textfileDir, read.collection->facts,
                                 read.collection->figures, message)) {
        std::fprintf(stderr, "korvel98-scan: %s\n", message.toLocal8Bit().constData());
        status = 1;
    }
    if (options.textfileDir.isEmpty() || options.formatGiven)
        printReport(options, read.collection->facts, read.collection->figures);
    const int written = finishOutput();
    return written != 0 ? written : status;
}

// The machines overview of a folder of collections.
int printMachines(const Options &options)
{
    const std::vector<MachineRow> rows =
        machineRows(options.machines, QDateTime::currentDateTime());
    if (options.format == Options::Format::Csv)
        std::fputs(reportCsv(machinesTable(rows)).constData(), stdout);
    else if (options.format == Options::Format::Text)
        std::fputs(withoutControls(reportText(machinesTable(rows))).toUtf8().constData(), stdout);
    else
        std::fputs(machinesJson(rows).constData(), stdout);
    return finishOutput();
}

} // namespace

int main(int argc, char **argv)
{
    platform::raiseDescriptorLimit();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const std::optional<int> status = runHistoryCommand(arguments))
        return *status;
    const platform::Outcome<Options> parsed = parseOptions(arguments);
    if (!parsed)
        return badInput(parsed.message());
    const Options &options = *parsed;
    if (options.help)
        return platform::printToStandardOutput("korvel98-scan",
                                               std::string(helpText) + historyHelpText)
                   ? 0
                   : 1;
    if (options.version)
        return platform::printToStandardOutput("korvel98-scan", "Korvel 98 " KORVEL_VERSION "\n")
                   ? 0
                   : 1;
    if (!options.show.isEmpty())
        return showCollection(options);
    if (!options.machines.isEmpty())
        return printMachines(options);
    std::optional<Collection> earlier;
    if (!options.compare.isEmpty()) {
        CollectionRead read = readCollectionFile(options.compare);
        if (!read)
            return badInput(read.message);
        earlier = std::move(*read.collection);
    }
    if (!options.compareWith.isEmpty()) {
        const CollectionRead later = readCollectionFile(options.compareWith);
        if (!later)
            return badInput(later.message);
        printComparison(options, *earlier, *later.collection);
        return finishOutput();
    }
    platform::Outcome<HeldFolders, std::string> holding = holdFolders(options);
    if (!holding) {
        std::fprintf(stderr, "korvel98-scan: %s\n", holding.message().c_str());
        return usageError;
    }
    const HeldFolders held = std::move(*holding);

    platform::FolderDriveSource drives;
    StatisticsEngine engine(drives);
    // Each drive is named by its folder as given, so that a message about it names that.
    char letter = 'c';
    for (std::size_t i = 0; i < held.size(); ++i, ++letter) {
        const QString entry = QStringLiteral("%1: [%2]")
                                  .arg(QChar(letter))
                                  .arg(QString::fromLocal8Bit(options.folders[i]));
        drives.addDrive(QChar(letter), platform::DriveFixed, entry, held[i]->path());
        engine.PickList1 << entry;
    }

    engine.allTypes = options.filter == Options::Filter::All;
    engine.includeSelected = options.filter == Options::Filter::Include;
    engine.excludeSelected = options.filter == Options::Filter::Exclude;
    for (const QString &extension : options.extensions)
        engine.PickList2 << u'*' + extension + u'\t';
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(engine.PickList2.begin(), engine.PickList2.end(), collator);

    if (options.today.isValid()) {
        const std::int64_t noon = localNoon(options.today);
        engine.clock = [noon] { return noon; };
    }
    RunRecorder recorder;
    std::unique_ptr<ProgressLine> progress;
    engine.hooks.errorBox = [&](const QString &text) {
        if (progress)
            progress->clear(); // the next draw puts it back below the message
        std::fprintf(stderr, "korvel98-scan: %s\n", text.toLocal8Bit().constData());
    };
    // The folder being walked, as the engine's status text names it (after its fixed words);
    // turned into the folder as given only when the line is drawn.
    QString walkedFolder;
    auto drawProgress = [&](bool now) {
        const QString prefix = QStringLiteral("Processing drive ") + engine.currentDrive +
                               QStringLiteral(" ... standby : ");
        if (walkedFolder.startsWith(prefix))
            progress->setFolder(escapedName(QByteArray::fromStdString(
                asGiven(walkedFolder.mid(prefix.size()).toUtf8(), options, held))));
        progress->draw(std::uint64_t(std::max<std::int64_t>(engine.filesProcessed, 0)), now);
    };
    engine.hooks.driveStarting = [&] {
        recorder.driveWalking(drives, engine.currentDrive.at(0));
        if (progress) {
            progress->setFolder(escapedName(QByteArray::fromStdString(
                options.folders[std::size_t(engine.currentDrive.at(0).unicode() - 'c')])));
            progress->draw(std::uint64_t(std::max<std::int64_t>(engine.filesProcessed, 0)), true);
        }
    };
    engine.hooks.refillPages = [&] {
        recorder.driveWalked(engine.walkCounters.entries, engine.walkCounters.withCreationTime);
    };
    if (platform::standardErrorIsTerminal()) {
        progress = std::make_unique<ProgressLine>(platform::standardErrorColumns());
        engine.hooks.statusText = [&](const QString &text) { walkedFolder = text; };
        engine.hooks.progress = [&](const WalkCounters &) { drawProgress(false); };
        engine.hooks.dispatchMessages = [] {};
        engine.dispatchInterval = std::chrono::milliseconds(100);
    }

    recorder.runStarting(drives, engine.PickList1);
    engine.collectDrives();
    if (progress)
        progress->clear();
    RunFacts facts = recorder.runEnded(engine.aborted);
    nameFolders(facts, options);
    tellUnreadable(engine, options, held);
    const bool kept = keepRun(options, facts, engine);
    if (earlier)
        printComparison(options, *earlier, collectionOf(facts, engine));
    else if (options.textfileDir.isEmpty() || options.formatGiven)
        printReport(options, facts, engine);
    const int written = finishOutput();
    // A walk that had to stop short (no descriptors left) printed incomplete figures.
    return written != 0 ? written : engine.aborted || !kept ? 1 : 0;
}
