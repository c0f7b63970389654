#pragma once

// Reads a whole file's bytes; a failure comes back as its errno (reading a
// folder fails with EISDIR).

#include <string>
#include <variant>

#include "app/core/FileError.h"

namespace cofferon {

std::variant<std::string, FileError> readWholeFile(const std::string& path);

}  // namespace cofferon
