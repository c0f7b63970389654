#pragma once

// The slot editor's window as a layout table, its popup menus included.

#include "ui/core/Layout.h"

namespace cofferon::layout {

const Window& slotEditorLayout();

}  // namespace cofferon::layout
