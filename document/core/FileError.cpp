#include "document/core/FileError.h"

#include <cerrno>
#include <cstring>
#include <locale.h>
#include <string.h>

namespace cofferon {

std::string fileErrorText(int code)
{
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        return "文件夹不存在";
    case EACCES:
    case EPERM:
        return "没有权限";
    case ENOSPC:
    case EDQUOT:
        return "磁盘已满";
    case EROFS:
        return "文件系统是只读的";
    case ENAMETOOLONG:
        return "文件名太长";
    case EISDIR:
        return "这是一个文件夹";
    default:
        break;
    }
    // The "C" locale: the window sets the user's locale, whose texts need not be UTF-8.
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", locale_t{});
    return cLocale ? ::strerror_l(code, cLocale) : std::strerror(code);
}

}  // namespace cofferon
