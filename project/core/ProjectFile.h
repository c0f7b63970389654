#pragma once

// The project file: the menu-level settings in section "Setting" and one
// section per slot with a valid item ID, named by its slot number. Texts are
// the document's bytes; the multi-line fields keep their "\r\n" line breaks
// as the three characters "&^p" so that each value stays on one line.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "document/core/AtomicFile.h"
#include "document/core/MenuSettings.h"
#include "document/core/SlotRecord.h"
#include "document/core/WholeMenu.h"
#include "project/core/IniFile.h"

namespace cofferon {

// The project file keeps exactly what the main window's controls hold, and
// the slots beside them: a whole menu.
using ProjectSettings = MenuSettings;
using ProjectData = WholeMenu;

// The whole file, CR LF lines: "Setting" first, then the slots in ascending
// order, every one of their 15 keys written even when empty. An absent text
// setting writes no key.
std::string projectText(const ProjectSettings& settings, const SlotTable& slots);

// Replaces the file whole (temporary file renamed over it), so a failed save
// keeps the old project. nullopt on success. `write` is the test seam of
// writeFileAtomically.
std::optional<FileError> writeProject(const std::string& path, const ProjectSettings& settings, const SlotTable& slots,
                                      const WriteFunction& write = {});

// A text setting whose value is empty comes back absent: loading leaves that
// box as it was. "row" is clamped into 0..5. A slot section counts only when
// its "id" is a valid item ID; its other values are taken as they are.
ProjectData readProject(const IniFile& file);

// The slot sections whose "id" is not a valid item ID, as they stand (every
// other slot empty): what a load leaves out.
SlotTable slotsWithoutValidId(const IniFile& file);

// A file that does not exist reads as an empty project; one that exists and
// cannot be read gives the error.
std::variant<ProjectData, FileError> readProjectFile(const std::string& path);

// Appends ".ini" unless the name already ends in exactly ".ini".
std::string iniFileName(std::string_view chosen);

}  // namespace cofferon
