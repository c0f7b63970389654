#include <gtest/gtest.h>

#include <limits>

#include "document/core/Text.h"

namespace cofferon {
namespace {

// GB18030 bytes: 中 = D6 D0; 丂 = 81 40 (its trail byte is "@"); a
// four-byte character whose second and fourth bytes are the digits "1" and "0".
const std::string kZhong = "\xD6\xD0";
const std::string kTrailAt = "\x81\x40";
const std::string kFourByte = "\x81\x31\x81\x30";

TEST(CharacterLength, CountsOneTwoAndFourByteCharacters)
{
    const std::string text = "a" + kZhong + kFourByte;
    EXPECT_EQ(characterLength(text, 0), 1u);
    EXPECT_EQ(characterLength(text, 1), 2u);
    EXPECT_EQ(characterLength(text, 3), 4u);
    EXPECT_EQ(characterLength(text, 7), 0u);
}

TEST(CharacterLength, ByteThatStartsNoSequenceStandsAlone)
{
    struct Case {
        std::string text;
        std::size_t length;
    };
    const Case cases[] = {
        {"\xD6", 1},  // lead byte cut off at the end
        {"\x81\x31", 1},  // four-byte sequence cut off
        {"\x81\x31\x81", 1},
        {"\x81'x", 1},  // a quote is no trail byte
        {"\x81\x7F", 1},  // nor is DEL
        {"\x81\xFF", 1},
        {"\x81\x31\x20\x30", 1},  // third byte no lead byte
        {"\x81\x31\x81\x41", 1},  // fourth byte no digit
        {"\x80\x40", 1},  // 0x80 and 0xFF lead nothing
        {"\xFF\x40", 1},
        {"\x81\x80", 2},
        {"\xFE\xFE", 2},
        {"\xFE\x39\xFE\x39", 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(characterLength(c.text, 0), c.length) << testing::PrintToString(c.text);
}

TEST(FindText, MatchesOnlyAtCharacterStarts)
{
    EXPECT_EQ(findText(kTrailAt, "@"), -1);
    EXPECT_EQ(findText(kTrailAt + "@", "@"), 3);
    EXPECT_EQ(findText(kFourByte + "1", "1"), 5);
    EXPECT_EQ(findText("x" + kZhong + "x", kZhong), 2);
}

TEST(FindText, StartPositionAndEmptyNeedle)
{
    EXPECT_EQ(findText("a:b:c", ":"), 2);
    EXPECT_EQ(findText("a:b:c", ":", 3), 4);
    EXPECT_EQ(findText("a:b:c", ":", 5), -1);
    EXPECT_EQ(findText("abc", ""), 1);
    EXPECT_EQ(findText("", ""), -1);
    EXPECT_EQ(findText("", "a"), -1);
}

using Pieces = std::vector<std::string>;

TEST(SplitText, KeepsInnerEmptyPiecesAndDropsTrailingOne)
{
    EXPECT_EQ(splitText("one\r\n\r\ntwo", "\r\n"), (Pieces{"one", "", "two"}));
    EXPECT_EQ(splitText("one\r\n", "\r\n"), (Pieces{"one"}));
    EXPECT_EQ(splitText(":5", ":"), (Pieces{"", "5"}));
    EXPECT_EQ(splitText("5::", ":"), (Pieces{"5", ""}));
    EXPECT_EQ(splitText("", ":"), Pieces{});
    EXPECT_EQ(splitText("abc", ":"), (Pieces{"abc"}));
}

TEST(SplitText, NeverCutsInsideACharacter)
{
    EXPECT_EQ(splitText(kTrailAt + "@x", "@"), (Pieces{kTrailAt, "x"}));
    EXPECT_EQ(splitText(kFourByte + "0" + kZhong, "0"), (Pieces{kFourByte, kZhong}));
}

TEST(ReplaceText, QuoteAfterAStrayLeadByteIsACharacterOfItsOwn)
{
    EXPECT_EQ(replaceText("\x81'x", "'", "''"), "\x81''x");
    EXPECT_EQ(splitText("\xFE:1", ":"), (Pieces{"\xFE", "1"}));
}

TEST(ReplaceText, SeparatorEndingInsideACharacterResumesAtTheNextStart)
{
    // "a" + lead byte matches the first half of 中; the search goes on after 中,
    // so its trail byte never starts a match.
    const std::string text = "a" + kZhong + "\xD0" + "a";
    EXPECT_EQ(replaceText(text, "a\xD6", "#"), "#\xD0\xD0" + std::string("a"));
    EXPECT_EQ(findText(text, "\xD0"), 4);
}

TEST(ReplaceText, ReplacesEveryOccurrenceLeftToRight)
{
    EXPECT_EQ(replaceText("a\r\nb\r\nc", "\r\n", "; "), "a; b; c");
    EXPECT_EQ(replaceText("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replaceText(kTrailAt + "@", "@", "#"), kTrailAt + "#");
    EXPECT_EQ(replaceText("It's", "'", "''"), "It''s");
}

TEST(RightPart, LastBytesOrWholeText)
{
    EXPECT_EQ(rightPart("menu.yml", 4), ".yml");
    EXPECT_EQ(rightPart("yml", 4), "yml");
    EXPECT_EQ(rightPart("abc", 0), "");
    EXPECT_EQ(rightPart("abc", -2), "");
}

TEST(TextToInteger, ReadsSignAndLeadingDigits)
{
    struct Case {
        std::string text;
        long long value;
    };
    const Case cases[] = {
        {"12", 12},
        {"7abc", 7},
        {"abc", 0},
        {"", 0},
        {"  -12x", -12},
        {"+7", 7},
        {"\t\r\n 5", 5},
        {"- 5", 0},
        {"\xA3\xB1\xA3\xB2", 12},  // full-width 1 2
        {"\xA1\xA1\xA3\xAD\xA3\xB3", -3},  // full-width space, minus, 3
        {"\xA3\xAB"
         "4"
         "\xA3\xB5",
         45},  // full-width plus, then mixed digits
        {kZhong + "5", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(textToInteger(c.text), c.value) << c.text;
}

TEST(TextToInteger, SaturatesInsteadOfWrapping)
{
    EXPECT_EQ(textToInteger("99999999999999999999"), std::numeric_limits<long long>::max());
    EXPECT_EQ(textToInteger("-99999999999999999999"), std::numeric_limits<long long>::min());
    EXPECT_EQ(textToInteger("9223372036854775807"), std::numeric_limits<long long>::max());
    EXPECT_EQ(textToInteger("-9223372036854775808"), std::numeric_limits<long long>::min());
}

TEST(NumberToText, WholeAndFractionalNumbers)
{
    EXPECT_EQ(numberToText(-42LL), "-42");
    EXPECT_EQ(numberToText(6.0), "6");
    EXPECT_EQ(numberToText(0.5), "0.5");
    EXPECT_EQ(numberToText(1.0 / 3.0), "0.3333333333333");
}

}  // namespace
}  // namespace cofferon
