#pragma once

// Undo and redo of the commands that change the document or the menu
// settings: each step keeps what it changed, before and after, so a day's
// steps cost what they changed and no more.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "document/core/MenuSettings.h"
#include "document/core/SlotRecord.h"

namespace cofferon {

struct SlotChange {
    int slot = 0;
    SlotRecord before;
    SlotRecord after;
};

struct Step {
    std::vector<SlotChange> slots;
    // Only the commands that set the menu settings (a load, clearing) keep them.
    std::optional<MenuSettings> settingsBefore;
    std::optional<MenuSettings> settingsAfter;
    int currentBefore = 1;
    int currentAfter = 1;

    bool changesNothing() const;
};

// The slots that differ between the two tables, in slot order.
std::vector<SlotChange> changedSlots(const SlotTable& before, const SlotTable& after);

class History {
public:
    // A step that changes nothing is not kept. Recording drops what was undone.
    void record(Step step);

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }

    // The step to take back or to do again, or nullptr when there is none.
    const Step* undo();
    const Step* redo();

    void clear();

    // After a menu file is written, its item blocks have new numbers: every
    // record's origin counts in them (numbers[old], 0 for a block gone).
    void renumberOrigins(const std::vector<std::uint32_t>& numbers);

private:
    std::vector<Step> m_steps;
    std::size_t m_done = 0;  // steps before this index are done
};

}  // namespace cofferon
