#pragma once

// Text rules of the slot editor that do not depend on the widgets.

#include <string>
#include <string_view>

#include "document/core/Rgb.h"

namespace cofferon {

// The text without its blank lines: a line is blank when only ASCII spaces
// and full-width spaces are left of it (tabs count as content). Lines keep
// their own blanks; a trailing "\r\n" goes.
std::string dropBlankLines(std::string_view text);

// "r, g, b" in decimal, as the colour field holds it.
std::string colourText(Rgb colour);

// The colour of a colour field: the first three comma-separated pieces read
// as integers; a missing piece is 0 and each is clamped to 0..255, since a
// hand-edited project file can hold anything.
Rgb colourFromText(std::string_view text);

// An enchantment level as typed is taken when its integer value is 1..maxLevel.
bool enchantmentLevelAccepted(std::string_view typed, int maxLevel);

}  // namespace cofferon
