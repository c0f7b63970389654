#pragma once

// Where the chest's cells lie in the grid's group box: 32-pixel cells with
// 2-pixel gaps, slot 1 at (8, 16), 9 to a row.

#include "document/core/SlotRecord.h"

namespace cofferon {

struct CellPoint {
    int x = 0;
    int y = 0;

    bool operator==(const CellPoint&) const = default;
};

inline constexpr int kCellPitch = 34;
inline constexpr int kCellSize = 32;

constexpr CellPoint cellPosition(int slot)
{
    return {(slot - 1) % kColumns * kCellPitch + 8, (slot - 1) / kColumns * kCellPitch + 16};
}

// The slot that stays current when only `rows` rows are shown: moved up by
// whole rows into the last visible row, same column.
constexpr int slotWithinRows(int slot, int rows)
{
    const int visible = rows * kColumns;
    while (slot > visible)
        slot -= kColumns;
    return slot;
}

}  // namespace cofferon
