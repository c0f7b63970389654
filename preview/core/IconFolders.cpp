#include "preview/core/IconFolders.h"

#include <filesystem>
#include <system_error>

#include "document/core/ProgramDirectory.h"

#ifndef COFFERON_PACKAGED_ICON_FOLDER
#error "COFFERON_PACKAGED_ICON_FOLDER names the installed starter icons"
#endif

namespace cofferon {

namespace {

std::vector<std::string>& folderStorage()
{
    static std::vector<std::string> folders;
    return folders;
}

}  // namespace

void setIconFolders(std::vector<std::string> folders)
{
    folderStorage() = std::move(folders);
}

std::vector<std::string> iconFolders()
{
    if (folderStorage().empty())
        return {programFile("items")};
    return folderStorage();
}

std::string packagedIconFolder()
{
    return COFFERON_PACKAGED_ICON_FOLDER;
}

std::vector<std::string> standardIconFolders(const std::string& userFolder)
{
    std::vector<std::string> folders;
    if (!userFolder.empty())
        folders.push_back(userFolder);
    folders.push_back(programFile("items"));
    folders.push_back(packagedIconFolder());
    return folders;
}

std::optional<std::string> findIconFile(std::string_view name)
{
    for (const std::string& folder : iconFolders()) {
        std::string path = joinPath(folder, name);
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error))
            return path;
    }
    return std::nullopt;
}

}  // namespace cofferon
