#include "menufile/core/EncodingGuess.h"

#include <unordered_set>
#include <vector>

#include "document/core/Codec.h"
#include "document/core/Text.h"

namespace cofferon {

namespace {

// How clearly one reading must be better before it wins without a question.
constexpr int kDecisive = 3;

bool isAsciiLetter(char32_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The game's colour and format codes follow "&" or "§".
bool isCodeCharacter(char32_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || (c >= 'k' && c <= 'o') ||
        (c >= 'K' && c <= 'O') || c == 'r' || c == 'R';
}

enum class Script { Neutral, Latin, Greek, Cyrillic, Armenian, Hebrew, Arabic, Indic, Thai, Hangul, Cjk, Other };

Script scriptOf(char32_t c)
{
    if (c < 0xC0 || c == 0xD7 || c == 0xF7 || (c >= 0x2B0 && c <= 0x36F) || (c >= 0x2000 && c <= 0x2BFF) ||
        (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFFEF) || c >= 0x10000)
        return Script::Neutral;
    if (c <= 0x2AF || (c >= 0x1E00 && c <= 0x1EFF))
        return Script::Latin;
    if (c <= 0x3FF || (c >= 0x1F00 && c <= 0x1FFF))
        return Script::Greek;
    if (c <= 0x52F)
        return Script::Cyrillic;
    if (c <= 0x58F)
        return Script::Armenian;
    if (c <= 0x5FF)
        return Script::Hebrew;
    if (c <= 0x6FF || (c >= 0x750 && c <= 0x77F) || (c >= 0xFB50 && c <= 0xFEFF))
        return Script::Arabic;
    if (c >= 0x900 && c <= 0xDFF)
        return Script::Indic;
    if (c >= 0xE00 && c <= 0xE7F)
        return Script::Thai;
    if ((c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F) || (c >= 0xAC00 && c <= 0xD7AF))
        return Script::Hangul;
    if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF))
        return Script::Cjk;
    return Script::Other;
}

// How unusual a character is in a menu's text, whatever its language; each
// character counts once. GBK read as UTF-8 lands all over the blocks up to
// U+07FF and in rare ones above.
int rarity(char32_t c)
{
    struct Block {
        char32_t last;
        int cost;
    };
    static constexpr Block kBlocks[] = {
        {0x9F, 10},  {0xA6, 2},   {0xA7, 0},   {0xBF, 2},    {0x17F, 0},   {0x19F, 2},    {0x1B0, 1},  {0x217, 2},
        {0x21B, 1},  {0x24F, 2},  {0x2FF, 3},  {0x36F, 1},   {0x385, 2},   {0x3CE, 0},    {0x3FF, 3},  {0x45F, 0},
        {0x48F, 3},  {0x4FF, 1},  {0x52F, 2},  {0x58F, 1},   {0x5CF, 2},   {0x5EA, 0},    {0x5FF, 2},  {0x6FF, 0},
        {0x8FF, 3},  {0xE7F, 0},  {0x10FF, 1}, {0x1DFF, 2},  {0x1EFF, 0},  {0x1FFF, 1},   {0x2BFF, 0}, {0x2FFF, 2},
        {0x30FF, 0}, {0x33FF, 1}, {0x4DFF, 2}, {0x9FFF, 0},  {0xABFF, 3},  {0xD7AF, 0},   {0xF8FF, 4}, {0xFAFF, 2},
        {0xFEFF, 1}, {0xFFEF, 0}, {0xFFFF, 4}, {0x1EFFF, 3}, {0x1FAFF, 0}, {0x10FFFF, 3},
    };
    for (const Block& block : kBlocks) {
        if (c <= block.last)
            return block.cost;
    }
    return 3;
}

std::vector<char32_t> codePoints(std::string_view utf8)
{
    std::vector<char32_t> points;
    points.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();)
        points.push_back(nextCodePoint(utf8, pos));
    return points;
}

