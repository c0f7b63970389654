#include "preview/core/Bitmap.h"

#include <algorithm>
#include <cassert>

namespace cofferon {

namespace {

std::uint32_t readLe(const Picture& picture, std::size_t offset, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | picture[offset + static_cast<std::size_t>(i)];
    return value;
}

void writeLe(Picture& picture, std::size_t offset, int bytes, std::uint32_t value)
{
    for (int i = 0; i < bytes; ++i) {
        picture[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

std::size_t pixelOffset(int x, int y)
{
    return kIconHeaderSize + static_cast<std::size_t>(kIconSize - 1 - y) * kIconRowBytes +
        static_cast<std::size_t>(x) * 3;
}

}  // namespace

bool isCompleteIcon(const Picture& picture)
{
    if (picture.size() < kIconFileSize)
        return false;
    // Width and height are signed in the header; a negative height would be a
    // top-down file, which the fixed row addressing cannot read.
    const auto width = static_cast<std::int32_t>(readLe(picture, 18, 4));
    const auto height = static_cast<std::int32_t>(readLe(picture, 22, 4));
    return picture[0] == 'B' && picture[1] == 'M' && readLe(picture, 10, 4) == kIconHeaderSize && width == kIconSize &&
        height == kIconSize && readLe(picture, 28, 2) == kIconBitsPerPixel && readLe(picture, 30, 4) == 0;
}

Picture blankPicture(Rgb fill)
{
    Picture picture(kIconFileSize, 0);
    picture[0] = 'B';
    picture[1] = 'M';
    writeLe(picture, 2, 4, kIconFileSize);
    writeLe(picture, 10, 4, kIconHeaderSize);
    writeLe(picture, 14, 4, 40);  // BITMAPINFOHEADER
    writeLe(picture, 18, 4, kIconSize);
    writeLe(picture, 22, 4, kIconSize);
    writeLe(picture, 26, 2, 1);  // planes
    writeLe(picture, 28, 2, kIconBitsPerPixel);
    writeLe(picture, 30, 4, 0);  // BI_RGB
    writeLe(picture, 34, 4, kIconPixelBytes);
    for (std::size_t at = kIconHeaderSize; at < kIconFileSize; at += 3) {
        picture[at] = fill.b;
        picture[at + 1] = fill.g;
        picture[at + 2] = fill.r;
    }
    return picture;
}

Rgb pixelAt(const Picture& picture, int x, int y)
{
    assert(x >= 0 && x < kIconSize && y >= 0 && y < kIconSize);
    assert(picture.size() >= kIconFileSize);
    const std::size_t at = pixelOffset(x, y);
    return Rgb{picture[at + 2], picture[at + 1], picture[at]};
}

void setPixel(Picture& picture, int x, int y, Rgb colour)
{
    assert(x >= 0 && x < kIconSize && y >= 0 && y < kIconSize);
    assert(picture.size() >= kIconFileSize);
    const std::size_t at = pixelOffset(x, y);
    picture[at] = colour.b;
    picture[at + 1] = colour.g;
    picture[at + 2] = colour.r;
}

void fillRect(Picture& picture, int x, int y, int width, int height, Rgb colour)
{
    for (int row = std::max(y, 0); row < std::min(y + height, kIconSize); ++row)
        for (int column = std::max(x, 0); column < std::min(x + width, kIconSize); ++column)
            setPixel(picture, column, row, colour);
}

Picture drawPixelArt(const PixelArt& art, const std::function<Rgb(char code)>& colourOf)
{
    Picture picture = blankPicture(kSlotGrey);
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 16; ++column) {
            const char code = art[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
            if (code != '.')
                fillRect(picture, column * 2, row * 2, 2, 2, colourOf(code));
        }
    }
    return picture;
}

}  // namespace cofferon
