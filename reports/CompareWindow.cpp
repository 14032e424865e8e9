#include "reports/CompareWindow.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "controls/FileDialogs.h"
#include "controls/MessageBoxes.h"
#include "controls/Notebook.h"
#include "controls/StyledLabel.h"
#include "helpers/Aside.h"
#include "helpers/Helpers.h"
#include "model/FilterText.h"
#include "model/ReportCsv.h"
#include "reports/ComparisonTableModel.h"
#include "reports/PageLook.h"
#include "reports/ReportDocument.h"
#include "reports/TablesWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPicture>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr QSize startSize(900, 580);
constexpr int chartBars = 20;
constexpr int PathRole = Qt::UserRole + 1;

// Growth and shrinkage, from the colours every chart of the program draws with.
constexpr QColor growColour = chartColour::blue, shrinkColour = chartColour::red;

QString shortDate(const QDateTime &at)
{
    return at.isValid() ? QLocale().toString(at, QLocale::ShortFormat) : QStringLiteral("?");
}

} // namespace

// ---- The window ---------------------------------------------------------------------------------

CompareWindow::CompareWindow(QWidget *parent) : QDialog(parent)
{
    auto *title = makeTablesWindowFrame(*this, QStringLiteral("CompareWindow"),
                                        QStringLiteral("Compare collections"), startSize);
    title->setText(QStringLiteral("Compare"));
    askCollectionFile = [this] {
        return askOpenFileName(this, QStringLiteral("Compare with a collection"), QDir::homePath(),
                               QStringLiteral("Collections (*.korvel98.json);;All files (*)"));
    };
    askExport = [this] { return defaultAskExport(); };

    stages = new QStackedWidget(this);
    stages->addWidget(buildPicker());
    stages->addWidget(buildComparison());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(stages, 1);
}

// The tables' models show the comparison's own rows: they let go of them before it goes.
CompareWindow::~CompareWindow()
{
    releaseTables();
}

void CompareWindow::releaseTables()
{
    for (QTableView *view : tables)
        static_cast<ComparisonTableModel *>(view->model())->showPart(nullptr, ComparisonPart{});
}

