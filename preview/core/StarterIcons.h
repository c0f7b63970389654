#pragma once

// A starter set of item icons drawn by the program itself, so that a fresh
// installation shows pictures for the common items before the admin adds
// their own files to `items`.

#include <string>
#include <vector>

#include "preview/core/Bitmap.h"

namespace cofferon {

struct StarterIcon {
    std::string fileName;  // "<id>-<data>.bmp", as the icon lookup names it
    Picture picture;
};

// Wool in the 16 dye colours, the four undyed leather pieces, the player
// skull and a dozen common blocks and items.
std::vector<StarterIcon> starterIcons();

// Writes every starter icon into `folder`, creating it if needed and
// replacing files of the same names. Returns false with a message in `error`.
bool writeStarterIcons(const std::string& folder, std::string& error);

}  // namespace cofferon
