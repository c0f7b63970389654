#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "document/core/Codec.h"
#include "menufile/core/MenuEncoding.h"
#include "menufile/core/MenuImport.h"
#include "support/AwkwardValues.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

std::string gb(const char* utf8)
{
    return *utf8ToGb18030(utf8);
}

ImportedMenu imported(std::string_view bytes)
{
    auto result = importMenu(bytes);
    if (auto* problem = std::get_if<NotAMenu>(&result)) {
        ADD_FAILURE() << describeNotAMenu(*problem);
        return {};
    }
    return std::get<ImportedMenu>(std::move(result));
}

// Documents whose values are awkward for a YAML reader and for the import's
// mapping back: quotes, end blanks, "; " inside a command line, empty lore
// lines at the end, Chinese that also reads as UTF-8, numbers with zeros.
class MenuMaker {
public:
    explicit MenuMaker(unsigned seed) : m_values(seed) {}

    WholeMenu make()
    {
        WholeMenu project;
        project.settings.title = piece();
        if (chance(2))
            project.settings.menuCommand = piece();
        if (chance(2)) {
            project.settings.openItem = m_values.itemId(false);
            project.settings.leftClick = chance(2);
            project.settings.rightClick = chance(2);
        }
        project.settings.rowIndex = static_cast<int>(m_values.pick(6));
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            if (!chance(4))
                continue;
            SlotRecord& r = project.slots[slot];
            r.id = m_values.itemId(false);
            r.name = maybe(piece());
            r.lore = maybe(lines());
            r.command = maybe(lines());
            r.enchants = maybe(lines());
            r.money = maybe(m_values.number(true));
            r.point = maybe(m_values.number(false));
            r.exp = maybe(m_values.number(false));
            r.item = maybe(piece());
            r.amount = maybe(piece());
            r.keepOpen = chance(2) ? "true" : pick({"false", ""});
            r.permission = maybe(piece());
            r.viewPermission = maybe(piece());
            r.color = maybe(piece());
            r.head = maybe(piece());
        }
        return project;
    }

private:
    bool chance(unsigned in) { return m_values.pick(in) == 0; }
    std::string pick(std::initializer_list<const char*> list) { return *(list.begin() + m_values.pick(list.size())); }
    std::string maybe(std::string value) { return chance(3) ? std::string() : value; }
    std::string piece() { return m_values.text(true); }
    std::string lines() { return test::AwkwardValues::joinLines(m_values.lines()); }

    test::AwkwardValues m_values;
};

TEST(MenuImport, EveryExportedMenuComesBackByteForByteInBothEncodings)
{
    MenuMaker maker(20261208);
    int written = 0;
    for (int round = 0; round < 400; ++round) {
        const WholeMenu project = maker.make();
        for (const auto encoding : {OutputEncoding::Utf8, OutputEncoding::Gb2312}) {
            const auto file = menuFileBytes(project.settings, project.slots, encoding);
            if (!std::holds_alternative<std::string>(file))
                continue;  // refused, with its reason; nothing to read back
            ++written;
            const std::string& bytes = std::get<std::string>(file);
            const ImportedMenu menu = imported(bytes);
            // Text of ASCII alone is the same in both: either reading is right.
            if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; })) {
                EXPECT_EQ(menu.encoding, encoding) << testing::PrintToString(bytes);
            }
            EXPECT_TRUE(menu.notTakenOver.empty()) << bytes << menu.notTakenOver.front().text;
            const auto again = menuFileBytes(menu.project.settings, menu.project.slots, encoding);
            ASSERT_TRUE(std::holds_alternative<std::string>(again)) << bytes;
            EXPECT_EQ(std::get<std::string>(again), bytes);
        }
    }
    EXPECT_GT(written, 400);  // most menus are written in at least one encoding
}

TEST(MenuImport, ChineseThatAlsoReadsAsUtf8IsReadAsTheExportWroteIt)
{
    // 中文 in GBK is D6 D0 CE C4: two valid UTF-8 characters.
    for (const char* title : {"中文", "商店", "中文 Shop", "价格"}) {
        MenuSettings settings;
        settings.title = gb(title);
        const std::string bytes = std::get<std::string>(menuFileBytes(settings, SlotTable{}, OutputEncoding::Gb2312));
        const ImportedMenu menu = imported(bytes);
        EXPECT_EQ(menu.encoding, OutputEncoding::Gb2312) << title;
        EXPECT_EQ(menu.project.settings.title, gb(title));
    }
    // A hand-written UTF-8 file whose Chinese is not valid GBK is UTF-8.
    EXPECT_EQ(imported("menu-setting:\n  name: 中文\n").project.settings.title, gb("中文"));
}