QWidget *CompareWindow::buildPicker()
{
    auto *page = new QWidget(this);
    auto *intro = new QLabel(page);
    intro->setObjectName(QStringLiteral("lblPick"));
    intro->setWordWrap(true);
    lvCollections = new QTreeWidget(page);
    lvCollections->setObjectName(QStringLiteral("lvCollections"));
    lvCollections->setAccessibleName(QStringLiteral("Earlier collections"));
    lvCollections->setHeaderLabels({QStringLiteral("Collection"), QStringLiteral("Same drives"),
                                    QStringLiteral("Run"), QStringLiteral("File")});
    lvCollections->setRootIsDecorated(false);
    lvCollections->setAllColumnsShowFocus(true);
    lvCollections->header()->setHighlightSections(false);
    lvCollections->setColumnWidth(0, 360);
    lvCollections->setColumnWidth(1, 80);
    lvCollections->setColumnWidth(2, 70);
    intro->setBuddy(lvCollections);
    connect(lvCollections, &QTreeWidget::itemDoubleClicked, this,
            &CompareWindow::compareWithPicked);

    btBrowse = new QPushButton(QStringLiteral("&Browse..."), page);
    btBrowse->setAutoDefault(false);
    connect(btBrowse, &QPushButton::clicked, this, &CompareWindow::browse);
    btCompare = new QPushButton(QStringLiteral("&Compare"), page);
    btCompare->setAutoDefault(false);
    connect(btCompare, &QPushButton::clicked, this, &CompareWindow::compareWithPicked);
    connect(lvCollections, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *item) { btCompare->setEnabled(item != nullptr); });
    btPickClose = new QPushButton(QStringLiteral("Close"), page);
    btPickClose->setAutoDefault(false);
    connect(btPickClose, &QPushButton::clicked, this, &QDialog::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btBrowse);
    buttons->addStretch();
    buttons->addWidget(btCompare);
    buttons->addWidget(btPickClose);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(intro);
    layout->addWidget(lvCollections, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget *CompareWindow::buildComparison()
{
    auto *page = new QWidget(this);
    lblSource = new QLabel(page);
    lblSource->setObjectName(QStringLiteral("lblSource"));
    lblSource->setWordWrap(true);
    notebook = new TOvcNotebook(page);
    notebook->setObjectName(QStringLiteral("nbCompare"));
    notebook->setFont(notebookFont());

    for (int part = 0; part < comparisonPartCount; ++part) {
        auto *view = new QTableView(page);
        view->setObjectName(QStringLiteral("tv") + comparisonPartTitle(ComparisonPart(part)));
        view->setAccessibleName(comparisonPartTitle(ComparisonPart(part)) +
                                QStringLiteral(" then and now"));
        view->setModel(new ComparisonTableModel(view));
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setShowGrid(false);
        view->setTabKeyNavigation(false);
        view->setTextElideMode(Qt::ElideMiddle);
        view->verticalHeader()->hide();
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
        // Plain headings: a picked row does not make every heading bold.
        view->horizontalHeader()->setHighlightSections(false);
        view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        view->horizontalHeader()->setStretchLastSection(true);
        if (part != int(ComparisonPart::Summary)) {
            // The rows come largest change first; a heading sorts by its column.
            view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
            view->setSortingEnabled(true);
        }
        tables.push_back(view);
        auto *note = new QLabel(page);
        note->setObjectName(QStringLiteral("lbl") + comparisonPartTitle(ComparisonPart(part)) +
                            QStringLiteral("Notes"));
        note->setWordWrap(true);
        note->setTextFormat(Qt::PlainText);
        notes.push_back(note);
    }

    chart = new TChart(page);
    chart->setObjectName(QStringLiteral("chChanges"));
    chart->setTitleText(QStringLiteral("The largest changes of bytes by type"));
    chart->gradient = {true, chartColour::silver, chartColour::gray, GradientDirection::TopBottom};
    chart->setChart3DPercent(20);
    chart->Legend().style = LegendStyle::Series;
    chart->Legend().alignment = LegendAlignment::Top;
    changeBars = chart->addSeries<THorizBarSeries>();
    changeBars->setTitle(QStringLiteral("grew"));
    changeBars->setColour(growColour);
    changeBars->setGradient(true);
    changeBars->setValueFormat(QStringLiteral("#,##0"));
    // Draws nothing: it names the second colour in the legend.
    auto *shrank = chart->addSeries<THorizBarSeries>();
    shrank->setTitle(QStringLiteral("shrank"));
    shrank->setColour(shrinkColour);

    // A page per part; the largest files and their owners share one, as both come from the
    // same lists, the files above.
    notebook->setTabSize(QSize(88, 18));
    for (int part = 0; part < int(ComparisonPart::Files); ++part)
        notebook->addPage(
            comparisonPartTitle(ComparisonPart(part)),
            tablePage(ComparisonPart(part), part == int(ComparisonPart::Types) ? chart : nullptr));
    auto *owners = new QWidget;
    auto *ownersLayout = new QVBoxLayout(owners);
    ownersLayout->setContentsMargins(0, 0, 0, 0);
    ownersLayout->addWidget(tables[int(ComparisonPart::Owners)], 1);
    ownersLayout->addWidget(notes[int(ComparisonPart::Owners)]);
    notebook->addPage(QStringLiteral("Files and owners"), tablePage(ComparisonPart::Files, owners));

    btOther = new QPushButton(QStringLiteral("&Other collection..."), page);
    btOther->setAutoDefault(false);
    connect(btOther, &QPushButton::clicked, this, [this] {
        stages->setCurrentIndex(0), btCompare->setDefault(true), lvCollections->setFocus();
    });
    btExport = new QPushButton(QStringLiteral("&Export..."), page);
    btExport->setAutoDefault(false);
    connect(btExport, &QPushButton::clicked, this, &CompareWindow::exportClicked);
    btClose = new QPushButton(QStringLiteral("Close"), page);
    btClose->setAutoDefault(false);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btOther);
    buttons->addWidget(btExport);
    buttons->addStretch();
    buttons->addWidget(btClose);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblSource);
    layout->addWidget(notebook, 1);
    layout->addLayout(buttons);
    return page;
}

// A part's page: its table, the notes on what does not compare, and what stands below them.
QWidget *CompareWindow::tablePage(ComparisonPart part, QWidget *below)
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    QWidget *table = tables[std::size_t(part)];
    if (below) {
        auto *split = new QSplitter(Qt::Vertical, page);
        split->addWidget(table);
        split->addWidget(notes[std::size_t(part)]);
        split->addWidget(below);
        split->setChildrenCollapsible(false);
        split->setStretchFactor(0, 1);
        split->setStretchFactor(2, 1);
        below->setMinimumHeight(180);
        layout->addWidget(split, 1);
        return page;
    }
    layout->addWidget(table, part == ComparisonPart::Summary ? 0 : 1);
    layout->addWidget(notes[std::size_t(part)]);
    if (part == ComparisonPart::Summary)
        layout->addStretch(1);
    return page;
}

