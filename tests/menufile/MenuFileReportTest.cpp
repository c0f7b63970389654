#include <gtest/gtest.h>

#include "menufile/core/MenuFileReport.h"
#include "menufile/core/MenuYamlWriter.h"

namespace cofferon {
namespace {

std::string yamlOf(const MenuSettings& settings, const SlotTable& slots)
{
    auto yaml = writeMenuYaml(settings, slots);
    if (const auto* refusal = std::get_if<Refusal>(&yaml))
        return "refused: " + refusal->message;
    return std::get<std::string>(yaml);
}

MenuSettings titled(int rows)
{
    MenuSettings settings;
    settings.title = "t";
    settings.rowIndex = rows - 1;
    return settings;
}

// One slot in a menu of `rows` rows, and the line the report gives for it
// (empty: the file carries all of it).
struct Case {
    int rows;
    int slot;
    SlotRecord record;
    std::string line;
};

TEST(MenuFileReport, NamesEachSlotThatLosesSomethingAndNothingElse)
{
    const Case cases[] = {
        {2, 41, {.id = "1"}, "第 41 格在第 5 行,菜单只显示 2 行,不会写入"},
        {2, 19, {.name = "n"}, "第 19 格在第 3 行,菜单只显示 2 行,不会写入"},
        {6, 7, {.name = "n", .id = "abc"}, "第 7 格没有有效的物品ID,不会写入"},
        {6, 8, {.money = "5"}, "第 8 格没有有效的物品ID,不会写入"},
        {6, 9, {.keepOpen = "true"}, "第 9 格没有有效的物品ID,不会写入"},
        {6, 3, {.id = "1", .item = "264"}, "第 3 格的所需物品没有数量,不会写入"},
        {6, 3, {.id = "1", .amount = "2"}, "第 3 格的所需物品数量没有对应的物品,不会写入"},
        {6, 3, {.id = "302", .color = "255, 0, 0"}, "第 3 格的皮甲颜色只用于皮甲(298–301),不会写入"},
        {6, 3, {.id = "397", .head = "Steve"}, "第 3 格的头颅名称只用于玩家头颅(397:3),不会写入"},
        {6, 3, {.id = "397:03", .head = "Steve"}, "第 3 格的头颅名称只用于玩家头颅(397:3),不会写入"},
        {6,
         3,
         {.id = "1", .item = "264", .color = "1, 2, 3"},
         "第 3 格的所需物品没有数量,皮甲颜色只用于皮甲(298–301),都不会写入"},
        // Nothing lost: every value reaches the file, or there is none.
        {6, 54, {.name = "n", .id = "298", .item = "264", .amount = "2", .color = "1, 2, 3"}, ""},
        {6, 5, {.id = "397:3", .head = "Steve"}, ""},
        {1, 9, {.lore = "l", .id = "301:1", .keepOpen = "false", .color = "0, 0, 0"}, ""},
        {1, 10, {.keepOpen = "false"}, ""},
        {1, 54, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "slot " << c.slot << ", " << c.rows << " rows, line " << c.line);
        const MenuSettings settings = titled(c.rows);
        SlotTable slots;
        slots[c.slot] = c.record;
        const std::vector<std::string> expected =
            c.line.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.line};
        EXPECT_EQ(menuFileOmissions(settings, slots), expected);

        // What the report names is exactly what the file does not hold.
        const SlotTable carried = slotsInMenuFile(settings, slots);
        EXPECT_EQ(yamlOf(settings, carried), yamlOf(settings, slots));
        EXPECT_EQ(carried == slots, c.line.empty());
    }
}

TEST(MenuFileReport, NamesTheClickSwitchesWithoutAnOpeningItem)
{
    struct Row {
        bool left, right;
        std::optional<std::string> item;
        std::vector<std::string> lines;
    };
    const Row rows[] = {
        {true, false, std::nullopt, {"没有开启菜单的物品(物品ID),左键开启不会写入"}},
        {false, true, std::nullopt, {"没有开启菜单的物品(物品ID),右键开启不会写入"}},
        {true, true, std::nullopt, {"没有开启菜单的物品(物品ID),左键开启和右键开启不会写入"}},
        {true, true, "345", {}},
        {false, false, std::nullopt, {}},
    };
    for (const Row& row : rows) {
        MenuSettings settings = titled(6);
        settings.leftClick = row.left;
        settings.rightClick = row.right;
        settings.openItem = row.item;
        EXPECT_EQ(menuFileOmissions(settings, SlotTable{}), row.lines) << row.left << row.right;
    }
}

TEST(MenuFileReport, ListsTheSlotsInOrderAndKeepsWhatTheFileHolds)
{
    const MenuSettings settings = titled(1);
    SlotTable slots;
    slots[30].id = "1";
    slots[2] = {.name = "kept", .id = "35:14", .item = "264", .color = "9, 9, 9"};
    slots[4].id = "2";
    EXPECT_EQ(menuFileOmissions(settings, slots),
              (std::vector<std::string>{"第 2 格的所需物品没有数量,皮甲颜色只用于皮甲(298–301),都不会写入",
                                        "第 30 格在第 4 行,菜单只显示 1 行,不会写入"}));
    const SlotTable carried = slotsInMenuFile(settings, slots);
    EXPECT_EQ(carried[2], (SlotRecord{.name = "kept", .id = "35:14"}));
    EXPECT_EQ(carried[4], slots[4]);
    EXPECT_EQ(carried[30], SlotRecord{});
}

// The line under the grid: the slots with content below the rows shown, up to
// the last row that holds one.
TEST(MenuFileReport, SaysWhatHiddenRowsHold)
{
    const std::tuple<int, std::vector<int>, std::string, int> rows[] = {
        {3, {30, 40, 50}, "第 4–6 行还有 3 个物品,不会显示在菜单里", 6},
        {3, {28, 36}, "第 4 行还有 2 个物品,不会显示在菜单里", 4},
        {2, {30, 5}, "第 3–4 行还有 1 个物品,不会显示在菜单里", 4},
        {6, {54}, "", 0},
        {1, {9}, "", 0},
    };
    for (const auto& [shown, filled, note, enough] : rows) {
        SlotTable slots;
        for (const int slot : filled)
            slots[slot].name = "n";
        slots[46].keepOpen = "false";  // no content
        const auto hidden = hiddenSlots(titled(shown), slots);
        EXPECT_EQ(hidden ? hiddenSlotsNote(*hidden) : "", note) << shown;
        EXPECT_EQ(hidden ? hidden->lastRow : 0, enough) << shown;
    }
}

}  // namespace
}  // namespace cofferon
