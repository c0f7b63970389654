#pragma once

// What the slot editor's three insert menus write, entry by entry. The menus
// themselves are built from these tables, so a caption and its action can
// never drift apart. Texts are UTF-8 program texts; the inserted pieces are
// ASCII.

#include <span>
#include <string_view>

#include "ui/core/Layout.h"

namespace cofferon {

// An entry of "指令列表": asks for a value and appends "\r\n" + prefix + value
// to the command box.
struct CommandAction {
    std::string_view caption;
    std::string_view prompt;
    bool integerOnly;
    std::string_view prefix;
};

// An entry of "附魔列表": appends "\r\n" + name, and ", " + level when the
// enchantment has more than one level.
struct Enchantment {
    std::string_view caption;
    std::string_view name;
    int maxLevel;
};

struct EnchantmentGroup {
    std::string_view caption;  // the submenu; empty for the direct entry
    std::string_view icon;
    std::span<const Enchantment> enchantments;
};

// An entry of "插入项目": a placeholder goes in at the caret; a code is pasted
// over the selection.
struct InsertPiece {
    std::string_view caption;
    std::string_view text;
    std::string_view icon = {};
};

std::span<const CommandAction> commandActions();
std::span<const EnchantmentGroup> enchantmentGroups();
std::span<const InsertPiece> placeholders();
std::span<const InsertPiece> colourCodes();
std::span<const InsertPiece> effectCodes();

// The popups of the slot editor, as layout entries.
std::span<const layout::Menu> slotEditorMenus();

// nullptr when no entry has that caption.
const CommandAction* findCommandAction(std::string_view caption);
const Enchantment* findEnchantment(std::string_view caption);
const InsertPiece* findPlaceholder(std::string_view caption);
const InsertPiece* findFormatCode(std::string_view caption);

// The caption of the parameter input boxes.
inline constexpr std::string_view kParameterCaption = "参数";
inline constexpr std::string_view kLevelPrompt = "输入附魔等级";

}  // namespace cofferon
