#include <gtest/gtest.h>

#include "export/core/MenuYamlWriter.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

std::string yamlOf(const MenuSettings& settings, const SlotTable& slots)
{
    auto result = writeMenuYaml(settings, slots);
    if (auto* refusal = std::get_if<Refusal>(&result)) {
        ADD_FAILURE() << "refused: " << refusal->message;
        return {};
    }
    return std::get<std::string>(result);
}

MenuSettings titled(const char* title = "Menu")
{
    MenuSettings settings;
    settings.title = title;
    return settings;
}

// The slot's block without the menu-setting block in front of it.
std::string slotBlock(const SlotRecord& record, int slot = 1)
{
    SlotTable slots;
    slots[slot] = record;
    const std::string text = yamlOf(titled(), slots);
    const std::string head = yamlOf(titled(), SlotTable{});
    return text.substr(head.size());
}

TEST(MenuYamlWriter, WorkedExampleByteForByte)
{
    MenuSettings settings;
    settings.title = "&6Shop";
    settings.rowIndex = 2;
    settings.menuCommand = "shop";
    settings.openItem = "345";
    settings.leftClick = true;

    SlotTable slots;
    slots[1].id = "35:14";
    slots[1].name = "&cRed wool";
    slots[1].lore = "&7Line one\r\n&7Line two";
    slots[1].command = "tell: &aHi\r\nop:say hi";
    slots[1].money = "10";
    slots[1].keepOpen = "true";
    slots[5].id = "397:3";
    slots[5].name = "&eHead";
    slots[5].head = "SomePlayer";
    slots[12].id = "299";
    slots[12].color = "255, 0, 0";
    slots[30].id = "1";

    EXPECT_EQ(yamlOf(settings, slots), test::readFile(COFFERON_TEST_DATA "/worked-example.yml"));
}

TEST(MenuYamlWriter, TitleOnlyGivesThreeLines)
{
    EXPECT_EQ(yamlOf(titled("T"), SlotTable{}), "menu-setting:\r\n  name: 'T'\r\n  rows: 6\r\n");
}

TEST(MenuYamlWriter, RefusesMissingTitleBeforeInvalidItem)
{
    MenuSettings settings;
    settings.openItem = "abc";
    auto result = writeMenuYaml(settings, SlotTable{});
    ASSERT_TRUE(std::holds_alternative<Refusal>(result));
    EXPECT_EQ(std::get<Refusal>(result).message, "需要菜单标题");

    settings.title = "T";
    result = writeMenuYaml(settings, SlotTable{});
    ASSERT_TRUE(std::holds_alternative<Refusal>(result));
    EXPECT_EQ(std::get<Refusal>(result).message, "无效的物品ID");
}

TEST(MenuYamlWriter, OpeningItemBlockFollowsTheItemBox)
{
    MenuSettings settings = titled("T");
    settings.leftClick = true;
    settings.rightClick = true;
    // No item: no block, whatever the check boxes say.
    EXPECT_EQ(yamlOf(settings, SlotTable{}).find("open-with-item"), std::string::npos);

    settings.openItem = "035:1";
    EXPECT_NE(yamlOf(settings, SlotTable{})
                  .find("  open-with-item:\r\n    id: '035:1'\r\n"
                        "    left-click: true\r\n    right-click: true\r\n"),
              std::string::npos);

    settings.leftClick = settings.rightClick = false;
    const std::string text = yamlOf(settings, SlotTable{});
    EXPECT_EQ(text.substr(text.find("  open-with-item:")), "  open-with-item:\r\n    id: '035:1'\r\n");
}

TEST(MenuYamlWriter, OnlySlotsOfTheMenuRowsAreWritten)
{
    SlotTable slots;
    slots[9].id = "1";
    slots[10].id = "1";
    slots[54].id = "1";
    MenuSettings settings = titled();
    settings.rowIndex = 0;
    const std::string oneRow = yamlOf(settings, slots);
    EXPECT_NE(oneRow.find("\r\n9:\r\n"), std::string::npos);
    EXPECT_EQ(oneRow.find("\r\n10:\r\n"), std::string::npos);

    settings.rowIndex = 5;
    const std::string sixRows = yamlOf(settings, slots);
    EXPECT_NE(sixRows.find("\r\n10:\r\n  ID: 1\r\n  POSITION-X: 1\r\n  POSITION-Y: 2\r\n"), std::string::npos);
    EXPECT_NE(sixRows.find("\r\n54:\r\n  ID: 1\r\n  POSITION-X: 9\r\n  POSITION-Y: 6\r\n"), std::string::npos);
}

