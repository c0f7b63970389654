#pragma once

// Which typed characters the filtered boxes take. A character here is what a
// key press produces, control characters included (Ctrl+V arrives as 0x16);
// only backspace among them passes.

#include <string_view>

#include "ui/core/Layout.h"

namespace cofferon {

inline constexpr char32_t kBackspace = 0x08;

// `currentText` is the box's whole text (UTF-8), not what a selection leaves.
bool acceptsCharacter(layout::CharacterFilter filter, char32_t character, std::string_view currentText);

}  // namespace cofferon
