#include "reports/CompareWindow.h"

#include "charts/ChartAccessible.h"
#include "controls/DialogLook.h"
#include "controls/FileDialogs.h"
#include "controls/MessageBoxes.h"
#include "controls/StyledLabel.h"
#include "helpers/Aside.h"
#include "helpers/Helpers.h"
#include "model/ReportCsv.h"
#include "platform/FileWriter.h"
#include "reports/ComparisonTableModel.h"
#include "reports/ReportDocument.h"

#include <QAccessible>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPicture>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr QSize startSize(900, 580);
constexpr int chartBars = 20;
constexpr int PathRole = Qt::UserRole + 1;

// Growth and shrinkage: a dark blue and a red on a light ground, lighter ones on a dark ground.
constexpr QColor growColour(0, 0, 176), growColourOnDark(120, 160, 255);
constexpr QColor shrinkColour(192, 0, 0), shrinkColourOnDark(255, 128, 112);

QString tabCaption(ComparisonPart part)
{
    static const char *const captions[comparisonPartCount] = {
        "&Summary",  "&Types",      "Si&zes",   "&Accessed",         "C&reated",
        "&Modified", "Attri&butes", "&Folders", "F&iles and owners", "F&iles and owners"};
    return QString::fromLatin1(captions[int(part)]);
}

QString shortDate(const QDateTime &at)
{
    return at.isValid() ? QLocale().toString(at, QLocale::ShortFormat) : QStringLiteral("?");
}

QString grouped(std::int64_t change)
{
    return ReportCell::ofChange(change).shown();
}

QString fileError(const QString &path, const QString &reason)
{
    return QStringLiteral("Could not write the file ") + QDir::toNativeSeparators(path) +
           QStringLiteral(": ") + reason;
}

} // namespace

// ---- The chart ----------------------------------------------------------------------------------

ChangeChart::ChangeChart(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chChanges"));
    installChartAccessibility(); // before anything asks a reader about the chart
    setAccessibleName(QStringLiteral("Largest changes of bytes by type"));
    setAutoFillBackground(false);
}

void ChangeChart::setBars(std::vector<Bar> bars)
{
    shown = std::move(bars);
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
    }
    updateGeometry();
    update();
}

ChartTableText ChangeChart::chartTableText() const
{
    ChartTableText table;
    table.columnHeaders << QStringLiteral("Change of bytes");
    for (const Bar &bar : shown) {
        table.rowHeaders << bar.label;
        table.cells << QStringList{ReportCell::ofChange(bar.change).shown()};
    }
    return table;
}

QSize ChangeChart::sizeHint() const
{
    return {400, fontMetrics().height() * (chartBars + 3)};
}

QSize ChangeChart::minimumSizeHint() const
{
    return {200, fontMetrics().height() * 6};
}

void ChangeChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &colours = palette();
    painter.fillRect(rect(), colours.base());
    const bool dark = colours.color(QPalette::Base).lightness() < 128;
    const QColor grow = dark ? growColourOnDark : growColour;
    const QColor shrink = dark ? shrinkColourOnDark : shrinkColour;
    const QColor ink = colours.color(QPalette::Text);
    const QFontMetrics metrics = fontMetrics();
    const int line = metrics.height();
    const QRect inner = rect().adjusted(6, 4, -6, -4);

    // The title and the legend.
    painter.setPen(ink);
    painter.drawText(inner.left(), inner.top() + metrics.ascent(),
                     QStringLiteral("The largest changes of bytes by type"));
    int legend = inner.right();
    for (const auto &[text, colour] :
         {std::pair{QStringLiteral("shrank"), shrink}, std::pair{QStringLiteral("grew"), grow}}) {
        legend -= metrics.horizontalAdvance(text);
        painter.drawText(legend, inner.top() + metrics.ascent(), text);
        legend -= line;
        painter.fillRect(QRect(legend, inner.top() + 2, line - 6, line - 4), colour);
        legend -= line;
    }
    if (shown.empty()) {
        painter.drawText(inner.adjusted(0, line * 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("No type changed in bytes."));
        return;
    }

    int labelWidth = 0, valueWidth = 0;
    std::uint64_t most = 0, mostGrown = 0, mostShrunk = 0;
    for (const Bar &bar : shown) {
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(bar.label));
        valueWidth = std::max(valueWidth, metrics.horizontalAdvance(grouped(bar.change)));
        const std::uint64_t size =
            bar.change < 0 ? 0 - std::uint64_t(bar.change) : std::uint64_t(bar.change);
        (bar.change < 0 ? mostShrunk : mostGrown) =
            std::max(bar.change < 0 ? mostShrunk : mostGrown, size);
        most = std::max(most, size);
    }
    const int top = inner.top() + line * 2;
    const int rowHeight =
        std::clamp((inner.bottom() - top) / int(shown.size()), line + 2, line * 7 / 4);
    const int barLeft = inner.left() + labelWidth + valueWidth + 16;
    const int barWidth = std::max(10, inner.right() - barLeft);
    // The zero line sits where growth and shrinkage share the width by their largest bars.
    const double total = double(mostGrown) + double(mostShrunk);
    const int zero = barLeft + int(barWidth * (total > 0 ? double(mostShrunk) / total : 0));
    const double scale = total > 0 ? barWidth / total : 0;

    for (std::size_t i = 0; i < shown.size(); ++i) {
        const Bar &bar = shown[i];
        const int y = top + int(i) * rowHeight;
        const QRect text(inner.left(), y, labelWidth, rowHeight);
        painter.setPen(ink);
        painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, bar.label);
        painter.drawText(QRect(text.right() + 8, y, valueWidth, rowHeight),
                         Qt::AlignRight | Qt::AlignVCenter, grouped(bar.change));
        const double size = bar.change < 0 ? double(0 - std::uint64_t(bar.change))
                                           : double(std::uint64_t(bar.change));
        const int length = std::max(2, int(size * scale));
        const int barTop = y + rowHeight / 6, barHeight = std::max(2, rowHeight * 2 / 3);
        painter.fillRect(bar.change < 0 ? QRect(zero - length, barTop, length, barHeight)
                                        : QRect(zero, barTop, length, barHeight),
                         bar.change < 0 ? shrink : grow);
    }
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawLine(zero, top, zero, top + int(shown.size()) * rowHeight);
}

// ---- The window ---------------------------------------------------------------------------------

