#include "preview/core/StarterIcons.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string_view>
#include <system_error>

#include "preview/core/BuiltinPictures.h"
#include "preview/core/SlotIcon.h"

namespace cofferon {

namespace {

// The dye and the glint leave exact slot grey alone, so an icon pixel that
// happens to be slot grey would look like a hole after dyeing or enchanting.
Rgb notSlotGrey(Rgb colour)
{
    return colour == kSlotGrey ? Rgb{138, 138, 138} : colour;
}

std::uint8_t channel(double value)
{
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

Rgb scaledColour(Rgb colour, double factor)
{
    return {channel(colour.r * factor), channel(colour.g * factor), channel(colour.b * factor)};
}

// Repeatable texel noise in [0, 1): the same icon on every build.
double noise(int u, int v, std::uint32_t seed)
{
    std::uint32_t h =
        static_cast<std::uint32_t>(u) * 374761393u + static_cast<std::uint32_t>(v) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<double>(h & 0xFFFFu) / 65536.0;
}

// ---- Flat item pictures: 16x16 art doubled, one palette per picture ----

using Art = PixelArt;

struct PaletteEntry {
    char code;
    Rgb colour;
};

struct ItemArt {
    const char* fileName;
    const Art* art;
    std::array<PaletteEntry, 12> palette;
};

Picture drawItemArt(const ItemArt& item)
{
    return drawPixelArt(*item.art, [&item](char code) {
        const auto entry = std::find_if(item.palette.begin(), item.palette.end(),
                                        [code](const PaletteEntry& e) { return e.code == code; });
        // A code without a palette entry is a mistake in the art below.
        return notSlotGrey(entry != item.palette.end() ? entry->colour : Rgb{255, 0, 255});
    });
}

constexpr Art kDiamondArt{
    "................", "................", "................", "....oooooooo....",
    "...oWabbbbcco...", "..oWabbbbbccco..", ".oaaaabbbbccceo.", ".offeeeeeeeeffo.",
    "..ofcccbbcceeo..", "...ofcbbbbceo...", "....ofcbbceo....", ".....ofcceo.....",
    "......ofeo......", ".......oo.......", "................", "................",
};

constexpr Art kIngotArt{
    "................", "................", "................", "................",
    "................", "....oooooooo....", "...oWWaaaaabo...", "..oWaaaaaaabbo..",
    ".oWaaaaaaaabbbo.", "oeeeeeeeeeeeeeeo", "obbbbbbbbbbbbbco", "obbbbbbbbbbbbcco",
    "occccccccccccceo", ".oooooooooooooo.", "................", "................",
};

constexpr Art kPaperArt{
    "................", "................", "..oooooooooo....", "..oWWWaaaaaaoo..",
    "..oWaaaaaaaaboo.", "..oalllllllbbco.", "..oaaaaaaaaaaao.", "..oalllllllllao.",
    "..oaaaaaaaaaaao.", "..oalllllllllao.", "..oaaaaaaaaaaao.", "..oalllllllllao.",
    "..obaaaaaaaaabo.", "..ocbbbbbbbbbco.", "..ooooooooooooo.", "................",
};

constexpr Art kCompassArt{
    "................", "................", ".....oooooo.....", "....oaWWWaao....",
    "...oaWbbbbbao...", "..oaWbccccrbeo..", "..oWbccccrRcbo..", "..oWbcccrRccbo..",
    "..oabccgWcccbo..", "..oabcggccccbo..", "..oabggcccccbo..", "..oeabcccccbeo..",
    "...oeabbbbbeo...", "....oeeeeeeo....", ".....oooooo.....", "................",
};

constexpr Art kClockArt{
    "................", "................", ".....oooooo.....", "....oaWWaabo....",
    "...oaWssssbco...", "..oaWssnysscbo..", "..oWssnnyssscbo.", "..oasssnhsssceo.",
    "..oasssshssseeo.", "..oadddhdddddeo.", "..obdddddddddeo.", "..ocbddddddddeo.",
    "...oecddddceeo..", "....oeeeeeeeo...", ".....oooooo.....", "................",
};

constexpr Art kEmeraldArt{
    "................", "................", "......oooo......", ".....oWaabo.....",
    "....oWaabbco....", "...oWabbbbcco...", "...oabbbbbbco...", "...oabbbbbbeo...",
    "...oabbbbbceo...", "...obbbbbbceo...", "...obbbbbceeo...", "...ocbbbbceeo...",
    "....occbceeo....", ".....oceeeo.....", "......oooo......", "................",
};

constexpr Art kStarArt{
    "................", ".......oo.......", "......oWao......", "......oWbo......",
    "..o...oabo...o..", "..oao.oybo.obo..", "...oaoyyyyobo...", ".oooayWWWWybooo.",
    "oWaayyWWWWyybbeo", ".oooayyWWyycooo.", "...oboyyyyoco...", "..obo.oyco.oeo..",
    "..o...obco...o..", "......obeo......", "......oceo......", ".......oo.......",
};

// Iron and gold share one ingot shape; "." is the slot grey background.
const std::array<ItemArt, 8> kItemArts{{
    {"264-0.bmp",
     &kDiamondArt,  // diamond
     {{{'o', {12, 56, 52}},
       {'W', {255, 255, 255}},
       {'a', {196, 252, 244}},
       {'b', {92, 230, 214}},
       {'c', {40, 200, 184}},
       {'e', {18, 146, 136}},
       {'f', {10, 96, 90}}}}},
    {"265-0.bmp",
     &kIngotArt,  // iron ingot
     {{{'o', {40, 40, 40}},
       {'W', {255, 255, 255}},
       {'a', {232, 232, 232}},
       {'b', {204, 204, 204}},
       {'c', {168, 168, 168}},
       {'e', {120, 120, 120}},
       {'f', {84, 84, 84}}}}},
    {"266-0.bmp",
     &kIngotArt,  // gold ingot
     {{{'o', {60, 40, 0}},
       {'W', {255, 255, 200}},
       {'a', {255, 250, 120}},
       {'b', {250, 220, 50}},
       {'c', {230, 180, 20}},
       {'e', {190, 130, 10}},
       {'f', {130, 80, 0}}}}},
    {"339-0.bmp",
     &kPaperArt,  // paper
     {{{'o', {90, 90, 80}},
       {'W', {255, 255, 255}},
       {'a', {240, 240, 232}},
       {'b', {222, 222, 210}},
       {'l', {170, 178, 196}},
       {'c', {196, 196, 184}}}}},
    {"345-0.bmp",
     &kCompassArt,  // compass
     {{{'o', {30, 30, 34}},
       {'W', {236, 236, 240}},
       {'a', {190, 190, 196}},
       {'b', {140, 140, 148}},
       {'e', {96, 96, 104}},
       {'f', {60, 60, 66}},
       {'r', {230, 30, 30}},
       {'R', {160, 16, 16}},
       {'g', {210, 210, 210}},
       {'c', {44, 44, 52}}}}},
    {"347-0.bmp",
     &kClockArt,  // clock
     {{{'o', {60, 40, 0}},
       {'W', {255, 255, 200}},
       {'a', {255, 240, 110}},
       {'b', {240, 200, 40}},
       {'c', {200, 150, 20}},
       {'e', {150, 100, 10}},
       {'s', {120, 190, 240}},
       {'n', {250, 250, 250}},
       {'d', {30, 40, 90}},
       {'h', {40, 30, 20}},
       {'y', {255, 220, 80}}}}},
    {"388-0.bmp",
     &kEmeraldArt,  // emerald
     {{{'o', {6, 60, 20}},
       {'W', {230, 255, 236}},
       {'a', {120, 240, 150}},
       {'b', {40, 210, 90}},
       {'c', {20, 170, 60}},
       {'e', {10, 120, 40}},
       {'f', {5, 80, 25}}}}},
    {"399-0.bmp",
     &kStarArt,  // star
     {{{'o', {70, 70, 90}},
       {'W', {255, 255, 255}},
       {'a', {236, 240, 255}},
       {'b', {205, 212, 240}},
       {'c', {160, 168, 210}},
       {'y', {255, 250, 200}},
       {'e', {120, 128, 176}}}}},
}};

// ---- Blocks: a cube seen from above at the usual inventory angle ----

// Colour of texel (u, v) of a face; v runs down the sides.
using Texture = std::function<Rgb(int u, int v)>;

struct Cube {
    double centreX;
    double top;  // y of the top corner
    double halfWidth;  // also the height of a side face
    int texels;  // texels along each edge of a face
};

constexpr Cube kBlockCube{16.0, 1.0, 15.0, 16};
constexpr double kLeftShade = 0.84;
constexpr double kRightShade = 0.66;

int texelOf(double fraction, int texels)
{
    return std::clamp(static_cast<int>(std::floor(fraction * texels)), 0, texels - 1);
}

void drawCube(Picture& picture, const Cube& cube, const Texture& top, const Texture& left, const Texture& right)
{
    const double h = cube.halfWidth;
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            // Sample at the pixel centre.
            const double dx = x + 0.5 - cube.centreX;
            const double dy = y + 0.5 - cube.top;
            const double across = dx / h;
            const double down = dy / (h / 2);
            const double u = (down + across) / 2;
            const double v = (down - across) / 2;
            if (u >= 0 && u < 1 && v >= 0 && v < 1) {
                setPixel(picture, x, y, notSlotGrey(top(texelOf(u, cube.texels), texelOf(v, cube.texels))));
                continue;
            }
            if (dx >= -h && dx < 0) {
                const double along = (dx + h) / h;
                const double side = (dy - h / 2 - along * h / 2) / h;
                if (side >= 0 && side < 1)
                    setPixel(picture, x, y,
                             notSlotGrey(scaledColour(left(texelOf(along, cube.texels), texelOf(side, cube.texels)),
                                                      kLeftShade)));
            } else if (dx >= 0 && dx < h) {
                const double along = dx / h;
                const double side = (dy - h + along * h / 2) / h;
                if (side >= 0 && side < 1)
                    setPixel(picture, x, y,
                             notSlotGrey(scaledColour(right(texelOf(along, cube.texels), texelOf(side, cube.texels)),
                                                      kRightShade)));
            }
        }
    }
}

Picture blockIcon(const Texture& top, const Texture& sides)
{
    Picture picture = blankPicture(kSlotGrey);
    drawCube(picture, kBlockCube, top, sides, sides);
    return picture;
}

// Wool: soft two-scale noise with a few darker tufts.
Texture woolTexture(Rgb colour, std::uint32_t seed)
{
    return [colour, seed](int u, int v) {
        const double coarse = noise(u / 2, v / 2, seed);
        const double fine = noise(u, v, seed + 1);
        double factor = 0.90 + 0.08 * coarse + 0.08 * fine;
        if (noise(u, v, seed + 2) > 0.9)
            factor -= 0.1;
        return scaledColour(colour, factor);
    };
}

Rgb stoneTexel(int u, int v, std::uint32_t seed)
{
    const double n = noise(u, v, seed);
    int level = 118 + static_cast<int>(n * 22);
    if (noise(u / 3, v, seed + 7) > 0.8)
        level -= 14;  // the darker streaks of stone
    const auto g = static_cast<std::uint8_t>(level);
    return {g, g, g};
}

Rgb dirtTexel(int u, int v, std::uint32_t seed)
{
    const double n = noise(u, v, seed);
    Rgb colour = scaledColour({134, 96, 67}, 0.86 + 0.22 * n);
    if (noise(u, v, seed + 3) > 0.88)
        colour = scaledColour({134, 96, 67}, 0.62);
    else if (noise(u, v, seed + 4) > 0.93)
        colour = {150, 118, 92};
    return colour;
}

Rgb grassTexel(int u, int v, std::uint32_t seed)
{
    return scaledColour({98, 160, 56}, 0.82 + 0.3 * noise(u, v, seed));
}

Rgb grassSideTexel(int u, int v)
{
    // The green hangs over the edge by a ragged one to three texels.
    const int fringe = 2 + static_cast<int>(noise(u, 0, 41) * 2.0);
    if (v < fringe)
        return grassTexel(u, v, 42);
    return dirtTexel(u, v, 43);
}

// Cobblestone: rounded stones around random centres, dark where two meet.
Rgb cobbleTexel(int u, int v)
{
    constexpr std::array<std::array<int, 2>, 9> kCentres{
        {{2, 2}, {9, 1}, {14, 5}, {5, 7}, {11, 9}, {1, 12}, {7, 13}, {14, 14}, {3, 4}}};
    double nearest = 1e9;
    double second = 1e9;
    std::size_t which = 0;
    for (std::size_t i = 0; i < kCentres.size(); ++i) {
        for (int wrapU = -16; wrapU <= 16; wrapU += 16) {
            for (int wrapV = -16; wrapV <= 16; wrapV += 16) {
                const double du = u + 0.5 - (kCentres[i][0] + 0.5 + wrapU);
                const double dv = v + 0.5 - (kCentres[i][1] + 0.5 + wrapV);
                const double distance = std::sqrt(du * du + dv * dv);
                if (distance < nearest) {
                    second = nearest;
                    nearest = distance;
                    which = i;
                } else if (distance < second) {
                    second = distance;
                }
            }
        }
    }
    if (second - nearest < 0.9)
        return {72, 72, 72};
    const double shade = 0.86 + 0.18 * noise(static_cast<int>(which), 0, 51) + 0.08 * noise(u, v, 52) - 0.03 * nearest;
    return scaledColour({140, 140, 140}, shade);
}

// Planks: four boards with dark joints, their ends staggered.
Rgb plankTexel(int u, int v)
{
    constexpr Rgb kWood{168, 134, 82};
    const int board = v / 4;
    if (v % 4 == 3)
        return scaledColour(kWood, 0.6);
    const int seam = board % 2 == 0 ? 5 : 12;
    if (u == seam)
        return scaledColour(kWood, 0.68);
    const double grain = noise(u / 4 + board * 7, v, 61);
    return scaledColour(kWood, 0.9 + 0.14 * grain + (v % 4 == 0 ? 0.05 : 0.0));
}

// ---- The player skull: a smaller cube with a face of our own ----

// One texel a pixel: a 12-texel face on a cube 24 pixels wide.
constexpr Cube kHeadCube{16.0, 4.0, 12.0, 12};

Rgb headColour(char code)
{
    switch (code) {
    case 'h':
        return {74, 50, 32};  // hair
    case 'H':
        return {58, 38, 24};  // hair, darker strands
    case 's':
        return {204, 154, 116};  // skin
    case 'S':
        return {178, 128, 94};  // skin in shadow
    case 'W':
        return {245, 245, 245};
    case 'e':
        return {64, 86, 170};  // iris
    case 'n':
        return {160, 108, 78};  // nose
    case 'm':
        return {120, 64, 56};  // mouth
    default:
        return {255, 0, 255};
    }
}

using FaceArt = std::array<std::string_view, 12>;

constexpr FaceArt kFaceArt{
    "hhhhhhhhhhhh", "hhHhhhhhHhhh", "hhhhhhhhhhhh", "hhhssssssshh", "hsssssssssSh", "ssssssssssss",
    "ssWesssseWss", "ssWesssseWss", "sssssnnsssss", "ssssSnnSssss", "sssmmmmmmsss", "ssssssssssss",
};

// The side of the head, front edge on the left.
constexpr FaceArt kSideArt{
    "hhhhhhhhhhhh", "hhhhhHhhhhhh", "hhhhhhhhhhHh", "sshhhhhhhhhh", "ssshhhhhhhhh", "sssssshhhhhh",
    "ssssSSshhhhh", "ssssSSshhhhh", "ssssssshhhhh", "sssssssshhhh", "sssssssshhhh", "sssssssssHhh",
};

Picture skullIcon()
{
    Picture picture = blankPicture(kSlotGrey);
    auto fromArt = [](const FaceArt& art) {
        return
            [&art](int u, int v) { return headColour(art[static_cast<std::size_t>(v)][static_cast<std::size_t>(u)]); };
    };
    const Texture hair = [](int u, int v) { return noise(u, v, 71) > 0.7 ? headColour('H') : headColour('h'); };
    drawCube(picture, kHeadCube, hair, fromArt(kFaceArt), fromArt(kSideArt));
    return picture;
}

// The sixteen dye colours, in data-value order.
constexpr std::array<Rgb, 16> kWoolColours{{
    {233, 236, 236},  // white
    {240, 118, 19},  // orange
    {189, 68, 179},  // magenta
    {58, 175, 217},  // light blue
    {248, 197, 39},  // yellow
    {112, 185, 25},  // lime
    {237, 141, 172},  // pink
    {62, 68, 71},  // grey
    {152, 152, 144},  // light grey
    {21, 137, 145},  // cyan
    {121, 42, 172},  // purple
    {53, 57, 157},  // blue
    {114, 71, 40},  // brown
    {84, 109, 27},  // green
    {160, 39, 34},  // red
    {24, 25, 30},  // black
}};

// Leather as it comes, before any dye.
constexpr Rgb kUndyedLeather{160, 101, 64};

}  // namespace

