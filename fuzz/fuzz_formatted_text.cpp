// Any text through the tooltip renderer: no empty runs, and the shown text is
// never longer than the input.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "preview/core/FormattedText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t shown = 0;
    for (const cofferon::StyledRun& run : cofferon::renderFormattedText(text)) {
        if (run.text.empty())
            std::abort();
        shown += run.text.size();
    }
    if (shown > size)
        std::abort();
    cofferon::SlotRecord slot;
    slot.name = std::string(text);
    slot.lore = std::string(text);
    (void)cofferon::tooltipLines(slot);
    return 0;
}
