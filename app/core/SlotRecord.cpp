#include "app/core/SlotRecord.h"

#include <cassert>

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

}  // namespace cofferon
