// Every text of every window stands out from what lies behind it, on a desktop with a dark palette
// and on one with a light palette: at least 4.5:1 in contrast, measured on the rendered windows.

#include "app/MainWindow.h"
#include "controls/AboutBox.h"
#include "controls/DesignPalette.h"
#include "controls/MessageBoxes.h"
#include "controls/Notebook.h"
#include "controls/PickList.h"
#include "controls/TabListBox.h"
#include "engine/Accumulators.h"
#include "reports/CompareWindow.h"
#include "reports/LargestFolders.h"
#include "reports/ReportPage.h"
#include "reports/Statistics.h"
#include "reports/TrendsWindow.h"
#include "reports/UnreadableFolders.h"
#include "selection/ExtensionLists.h"
#include "selection/SelectExtension.h"
#include "selection/StatList.h"
#include "selection/WhichDrive.h"
#include "tools/DesktopPalette.h"
#include "tools/MadeUpHistory.h"
#include "tools/Unattended.h"

#include <QApplication>
#include <QMessageBox>
#include <QPaintEngine>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <map>

namespace {

// A text as drawn: its words, its colour and the pixels it covers in the window.
struct DrawnText
{
    QString text;
    QColor ink;
    QRect place;
    const QWidget *by; // the control that drew it
};

// A paint device that keeps nothing but where the texts went, in which colour.
class TextRecorder : public QPaintDevice, private QPaintEngine
{
public:
    explicit TextRecorder(const QWidget &window)
        : QPaintEngine(AllFeatures), size(window.size()), dpi(window.logicalDpiY())
    {}
    QList<DrawnText> texts;

    QPaintEngine *paintEngine() const override
    {
        return const_cast<QPaintEngine *>(static_cast<const QPaintEngine *>(this));
    }

private:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return size.width();
        case PdmHeight:
            return size.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return dpi;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint *, int, PolygonDrawMode) override {}
    Type type() const override { return User; }
    void drawTextItem(const QPointF &at, const QTextItem &item) override
    {
        const QTransform toDevice = painter()->deviceTransform();
        const QRectF box(at.x(), at.y() - item.ascent(), item.width(),
                         item.ascent() + item.descent());
        QRect place = toDevice.mapRect(box).toAlignedRect();
        // A text field draws its selected part apart from the rest, each clipped to its part.
        if (painter()->hasClipping())
            place = (toDevice.map(painter()->clipRegion()) & place).boundingRect();
        if (!systemClip().isEmpty())
            place &= systemClip().boundingRect();
        if (item.text().trimmed().isEmpty() || place.isEmpty())
            return;
        // A raised or etched text is drawn twice, a pixel apart: the copy on top is the one read.
        texts.removeIf([&](const DrawnText &below) {
            const QPoint moved = below.place.topLeft() - place.topLeft();
            return below.text == item.text() && std::abs(moved.x()) <= 2 &&
                   std::abs(moved.y()) <= 2;
        });
        texts.append({item.text(), painter()->pen().color(), place,
                      dynamic_cast<const QWidget *>(painter()->device())});
    }

    QSize size;
    int dpi;
};

double luminance(const QColor &colour)
{
    auto linear = [](int channel) {
        const double v = channel / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) +
           0.0722 * linear(colour.blue());
}

double contrast(const QColor &a, const QColor &b)
{
    const auto [dark, light] = std::minmax({luminance(a), luminance(b)});
    return (light + 0.05) / (dark + 0.05);
}

bool near(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           48;
}

// What a text stands on: the commonest colour between its letters, in the box of its line that
// it was drawn in.
QColor ground(const QImage &image, const DrawnText &text)
{
    std::map<QRgb, int> counts;
    const QRect box = text.place & image.rect();
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (!near(image.pixelColor(x, y), text.ink))
                ++counts[image.pixel(x, y)];
    if (counts.empty())
        return text.ink;
    return QColor(std::max_element(counts.begin(), counts.end(), [](auto &a, auto &b) {
                      return a.second < b.second;
                  })->first);
}

