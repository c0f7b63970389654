#include "document/core/SlotRecord.h"

#include <cassert>
#include <utility>

namespace cofferon {

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
    (*this)[to] = (*this)[from];
}

}  // namespace cofferon
