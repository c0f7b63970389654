#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

#include "preview/core/Bitmap.h"
#include "preview/core/BuiltinPictures.h"
#include "preview/core/StarterIcons.h"

using namespace cofferon;

namespace {

std::uint32_t headerField(const Picture& picture, std::size_t offset, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | picture[offset + static_cast<std::size_t>(i)];
    return value;
}

void setHeaderField(Picture& picture, std::size_t offset, int bytes, std::uint32_t value)
{
    for (int i = 0; i < bytes; ++i, value >>= 8)
        picture[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value & 0xFF);
}

struct Box {
    int left, top, right, bottom;  // inclusive
    bool contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

bool isGrey(Rgb c)
{
    return c.r == c.g && c.g == c.b;
}

}  // namespace

TEST(Bitmap, BlankPictureHasACompleteHeader)
{
    const Picture picture = blankPicture({1, 2, 3});
    ASSERT_EQ(picture.size(), 3126u);
    EXPECT_EQ(picture[0], 'B');
    EXPECT_EQ(picture[1], 'M');
    EXPECT_EQ(headerField(picture, 2, 4), 3126u);  // file size
    EXPECT_EQ(headerField(picture, 10, 4), 54u);  // pixel data offset
    EXPECT_EQ(headerField(picture, 14, 4), 40u);  // info header size
    EXPECT_EQ(headerField(picture, 18, 4), 32u);
    EXPECT_EQ(headerField(picture, 22, 4), 32u);
    EXPECT_EQ(headerField(picture, 26, 2), 1u);  // planes
    EXPECT_EQ(headerField(picture, 28, 2), 24u);
    EXPECT_EQ(headerField(picture, 30, 4), 0u);  // uncompressed
    EXPECT_EQ(headerField(picture, 34, 4), 3072u);  // image size
    EXPECT_TRUE(isCompleteIcon(picture));
    // Every pixel stored blue, green, red.
    for (std::size_t at = 54; at < picture.size(); at += 3) {
        ASSERT_EQ(picture[at], 3);
        ASSERT_EQ(picture[at + 1], 2);
        ASSERT_EQ(picture[at + 2], 1);
    }
}

TEST(Bitmap, PixelsAreAddressedBottomUpInBlueGreenRedOrder)
{
    Picture picture = blankPicture({0, 0, 0});
    setPixel(picture, 5, 0, {10, 20, 30});  // top row is stored last
    setPixel(picture, 0, 31, {40, 50, 60});  // bottom row is stored first
    setPixel(picture, 31, 7, {70, 80, 90});

    const std::size_t top = 54 + 31 * 96 + 5 * 3;
    EXPECT_EQ(picture[top], 30);
    EXPECT_EQ(picture[top + 1], 20);
    EXPECT_EQ(picture[top + 2], 10);
    EXPECT_EQ(picture[54], 60);
    EXPECT_EQ(picture[55], 50);
    EXPECT_EQ(picture[56], 40);
    const std::size_t right = 54 + 24 * 96 + 31 * 3;
    EXPECT_EQ(picture[right + 2], 70);

    EXPECT_EQ(pixelAt(picture, 5, 0), (Rgb{10, 20, 30}));
    EXPECT_EQ(pixelAt(picture, 0, 31), (Rgb{40, 50, 60}));
    EXPECT_EQ(pixelAt(picture, 31, 7), (Rgb{70, 80, 90}));
    EXPECT_EQ(pixelAt(picture, 6, 0), (Rgb{0, 0, 0}));
}

TEST(Bitmap, FillRectClipsToThePicture)
{
    Picture picture = blankPicture({0, 0, 0});
    fillRect(picture, 30, -2, 5, 4, {9, 9, 9});
    int filled = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            filled += pixelAt(picture, x, y) == Rgb{9, 9, 9};
    EXPECT_EQ(filled, 4);  // columns 30-31, rows 0-1
    EXPECT_EQ(pixelAt(picture, 31, 1), (Rgb{9, 9, 9}));
    EXPECT_EQ(picture.size(), 3126u);
}

TEST(Bitmap, CompleteIconCheckRejectsEveryOtherLayout)
{
    const Picture good = blankPicture(kSlotGrey);
    Picture longer = good;
    longer.resize(4000, 0);
    EXPECT_TRUE(isCompleteIcon(longer));

    EXPECT_FALSE(isCompleteIcon({}));
    EXPECT_FALSE(isCompleteIcon(Picture(good.begin(), good.end() - 1)));

    struct Change {
        const char* what;
        std::size_t offset;
        int bytes;
        std::uint32_t value;
    };
    const Change changes[] = {
        {"signature", 0, 2, 0x4142},
        {"pixel offset", 10, 4, 138},
        {"width", 18, 4, 16},
        {"height", 22, 4, 16},
        {"top-down height", 22, 4, static_cast<std::uint32_t>(-32)},
        {"bit count", 28, 2, 32},
        {"compression", 30, 4, 3},
    };
    for (const Change& change : changes) {
        Picture bad = good;
        setHeaderField(bad, change.offset, change.bytes, change.value);
        EXPECT_FALSE(isCompleteIcon(bad)) << change.what;
    }
}

TEST(BuiltinPictures, MissingItemIsTheMagentaBlackCheckerboard)
{
    const Picture& picture = missingItemPicture();
    ASSERT_TRUE(isCompleteIcon(picture));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool magenta = (x < 16) == (y < 16);
            ASSERT_EQ(pixelAt(picture, x, y), (magenta ? Rgb{255, 0, 255} : Rgb{0, 0, 0})) << x << "," << y;
        }
    }
}

