#pragma once

// Renaming a menu of a folder together with every link to it: each
// "open:" and "cofferons open" that names it, in every menu, is rewritten
// onto its file's own text, and the files are written all or none.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "document/core/WholeMenu.h"
#include "folder/core/FolderWrites.h"
#include "folder/core/MenuFolder.h"
#include "menufile/core/MenuImport.h"
#include "menufile/core/MenuOnto.h"

namespace cofferon {

// A menu of the folder as the window holds it.
struct HeldMenu {
    std::string path;  // relative to the folder, "/" between folders
    std::shared_ptr<const ImportedMenu> read;  // the file as importMenuText read it; null for a file that is no menu
    // As it stands in the window, unsaved changes and all; nullopt when it
    // is the menu as read (menuToEdit).
    std::optional<WholeMenu> shown;
};

// A menu whose links the rename rewrites.
struct LinkRewrite {
    std::string path;  // as held: the renamed menu itself keeps its old path here
    // The menu as the window holds it, its links renamed and nothing else;
    // its records' origins are those of the file written (where it is),
    // and the window's history takes `written->blockNumbers`.
    WholeMenu shown;
    // The file's own menu, its links renamed, written onto its text; its
    // unsaved changes stay the window's. nullopt where only a change not
    // yet saved links to the menu.
    std::optional<MenuOnto> written;
};

struct RenamePlan {
    std::string from;  // the path renamed
    std::string to;  // beside it, with the new name
    std::vector<LinkRewrite> rewrites;  // in the order of their paths

    // The files the rename writes besides renaming `from`, for the question.
    std::vector<std::string> changedFiles() const;
};

struct RenameRefusal {
    std::string path;  // the file it is about
    std::string message;  // UTF-8
};

// The plan for renaming the menu `path` to the file name `newName`
// (UTF-8), or why not: a name menuNameProblem refuses, or a file the
// writer cannot write onto. A link names the menu as the plugin finds it
// (MenuFolder::linkedMenu); menus not in `menus` are not looked at.
std::variant<RenamePlan, RenameRefusal> planMenuRename(const MenuFolder& folder, const std::vector<HeldMenu>& menus,
                                                       const std::string& path, std::string_view newName);

struct RenameFailure {
    std::string path;  // the file that failed
    std::string message;  // UTF-8
    // What was changed all the same: only when moving the files into place
    // failed after the rename, the new path first.
    std::vector<std::string> changed;
};

// Carries the plan out in `folder`: every new content goes to a temporary
// beside its file first; only when all are written is the menu renamed
// and each temporary moved over its file. A failure before that removes
// the temporaries and changes nothing.
std::optional<RenameFailure> carryOutRename(const RenamePlan& plan, const std::filesystem::path& folder,
                                            const FolderWrites& writes = systemFolderWrites());

}  // namespace cofferon
