#pragma once

// The links between menus: a click command that opens another menu by its
// file name, "open: shop.yml" or the plugin's own "cofferons open shop.yml"
// (as the player, with "op:" or from the console).

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "menufile/core/MenuImport.h"

namespace cofferon {

// The menu one command opens, as written (UTF-8, possibly empty); nullopt
// when the command opens none.
std::optional<std::string> openedMenu(std::string_view command);
// The same as a view of that part of `command`, which a rename replaces.
std::optional<std::string_view> openedMenuText(std::string_view command);

// The menus a slot's commands open, in their order: the commands one per
// line, or joined by "; " as a menu file may write them.
std::vector<std::string> openedMenus(std::string_view commands);

// The commands with each menu they open that `names` accepts written as
// `name` instead; every other byte stays: the rest of each command, the
// breaks and "; " between them, a prefix and a player after the name. A
// document text (GB18030) will do as well as UTF-8: none of its characters
// holds a blank, ";", ":" or "/" byte.
std::string renameOpenedMenus(std::string_view commands, const std::function<bool(std::string_view)>& names,
                              std::string_view name);

struct MenuLink {
    int slot = 0;
    std::string target;  // as written (UTF-8)
    yaml::Mark mark;  // the command's list entry, or its value
    bool keepOpen = false;  // the item has KEEP-OPEN: true, which opening a menu needs
};

// The links of the items the import placed (read with importMenuText), by slot.
std::vector<MenuLink> menuLinks(const ImportedMenu& menu);

}  // namespace cofferon
