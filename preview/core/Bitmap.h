#pragma once

// The one picture format of the preview: a complete 32x32, 24-bit,
// uncompressed BMP file held in memory (3126 bytes), rows bottom-up, 96 bytes
// a row, pixel bytes blue, green, red. Icons, templates and the cell pictures
// all use it, so pixel work is done directly on the file bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "document/core/Rgb.h"

namespace cofferon {

using Picture = std::vector<std::uint8_t>;

inline constexpr int kIconSize = 32;
inline constexpr int kIconBitsPerPixel = 24;
inline constexpr std::size_t kIconHeaderSize = 54;
inline constexpr std::size_t kIconRowBytes = 96;
inline constexpr std::size_t kIconPixelBytes = kIconRowBytes * kIconSize;  // 3072
inline constexpr std::size_t kIconFileSize = kIconHeaderSize + kIconPixelBytes;  // 3126

// An icon's background. Pixels of exactly this colour are never dyed or glinted.
inline constexpr Rgb kSlotGrey{139, 139, 139};

// True for a picture that pixelAt/setPixel may address: at least 3126 bytes,
// "BM", pixel data at offset 54, width 32, height +32 (bottom-up), 24 bits a
// pixel, no compression.
bool isCompleteIcon(const Picture& picture);

// A complete icon with a correct header, every pixel `fill`.
Picture blankPicture(Rgb fill);

// Column x and row y (both 0..31, row 0 at the top) of a complete icon;
// anything else is a caller's error.
Rgb pixelAt(const Picture& picture, int x, int y);
void setPixel(Picture& picture, int x, int y, Rgb colour);

// Fills the part of the rectangle that lies on the picture; the drawing code
// relies on the clipping to keep shapes near the edges simple.
void fillRect(Picture& picture, int x, int y, int width, int height, Rgb colour);

// Pixel art on a 16x16 grid, one character a cell, doubled to the icon's
// 32x32. Cells whose character is '.' keep the slot grey background.
using PixelArt = std::array<std::string_view, 16>;
Picture drawPixelArt(const PixelArt& art, const std::function<Rgb(char code)>& colourOf);

}  // namespace cofferon
