#pragma once

// A full menu for the benchmarks: six rows, every one of the 54 slots with
// every box filled in, Chinese texts included, as the document holds them.

#include <string>
#include <variant>

#include "document/core/MenuSettings.h"
#include "document/core/SlotRecord.h"
#include "menufile/core/MenuEncoding.h"

namespace cofferon::bench {

struct Menu {
    MenuSettings settings;
    SlotTable slots;
};

inline Menu fullMenu()
{
    const char* const ids[] = {"35:1", "35:14", "298", "299", "300", "301", "397:3", "264", "388"};
    Menu menu;
    menu.settings.title = "&6\xC0\xCF\xCD\xF5\xB5\xC4\xC9\xCC\xB5\xEA";  // 老王的商店
    menu.settings.menuCommand = "shop";
    menu.settings.openItem = "345";
    menu.settings.leftClick = true;
    menu.settings.rowIndex = 5;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::string n = std::to_string(slot);
        // Built whole rather than assigned field by field, which GCC 12 warns about at -O2.
        menu.slots[slot] = SlotRecord{
            .lore = "&7\xB5\xDA\xD2\xBB\xD0\xD0 " + n + "\r\n&8second line\r\n&eprice: 100\r\n\r\n&cfifth",
            .name = "&a\xC9\xCC\xC6\xB7 " + n + " &l'quoted'",  // 商品
            .enchants = slot % 3 == 0 ? "DURABILITY 3\r\nDAMAGE_ALL 5" : "",
            .id = ids[slot % std::size(ids)],
            .command = "tell: &a\xD0\xBB\xD0\xBB " + n + "\r\nop: give %player% 264 1\r\nconsole: say hi",
            .keepOpen = slot % 2 == 0 ? "true" : "false",
            .money = "100.5",
            .point = "20",
            .exp = "3",
            .item = "264",
            .amount = "2",
            .permission = "shop.buy." + n,
            .viewPermission = "shop.view",
            .color = "255, 128, " + n,
            .head = "SomePlayer",
        };
    }
    return menu;
}

// The full menu with a lore of 1 100 lines in every slot, exported in UTF-8:
// about 3 MB, within the reader's limit of characters.
inline std::string largeMenuFile()
{
    Menu menu = fullMenu();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        std::string lore;
        for (int line = 1; line <= 1100; ++line) {
            const std::string n = std::to_string(line);
            lore += (line > 1 ? "\r\n" : "") + ("&7\xB5\xDA " + n + " \xD0\xD0 the item's story, ") + n;  // 第, 行
        }
        menu.slots[slot].lore = lore;
    }
    return std::get<std::string>(menuFileBytes(menu.settings, menu.slots, OutputEncoding::Utf8));
}

}  // namespace cofferon::bench
