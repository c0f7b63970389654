#include "ui/core/Layout.h"

#include <algorithm>
#include <array>

namespace cofferon::layout {

namespace {

// clang-format off
constexpr std::array<std::string_view, 6> kRowItems = {"1行", "2行", "3行", "4行", "5行", "6行"};

constexpr std::array<std::string_view, 2> kMenuColumns = {"菜单", "标题"};

constexpr std::array<Control, 23> kMainControls = {{
    {.name = "读取配置", .kind = Kind::Button, .caption = "读取配置", .left = 16, .top = 8, .width = 72, .height = 24, .events = Clicked},
    {.name = "保存配置", .kind = Kind::Button, .caption = "保存配置", .left = 88, .top = 8, .width = 72, .height = 24, .events = Clicked},
    {.name = "生成yml", .kind = Kind::Button, .caption = "保存为yml", .left = 160, .top = 8, .width = 72, .height = 24, .events = Clicked},
    {.name = "清空数据", .kind = Kind::Button, .caption = "清空数据", .left = 272, .top = 8, .width = 64, .height = 24, .events = Clicked},
    {.name = "删除图标", .kind = Kind::Button, .caption = "删除图标", .left = 336, .top = 8, .width = 64, .height = 24, .events = Clicked},
    {.name = "打开文件夹", .kind = Kind::Button, .caption = "打开文件夹", .left = 424, .top = 8, .width = 88, .height = 24, .events = Clicked},
    {.name = "分组框1", .kind = Kind::GroupBox, .caption = "点击选择 双击编辑 右键菜单", .left = 16, .top = 40, .width = 320, .height = 226},
    // The cell template comes before the frame so that the frame stays above the cells.
    {.name = "Box", .kind = Kind::PictureBox, .left = 8, .top = 16, .width = 32, .height = 32,
     .events = LeftButtonPressed | RightButtonPressed | DoubleClicked, .parent = "分组框1", .background = 0x808080, .hidden = true},
    {.name = "Redbox", .kind = Kind::PictureButton, .left = 8, .top = 16, .width = 32, .height = 32, .parent = "分组框1"},
    // Shown under the last row shown while hidden rows hold slots (here: under the fifth).
    {.name = "隐藏物品", .kind = Kind::Label, .left = 8, .top = 186, .width = 306, .height = 16, .parent = "分组框1", .hidden = true},
    {.name = "效果预览", .kind = Kind::RichText, .left = 344, .top = 48, .width = 168, .height = 240, .background = 0x666666},
    {.name = "菜单标题", .kind = Kind::EditBox, .left = 16, .top = 272, .width = 200, .height = 19,
     .events = GotFocus | LostFocus, .hint = "菜单标题"},
    {.name = "行数", .kind = Kind::DropDownList, .left = 216, .top = 272, .width = 120, .height = 20,
     .events = ItemSelected, .items = kRowItems, .selectedItem = 5},
    {.name = "物品ID", .kind = Kind::EditBox, .left = 16, .top = 296, .width = 144, .height = 19,
     .events = GotFocus | LostFocus | CharacterTyped, .hint = "物品ID 如:1:1", .filter = CharacterFilter::ItemId},
    {.name = "菜单指令", .kind = Kind::EditBox, .left = 16, .top = 320, .width = 144, .height = 19,
     .events = GotFocus | LostFocus | CharacterTyped, .hint = "菜单指令(无需加/)", .filter = CharacterFilter::Command},
    {.name = "左键开启", .kind = Kind::CheckBox, .caption = "左键开启", .left = 176, .top = 320, .width = 72, .height = 16},
    {.name = "右键开启", .kind = Kind::CheckBox, .caption = "右键开启", .left = 248, .top = 320, .width = 72, .height = 16},
    // The menus folder beside the grid, shown while a folder is open.
    {.name = "文件夹面板", .kind = Kind::GroupBox, .caption = "菜单文件夹", .left = 520, .top = 8, .width = 288, .height = 336,
     .hidden = true},
    {.name = "菜单列表", .kind = Kind::TreeList, .left = 8, .top = 20, .width = 272, .height = 184,
     .events = Clicked | RightButtonPressed, .parent = "文件夹面板", .items = kMenuColumns},
    {.name = "问题列表", .kind = Kind::ListBox, .left = 8, .top = 208, .width = 272, .height = 120,
     .events = DoubleClicked, .parent = "文件夹面板"},
    {.name = "输出对话框", .kind = Kind::SaveFileDialog, .caption = "yaml(*.yml)|*.yml"},
    {.name = "文件对话框", .kind = Kind::FileDialog, .caption = "配置文件(*.ini)|*.ini"},
    {.name = "超级菜单", .kind = Kind::MenuStyle},
}};

constexpr std::array<MenuEntry, 2> kOutputFormatEntries = {{{"UTF-8"}, {"GB2312"}}};
constexpr std::array<MenuEntry, 2> kSlotMenuEntries = {{{"复制"}, {"粘贴"}}};
constexpr std::array<MenuEntry, 3> kFolderMenuEntries = {{{"新建菜单"}, {"重命名菜单"}, {"全部保存"}}};
constexpr std::array<Menu, 3> kMainMenus = {{
    {"输出格式", kOutputFormatEntries},
    {"复制粘贴", kSlotMenuEntries},
    {"文件夹菜单", kFolderMenuEntries},
}};

constexpr std::array<std::string_view, 1> kUndoKeys = {"Ctrl+Z"};
constexpr std::array<std::string_view, 2> kRedoKeys = {"Ctrl+Y", "Ctrl+Shift+Z"};
constexpr std::array<std::string_view, 1> kSaveKeys = {"Ctrl+S"};
constexpr std::array<std::string_view, 1> kSaveAsKeys = {"Ctrl+Shift+S"};
constexpr std::array<std::string_view, 1> kOpenKeys = {"Ctrl+O"};
constexpr std::array<std::string_view, 1> kOpenFolderKeys = {"Ctrl+Shift+O"};
constexpr std::array<std::string_view, 1> kSaveAllKeys = {"Ctrl+Alt+S"};
constexpr std::array<std::string_view, 1> kRenameKeys = {"F2"};
constexpr std::array<Shortcut, 8> kMainShortcuts = {{
    {"撤销", kUndoKeys},
    {"重做", kRedoKeys},
    {"保存", kSaveKeys},
    {"另存为", kSaveAsKeys},
    {"打开", kOpenKeys},
    {"打开文件夹键", kOpenFolderKeys},
    {"全部保存键", kSaveAllKeys},
    {"重命名键", kRenameKeys},
}};

constexpr Window kMainWindow = {
    .name = "主窗口",
    .title = "Cofferon 配置生成器",
    .outerWidth = 533,
    .outerHeight = 384,
    .frame = Frame::NormalFixed,
    .initialFocus = "读取配置",
    .controls = kMainControls,
    .menus = kMainMenus,
    .shortcuts = kMainShortcuts,
};

}  // namespace

const Window& mainWindowLayout()
{
    return kMainWindow;
}

const Control* findControl(const Window& window, std::string_view name)
{
    const auto found = std::find_if(window.controls.begin(), window.controls.end(),
                                    [&](const Control& control) { return control.name == name; });
    return found == window.controls.end() ? nullptr : &*found;
}

Size clientSize(const Window& window, bool withHidden)
{
    // A fixed frame of a few pixels on each side and a title bar; tool
    // windows have a narrower one.
    const int frameWidth = 8;
    const int frameHeight = window.frame == Frame::ToolFixed ? 27 : 31;
    Size size{window.outerWidth - frameWidth, window.outerHeight - frameHeight};
    for (const Control& control : window.controls) {
        if (!control.parent.empty() || control.width == 0 || (control.hidden && !withHidden))
            continue;
        size.width = std::max(size.width, control.left + control.width + 4);
        size.height = std::max(size.height, control.top + control.height + 4);
    }
    return size;
}

}  // namespace cofferon::layout
