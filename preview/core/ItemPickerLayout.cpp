#include "preview/core/ItemPickerLayout.h"

#include <array>

#include "preview/core/IconListing.h"

namespace cofferon::layout {

namespace {

// clang-format off
// The search box takes the top of the frame and the bar, which start lower
// by as much, so the window keeps its size.
constexpr std::array<Control, 5> kItemPickerControls = {{
    {.name = "搜索", .kind = Kind::EditBox, .left = 8, .top = 8, .width = 362, .height = 20, .hint = "搜索物品ID,如 35 或 35:1"},
    {.name = "外框", .kind = Kind::PictureBox, .left = 8, .top = 32, .width = 330, .height = kPickerViewportHeight, .bordered = true},
    {.name = "内框", .kind = Kind::PictureBox, .left = -1, .top = -1, .width = 336, .height = kPickerViewportHeight, .parent = "外框"},
    {.name = "Box", .kind = Kind::PictureBox, .left = 0, .top = 0, .width = 32, .height = 32, .events = DoubleClicked,
     .parent = "内框", .background = 0x808080, .hidden = true},
    {.name = "滚动条", .kind = Kind::VScrollBar, .left = 338, .top = 32, .width = 32, .height = kPickerViewportHeight,
     .events = PositionChanged, .scrollMaximum = 10},
}};
// clang-format on

constexpr Window kItemPickerWindow = {
    .name = "选择物品",
    .title = "    选择物品",
    .outerWidth = 385,
    .outerHeight = 507,
    .frame = Frame::ToolFixed,
    .controls = kItemPickerControls,
};

}  // namespace

const Window& itemPickerLayout()
{
    return kItemPickerWindow;
}

}  // namespace cofferon::layout
