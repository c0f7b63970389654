#include "preview/core/ItemPickerLayout.h"

#include <array>

namespace cofferon::layout {

namespace {

// clang-format off
constexpr std::array<Control, 4> kItemPickerControls = {{
    {.name = "外框", .kind = Kind::PictureBox, .left = 8, .top = 8, .width = 330, .height = 464, .bordered = true},
    {.name = "内框", .kind = Kind::PictureBox, .left = -1, .top = -1, .width = 336, .height = 464, .parent = "外框"},
    {.name = "Box", .kind = Kind::PictureBox, .left = 0, .top = 0, .width = 32, .height = 32, .events = DoubleClicked,
     .parent = "内框", .background = 0x808080, .hidden = true},
    {.name = "滚动条", .kind = Kind::VScrollBar, .left = 338, .top = 8, .width = 32, .height = 464,
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
