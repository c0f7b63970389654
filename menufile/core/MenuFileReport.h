#pragma once

// What a menu file cannot carry of the work: the slots it leaves out whole
// and the values it leaves out of the slots it writes. The export names them
// before it writes, so nothing the user entered goes missing unsaid.

#include <optional>
#include <string>
#include <vector>

#include "document/core/MenuSettings.h"
#include "document/core/SlotRecord.h"
#include "document/core/WholeMenu.h"

namespace cofferon {

// One line (UTF-8) for the click switches when there is no opening item to
// carry them, then one for each slot that loses something, in slot order: a slot
// with content in a row the menu does not show, one with content but no
// valid item ID, and in the slots written a required item without its amount
// or the reverse, a leather colour on an item that is not leather armour, a
// skull owner on an item that is not the player skull. Empty when the file
// carries everything.
std::vector<std::string> menuFileOmissions(const MenuSettings& settings, const SlotTable& slots);

// The slots as the menu file carries them: every value menuFileOmissions
// names is gone, everything else stays.
SlotTable slotsInMenuFile(const MenuSettings& settings, const SlotTable& slots);

// The work as a menu file just written from it holds it, the saved state a
// window compares its work with: the slots as slotsInMenuFile gives them,
// with the slots below the rows whose blocks the file kept (a non-zero
// origin), and the settings without empty texts, their click switches off
// when there is no opening item to carry them.
WholeMenu menuFileHolds(const MenuSettings& settings, const SlotTable& slots);

// The slots with content in rows the menu does not show, from the first row
// hidden to the last row that holds one (the rows that would show them all).
struct HiddenSlots {
    int firstRow = 0;
    int lastRow = 0;
    int count = 0;
};

// nullopt when the rows shown hold every slot with content.
std::optional<HiddenSlots> hiddenSlots(const MenuSettings& settings, const SlotTable& slots);

// "第 4–6 行还有 3 个物品,不会显示在菜单里" (UTF-8).
std::string hiddenSlotsNote(const HiddenSlots& hidden);

}  // namespace cofferon
