// Checking a server's menus folder as cofferon-check does: the walk, every
// file read and checked as the import reads it, the links, commands and file
// names across the folder, the report. The menus are what the tool writes:
// UTF-8 with Chinese (which GBK reads too, so both readings are weighed),
// 20 items each, every item linking to the next menu, in ten subfolders;
// beside it, the walk and the reading of the files alone.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "bench/BenchFolders.h"
#include "folder/core/CheckCli.h"

namespace {

using cofferon::bench::MenusFolder;

void BM_CheckFolder(benchmark::State& state)
{
    const MenusFolder folder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        if (cofferon::runCheckCli({folder.path()}, out, err) != cofferon::kCheckOk || !out.str().empty())
            state.SkipWithError("the folder did not check clean");
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_CheckFolder)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The yardstick: the walk and the files read, nothing checked.
void BM_WalkAndReadFolder(benchmark::State& state)
{
    const MenusFolder folder(static_cast<int>(state.range(0)));
    const cofferon::FolderAccess& access = cofferon::systemFolderAccess();
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const cofferon::FoundMenu& found : cofferon::walkMenuFolder(folder.path(), access).menus)
            bytes += std::get<std::string>(access.read(found.file)).size();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_WalkAndReadFolder)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
