#pragma once

// Menu files as people write them by hand, at random: any quoting, 2 or 4
// spaces, LF or CR LF, items named by words or numbers, flow items, lists
// in either style, comments and keys the tool does not edit; and a random
// change of the menu such a file holds, as a user makes it in the window.

#include <functional>
#include <string>

#include "document/core/WholeMenu.h"

namespace cofferon::test {

// A number below `bound`, from whatever drives the choices (a seeded
// generator, or a fuzzer's bytes).
using Choose = std::function<unsigned(unsigned bound)>;

// UTF-8 text of a menu of a few items.
std::string randomMenuFile(const Choose& choose);

// One change of the kind a user makes: a value set or cleared, a swap, an
// item added or emptied, the title or the rows. Values are ones every menu
// file holds.
void changeAtRandom(WholeMenu& menu, const Choose& choose);

}  // namespace cofferon::test
