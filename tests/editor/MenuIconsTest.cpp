#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "editor/core/MenuIcons.h"

namespace cofferon {
namespace {

constexpr int kSize = IconPixels::kSize;
constexpr MenuIcon kArtIcons[] = {MenuIcon::Chestplate, MenuIcon::Sword,      MenuIcon::Axe,
                                  MenuIcon::Bow,        MenuIcon::FishingRod, MenuIcon::SpeechBubble};

std::uint32_t at(const IconPixels& icon, int x, int y)
{
    return icon.argb[static_cast<std::size_t>(y * kSize + x)];
}

bool anyOpaqueIn4x4(const IconPixels& icon, int left, int top)
{
    for (int i = 0; i < 16; ++i) {
        if (at(icon, left + i % 4, top + i / 4) != 0)
            return true;
    }
    return false;
}

// Opaque pixels reachable from (x, y) through the eight neighbours; each is counted once.
int floodFrom(const IconPixels& icon, int x, int y, std::vector<bool>& seen)
{
    if (x < 0 || y < 0 || x >= kSize || y >= kSize || seen[y * kSize + x] || at(icon, x, y) == 0)
        return 0;
    seen[y * kSize + x] = true;
    int reached = 1;
    for (int d = 0; d < 9; ++d)
        reached += floodFrom(icon, x + d % 3 - 1, y + d / 3 - 1, seen);
    return reached;
}

TEST(MenuIcons, SwatchesAreTheCodeColourInsideAGreyOutline)
{
    const std::string_view codes = "0123456789abcdef";
    const std::uint32_t rgb[] = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xFFAA00, 0xAAAAAA,
                                 0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};
    for (std::size_t i = 0; i < codes.size(); ++i) {
        SCOPED_TRACE(codes[i]);
        const IconPixels swatch = colourSwatchPixels(codes[i]);
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                const bool edge = x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1;
                ASSERT_EQ(at(swatch, x, y), edge ? 0xFF808080u : 0xFF000000u | rgb[i]) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(colourSwatchPixels('A').argb, colourSwatchPixels('a').argb);
    EXPECT_EQ(colourSwatchPixels('F').argb, colourSwatchPixels('f').argb);
    for (char bad : {'g', 'G', 'r', '&', ' ', '\0', '/', ':'})
        EXPECT_THROW(colourSwatchPixels(bad), std::invalid_argument) << int(bad);
}

TEST(MenuIcons, PicturesAreSingleOpaqueShapesInsideATransparentBorder)
{
    for (MenuIcon icon : kArtIcons) {
        SCOPED_TRACE(static_cast<int>(icon));
        const IconPixels pixels = menuIconPixels(icon);
        int count = 0, first = -1;
        for (int i = 0; i < kSize * kSize; ++i) {
            const int x = i % kSize, y = i / kSize;
            const std::uint32_t p = at(pixels, x, y);
            // Half-transparent or coloured-transparent pixels would fringe on some menu backgrounds.
            ASSERT_TRUE(p == 0 || (p >> 24) == 0xFF) << std::hex << p << std::dec << " at " << x << "," << y;
            if (x == 0 || y == 0 || x == kSize - 1 || y == kSize - 1) {
                ASSERT_EQ(p, 0u) << "border pixel " << x << "," << y;
            }
            if (p != 0 && count++ == 0)
                first = i;
        }
        EXPECT_GE(count, 20);
        EXPECT_LE(count, 200);
        // A mistyped character away from the drawing shows up as a second piece.
        std::vector<bool> seen(kSize * kSize);
        EXPECT_EQ(floodFrom(pixels, first % kSize, first / kSize, seen), count);
    }
    EXPECT_THROW(menuIconPixels(static_cast<MenuIcon>(99)), std::invalid_argument);
}

TEST(MenuIcons, PicturesDifferAndKeepTheirShapes)
{
    std::set<std::vector<std::uint32_t>> distinct;
    for (MenuIcon icon : kArtIcons) {
        const IconPixels pixels = menuIconPixels(icon);
        distinct.emplace(pixels.argb.begin(), pixels.argb.end());
    }
    EXPECT_EQ(distinct.size(), std::size(kArtIcons));

    // Body armour is left-right symmetric; the bow is drawn mirror-symmetric about its diagonal.
    const IconPixels chest = menuIconPixels(MenuIcon::Chestplate);
    const IconPixels bow = menuIconPixels(MenuIcon::Bow);
    for (int i = 0; i < kSize * kSize; ++i) {
        const int x = i % kSize, y = i / kSize;
        EXPECT_EQ(at(chest, x, y) != 0, at(chest, kSize - 1 - x, y) != 0) << x << "," << y;
        EXPECT_EQ(at(bow, x, y), at(bow, y, x)) << x << "," << y;
    }

    // The long tools run from a lower-left handle to an upper-right end; the sword is nothing but that diagonal.
    for (MenuIcon icon : {MenuIcon::Sword, MenuIcon::Axe, MenuIcon::FishingRod}) {
        SCOPED_TRACE(static_cast<int>(icon));
        EXPECT_TRUE(anyOpaqueIn4x4(menuIconPixels(icon), 0, kSize - 4));
        EXPECT_TRUE(anyOpaqueIn4x4(menuIconPixels(icon), kSize - 4, 0));
    }
    EXPECT_FALSE(anyOpaqueIn4x4(menuIconPixels(MenuIcon::Sword), 0, 0));
    EXPECT_FALSE(anyOpaqueIn4x4(menuIconPixels(MenuIcon::Sword), kSize - 4, kSize - 4));
}

}  // namespace
}  // namespace cofferon
