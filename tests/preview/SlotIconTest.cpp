#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "document/core/ItemId.h"
#include "document/core/ProgramDirectory.h"
#include "preview/core/Bitmap.h"
#include "preview/core/BuiltinPictures.h"
#include "preview/core/SlotIcon.h"

using namespace cofferon;

namespace {

constexpr Rgb kRed{255, 0, 0};

// A BMP of any size and depth, to build the pictures that
// users might drop into `items`.
Picture foreignBitmap(int width, int height, int bits)
{
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * bits / 8 + 3) / 4 * 4;
    Picture picture = blankPicture({0, 0, 0});
    picture.resize(54);
    picture.resize(54 + rowBytes * static_cast<std::size_t>(height), 0x40);
    auto put = [&picture](std::size_t at, int bytes, std::uint32_t value) {
        for (int i = 0; i < bytes; ++i, value >>= 8)
            picture[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value & 0xFF);
    };
    put(2, 4, static_cast<std::uint32_t>(picture.size()));
    put(18, 4, static_cast<std::uint32_t>(width));
    put(22, 4, static_cast<std::uint32_t>(height));
    put(28, 2, static_cast<std::uint32_t>(bits));
    return picture;
}

// First position in `picture` holding `colour`; the test fails without one.
std::pair<int, int> findPixel(const Picture& picture, Rgb colour)
{
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (pixelAt(picture, x, y) == colour)
                return {x, y};
    ADD_FAILURE() << "colour not found";
    return {0, 0};
}

class SlotIconFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::mt19937_64 random{std::random_device{}()};
        m_root = std::filesystem::temp_directory_path() / ("cofferon-icons-" + std::to_string(random()));
        m_program = m_root / "program";
        std::filesystem::create_directories(m_program / "items");
        m_previousDirectory = programDirectory();
        setProgramDirectory(m_program.string());
    }

    void TearDown() override
    {
        setProgramDirectory(m_previousDirectory);
        std::filesystem::remove_all(m_root);
    }

    void writeFile(const std::filesystem::path& path, const Picture& bytes)
    {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    void writeIcon(const std::string& name, const Picture& bytes) { writeFile(m_program / "items" / name, bytes); }

    static SlotRecord slot(std::string id, std::string color = {}, std::string enchants = {})
    {
        SlotRecord record;
        record.id = std::move(id);
        record.color = std::move(color);
        record.enchants = std::move(enchants);
        return record;
    }

    std::filesystem::path m_root;
    std::filesystem::path m_program;
    std::string m_previousDirectory;
};

}  // namespace

TEST(DyedLeather, ScalesEachShadeByTheDye)
{
    const Picture& base = leatherBaseTemplate(0);
    const Picture dyed = dyedLeatherIcon(0, {200, 100, 50});
    ASSERT_TRUE(isCompleteIcon(dyed));
    EXPECT_TRUE(std::equal(base.begin(), base.begin() + 54, dyed.begin()));

    // Worked by hand: 200*182/255 = 142.7, 100*182/255 = 71.4, 50*182/255 = 35.7.
    const auto [mx, my] = findPixel(base, {182, 182, 182});
    EXPECT_EQ(pixelAt(dyed, mx, my), (Rgb{142, 71, 35}));
    // 200*237/255 = 185.9, 100*237/255 = 92.9, 50*237/255 = 46.5.
    const auto [wx, wy] = findPixel(base, {237, 237, 237});
    EXPECT_EQ(pixelAt(dyed, wx, wy), (Rgb{185, 92, 46}));
}

TEST(DyedLeather, WhiteKeepsTheShadingAndBlackBlackensEveryPiece)
{
    for (int piece = 0; piece < kLeatherPieceCount; ++piece) {
        SCOPED_TRACE(piece);
        const Picture white = dyedLeatherIcon(piece, {255, 255, 255});
        const Picture black = dyedLeatherIcon(piece, {0, 0, 0});
        const Picture& base = leatherBaseTemplate(piece);
        const Picture& overlay = leatherOverlayTemplate(piece);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const Rgb b = pixelAt(base, x, y);
                const Rgb undyed = b == kOverlayMark ? pixelAt(overlay, x, y) : b;
                ASSERT_EQ(pixelAt(white, x, y), undyed);
                const bool dyeable = b != kSlotGrey && b != kOverlayMark;
                ASSERT_EQ(pixelAt(black, x, y), (dyeable ? Rgb{0, 0, 0} : undyed));
            }
        }
    }
    EXPECT_EQ(dyedLeatherIcon(4, kRed), missingItemPicture());
    EXPECT_EQ(dyedLeatherIcon(-1, kRed), missingItemPicture());
}

