#pragma once

// The folder that holds the program and its `items` icon folder. Set once at
// start (tests point it at a temporary folder).

#include <string>
#include <string_view>

namespace cofferon {

inline constexpr char kPathSeparator = '/';

void setProgramDirectory(std::string directory);
const std::string& programDirectory();

// `folder` and `name` with one separator between them.
std::string joinPath(std::string_view folder, std::string_view name);

// Joins a path relative to the program directory.
std::string programFile(std::string_view relativePath);

}  // namespace cofferon
