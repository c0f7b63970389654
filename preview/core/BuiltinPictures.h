#pragma once

// Pictures the program draws itself, all complete icons built once on first use.

#include "preview/core/Bitmap.h"

namespace cofferon {

// Pixels of the leather base templates that the dye must not touch; the
// overlay template holds the undyed leather for them.
inline constexpr Rgb kOverlayMark{255, 0, 0};

inline constexpr int kLeatherPieceCount = 4;  // cap, tunic, trousers, boots

// Shown for an item without an icon file: a 2x2 checkerboard of 16x16
// squares, magenta at the upper left and lower right, black elsewhere.
const Picture& missingItemPicture();

// Grey-scale leather armour on slot grey, piece 0..3 (cap, tunic, trousers,
// boots). Bases 0, 2 and 3 mark their undyed parts with kOverlayMark.
const Picture& leatherBaseTemplate(int piece);
// The base with undyed brown leather at the marks. The tunic has no marks, so
// piece 1 gives its base.
const Picture& leatherOverlayTemplate(int piece);

// Magenta bands running down-right at 45 degrees, blended over enchanted items.
const Picture& glintPicture();

// The selection frame: a 1-pixel (237, 28, 36) border on magenta, which is
// the frame's transparent colour.
const Picture& redboxPicture();

inline constexpr Rgb kRedboxFrame{237, 28, 36};
inline constexpr Rgb kRedboxTransparent{255, 0, 255};

}  // namespace cofferon
