#include <gtest/gtest.h>

#include "document/core/History.h"

namespace cofferon {
namespace {

Step slotStep(int slot, const char* before, const char* after)
{
    Step step;
    step.slots.push_back({slot, SlotRecord{.name = before}, SlotRecord{.name = after}});
    return step;
}

TEST(History, UndoAndRedoWalkTheStepsAndANewStepDropsWhatWasUndone)
{
    History history;
    EXPECT_EQ(history.undo(), nullptr);
    history.record(slotStep(1, "", "a"));
    history.record(slotStep(1, "a", "b"));
    history.record(Step{});  // changes nothing: not kept
    EXPECT_EQ(history.undo()->slots[0].after.name, "b");
    EXPECT_EQ(history.undo()->slots[0].after.name, "a");
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(history.redo()->slots[0].after.name, "a");
    history.record(slotStep(2, "", "c"));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undo()->slots[0].slot, 2);
    EXPECT_EQ(history.undo()->slots[0].slot, 1);
    EXPECT_EQ(history.undo(), nullptr);

    // A step that only moves the selection, or only changes the settings, counts.
    Step moved;
    moved.currentAfter = 5;
    history.record(moved);
    Step titled;
    titled.settingsBefore = MenuSettings{};
    titled.settingsAfter = MenuSettings{};
    titled.settingsAfter->title = "T";
    history.record(titled);
    EXPECT_EQ(history.undo()->settingsAfter->title, std::optional<std::string>("T"));
    EXPECT_EQ(history.undo()->currentAfter, 5);
}

TEST(History, ChangedSlotsAndTheDragOperations)
{
    SlotTable slots;
    slots[3] = {.name = "three", .id = "1"};
    slots[7] = {.name = "seven", .id = "2"};
    const SlotTable before = slots;

    slots.swapSlots(3, 7);
    EXPECT_EQ(slots[3].name, "seven");
    EXPECT_EQ(slots[7].name, "three");
    slots.copySlot(7, 9);
    EXPECT_EQ(slots[9], slots[7]);
    slots[9].name = "changed";
    EXPECT_EQ(slots[7].name, "three");  // a copy, not shared

    const std::vector<SlotChange> changes = changedSlots(before, slots);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].slot, 3);
    EXPECT_EQ(changes[0].before.name, "three");
    EXPECT_EQ(changes[2].slot, 9);
    EXPECT_EQ(changes[2].before, SlotRecord{});
}

}  // namespace
}  // namespace cofferon
