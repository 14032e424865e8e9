#include "reports/TrendsWindow.h"

#include "charts/Chart.h"
#include "charts/LineSeries.h"
#include "controls/MessageBoxes.h"
#include "controls/Notebook.h"
#include "controls/StyledLabel.h"
#include "helpers/NameText.h"
#include "model/ReportCsv.h"
#include "platform/FileManager.h"
#include "reports/PageLook.h"
#include "reports/ReportDocument.h"
#include "reports/TablesWindow.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPromise>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QThreadPool>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr QSize startSize(760, 560);
constexpr int SortRole = Qt::UserRole;
constexpr double mebibyte = 1024.0 * 1024.0;
constexpr int typeLines = 10;
// A forecast further out than this is cut there, so that the measured lines keep their room.
constexpr int forecastDrawnDays = 5 * 365;

const QColor lineColours[] = {chartColour::red,     chartColour::blue, chartColour::green,
                              chartColour::fuchsia, chartColour::teal, chartColour::maroon,
                              chartColour::navy,    chartColour::gray, chartColour::lime,
                              chartColour::aqua};

QString tabCaption(TrendTab tab)
{
    return trendTabTitle(tab);
}

// A point's place along the bottom axis: days since the first collection shown.
double dayOf(const QDateTime &at, const QDateTime &first)
{
    return double(first.secsTo(at)) / 86400.0;
}

QString pointLabel(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd"));
}

void setUpChart(TChart &chart, const QString &bottomTitle, const QString &leftTitle)
{
    chart.Title().visible = false;
    chart.setChart3DPercent(15);
    chart.leftWall.colour = chartColour::lightAqua;
    chart.margins.left = chart.margins.right = 1;
    chart.Legend().alignment = LegendAlignment::Top;
    chart.Legend().style = LegendStyle::Series;
    chart.Legend().colourWidth = 25;
    chart.BottomAxis().title = bottomTitle;
    chart.BottomAxis().labelAngle = 90;
    chart.BottomAxis().labelSeparation = 3;
    chart.LeftAxis().title = leftTitle;
    chart.LeftAxis().AxisValuesFormat = QStringLiteral("#,##0");
}

TLineSeries *addLine(TChart &chart, const QString &title, const QColor &colour)
{
    auto *line = chart.addSeries<TLineSeries>();
    line->setTitle(title);
    line->setColour(colour);
    line->setValueFormat(QStringLiteral("#,##0"));
    return line;
}

void fill(QStandardItemModel &model, const ReportTable &table)
{
    model.clear();
    model.setHorizontalHeaderLabels(table.headings);
    for (const std::vector<ReportCell> &row : table.rows) {
        QList<QStandardItem *> items;
        for (const ReportCell &cell : row) {
            auto *item = new QStandardItem(cell.shown());
            item->setEditable(false);
            if (cell.kind == ReportCell::Kind::Integer)
                item->setData(qulonglong(cell.integer), SortRole);
            else if (cell.kind == ReportCell::Kind::Change)
                item->setData(qlonglong(cell.change), SortRole);
            else
                item->setData(cell.text.toLower(), SortRole);
            if (cell.kind != ReportCell::Kind::Text)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            else
                item->setToolTip(cell.text);
            items << item;
        }
        model.appendRow(items);
    }
}

QTableView *makeTable(const QString &name, const QString &accessible, QWidget *parent)
{
    auto *view = new QTableView(parent);
    view->setObjectName(name);
    view->setAccessibleName(accessible);
    auto *proxy = new QSortFilterProxyModel(view);
    proxy->setSourceModel(new QStandardItemModel(proxy));
    proxy->setSortRole(SortRole);
    view->setModel(proxy);
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
    view->setSortingEnabled(true);
    return view;
}

void showTable(QTableView &view, const ReportTable &table)
{
    auto *proxy = static_cast<QSortFilterProxyModel *>(view.model());
    view.horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    proxy->sort(-1);
    fill(*static_cast<QStandardItemModel *>(proxy->sourceModel()), table);
    view.resizeColumnsToContents();
    for (int column = 0; column < proxy->columnCount(); ++column)
        view.setColumnWidth(column, std::min(view.columnWidth(column) + 8, 280));
    if (proxy->rowCount() > 0)
        view.setCurrentIndex(proxy->index(0, 0));
}

