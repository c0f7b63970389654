#include "document/core/SlotRecord.h"

#include <cassert>
#include <tuple>
#include <utility>

namespace cofferon {

bool SlotRecord::operator==(const SlotRecord& other) const
{
    auto texts = [](const SlotRecord& r) {
        return std::tie(r.lore, r.name, r.enchants, r.id, r.command, r.keepOpen, r.money, r.point, r.exp, r.item,
                        r.amount, r.permission, r.viewPermission, r.color, r.head);
    };
    return texts(*this) == texts(other);
}

SlotRecord& SlotTable::operator[](int slot)
{
    assert(slot >= 1 && slot <= kSlotCount);
    return m_slots[static_cast<std::size_t>(slot - 1)];
}

const SlotRecord& SlotTable::operator[](int slot) const
{
    assert(slot >= 1 && slot <= kSlotCount);
    return m_slots[static_cast<std::size_t>(slot - 1)];
}

void SlotTable::clear()
{
    m_slots.fill(SlotRecord{});
}

void SlotTable::swapSlots(int first, int second)
{
    std::swap((*this)[first], (*this)[second]);
}

void SlotTable::copySlot(int from, int to)
{
    // A copy is a new item: the block stays with the record copied.
    (*this)[to] = (*this)[from];
    (*this)[to].origin = 0;
}

}  // namespace cofferon
