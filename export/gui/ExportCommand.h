#pragma once

#include "app/core/AtomicFile.h"
#include "app/core/MenuSettings.h"
#include "app/core/SlotRecord.h"
#include "export/core/MenuEncoding.h"

class QWidget;

namespace cofferon {

class Dialogs;

// The export command behind the "UTF-8" and "GB2312" popup entries: asks for
// a file name, builds the menu, encodes and writes it, and tells the user
// how it went. `write` is the test seam of the file write.
void exportMenu(QWidget* parent, Dialogs& dialogs, const MenuSettings& settings, const SlotTable& slots,
                OutputEncoding encoding, const WriteFunction& write = {});

}  // namespace cofferon