// The design's own pairs below 4.5:1, kept as the design gives them: red captions and lines on
// the button face (the tab in front, the About box's invitation), white marks on fuchsia bars,
// and the main window's olive title on its blue gradient.
bool designPair(const QColor &ink, const QColor &behind)
{
    const QColor red(255, 0, 0), white(255, 255, 255), fuchsia(255, 0, 255), olive(128, 128, 0);
    return (ink == red && luminance(behind) > 0.8) || (ink == white && near(behind, fuchsia)) ||
           (ink == olive && behind.red() == 0 && behind.green() == 0);
}

// The texts of a window that fall short, one line each.
QStringList faintTexts(QWidget &window, const QString &view)
{
    window.ensurePolished();
    const QImage image = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    TextRecorder recorder(window);
    window.render(&recorder);
    QStringList faults;
    for (const DrawnText &text : recorder.texts) {
        const QWidget *at = window.childAt(text.place.center());
        if (!at)
            at = &window;
        if (!at->isEnabled() || at != text.by)
            continue;
        const QColor behind = ground(image, text);
        const double ratio = contrast(text.ink, behind);
        if (ratio < 4.5 && !designPair(text.ink, behind))
            faults << QStringLiteral("%1: \"%2\" %3 on %4, %5:1")
                          .arg(view, text.text, text.ink.name(), behind.name())
                          .arg(ratio, 0, 'f', 1);
    }
    return faults;
}

using Look = std::function<void(QWidget &window, const QString &view)>;

void mainWindow(const Look &look)
{
    QTemporaryDir folder;
    auto drives = std::make_unique<platform::FolderDriveSource>();
    drives->addDrive('c', platform::DriveFixed, "c: [/]", folder.path());
    drives->addDrive('d', platform::DriveFixed, "d: [/home]", folder.path());
    drives->setSpace('c', 38ull << 30, 110ull << 30);
    drives->setSpace('d', 310ull << 30, 460ull << 30);
    drives->setReady('c', true);
    drives->setReady('d', true);
    const DriveTable table(std::move(drives));
    TfrmStatistics statistics;
    TfrmMain window;
    window.setWindowState(Qt::WindowNoState);
    window.resize(800, 560);
    window.setStatisticsWindow(&statistics);
    window.FormShow();
    while (window.Timer2.isActive() || window.Timer1.isActive()) {
        if (window.Timer2.isActive())
            window.Timer2Timer();
        else
            window.Timer1Timer();
    }
    look(window, "main window");
}

// Files of several types, sizes and ages, some hidden, to fill every page.
void makeTree(const QString &root)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QStringList names{"a.txt", "b.doc", "c.png", ".d.txt", "e.html", "f.txt"};
    for (int n = 0; n < 60; ++n) {
        QFile out(QDir(root).filePath(QString::number(n) + names[n % names.size()]));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(QByteArray(1 + n * n * 700, 'x'));
        out.setFileTime(now.addDays(-11 * n).addSecs(-37 * 60 * n),
                        QFileDevice::FileModificationTime);
    }
}

void statisticsWindow(const Look &look)
{
    QTemporaryDir home;
    makeTree(home.path());
    const UnattendedDrive drive(home.path(), "c: [system]");
    TfrmStatistics window;
    window.show();
    window.OvcNotebook1->setPageIndex(TfrmStatistics::TypesTab);
    look(window, "statistics window under its cover");
    answerNextWizard();
    window.btOKClick();
    window.unreadableItem->setCount(3);
    for (int tab = 0; tab < TfrmStatistics::PageCount; ++tab) {
        window.OvcNotebook1->setPageIndex(tab);
        const QString page = window.OvcNotebook1->pageCaption(tab);
        look(window, page);
        for (QRadioButton *view : window.pages[tab]->findChildren<QRadioButton *>()) {
            view->click();
            look(window, page + " / " + view->text());
        }
    }
}

