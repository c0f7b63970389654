#pragma once

// Writes a menu onto the menu file it was read from, as an edit of that
// file's own text: only the values that differ from what the file holds are
// rewritten, where they stand and in their own quoting; every comment,
// unknown key, item name, blank line, indentation, line end, encoding and
// byte-order mark stays. The result is read back before it is given out: a
// text that would read otherwise than the menu is never written.

#include <array>
#include <cstdint>
#include <variant>
#include <vector>

#include "document/core/WholeMenu.h"
#include "menufile/core/MenuImport.h"
#include "menufile/core/MenuYamlWriter.h"

namespace cofferon {

// For each slot (1..54) of the menu to write, the item block of the file
// read (counted from 1 in its MenuPlaces::blocks) that holds its item; 0
// for an item the file gains as a new block.
using BlockClaims = std::array<std::uint32_t, kSlotCount + 1>;

// Each slot keeps the block the import put there, as a project written
// onto a menu file is matched with it.
BlockClaims claimsByPosition(const MenuPlaces& places);

// Each slot keeps the block its record came from (SlotRecord::origin),
// wherever the slot has moved since; a record of no block, or of one that
// another slot claimed first, is a new item.
BlockClaims claimsByOrigin(const SlotTable& slots, const MenuPlaces& places);

struct MenuOnto {
    ImportedMenu readBack;  // the file to write as the import reads it, with its text
    // The whole file to write.
    const std::string& bytes() const { return readBack.text->bytes; }
    // For each block of the file read (counted from 1; [0] is unused): its
    // number among the blocks of the file written, or 0 when it is gone.
    std::vector<std::uint32_t> blockNumbers;
};

// `read` is the file as importMenuText read it. `encoding` is the encoding to
// write: the file's own keeps its bytes; the other converts the whole text
// (and drops a byte-order mark). The refusal is the export's for a value the
// user changed that the file cannot hold, or "无法在原文件上修改,…" with why.
std::variant<MenuOnto, Refusal> writeMenuOnto(const ImportedMenu& read, const WholeMenu& menu,
                                              const BlockClaims& claims, OutputEncoding encoding);

// The menu of a file as the window edits it: what the import took, each
// record with its block as origin, and the items below the menu's rows in
// the rows it hides (one for each slot), so that they stay in the file.
WholeMenu menuToEdit(const ImportedMenu& read);

// The origins of the records of `slots` as `written` numbers its blocks: a
// slot holds the block the import put there (or, below the menu's rows,
// the block whose position is that slot).
void stampOrigins(SlotTable& slots, const MenuPlaces& written);

}  // namespace cofferon
