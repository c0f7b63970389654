#include "editor/core/MenuIcons.h"

#include <cstddef>
#include <stdexcept>
#include <string_view>

namespace cofferon {

namespace {

constexpr std::uint32_t kTransparent = 0x00000000;

struct Ink {
    char key;
    std::uint32_t argb;
};

using PixelMap = std::array<std::string_view, IconPixels::kSize>;

// Evaluated at compile time for every picture below, so a row of the wrong
// length or a character missing from the palette stops the build instead of
// showing up as a stray pixel in a menu.
template <std::size_t N>
constexpr IconPixels paint(const PixelMap& rows, const std::array<Ink, N>& palette)
{
    IconPixels pixels;
    for (std::size_t y = 0; y < rows.size(); ++y) {
        if (rows[y].size() != IconPixels::kSize)
            throw std::logic_error("icon row is not 16 pixels wide");
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const char key = rows[y][x];
            std::uint32_t colour = 0;
            bool found = key == '.';
            for (const Ink& ink : palette) {
                if (ink.key == key) {
                    colour = ink.argb;
                    found = true;
                }
            }
            if (!found)
                throw std::logic_error("icon uses a character outside its palette");
            pixels.argb[y * IconPixels::kSize + x] = key == '.' ? kTransparent : colour;
        }
    }
    return pixels;
}

// Shared by several pictures so the menu looks like one set.
constexpr std::uint32_t kOutline = 0xFF2B2B2B;
constexpr std::uint32_t kWoodLight = 0xFFB08850;
constexpr std::uint32_t kWood = 0xFF8A6233;
constexpr std::uint32_t kWoodDark = 0xFF5C3F1E;
constexpr std::uint32_t kIronLight = 0xFFE6E6E6;
constexpr std::uint32_t kIron = 0xFFB4B4B4;
constexpr std::uint32_t kIronDark = 0xFF7C7C7C;

constexpr IconPixels kChestplate = paint(
    PixelMap{
        "................",
        ".oooo......oooo.",
        ".ollgo....oggdo.",
        ".ollggoooogggdo.",
        ".ollgggggggggdo.",
        ".olggggggggggdo.",
        ".ooolggggggdooo.",
        "...olggggggdo...",
        "...olggggggdo...",
        "...olggggggdo...",
        "...oddddddddo...",
        "...olggggggdo...",
        "...olggggggdo...",
        "...olggggggdo...",
        "...oooooooooo...",
        "................",
    },
    std::array{Ink{'o', kOutline}, Ink{'l', kIronLight}, Ink{'g', kIron}, Ink{'d', kIronDark}});

constexpr IconPixels kSword = paint(
    PixelMap{
        "................",
        "............ooo.",
        "...........olko.",
        "..........olkgo.",
        ".........olkgo..",
        "...o....olkgo...",
        "..oyoo.olkgo....",
        "...oyYolkgo.....",
        "....oyYooo......",
        ".....oyYo.......",
        "....owoyYo......",
        "...owo.oyo......",
        "..owo...oyo.....",
        ".oyo.....o......",
        "..o.............",
        "................",
    },
    std::array{Ink{'o', kOutline}, Ink{'l', kIronLight}, Ink{'k', kIron}, Ink{'g', kIronDark}, Ink{'w', kWood},
               Ink{'y', 0xFFC9A227}, Ink{'Y', 0xFFE8C84A}});

// The head is bearded, wider at the edge than at the handle, so that it does
// not read as a cleaver or a spoon at menu size.
constexpr IconPixels kAxe = paint(
    PixelMap{
        "................",
        "......oo........",
        ".....olko...oo..",
        "....ollkko.owdo.",
        "...ollkkkoowdo..",
        "..ollkkkkgwdo...",
        "..olkkkkgwdo....",
        ".ollkkkgwdo.....",
        ".olkkoowdo......",
        ".olooowdo.......",
        "..o.owdo........",
        "...owdo.........",
        "..owdo..........",
        ".owoo...........",
        "..o.............",
        "................",
    },
    std::array{Ink{'o', kOutline}, Ink{'l', kIronLight}, Ink{'k', kIron}, Ink{'g', kIronDark}, Ink{'w', kWood},
               Ink{'d', kWoodDark}});

// Mirror-symmetric about the main diagonal; the string is mid grey rather
// than white so that it still shows on a white menu.
constexpr IconPixels kBow = paint(
    PixelMap{
        "................",
        ".........ooooo..",
        ".......oowwwwwo.",
        ".....oowwwwooo..",
        "....oggwooo.s...",
        "...oggwo...s....",
        "...ogwo...s.....",
        "..owwo...s......",
        "..owo...s.......",
        ".owwo..s........",
        ".owwo.s.........",
        ".owo.s..........",
        ".owos...........",
        ".owo............",
        "..o.............",
        "................",
    },
    std::array{Ink{'o', kWoodDark}, Ink{'w', kWoodLight}, Ink{'g', kWoodDark}, Ink{'s', 0xFFA8A8A8}});

// The bobber carries its own outline because its white half would vanish on
// a white menu otherwise.
constexpr IconPixels kFishingRod = paint(
    PixelMap{
        "................",
        "................",
        "...........ws...",
        "..........wds...",
        ".........wd.s...",
        "........wd..s...",
        ".......wd...s...",
        "......wd....s...",
        ".....wd....oso..",
        "....wd....orrro.",
        "...hH.....oxxxo.",
        "..hH.......ooo..",
        ".hH.........k...",
        ".H........k.k...",
        "...........kk...",
        "................",
    },
    std::array{Ink{'o', kOutline}, Ink{'w', kWoodLight}, Ink{'d', kWood}, Ink{'h', kWoodDark}, Ink{'H', 0xFF3E2A14},
               Ink{'s', 0xFF9A9A9A}, Ink{'r', 0xFFD03030}, Ink{'x', 0xFFF4F4F4}, Ink{'k', kIronDark}});

constexpr IconPixels kSpeechBubble = paint(
    PixelMap{
        "................",
        "................",
        "...oooooooooo...",
        "..owwwwwwwwwwo..",
        ".owwwwwwwwwwwwo.",
        ".owwkkwkkwkkwwo.",
        ".owwkkwkkwkkwwo.",
        ".owwwwwwwwwwwwo.",
        "..owwwwwwwwwwo..",
        "...owwwoooooo...",
        "...owwo.........",
        "...owo..........",
        "...oo...........",
        "................",
        "................",
        "................",
    },
    std::array{Ink{'o', kOutline}, Ink{'w', 0xFFFFFFFF}, Ink{'k', kOutline}});

constexpr std::uint32_t kSwatchOutline = 0xFF808080;

std::uint32_t colourCodeRgb(char code)
{
    // The game's sixteen text colours, indexed by the code's hex value.
    constexpr std::array<std::uint32_t, 16> kRgb = {
        0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xFFAA00, 0xAAAAAA,
        0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF,
    };
    if (code >= '0' && code <= '9')
        return kRgb[static_cast<std::size_t>(code - '0')];
    if (code >= 'a' && code <= 'f')
        return kRgb[static_cast<std::size_t>(code - 'a' + 10)];
    if (code >= 'A' && code <= 'F')
        return kRgb[static_cast<std::size_t>(code - 'A' + 10)];
    throw std::invalid_argument("not a colour code");
}

}  // namespace

IconPixels menuIconPixels(MenuIcon icon)
{
    switch (icon) {
    case MenuIcon::Chestplate:
        return kChestplate;
    case MenuIcon::Sword:
        return kSword;
    case MenuIcon::Axe:
        return kAxe;
    case MenuIcon::Bow:
        return kBow;
    case MenuIcon::FishingRod:
        return kFishingRod;
    case MenuIcon::SpeechBubble:
        return kSpeechBubble;
    }
    throw std::invalid_argument("unknown menu icon");
}

IconPixels colourSwatchPixels(char code)
{
    const std::uint32_t inside = 0xFF000000 | colourCodeRgb(code);
    IconPixels pixels;
    for (int y = 0; y < IconPixels::kSize; ++y) {
        for (int x = 0; x < IconPixels::kSize; ++x) {
            const bool edge = x == 0 || y == 0 || x == IconPixels::kSize - 1 || y == IconPixels::kSize - 1;
            pixels.argb[static_cast<std::size_t>(y * IconPixels::kSize + x)] = edge ? kSwatchOutline : inside;
        }
    }
    return pixels;
}

}  // namespace cofferon
