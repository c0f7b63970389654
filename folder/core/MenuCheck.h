#pragma once

// The check of one menu file on its own, and what the checks across the
// folder need of it: its opening command and its links.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "folder/core/MenuLinks.h"
#include "folder/core/Problem.h"

namespace cofferon {

struct CheckedMenu {
    bool menu = false;  // the plugin's reader takes the file
    std::vector<Problem> problems;  // of the file alone
    std::optional<std::string> title;  // a document text (GB18030), as the window shows it
    std::optional<std::string> command;  // the opening command, a document text
    yaml::Mark commandMark;  // of its key
    std::vector<MenuLink> links;
};

// Reads the file's bytes as the import does: syntax, empty, value,
// duplicate-position, outside-rows, unknown-key, encoding and
// open-needs-keep-open come from here.
CheckedMenu checkMenu(const std::string& path, std::string_view bytes);

}  // namespace cofferon
