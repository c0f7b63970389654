#pragma once

// The project and slot commands of the main window.

#include <memory>
#include <optional>
#include <string>

#include "document/core/AtomicFile.h"
#include "menufile/core/MenuImport.h"
#include "project/core/CurrentFile.h"

namespace cofferon {

class Dialogs;
class MenuWindow;
struct Document;

// "保存配置": asks for a name (".ini" added unless it ends so), then writes
// it as saveProjectTo does. The file written, or nullopt.
std::optional<CurrentFile> saveProjectCommand(MenuWindow& window, Document& document, Dialogs& dialogs,
                                              const WriteFunction& write = {});

// Replaces the project file `path` whole; a failed write is reported and
// keeps the old file. True when it was written.
bool saveProjectTo(MenuWindow& window, Document& document, Dialogs& dialogs, const std::string& path,
                   const WriteFunction& write = {});

// A file the work now comes from.
struct OpenedFile {
    CurrentFile file;
    std::shared_ptr<const ImportedMenu> menu;  // a menu file as read, with its text
};

// "读取配置": asks for a project file or a menu file, then opens it as
// openFileCommand does. The file now shown, or nullopt when nothing changed.
std::optional<OpenedFile> loadProjectCommand(MenuWindow& window, Dialogs& dialogs);

// Replaces the work with the project or menu file `path`: a menu file is
// imported, and what it could not take over is listed. A file that cannot
// be read, or is no menu, is reported and changes nothing; so is a file that
// does not exist when `missingIsError`, and else it opens as an empty project.
// Without `report`, what a menu file could not take over is not listed (the
// folder's problems list it).
std::optional<OpenedFile> openFileCommand(MenuWindow& window, Dialogs& dialogs, const std::string& path,
                                          bool missingIsError, bool report = true);

// The slot menu's "复制" and "粘贴", and "删除图标": whole records, on the current slot.
void copySlotCommand(Document& document);
void pasteSlotCommand(MenuWindow& window, Document& document);
void emptySlotCommand(MenuWindow& window, Document& document);

}  // namespace cofferon
