#include "folder/core/FolderWrites.h"

#include <cerrno>

namespace cofferon {

const FolderWrites& systemFolderWrites()
{
    static const FolderWrites writes{
        [](const std::string& path, std::string_view bytes) { return prepareReplacement(path, bytes); },
        putReplacementInPlace, discardReplacement, renameWithoutReplacing};
    return writes;
}

std::string writeErrorText(const FileError& error)
{
    switch (error.code) {
    case ENOENT:
        return "文件或文件夹已不在了";
    case EEXIST:
        return "已有这个名字的文件或文件夹";
    case EMLINK:
        return "文件还有别的硬链接,整个替换会让它们分开";
    case EINVAL:
        return "不是普通文件";
    default:
        return fileErrorText(error.code);
    }
}

}  // namespace cofferon
