#include "document/core/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cofferon {

int lockFile(const std::string& path, LockCreation creation)
{
    const int flags = creation == LockCreation::New ? O_CREAT | O_EXCL : O_CREAT;
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | flags, 0600);
    if (fd < 0)
        return -1;
    struct stat locked {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &locked) != 0 || ::stat(path.c_str(), &named) != 0 ||
        locked.st_ino != named.st_ino || locked.st_dev != named.st_dev) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

void unlockFile(int lock)
{
    if (lock >= 0)
        ::close(lock);
}

long long currentProcessId()
{
    return static_cast<long long>(::getpid());
}

}  // namespace cofferon
