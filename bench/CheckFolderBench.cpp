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

#include "folder/core/CheckCli.h"
#include "folder/core/FolderChanges.h"
#include "folder/core/MenuRename.h"
#include "menufile/core/MenuEncoding.h"

namespace {

namespace fs = std::filesystem;

std::string menuFile(int menu, int menus)
{
    cofferon::MenuSettings settings;
    settings.title = "&6\xC0\xCF\xCD\xF5\xB5\xC4\xC9\xCC\xB5\xEA " + std::to_string(menu);  // 老王的商店
    settings.menuCommand = "menu" + std::to_string(menu);
    settings.rowIndex = 2;
    cofferon::SlotTable slots;
    const std::string next = "menu" + std::to_string((menu + 1) % menus) + ".yml";
    for (int slot = 1; slot <= 20; ++slot) {
        const std::string n = std::to_string(slot);
        slots[slot] = cofferon::SlotRecord{
            .lore = "&7\xB5\xDA\xD2\xBB\xD0\xD0 " + n + "\r\n&8second line\r\n&eprice: 100",
            .name = "&a\xC9\xCC\xC6\xB7 " + n,  // 商品
            .id = slot % 2 == 0 ? "264" : "35:14",
            .command = "tell: &a\xD0\xBB\xD0\xBB " + n + "\r\nopen: " + next,  // 谢谢
            .keepOpen = "true",
            .money = "100.5",
            .permission = "shop.buy." + n,
        };
    }
    return std::get<std::string>(cofferon::menuFileBytes(settings, slots, cofferon::OutputEncoding::Utf8));
}

// A folder of its own, removed when the benchmark is done.
class MenusFolder {
public:
    explicit MenusFolder(int menus)
    {
        std::random_device random;
        m_path = fs::temp_directory_path() / ("cofferon-bench-" + std::to_string(random()));
        for (int menu = 0; menu < menus; ++menu) {
            const fs::path folder = m_path / ("group" + std::to_string(menu % 10));
            fs::create_directories(folder);
            std::ofstream(folder / ("menu" + std::to_string(menu) + ".yml"), std::ios::binary) << menuFile(menu, menus);
        }
    }
    ~MenusFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    MenusFolder(const MenusFolder&) = delete;
    MenusFolder& operator=(const MenusFolder&) = delete;

    std::string path() const { return m_path.string(); }

    // As a folder not written in the last moments, whose files' times can be trusted.
    void age() const
    {
        const auto anHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
        for (const auto& entry : fs::recursive_directory_iterator(m_path)) {
            if (entry.is_regular_file())
                fs::last_write_time(entry.path(), anHourAgo);
        }
    }

private:
    fs::path m_path;
};

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
