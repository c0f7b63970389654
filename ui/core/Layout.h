#pragma once

// Window layouts as data. Each window is one table of controls (resource
// name, kind, caption, geometry, events); the Qt layer builds the widgets
// from it and gives every widget its resource name as object name.
// Texts here are program texts in UTF-8, not document texts.

#include <cstdint>
#include <span>
#include <string_view>

namespace cofferon::layout {

enum class Kind {
    Button,
    EditBox,
    MultiLineEdit,
    IntegerEdit,
    CheckBox,
    DropDownList,
    Label,
    GroupBox,
    PictureBox,
    PictureButton,
    RichText,
    VScrollBar,
    ColourPicker,
    TreeList,  // a tree of items in columns
    ListBox,  // a list of lines
    // Non-visual entries: nothing is built for them; their caption holds the
    // file filter text ("description|pattern").
    SaveFileDialog,
    FileDialog,
    MenuStyle,
};

// Events a control's handlers are bound to; a control without any has no
// behaviour beyond the toolkit's.
enum Event : unsigned {
    NoEvent = 0,
    Clicked = 1u << 0,
    ItemSelected = 1u << 1,
    PositionChanged = 1u << 2,
    GotFocus = 1u << 3,
    LostFocus = 1u << 4,
    CharacterTyped = 1u << 5,
    LeftButtonPressed = 1u << 6,
    RightButtonPressed = 1u << 7,
    DoubleClicked = 1u << 8,
};

// Which characters a box accepts when typed.
// Integer takes the digits and "-" among printable characters and lets
// control keys through.
enum class CharacterFilter { None, ItemId, Command, Integer };

inline constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;
inline constexpr std::uint32_t kHintColour = 0x808080u;

struct Control {
    std::string_view name = {};
    Kind kind = Kind::Label;
    std::string_view caption = {};  // caption, initial content, or a dialog's filter
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    unsigned events = NoEvent;
    std::string_view parent = {};  // empty: the window itself
    std::string_view hint = {};  // grey hint shown while the box holds no value
    CharacterFilter filter = CharacterFilter::None;
    std::span<const std::string_view> items = {};  // drop-down list entries
    int selectedItem = -1;
    std::uint32_t background = kNoColour;  // 0xRRGGBB
    bool hidden = false;
    bool bordered = false;  // a one-pixel line border
    int scrollMaximum = 0;  // scroll bars: position 0, minimum 0, page and line step 1
};

struct MenuEntry {
    std::string_view caption = {};
    std::span<const MenuEntry> submenu = {};
    std::string_view icon = {};  // a key the Qt layer turns into a picture; empty: none
};

struct Menu {
    std::string_view name = {};  // the popup's resource name and title
    std::span<const MenuEntry> entries = {};
    bool icons = false;
};

// A key command of the window: an action named `name` that its keys (the
// toolkit's portable key names, such as "Ctrl+Shift+S") trigger anywhere in
// the window.
struct Shortcut {
    std::string_view name = {};
    std::span<const std::string_view> keys = {};
};

enum class Frame { NormalFixed, ToolFixed };

struct Window {
    std::string_view name = {};
    std::string_view title = {};
    int outerWidth = 0;  // frame and title bar included
    int outerHeight = 0;
    Frame frame = Frame::NormalFixed;
    std::string_view initialFocus = {};  // empty: no control takes the focus
    std::span<const Control> controls = {};
    std::span<const Menu> menus = {};
    std::span<const Shortcut> shortcuts = {};
};

const Window& mainWindowLayout();

// nullptr when the window has no control of that name.
const Control* findControl(const Window& window, std::string_view name);

// The client area: the outer size less a typical frame, never smaller than
// what the controls shown at the start need, or, `withHidden`, every control.
struct Size {
    int width = 0;
    int height = 0;
};
Size clientSize(const Window& window, bool withHidden = false);

}  // namespace cofferon::layout