TEST(EnchantGlint, MovesEveryPixelButSlotGreyThirtyPercentTowardTheGlint)
{
    Picture picture = blankPicture({200, 100, 50});
    setPixel(picture, 3, 4, kSlotGrey);
    setPixel(picture, 20, 30, kSlotGrey);
    const Picture glinted = enchantGlint(picture);
    ASSERT_EQ(glinted.size(), picture.size());
    EXPECT_TRUE(std::equal(picture.begin(), picture.begin() + 54, glinted.begin()));

    const Picture& glint = glintPicture();
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const Rgb own = pixelAt(picture, x, y);
            if (own == kSlotGrey) {
                EXPECT_EQ(pixelAt(glinted, x, y), kSlotGrey);
                continue;
            }
            // For this colour and the glint's range the exact fraction is
            // never a whole number pushed down by rounding, so whole-number
            // arithmetic gives the expected value.
            const Rgb g = pixelAt(glint, x, y);
            const Rgb expected{static_cast<std::uint8_t>((3 * g.r + 7 * 200) / 10),
                               static_cast<std::uint8_t>((3 * g.g + 7 * 100) / 10),
                               static_cast<std::uint8_t>((3 * g.b + 7 * 50) / 10)};
            ASSERT_EQ(pixelAt(glinted, x, y), expected) << x << "," << y;
        }
    }
}

TEST(EnchantGlint, RoundsInDoublePrecisionWhereWholeNumbersWouldDiffer)
{
    // Pick a pixel where 0.3*glint + 0.7*own lands just below a whole number
    // in doubles: integer arithmetic would give one more.
    const Picture& glint = glintPicture();
    const int glintGreen = pixelAt(glint, 0, 0).g;
    int own = -1;
    for (int v = 0; v < 256 && own < 0; ++v)
        if (static_cast<int>(0.3 * glintGreen + 0.7 * v) != (3 * glintGreen + 7 * v) / 10)
            own = v;
    ASSERT_GE(own, 0) << "no rounding edge for glint green " << glintGreen;

    Picture picture = blankPicture({10, static_cast<std::uint8_t>(own), 10});
    const Rgb result = pixelAt(enchantGlint(picture), 0, 0);
    EXPECT_EQ(result.g, (3 * glintGreen + 7 * own) / 10 - 1);
}

TEST(EnchantGlint, LeavesPicturesOfOtherLayoutsUnchanged)
{
    const Picture complete = blankPicture({10, 20, 30});
    const Picture shortFile(complete.begin(), complete.begin() + 3125);
    const Picture pictures[] = {
        {},
        Picture{'B', 'M', 1, 2, 3},
        shortFile,
        foreignBitmap(16, 16, 24),
        foreignBitmap(32, 32, 32),
        foreignBitmap(64, 64, 24),
    };
    for (const Picture& picture : pictures)
        EXPECT_EQ(enchantGlint(picture), picture) << picture.size() << " bytes";
}

TEST(DyeColour, ReadsLeadingIntegersOfTheCommaPieces)
{
    EXPECT_EQ(dyeColour("255, 0, 0"), kRed);
    EXPECT_EQ(dyeColour("12, 34, 56"), (Rgb{12, 34, 56}));
    EXPECT_EQ(dyeColour("300, 0, 0"), (Rgb{44, 0, 0}));  // low 8 bits
    EXPECT_EQ(dyeColour("1,2,3,4"), (Rgb{1, 2, 3}));
    EXPECT_EQ(dyeColour(" 7x, abc,  9 "), (Rgb{7, 0, 9}));
    EXPECT_EQ(dyeColour("5, 6"), (Rgb{5, 6, 0}));
    EXPECT_EQ(dyeColour(""), (Rgb{0, 0, 0}));
}

TEST_F(SlotIconFiles, MissingIconFileGivesTheCheckerboardWithoutGlint)
{
    writeIcon("301-0.bmp", blankPicture({1, 2, 3}));
    EXPECT_EQ(computeSlotIcon(slot("5")), missingItemPicture());
    // The data value picks the file: 301-0 exists but 301-2 does not.
    EXPECT_EQ(computeSlotIcon(slot("301:2", "255, 0, 0", "sharpness, 1")), missingItemPicture());
    EXPECT_EQ(computeSlotIcon(slot("not an id", "", "x")), missingItemPicture());
}

