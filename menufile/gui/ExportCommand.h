#pragma once

#include <optional>
#include <string>

#include "document/core/AtomicFile.h"
#include "document/core/MenuSettings.h"
#include "document/core/SlotRecord.h"
#include "menufile/core/MenuEncoding.h"

class QWidget;

namespace cofferon {

class Dialogs;

// The export command behind the "UTF-8" and "GB2312" popup entries: asks for
// a file name, then writes it as exportMenuTo does. The file written, or
// nullopt when nothing was. `write` is the test seam of the file write.
std::optional<std::string> exportMenu(QWidget* parent, Dialogs& dialogs, const MenuSettings& settings,
                                      const SlotTable& slots, OutputEncoding encoding, const WriteFunction& write = {});

// Writes the menu file `fileName` exactly as named: builds and encodes the
// menu (a refusal is shown and nothing is written), lists what the file
// leaves out of the work in one "提示" box to confirm, writes the file and
// tells the user how it went. True when the file was written.
bool exportMenuTo(QWidget* parent, Dialogs& dialogs, const MenuSettings& settings, const SlotTable& slots,
                  OutputEncoding encoding, const std::string& fileName, const WriteFunction& write = {});

}  // namespace cofferon
