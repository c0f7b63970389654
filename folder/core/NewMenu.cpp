#include "folder/core/NewMenu.h"

#include <algorithm>

#include "document/core/Codec.h"
#include "document/core/SlotRecord.h"
#include "document/core/Text.h"
#include "menufile/core/MenuEncoding.h"
#include "menufile/core/MenuImport.h"

namespace cofferon {

std::optional<std::string> menuNameProblem(const MenuFolder& folder, std::string_view name, std::string_view renamed)
{
    if (name.find('/') != std::string_view::npos)
        return "文件名里不能有“/”";
    if (!isMenuFileName(name))
        return "菜单文件名要以 .yml 或 .yaml 结尾";
    if (const std::string lower = asciiLower(name); lower == ".yml" || lower == ".yaml")
        return "需要文件名,不能只有扩展名";
    const auto blankOrControl = [](unsigned char c) { return c <= ' ' || c == 0x7f; };
    if (std::any_of(name.begin(), name.end(), blankOrControl))
        return "文件名里不能有空格或控制字符:打开菜单的指令到空格就结束了";
    if (!utf8ToGb18030(name))
        return "文件名不是有效的文字";
    for (const std::string& taken : folder.menusNamed(name)) {
        if (taken != renamed)
            return "文件夹里已有同名的菜单“" + taken + "”,插件找菜单时不分大小写";
    }
    return std::nullopt;
}

std::variant<std::string, Refusal> newMenuBytes(const std::string& title, int rows)
{
    if (rows < 1 || rows > kMaxRows)
        return Refusal{"菜单的行数要在 1 到 6 之间"};
    MenuSettings settings;
    if (!title.empty())
        settings.title = title;
    settings.rowIndex = rows - 1;
    return menuFileBytes(settings, SlotTable{}, OutputEncoding::Utf8);
}

std::optional<std::string> createMenuFile(const std::filesystem::path& folder, const std::string& path,
                                          std::string_view bytes, const FolderWrites& writes)
{
    const std::string file = (folder / path).string();
    auto prepared = writes.prepare(file, bytes);
    if (const auto* error = std::get_if<FileError>(&prepared))
        return "无法写入“" + path + "”:" + writeErrorText(*error);
    const auto& ready = std::get<PreparedReplacement>(prepared);
    if (const auto error = writes.rename(ready.temporary, file)) {
        writes.discard(ready);
        return "无法建立“" + path + "”:" + writeErrorText(*error);
    }
    return std::nullopt;
}

}  // namespace cofferon
