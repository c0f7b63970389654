#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "app/core/AppIcon.h"

using namespace cofferon;

namespace {

using Pixel = std::tuple<int, int, int, int>;

Pixel pixelOf(const RgbaImage& image, int x, int y)
{
    const std::uint8_t* p = &image.pixels[(static_cast<std::size_t>(y) * image.size + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

}  // namespace

// Every size the desktop asks for is a whole chest: a clear margin, a body
// without holes, the same left and right, and the gold latch in the middle.
TEST(AppIcon, EverySizeIsAWholeSymmetricChest)
{
    constexpr Pixel kClear{0, 0, 0, 0};
    constexpr Pixel kGold{242, 196, 49, 255};
    for (const int size : kAppIconSizes) {
        SCOPED_TRACE(size);
        const RgbaImage icon = chestIcon(size);
        ASSERT_EQ(icon.size, size);
        ASSERT_EQ(icon.pixels.size(), static_cast<std::size_t>(size) * size * 4);

        std::set<Pixel> colours;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const Pixel pixel = pixelOf(icon, x, y);
                ASSERT_TRUE(std::get<3>(pixel) == 0 || std::get<3>(pixel) == 255) << x << "," << y;
                if (std::get<3>(pixel) == 0) {
                    ASSERT_EQ(pixel, kClear) << x << "," << y;
                }
                ASSERT_EQ(pixel, pixelOf(icon, size - 1 - x, y)) << x << "," << y;
                colours.insert(pixel);
            }
        }
        EXPECT_EQ(pixelOf(icon, 0, 0), kClear);
        EXPECT_EQ(pixelOf(icon, size - 1, size - 1), kClear);
        EXPECT_EQ(pixelOf(icon, 0, size / 2), kClear);

        // The body, from the lid's seam to the bottom edge, is opaque
        // across, and the latch sits on the centre line.
        for (int y = size / 2; y < size * 15 / 16 - 1; ++y)
            for (int x = size / 8; x < size - size / 8; ++x)
                ASSERT_EQ(std::get<3>(pixelOf(icon, x, y)), 255) << x << "," << y;
        EXPECT_TRUE(colours.count(kGold));
        bool latchOnCentre = false;
        for (int y = 0; y < size; ++y)
            latchOnCentre = latchOnCentre || pixelOf(icon, size / 2 - 2, y) == kGold;
        EXPECT_TRUE(latchOnCentre);
        EXPECT_GE(colours.size(), 6u);  // outline, wood, lid, iron, gold, clear
    }
    EXPECT_EQ(chestIcon(0).pixels.size(), 0u);
}
