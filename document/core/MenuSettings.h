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

// The settings with every empty text absent: a box emptied holds what a box
// showing its hint holds, and a file tells the two apart no more.
inline MenuSettings withoutEmptyTexts(MenuSettings settings)
{
    for (std::optional<std::string>* text : {&settings.title, &settings.openItem, &settings.menuCommand}) {
        if (*text && (*text)->empty())
            text->reset();
    }
    return settings;
}

}  // namespace cofferon
