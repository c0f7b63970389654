#pragma once

// Builds a window's widgets from its layout table. Every widget and popup
// gets its resource name as object name, so handlers and tests find it with
// findChild<...>(name).

#include <QIcon>
#include <QString>
#include <QWidget>

#include <string_view>

#include "ui/core/Layout.h"

class QColor;
class QMenu;

namespace cofferon {

// Title, frame flags and the fixed client size.
void applyWindowFrame(QWidget* window, const layout::Window& layout);

// Creates every visual control of the table inside `window`, hints and
// character filters included.
void buildControls(QWidget* window, const layout::Window& layout);

// The picture of a menu entry's icon key; the window that shows icons in its
// menus brings its own pictures.
using MenuIconSource = QIcon (*)(std::string_view key);

// A popup menu owned by `owner`; each entry is an action named after its
// caption, with its icon from `icons` where the menu shows icons.
QMenu* buildMenu(QWidget* owner, const layout::Menu& menu, MenuIconSource icons = nullptr);

// Builds every popup of the table.
void buildMenus(QWidget* owner, const layout::Window& layout, MenuIconSource icons = nullptr);

// An action for each key command of the table, added to `window`.
void buildShortcuts(QWidget* window, const layout::Window& layout);

QColor layoutColour(std::uint32_t rgb);

// A control the window's table builds. Its absence is a broken table, so the
// program stops rather than run on without it.
template <typename T>
T* builtControl(const QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromUtf8(name));
    if (!found)
        qFatal("%s has no control %s", qPrintable(window->objectName()), name);
    return found;
}

}  // namespace cofferon
