#include "preview/core/SlotIcon.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "document/core/ItemId.h"
#include "document/core/Text.h"
#include "preview/core/BuiltinPictures.h"
#include "preview/core/IconFolders.h"

namespace cofferon {

namespace {

constexpr int kFirstLeatherId = 298;  // cap; tunic, trousers and boots follow
constexpr int kLastLeatherId = 301;

std::uint8_t scaled(std::uint8_t dye, std::uint8_t shade)
{
    return static_cast<std::uint8_t>(dye * shade / 255);
}

std::uint8_t blended(std::uint8_t glint, std::uint8_t own)
{
    // Two separately rounded products, then the sum, truncated: the exact
    // sequence matters for pixels that land on a whole number.
    const double fromGlint = 0.3 * glint;
    const double fromOwn = 0.7 * own;
    return static_cast<std::uint8_t>(fromGlint + fromOwn);
}

// The icon path is made of the user's own text; anything that could step
// out of the icon folder (or be cut short by the file system) is refused.
bool staysInIconFolder(std::string_view idText)
{
    return idText.find('/') == std::string_view::npos && idText.find('\\') == std::string_view::npos &&
        idText.find("..") == std::string_view::npos && idText.find('\0') == std::string_view::npos;
}

std::optional<Picture> readWholeFile(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    Picture bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad())
        return std::nullopt;
    return bytes;
}

}  // namespace

Picture dyedLeatherIcon(int piece, Rgb dye)
{
    if (piece < 0 || piece >= kLeatherPieceCount)
        return missingItemPicture();
    const Picture& overlay = leatherOverlayTemplate(piece);
    Picture picture = leatherBaseTemplate(piece);
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            const Rgb shade = pixelAt(picture, x, y);
            if (shade == kSlotGrey)
                continue;
            if (shade == kOverlayMark) {
                setPixel(picture, x, y, pixelAt(overlay, x, y));
                continue;
            }
            setPixel(picture, x, y, {scaled(dye.r, shade.r), scaled(dye.g, shade.g), scaled(dye.b, shade.b)});
        }
    }
    return picture;
}

Picture enchantGlint(const Picture& picture)
{
    if (!isCompleteIcon(picture))
        return picture;
    const Picture& glint = glintPicture();
    Picture result = picture;
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            const Rgb own = pixelAt(picture, x, y);
            if (own == kSlotGrey)
                continue;
            const Rgb shine = pixelAt(glint, x, y);
            setPixel(result, x, y, {blended(shine.r, own.r), blended(shine.g, own.g), blended(shine.b, own.b)});
        }
    }
    return result;
}

Rgb dyeColour(std::string_view colorText)
{
    const std::vector<std::string> pieces = splitText(colorText, ",");
    std::array<std::uint8_t, 3> channels{};
    for (std::size_t i = 0; i < channels.size() && i < pieces.size(); ++i)
        channels[i] = static_cast<std::uint8_t>(textToInteger(pieces[i]) & 0xFF);
    return {channels[0], channels[1], channels[2]};
}

Picture computeSlotIcon(const SlotRecord& slot)
{
    const std::optional<ItemIdParts> parts = parseItemId(slot.id);
    if (!parts || !staysInIconFolder(slot.id))
        return missingItemPicture();
    const std::optional<std::string> path = findIconFile(parts->iconName);
    std::optional<Picture> picture = path ? readWholeFile(*path) : std::nullopt;
    if (!picture)
        return missingItemPicture();

    // The icon file only has to exist for dyed leather; its bytes are not used.
    if (parts->id >= kFirstLeatherId && parts->id <= kLastLeatherId && !slot.color.empty())
        picture = dyedLeatherIcon(parts->id - kFirstLeatherId, dyeColour(slot.color));

    if (!slot.enchants.empty())
        return enchantGlint(*picture);
    return std::move(*picture);
}

}  // namespace cofferon
