#include "app/core/ProgramDirectory.h"

namespace cofferon {

namespace {
std::string& directoryStorage()
{
    static std::string directory = ".";
    return directory;
}
}  // namespace

void setProgramDirectory(std::string directory)
{
    while (directory.size() > 1 && directory.back() == kPathSeparator)
        directory.pop_back();
    directoryStorage() = std::move(directory);
}

const std::string& programDirectory()
{
    return directoryStorage();
}

std::string programFile(std::string_view relativePath)
{
    std::string path = programDirectory();
    if (path.empty() || path.back() != kPathSeparator)
        path += kPathSeparator;
    path += relativePath;
    return path;
}

}  // namespace cofferon
