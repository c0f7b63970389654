// Checking a server's menus folder as cofferon-check does: the walk, every
// file read and checked as the import reads it, the links, commands and file
// names across the folder, the report. The menus are what the tool writes:
// UTF-8 with Chinese (which GBK reads too, so both readings are weighed),
// 20 items each, every item linking to the next menu, in ten subfolders;
// beside it, the walk and the reading of the files alone.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "bench/BenchFolders.h"
#include "folder/core/CheckCli.h"
#include "folder/core/FolderChanges.h"
#include "folder/core/MenuRename.h"

namespace {

namespace fs = std::filesystem;
using cofferon::bench::menuFile;
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

// A watched folder looked at again with nothing changed: walked, each file's
// size and time compared, none read.
void BM_FolderChanges(benchmark::State& state)
{
    const MenusFolder folder(static_cast<int>(state.range(0)));
    folder.age();
    const cofferon::FolderAccess& access = cofferon::systemFolderAccess();
    cofferon::KnownFolder known =
        cofferon::folderChanges({}, cofferon::walkMenuFolder(folder.path(), access), access).known;
    for (auto _ : state) {
        auto changes =
            cofferon::folderChanges(std::move(known), cofferon::walkMenuFolder(folder.path(), access), access);
        if (!changes.changed.empty() || !changes.added.empty())
            state.SkipWithError("the folder changed");
        known = std::move(changes.known);
    }
}
BENCHMARK(BM_FolderChanges)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Renaming one menu of the folder: every menu's commands looked through,
// the one menu that links to it written onto its text.
void BM_PlanMenuRename(benchmark::State& state)
{
    const int menus = static_cast<int>(state.range(0));
    const MenusFolder folder(menus);
    const cofferon::FolderAccess& access = cofferon::systemFolderAccess();
    const cofferon::FolderWalk walk = cofferon::walkMenuFolder(folder.path(), access);
    cofferon::MenuFolder checked;
    cofferon::readMenus(checked, walk, access);
    std::vector<cofferon::HeldMenu> held;
    for (const cofferon::FoundMenu& found : walk.menus) {
        auto read = cofferon::importMenuText(std::get<std::string>(access.read(found.file)));
        held.push_back(
            {found.path,
             std::make_shared<const cofferon::ImportedMenu>(std::get<cofferon::ImportedMenu>(std::move(read))),
             std::nullopt});
    }
    for (auto _ : state) {
        const auto plan = cofferon::planMenuRename(checked, held, "group1/menu1.yml", "renamed.yml");
        const auto* planned = std::get_if<cofferon::RenamePlan>(&plan);
        if (!planned || planned->changedFiles() != std::vector<std::string>{"group0/menu0.yml"})
            state.SkipWithError("the plan is not the one link");
        benchmark::DoNotOptimize(plan);
    }
}
BENCHMARK(BM_PlanMenuRename)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
