// The menus folder in the window: opening a folder of a thousand menus until
// its list and problems are shown, and switching between two of its menus,
// each switch keeping the work of the menu left.

#include <QApplication>

#include <benchmark/benchmark.h>

#include "app/gui/MainWindow.h"
#include "bench/BenchFolders.h"
#include "document/core/Document.h"
#include "document/core/ProgramDirectory.h"
#include "tests/support/FakeDialogs.h"

namespace {

void BM_OpenFolderInWindow(benchmark::State& state)
{
    const cofferon::bench::MenusFolder folder(static_cast<int>(state.range(0)));
    cofferon::Document document;
    cofferon::test::FakeDialogs dialogs;  // nothing is ever asked of it
    cofferon::MainWindow window(document, dialogs);
    window.show();
    for (auto _ : state) {
        if (!window.openFolder(QString::fromStdString(folder.path())))
            state.SkipWithError("the folder did not open");
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_OpenFolderInWindow)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SwitchFolderMenus(benchmark::State& state)
{
    const cofferon::bench::MenusFolder folder(1000);
    cofferon::Document document;
    cofferon::test::FakeDialogs dialogs;  // nothing is ever asked of it
    cofferon::MainWindow window(document, dialogs);
    window.show();
    window.openFolder(QString::fromStdString(folder.path()));
    const std::string first = "group0/menu0.yml";
    const std::string second = "group1/menu1.yml";
    window.showFolderMenu(first);
    // A change in the first, so that its work is kept while the second is shown.
    window.changeDocument([&] { document.slots[1].name = "changed"; }, false);
    for (auto _ : state) {
        if (!window.showFolderMenu(second) || !window.showFolderMenu(first))
            state.SkipWithError("a menu did not show");
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_SwitchFolderMenus)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
