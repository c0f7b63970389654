#pragma once

// Turns a parsed menu file into the project it describes: each key a menu has
// mapped onto its field by the value types the plugin's reader gives it.

#include <variant>

#include "menufile/core/MenuImport.h"
#include "menufile/core/YamlTree.h"

namespace cofferon {

// The menu, its encoding left for the caller to set; NotAMenu when the file
// is empty, has no mapping at the top, or holds a value the reader refuses.
// With `places`, where each value taken over stands goes there too.
std::variant<ImportedMenu, NotAMenu> readMenu(const yaml::Tree& tree, MenuPlaces* places = nullptr);

}  // namespace cofferon