// The UTF-8 reading: rare characters, letters of two scripts side by side
// (GBK's byte pairs land in unrelated blocks), accented Latin letters that
// stand apart from any plain letter (Latin text has them inside words).
int utf8Cost(std::string_view bytes)
{
    const std::vector<char32_t> text = codePoints(bytes);
    auto plainLetterAt = [&](std::size_t i) {
        return i < text.size() && isAsciiLetter(text[i]) && !(i > 0 && (text[i - 1] == '&' || text[i - 1] == 0xA7));
    };
    int cost = 0;
    std::unordered_set<char32_t> counted;  // a rare character used again is the writer's choice
    for (std::size_t start = 0; start < text.size();) {
        if (text[start] < 0x80) {
            ++start;
            continue;
        }
        std::size_t end = start;
        Script previous = Script::Neutral;
        int latinLetters = 0;
        bool onlyLatin = true;
        for (; end < text.size() && text[end] >= 0x80; ++end) {
            const char32_t c = text[end];
            if (counted.insert(c).second)
                cost += rarity(c);
            if (c == 0xA7 && end + 1 < text.size() && isCodeCharacter(text[end + 1]))
                cost -= 4;  // "§c": a colour code, as the game writes them
            const Script script = scriptOf(c);
            const bool symbol = c >= 0xA1 && c <= 0xBF && c != 0xA7;
            // A combining mark belongs after a letter; a sign of Latin-1 stands
            // beside digits and blanks, not against a letter beyond ASCII.
            if (c >= 0x300 && c <= 0x36F &&
                !(end > 0 && (isAsciiLetter(text[end - 1]) || scriptOf(text[end - 1]) != Script::Neutral)))
                cost += 4;
            if (symbol &&
                ((end > start && scriptOf(text[end - 1]) != Script::Neutral) ||
                 (end + 1 < text.size() && scriptOf(text[end + 1]) != Script::Neutral)))
                cost += 2;
            if (script == Script::Neutral)
                continue;
            if (previous != Script::Neutral && script != previous)
                cost += 4;
            previous = script;
            if (script == Script::Latin)
                ++latinLetters;
            else
                onlyLatin = false;
        }
        if (onlyLatin && latinLetters > 0 && !(start > 0 && plainLetterAt(start - 1)) && !plainLetterAt(end))
            cost += latinLetters;
        start = end;
    }
    return cost;
}

// The GBK reading: codes outside GB2312's common characters, runs of
// neighbours that share their first byte (the letters of one alphabet in
// UTF-8 do), Chinese
// characters inside a Latin word.
int gbkCost(std::string_view bytes)
{
    auto plainLetterAt = [&](std::size_t i) {
        return i < bytes.size() && isAsciiLetter(static_cast<unsigned char>(bytes[i])) &&
            !(i > 0 && bytes[i - 1] == '&');
    };
    int cost = 0;
    std::vector<bool> counted(0x10000, false);
    std::size_t previousEnd = std::string_view::npos;
    unsigned char previousLead = 0;
    unsigned char previousTrail = 0;
    int sameLead = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = characterLength(bytes, pos);
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        if (length == 2) {
            const auto trail = static_cast<unsigned char>(bytes[pos + 1]);
            const bool gb2312 = trail >= 0xA1 && trail <= 0xFE;
            const bool levelOne = gb2312 && lead >= 0xB0 && lead <= 0xD7;
            const bool levelTwo = gb2312 && lead >= 0xD8 && lead <= 0xF7;
            if (!counted[lead * 0x100u + trail]) {
                counted[lead * 0x100u + trail] = true;
                cost += levelOne ? 0 : levelTwo ? 1 : gb2312 && lead >= 0xA1 && lead <= 0xA9 ? 1 : 4;
            }
            // Three or more in a row: two are common enough in Chinese.
            sameLead = previousEnd == pos && lead == previousLead && trail != previousTrail ? sameLead + 1 : 1;
            cost += sameLead == 3 ? 2 : sameLead > 3 ? 1 : 0;
            if ((levelOne || levelTwo) && pos > 0 && plainLetterAt(pos - 1) && plainLetterAt(pos + 2))
                cost += 3;
            previousEnd = pos + 2;
            previousLead = lead;
            previousTrail = trail;
        } else if (length == 4) {
            cost += 6;
        }
        pos += length;
    }
    return cost;
}

}  // namespace

EncodingGuess guessEncoding(std::string_view bytes)
{
    const int difference = utf8Cost(bytes) - gbkCost(bytes);
    if (difference >= kDecisive)
        return EncodingGuess::Gbk;
    if (difference <= -kDecisive)
        return EncodingGuess::Utf8;
    return EncodingGuess::Either;
}

}  // namespace cofferon