QString lettersText(const QString &set)
{
    QStringList drives;
    for (const QChar letter : set)
        drives << letter.toUpper() + QStringLiteral(":");
    return drives.join(u' ');
}

} // namespace

TrendsWindow::TrendsWindow(QWidget *parent) : QDialog(parent)
{
    auto *title = makeTablesWindowFrame(*this, QStringLiteral("TrendsWindow"),
                                        QStringLiteral("Trends"), startSize);
    askFolder = [this] {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("History folder"),
                                                 historyFolder);
    };
    askExport = [this] { return defaultAskExport(); };

    lblSource = new QLabel(this);
    lblSource->setObjectName(QStringLiteral("lblSource"));
    lblSource->setWordWrap(true);
    cbDrives = new QComboBox(this);
    cbDrives->setObjectName(QStringLiteral("cbDrives"));
    auto *drivesLabel = new QLabel(QStringLiteral("&Drives:"), this);
    drivesLabel->setBuddy(cbDrives);
    cbPeriod = new QComboBox(this);
    cbPeriod->setObjectName(QStringLiteral("cbPeriod"));
    for (int period = 0; period < trendPeriodCount; ++period)
        cbPeriod->addItem(trendPeriodTitle(TrendPeriod(period)));
    auto *periodLabel = new QLabel(QStringLiteral("&Period:"), this);
    periodLabel->setBuddy(cbPeriod);
    btBrowse = new QPushButton(QStringLiteral("&Browse..."), this);
    btBrowse->setAutoDefault(false);
    connect(btBrowse, &QPushButton::clicked, this, [this] {
        const QString folder = askFolder ? askFolder() : QString();
        if (!folder.isEmpty())
            showHistory(folder);
    });
    connect(cbDrives, &QComboBox::currentIndexChanged, this, &TrendsWindow::refresh);
    connect(cbPeriod, &QComboBox::currentIndexChanged, this, &TrendsWindow::refresh);

    notebook = new TOvcNotebook(this);
    notebook->setObjectName(QStringLiteral("nbTrends"));
    notebook->setTabSize(QSize(63, 18));
    notebook->setFont(notebookFont());
    notebook->addPage(tabCaption(TrendTab::Space), buildSpace());
    notebook->addPage(tabCaption(TrendTab::Types), buildTypes());
    notebook->addPage(tabCaption(TrendTab::Folders), buildFolders());
    notebook->addPage(tabCaption(TrendTab::Ages), buildAges());

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setWordWrap(true);
    lblMessage->hide();
    btExport = new QPushButton(QStringLiteral("&Export..."), this);
    btExport->setAutoDefault(false);
    connect(btExport, &QPushButton::clicked, this, [this] {
        if (const auto request = askExport ? askExport() : std::nullopt)
            exportTrends(*request);
    });
    btClose = new QPushButton(QStringLiteral("Close"), this);
    btClose->setAutoDefault(false);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);

    auto *choices = new QHBoxLayout;
    choices->addWidget(drivesLabel);
    choices->addWidget(cbDrives, 1);
    choices->addWidget(periodLabel);
    choices->addWidget(cbPeriod);
    choices->addWidget(btBrowse);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btExport);
    buttons->addStretch();
    buttons->addWidget(btClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(lblSource);
    layout->addLayout(choices);
    layout->addWidget(notebook, 1);
    layout->addWidget(lblMessage);
    layout->addLayout(buttons);
}

QWidget *TrendsWindow::buildSpace()
{
    auto *page = new QWidget(this);
    chSpace = new TChart(page);
    chSpace->setObjectName(QStringLiteral("chSpace"));
    chSpace->setAccessibleName(QStringLiteral("Used space over time"));
    setUpChart(*chSpace, QStringLiteral("Date"), QStringLiteral("MB"));
    lblForecast = new QLabel(page);
    lblForecast->setObjectName(QStringLiteral("lblForecast"));
    lblForecast->setFont(notebookFont(true));
    lblForecast->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lblForecast->setFocusPolicy(Qt::TabFocus);
    lblForecast->setWordWrap(true);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(chSpace, 1);
    layout->addWidget(lblForecast);
    return page;
}