TEST(BuiltinPictures, RedboxIsAOnePixelFrameOnMagenta)
{
    const Picture& picture = redboxPicture();
    ASSERT_TRUE(isCompleteIcon(picture));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool edge = x == 0 || y == 0 || x == 31 || y == 31;
            ASSERT_EQ(pixelAt(picture, x, y), (edge ? Rgb{237, 28, 36} : Rgb{255, 0, 255})) << x << "," << y;
        }
    }
}

TEST(BuiltinPictures, GlintIsMagentaBandsRunningDownRight)
{
    const Picture& picture = glintPicture();
    ASSERT_TRUE(isCompleteIcon(picture));
    std::set<int> greens;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const Rgb c = pixelAt(picture, x, y);
            EXPECT_GE(c.r, 240);
            EXPECT_GE(c.b, 240);
            EXPECT_GE(c.g, 41);
            EXPECT_LE(c.g, 200);
            greens.insert(c.g);
            // One pixel further right on the next row: the same shade.
            if (x < 31 && y < 31) {
                EXPECT_EQ(pixelAt(picture, x + 1, y + 1), c) << x << "," << y;
            }
        }
    }
    // Bright and dark bands with smooth edges, not a flat fill.
    EXPECT_GE(greens.size(), 20u);
    EXPECT_EQ(*greens.begin(), 41);
    EXPECT_GE(*greens.rbegin(), 180);
}

