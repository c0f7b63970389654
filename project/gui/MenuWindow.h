#pragma once

// What the project and slot commands need of the window that holds the menu.
// The main window implements it; the commands know nothing else of it.

#include <functional>

#include "document/core/MenuSettings.h"
#include "document/core/WholeMenu.h"

class QWidget;

namespace cofferon {

class MenuWindow {
public:
    // What a whole menu's absent or empty text settings do to their boxes.
    enum class EmptyTexts {
        ShowHint,  // the menu is shown as it is: an absent text shows its box's hint
        KeepBox,  // the box keeps what it held, as a project file leaves out what was never set
    };

    // The one way a whole menu goes into the window: the document takes its
    // slots and the controls its settings; the rows are applied, every cell
    // gets its picture, the red frame goes on `current` (moved up into the
    // rows shown) and the preview shows that slot.
    virtual void showMenu(const WholeMenu& menu, int current, EmptyTexts emptyTexts) = 0;

    // The settings as the controls hold them now; a box showing its hint is absent.
    virtual MenuSettings menuSettings() const = 0;

    // Runs a command that changes the document as one undo step; with
    // `settingsToo` the step also keeps the menu settings (a whole menu put in).
    virtual void changeDocument(const std::function<void()>& change, bool settingsToo) = 0;

    // Gives the slot's cell the picture of its item, or none when its id is not valid.
    virtual void refreshCell(int slot) = 0;
    // Redraws the preview of the current slot.
    virtual void refreshPreview() = 0;

    // What the commands' dialogs open over.
    virtual QWidget* dialogParent() = 0;

protected:
    ~MenuWindow() = default;
};

}  // namespace cofferon