TEST(MenuYamlWriter, SlotsWithoutAValidIdAreSkipped)
{
    for (const char* id : {"", "0", "5:", "abc"}) {
        SlotRecord record;
        record.id = id;
        record.name = "named";
        record.lore = "lore";
        EXPECT_EQ(slotBlock(record), "") << id;
    }
}

TEST(MenuYamlWriter, DataValueLineOnlyAboveZero)
{
    SlotRecord record;
    record.id = "35";
    EXPECT_EQ(slotBlock(record), "1:\r\n  ID: 35\r\n  POSITION-X: 1\r\n  POSITION-Y: 1\r\n");
    record.id = "35:0";
    EXPECT_EQ(slotBlock(record), "1:\r\n  ID: 35\r\n  POSITION-X: 1\r\n  POSITION-Y: 1\r\n");
    record.id = "035:01";
    EXPECT_EQ(slotBlock(record), "1:\r\n  ID: 35\r\n  DATA-VALUE: 1\r\n  POSITION-X: 1\r\n  POSITION-Y: 1\r\n");
}

TEST(MenuYamlWriter, EveryOptionalLineInTableOrder)
{
    SlotRecord record;
    record.id = "299:2";
    record.name = "n";
    record.lore = "a\r\n\r\nc";
    record.command = "x\r\ny";
    record.money = "1";
    record.point = "2";
    record.exp = "3";
    record.item = "264";
    record.amount = "4";
    record.keepOpen = "true";
    record.permission = "p";
    record.viewPermission = "v";
    record.enchants = "e, 1\r\nf";
    record.color = "1, 2, 3";
    record.head = "ignored";  // only for 397:3
    EXPECT_EQ(slotBlock(record),
              "1:\r\n  ID: 299\r\n  DATA-VALUE: 2\r\n  POSITION-X: 1\r\n  POSITION-Y: 1\r\n"
              "  NAME: 'n'\r\n  LORE: \r\n    - 'a'\r\n    - ''\r\n    - 'c'\r\n"
              "  COMMAND: 'x; y'\r\n  PRICE: 1\r\n  POINTS: 2\r\n  LEVELS: 3\r\n"
              "  REQUIRED-ITEM: '264, 4'\r\n  KEEP-OPEN: true\r\n  PERMISSION: 'p'\r\n"
              "  VIEW-PERMISSION: 'v'\r\n  ENCHANTMENT: 'e, 1; f'\r\n  COLOR: '1, 2, 3'\r\n");
}

TEST(MenuYamlWriter, LinesLeftOutWhenTheirConditionFails)
{
    SlotRecord record;
    record.id = "1";
    record.item = "264";  // no amount: no required item
    record.keepOpen = "false";  // never written
    record.viewPermission = "v";
    record.color = "1, 2, 3";  // not leather
    record.head = "Someone";  // not the text 397:3
    EXPECT_EQ(slotBlock(record), "1:\r\n  ID: 1\r\n  POSITION-X: 1\r\n  POSITION-Y: 1\r\n  VIEW-PERMISSION: 'v'\r\n");

    for (const char* skull : {"397", "397:03", "397:3 "}) {
        record = SlotRecord{};
        record.id = skull;
        record.head = "Someone";
        EXPECT_EQ(slotBlock(record).find("SKULL-OWNER"), std::string::npos) << skull;
    }
    for (const char* leather : {"298", "301:7"}) {
        record = SlotRecord{};
        record.id = leather;
        record.color = "9, 9, 9";
        EXPECT_NE(slotBlock(record).find("  COLOR: '9, 9, 9'\r\n"), std::string::npos) << leather;
    }
}

TEST(MenuYamlWriter, SingleQuotesAreDoubledInEveryQuotedValue)
{
    MenuSettings settings = titled("Bob's");
    settings.menuCommand = "it's";
    SlotTable slots;
    slots[1].id = "1";
    slots[1].name = "'n'";
    slots[1].lore = "l'1";
    slots[1].permission = "p'";
    const std::string text = yamlOf(settings, slots);
    EXPECT_NE(text.find("  name: 'Bob''s'\r\n"), std::string::npos);
    EXPECT_NE(text.find("  command: 'it''s'\r\n"), std::string::npos);
    EXPECT_NE(text.find("  NAME: '''n'''\r\n"), std::string::npos);
    EXPECT_NE(text.find("    - 'l''1'\r\n"), std::string::npos);
    EXPECT_NE(text.find("  PERMISSION: 'p'''\r\n"), std::string::npos);
}

}  // namespace
}  // namespace cofferon
