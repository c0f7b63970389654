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
};

inline constexpr std::size_t kSlotKeyCount = 17;

// In the order the export writes them.
inline constexpr std::array<SlotKey, kSlotKeyCount> kSlotKeys = {{
    {"ID", Shape::Whole, nullptr},
    {"DATA-VALUE", Shape::Whole, nullptr},
    {"POSITION-X", Shape::Whole, nullptr},
    {"POSITION-Y", Shape::Whole, nullptr},
    {"NAME", Shape::Line, &SlotRecord::name},
    {"LORE", Shape::Lines, &SlotRecord::lore},
    {"COMMAND", Shape::Joined, &SlotRecord::command},
    {"PRICE", Shape::Decimal, &SlotRecord::money},
    {"POINTS", Shape::Integer, &SlotRecord::point},
    {"LEVELS", Shape::Integer, &SlotRecord::exp},
    {"REQUIRED-ITEM", Shape::Line, nullptr},
    {"KEEP-OPEN", Shape::Flag, &SlotRecord::keepOpen},
    {"PERMISSION", Shape::Line, &SlotRecord::permission},
    {"VIEW-PERMISSION", Shape::Line, &SlotRecord::viewPermission},
    {"ENCHANTMENT", Shape::Joined, &SlotRecord::enchants},
    {"COLOR", Shape::Line, &SlotRecord::color},
    {"SKULL-OWNER", Shape::Line, &SlotRecord::head},
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
};

inline constexpr std::string_view kSettingsBlock = "menu-setting";

inline constexpr std::array<SettingKey, 4> kSettingKeys = {{
    {"name", Shape::Line, &MenuSettings::title, nullptr},
    {"rows", Shape::Whole, nullptr, nullptr},
    {"command", Shape::Line, &MenuSettings::menuCommand, nullptr},
    {"open-with-item", Shape::Map, nullptr, nullptr},
}};

enum SettingKeyIndex : std::size_t { kTitleKey = 0, kRowsKey = 1, kCommandKey = 2, kOpeningItemKey = 3 };

inline constexpr std::array<SettingKey, 3> kOpeningKeys = {{
    {"id", Shape::Line, &MenuSettings::openItem, nullptr},
    {"left-click", Shape::Flag, nullptr, &MenuSettings::leftClick},
    {"right-click", Shape::Flag, nullptr, &MenuSettings::rightClick},
}};

}  // namespace cofferon
