#pragma once

// The keys of a menu file that the tool edits, and what each one's value
// becomes in the work: one table for reading a file and for writing it back.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "document/core/MenuSettings.h"
#include "document/core/SlotRecord.h"

namespace cofferon {

enum class Shape {
    Line,  // one line of text
    Lines,  // a list or a text, one line per entry or line
    Joined,  // the same, and "; " inside an entry starts a line too
    Decimal,  // a number, written as the number the reader reads
    Integer,
    Flag,  // "true" or "false"
    Whole,  // a whole number the import places (ID, DATA-VALUE, positions, rows)
    Map,  // the opening item's block
};

struct SlotKey {
    std::string_view name;  // as the export writes it
    Shape shape;
    std::string SlotRecord::*field;  // nullptr where the import places the value itself
    std::string_view box;  // the slot editor's box, as a refusal names it
};

inline constexpr std::size_t kSlotKeyCount = 17;

// In the order the export writes them.
inline constexpr std::array<SlotKey, kSlotKeyCount> kSlotKeys = {{
    {"ID", Shape::Whole, nullptr, "物品ID"},
    {"DATA-VALUE", Shape::Whole, nullptr, "物品ID"},
    {"POSITION-X", Shape::Whole, nullptr, "位置"},
    {"POSITION-Y", Shape::Whole, nullptr, "位置"},
    {"NAME", Shape::Line, &SlotRecord::name, "物品名称"},
    {"LORE", Shape::Lines, &SlotRecord::lore, "Lore"},
    {"COMMAND", Shape::Joined, &SlotRecord::command, "指令"},
    {"PRICE", Shape::Decimal, &SlotRecord::money, "所需金钱"},
    {"POINTS", Shape::Integer, &SlotRecord::point, "所需点券"},
    {"LEVELS", Shape::Integer, &SlotRecord::exp, "所需经验等级"},
    {"REQUIRED-ITEM", Shape::Line, nullptr, "所需物品"},
    {"KEEP-OPEN", Shape::Flag, &SlotRecord::keepOpen, "保持开启"},
    {"PERMISSION", Shape::Line, &SlotRecord::permission, "使用权限"},
    {"VIEW-PERMISSION", Shape::Line, &SlotRecord::viewPermission, "查看权限"},
    {"ENCHANTMENT", Shape::Joined, &SlotRecord::enchants, "附魔"},
    {"COLOR", Shape::Line, &SlotRecord::color, "皮甲颜色"},
    {"SKULL-OWNER", Shape::Line, &SlotRecord::head, "头颅名称"},
}};

// Indices of the keys that the import places itself.
enum SlotKeyIndex : std::size_t {
    kIdKey = 0,
    kDataKey = 1,
    kColumnKey = 2,
    kRowKey = 3,
    kRequiredItemKey = 10,
    kKeepOpenKey = 11,
    kColourKey = 15,
    kSkullKey = 16,
};

struct SettingKey {
    std::string_view name;
    Shape shape;
    std::optional<std::string> MenuSettings::*text;
    bool MenuSettings::*flag;
    std::string_view box;  // the main window's control
};

inline constexpr std::string_view kSettingsBlock = "menu-setting";

inline constexpr std::array<SettingKey, 4> kSettingKeys = {{
    {"name", Shape::Line, &MenuSettings::title, nullptr, "菜单标题"},
    {"rows", Shape::Whole, nullptr, nullptr, "行数"},
    {"command", Shape::Line, &MenuSettings::menuCommand, nullptr, "菜单指令"},
    {"open-with-item", Shape::Map, nullptr, nullptr, "物品ID"},
}};

enum SettingKeyIndex : std::size_t { kTitleKey = 0, kRowsKey = 1, kCommandKey = 2, kOpeningItemKey = 3 };

inline constexpr std::array<SettingKey, 3> kOpeningKeys = {{
    {"id", Shape::Line, &MenuSettings::openItem, nullptr, "物品ID"},
    {"left-click", Shape::Flag, nullptr, &MenuSettings::leftClick, "左键开启"},
    {"right-click", Shape::Flag, nullptr, &MenuSettings::rightClick, "右键开启"},
}};

}  // namespace cofferon
