#include "reports/Statistics.h"

#include "charts/Chart.h"
#include "controls/DialogLook.h"
#include "controls/Notebook.h"
#include "controls/PickList.h"
#include "controls/StringGrid.h"
#include "controls/StyledLabel.h"
#include "controls/VectorGlyph.h"
#include "drives/Drives.h"
#include "reports/AttributePage.h"
#include "reports/CombinedPage.h"
#include "reports/DatePage.h"
#include "reports/OverhangPage.h"
#include "reports/PageLook.h"
#include "reports/ReportGrid.h"
#include "reports/ReportPage.h"
#include "reports/SizesPage.h"
#include "reports/SpacePage.h"
#include "reports/TimePage.h"
#include "reports/TypesPage.h"
#include "reports/UnreadableFolders.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <qdrawutil.h>

namespace {

constexpr QSize clientSize(632, 431);
constexpr QRect notebookPlace(0, 0, 632, 382);
constexpr QSize tabSize(63, 18);
constexpr QRect coverLabelPlace(47, 77, 527, 180);
constexpr QRect abortPlace(250, 269, 121, 41);
constexpr int statusBarHeight = 22;

const QString notYetCaption = QStringLiteral("File Statistics Not Yet Collected");
const QString notYetText = QStringLiteral("Statistics haven't been collected yet!");

const std::array<QString, TfrmStatistics::PageCount> tabCaptions = {
    QStringLiteral("Space"),    QStringLiteral("Types"),    QStringLiteral("Sizes"),
    QStringLiteral("Overhang"), QStringLiteral("Access"),   QStringLiteral("Created"),
    QStringLiteral("Modified"), QStringLiteral("Combined"), QStringLiteral("Attribute"),
    QStringLiteral("Time")};

// The cover panel's tile: a soft weave of our own, light enough for the big caption to stand out.
QPixmap coverTile()
{
    QPixmap tile(16, 16);
    tile.fill(QColor(222, 218, 206));
    QPainter painter(&tile);
    painter.setPen(QColor(206, 201, 186));
    for (int step = 0; step < 16; step += 4) {
        painter.drawLine(step, 0, step, 1);
        painter.drawLine(0, step + 2, 1, step + 2);
        painter.drawPoint((step + 8) % 16, step);
    }
    painter.setPen(QColor(236, 233, 224));
    painter.drawLine(0, 15, 15, 0);
    return tile;
}

// The cover panel's edge: a single dark line, a raised bevel, a strip of the panel's own colour
// and a second raised bevel, each bevel two pixels wide; the tile fills what lies inside.
class CoverPanel : public QFrame
{
public:
    using QFrame::QFrame;
    static constexpr int bevelWidth = 2;
    static constexpr int borderWidth = 2;
    static constexpr int edge = 1 + bevelWidth + borderWidth + bevelWidth;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        painter.setPen(palette().shadow().color());
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        const QRect outer = rect().adjusted(1, 1, -1, -1);
        qDrawShadePanel(&painter, outer, palette(), false, bevelWidth);
        const int in = bevelWidth + borderWidth;
        qDrawShadePanel(&painter, outer.adjusted(in, in, -in, -in), palette(), false, bevelWidth);
    }
};

} // namespace

TfrmStatistics::TfrmStatistics(QWidget *parent)
    : QDialog(parent), engine(platform::driveSource()),
      OvcNotebook1(new TOvcNotebook(this)), context{engine, aColors, Timer1, *OvcNotebook1,
                                                    recorder.run()}
{
    setWindowTitle(notYetCaption);
    setDialogFrame(*this, clientSize);
    setFont(pixelFont("MS Sans Serif", 11));
    Timer1.setInterval(50);
    connect(&Timer1, &QTimer::timeout, this, &TfrmStatistics::Timer1Timer);

    buildNotebook();
    buildDriveList();
    createPages();
    buildButtons();
    buildStatusBar();
    buildCoverPanel();
    connectEngine();
    FormCreate();
}

TfrmStatistics::~TfrmStatistics() = default;

void TfrmStatistics::buildNotebook()
{
    OvcNotebook1->setObjectName("OvcNotebook1");
    OvcNotebook1->setGeometry(notebookPlace);
    OvcNotebook1->setTabSize(tabSize);
    OvcNotebook1->setFont(notebookFont());
    connect(OvcNotebook1, &TOvcNotebook::OnPageChanged, this,
            &TfrmStatistics::OvcNotebook1PageChanged);
}