void CompareWindow::pickFor(Collection now, const QString &historyFolder, const QString &ownFile)
{
    nowRun = std::make_shared<const Collection>(std::move(now));
    lvCollections->clear();
    btCompare->setEnabled(false);
    const int listing = ++listingsStarted;
    // The history may hold a hundred runs of tens of megabytes each: it is looked through beside
    // the window, which shows the list at once and fills it when the answer comes.
    if (historyFolder.isEmpty()) {
        listEarlierRuns({});
    } else {
        showPickIntro(QStringLiteral("Looking through the history..."));
        runAside([historyFolder, facts = nowRun->facts, ownFile] {
            return earlierRuns(historyFolder, facts, ownFile);
        }).then(this, [this, listing](const std::vector<EarlierRun> &runs) {
            if (listing == listingsStarted)
                listEarlierRuns(runs);
        });
    }
    stages->setCurrentIndex(0);
    btCompare->setDefault(true);
    lvCollections->setFocus();
}

bool CompareWindow::listingHistory() const
{
    return listingsStarted != listingsShown;
}

void CompareWindow::showPickIntro(const QString &text)
{
    findChild<QLabel *>(QStringLiteral("lblPick"))->setText(text);
}

void CompareWindow::listEarlierRuns(const std::vector<EarlierRun> &runs)
{
    listingsShown = listingsStarted;
    lvCollections->clear();
    for (const EarlierRun &run : runs) {
        auto *item = new QTreeWidgetItem(
            lvCollections,
            {earlierRunLabel(run), run.sameDrives ? QStringLiteral("Yes") : QStringLiteral("No"),
             run.facts.complete ? QStringLiteral("Complete") : QStringLiteral("Stopped"),
             QFileInfo(run.path).fileName()});
        item->setData(0, PathRole, run.path);
        item->setToolTip(0, walkedDrivesText(run.facts));
        item->setToolTip(3, QDir::toNativeSeparators(run.path));
    }
    const QString shownNow = walkedDrivesText(nowRun->facts) + QStringLiteral(", counted ") +
                             shortDate(nowRun->facts.started);
    showPickIntro(
        runs.empty()
            ? QStringLiteral("Compare the figures shown (%1) with an &earlier collection. The "
                             "history holds none yet; \"Browse...\" opens any collection file.")
                  .arg(shownNow)
            : QStringLiteral("Compare the figures shown (%1) with an &earlier collection. The "
                             "history's collections of the same drives come first, newest "
                             "first; \"Browse...\" opens any collection file.")
                  .arg(shownNow));
    if (!runs.empty())
        lvCollections->setCurrentItem(lvCollections->topLevelItem(0));
}

void CompareWindow::nowChanged(Collection now, const QString &historyFolder, const QString &ownFile)
{
    const std::shared_ptr<const Collection> then =
        shown && stages->currentIndex() == 1 ? shown->thenRun() : nullptr;
    pickFor(std::move(now), historyFolder, ownFile);
    if (then)
        compareWithRun(then);
}

void CompareWindow::compareWithPicked()
{
    const QTreeWidgetItem *item = lvCollections->currentItem();
    if (item)
        compareWithFile(item->data(0, PathRole).toString());
}

void CompareWindow::browse()
{
    const QString path = askCollectionFile ? askCollectionFile() : QString();
    if (!path.isEmpty())
        compareWithFile(path);
}

bool CompareWindow::compareWithFile(const QString &path)
{
    const CollectionRead read = readCollectionFile(path);
    if (!read) {
        errorBox(read.message);
        return false;
    }
    compareWithRun(std::make_shared<const Collection>(std::move(*read.collection)));
    return true;
}

void CompareWindow::compareWith(const Collection &then)
{
    compareWithRun(std::make_shared<const Collection>(then));
}

void CompareWindow::compareWithRun(std::shared_ptr<const Collection> then)
{
    auto next = std::make_unique<Comparison>(then, nowRun);
    releaseTables();
    shown = std::move(next);
    lblSource->setText(QStringLiteral("Then: %1, counted %2. Now: %3, counted %4.")
                           .arg(walkedDrivesText(then->facts), shortDate(then->facts.started),
                                walkedDrivesText(nowRun->facts), shortDate(nowRun->facts.started)));
    showTables();
    btCompare->setDefault(false);
    stages->setCurrentIndex(1);
    notebook->setPageIndex(0);
    tables[int(ComparisonPart::Summary)]->setFocus();
}