CompareWindow::CompareWindow(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CompareWindow"));
    setWindowTitle(QStringLiteral("Compare collections"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    resize(startSize);

    askCollectionFile = [this] {
        return askOpenFileName(this, QStringLiteral("Compare with a collection"), QDir::homePath(),
                               QStringLiteral("Collections (*.korvel98.json);;All files (*)"));
    };
    askExport = [this] { return defaultAskExport(); };

    auto *title = makeTitleLabel(QStringLiteral("Compare"), QRect(), this);
    title->setMinimumHeight(34);
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
    lvCollections->setHeaderLabels({QStringLiteral("Collected"), QStringLiteral("Drives"),
                                    QStringLiteral("Same drives"), QStringLiteral("Run"),
                                    QStringLiteral("File")});
    lvCollections->setRootIsDecorated(false);
    lvCollections->setAllColumnsShowFocus(true);
    lvCollections->setAlternatingRowColors(true);
    lvCollections->setColumnWidth(0, 130);
    lvCollections->setColumnWidth(1, 220);
    lvCollections->setColumnWidth(2, 80);
    lvCollections->setColumnWidth(3, 70);
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
    tabs = new QTabWidget(page);
    tabs->setObjectName(QStringLiteral("tabsCompare"));

    for (int part = 0; part < comparisonPartCount; ++part) {
        auto *view = new QTableView(page);
        view->setObjectName(QStringLiteral("tv") + comparisonPartTitle(ComparisonPart(part)));
        view->setAccessibleName(comparisonPartTitle(ComparisonPart(part)) +
                                QStringLiteral(" then and now"));
        view->setModel(new ComparisonTableModel(view));
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setAlternatingRowColors(true);
        view->setTabKeyNavigation(false);
        view->setTextElideMode(Qt::ElideMiddle);
        view->verticalHeader()->hide();
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
        view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        view->horizontalHeader()->setStretchLastSection(true);
        if (part != int(ComparisonPart::Summary)) {
            // The rows come largest change first; a heading sorts by its column.
            view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
            view->setSortingEnabled(true);
        }
        tables.push_back(view);
    }

    lblWarnings = new QLabel(page);
    lblWarnings->setObjectName(QStringLiteral("lblWarnings"));
    lblWarnings->setWordWrap(true);
    lblWarnings->setTextFormat(Qt::PlainText);
    auto *summary = new QWidget(page);
    auto *summaryLayout = new QVBoxLayout(summary);
    summaryLayout->addWidget(tables[int(ComparisonPart::Summary)]);
    summaryLayout->addWidget(lblWarnings);
    summaryLayout->addStretch(1);
    tabs->addTab(summary, tabCaption(ComparisonPart::Summary));

    chart = new ChangeChart(page);
    auto *types = new QSplitter(Qt::Vertical, page);
    types->addWidget(tables[int(ComparisonPart::Types)]);
    types->addWidget(chart);
    types->setChildrenCollapsible(false);
    tabs->addTab(types, tabCaption(ComparisonPart::Types));

    for (const ComparisonPart part :
         {ComparisonPart::Sizes, ComparisonPart::Accessed, ComparisonPart::Created,
          ComparisonPart::Modified, ComparisonPart::Attributes})
        tabs->addTab(tables[int(part)], tabCaption(part));

    lblNoFolders = new QLabel(page);
    lblNoFolders->setObjectName(QStringLiteral("lblNoFolders"));
    lblNoFolders->setWordWrap(true);
    auto *folders = new QWidget(page);
    auto *folderLayout = new QVBoxLayout(folders);
    folderLayout->addWidget(lblNoFolders);
    folderLayout->addWidget(tables[int(ComparisonPart::Folders)], 1);
    tabs->addTab(folders, tabCaption(ComparisonPart::Folders));

    // The largest files above, the owners below: one tab, as both come from the same lists.
    lblNoFiles = new QLabel(page);
    lblNoFiles->setObjectName(QStringLiteral("lblNoFiles"));
    lblNoFiles->setWordWrap(true);
    auto *files = new QWidget(page);
    auto *fileLayout = new QVBoxLayout(files);
    fileLayout->addWidget(lblNoFiles);
    fileLayout->addWidget(tables[int(ComparisonPart::Files)], 3);
    fileLayout->addWidget(tables[int(ComparisonPart::Owners)], 2);
    tabs->addTab(files, tabCaption(ComparisonPart::Files));

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
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);
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
            {shortDate(run.facts.started), walkedDrivesText(run.facts),
             run.sameDrives ? QStringLiteral("Yes") : QStringLiteral("No"),
             run.facts.complete ? QStringLiteral("Complete") : QStringLiteral("Stopped"),
             QFileInfo(run.path).fileName()});
        item->setData(0, PathRole, run.path);
        item->setToolTip(4, QDir::toNativeSeparators(run.path));
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
    tabs->setCurrentIndex(0);
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
    const QStringList warnings = shown->warnings();
    lblWarnings->setText(warnings.isEmpty()
                             ? QStringLiteral("Both runs counted the same drives with the same "
                                              "filter: every figure compares.")
                             : warnings.join(u'\n'));
    std::vector<ChangeChart::Bar> bars;
    for (const ChangeRow &row : shown->types())
        if (row.figures.byteChange() != 0 && int(bars.size()) < chartBars)
            bars.push_back({row.label.isEmpty() ? QStringLiteral("(none)") : row.label,
                            row.figures.byteChange()});
    chart->setBars(std::move(bars));
    const bool folders = shown->hasFolders();
    // Without folder totals the note says why; with them, when a folder's figure is unknown.
    lblNoFolders->setText(shown->table(ComparisonPart::Folders).notes.value(0));
    tables[int(ComparisonPart::Folders)]->setVisible(folders);
    lblNoFiles->setText(shown->table(ComparisonPart::Files).notes.join(u'\n'));
    for (const ComparisonPart part : {ComparisonPart::Files, ComparisonPart::Owners})
        tables[int(part)]->setVisible(shown->hasFiles());
}

