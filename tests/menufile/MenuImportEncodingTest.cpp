#include <gtest/gtest.h>

#include "document/core/Codec.h"
#include "menufile/core/EncodingGuess.h"
#include "menufile/core/MenuEncoding.h"
#include "menufile/core/MenuImport.h"

namespace cofferon {
namespace {

std::string gb(const char* utf8)
{
    return *utf8ToGb18030(utf8);
}

// A menu with the text as its title, an item's name and a lore line.
WholeMenu menuOf(const char* text)
{
    WholeMenu project;
    project.settings.title = gb(text);
    project.slots[1] = {.lore = "&7" + gb(text), .name = gb(text), .id = "1"};
    return project;
}

ImportedMenu imported(std::string_view bytes, std::optional<OutputEncoding> encoding = std::nullopt)
{
    auto result = importMenu(bytes, encoding);
    if (const auto* problem = std::get_if<NotAMenu>(&result)) {
        ADD_FAILURE() << describeNotAMenu(*problem);
        return {};
    }
    return std::get<ImportedMenu>(std::move(result));
}

// The tool's own exports come back without a question: in UTF-8 whatever the
// script (GBK would read each of these bytes too), in GB2312 with two Chinese
// characters or more (UTF-8 would read each of these too).
TEST(MenuImportEncoding, OwnExportsInEveryScriptComeBackWithoutAQuestion)
{
    const std::pair<const char*, OutputEncoding> texts[] = {
        {"Магазин оружия", OutputEncoding::Utf8},
        {"Κατάστημα", OutputEncoding::Utf8},
        {"Sklep z bronią", OutputEncoding::Utf8},
        {"Silah Mağazası", OutputEncoding::Utf8},
        {"Cửa hàng", OutputEncoding::Utf8},
        {"متجر الأسلحة", OutputEncoding::Utf8},
        {"חנות נשק", OutputEncoding::Utf8},
        {"무기 상점", OutputEncoding::Utf8},
        {"Obchod se zbraněmi", OutputEncoding::Utf8},
        {"Café crème", OutputEncoding::Utf8},
        {"Waffenläden für Größe", OutputEncoding::Utf8},
        {"Tienda mágica", OutputEncoding::Utf8},
        {"Loja São Paulo", OutputEncoding::Utf8},
        {"武器商店", OutputEncoding::Utf8},
        {"§6Shop", OutputEncoding::Utf8},
        {"один", OutputEncoding::Utf8},
        {"魔药", OutputEncoding::Gb2312},
        {"猫猫", OutputEncoding::Gb2312},
        {"魔药商店", OutputEncoding::Gb2312},
        {"药水", OutputEncoding::Gb2312},
        // UTF-8 reads a line separator and "A", which the guess prefers; only
        // the GB2312 reading writes these bytes again.
        {"鈥ˋ", OutputEncoding::Gb2312},
    };
    for (const auto& [text, encoding] : texts) {
        const WholeMenu project = menuOf(text);
        const std::string bytes = std::get<std::string>(menuFileBytes(project.settings, project.slots, encoding));
        const ImportedMenu menu = imported(bytes);
        EXPECT_EQ(menu.encoding, encoding) << text;
        EXPECT_NE(menu.encodingChoice, EncodingChoice::Open) << text;
        EXPECT_EQ(menu.project, project) << text;
    }
}

// Bytes that read both ways, weighed: each row is the text as written.
TEST(MenuImportEncoding, TheClearlyLikelierReadingWins)
{
    const std::tuple<const char*, OutputEncoding, EncodingGuess> rows[] = {
        {"魔药", OutputEncoding::Gb2312, EncodingGuess::Gbk},  // UTF-8: "ħҩ", two scripts side by side
        {"猫猫", OutputEncoding::Gb2312, EncodingGuess::Either},  // UTF-8: "èè"
        {"猫", OutputEncoding::Gb2312, EncodingGuess::Either},  // UTF-8: "è"
        {"魔药水", OutputEncoding::Gb2312, EncodingGuess::Gbk},  // UTF-8: "ħҩˮ"
        {"Магазин", OutputEncoding::Utf8, EncodingGuess::Utf8},  // GBK: "袦邪谐邪蟹懈薪"
        {"один", OutputEncoding::Utf8, EncodingGuess::Utf8},  // GBK: four characters of one row; by exactly the margin
        {"品", OutputEncoding::Gb2312, EncodingGuess::Gbk},  // UTF-8: "Ʒ"; by exactly the margin
        {"Kılıç", OutputEncoding::Utf8, EncodingGuess::Utf8},  // GBK: "K谋l谋莽", Chinese inside a word
        {"§cShop", OutputEncoding::Utf8, EncodingGuess::Utf8},  // the game's colour code
        {"über", OutputEncoding::Utf8, EncodingGuess::Either},
        {"à la carte", OutputEncoding::Utf8, EncodingGuess::Utf8},  // GBK: C3 A0 is no GB2312 code
    };
    for (const auto& [text, written, guess] : rows) {
        const std::string line = "  name: '" + (written == OutputEncoding::Utf8 ? std::string(text) : gb(text)) + "'";
        EXPECT_EQ(guessEncoding(line), guess) << text;
    }
}

TEST(MenuImportEncoding, HandWrittenGbkThatReadsAsUtf8IsChinese)
{
    // 魔药 in GBK is C4 A7 D2 A9, which UTF-8 reads as "ħҩ".
    const ImportedMenu menu = imported(gb("menu-setting:\n  name: 魔药\n"));
    EXPECT_EQ(menu.project.settings.title, gb("魔药"));
    EXPECT_EQ(menu.encodingChoice, EncodingChoice::Decided);
    EXPECT_EQ(encodingNote(menu), "文件按 UTF-8 和 GB2312 都能读,已按 GB2312 读取");
}

TEST(MenuImportEncoding, OneCharacterReadsBothWaysAndBothAreOffered)
{
    // 猫 in GBK is C3 A8, "è" in UTF-8.
    const std::string bytes = gb("menu-setting:\n  name: 猫\n");
    const ImportedMenu menu = imported(bytes);
    EXPECT_EQ(menu.encodingChoice, EncodingChoice::Open);
    EXPECT_EQ(menu.encoding, OutputEncoding::Utf8);
    EXPECT_EQ(menu.sample, "è");
    ASSERT_TRUE(menu.otherReading);
    EXPECT_EQ(menu.otherReading->encoding, OutputEncoding::Gb2312);
    EXPECT_EQ(menu.otherReading->sample, "猫");
    EXPECT_EQ(menu.otherReading->project.settings.title, gb("猫"));

    // Named, the encoding is read as it is, whatever the bytes look like.
    EXPECT_EQ(imported(bytes, OutputEncoding::Gb2312).project.settings.title, gb("猫"));
    EXPECT_EQ(imported(bytes, OutputEncoding::Gb2312).encodingChoice, EncodingChoice::Named);
    EXPECT_EQ(imported(gb("menu-setting:\n  name: 魔药\n"), OutputEncoding::Utf8).project.settings.title, gb("ħҩ"));
    const auto notUtf8 = importMenu(gb("menu-setting:\n  name: 商店\n"), OutputEncoding::Utf8);
    ASSERT_TRUE(std::holds_alternative<NotAMenu>(notUtf8));
    EXPECT_EQ(describeNotAMenu(std::get<NotAMenu>(notUtf8)), "第 2 行第 9 列:文件不是 UTF-8 编码的文字");

    // Without a title the sample is the first line beyond ASCII.
    EXPECT_EQ(imported(gb("a: {ID: 1, POSITION-X: 1, POSITION-Y: 1, NAME: 猫}\n")).sample,
              "a: {ID: 1, POSITION-X: 1, POSITION-Y: 1, NAME: è}");
}

}  // namespace
}  // namespace cofferon
