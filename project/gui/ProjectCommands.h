#pragma once

// The project and slot commands of the main window.

#include "app/core/AtomicFile.h"

namespace cofferon {

class Dialogs;
class MenuWindow;
struct Document;

// "保存配置": asks for a name (".ini" added unless it ends so) and replaces
// the file whole; a failed write is reported and keeps the old file.
void saveProjectCommand(MenuWindow& window, Document& document, Dialogs& dialogs, const WriteFunction& write = {});

// "读取配置": asks for a project file or a menu file and replaces the work
// with it; a menu file is imported, and what it could not take over is
// listed. A file that cannot be read, or is no menu, is reported and changes
// nothing.
void loadProjectCommand(MenuWindow& window, Dialogs& dialogs);

// The slot menu's "复制" and "粘贴", and "删除图标": whole records, on the current slot.
void copySlotCommand(Document& document);
void pasteSlotCommand(MenuWindow& window, Document& document);
void emptySlotCommand(MenuWindow& window, Document& document);

}  // namespace cofferon
