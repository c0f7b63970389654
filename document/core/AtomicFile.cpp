#include "document/core/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>

namespace cofferon {

namespace {

// The kernel gives up on a path after as many links.
constexpr int kMaxLinks = 40;

// Short, so that it fits in every folder where the target's own name fits.
constexpr std::string_view kTemporaryName = ".cofferon-XXXXXX";

// The folder part of a path with its closing "/", or empty for the current folder.
std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The name that writing through `path` creates or replaces: symbolic links
// are followed to the end of their chain, a relative one from its own folder.
std::variant<std::string, FileError> finalTarget(std::string path)
{
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno == ENOENT)
                return path;
            return FileError{errno};
        }
        if (!S_ISLNK(info.st_mode))
            return path;
        std::string link(PATH_MAX, '\0');
        for (;;) {
            const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
            if (length < 0)
                return FileError{errno};
            if (static_cast<std::size_t>(length) < link.size()) {
                link.resize(static_cast<std::size_t>(length));
                break;
            }
            link.resize(link.size() * 2);
        }
        path = link.starts_with('/') ? link : folderOf(path) + link;
    }
    return FileError{ELOOP};
}

std::optional<FileError> writeAll(int fd, std::string_view bytes, const WriteFunction& write)
{
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = write ? write(fd, data, left) : ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return FileError{errno};
        }
        if (written == 0)
            return FileError{EIO};
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return std::nullopt;
}

// Non-blocking, so that a pipe nobody reads from fails at once (ENXIO)
// instead of waiting; the writes that follow block as usual.
int openForWriting(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// Writes into an open file and closes it. A regular file is overwritten from
// its start and cut to the new length; a failure part-way leaves it part-written.
std::optional<FileError> writeOpenFile(int fd, std::string_view bytes, const WriteFunction& write, bool regular)
{
    std::optional<FileError> error = writeAll(fd, bytes, write);
    if (!error && regular && (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0))
        error = FileError{errno};
    if (::close(fd) != 0 && !error)
        error = FileError{errno};
    if (error)
        error->touched = regular;
    return error;
}

std::optional<FileError> writeInPlace(const std::string& path, std::string_view bytes, const WriteFunction& write,
                                      bool regular)
{
    const int fd = openForWriting(path);
    if (fd < 0)
        return FileError{errno};
    return writeOpenFile(fd, bytes, write, regular);
}

// A new file gets the usual 0666 & ~umask.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes the open temporary `fd`, gives it the owner and permissions of
// `replaced` (or a new file's) and closes it; on failure it is removed.
std::optional<FileError> fillTemporary(int fd, const std::string& temporary, std::string_view bytes,
                                       const WriteFunction& write, const struct stat* replaced)
{
    auto fail = [&](int error) -> std::optional<FileError> {
        ::close(fd);
        ::unlink(temporary.c_str());
        return FileError{error};
    };
    if (const auto error = writeAll(fd, bytes, write))
        return fail(error->code);
    // An existing target keeps its owner where that is allowed (only root
    // may give a file away), then its permission bits.
    if (replaced)
        (void)::fchown(fd, replaced->st_uid, replaced->st_gid);
    const mode_t mode = replaced ? replaced->st_mode & 07777 : newFileMode();
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return FileError{error};
    }
    return std::nullopt;
}

// The file that writing through a path replaces, as it is now.
struct Target {
    std::string path;
    struct stat info {};
    bool exists = false;
    int error = 0;  // why lstat failed, where it did
};

std::variant<Target, FileError> targetOf(const std::string& path)
{
    auto resolved = finalTarget(path);
    if (const auto* error = std::get_if<FileError>(&resolved))
        return *error;
    Target target{std::get<std::string>(std::move(resolved))};
    target.exists = ::lstat(target.path.c_str(), &target.info) == 0;
    target.error = target.exists ? 0 : errno;
    return target;
}