QWidget *TrendsWindow::buildTypes()
{
    auto *page = new QWidget(this);
    chTypes = new TChart(page);
    chTypes->setObjectName(QStringLiteral("chTypes"));
    chTypes->setAccessibleName(QStringLiteral("Bytes of the ten largest types over time"));
    setUpChart(*chTypes, QStringLiteral("Date"), QStringLiteral("MB"));
    tvTypes = makeTable(QStringLiteral("tvTypes"), QStringLiteral("Types by growth"), page);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(chTypes, 3);
    layout->addWidget(tvTypes, 2);
    return page;
}

QWidget *TrendsWindow::buildFolders()
{
    auto *page = new QWidget(this);
    tvFolders = makeTable(QStringLiteral("tvFolders"), QStringLiteral("Folders by growth"), page);
    // Enter and a double click both activate a row.
    connect(tvFolders, &QTableView::activated, this,
            [this](const QModelIndex &index) { openFolderAt(index.row()); });
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(tvFolders);
    return page;
}

QWidget *TrendsWindow::buildAges()
{
    auto *page = new QWidget(this);
    chAges = new TChart(page);
    chAges->setObjectName(QStringLiteral("chAges"));
    chAges->setAccessibleName(QStringLiteral("Cold bytes over time"));
    setUpChart(*chAges, QStringLiteral("Date"), QStringLiteral("% of the bytes"));
    chAges->LeftAxis().Automatic = false;
    chAges->LeftAxis().setMinMax(0, 100);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(chAges);
    return page;
}

void TrendsWindow::showHistory(const QString &folder, const QString &driveSet, const QString &host)
{
    if (!reading) {
        reading = new QFutureWatcher<TrendRead>(this);
        connect(reading, &QFutureWatcher<TrendRead>::finished, this, [this] {
            if (reading->future().resultCount() > 0)
                takeRead(reading->result());
        });
    }
    lblSource->setText(
        QStringLiteral("Reading the collections in %1...").arg(QDir::toNativeSeparators(folder)));
    btExport->setEnabled(false);
    // A long history, or an index made again from every file, takes seconds: the window stays
    // at hand meanwhile. A watcher given a new reading no longer hears of the one before.
    auto promise = std::make_shared<QPromise<TrendRead>>();
    pendingFolder = folder;
    pendingDriveSet = driveSet;
    pendingHost = host;
    readPending = true;
    reading->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, folder] {
        promise->addResult(readTrends(folder));
        promise->finish();
    });
}

bool TrendsWindow::isReading() const
{
    return readPending;
}

void TrendsWindow::takeRead(const TrendRead &read)
{
    readPending = false;
    historyFolder = pendingFolder;
    all.clear();
    // Collections copied from several machines into one folder are told apart by their host.
    std::copy_if(read.points.begin(), read.points.end(), std::back_inserter(all),
                 [&](const TrendPoint &point) {
                     return pendingHost.isEmpty() || point.host == pendingHost;
                 });
    lblMessage->setText(read.message);
    lblMessage->setVisible(!read.message.isEmpty());
    const QStringList sets = trendDriveSets(all);
    {
        const QSignalBlocker quiet(cbDrives);
        cbDrives->clear();
        for (const QString &set : sets)
            cbDrives->addItem(lettersText(set), set);
        cbDrives->setCurrentIndex(std::max<qsizetype>(0, sets.indexOf(pendingDriveSet)));
    }
    refresh();
    emit historyShown();
}

