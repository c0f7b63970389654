// Keeping the full menu in its recovery file: the project text with the
// current file's name, written atomically with its sync, as the window does
// after a pause in the changes.

#include <benchmark/benchmark.h>
#include <filesystem>

#include "BenchMenus.h"
#include "project/core/Recovery.h"

namespace {

void BM_WriteRecoveryFullMenu(benchmark::State& state)
{
    const cofferon::bench::Menu menu = cofferon::bench::fullMenu();
    const auto folder = std::filesystem::temp_directory_path() / "cofferon-bench-recovery";
    auto claimed = cofferon::RecoveryFile::claim(folder.string());
    auto* file = std::get_if<cofferon::RecoveryFile>(&claimed);
    if (!file) {
        state.SkipWithError("no recovery file");
        return;
    }
    const cofferon::CurrentFile current{"/home/user/shop.yml", cofferon::FileKind::Menu,
                                        cofferon::OutputEncoding::Gb2312};
    for (auto _ : state) {
        if (file->write(cofferon::recoveryText({menu.settings, menu.slots}, current)))
            state.SkipWithError("write failed");
    }
    file->discard();
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteRecoveryFullMenu)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