TEST(MenuImport, HandWrittenMenusInOtherStylesKeepEveryKnownValue)
{
    const ImportedMenu menu = imported(test::readFile(COFFERON_TEST_DATA "/menus/hand-written.yml"));
    // The sword is no leather armour: its colour would never be written again.
    EXPECT_EQ(noteLines(menu.notTakenOver),
              std::vector<std::string>{"物品“sword”的 COLOR 只用于皮甲(ID 298–301),没有导入"});
    const MenuSettings& settings = menu.project.settings;
    EXPECT_EQ(settings.title, std::optional<std::string>("&6Hand \"made\""));
    EXPECT_EQ(settings.rowIndex, 1);
    EXPECT_EQ(settings.menuCommand, std::optional<std::string>("shop"));
    EXPECT_EQ(settings.openItem, std::optional<std::string>("345:2"));
    EXPECT_TRUE(settings.leftClick);
    EXPECT_FALSE(settings.rightClick);

    const SlotRecord sword = {.lore = "one\r\nit's two\r\nthree",
                              .name = "&bSword\tof " + gb("é"),
                              .enchants = "Sharpness, 5\r\nUnbreaking",
                              .id = "276",
                              .command = "tell: hi\r\nop:give {player} 276",
                              .keepOpen = "true",
                              .money = "2.50",
                              .point = "7"};  // 007 is octal to the reader
    EXPECT_EQ(menu.project.slots[3], sword);
    const SlotRecord armour = {.lore = "first line\r\nsecond line",
                               .id = "299",
                               .item = "264",
                               .amount = "2",
                               .permission = "  spaced  ",
                               .viewPermission = "menu.view",
                               .color = "10, 20, 30"};
    EXPECT_EQ(menu.project.slots[18], armour);
}

TEST(MenuImport, WhatCannotBeTakenOverIsListed)
{
    const ImportedMenu menu = imported(test::readFile(COFFERON_TEST_DATA "/menus/leftovers.yml"));
    const std::vector<std::string> expected = {
        "menu-setting 中的未知键“colour”",
        "open-with-item 中的未知键“glow”",
        "顶层的未知键“stray”",
        "物品“nowhere”没有可用的位置(POSITION-X 1–9,POSITION-Y 1–6),没有导入",
        "物品“first”中的未知键“SOUND”",
        "物品“second”与物品“first”都在第 1 格,没有导入",
        "物品“named”的 ID“STONE”不是物品ID,没有导入",
        "物品“half”的 REQUIRED-ITEM 不是“物品, 数量”,没有导入这一项",
        "物品“half”的 NAME 中的换行已换成空格",
    };
    EXPECT_EQ(noteLines(menu.notTakenOver), expected);
    EXPECT_EQ(menu.project.slots[1].id, "1");  // the first of two on one slot
    EXPECT_EQ(menu.project.slots[3].name, "two lines");
    EXPECT_TRUE(menu.project.slots[2].id.empty());
    EXPECT_EQ(menu.project.settings.openItem, std::optional<std::string>("1"));
}

