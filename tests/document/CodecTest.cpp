#include <gtest/gtest.h>

#include <random>

#include "document/core/Codec.h"

namespace cofferon {
namespace {

TEST(DocumentToUtf16, CharactersConvertAndOtherBytesBecomeEscapes)
{
    struct Case {
        std::string bytes;
        std::u16string units;
    };
    const Case cases[] = {
        {"a\xD6\xD0", u"a\u4E2D"},  // 中
        {"\x81\x30\x81\x30", u"\u0080"},  // four-byte form of a C1 control
        {"\x94\x39\xFC\x36", u"\U0001F600"},  // beyond the BMP: a surrogate pair
        {"\x80", u"\xDC80"},  // the code page's euro byte is no GB18030 character
        {"\x81'x", u"\xDC81'x"},
        {"ab\xFE", u"ab\xDCFE"},
        {"\x84\x31\xA5\x30",
         u"\xDC84"
         u"1\xDCA5"
         u"0"},  // unassigned four-byte sequence
        // Decodes to a character whose own form is two bytes (FE 51), so it
        // could not come back as these bytes.
        {"\x95\x32\x90\x31",
         u"\xDC95"
         u"2\xDC90"
         u"1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(documentToUtf16(c.bytes), c.units) << testing::PrintToString(c.bytes);
        EXPECT_EQ(utf16ToDocument(c.units), c.bytes) << testing::PrintToString(c.bytes);
    }
}

TEST(Utf16ToDocument, LoneSurrogatesThatAreNoEscapesBecomeReplacementCharacters)
{
    const std::string replacement = "\x84\x31\xA4\x37";
    EXPECT_EQ(utf16ToDocument(u"a\xD800"
                              u"b"),
              "a" + replacement + "b");
    EXPECT_EQ(utf16ToDocument(u"\xDC41"), replacement);  // an ASCII byte is never escaped
    EXPECT_EQ(utf16ToDocument(u"\xDBFF"), replacement);
}

TEST(DocumentToUtf16, EveryByteStringComesBackUnchanged)
{
    std::mt19937 random(20261208);
    // Bytes drawn so that lead bytes, digits and trail bytes meet often.
    const std::string alphabet =
        std::string("\x80\x81\x84\x90\x95\xA1\xD6\xE3\xFE\xFF\x30\x31\x39\x40\x7F\xA4\xD0'a\r\n", 21) +
        std::string(1, '\0');
    for (int round = 0; round < 2000; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i)
            bytes += alphabet[random() % alphabet.size()];
        EXPECT_EQ(utf16ToDocument(documentToUtf16(bytes)), bytes) << testing::PrintToString(bytes);
    }
}

// Past the size of one conversion buffer too, and a bad byte at its very end.
TEST(ConvertsToUtf8, SaysWhatGb18030ToUtf8Says)
{
    std::string chinese;
    for (int i = 0; i < 20000; ++i)
        chinese += "\xB5\xDA";  // 第: 60 000 bytes of UTF-8
    for (const std::string& text : {std::string(), std::string("a\xB5\xDA"), std::string("\x80"),
                                    std::string("\x81\x30\x81\x30"), chinese, chinese + "\xFF", chinese + "\x81"})
        EXPECT_EQ(convertsToUtf8(text), gb18030ToUtf8(text).has_value()) << text.size();
}

}  // namespace
}  // namespace cofferon