void TrendsWindow::refresh()
{
    if (readPending) // the period and drive set chosen meanwhile apply when it ends
        return;
    const QString set = cbDrives->currentData().toString();
    shown = pointsInPeriod(all, set, TrendPeriod(std::max(0, cbPeriod->currentIndex())));
    lblSource->setText(
        shown.empty()
            ? QStringLiteral("The history folder %1 holds no collections.")
                  .arg(QDir::toNativeSeparators(historyFolder))
            : QStringLiteral("%1 collections of drives %2 from %3 to %4, in %5.")
                  .arg(shown.size())
                  .arg(lettersText(set),
                       QLocale().toString(shown.front().started.date(), QLocale::ShortFormat),
                       QLocale().toString(shown.back().started.date(), QLocale::ShortFormat),
                       QDir::toNativeSeparators(historyFolder)));
    btExport->setEnabled(!shown.empty());
    fillSpace();
    fillTypes();
    showTable(*tvFolders,
              trendTable(TrendTab::Folders, shown, QDate::currentDate(), historyFolder));
    fillAges();
}

void TrendsWindow::fillSpace()
{
    chSpace->removeAllSeries();
    lblForecast->clear();
    if (shown.empty())
        return;
    const QDateTime first = shown.front().started;
    QStringList forecasts;
    int colour = 0;
    for (const DriveForecast &drive : driveForecasts(shown)) {
        const QString name = drive.letter.toUpper() + QStringLiteral(":");
        const QColor ink = lineColours[colour++ % std::size(lineColours)];
        TLineSeries *used = addLine(*chSpace, name + QStringLiteral(" used"), ink);
        for (const UsedSample &sample : usedSamples(shown, drive.letter))
            used->AddXY(dayOf(sample.at, first), sample.usedBytes / mebibyte,
                        pointLabel(sample.at));
        const Forecast &forecast = drive.forecast;
        QDateTime end = shown.back().started;
        if (forecast.state == Forecast::State::Growing) {
            end = std::min(forecast.full, end.addDays(forecastDrawnDays));
            TLineSeries *ahead = addLine(*chSpace, name + QStringLiteral(" forecast"), ink);
            ahead->setDashed(true);
            for (const QDateTime &at : {shown.back().started, end})
                ahead->AddXY(dayOf(at, first),
                             (forecast.lineUsed + forecast.bytesPerWeek / (7 * 86400.0) *
                                                      double(forecast.lineStart.secsTo(at))) /
                                 mebibyte,
                             pointLabel(at));
        }
        // The capacity runs as far as the forecast, which meets it where the drive is full.
        TLineSeries *capacity =
            addLine(*chSpace, name + QStringLiteral(" capacity"), ink.lighter(150));
        for (const QDateTime &at : {first, end})
            capacity->AddXY(dayOf(at, first), double(drive.capacity) / mebibyte, pointLabel(at));
        // How sure: said only when the spread of the runs leaves more than one month.
        const QString range = forecastRangeText(forecast);
        forecasts << forecastText(drive.letter, forecast, QDate::currentDate()) +
                         (range.startsWith(QStringLiteral("full between"))
                              ? QStringLiteral("; ") + range
                              : QString());
    }
    lblForecast->setText(forecasts.join(u'\n'));
}

void TrendsWindow::fillTypes()
{
    chTypes->removeAllSeries();
    showTable(*tvTypes, trendTable(TrendTab::Types, shown, QDate::currentDate(), historyFolder));
    if (shown.empty())
        return;
    const QDateTime first = shown.front().started;
    int colour = 0;
    for (const QString &type : topTypes(shown, typeLines)) {
        TLineSeries *line = addLine(*chTypes, type, lineColours[colour++ % std::size(lineColours)]);
        for (const TrendPoint &point : shown) {
            double bytes = 0;
            for (const TrendType &row : point.types)
                if (row.extension == type)
                    bytes = double(row.bytes);
            line->AddXY(dayOf(point.started, first), std::round(bytes / mebibyte),
                        pointLabel(point.started));
        }
    }
}

