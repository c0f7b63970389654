// Any bytes as a project file: reading, writing back and reading again must
// neither crash nor change what a second round trip yields.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "project/core/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    cofferon::IniFile file = cofferon::IniFile::parse(bytes);
    file.setValue("Setting", "title", "x");
    (void)file.serialize();

    const cofferon::ProjectData first = cofferon::readProject(cofferon::IniFile::parse(bytes));
    const std::string written = cofferon::projectText(first.settings, first.slots);
    const cofferon::ProjectData second = cofferon::readProject(cofferon::IniFile::parse(written));
    // Reading drops one pair of quotes and blanks at the ends, so only the
    // second round trip has to be stable.
    const cofferon::ProjectData third =
        cofferon::readProject(cofferon::IniFile::parse(cofferon::projectText(second.settings, second.slots)));
    if (!(second.settings.leftClick == third.settings.leftClick && second.settings.rowIndex == third.settings.rowIndex))
        std::abort();
    for (int slot = 1; slot <= cofferon::kSlotCount; ++slot) {
        if (second.slots[slot].id != third.slots[slot].id)
            std::abort();
    }
    return 0;
}
