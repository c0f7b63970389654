// Any text as an item ID: a valid one parses into numbers in range and an
// icon name in the icon folder's naming scheme.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/core/ItemId.h"
#include "document/core/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)cofferon::textToInteger(text);
    (void)cofferon::splitText(text, ":");
    (void)cofferon::replaceText(text, "\r\n", "; ");
    if (const auto parts = cofferon::parseItemId(text)) {
        if (parts->id <= 0 || parts->data < 0 || !parts->iconName.ends_with(".bmp"))
            std::abort();
    }
    return 0;
}
