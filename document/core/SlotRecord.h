#pragma once

// One slot of the chest menu and the table of all 54. Every field is a
// document text (GB18030); multi-line fields join their lines with "\r\n".

#include <array>
#include <cstdint>
#include <string>

namespace cofferon {

struct SlotRecord {
    std::string lore = {};
    std::string name = {};
    std::string enchants = {};
    std::string id = {};
    std::string command = {};
    std::string keepOpen = {};  // "true" means true; any other text means false
    std::string money = {};
    std::string point = {};
    std::string exp = {};
    std::string item = {};
    std::string amount = {};
    std::string permission = {};
    std::string viewPermission = {};
    std::string color = {};  // "r, g, b"
    std::string head = {};
    // Where the record came from, not what it holds: counted from 1, the item
    // block of the menu file read whose item this is, so that writing the
    // file back keeps that block (its name and comments) wherever the slot
    // moves; 0 for an item of no block, which the file gains as a new one.
    std::uint32_t origin = 0;

    // The fifteen texts; the origin does not count.
    bool operator==(const SlotRecord& other) const;
};

inline constexpr int kSlotCount = 54;
inline constexpr int kColumns = 9;
inline constexpr int kMaxRows = 6;

// Slots are numbered row by row from 1 (top left) to 54 (bottom right).
constexpr int slotRow(int slot)
{
    return (slot - 1) / kColumns + 1;
}
constexpr int slotColumn(int slot)
{
    return (slot - 1) % kColumns + 1;
}
constexpr int slotAt(int row, int column)
{
    return (row - 1) * kColumns + column;
}

class SlotTable {
public:
    // slot is 1..54; anything else is a caller's error and asserts.
    SlotRecord& operator[](int slot);
    const SlotRecord& operator[](int slot) const;

    void clear();

    // The slot operations of a drag on the grid. Moving exchanges the two
    // slots, so nothing is overwritten; copying replaces the target with a copy.
    void swapSlots(int first, int second);
    void copySlot(int from, int to);

    bool operator==(const SlotTable&) const = default;

private:
    std::array<SlotRecord, kSlotCount> m_slots{};
};

}  // namespace cofferon
