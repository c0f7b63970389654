#pragma once

// Replaces a file's contents all at once: the bytes go to a temporary file in
// the target's folder, which is then renamed over the target, so a failed
// write never destroys what was there before.
//
// A symbolic link is written through: the file at the end of the chain is
// replaced and the links stay (a dangling link creates the file it names).
// Anything that is not a regular file (a device, a pipe, a folder) cannot be
// replaced by a rename, so it is written to directly and its own errors are
// reported. Where the folder takes no new file but the file itself can be
// written, and where the file has other hard links that must keep seeing it,
// the file is rewritten in place. A replaced file keeps its owner where the
// writer may set it (root exporting into a server user's folder).

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include <sys/types.h>

#include "document/core/FileError.h"

namespace cofferon {

// Same contract as POSIX write(): bytes written, or -1 with errno set.
using WriteFunction = std::function<ssize_t(int fd, const char* data, std::size_t size)>;

// Same contract as POSIX mkstemp(): fills in the template's trailing
// "XXXXXX" and returns the open file, or -1 with errno set.
using CreateTemporaryFunction = std::function<int(char* pathTemplate)>;

// nullopt on success. `write` and `createTemporary` are seams for tests;
// empty means ::write and ::mkostemp.
std::optional<FileError> writeFileAtomically(const std::string& path, std::string_view bytes,
                                             const WriteFunction& write = {},
                                             const CreateTemporaryFunction& createTemporary = {});

// A replacement made ready but not yet put in place, so that several files
// can be replaced together or not at all.
struct PreparedReplacement {
    std::string temporary;  // the new contents, in the target's folder
    std::string target;  // the file it replaces: the path, or the end of its chain of links
};

// Writes the temporary beside the file `path` names (at the end of its
// links), with that file's owner and permissions, or a new file's where
// there is none yet; nothing is replaced. Only a regular file with no other
// names can be replaced by a rename: a folder is EISDIR, another special
// file EINVAL, a file with other hard links EMLINK.
std::variant<PreparedReplacement, FileError> prepareReplacement(const std::string& path, std::string_view bytes,
                                                                const WriteFunction& write = {},
                                                                const CreateTemporaryFunction& createTemporary = {});

// Renames the temporary over its target; on failure the temporary is removed.
std::optional<FileError> putReplacementInPlace(const PreparedReplacement& prepared);

// Removes the temporary.
void discardReplacement(const PreparedReplacement& prepared);

// Renames a file or link (not what it links to); EEXIST when `to` is
// already there, which is never replaced.
std::optional<FileError> renameWithoutReplacing(const std::string& from, const std::string& to);

}  // namespace cofferon
