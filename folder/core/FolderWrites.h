#pragma once

// What writing into a menus folder asks of the system: several files
// replaced together or not at all, and names given without ever replacing
// a file that has the name. A test puts failures in here.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "document/core/AtomicFile.h"
#include "document/core/FileError.h"

namespace cofferon {

struct FolderWrites {
    // The new contents written beside the file, nothing replaced yet.
    std::function<std::variant<PreparedReplacement, FileError>(const std::string& path, std::string_view bytes)>
        prepare;
    std::function<std::optional<FileError>(const PreparedReplacement&)> put;
    std::function<void(const PreparedReplacement&)> discard;
    // EEXIST when `to` is there already.
    std::function<std::optional<FileError>(const std::string& from, const std::string& to)> rename;
};

const FolderWrites& systemFolderWrites();

// The Chinese words for why a file could not be written or named.
std::string writeErrorText(const FileError& error);

}  // namespace cofferon
