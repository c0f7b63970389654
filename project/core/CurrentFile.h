#pragma once

// The file the window's work belongs to: the one last opened, imported or
// saved. Ctrl+S writes it again as it is.

#include <string>

#include "menufile/core/MenuYamlWriter.h"

namespace cofferon {

enum class FileKind { Project, Menu };

struct CurrentFile {
    std::string path;  // as the file system names it
    FileKind kind = FileKind::Project;
    OutputEncoding encoding = OutputEncoding::Utf8;  // a menu file's; a project file has none

    bool operator==(const CurrentFile&) const = default;
};

}  // namespace cofferon