TEST_F(SlotIconFiles, IconFileIsShownAsReadWhenNotDyedOrEnchanted)
{
    // Not in the icon layout and longer than an icon: still shown whole.
    Picture odd = foreignBitmap(40, 40, 24);
    odd[100] = 7;
    writeIcon("7-0.bmp", odd);
    EXPECT_EQ(computeSlotIcon(slot("7")), odd);
    // The glint cannot address it, so it stays as it is.
    EXPECT_EQ(computeSlotIcon(slot("7", "", "sharpness, 1")), odd);

    Picture leggings = blankPicture({10, 20, 30});
    writeIcon("300-0.bmp", leggings);
    EXPECT_EQ(computeSlotIcon(slot("300")), leggings);

    // The text as typed names the file, not the numbers.
    writeIcon("035-1.bmp", blankPicture({90, 90, 90}));
    EXPECT_EQ(computeSlotIcon(slot("035:1")), blankPicture({90, 90, 90}));
}

TEST_F(SlotIconFiles, LeatherWithAColourIsPaintedAndThenGlinted)
{
    // The file only has to exist; its bytes are not used.
    writeIcon("298-0.bmp", Picture{'x'});
    writeIcon("298-5.bmp", Picture{'y'});
    writeIcon("299-0.bmp", Picture{'z'});
    writeIcon("301-0.bmp", blankPicture({1, 1, 1}));

    const Picture redCap = computeSlotIcon(slot("298", "255, 0, 0"));
    EXPECT_EQ(redCap, dyedLeatherIcon(0, kRed));
    EXPECT_EQ(computeSlotIcon(slot("298:5", "255, 0, 0")), redCap);
    // The crown keeps its undyed brown, the background its grey.
    const auto [mx, my] = findPixel(leatherBaseTemplate(0), kOverlayMark);
    EXPECT_EQ(pixelAt(redCap, mx, my), pixelAt(leatherOverlayTemplate(0), mx, my));
    EXPECT_EQ(pixelAt(redCap, 0, 0), kSlotGrey);

    // 300 reads as 44: 44*182/255 = 31.4.
    const Picture tunic = computeSlotIcon(slot("299", "300, 0, 0"));
    const auto [tx, ty] = findPixel(leatherBaseTemplate(1), {182, 182, 182});
    EXPECT_EQ(pixelAt(tunic, tx, ty), (Rgb{31, 0, 0}));

    EXPECT_EQ(computeSlotIcon(slot("301", "0, 0, 255", "protection, 4")),
              enchantGlint(dyedLeatherIcon(3, {0, 0, 255})));
}

TEST_F(SlotIconFiles, EnchantedIconFileGetsTheGlintWithTrailingBytesKept)
{
    Picture icon = blankPicture({60, 120, 180});
    icon.push_back(0xAB);  // some writers pad the file
    writeIcon("264-0.bmp", icon);
    const Picture result = computeSlotIcon(slot("264", "255, 0, 0", "unbreaking, 3"));
    ASSERT_EQ(result.size(), icon.size());
    EXPECT_EQ(result.back(), 0xAB);
    EXPECT_EQ(result, enchantGlint(icon));
    EXPECT_NE(result, icon);
}

TEST_F(SlotIconFiles, IdTextNeverReadsOutsideTheIconFolder)
{
    const Picture secret = blankPicture({1, 2, 3});
    writeFile(m_program / "secret-0.bmp", secret);
    writeFile(m_program / "secret.bmp", secret);
    std::filesystem::create_directories(m_program / "items" / "7");
    std::filesystem::create_directories(m_program / "items" / "7-0");

    for (const std::string id : {"7/../../secret", "7:0/../../secret"}) {
        SCOPED_TRACE(id);
        const std::optional<ItemIdParts> parts = parseItemId(id);
        ASSERT_TRUE(parts.has_value());
        // Without the guard this path really reaches the file outside `items`.
        ASSERT_TRUE(std::filesystem::exists(programFile("items/" + parts->iconName)));
        EXPECT_EQ(computeSlotIcon(slot(id)), missingItemPicture());
        EXPECT_EQ(computeSlotIcon(slot(id, "", "x")), missingItemPicture());
    }

    // Backslashes and ".." are refused too, even where the name exists here.
    writeIcon("7\\x-0.bmp", secret);
    writeIcon("7..-0.bmp", secret);
    EXPECT_EQ(computeSlotIcon(slot("7\\x")), missingItemPicture());
    EXPECT_EQ(computeSlotIcon(slot("7..")), missingItemPicture());
}