std::vector<StarterIcon> starterIcons()
{
    std::vector<StarterIcon> icons;
    for (std::size_t data = 0; data < kWoolColours.size(); ++data) {
        const Texture wool = woolTexture(kWoolColours[data], 11 + static_cast<std::uint32_t>(data));
        icons.push_back({"35-" + std::to_string(data) + ".bmp", blockIcon(wool, wool)});
    }
    for (int piece = 0; piece < kLeatherPieceCount; ++piece)
        icons.push_back({std::to_string(298 + piece) + "-0.bmp", dyedLeatherIcon(piece, kUndyedLeather)});
    icons.push_back({"397-3.bmp", skullIcon()});

    const Texture stone = [](int u, int v) { return stoneTexel(u, v, 21); };
    icons.push_back({"1-0.bmp", blockIcon(stone, stone)});
    icons.push_back({"2-0.bmp", blockIcon([](int u, int v) { return grassTexel(u, v, 31); }, grassSideTexel)});
    const Texture dirt = [](int u, int v) { return dirtTexel(u, v, 33); };
    icons.push_back({"3-0.bmp", blockIcon(dirt, dirt)});
    icons.push_back({"4-0.bmp", blockIcon(cobbleTexel, cobbleTexel)});
    icons.push_back({"5-0.bmp", blockIcon(plankTexel, plankTexel)});

    for (const ItemArt& item : kItemArts)
        icons.push_back({item.fileName, drawItemArt(item)});
    return icons;
}

bool writeStarterIcons(const std::string& folder, std::string& error)
{
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code || !std::filesystem::is_directory(folder, code)) {
        error = "cannot create the folder " + folder + (code ? ": " + code.message() : "");
        return false;
    }
    for (const StarterIcon& icon : starterIcons()) {
        const std::filesystem::path path = std::filesystem::path(folder) / icon.fileName;
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(icon.picture.data()),
                   static_cast<std::streamsize>(icon.picture.size()));
        file.close();
        if (!file) {
            error = "cannot write " + path.string();
            return false;
        }
    }
    return true;
}

}  // namespace cofferon
