#include "menufile/core/MenuEncoding.h"

#include "document/core/Codec.h"
#include "document/core/Text.h"
#include "menufile/core/MenuValues.h"

namespace cofferon {

std::variant<std::string, Refusal> encodeMenu(std::string_view yaml, OutputEncoding encoding)
{
    if (encoding == OutputEncoding::Gb2312) {
        const auto bad = firstNonGbkCharacter(yaml);
        if (!bad)
            return std::string(yaml);
        return Refusal{"菜单中含有 GB2312 格式无法保存的字符“" + gb18030ToUtf8(*bad).value_or("?") +
                       "”,文件未写入。请改用 UTF-8 格式导出。"};
    }
    auto converted = gb18030ToUtf8(yaml);
    if (!converted)
        return Refusal{"菜单文字无法转换为 UTF-8 编码,文件未写入。"};
    return std::move(*converted);
}

std::variant<std::string, Refusal> menuFileBytes(const MenuSettings& settings, const SlotTable& slots,
                                                 OutputEncoding encoding)
{
    auto yaml = writeMenuYaml(settings, slots, encoding);
    if (auto* refusal = std::get_if<Refusal>(&yaml))
        return std::move(*refusal);
    const std::string& text = std::get<std::string>(yaml);
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += characterLength(text, pos))
        ++characters;
    if (characters > kMostMenuCharacters) {
        return Refusal{"菜单文件有 " + numberToText(static_cast<long long>(characters)) +
                       " 个字符,超过了 YAML 读取器能读取的 " +
                       numberToText(static_cast<long long>(kMostMenuCharacters)) + " 个,文件未写入。"};
    }
    return encodeMenu(text, encoding);
}

std::string ymlFileName(std::string_view chosen)
{
    return withExtension(chosen, ".yml");
}

}  // namespace cofferon
