// Any bytes as an icon file: the glint never reads or writes outside them and
// keeps their size.

#include <cstdint>
#include <cstdlib>

#include "preview/core/SlotIcon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const cofferon::Picture picture(data, data + size);
    const cofferon::Picture glinted = cofferon::enchantGlint(picture);
    if (glinted.size() != picture.size())
        std::abort();
    (void)cofferon::dyeColour(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
