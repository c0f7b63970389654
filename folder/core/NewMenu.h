#pragma once

// A new menu file in a menus folder, and the rules for a menu's file name,
// which a rename follows too.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "folder/core/FolderWrites.h"
#include "folder/core/MenuFolder.h"
#include "menufile/core/MenuYamlWriter.h"

namespace cofferon {

// Why `name` (UTF-8) cannot name a menu file of the folder, or nullopt. It
// must end in ".yml" or ".yaml", hold no "/", no blank and no control
// character (a link's command ends at a blank), and no menu of the folder
// may have it in any case, as the plugin finds menus; the menu `renamed`
// (a path of the folder) does not count, so its name may change case.
std::optional<std::string> menuNameProblem(const MenuFolder& folder, std::string_view name,
                                           std::string_view renamed = {});

// The file of an empty menu with a title (a document text) and 1 to 6
// rows, as the tool writes menus, in UTF-8.
std::variant<std::string, Refusal> newMenuBytes(const std::string& title, int rows);

// Creates the file at `path` (relative to `folder`, "/" between folders)
// whole, never in place of a file or folder that has the name by then;
// nullopt, or why not (UTF-8).
std::optional<std::string> createMenuFile(const std::filesystem::path& folder, const std::string& path,
                                          std::string_view bytes, const FolderWrites& writes = systemFolderWrites());

}  // namespace cofferon
