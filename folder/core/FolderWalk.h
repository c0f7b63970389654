#pragma once

// Finds the menu files of a menus folder as the plugin loads them: every
// "*.yml" and "*.yaml" (in any case) in the folder and its subfolders. What
// it cannot or will not read is a problem of its path, never left out
// silently: a folder it cannot list, a symbolic link that points out of the
// folder or back into it, a link that leads nowhere, a file that is no plain
// file (a pipe would never end), a file too large for the plugin's reader.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "document/core/FileError.h"
#include "folder/core/MenuFolder.h"
#include "folder/core/Problem.h"

namespace cofferon {

// What tells a file's change without reading it.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified{};

    bool operator==(const FileStamp&) const = default;
};

// What the walk asks of the system; a test puts failures in here.
struct FolderAccess {
    std::function<std::variant<std::vector<std::filesystem::directory_entry>, FileError>(const std::filesystem::path&)>
        list;
    std::function<std::variant<std::string, FileError>(const std::filesystem::path&)> read;
    // nullopt where the file cannot be looked at; may be left empty, and
    // then every file is read to tell whether it changed.
    std::function<std::optional<FileStamp>(const std::filesystem::path&)> stamp;
};

const FolderAccess& systemFolderAccess();

struct FoundMenu {
    std::string path;  // relative to the folder walked, "/" between folders
    std::filesystem::path file;
    std::optional<Problem> notRead;  // why it is not to be read
};

struct FolderWalk {
    std::optional<FileError> rootError;  // the folder itself could not be listed
    std::vector<FoundMenu> menus;  // in the order of their paths
    std::vector<Problem> problems;  // folders not read, links to folders not followed
};

// The paths of what it finds start with `prefix`; a file given as `root`
// is found under its own name as given.
FolderWalk walkMenuFolder(const std::filesystem::path& root, const FolderAccess& access,
                          const std::string& prefix = std::string());

// The bytes of a menu the walk found, or why they are not to be had.
std::variant<std::string, Problem> readFoundMenu(const FoundMenu& found, const FolderAccess& access);

// Reads every menu the walk found into the folder; a file that cannot be
// read goes in as an "unreadable" problem.
void readMenus(MenuFolder& folder, const FolderWalk& walk, const FolderAccess& access);

// The Chinese words for why a file or folder could not be read.
std::string readErrorText(const FileError& error);

}  // namespace cofferon