// A temporary file beside the target, open, its name in `temporary`; -1
// with errno set.
int createTemporaryBeside(const Target& target, std::string& temporary, const CreateTemporaryFunction& create)
{
    temporary = folderOf(target.path).append(kTemporaryName);
    return create ? create(temporary.data()) : ::mkostemp(temporary.data(), O_CLOEXEC);
}

}  // namespace

std::optional<FileError> writeFileAtomically(const std::string& path, std::string_view bytes,
                                             const WriteFunction& write, const CreateTemporaryFunction& createTemporary)
{
    struct stat info {};
    const bool pathExists = ::stat(path.c_str(), &info) == 0;
    if (!pathExists && errno != ENOENT)
        return FileError{errno};
    if (pathExists && !S_ISREG(info.st_mode))
        return writeInPlace(path, bytes, write, false);

    const auto resolved = targetOf(path);
    if (const auto* error = std::get_if<FileError>(&resolved))
        return *error;
    const Target& target = std::get<Target>(resolved);
    // A link that only the kernel can follow, such as /proc/self/fd/N of a
    // deleted file: there is no name to replace, only the file to write.
    if (pathExists && !(target.exists && S_ISREG(target.info.st_mode)))
        return writeInPlace(path, bytes, write, true);
    // Its other names would keep the old contents after a rename.
    if (target.exists && target.info.st_nlink > 1)
        return writeInPlace(target.path, bytes, write, true);

    std::string temporary;
    const int fd = createTemporaryBeside(target, temporary, createTemporary);
    if (fd < 0) {
        const int error = errno;
        // A folder that takes no new file: the file itself may still be writable.
        if (target.exists && (error == EACCES || error == EPERM)) {
            const int inPlace = openForWriting(target.path);
            if (inPlace >= 0)
                return writeOpenFile(inPlace, bytes, write, true);
        }
        return FileError{error};
    }
    if (auto error = fillTemporary(fd, temporary, bytes, write, target.exists ? &target.info : nullptr))
        return error;
    return putReplacementInPlace({temporary, target.path});
}

std::variant<PreparedReplacement, FileError> prepareReplacement(const std::string& path, std::string_view bytes,
                                                                const WriteFunction& write,
                                                                const CreateTemporaryFunction& createTemporary)
{
    const auto resolved = targetOf(path);
    if (const auto* error = std::get_if<FileError>(&resolved))
        return *error;
    const Target& target = std::get<Target>(resolved);
    if (!target.exists && target.error != ENOENT)
        return FileError{target.error};
    if (target.exists && !S_ISREG(target.info.st_mode))
        return FileError{S_ISDIR(target.info.st_mode) ? EISDIR : EINVAL};
    if (target.exists && target.info.st_nlink > 1)
        return FileError{EMLINK};

    std::string temporary;
    const int fd = createTemporaryBeside(target, temporary, createTemporary);
    if (fd < 0)
        return FileError{errno};
    if (auto error = fillTemporary(fd, temporary, bytes, write, target.exists ? &target.info : nullptr))
        return *error;
    return PreparedReplacement{temporary, target.path};
}

std::optional<FileError> putReplacementInPlace(const PreparedReplacement& prepared)
{
    if (::rename(prepared.temporary.c_str(), prepared.target.c_str()) != 0) {
        const int error = errno;
        ::unlink(prepared.temporary.c_str());
        return FileError{error};
    }
    return std::nullopt;
}

void discardReplacement(const PreparedReplacement& prepared)
{
    ::unlink(prepared.temporary.c_str());
}

std::optional<FileError> renameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return std::nullopt;
    if (errno != EINVAL && errno != ENOSYS)
        return FileError{errno};
    // A file system that cannot promise it: the name is looked at first.
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0)
        return FileError{EEXIST};
    if (::rename(from.c_str(), to.c_str()) != 0)
        return FileError{errno};
    return std::nullopt;
}

}  // namespace cofferon
