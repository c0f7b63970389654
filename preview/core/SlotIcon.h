#pragma once

// The picture of a slot's cell: the item's icon file, leather armour painted
// in its dye colour, and the glint of an enchanted item.

#include <string_view>

#include "document/core/SlotRecord.h"
#include "preview/core/Bitmap.h"

namespace cofferon {

// Leather piece 0..3 (cap, tunic, trousers, boots) dyed: every shaded pixel
// of the base template scaled by dye/255, marks taken from the overlay,
// slot grey kept. A piece outside 0..3 gives the missing-item picture.
Picture dyedLeatherIcon(int piece, Rgb dye);

// Every pixel that is not slot grey moved 30 % of the way toward the glint
// picture. A picture that is not a complete icon (users drop their own files
// into `items`) is returned unchanged.
Picture enchantGlint(const Picture& picture);

// The slot's `color` text, "r, g, b": each piece read as a leading integer,
// low 8 bits kept; missing pieces are 0.
Rgb dyeColour(std::string_view colorText);

// The cell picture of a slot whose id is a valid item id (an invalid one, or
// one that could name a file outside the icon folders, gets the missing-item
// picture). The icon file is the first the icon folders hold.
// Reads the icon file each time; changes nothing.
Picture computeSlotIcon(const SlotRecord& slot);

}  // namespace cofferon
