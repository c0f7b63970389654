#include <gtest/gtest.h>

#include "menufile/core/MenuYamlWriter.h"
#include "support/AwkwardValues.h"
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

std::string refusalOf(const MenuSettings& settings, const SlotTable& slots,
                      std::optional<OutputEncoding> encoding = std::nullopt)
{
    const auto result = writeMenuYaml(settings, slots, encoding);
    return std::holds_alternative<Refusal>(result) ? std::get<Refusal>(result).message : "";
}

TEST(MenuYamlWriter, PricesAreNumbersWrittenWithoutLeadingZeros)
{
    struct Case {
        const char* money;
        const char* point;
        const char* written;  // the PRICE and POINTS lines, or nullptr for a refusal
    };
    const Case cases[] = {
        {"010", "007", "  PRICE: 10\r\n  POINTS: 7\r\n"},  // never octal
        {"-0", "0", "  PRICE: -0\r\n  POINTS: 0\r\n"},
        {"-005.50", "-12", "  PRICE: -5.50\r\n  POINTS: -12\r\n"},
        {"0.25", "99999999999999999999", "  PRICE: 0.25\r\n  POINTS: 99999999999999999999\r\n"},
        {"-", "1", nullptr},
        {"1-2", "1", nullptr},
        {"1.", "1", nullptr},
        {".5", "1", nullptr},
        {"1.2.3", "1", nullptr},
        {" 1", "1", nullptr},
        {"1e3", "1", nullptr},
        {"\xA3\xB1", "1", nullptr},  // a full-width digit
        {"1", "1.5", nullptr},  // points are whole numbers
        {"1", "--1", nullptr},
    };
    for (const Case& c : cases) {
        SlotTable slots;
        slots[4] = {.id = "1", .money = c.money, .point = c.point};
        if (c.written) {
            EXPECT_NE(yamlOf(titled(), slots).find(c.written), std::string::npos) << c.money << " " << c.point;
        } else {
            EXPECT_TRUE(refusalOf(titled(), slots).starts_with("第 4 格的所需")) << c.money << " " << c.point;
        }
    }
}

TEST(MenuYamlWriter, RefusesCharactersAReaderRejectsOrChangesNamingSlotAndKey)
{
    struct Case {
        std::string value;
        const char* code;  // in the message, or nullptr when the value is written
    };
    const Case cases[] = {
        {std::string("a\0b", 3), "U+0000"},
        {"\a", "U+0007"},
        {"\x1B[31m", "U+001B"},
        {"a\rb", "U+000D"},
        {"a\nb", "U+000A"},
        {"\x7F", "U+007F"},
        {"\x81\x30\x81\x35", "U+0085"},  // a C1 control, in its four-byte form
        {"\x81\x36\xA6\x35", "U+2028"},
        {"a\tb", nullptr},
        {"\xA1\xA1 \xD6\xD0", nullptr},
    };
    for (const Case& c : cases) {
        SlotTable slots;
        slots[7] = {.id = "1", .permission = c.value};
        const std::string message = refusalOf(titled(), slots);
        if (c.code)
            EXPECT_EQ(message,
                      std::string("第 7 格的使用权限(PERMISSION)含有菜单文件无法保存的控制字符 ") + c.code +
                          ",文件未写入。");
        else
            EXPECT_EQ(message, "") << testing::PrintToString(c.value);
    }
    MenuSettings settings = titled("T");
    settings.menuCommand = "shop\x07";
    EXPECT_TRUE(refusalOf(settings, SlotTable{}).starts_with("菜单指令(command)含有"));
}

TEST(MenuYamlWriter, EncodingRefusalsNameTheFirstValueThatCannotBeHeld)
{
    SlotTable slots;
    slots[2] = {.lore = "ok\r\nx\x80", .name = "\x94\x39\xFC\x36", .id = "1"};  // an emoji, then a stray byte
    EXPECT_EQ(refusalOf(titled(), slots, OutputEncoding::Gb2312),
              "第 2 格的物品名称(NAME)含有 GB2312 格式无法保存的字符“😀”,文件未写入。请改用 UTF-8 格式导出。");
    EXPECT_EQ(refusalOf(titled(), slots, OutputEncoding::Utf8),
              "第 2 格的Lore 第 2 行(LORE)含有无法转换为 UTF-8 的字节 0x80,文件未写入。可改用 GB2312 格式导出。");
    EXPECT_EQ(refusalOf(titled(), slots), "");  // the writer alone does not know the encoding
}

