// Pictures of the Types and Sizes pages in each of their views, from fixed figures: fourteen
// extensions, so that the pies show their twelve largest and an "Other" slice.

#include "controls/Notebook.h"
#include "platform/TypeRegistry.h"
#include "reports/PageLook.h"
#include "reports/SizesPage.h"
#include "reports/TypesPage.h"
#include "tools/snapshots/Snapshots.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>
#include <QTimer>

namespace {

struct Figures
{
    const char *extension;
    const char *typeName; // nullptr: not registered
    int files;
    std::int64_t bytes;
};

constexpr Figures typeFigures[] = {
    {".doc", "Word document", 412, 98500000},
    {".jpg", "JPEG image", 1830, 412000000},
    {".pdf", "PDF document", 260, 188000000},
    {".mp3", "MP3 audio", 540, 2310000000},
    {".txt", "Plain text document", 3120, 9100000},
    {".zip", "ZIP archive", 75, 640000000},
    {".png", "PNG image", 2210, 120000000},
    {".cpp", "C++ source code", 980, 15800000},
    {".htm", "HTML document", 640, 22500000},
    {".exe", "Program", 120, 310000000},
    {".dll", nullptr, 1450, 870000000},
    {".iso", "Disk image", 300, 2100000000},
    {".abc", nullptr, 12, 40000},
    {".xls", "Excel spreadsheet", 88, 31000000},
};

constexpr double sizeFigures[13][2] = {
    {0, 0},           {5200, 31000000}, {1400, 33000000}, {1100, 52000000}, {800, 76000000},
    {650, 120000000}, {420, 155000000}, {300, 220000000}, {180, 260000000}, {90, 250000000},
    {40, 230000000},  {22, 250000000},  {31, 2900000000},
};

void registerTypes()
{
    auto registry = std::make_unique<platform::TableTypeRegistry>();
    for (const Figures &f : typeFigures)
        if (f.typeName) {
            registry->addExtension(f.extension, f.extension);
            registry->addClass(f.extension, f.typeName);
        }
    platform::setTypeRegistry(std::move(registry));
}

void fillResults(Accumulators &results)
{
    results.currentDrive = "c: [/]";
    for (const Figures &f : typeFigures) {
        results.lbTypes.insertType(f.extension, f.bytes, true);
        for (int n = 0; n < f.files; ++n)
            results.lbTypes.insertType(f.extension, 0, false);
    }
    for (std::size_t k = 1; k <= 12; ++k) {
        results.sizeFiles[k] = sizeFigures[k][0];
        results.sizeBytes[k] = sizeFigures[k][1];
    }
}

void renderPages(const QDir &out)
{
    registerTypes();
    Accumulators results;
    fillResults(results);
    ColourTable colours;
    QTimer timer;
    TOvcNotebook notebook;
    notebook.resize(632, 382);
    notebook.setFont(notebookFont());
    ReportContext context{results, colours, timer, notebook};
    notebook.addPage("Space", new QWidget);
    auto *types = new TypesPage(context, &notebook);
    notebook.addPage("Types", types);
    auto *sizes = new SizesPage(context, &notebook);
    notebook.addPage("Sizes", sizes);

    notebook.setPageIndex(1);
    types->refill();
    const std::pair<TypesPage::View, const char *> typeViews[] = {
        {TypesPage::Listing, "types-listing"},
        {TypesPage::PieBySize, "types-pie-size"},
        {TypesPage::PieByFiles, "types-pie-files"},
        {TypesPage::PieByAverage, "types-pie-avg"},
    };
    for (const auto &[view, name] : typeViews) {
        types->rgTypesButtons->button(view)->click();
        saveSnapshot(notebook, out, name);
    }
    // The same run with files whose extensions are too long for a row: the line below the
    // listing.
    results.lbTypes.addLonger(".desktop", 2900);
    results.lbTypes.addLonger(".service", 168);
    types->refill();
    types->rgTypesButtons->button(TypesPage::Listing)->click();
    saveSnapshot(notebook, out, "types-listing-longer");

    notebook.setPageIndex(2);
    sizes->refill();
    const std::pair<QRadioButton *, const char *> sizeViews[] = {
        {sizes->rgSize0, "sizes-listing"},
        {sizes->rgSize1, "sizes-mb"},
        {sizes->rgSize2, "sizes-count"},
    };
    for (const auto &[button, name] : sizeViews) {
        button->click();
        saveSnapshot(notebook, out, name);
    }
    timer.stop();
    platform::setTypeRegistry(nullptr);
}

SnapshotRegistrar typesAndSizes("types-sizes", renderPages);

} // namespace
