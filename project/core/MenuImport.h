#pragma once

// Reads a menu file of the plugin (this tool's export, or written by hand in
// any YAML style) into a project: the menu settings and the slots, and a list
// of what could not be taken over.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "export/core/MenuYamlWriter.h"
#include "project/core/ProjectFile.h"

namespace cofferon {

struct ImportedMenu {
    // Settings the file leaves out or leaves empty are absent, as a load
    // leaves those boxes as they were.
    ProjectData project;
    // One line each (UTF-8): unknown keys with their block, items without a
    // usable position or item ID, two items on one slot, values that are not
    // what their key takes. Empty when the whole menu was taken over.
    std::vector<std::string> notTakenOver;
    OutputEncoding encoding = OutputEncoding::Utf8;  // the encoding the file was read in
};

// Why a file is no menu: where the reading stopped (counted from 1) and why (UTF-8).
struct NotAMenu {
    int line = 1;
    int column = 1;
    std::string reason;
};

// A menu file is UTF-8, with or without a byte-order mark, or GBK as this
// tool's GB2312 export writes it. Where the bytes read as both, the reading
// that this tool would have exported as exactly these bytes wins, then the
// one that reads as more Chinese.
std::variant<ImportedMenu, NotAMenu> importMenu(std::string_view bytes);

// "第 3 行第 5 列:" and the reason.
std::string describeNotAMenu(const NotAMenu& problem);

// Whether a file name is a menu file's (".yml" or ".yaml", in any case).
bool isMenuFileName(std::string_view name);

}  // namespace cofferon
