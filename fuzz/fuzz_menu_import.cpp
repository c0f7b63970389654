// Any bytes as a menu file: the import must not crash, and a menu it reads
// that the tool can export must come back byte for byte from that export.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "export/core/MenuEncoding.h"
#include "project/core/MenuImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto first = cofferon::importMenu(std::string_view(reinterpret_cast<const char*>(data), size));
    const auto* menu = std::get_if<cofferon::ImportedMenu>(&first);
    if (!menu || !menu->project.settings.title)
        return 0;
    const auto file = cofferon::menuFileBytes(menu->project.settings, menu->project.slots, menu->encoding);
    const auto* bytes = std::get_if<std::string>(&file);
    if (!bytes)
        return 0;
    const auto second = cofferon::importMenu(*bytes);
    const auto* again = std::get_if<cofferon::ImportedMenu>(&second);
    if (!again)
        std::abort();
    const auto fileAgain = cofferon::menuFileBytes(again->project.settings, again->project.slots, again->encoding);
    const auto* bytesAgain = std::get_if<std::string>(&fileAgain);
    if (!bytesAgain || *bytesAgain != *bytes)
        std::abort();
    return 0;
}
