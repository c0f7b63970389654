#pragma once

// The folders item icons come from, in the order a name is looked up: the
// user's own, the one beside the program (a build tree), the one the package
// installs. A user's file thus wins over a packaged one of the same name.
// Set once at start (tests point it at temporary folders); until then, or
// set to an empty list, the folder `items` beside the program alone.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cofferon {

void setIconFolders(std::vector<std::string> folders);
std::vector<std::string> iconFolders();

// This installation's lookup order: `userFolder` (left out when empty),
// `items` beside the program, then the packaged folder under the install
// prefix the program was built for.
std::vector<std::string> standardIconFolders(const std::string& userFolder);

// The folder the package installs the starter icons into.
std::string packagedIconFolder();

// The path of the first regular file named `name` in the icon folders;
// nullopt when none holds one.
std::optional<std::string> findIconFile(std::string_view name);

}  // namespace cofferon