// What the plugin's reader refuses, the import refuses too, in the user's language.
TEST(MenuImport, FilesThatAreNoMenuAreRefusedWithLineAndColumn)
{
    // Each list twice the one before: 2^27 entries if aliases were copied.
    std::string laughs = "b: &b [x, x]\n";
    for (std::string i = "0", previous = "b"; i != "26"; previous = "b" + i, i = std::to_string(std::stoi(i) + 1))
        laughs += "b" + i + ": &b" + i + " [*" + previous + ", *" + previous + "]\n";
    struct Case {
        std::string bytes;
        int line;
        int column;
        std::string reason;  // the start of it
    };
    const Case cases[] = {
        {"menu-setting: [a, b\n", 2, 1, "YAML 语法错误:“[”开始的列表缺少“,”或“]”"},
        {"a: b: c\n", 1, 5, "YAML 语法错误"},
        {"menu-setting:\n  name: a\n   rows: 2\n", 3, 8, "YAML 语法错误"},
        {"- one\n- two\n", 1, 1, "最外层不是"},
        {"just text\n", 1, 1, "最外层不是"},
        {"", 1, 1, "文件是空的"},
        {"# only a comment\n\n", 1, 1, "文件是空的"},
        {"menu-setting:\n  name: \xFF\n", 2, 9, "文件既不是 UTF-8 也不是 GB2312"},
        {"menu-setting:\r  name: \xFF\r", 2, 9, "文件既不是 UTF-8 也不是 GB2312"},
        {"menu-setting:\n  name: \xE4\xB8\xAD\xE6\x96\x87\xFF\n", 2, 11, "文件既不是 UTF-8 也不是 GB2312"},
        {"menu-setting:\r  name: a\r  rows: \x01\r", 3, 9, "YAML 语法错误:文件含有不能出现在 YAML 中的控制字符"},
        {"\xEF\xBB\xBFmenu-setting:\n  name: \xD6\xD0\n", 2, 9, "文件以 UTF-8 标记开头"},
        {"a: " + std::string(3000, '[') + std::string(3000, ']'), 1, 54, "嵌套太深"},  // not a crash
        {"a: 1\n---\nb: 2\n", 2, 1, "文件里有不止一个文档"},
        {"x:\n  <<: 5\n", 2, 7, "合并键“<<”的值必须是映射或映射的列表"},
        {"x:\n  <<: [{a: 1}, 5]\n", 2, 7, "合并键“<<”的值必须是映射或映射的列表"},
        {"a: !!int abc\n", 1, 4, "插件的读取器读不了标签为“!!int”的值“abc”"},
        {"a: !foo 1\n", 1, 4, "插件的读取器读不了标签为“!foo”"},
        {"x: &a\n  b: *a\n", 2, 6, "别名“*a”用在了它自己里面"},
        {"x: *nowhere\n", 1, 4, "别名“*nowhere”前面没有对应的锚点"},
        {laughs, 27, 12, "指向列表或映射的别名超过 50 个"},
        {"a: '" + std::string(kMostMenuCharacters, 'x') + "'\n", 1, 3145729, "文件超过 3145728 个字符"},
        {"a: " + std::string(49, '{') + std::string(49, '}') + "\nb: " + std::string(50, '{') + std::string(50, '}'), 2,
         53, "嵌套太深"},
        {"\xEF\xBB\xBFmenu-setting:\n  name: \xED\xA0\x80\n", 2, 9, "文件以 UTF-8 标记开头"},
        {"a: b\n  c: d\n", 2, 4, "YAML 语法错误:这里不能写“键: 值”"},
        {"a: b\n  \xE6\x96\x87 \x01\n", 2, 5, "YAML 语法错误:文件含有不能出现在 YAML 中的控制字符"},
    };
    for (const Case& c : cases) {
        const auto result = importMenu(c.bytes);
        ASSERT_TRUE(std::holds_alternative<NotAMenu>(result)) << testing::PrintToString(c.bytes.substr(0, 60));
        const NotAMenu& problem = std::get<NotAMenu>(result);
        EXPECT_EQ(problem.line, c.line) << c.bytes.substr(0, 60);
        EXPECT_EQ(problem.column, c.column) << c.bytes.substr(0, 60);
        EXPECT_TRUE(problem.reason.starts_with(c.reason)) << problem.reason;
    }
    EXPECT_EQ(describeNotAMenu({3, 5, "x"}), "第 3 行第 5 列:x");
}

TEST(MenuImport, ByteOrderMarkAndMenuFileNames)
{
    EXPECT_EQ(imported("\xEF\xBB\xBFmenu-setting:\r\n  name: '\xE5\x95\x86'\r\n").project.settings.title, gb("商"));
    for (const char* name : {"a.yml", "b.YAML", "c.Yml"})
        EXPECT_TRUE(isMenuFileName(name)) << name;
    for (const char* name : {"a.ini", "yml", "a.yml.bak"})
        EXPECT_FALSE(isMenuFileName(name)) << name;
}

}  // namespace
}  // namespace cofferon