void dialogs(const Look &look)
{
    QTemporaryDir home;
    setSettingsFilePath(home.filePath("korvel98.ini"));
    const UnattendedDrive drive(home.path(), "c: [system]");
    {
        TfrmWhichDrive wizard;
        wizard.pckDrive->setSelected(0, true);
        look(wizard, "wizard, drives");
        wizard.btNext1Click();
        wizard.rbInclude->setChecked(true);
        look(wizard, "wizard, file types");
        wizard.btNext2Click();
        wizard.PickList1->setSelected(0, true);
        look(wizard, "wizard, list");
    }
    TfrmStatList editor;
    editor.ListSection = "Include";
    editor.FormShow();
    editor.PickList1->setSelected(1, true);
    look(editor, "extension list editor");
    TfrmSelectExtension picker;
    picker.show();
    picker.lBox->setCurrentRow(2);
    look(picker, "extension picker");
    TfrmAbout about;
    look(about, "About box");
    setSettingsFilePath(QString());
}

// The windows the Report menu and the status bar open.
void reportWindows(const Look &look)
{
    RunFacts facts;
    facts.started = QDateTime(QDate(2026, 12, 7), QTime(16, 45));
    facts.drives = {{QChar('c'), "/", "ext4"}};
    LargestFoldersWindow folders;
    folders.showFolders(facts, {{QChar('c'),
                                 {{"", 100, 1000, 0, 0},
                                  {"home", 60, 700, 10, 100},
                                  {"home/ann", 50, 600, 50, 600},
                                  {"usr", 40, 300, 40, 300}}}});
    folders.show();
    look(folders, "largest folders");
    UnreadableFoldersDialog unreadable(2, {{"/root", "Permission denied"}, {"/lost", "I/O error"}});
    unreadable.show();
    look(unreadable, "unreadable folders");
    Collection then{facts, {}};
    then.figures.lbTypes.putRow(".LOG", 2, 200);
    then.figures.lbTypes.putRow(".TMP", 3, 30);
    Collection now{facts, {}};
    now.facts.started = facts.started.addDays(7);
    now.figures.lbTypes.putRow(".LOG", 7, 700);
    CompareWindow compare;
    compare.pickFor(now, QString());
    compare.compareWith(then);
    compare.show();
    compare.notebook->setPageIndex(1); // the types and the chart of changes
    look(compare, "compare window");
    QTemporaryDir history;
    ASSERT_TRUE(writeMadeUpHistory(history.path(), 20, 1000, 30));
    TrendsWindow trends;
    trends.showHistory(history.path());
    trends.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !trends.isReading(); }));
    for (int page = 0; page < trends.notebook->pageCount(); ++page) {
        trends.notebook->setPageIndex(page);
        look(trends, "trends " + trends.notebook->pageCaption(page));
    }
}

// The message boxes as the program shows them, each looked at while it waits for its answer.
void messageBoxes(const Look &look)
{
    setMessageHook({});
    const std::pair<const char *, std::function<void()>> boxes[] = {
        {"error box", [] { errorBox("Couldn't open web browser for home page."); }},
        {"information box", [] { infoBox("No files were found."); }},
        {"question box", [] { askYesNoCancel("Clear the list?"); }},
    };
    for (const auto &[name, show] : boxes) {
        QTimer::singleShot(0, [&look, name = name] {
            QWidget *box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            look(*box, name);
            box->close();
        });
        show();
    }
}

struct Desktop
{
    const char *name;
    QPalette (*palette)();
};

QPalette lightDesktopPalette()
{
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
    return fusion->standardPalette();
}

class Contrast : public ::testing::TestWithParam<Desktop>
{
};

TEST_P(Contrast, EveryTextStandsOutFromWhatLiesBehindIt)
{
    pretendDesktopPalette(GetParam().palette());
    useDesignPalette();

    QStringList faults;
    const Look look = [&faults](QWidget &window, const QString &view) {
        faults << faintTexts(window, view);
    };
    for (auto scene : {mainWindow, statisticsWindow, dialogs, reportWindows, messageBoxes})
        scene(look);
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Desktops, Contrast,
                         ::testing::Values(Desktop{"dark", darkDesktopPalette},
                                           Desktop{"light", lightDesktopPalette}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
