#include "export/core/MenuEncoding.h"

#include "app/core/Codec.h"
#include "app/core/Text.h"

namespace cofferon {

namespace {

// Position of the first character outside GBK, or npos. In GB18030 these are
// exactly the four-byte sequences.
std::size_t firstNonGbkCharacter(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size(); pos += characterLength(text, pos)) {
        if (characterLength(text, pos) == 4)
            return pos;
    }
    return std::string_view::npos;
}

}  // namespace

std::variant<std::string, Refusal> encodeMenu(std::string_view yaml, OutputEncoding encoding)
{
    if (encoding == OutputEncoding::Gb2312) {
        const std::size_t bad = firstNonGbkCharacter(yaml);
        if (bad == std::string_view::npos)
            return std::string(yaml);
        const auto shown = gb18030ToUtf8(yaml.substr(bad, 4));
        return Refusal{"菜单中含有 GB2312 格式无法保存的字符“" + shown.value_or("?") +
                       "”,文件未写入。请改用 UTF-8 格式导出。"};
    }
    auto converted = gb18030ToUtf8(yaml);
    if (!converted)
        return Refusal{"菜单文字无法转换为 UTF-8 编码,文件未写入。"};
    return std::move(*converted);
}

std::string ymlFileName(std::string_view chosen)
{
    return withExtension(chosen, ".yml");
}

}  // namespace cofferon