TEST(MenuYamlWriter, Gb2312HoldsOnlyWhatGbkReadersReadAlike)
{
    struct Case {
        std::string title;
        const char* refused;  // the start of what the message says of it, or nullptr
    };
    const Case cases[] = {
        {"\xC9\xCC\xB5\xEA", nullptr},  // 商店
        {"\xE9\x46", nullptr},  // 镕, in GBK but not in GB2312 proper
        {"\xA2\xE3", "含有 GB2312 格式无法保存的字符“€”"},  // the euro sign is one byte in GBK
        {"\xA8\xBC", "含有 GB2312 格式无法保存的字符“ḿ”"},  // a private-use character there
        {"\xAA\xA1", "含有 GB2312 格式无法保存的字符“\xEE\x80\x80”"},  // user-defined area
        {"a\x80", "含有无法识别的字节 0x80"},
        {"\x81'", "含有无法识别的字节 0x81"},
    };
    for (const Case& c : cases) {
        const std::string message = refusalOf(titled(c.title.c_str()), SlotTable{}, OutputEncoding::Gb2312);
        if (c.refused)
            EXPECT_TRUE(message.starts_with(std::string("菜单标题(name)") + c.refused)) << message;
        else
            EXPECT_EQ(message, "");
    }
}

}  // namespace
// Whether two menus give one file, told without writing: the same answer
// as comparing what the writer writes, for a menu and a copy with one value
// changed, to one the file says the same way or to another one.
TEST(MenuYamlWriter, SameMenuFileAgreesWithTheWriter)
{
    using Edit = void (*)(MenuSettings&, SlotRecord&, test::AwkwardValues&);
    const Edit edits[] = {
        [](MenuSettings&, SlotRecord& r, test::AwkwardValues&) { r.money = "0" + r.money; },
        [](MenuSettings&, SlotRecord& r, test::AwkwardValues&) { r.keepOpen = r.keepOpen == "true" ? "" : "false"; },
        [](MenuSettings&, SlotRecord& r, test::AwkwardValues&) { r.lore += "\r\n"; },
        [](MenuSettings&, SlotRecord& r, test::AwkwardValues&) {
            r.id = r.id.find(':') == std::string::npos ? r.id + ":0" : r.id;
        },
        [](MenuSettings&, SlotRecord& r, test::AwkwardValues& v) { r.color = v.text(true); },
        [](MenuSettings&, SlotRecord& r, test::AwkwardValues& v) { r.head = v.text(true); },
        [](MenuSettings&, SlotRecord& r, test::AwkwardValues& v) { r.name = v.text(true); },
        [](MenuSettings&, SlotRecord& r, test::AwkwardValues& v) {
            r.command = test::AwkwardValues::joinLines(v.lines());
        },
        [](MenuSettings&, SlotRecord& r, test::AwkwardValues& v) { r.item = v.itemId(true); },
        [](MenuSettings&, SlotRecord& r, test::AwkwardValues&) { r.amount.clear(); },
        [](MenuSettings& m, SlotRecord&, test::AwkwardValues&) { m.leftClick = !m.leftClick; },
        [](MenuSettings& m, SlotRecord&, test::AwkwardValues&) { m.rowIndex = (m.rowIndex + 1) % kMaxRows; },
        [](MenuSettings& m, SlotRecord&, test::AwkwardValues&) { m.openItem.reset(); },
    };
    test::AwkwardValues values(7);
    for (int round = 0; round < 3000; ++round) {
        MenuSettings settings;
        settings.title = values.text(true);
        settings.rowIndex = static_cast<int>(values.pick(kMaxRows));
        if (values.chance(0.5))
            settings.openItem = "345";
        settings.leftClick = values.chance(0.5);
        SlotTable slots;
        const int slot = static_cast<int>(values.pick(kSlotCount)) + 1;
        SlotRecord& record = slots[slot];
        record.id = values.from(std::vector<std::string>{"1", "35:14", "299", "397:3", "397"});
        record.name = values.text(true);
        record.lore = test::AwkwardValues::joinLines(values.lines());
        record.money = values.number(true);
        record.item = "264";
        record.amount = values.chance(0.5) ? "2" : "";
        record.color = values.chance(0.5) ? "1, 2, 3" : "";
        record.head = values.chance(0.5) ? "Steve" : "";
        MenuSettings otherSettings = settings;
        SlotTable other = slots;
        edits[values.pick(std::size(edits))](otherSettings, other[slot], values);
        const auto a = writeMenuYaml(settings, slots);
        const auto b = writeMenuYaml(otherSettings, other);
        if (!std::holds_alternative<std::string>(a) || !std::holds_alternative<std::string>(b))
            continue;
        EXPECT_EQ(sameMenuFile(settings, slots, otherSettings, other), a == b) << std::get<std::string>(a);
    }
}

}  // namespace cofferon
