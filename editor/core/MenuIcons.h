#pragma once

// The 16x16 pictures that the slot editor's popup menus show beside their
// entries. They are produced here as plain pixel data so that the menu code
// only has to wrap them in whatever image type the toolkit wants.

#include <array>
#include <cstdint>

namespace cofferon {

enum class MenuIcon { Chestplate, Sword, Axe, Bow, FishingRod, SpeechBubble };

// Row-major from the top-left, each pixel 0xAARRGGBB. Pictures have a fully
// transparent background (alpha 0) and only fully opaque pixels otherwise.
struct IconPixels {
    static constexpr int kSize = 16;
    std::array<std::uint32_t, 256> argb{};
};

IconPixels menuIconPixels(MenuIcon icon);

// A swatch for the colour code '0'-'9' or 'a'-'f' (upper case taken too, as the
// game does): a one-pixel grey (128,128,128) outline around a 14x14 inside in
// exactly the code's colour, all opaque. The outline keeps white and near-white
// swatches visible on a light menu. Throws std::invalid_argument for any other
// character.
IconPixels colourSwatchPixels(char code);

}  // namespace cofferon