void TfrmStatistics::createPages()
{
    QWidget *const notebook = OvcNotebook1;
    auto *space = new SpacePage(context, pckStatDrive, notebook);
    spacePage = space;
    pages[SpaceTab] = spacePage;
    // The drives of an opened collection are ticked and unticked all at once as the window's are.
    space->pckSavedDrive->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(
        space->pckSavedDrive, &QWidget::customContextMenuRequested, this,
        [this, space](const QPoint &at) { popSel->popup(space->pckSavedDrive->mapToGlobal(at)); });
    pages[TypesTab] = new TypesPage(context, notebook);
    pages[SizesTab] = new SizesPage(context, notebook);
    auto *overhang = new OverhangPage(context, notebook);
    // A run that classified no bytes has no overhang to show: the page cannot be chosen.
    connect(overhang, &OverhangPage::nothingToShow, this,
            [this] { OvcNotebook1->setPageEnabled(OverhangTab, false); });
    pages[OverhangTab] = overhang;
    auto *access = new DatePage(DatePage::Dates::Accessed, context, notebook);
    auto *create = new DatePage(DatePage::Dates::Created, context, notebook);
    auto *modify = new DatePage(DatePage::Dates::Modified, context, notebook);
    pages[AccessTab] = access;
    pages[CreatedTab] = create;
    pages[ModifiedTab] = modify;
    pages[CombinedTab] = new CombinedPage(context, access, create, modify, notebook);
    pages[AttributeTab] = new AttributePage(context, notebook);
    pages[TimeTab] = new TimePage(context, notebook);
    for (int index = 0; index < PageCount; ++index)
        OvcNotebook1->addPage(tabCaptions[std::size_t(index)], pages[std::size_t(index)]);
}

void TfrmStatistics::buildButtons()
{
    auto make = [this](const QString &caption, const QString &hint, const QRect &place,
                       const QIcon &glyph) {
        auto *button = new QPushButton(glyph, caption, this);
        button->setGeometry(place);
        button->setToolTip(hint);
        button->setAutoDefault(false);
        return button;
    };
    btOK = make("&Collect statistics", "Start collecting statistics", QRect(256, 384, 155, 25),
                style()->standardIcon(QStyle::SP_DialogApplyButton));
    btOK->setDefault(true);
    btPrint = make("&Print page", "Print this page only", QRect(424, 384, 105, 25),
                   vectorGlyph(glyphs::printer));
    btCancel = make("Close", "Cancel operation or close window", QRect(544, 384, 81, 25),
                    style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(btOK, &QPushButton::clicked, this, &TfrmStatistics::btOKClick);
    connect(btPrint, &QPushButton::clicked, this, &TfrmStatistics::btPrintClick);
    connect(btCancel, &QPushButton::clicked, this, &TfrmStatistics::btCancelClick);
    buildReportMenu();
}

void TfrmStatistics::buildStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, clientSize.height() - statusBarHeight, clientSize.width(),
                            statusBarHeight);
    walkTimeLeft = new QLabel(StatusBar1);
    walkProgress = new QProgressBar(StatusBar1);
    walkProgress->setRange(0, 100);
    walkProgress->setFixedWidth(140);
    walkProgress->setMaximumHeight(statusBarHeight - 6);
    walkProgress->setTextVisible(true);
    unreadableItem = new UnreadableFoldersItem(StatusBar1);
    unreadableItem->setMaximumHeight(statusBarHeight - 2);
    StatusBar1->addPermanentWidget(walkTimeLeft);
    StatusBar1->addPermanentWidget(walkProgress);
    StatusBar1->addPermanentWidget(unreadableItem);
    walkTimeLeft->hide();
    walkProgress->hide();
    connect(unreadableItem, &QToolButton::clicked, this, &TfrmStatistics::showUnreadableFolders);
}

void TfrmStatistics::buildCoverPanel()
{
    pnlNotYet = new CoverPanel(this);
    pnlNotYet->setObjectName("pnlNotYet");
    // The whole page area below the tabs (where the notebook holds its pages), so that nothing of
    // the page under it shows at its edges.
    const QWidget *pageArea = pages[SpaceTab]->parentWidget();
    pnlNotYet->setGeometry(QRect(pageArea->mapTo(this, QPoint(0, 0)), pageArea->size()));
    pnlNotYet->setFont(pixelFont("MS Sans Serif", 13, true));

    EsTile1 = new QWidget(pnlNotYet);
    const int edge = CoverPanel::edge;
    EsTile1->setGeometry(pnlNotYet->rect().adjusted(edge, edge, -edge, -edge));
    QPalette tiled = EsTile1->palette();
    tiled.setBrush(QPalette::Window, QBrush(coverTile()));
    EsTile1->setPalette(tiled);
    EsTile1->setAutoFillBackground(true);

    // The dialogs' title look, in a larger size.
    lblNotYet = makeTitleLabel(notYetText, coverLabelPlace, pnlNotYet);
    lblNotYet->setFont(pixelFont("Times New Roman", 36));
    lblNotYet->setAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));

    btAbort = new QPushButton("Abort", pnlNotYet);
    btAbort->setGeometry(abortPlace);
    btAbort->setFont(pixelFont("MS Sans Serif", 13));
    btAbort->setAutoDefault(false);
    connect(btAbort, &QPushButton::clicked, this, &TfrmStatistics::btAbortClick);
}

