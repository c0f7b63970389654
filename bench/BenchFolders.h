#pragma once

// A generated menus folder for the benchmarks: the menus are what the tool
// writes, UTF-8 with Chinese, 20 items each, every item linking to the next
// menu, in ten subfolders of a temporary folder of its own.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "menufile/core/MenuEncoding.h"

namespace cofferon::bench {

namespace fs = std::filesystem;

inline std::string menuFile(int menu, int menus)
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

}  // namespace cofferon::bench
