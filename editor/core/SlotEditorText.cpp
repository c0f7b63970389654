#include "editor/core/SlotEditorText.h"

#include <algorithm>
#include <vector>

#include "document/core/Text.h"

namespace cofferon {

namespace {

bool isBlankLine(std::string_view line)
{
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = characterLength(line, pos);
        const std::string_view character = line.substr(pos, length);
        if (character != " " && character != "\xA1\xA1")
            return false;
        pos += length;
    }
    return true;
}

}  // namespace

std::string dropBlankLines(std::string_view text)
{
    std::string kept;
    for (const std::string& line : splitText(text, "\r\n")) {
        if (isBlankLine(line))
            continue;
        if (!kept.empty())
            kept += "\r\n";
        kept += line;
    }
    return kept;
}

std::string colourText(Rgb colour)
{
    return numberToText(static_cast<long long>(colour.r)) + ", " + numberToText(static_cast<long long>(colour.g)) +
        ", " + numberToText(static_cast<long long>(colour.b));
}

Rgb colourFromText(std::string_view text)
{
    const std::vector<std::string> pieces = splitText(text, ",");
    auto component = [&](std::size_t index) {
        if (index >= pieces.size())
            return std::uint8_t{0};
        return static_cast<std::uint8_t>(std::clamp(textToInteger(pieces[index]), 0LL, 255LL));
    };
    return {component(0), component(1), component(2)};
}

bool enchantmentLevelAccepted(std::string_view typed, int maxLevel)
{
    const long long level = textToInteger(typed);
    return level >= 1 && level <= maxLevel;
}

}  // namespace cofferon
