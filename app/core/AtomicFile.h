#pragma once

// Replaces a file's contents all at once: the bytes go to a temporary file in
// the target's folder, which is then renamed over the target, so a failed
// write never destroys what was there before.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace cofferon {

// Same contract as POSIX write(): bytes written, or -1 with errno set.
using WriteFunction = std::function<ssize_t(int fd, const char* data, std::size_t size)>;

// nullopt on success, otherwise the system's description of what failed.
// `write` is a seam for tests; empty means ::write.
std::optional<std::string> writeFileAtomically(const std::string& path, std::string_view bytes,
                                               const WriteFunction& write = {});

}  // namespace cofferon