void CompareWindow::showTables()
{
    for (int part = 0; part < comparisonPartCount; ++part) {
        QTableView *view = tables[std::size_t(part)];
        auto *model = static_cast<ComparisonTableModel *>(view->model());
        model->showPart(shown.get(), ComparisonPart(part));
        view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        view->resizeColumnsToContents();
        for (int column = 0; column < model->columnCount(); ++column)
            view->setColumnWidth(column, std::min(view->columnWidth(column) + 8, 280));
        if (model->rowCount() > 0)
            view->setCurrentIndex(model->index(0, 0));
    }
    // The summary's few rows without empty space below them; the warnings follow at once.
    QTableView *summary = tables[int(ComparisonPart::Summary)];
    summary->setFixedHeight(summary->horizontalHeader()->sizeHint().height() +
                            summary->verticalHeader()->length() + 2 * summary->frameWidth() + 2);
    // Each table says what of it does not compare; the folders' also when a folder counts as 0,
    // or, without folder totals, why there are none.
    for (int part = 0; part < comparisonPartCount; ++part)
        notes[std::size_t(part)]->setText(
            shown->table(ComparisonPart(part), false).notes.join(u'\n'));
    if (shown->warnings().isEmpty())
        notes[int(ComparisonPart::Summary)]->setText(
            QStringLiteral("Both runs counted the same drives with the same filter: every figure "
                           "compares."));
    for (QLabel *note : notes)
        note->setVisible(!note->text().isEmpty());
    tables[int(ComparisonPart::Folders)]->setVisible(shown->hasFolders());
    // The owners' table shares the files' page and says again only what the files' does not.
    QLabel *ownersNote = notes[int(ComparisonPart::Owners)];
    ownersNote->setVisible(!ownersNote->isHidden() &&
                           ownersNote->text() != notes[int(ComparisonPart::Files)]->text());
    for (const ComparisonPart part : {ComparisonPart::Files, ComparisonPart::Owners})
        tables[int(part)]->setVisible(shown->hasFiles());
    showChart();
}

// The largest changes first, at the top: the chart's first bar stands at the bottom.
void CompareWindow::showChart()
{
    std::vector<const ChangeRow *> changed;
    for (const ChangeRow &row : shown->types())
        if (row.figures.byteChange() != 0 && int(changed.size()) < chartBars)
            changed.push_back(&row);
    changeBars->Clear();
    for (auto row = changed.rbegin(); row != changed.rend(); ++row) {
        const std::int64_t change = (*row)->figures.byteChange();
        changeBars->Add(double(change),
                        (*row)->label.isEmpty() ? QStringLiteral("(none)") : (*row)->label,
                        change < 0 ? shrinkColour : growColour);
    }
    chart->UndoZoom();
}

// ---- Export -------------------------------------------------------------------------------------

std::optional<CompareExport> CompareWindow::defaultAskExport()
{
    TablesExportOffer offer{QStringLiteral("Export comparison"),
                            QStringLiteral("comparison"),
                            {},
                            {},
                            notebook->PageIndex()};
    for (int part = 0; part < comparisonPartCount; ++part) {
        offer.tableTitles << comparisonPartTitle(ComparisonPart(part));
        offer.tableNames << comparisonPartName(ComparisonPart(part));
    }
    const std::optional<TablesExportChoice> chosen = askTablesExport(this, offer);
    if (!chosen)
        return std::nullopt;
    CompareExport request;
    if (chosen->table)
        request.csvPart = ComparisonPart(*chosen->table);
    request.path = chosen->path;
    return request;
}

void CompareWindow::exportClicked()
{
    if (!shown || !askExport)
        return;
    if (const std::optional<CompareExport> request = askExport())
        exportComparison(*request);
}

bool CompareWindow::writeComparisonDocument(QIODevice &file) const
{
    // The program's report document: a cover of the run shown now, then every table, the
    // types with the chart of their largest changes.
    ReportCover cover;
    cover.title = QStringLiteral("Korvel 98 comparison with the run of ") +
                  shortDate(shown->then().facts.started);
    cover.facts = nowRun->facts;
    cover.filter = filterSummary(nowRun->figures.filter);
    cover.filesFound = std::uint64_t(std::max<std::int64_t>(nowRun->figures.filesFound, 0));
    cover.filesProcessed = std::uint64_t(std::max<std::int64_t>(nowRun->figures.filesProcessed, 0));
    std::vector<ReportSection> sections;
    for (int part = 0; part < comparisonPartCount; ++part)
        sections.push_back({shown->table(ComparisonPart(part)), {}});
    const QSizeF size(640, 420);
    ReportChart picture{chart->Title().lines.value(0), QPicture(), size};
    QPainter painter(&picture.picture);
    chart->draw(painter, QRectF(QPointF(), size));
    painter.end();
    sections[int(ComparisonPart::Types)].charts.push_back(std::move(picture));
    return writeReportDocument(file, cover, sections);
}

bool CompareWindow::exportComparison(const CompareExport &request)
{
    if (!shown)
        return false;
    return writeTablesExport(request.path, [&](QIODevice &file) {
        if (request.csvPart) {
            const QByteArray csv = comparisonCsv(*shown, *request.csvPart);
            return file.write(csv) == csv.size();
        }
        return writeComparisonDocument(file);
    });
}
