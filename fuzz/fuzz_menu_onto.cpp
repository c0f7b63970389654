// Writing a menu back onto its own file, two ways.
//
// Any bytes as a menu file: where the import reads them, the menu it reads
// written back onto them gives the very same bytes, and a change of it is
// either refused with the reason or written as a file that reads back as
// the changed menu (the writer reads it back itself before it gives it out).
//
// A menu file in a random hand-written style, with a random change: it is
// always written, never refused.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "menufile/core/MenuImport.h"
#include "menufile/core/MenuOnto.h"
#include "support/RandomMenuFile.h"

namespace {

using namespace cofferon;

void fail(const char* what, std::string_view bytes)
{
    std::fprintf(stderr, "%s:\n%.*s\n", what, static_cast<int>(bytes.size()), bytes.data());
    std::abort();
}

// False when the change was refused.
bool writtenBack(std::string_view bytes, const test::Choose& choose)
{
    auto read = importMenuText(bytes);
    const auto* menu = std::get_if<ImportedMenu>(&read);
    if (!menu || !menu->project.settings.title)
        return true;
    WholeMenu work = menuToEdit(*menu);
    const auto same = writeMenuOnto(*menu, work, claimsByOrigin(work.slots, menu->text->places), menu->encoding);
    if (const auto* onto = std::get_if<MenuOnto>(&same); !onto || onto->bytes() != bytes)
        fail("the menu unchanged does not give its file back", bytes);
    test::changeAtRandom(work, choose);
    const auto changed = writeMenuOnto(*menu, work, claimsByOrigin(work.slots, menu->text->places), menu->encoding);
    return std::holds_alternative<MenuOnto>(changed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const test::Choose choose = [&](unsigned bound) {
        return bound ? input.ConsumeIntegralInRange<unsigned>(0, bound - 1) : 0u;
    };
    writtenBack(std::string_view(reinterpret_cast<const char*>(data), size), choose);
    const std::string file = test::randomMenuFile(choose);
    if (!writtenBack(file, choose))
        fail("a change of a hand-written menu was refused", file);
    return 0;
}
