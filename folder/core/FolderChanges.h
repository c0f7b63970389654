#pragma once

// What changed in a watched menus folder since the window last looked:
// the files added, removed and changed outside the tool (an editor, a git
// pull), so that only those are read into the MenuFolder again. A file is
// read only where its size or time says it may have changed; what the
// tool wrote itself is known by its bytes and never counts as a change.

#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "document/core/FileError.h"
#include "folder/core/FolderWalk.h"
#include "folder/core/Problem.h"

namespace cofferon {

// What is known of a file of the folder.
struct KnownFile {
    // The bytes last read or written, or why the file is not read.
    std::variant<std::string, Problem> content;
    // The file's size and time when those bytes were read; nullopt where
    // they cannot tell a change (the file was written in the moment it was
    // read, the tool has written it since), and the bytes are compared.
    std::optional<FileStamp> stamp;
};

// The folder as the last walk found it.
struct KnownFolder {
    std::map<std::string, KnownFile> files;  // by path, relative to the folder
    std::vector<Problem> problems;  // the walk's own: folders not read, links not followed
};

struct FolderChanges {
    // Paths relative to the folder, in order.
    std::vector<std::string> added;
    std::vector<std::string> removed;
    std::vector<std::string> changed;  // bytes, or why the file is not read
    bool problemsChanged = false;
    // The folder itself could not be listed: nothing was compared.
    std::optional<FileError> rootError;
    // The folder as it stands now; the contents of what was added or
    // changed are here.
    KnownFolder known;
};

// Compares a new walk of the folder with what was known, which an empty
// KnownFolder makes every menu an added one (the folder opened).
FolderChanges folderChanges(KnownFolder known, const FolderWalk& walk, const FolderAccess& access);

// Puts what was added or changed into `folder` and takes out what was
// removed, and the walk's own problems where they changed. Gives the menus
// whose problems may have changed, the removed ones among them, in order.
std::vector<std::string> applyChanges(MenuFolder& folder, const FolderChanges& changes);

// The tool wrote `bytes` to the file (a save, a new menu).
void noteWritten(KnownFolder& known, const std::string& path, std::string bytes);

// The tool renamed the file; what it wrote into it is noted apart.
void noteRenamed(KnownFolder& known, const std::string& from, const std::string& to);

}  // namespace cofferon
