#pragma once

// The item picker's window as a layout table.

#include "ui/core/Layout.h"

namespace cofferon::layout {

const Window& itemPickerLayout();

}  // namespace cofferon::layout
