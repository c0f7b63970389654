#include "document/core/ProgramDirectory.h"

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

std::string joinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (path.empty() || path.back() != kPathSeparator)
        path += kPathSeparator;
    path += name;
    return path;
}

std::string programFile(std::string_view relativePath)
{
    return joinPath(programDirectory(), relativePath);
}

}  // namespace cofferon
