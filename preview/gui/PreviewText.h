#pragma once

#include <string_view>

#include "app/core/SlotRecord.h"

class QTextEdit;

namespace cofferon {

// Appends one text's runs at the end of the box, codes applied; neither
// clears the box nor adds a line break.
void appendFormattedText(QTextEdit* box, std::string_view text);

// Clears the box and shows the slot's tooltip: name, separator, lore lines,
// each followed by a line break.
void refreshPreview(QTextEdit* box, const SlotRecord& slot);

}  // namespace cofferon