// ---- Export -------------------------------------------------------------------------------------

std::optional<CompareExport> CompareWindow::defaultAskExport()
{
    QDialog choice(this);
    choice.setWindowTitle(QStringLiteral("Export comparison"));
    auto *csv = new QRadioButton(QStringLiteral("&CSV file with one table:"), &choice);
    auto *part = new QComboBox(&choice);
    for (int i = 0; i < comparisonPartCount; ++i)
        part->addItem(comparisonPartTitle(ComparisonPart(i)));
    part->setCurrentIndex(std::max(0, tabs->currentIndex()));
    part->setAccessibleName(QStringLiteral("Table"));
    auto *pdf = new QRadioButton(QStringLiteral("&PDF file with every table"), &choice);
    csv->setChecked(true);
    connect(csv, &QRadioButton::toggled, part, &QWidget::setEnabled);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &choice);
    connect(buttons, &QDialogButtonBox::accepted, &choice, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &choice, &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addWidget(csv);
    row->addWidget(part, 1);
    auto *layout = new QVBoxLayout(&choice);
    layout->addLayout(row);
    layout->addWidget(pdf);
    layout->addWidget(buttons);
    if (choice.exec() != QDialog::Accepted)
        return std::nullopt;

    CompareExport request;
    QString name = QStringLiteral("comparison");
    if (csv->isChecked()) {
        request.csvPart = ComparisonPart(part->currentIndex());
        name += u'-' + comparisonPartName(*request.csvPart) + QStringLiteral(".csv");
    } else {
        name += QStringLiteral(".pdf");
    }
    request.path =
        askSaveFileName(this, QStringLiteral("Export comparison"), QDir::home().filePath(name),
                        csv->isChecked() ? QStringLiteral("CSV files (*.csv)")
                                         : QStringLiteral("PDF files (*.pdf)"));
    if (request.path.isEmpty())
        return std::nullopt;
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
    cover.filter = filterSummary(nowRun->figures);
    cover.filesFound = std::uint64_t(std::max<std::int64_t>(nowRun->figures.filesFound, 0));
    cover.filesProcessed = std::uint64_t(std::max<std::int64_t>(nowRun->figures.filesProcessed, 0));
    std::vector<ReportSection> sections;
    for (int part = 0; part < comparisonPartCount; ++part)
        sections.push_back({shown->table(ComparisonPart(part)), {}});
    ChangeChart drawn;
    drawn.setBars(chart->bars());
    drawn.resize(640, drawn.sizeHint().height());
    ReportChart picture{drawn.accessibleName(), QPicture(), QSizeF(drawn.size())};
    QPainter painter(&picture.picture);
    drawn.render(&painter);
    painter.end();
    sections[int(ComparisonPart::Types)].charts.push_back(std::move(picture));
    return writeReportDocument(file, cover, sections);
}

bool CompareWindow::exportComparison(const CompareExport &request)
{
    if (!shown)
        return false;
    // The file appears whole or not at all: a failure leaves what was there before.
    bool documentMade = true;
    const std::optional<QString> failure = platform::writeFile(request.path, [&](QIODevice &file) {
        if (request.csvPart) {
            const QByteArray csv = reportCsv(shown->table(*request.csvPart));
            return file.write(csv) == csv.size();
        }
        documentMade = writeComparisonDocument(file);
        return documentMade;
    });
    if (failure) {
        errorBox(fileError(request.path, documentMade
                                             ? *failure
                                             : QStringLiteral("the document could not be made")));
        return false;
    }
    return true;
}
