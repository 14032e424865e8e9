// Times the Types page on a run that found files of many distinct extensions: the fill of the
// listing (type names included) and each of its five sorts. Prints the median of several rounds.
//
//     korvel98-bench-types [EXTENSIONS] [ROUNDS]

#include "controls/DesignFonts.h"
#include "controls/Notebook.h"
#include "reports/TypesPage.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QElapsedTimer>
#include <QMenu>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Distinct extensions of one to four characters after the dot, the common ones among them.
QStringList extensions(int count)
{
    QStringList list{".txt", ".doc", ".jpg", ".pdf", ".png", ".cpp", ".h", ".mp3", ".zip", ".exe"};
    const QString alphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
    QSet<QString> seen(list.begin(), list.end());
    QRandomGenerator random(98);
    while (list.size() < count) {
        QString extension = ".";
        const int length = 1 + int(random.bounded(4));
        for (int i = 0; i < length; ++i)
            extension += alphabet[int(random.bounded(alphabet.size()))];
        if (!seen.contains(extension)) {
            seen.insert(extension);
            list.append(extension);
        }
    }
    return list;
}

double medianMilliseconds(int rounds, const std::function<void()> &prepare,
                          const std::function<void()> &work)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installDesignFonts();
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    Accumulators results;
    QRandomGenerator random(7);
    for (const QString &extension : extensions(count)) {
        const int files = 1 + int(random.bounded(50));
        results.lbTypes.insertType(extension, std::int64_t(random.bounded(1u << 30)), true);
        for (int f = 0; f < files; ++f)
            results.lbTypes.insertType(extension, 0, false);
    }

    ColourTable colours;
    QTimer timer;
    TOvcNotebook notebook;
    notebook.resize(632, 382);
    ReportContext context{results, colours, timer, notebook};
    auto *page = new TypesPage(context, &notebook);
    notebook.addPage("Types", page);
    notebook.show();
    page->rgTypesButtons->button(TypesPage::Listing)->click();

    const auto nothing = [] {};
    std::printf("Types page, %d extensions, median of %d rounds\n", count, rounds);
    std::printf("  fill (doFileTypes)      %8.1f ms\n",
                medianMilliseconds(rounds, nothing, [&] { page->doFileTypes(); }));
    std::printf("  fill and sort (refill)  %8.1f ms\n",
                medianMilliseconds(rounds, nothing, [&] { page->refill(); }));
    for (QAction *item : page->PopupMenu1->actions()) {
        // Each sort starts from the extension order a run leaves.
        const auto fromRunOrder = [&] { page->SortbyExtension->trigger(); };
        const double ms = medianMilliseconds(rounds, fromRunOrder, [&] { item->trigger(); });
        std::printf("  %-26s %8.1f ms\n", qPrintable(item->text().remove('&')), ms);
    }
    return 0;
}
