// Item icons: the 54 cell pictures of a full menu (icons looked up through
// the folders of an installed program: the user's, one beside the program
// that does not exist, and the packaged starter set), and opening the item
// picker on 5 000 icon files and searching them (offscreen).

#include <QLineEdit>

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

#include "bench/BenchMenus.h"
#include "document/core/Document.h"
#include "preview/core/BuiltinPictures.h"
#include "preview/core/IconFolders.h"
#include "preview/core/SlotIcon.h"
#include "preview/core/StarterIcons.h"
#include "preview/gui/ItemPicker.h"
#include "ui/gui/InputHints.h"

namespace {

const std::filesystem::path kFolder = std::filesystem::temp_directory_path() / "cofferon-bench-icons";

void BM_ComputeSlotIcons(benchmark::State& state)
{
    std::filesystem::create_directories(kFolder / "user");
    std::string error;
    if (!cofferon::writeStarterIcons((kFolder / "packaged").string(), error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    cofferon::setIconFolders(
        {(kFolder / "user").string(), (kFolder / "missing").string(), (kFolder / "packaged").string()});
    const cofferon::bench::Menu menu = cofferon::bench::fullMenu();
    for (auto _ : state) {
        for (int slot = 1; slot <= cofferon::kSlotCount; ++slot)
            benchmark::DoNotOptimize(cofferon::computeSlotIcon(menu.slots[slot]));
    }
    cofferon::setIconFolders({});
    std::filesystem::remove_all(kFolder);
}
BENCHMARK(BM_ComputeSlotIcons)->Unit(benchmark::kMicrosecond);

// `count` icon files 1-0.bmp, 2-0.bmp, … in a folder of their own, which
// becomes the only icon folder.
void useManyIcons(std::int64_t count)
{
    const std::filesystem::path folder = kFolder / "many";
    std::filesystem::create_directories(folder);
    const cofferon::Picture& picture = cofferon::missingItemPicture();
    for (std::int64_t i = 1; i <= count; ++i) {
        std::ofstream(folder / (std::to_string(i) + "-0.bmp"), std::ios::binary)
            .write(reinterpret_cast<const char*>(picture.data()), static_cast<std::streamsize>(picture.size()));
    }
    cofferon::setIconFolders({folder.string()});
}

void BM_FillItemPicker(benchmark::State& state)
{
    useManyIcons(state.range(0));
    cofferon::Document document;
    // Opening is the listing and the first picture of the window: the
    // icons a user sees.
    for (auto _ : state) {
        cofferon::ItemPicker picker(document);
        benchmark::DoNotOptimize(picker.grab());
    }
    if (document.pickerList.size() != static_cast<std::size_t>(state.range(0)))
        state.SkipWithError("the picker did not list every icon");
    cofferon::setIconFolders({});
    std::filesystem::remove_all(kFolder);
}
BENCHMARK(BM_FillItemPicker)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

// One key typed into the picker's search, as a user types "123" and takes it
// back again: the icons found, laid out and painted.
void BM_FilterItemPicker(benchmark::State& state)
{
    useManyIcons(state.range(0));
    cofferon::Document document;
    cofferon::ItemPicker picker(document);
    auto* search = picker.findChild<QLineEdit*>(QStringLiteral("搜索"));
    if (!search) {
        state.SkipWithError("the picker has no search box");
        return;
    }
    const QString keys[] = {QStringLiteral("1"),  QStringLiteral("12"), QStringLiteral("123"),
                            QStringLiteral("12"), QStringLiteral("1"),  QString()};
    std::size_t key = 0;
    for (auto _ : state) {
        cofferon::setValue(search, keys[key++ % std::size(keys)]);
        benchmark::DoNotOptimize(picker.grab());
    }
    cofferon::setIconFolders({});
    std::filesystem::remove_all(kFolder);
}
BENCHMARK(BM_FilterItemPicker)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
