#include "document/core/ItemId.h"

#include <limits>

#include "document/core/Text.h"

namespace cofferon {

namespace {

constexpr long long kMaxNumber = std::numeric_limits<std::int32_t>::max();

// A number beyond the signed 32-bit range would wrap into another item.
bool inRange(long long value, long long minimum)
{
    return value >= minimum && value <= kMaxNumber;
}

std::string iconNameFor(std::string_view idPiece, std::string_view dataPiece)
{
    std::string name(idPiece);
    name += '-';
    name += dataPiece;
    name += ".bmp";
    return name;
}

}  // namespace

std::optional<ItemIdParts> parseItemId(std::string_view text)
{
    if (findText(text, ":") == -1) {
        const long long id = textToInteger(text);
        if (!inRange(id, 1))
            return std::nullopt;
        return ItemIdParts{static_cast<std::int32_t>(id), 0, iconNameFor(text, "0")};
    }
    const std::vector<std::string> pieces = splitText(text, ":");
    if (pieces.size() != 2 || pieces[1].empty())
        return std::nullopt;
    const long long id = textToInteger(pieces[0]);
    const long long data = textToInteger(pieces[1]);
    if (!inRange(id, 1) || !inRange(data, 0))
        return std::nullopt;
    return ItemIdParts{static_cast<std::int32_t>(id), static_cast<std::int32_t>(data),
                       iconNameFor(pieces[0], pieces[1])};
}

bool isValidItemId(std::string_view text)
{
    return parseItemId(text).has_value();
}

}  // namespace cofferon
