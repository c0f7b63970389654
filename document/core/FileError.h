#pragma once

// What went wrong with a file, and how to tell the user.

#include <string>

namespace cofferon {

// An errno value.
struct FileError {
    int code = 0;
    // The failure came after the file itself had been opened for writing in
    // place, so its old contents may be gone.
    bool touched = false;

    bool operator==(const FileError&) const = default;
};

// The common causes in Chinese (UTF-8, like every program text): no such
// folder, permission denied, disk full, read-only file system, name too long,
// is a folder. Any other code gives the system's English description.
std::string fileErrorText(int code);

}  // namespace cofferon
