#pragma once

// The menu-level settings as the main window's controls hold them. A text
// setting is absent (nullopt) while its box shows its grey hint.

#include <optional>
#include <string>

namespace cofferon {

struct MenuSettings {
    std::optional<std::string> title;
    std::optional<std::string> openItem;
    std::optional<std::string> menuCommand;
    bool leftClick = false;
    bool rightClick = false;
    int rowIndex = 5;  // index of the chosen rows entry; the menu has rowIndex + 1 rows

    int rows() const { return rowIndex + 1; }

    bool operator==(const MenuSettings&) const = default;
};

}  // namespace cofferon