void TfrmStatistics::buildDriveList()
{
    pckStatDrive = new TPickList(this);
    pckStatDrive->setObjectName("pckStatDrive");
    pckStatDrive->setMultiSelect(true);
    pckStatDrive->setExtendedSelect(false);
    pckStatDrive->setItemHeight(16);
    pckStatDrive->setFrameShape(QFrame::NoFrame);
    pckStatDrive->setColor(buttonFace());
    pckStatDrive->setFont(QFont("Arial", 10));
    connect(pckStatDrive, &TPickList::OnClick, this, &TfrmStatistics::pckStatDriveClick);

    popSel = new QMenu(this);
    useWindowFont(*popSel);
    SelectAll1 = popSel->addAction("Select All");
    DeselectAll1 = popSel->addAction("Deselect All");
    connect(SelectAll1, &QAction::triggered, this, &TfrmStatistics::SelectAll1Click);
    connect(DeselectAll1, &QAction::triggered, this, &TfrmStatistics::DeselectAll1Click);
    pckStatDrive->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pckStatDrive, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { popSel->popup(pckStatDrive->mapToGlobal(at)); });

    PickList1 = new TPickList(this);
    PickList1->hide();
    PickList2 = new TPickList(this);
    PickList2->hide();
}

void TfrmStatistics::FormCreate()
{
    OvcNotebook1->setPageIndex(SpaceTab);
    engine.collected = false;
    pnlNotYet->show();
    pnlNotYet->raise();
    btAbort->hide();
    const DriveList list = ::buildDriveList();
    pckStatDrive->setItems(list.entries);
    // No entry for the current drive (it had no label, or there is none): every drive is picked.
    if (list.pick < 0)
        pckStatDrive->setAllSelected(true);
    else
        pckStatDrive->setSelected(list.pick, true);
    aColors.initAColors(true, QColor(0, 0, 255));
}

void TfrmStatistics::FormShow()
{
    spacePage->drivesChanged();
    OvcNotebook1PageChanged(OvcNotebook1->PageIndex());
}

void TfrmStatistics::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmStatistics::OvcNotebook1PageChanged(int index)
{
    pages[std::size_t(index)]->pageEntered();
    applyCoverRule();
}

// The cover lies over every page but Space until a drive's walk has finished, and over the pages
// an opened dump has nothing for, with a line that says so. What lies under it cannot be reached
// by Tab either.
void TfrmStatistics::applyCoverRule()
{
    const auto index = std::size_t(OvcNotebook1->PageIndex());
    const QString &line = pageCovers[index];
    lblNotYet->setText(line.isEmpty() ? notYetText : line);
    pnlNotYet->setVisible((!engine.collected && index != SpaceTab) || !line.isEmpty());
    if (!line.isEmpty())
        btAbort->hide(); // nothing to stop: the figures are those of a file
    for (std::size_t page = 0; page < PageCount; ++page)
        pages[page]->setEnabled(pageCovers[page].isEmpty() &&
                                (page == SpaceTab || engine.collected));
}

// Only printing changes the colours: white behind the printed image, the button face again
// afterwards.
void TfrmStatistics::changeBackgroundColor(const QColor &colour)
{
    QPalette own = palette();
    own.setColor(QPalette::Window, colour);
    setPalette(own);
    for (QObject *child : findChildren<QObject *>()) {
        if (auto *notebook = qobject_cast<TOvcNotebook *>(child))
            notebook->setColor(colour);
        else if (auto *chart = qobject_cast<TChart *>(child)) {
            chart->backColour = colour;
            chart->update();
        } else if (auto *list = qobject_cast<TPickList *>(child)) {
            list->setColor(colour);
        } else if (auto *grid = qobject_cast<TStringGrid *>(child)) {
            changeGridColour(*grid, colour);
        }
    }
}

void TfrmStatistics::pckStatDriveClick()
{
    if (diskSizeBusy)
        return;
    diskSizeBusy = true;
    spacePage->drivesChanged();
    diskSizeBusy = false;
}

void TfrmStatistics::SelectAll1Click()
{
    static_cast<SpacePage *>(pages[SpaceTab])->driveList()->setAllSelected(true);
    pckStatDriveClick();
}

void TfrmStatistics::DeselectAll1Click()
{
    static_cast<SpacePage *>(pages[SpaceTab])->driveList()->setAllSelected(false);
    pckStatDriveClick();
}

// The tick is handed to the Space page and then to the Types page; a tick that comes while one
// is still being handled (a page that lets messages through) is dropped.
void TfrmStatistics::Timer1Timer()
{
    if (pieTickBusy)
        return;
    pieTickBusy = true;
    spacePage->Timer1Timer();
    pages[TypesTab]->Timer1Timer();
    pieTickBusy = false;
}

void TfrmStatistics::closeEvent(QCloseEvent *event)
{
    // The close box only hides the window; a walk under way goes on.
    event->accept();
    hide();
}

void TfrmStatistics::reject()
{
    btCancelClick();
}
