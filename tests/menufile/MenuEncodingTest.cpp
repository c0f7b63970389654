#include <gtest/gtest.h>

#include "document/core/Codec.h"
#include "menufile/core/MenuEncoding.h"

namespace cofferon {
namespace {

TEST(YmlFileName, AppendsExtensionUnlessExactlyYml)
{
    EXPECT_EQ(ymlFileName("menu"), "menu.yml");
    EXPECT_EQ(ymlFileName("menu.yml"), "menu.yml");
    EXPECT_EQ(ymlFileName("menu.YML"), "menu.YML.yml");
    EXPECT_EQ(ymlFileName("menu.yaml"), "menu.yaml.yml");
    EXPECT_EQ(ymlFileName("/tmp/a.yml.bak"), "/tmp/a.yml.bak.yml");
}

std::string encoded(std::string_view text, OutputEncoding encoding)
{
    auto result = encodeMenu(text, encoding);
    if (auto* refusal = std::get_if<Refusal>(&result)) {
        ADD_FAILURE() << refusal->message;
        return {};
    }
    return std::get<std::string>(result);
}

TEST(MenuEncoding, AsciiIsTheSameInBothEncodings)
{
    const std::string text = "menu-setting:\r\n  name: 'a'\r\n";
    EXPECT_EQ(encoded(text, OutputEncoding::Utf8), text);
    EXPECT_EQ(encoded(text, OutputEncoding::Gb2312), text);
}

TEST(MenuEncoding, ChineseTakesTwoBytesInGb2312AndThreeInUtf8)
{
    const std::string gb = *utf8ToGb18030("商店");
    ASSERT_EQ(gb.size(), 4u);
    EXPECT_EQ(encoded(gb, OutputEncoding::Gb2312), gb);
    EXPECT_EQ(encoded(gb, OutputEncoding::Utf8), "商店");
    // GBK-only characters stay too: the file holds the document's bytes.
    const std::string gbkOnly = *utf8ToGb18030("镕");
    EXPECT_EQ(encoded(gbkOnly, OutputEncoding::Gb2312), gbkOnly);
    EXPECT_EQ(encoded(gbkOnly, OutputEncoding::Utf8), "镕");
}

TEST(MenuEncoding, CharactersBeyondGbkAreRefusedOnlyByGb2312)
{
    const std::string text = "name: '" + *utf8ToGb18030("😀") + "'";
    auto result = encodeMenu(text, OutputEncoding::Gb2312);
    ASSERT_TRUE(std::holds_alternative<Refusal>(result));
    const std::string& message = std::get<Refusal>(result).message;
    EXPECT_NE(message.find("😀"), std::string::npos);
    EXPECT_NE(message.find("UTF-8"), std::string::npos);
    EXPECT_EQ(encoded(text, OutputEncoding::Utf8), "name: '😀'");
}

TEST(MenuEncoding, TextThatIsNotGb18030IsRefusedNotEmptied)
{
    auto result = encodeMenu("abc\x81", OutputEncoding::Utf8);
    ASSERT_TRUE(std::holds_alternative<Refusal>(result));
    EXPECT_FALSE(std::get<Refusal>(result).message.empty());
}

TEST(MenuFileBytes, RefusesAMenuLongerThanAReaderTakes)
{
    MenuSettings settings;
    const std::string head = "menu-setting:\r\n  name: ''\r\n  rows: 6\r\n";
    settings.title = std::string(kMostMenuCharacters - head.size(), 'a');
    EXPECT_TRUE(std::holds_alternative<std::string>(menuFileBytes(settings, SlotTable{}, OutputEncoding::Utf8)));
    settings.title->push_back('a');
    for (const auto encoding : {OutputEncoding::Utf8, OutputEncoding::Gb2312}) {
        const auto bytes = menuFileBytes(settings, SlotTable{}, encoding);
        ASSERT_TRUE(std::holds_alternative<Refusal>(bytes));
        EXPECT_EQ(std::get<Refusal>(bytes).message,
                  "菜单文件有 3145729 个字符,超过了 YAML 读取器能读取的 3145728 个,文件未写入。");
    }
}

TEST(Codec, GrowsTheOutputBufferForLongText)
{
    // Two bytes of GBK become three of UTF-8: more than the first buffer holds.
    std::string gb;
    for (int i = 0; i < 5000; ++i)
        gb += *utf8ToGb18030("菜");
    const auto utf8 = gb18030ToUtf8(gb);
    ASSERT_TRUE(utf8);
    EXPECT_EQ(utf8->size(), 15000u);
    EXPECT_FALSE(convertEncoding(gb, "GB18030", "UTF-8", 1));
}

}  // namespace
}  // namespace cofferon
