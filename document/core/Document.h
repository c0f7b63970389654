#pragma once

// The program-wide working state. The menu-level settings are not here: they
// live in the main window's controls and reach the core as MenuSettings.

#include <string>
#include <vector>

#include "document/core/SlotRecord.h"

namespace cofferon {

struct Document {
    SlotTable slots;
    int currentSlot = 0;  // 0 until the main window exists, then 1..54
    SlotRecord slotClipboard;
    std::vector<std::string> pickerList;
};

}  // namespace cofferon
