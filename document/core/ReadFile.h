#pragma once

// Reads a whole file's bytes; a failure comes back as its errno (reading a
// folder fails with EISDIR).

#include <optional>
#include <string>
#include <variant>

#include "document/core/FileError.h"

namespace cofferon {

std::variant<std::string, FileError> readWholeFile(const std::string& path);

// ENOENT or ENOTDIR when no file has that name; nothing for a file that is
// there, readable or not. A named input file that is not there is a mistake
// of the caller, although the window treats a missing project as an empty one.
std::optional<FileError> missingFileError(const std::string& path);

}  // namespace cofferon
