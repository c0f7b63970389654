#include "document/core/History.h"

#include <utility>

namespace cofferon {

bool Step::changesNothing() const
{
    return slots.empty() && settingsBefore == settingsAfter && currentBefore == currentAfter;
}

std::vector<SlotChange> changedSlots(const SlotTable& before, const SlotTable& after)
{
    std::vector<SlotChange> changes;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (!(before[slot] == after[slot]))
            changes.push_back({slot, before[slot], after[slot]});
    }
    return changes;
}

void History::record(Step step)
{
    if (step.changesNothing())
        return;
    m_steps.resize(m_done);
    m_steps.push_back(std::move(step));
    m_done = m_steps.size();
}

const Step* History::undo()
{
    if (!canUndo())
        return nullptr;
    return &m_steps[--m_done];
}

const Step* History::redo()
{
    if (!canRedo())
        return nullptr;
    return &m_steps[m_done++];
}

void History::clear()
{
    m_steps.clear();
    m_done = 0;
}

void History::renumberOrigins(const std::vector<std::uint32_t>& numbers)
{
    auto renumber = [&](SlotRecord& record) {
        record.origin = record.origin < numbers.size() ? numbers[record.origin] : 0;
    };
    for (Step& step : m_steps) {
        for (SlotChange& change : step.slots) {
            renumber(change.before);
            renumber(change.after);
        }
    }
}

}  // namespace cofferon