void TrendsWindow::fillAges()
{
    chAges->removeAllSeries();
    if (shown.empty())
        return;
    const QDateTime first = shown.front().started;
    TLineSeries *modified =
        addLine(*chAges, QStringLiteral("Not modified for a year"), chartColour::red);
    TLineSeries *accessed =
        addLine(*chAges, QStringLiteral("Not accessed for a year"), chartColour::blue);
    // Lines draw no marks; the marks' format is what a screen reader hears for each point, so
    // the shares keep their tenths there.
    for (auto *line : {modified, accessed}) {
        line->setValueFormat(QStringLiteral("##0.# %"));
        line->marks().visible = true;
    }
    bool anyAccess = false;
    for (const TrendPoint &point : shown) {
        const double at = dayOf(point.started, first);
        if (const auto share = coldModifiedShare(point))
            modified->AddXY(at, *share * 100, pointLabel(point.started));
        if (const auto share = coldAccessedShare(point)) {
            accessed->AddXY(at, *share * 100, pointLabel(point.started));
            anyAccess = true;
        }
    }
    // Drives that keep no access dates would draw a line of nothing.
    accessed->setActive(anyAccess);
}

void TrendsWindow::openFolderAt(int row)
{
    auto *proxy = static_cast<QSortFilterProxyModel *>(tvFolders->model());
    const QString name = proxy->index(row, 0).data().toString();
    if (shown.empty())
        return;
    for (const GrowthRow &growth :
         folderGrowth(readTrendFolders(historyFolder, shown.front().fileName),
                      readTrendFolders(historyFolder, shown.back().fileName), shown.front().started,
                      shown.back().started)) {
        if (growth.name != name)
            continue;
        for (const TrendDrive &drive : shown.back().drives)
            if (drive.letter == growth.letter && !drive.mountPoint.isEmpty()) {
                const QByteArray location =
                    QFile::encodeName(drive.mountPoint) +
                    (growth.path.isEmpty() ? QByteArray() : "/" + growth.path);
                platform::showFolder(location, [window = QPointer(this), location](bool done) {
                    if (!done && window)
                        errorBox(QStringLiteral("Could not show the folder ") +
                                 escapedName(location) + QStringLiteral(" in a file manager."));
                });
            }
    }
}

std::optional<TrendsExport> TrendsWindow::defaultAskExport()
{
    TablesExportOffer offer{
        QStringLiteral("Export trends"), QStringLiteral("trends"), {}, {}, notebook->PageIndex()};
    for (int tab = 0; tab < trendTabCount; ++tab) {
        offer.tableTitles << trendTabTitle(TrendTab(tab));
        offer.tableNames << trendTabName(TrendTab(tab));
    }
    const std::optional<TablesExportChoice> chosen = askTablesExport(this, offer);
    if (!chosen)
        return std::nullopt;
    TrendsExport request;
    if (chosen->table)
        request.csvTab = TrendTab(*chosen->table);
    request.path = chosen->path;
    return request;
}

bool TrendsWindow::exportTrends(const TrendsExport &request)
{
    if (shown.empty())
        return false;
    const QDate today = QDate::currentDate();
    return writeTablesExport(request.path, [&](QIODevice &file) {
        if (request.csvTab) {
            const QByteArray csv =
                reportCsv(trendTable(*request.csvTab, shown, today, historyFolder));
            return file.write(csv) == csv.size();
        }
        ReportCover cover;
        cover.title = QStringLiteral("Korvel 98 trends of drives ") +
                      lettersText(cbDrives->currentData().toString());
        cover.facts.started = shown.front().started;
        cover.facts.ended = shown.back().started;
        std::vector<ReportSection> sections;
        const TChart *charts[] = {chSpace, chTypes, nullptr, chAges, nullptr};
        for (int tab = 0; tab < trendTabCount; ++tab) {
            ReportSection section{trendTable(TrendTab(tab), shown, today, historyFolder), {}};
            if (const TChart *chart = charts[tab]) {
                ReportChart picture{chart->accessibleName(), QPicture(), QSizeF(640, 360)};
                QPainter painter(&picture.picture);
                const_cast<TChart *>(chart)->draw(painter, QRectF(0, 0, 640, 360));
                painter.end();
                section.charts.push_back(std::move(picture));
            }
            sections.push_back(std::move(section));
        }
        return writeReportDocument(file, cover, sections);
    });
}
