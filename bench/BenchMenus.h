#pragma once

// A full menu for the benchmarks: six rows, every one of the 54 slots with
// every box filled in, Chinese texts included, as the document holds them.

#include <string>

#include "app/core/MenuSettings.h"
#include "app/core/SlotRecord.h"

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
        SlotRecord& record = menu.slots[slot];
        record.id = ids[slot % std::size(ids)];
        record.name = "&a\xC9\xCC\xC6\xB7 " + n + " &l'quoted'";  // 商品
        record.lore = "&7\xB5\xDA\xD2\xBB\xD0\xD0 " + n + "\r\n&8second line\r\n&eprice: 100\r\n\r\n&cfifth";
        record.command = "tell: &a\xD0\xBB\xD0\xBB " + n + "\r\nop: give %player% 264 1\r\nconsole: say hi";
        record.enchants = slot % 3 == 0 ? "DURABILITY 3\r\nDAMAGE_ALL 5" : "";
        record.keepOpen = slot % 2 == 0 ? "true" : "false";
        record.money = "100.5";
        record.point = "20";
        record.exp = "3";
        record.item = "264";
        record.amount = "2";
        record.permission = "shop.buy." + n;
        record.viewPermission = "shop.view";
        record.color = "255, 128, " + n;
        record.head = "SomePlayer";
    }
    return menu;
}

}  // namespace cofferon::bench
