#pragma once

// The program's own icon, a small wooden chest with a gold latch, drawn at
// any size: by the build into PNG files for the desktop, and by the program
// for its windows.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace cofferon {

// The name the desktop knows the program and its icon by.
inline constexpr std::string_view kAppIconName = "cofferon-generator";

// The square sizes desktops ask for (the hicolor theme's folders).
inline constexpr std::array<int, 7> kAppIconSizes{16, 24, 32, 48, 64, 128, 256};

struct RgbaImage {
    int size = 0;
    // size × size pixels, rows from the top, four bytes each: red, green,
    // blue, alpha. Every pixel is either opaque or fully transparent.
    std::vector<std::uint8_t> pixels;
};

// A size below 1 gives an empty image.
RgbaImage chestIcon(int size);

}  // namespace cofferon
