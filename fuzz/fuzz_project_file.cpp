// Any bytes as a project file: reading, writing back and reading again must
// neither crash nor change anything that was read.

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

    // Every value read can be written and read back exactly.
    const cofferon::ProjectData first = cofferon::readProject(cofferon::IniFile::parse(bytes));
    const std::string written = cofferon::projectText(first.settings, first.slots);
    if (!(cofferon::readProject(cofferon::IniFile::parse(written)) == first))
        std::abort();
    return 0;
}
