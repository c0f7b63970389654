#pragma once

#include <QIcon>

#include <string_view>

namespace cofferon {

// The 16x16 picture of a menu entry's icon key ("swatch:c", "letter:bold",
// "sword", ...); a null icon for an unknown key.
QIcon menuIcon(std::string_view key);

}  // namespace cofferon
