// Any bytes as a document text: through the toolkit's UTF-16 and back they
// must come out unchanged, and a title the menu writer accepts must read back
// as exactly those characters once its quotes are undone.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/core/Codec.h"
#include "document/core/Text.h"
#include "menufile/core/MenuEncoding.h"

namespace {

// The single-quoted title of a written menu, as a YAML reader undoes it.
std::string titleOf(const std::string& file)
{
    constexpr std::string_view open = "menu-setting:\r\n  name: '";
    constexpr std::string_view close = "'\r\n  rows: ";
    const std::size_t end = file.rfind(close);
    if (!file.starts_with(open) || end == std::string::npos || end < open.size())
        std::abort();
    return cofferon::replaceText(std::string_view(file).substr(open.size(), end - open.size()), "''", "'");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (cofferon::utf16ToDocument(cofferon::documentToUtf16(bytes)) != bytes)
        std::abort();

    cofferon::MenuSettings settings;
    settings.title = bytes;
    const auto gb = cofferon::menuFileBytes(settings, cofferon::SlotTable{}, cofferon::OutputEncoding::Gb2312);
    if (const auto* text = std::get_if<std::string>(&gb); text && titleOf(*text) != bytes)
        std::abort();
    const auto utf8 = cofferon::menuFileBytes(settings, cofferon::SlotTable{}, cofferon::OutputEncoding::Utf8);
    if (const auto* text = std::get_if<std::string>(&utf8); text && titleOf(*text) != cofferon::gb18030ToUtf8(bytes))
        std::abort();
    return 0;
}
