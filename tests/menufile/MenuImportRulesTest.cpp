#include <gtest/gtest.h>

#include <map>

#include "document/core/Codec.h"
#include "menufile/core/MenuEncoding.h"
#include "menufile/core/MenuImport.h"

namespace cofferon {
namespace {

std::string utf8(const std::string& document)
{
    return gb18030ToUtf8(document).value_or("<not GB18030>");
}

// What a row looks at: a menu setting, or "slot.field".
std::string valueAt(const WholeMenu& project, const std::string& what)
{
    const MenuSettings& settings = project.settings;
    const auto shown = [](const std::optional<std::string>& text) { return text ? utf8(*text) : "<absent>"; };
    if (what == "title")
        return shown(settings.title);
    if (what == "open")
        return shown(settings.openItem);
    if (what == "clicks")
        return std::string(settings.leftClick ? "L" : "-") + (settings.rightClick ? "R" : "-");
    if (what == "rows")
        return std::to_string(settings.rows());
    static const std::map<std::string, std::string SlotRecord::*> kFields = {
        {"id", &SlotRecord::id},
        {"name", &SlotRecord::name},
        {"lore", &SlotRecord::lore},
        {"command", &SlotRecord::command},
        {"money", &SlotRecord::money},
        {"point", &SlotRecord::point},
        {"exp", &SlotRecord::exp},
        {"item", &SlotRecord::item},
        {"amount", &SlotRecord::amount},
        {"keepOpen", &SlotRecord::keepOpen},
        {"permission", &SlotRecord::permission},
        {"color", &SlotRecord::color},
        {"head", &SlotRecord::head},
    };
    const std::size_t dot = what.find('.');
    return utf8(project.slots[std::stoi(what.substr(0, dot))].*kFields.at(what.substr(dot + 1)));
}

// An item "a" on slot 1 with these keys (flow style).
std::string item(const std::string& keys)
{
    return "a: {POSITION-X: 1, POSITION-Y: 1, " + keys + "}\n";
}

// The same in block style, for block scalars.
std::string blockItem(const std::string& keys)
{
    return "a:\n  ID: 1\n  POSITION-X: 1\n  POSITION-Y: 1\n  " + keys + "\n";
}

struct Rule {
    std::string yaml;
    std::string what;
    std::string value;  // UTF-8; "<absent>" for a setting the menu leaves out
    std::string note;  // a part of one line of the list; empty: the list is empty
};

// One row a rule: what the plugin's reader sees is what the window shows, and
// what the tool cannot carry is listed with item, key and reason.
TEST(MenuImportRules, ValuesAreWhatTheReaderSeesOrListed)
{
    std::string aliases;  // scalars: the reader's limit on aliases counts only lists and mappings
    for (int i = 0; i < 60; ++i)
        aliases += "*i, ";
    const Rule rules[] = {
        // Merge keys, equal keys, keys in other cases
        {"d: &d {ID: 5, POSITION-Y: 1}\na:\n  <<: *d\n  POSITION-X: 2\n", "2.id", "5", "物品“d”没有可用的位置"},
        {"a:\n  <<: [{ID: 5}, {ID: 6, POSITION-X: 1}]\n  POSITION-Y: 1\n", "1.id", "5", ""},
        {"a:\n  <<: {ID: 5, POSITION-X: 1, POSITION-Y: 1}\n  ID: 7\n", "1.id", "7", ""},
        {item("ID: 1") + item("ID: 2"), "1.id", "2", ""},
        {item("ID: 1, NAME: x, NAME: y"), "1.name", "y", ""},
        {"menu-setting: {name: A}\nmenu-setting: {name: B}\n", "title", "B", ""},
        {"menu-setting: {name: A}\nMenu-Setting: {name: B}\n", "title", "A",
         "顶层的“Menu-Setting”与“menu-setting”重复,没有导入"},
        {item("ID: 1, NAME: x, name: y"), "1.name", "x", "物品“a”中的“name”与“NAME”重复,没有导入"},
        // Numbers as the reader reads them, in the form the export writes back
        {item("ID: 1, PRICE: 010"), "1.money", "8", ""},
        {item("ID: 1, PRICE: 0x1F"), "1.money", "31", ""},
        {item("ID: 1, PRICE: 1e3"), "1.money", "1000", ""},
        {item("ID: 1, PRICE: 1_000.5"), "1.money", "1000.5", ""},
        {item("ID: 1, PRICE: 2.50"), "1.money", "2.50", ""},
        {item("ID: 1, PRICE: -0"), "1.money", "-0", ""},
        {item("ID: 1, PRICE: abc"), "1.money", "", "物品“a”的 PRICE 的值“abc”不是数字,没有导入"},
        {item("ID: 1, PRICE: '10'"), "1.money", "", "PRICE 的值“10”不是数字"},
        {item("ID: 1, PRICE: .inf"), "1.money", "", "PRICE 的值“.inf”不是数字"},
        {item("ID: 1, POINTS: 2.5"), "1.point", "", "POINTS 的值“2.5”不是整数"},
        {item("ID: 1, LEVELS: 1:30"), "1.exp", "90", ""},
        {item("ID: 035"), "1.id", "29", ""},
        {item("ID: 35, DATA-VALUE: 14"), "1.id", "35:14", ""},
        {item("ID: 35, DATA-VALUE: -1"), "1.id", "35", "DATA-VALUE 的值“-1”小于 0,没有导入"},
        {item("ID: STONE"), "1.id", "", "物品“a”的 ID“STONE”不是物品ID,没有导入"},
        {item("ID: '35'"), "1.id", "", "ID“35”不是物品ID"},
        // Switches: a YAML boolean or false
        {item("ID: 1, KEEP-OPEN: yes"), "1.keepOpen", "true", ""},
        {item("ID: 1, KEEP-OPEN: On"), "1.keepOpen", "true", ""},
        {item("ID: 1, KEEP-OPEN: !!str true"), "1.keepOpen", "false",
         "KEEP-OPEN 的值“true”不是 true 或 false,按 false 导入"},
        {item("ID: 1, KEEP-OPEN: 1"), "1.keepOpen", "false", "KEEP-OPEN 的值“1”不是 true 或 false"},
        {item("ID: 1, KEEP-OPEN: y"), "1.keepOpen", "false", "KEEP-OPEN 的值“y”不是 true 或 false"},
        {"menu-setting: {name: x, open-with-item: {id: 1, left-click: TRUE, right-click: off}}\n", "clicks", "L-", ""},
        // Texts: numbers as Java prints them, escapes, block scalars, lists
        {"menu-setting: {name: x, open-with-item: {id: 35:14}}\n", "open", "2114",
         "open-with-item 的 id 的“35:14”读作“2114”"},
        {item("ID: 1, NAME: 010"), "1.name", "8", "物品“a”的 NAME 的“010”读作“8”"},
        {item("ID: 1, NAME: 1e3"), "1.name", "1000.0", "读作“1000.0”"},
        {item("ID: 1, NAME: \"a\\_b\""), "1.name", "a\u00a0b", ""},
        {item("ID: 1, NAME: \"a\\Nb\""), "1.name", "", "NAME 含有菜单文件无法保存的控制字符 U+0085,没有导入"},
        {item("ID: 1, NAME: \"a\\0b\""), "1.name", "", "NAME 含有菜单文件无法保存的控制字符 U+0000"},
        {item("ID: 1, LORE: [\"a\\Lb\"]"), "1.lore", "", "LORE 含有菜单文件无法保存的控制字符 U+2028"},
        {item("ID: 1, NAME: [a, b]"), "1.name", "", "物品“a”的 NAME 的值不是文字"},
        {item("ID: 1, NAME: \"x\\n\""), "1.name", "x ", "NAME 中的换行已换成空格"},
        {item("ID: &i 1, LORE: [" + aliases + "*i]"), "1.id", "1", ""},
        {item("ID: 1, NAME: 2020-01-01"), "1.name", "", "NAME 的值“2020-01-01”不是文字"},
        {item("ID: 1, NAME: ~"), "1.name", "", ""},
        {blockItem("PERMISSION: |\n    shop.use"), "1.permission", "shop.use", ""},
        {blockItem("PERMISSION: >\n    shop.\n    use\n"), "1.permission", "shop. use", ""},
        {blockItem("LORE:\n    - |\n      one\n    - two"), "1.lore", "one\r\ntwo", ""},
        {blockItem("LORE: |\n    one\n    two"), "1.lore", "one\r\ntwo", ""},
        {item("ID: 1, LORE: [one, '']"), "1.lore", "one\r\n\r\n", ""},
        {item("ID: 1, COMMAND: [\"a; b\", c]"), "1.command", "a\r\nb\r\nc", ""},
        {item("ID: 1, COMMAND: 'a; '"), "1.command", "a\r\n", ""},
        {item("ID: 1, REQUIRED-ITEM: \"x, y, 5\""), "1.item", "x, y", ""},
        {item("ID: 1, REQUIRED-ITEM: \"x, y, 5\""), "1.amount", "5", ""},
        {item("ID: 1, REQUIRED-ITEM: \"x, 5, \""), "1.amount", "5, ", ""},
        {item("ID: 1, REQUIRED-ITEM: ', 5'"), "1.item", "", "REQUIRED-ITEM 不是“物品, 数量”"},
        // Values only some items carry
        {item("ID: 1, COLOR: '1, 2, 3'"), "1.color", "", "物品“a”的 COLOR 只用于皮甲(ID 298–301),没有导入"},
        {item("ID: 299, COLOR: '1, 2, 3'"), "1.color", "1, 2, 3", ""},
        {item("ID: 397, SKULL-OWNER: Steve"), "1.head", "", "SKULL-OWNER 只用于玩家头颅(397:3)"},
        {item("ID: 397, DATA-VALUE: 3, SKULL-OWNER: Steve"), "1.head", "Steve", ""},
        // Positions and rows
        {"menu-setting: {name: x, rows: 1}\na: {ID: 1, POSITION-X: 1, POSITION-Y: 2}\n", "10.id", "",
         "物品“a”在第 2 行,菜单只有 1 行,没有导入"},
        {"a: {ID: 1, POSITION-X: 1, POSITION-Y: 0}\n", "rows", "6", "物品“a”没有可用的位置"},
        {"a: {ID: 1, POSITION-X: 10, POSITION-Y: 1}\n", "rows", "6", "物品“a”没有可用的位置"},
        {"menu-setting: {name: x, rows: 0}\n", "rows", "1", "menu-setting 的 rows“0”不在 1–6 之间,按 1 行导入"},
        {"menu-setting: {name: x, rows: 7}\n", "rows", "6", "rows“7”不在 1–6 之间,按 6 行导入"},
        {"menu-setting: {name: x, rows: many}\n", "rows", "6", "menu-setting 的 rows 的值“many”不是整数"},
        {"menu-setting: {name: x, rows: 0x3}\n", "rows", "3", ""},
        {"menu-setting: {name: x}\n", "open", "<absent>", ""},
        // Line ends of any kind
        {"menu-setting:\r  name: x\r  rows: 2\r", "rows", "2", ""},
    };
    for (const Rule& rule : rules) {
        SCOPED_TRACE(rule.yaml);
        const auto result = importMenu(rule.yaml);
        ASSERT_TRUE(std::holds_alternative<ImportedMenu>(result)) << describeNotAMenu(std::get<NotAMenu>(result));
        const ImportedMenu& menu = std::get<ImportedMenu>(result);
        EXPECT_EQ(valueAt(menu.project, rule.what), rule.value) << rule.what;
        std::string notes;
        for (const ImportNote& note : menu.notTakenOver)
            notes += note.text + "\n";
        if (rule.note.empty()) {
            EXPECT_EQ(notes, "");
        } else {
            EXPECT_NE(notes.find(rule.note), std::string::npos) << notes;
        }
    }
}

}  // namespace
}  // namespace cofferon
