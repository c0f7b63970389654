#pragma once

// A file write that takes `budget` bytes and then fails, like a full disk.

#include <algorithm>
#include <cerrno>
#include <unistd.h>

#include "document/core/AtomicFile.h"

namespace cofferon::test {

inline WriteFunction failAfter(std::size_t budget)
{
    return [budget](int fd, const char* data, std::size_t size) mutable -> ssize_t {
        if (budget == 0) {
            errno = ENOSPC;
            return -1;
        }
        const std::size_t chunk = std::min(size, budget);
        budget -= chunk;
        return ::write(fd, data, chunk);
    };
}

}  // namespace cofferon::test