TEST(BuiltinPictures, LeatherTemplatesKeepTheDyeConventions)
{
    struct Expected {
        int markCount;
        Box markBox;
    };
    const Expected expected[kLeatherPieceCount] = {
        {64, {12, 6, 19, 15}},  // cap crown
        {0, {0, 0, -1, -1}},  // the tunic has no undyed part
        {96, {6, 14, 25, 21}},  // trouser knees
        {144, {2, 18, 29, 25}},  // boot feet
    };
    const std::set<int> greys = {237, 182, 161, 83, 53};
    const std::set<std::tuple<int, int, int>> browns = {{33, 21, 13}, {52, 33, 21}, {114, 72, 46}, {149, 94, 59}};

    for (int piece = 0; piece < kLeatherPieceCount; ++piece) {
        SCOPED_TRACE(piece);
        const Picture& base = leatherBaseTemplate(piece);
        const Picture& overlay = leatherOverlayTemplate(piece);
        ASSERT_TRUE(isCompleteIcon(base));
        ASSERT_TRUE(isCompleteIcon(overlay));
        EXPECT_TRUE(std::equal(base.begin(), base.begin() + 54, overlay.begin()));

        int marks = 0;
        int shaded = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const Rgb b = pixelAt(base, x, y);
                const Rgb o = pixelAt(overlay, x, y);
                if (b == kOverlayMark) {
                    ++marks;
                    EXPECT_TRUE(expected[piece].markBox.contains(x, y)) << x << "," << y;
                    EXPECT_TRUE(browns.count({o.r, o.g, o.b})) << x << "," << y;
                    continue;
                }
                EXPECT_EQ(o, b) << "overlay differs outside the marks at " << x << "," << y;
                if (b == kSlotGrey)
                    continue;
                ++shaded;
                const bool capOutline = piece == 0 && b == Rgb{7, 4, 3};
                EXPECT_TRUE(capOutline || (isGrey(b) && greys.count(b.r)))
                    << int(b.r) << "," << int(b.g) << "," << int(b.b) << " at " << x << "," << y;
            }
        }
        EXPECT_EQ(marks, expected[piece].markCount);
        EXPECT_GE(shaded, 150) << "too little armour to see";
        // The background reaches the corners.
        EXPECT_EQ(pixelAt(base, 0, 0), kSlotGrey);
        EXPECT_EQ(pixelAt(base, 31, 31), kSlotGrey);
    }
    EXPECT_EQ(leatherOverlayTemplate(1), leatherBaseTemplate(1));
}

TEST(StarterIcons, CoverTheCommonItemsAsCompleteIcons)
{
    const std::vector<StarterIcon> icons = starterIcons();
    std::set<std::string> names;
    for (const StarterIcon& icon : icons) {
        EXPECT_TRUE(isCompleteIcon(icon.picture)) << icon.fileName;
        EXPECT_EQ(icon.picture.size(), 3126u) << icon.fileName;
        EXPECT_EQ(pixelAt(icon.picture, 0, 0), kSlotGrey) << icon.fileName;
        EXPECT_NE(icon.picture, blankPicture(kSlotGrey)) << icon.fileName;
        EXPECT_TRUE(names.insert(icon.fileName).second) << "twice: " << icon.fileName;
    }
    for (int data = 0; data < 16; ++data)
        EXPECT_TRUE(names.count("35-" + std::to_string(data) + ".bmp")) << data;
    for (const char* name : {"298-0.bmp", "299-0.bmp", "300-0.bmp", "301-0.bmp", "397-3.bmp", "1-0.bmp", "2-0.bmp",
                             "3-0.bmp", "4-0.bmp", "5-0.bmp", "264-0.bmp", "265-0.bmp", "266-0.bmp", "339-0.bmp",
                             "345-0.bmp", "347-0.bmp", "388-0.bmp", "399-0.bmp"})
        EXPECT_TRUE(names.count(name)) << name;

    // The sixteen wool colours must be told apart: compare the centres of the top faces.
    std::set<std::tuple<int, int, int>> woolTops;
    for (const StarterIcon& icon : icons) {
        if (icon.fileName.rfind("35-", 0) == 0) {
            const Rgb c = pixelAt(icon.picture, 16, 8);
            woolTops.insert({c.r / 8, c.g / 8, c.b / 8});
        }
    }
    EXPECT_EQ(woolTops.size(), 16u);
}

TEST(StarterIcons, WritesEveryIconIntoTheFolder)
{
    std::mt19937_64 random{std::random_device{}()};
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("cofferon-starter-" + std::to_string(random()));
    const std::filesystem::path folder = root / "nested" / "items";

    std::string error;
    ASSERT_TRUE(writeStarterIcons(folder.string(), error)) << error;
    const std::vector<StarterIcon> icons = starterIcons();
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files += entry.is_regular_file();
    EXPECT_EQ(files, icons.size());
    for (const StarterIcon& icon : icons) {
        std::ifstream in(folder / icon.fileName, std::ios::binary);
        const Picture written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(written, icon.picture) << icon.fileName;
    }

    // A plain file where the folder should be is reported, not ignored.
    const std::filesystem::path blocker = root / "blocker";
    std::ofstream(blocker) << "x";
    EXPECT_FALSE(writeStarterIcons(blocker.string(), error));
    EXPECT_FALSE(error.empty());

    std::filesystem::remove_all(root);
}
