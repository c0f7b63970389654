#pragma once

// A whole menu: what a project file or a menu file holds and what the main
// window shows. The rest of the working state (the current slot, the slot
// clipboard) is the document's.

#include "document/core/MenuSettings.h"
#include "document/core/SlotRecord.h"

namespace cofferon {

struct WholeMenu {
    MenuSettings settings;
    SlotTable slots;

    bool operator==(const WholeMenu&) const = default;
};

}  // namespace cofferon
