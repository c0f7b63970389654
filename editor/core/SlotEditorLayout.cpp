#include "editor/core/SlotEditorLayout.h"

#include <array>

#include "editor/core/InsertMenus.h"

namespace cofferon::layout {

namespace {

constexpr unsigned kHintEvents = GotFocus | LostFocus;
constexpr unsigned kInsertEvents = GotFocus | RightButtonPressed;

// clang-format off
constexpr std::array<Control, 26> kSlotEditorControls = {{
    {.name = "物品名称", .kind = Kind::EditBox, .left = 8, .top = 8, .width = 192, .height = 19,
     .events = kHintEvents | RightButtonPressed, .hint = "物品名称"},
    {.name = "物品ID", .kind = Kind::EditBox, .left = 8, .top = 32, .width = 168, .height = 19,
     .events = kHintEvents | CharacterTyped, .hint = "物品ID 如:1:1", .filter = CharacterFilter::ItemId},
    {.name = "按钮1", .kind = Kind::Button, .caption = "+", .left = 176, .top = 32, .width = 24, .height = 19, .events = Clicked},
    {.name = "扣除金钱", .kind = Kind::IntegerEdit, .left = 8, .top = 56, .width = 192, .height = 19,
     .events = kHintEvents, .hint = "所需金钱(可留空)", .filter = CharacterFilter::Integer},
    {.name = "扣除点券", .kind = Kind::IntegerEdit, .left = 8, .top = 80, .width = 192, .height = 19,
     .events = kHintEvents, .hint = "所需点券(可留空)", .filter = CharacterFilter::Integer},
    {.name = "扣除经验", .kind = Kind::IntegerEdit, .left = 8, .top = 104, .width = 192, .height = 19,
     .events = kHintEvents, .hint = "所需经验等级(可留空)", .filter = CharacterFilter::Integer},
    {.name = "扣除物品", .kind = Kind::EditBox, .left = 8, .top = 128, .width = 112, .height = 19,
     .events = kHintEvents | CharacterTyped, .hint = "所需物品(可留空)", .filter = CharacterFilter::ItemId},
    {.name = "物品数量", .kind = Kind::IntegerEdit, .left = 120, .top = 128, .width = 80, .height = 19,
     .events = kHintEvents, .hint = "数量(可留空)", .filter = CharacterFilter::Integer},
    {.name = "使用权限", .kind = Kind::EditBox, .left = 8, .top = 152, .width = 192, .height = 19,
     .events = kHintEvents, .hint = "使用权限(可留空)"},
    {.name = "查看权限", .kind = Kind::EditBox, .left = 8, .top = 176, .width = 192, .height = 19,
     .events = kHintEvents, .hint = "查看权限(可留空)"},
    {.name = "头颅名称", .kind = Kind::EditBox, .left = 8, .top = 200, .width = 192, .height = 19,
     .events = kHintEvents, .hint = "头颅名称(可留空)"},
    {.name = "保持开启", .kind = Kind::CheckBox, .caption = "保持开启", .left = 8, .top = 224, .width = 72, .height = 16},
    {.name = "皮甲颜色", .kind = Kind::CheckBox, .caption = "皮甲颜色", .left = 80, .top = 224, .width = 72, .height = 16},
    {.name = "颜色选择", .kind = Kind::ColourPicker, .left = 152, .top = 224, .width = 120, .height = 16},
    {.name = "标签1", .kind = Kind::Label, .caption = "Lore", .left = 208, .top = 8, .width = 24, .height = 16},
    {.name = "Lore", .kind = Kind::MultiLineEdit, .left = 208, .top = 32, .width = 136, .height = 168, .events = kInsertEvents},
    {.name = "标签2", .kind = Kind::Label, .caption = "指令", .left = 352, .top = 8, .width = 40, .height = 16},
    {.name = "菜单按钮", .kind = Kind::Button, .caption = "+", .left = 440, .top = 8, .width = 48, .height = 16, .events = Clicked},
    {.name = "指令", .kind = Kind::MultiLineEdit, .left = 352, .top = 32, .width = 136, .height = 168, .events = kInsertEvents},
    {.name = "标签3", .kind = Kind::Label, .caption = "附魔", .left = 496, .top = 8, .width = 40, .height = 16},
    {.name = "按钮2", .kind = Kind::Button, .caption = "+", .left = 584, .top = 8, .width = 48, .height = 16, .events = Clicked},
    {.name = "附魔", .kind = Kind::MultiLineEdit, .left = 496, .top = 32, .width = 136, .height = 168},
    {.name = "标签4", .kind = Kind::Label, .caption = "右击“物品名称”、“Lore”、“指令”\r\n可插入特殊项目",
     .left = 272, .top = 216, .width = 224, .height = 24},
    {.name = "保存", .kind = Kind::Button, .caption = "保存", .left = 496, .top = 208, .width = 64, .height = 32, .events = Clicked},
    {.name = "取消", .kind = Kind::Button, .caption = "取消", .left = 568, .top = 208, .width = 64, .height = 32, .events = Clicked},
    {.name = "超级菜单", .kind = Kind::MenuStyle},
}};

// clang-format on

constexpr Window kSlotEditorWindow = {
    .name = "选项属性",
    .title = "    选项属性",
    .outerWidth = 648,
    .outerHeight = 284,
    .frame = Frame::ToolFixed,
    .initialFocus = "物品名称",
    .controls = kSlotEditorControls,
};

}  // namespace

const Window& slotEditorLayout()
{
    static const Window window = [] {
        Window built = kSlotEditorWindow;
        built.menus = slotEditorMenus();
        return built;
    }();
    return window;
}

}  // namespace cofferon::layout
