#include "preview/core/BuiltinPictures.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <string_view>

namespace cofferon {

namespace {

using Art = PixelArt;

// The leather pieces are drawn on a 16x16 grid and doubled, like the game's
// own item textures. Upper-case letters are the greys of the dyeable
// leather; lower-case letters are marks in the base and the undyed brown of
// the same shade in the overlay (each brown is its grey dyed leather brown).
Rgb leatherColour(char code, bool overlay)
{
    switch (code) {
    case 'W':
        return {237, 237, 237};
    case 'M':
        return {182, 182, 182};
    case 'T':
        return {161, 161, 161};
    case 'S':
        return {83, 83, 83};
    case 'D':
        return {53, 53, 53};
    case 'K':
        return {7, 4, 3};
    case 'w':
        return overlay ? Rgb{149, 94, 59} : kOverlayMark;
    case 'm':
        return overlay ? Rgb{114, 72, 46} : kOverlayMark;
    case 's':
        return overlay ? Rgb{52, 33, 21} : kOverlayMark;
    case 'd':
        return overlay ? Rgb{33, 21, 13} : kOverlayMark;
    default:
        return kSlotGrey;
    }
}

// Cap from the front: the crown panel (rows 3-6, columns 6-9) stays undyed.
constexpr Art kCapArt{
    "................", "................", ".....KKKKKK.....", "....KWmmmmMK....",
    "...KWMmmmmMSK...", "..KWMMmmmmMMSK..", "..KWMMssssMMSK..", "..KWMMMMMMMMSK..",
    ".KWMMMMMMMMMMSK.", ".KMSSSSSSSSSSSK.", ".KMSKKKKKKKKSSK.", ".KMK........KSK.",
    ".KMK........KSK.", ".KSK........KDK.", "..K..........K..", "................",
};

constexpr Art kTunicArt{
    "................", "..DDDD....DDDD..", ".DWWMMD..DMMMSD.", "DWWMMMMDDMMMMMSD",
    "DWMMTMMMMMMTMMSD", "DWMDTMMMMMMTDMSD", "DDDDTMMMMMMTDDDD", "...DWMMMMMMTSD..",
    "...DWMMMMMMTSD..", "...DWMMMMMMTSD..", "...DWMMMMMMTSD..", "...DWMMMMMMTSD..",
    "...DWTTTTTTTSD..", "...DDDDDDDDDDD..", "................", "................",
};

// Trousers: the knee patches (rows 7-10, columns 3-5 and 10-12) stay undyed.
constexpr Art kTrousersArt{
    "................", "..DDDDDDDDDDDD..", "..DWWMMMMMMMSD..", "..DWMMMMMMMMSD..",
    "..DWMMMDDMMMSD..", "..DWMMD..DMMSD..", "..DWMMD..DMMSD..", "..DwmmD..DmmsD..",
    "..DmmmD..DmmsD..", "..DmmsD..DmssD..", "..DmssD..DsssD..", "..DWMMD..DMMSD..",
    "..DWMMD..DMMSD..", "..DWMSD..DMSSD..", "..DDDDD..DDDDD..", "................",
};

// Boots: the feet with their soles (rows 9-11) stay undyed.
constexpr Art kBootsArt{
    "................", "................", "................", "..DDDDD..DDDDD..",
    "..DWWMD..DMMSD..", "..DDDDD..DDDDD..", "...DWMD..DMSD...", "...DWMD..DMSD...",
    "...DMSD..DMSD...", ".dwmmmd..dmmmsd.", ".dmmmsd..dmssmd.", ".dddddd..dddddd.",
    "................", "................", "................", "................",
};

constexpr std::array<const Art*, kLeatherPieceCount> kLeatherArt{&kCapArt, &kTunicArt, &kTrousersArt, &kBootsArt};

Picture drawLeather(const Art& art, bool overlay)
{
    return drawPixelArt(art, [overlay](char code) { return leatherColour(code, overlay); });
}

std::array<Picture, kLeatherPieceCount> drawAllLeather(bool overlay)
{
    std::array<Picture, kLeatherPieceCount> pictures;
    for (std::size_t piece = 0; piece < pictures.size(); ++piece)
        pictures[piece] = drawLeather(*kLeatherArt[piece], overlay);
    return pictures;
}

// Brightness along the diagonal offset x - y (-31..31): three bands of
// different strength, each with a sharp leading and a soft trailing edge, so
// the blend shows smooth gradients and no two bands look alike.
double glintLevel(int offset)
{
    auto band = [offset](double centre, double width, double height) {
        const double distance = offset - centre;
        const double reach = distance < 0 ? width * 0.6 : width * 1.4;
        if (std::abs(distance) >= reach)
            return 0.0;
        return height * 0.5 * (1.0 + std::cos(3.14159265358979 * distance / reach));
    };
    return std::max({band(-14.0, 8.0, 1.0), band(4.0, 5.0, 0.55), band(20.0, 6.0, 0.8)});
}

Picture drawGlint()
{
    Picture picture = blankPicture({255, 0, 255});
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            // Depending on x - y only, the bands move one pixel right per
            // row: diagonals running down to the right.
            const double level = glintLevel(x - y);
            const auto green = static_cast<std::uint8_t>(std::lround(41.0 + 159.0 * level));
            const auto red = static_cast<std::uint8_t>(std::lround(248.0 + 7.0 * level));
            setPixel(picture, x, y, {red, green, 255});
        }
    }
    return picture;
}

Picture drawMissingItem()
{
    Picture picture = blankPicture({0, 0, 0});
    fillRect(picture, 0, 0, 16, 16, {255, 0, 255});
    fillRect(picture, 16, 16, 16, 16, {255, 0, 255});
    return picture;
}

Picture drawRedbox()
{
    Picture picture = blankPicture(kRedboxFrame);
    fillRect(picture, 1, 1, kIconSize - 2, kIconSize - 2, kRedboxTransparent);
    return picture;
}

}  // namespace

const Picture& missingItemPicture()
{
    static const Picture picture = drawMissingItem();
    return picture;
}

const Picture& leatherBaseTemplate(int piece)
{
    static const std::array<Picture, kLeatherPieceCount> bases = drawAllLeather(false);
    assert(piece >= 0 && piece < kLeatherPieceCount);
    return bases[static_cast<std::size_t>(piece)];
}

const Picture& leatherOverlayTemplate(int piece)
{
    static const std::array<Picture, kLeatherPieceCount> overlays = drawAllLeather(true);
    assert(piece >= 0 && piece < kLeatherPieceCount);
    if (piece == 1)
        return leatherBaseTemplate(1);
    return overlays[static_cast<std::size_t>(piece)];
}

const Picture& glintPicture()
{
    static const Picture picture = drawGlint();
    return picture;
}

const Picture& redboxPicture()
{
    static const Picture picture = drawRedbox();
    return picture;
}

}  // namespace cofferon
