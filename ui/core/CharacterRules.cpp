#include "ui/core/CharacterRules.h"

namespace cofferon {

namespace {

bool isDigit(char32_t c)
{
    return c >= U'0' && c <= U'9';
}

}  // namespace

bool acceptsCharacter(layout::CharacterFilter filter, char32_t character, std::string_view currentText)
{
    switch (filter) {
    case layout::CharacterFilter::None:
        return true;
    case layout::CharacterFilter::ItemId:
        if (isDigit(character) || character == kBackspace)
            return true;
        return character == U':' && currentText.find(':') == std::string_view::npos;
    case layout::CharacterFilter::Command:
        return (character >= U'a' && character <= U'z') || isDigit(character) || character == kBackspace;
    case layout::CharacterFilter::Integer:
        return character < 0x20 || character == 0x7F || isDigit(character) || character == U'-';
    }
    return false;
}

}  // namespace cofferon
