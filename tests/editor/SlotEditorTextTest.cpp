#include <gtest/gtest.h>

#include "editor/core/InsertMenus.h"
#include "editor/core/SlotEditorText.h"
#include "ui/core/CharacterRules.h"

namespace cofferon {
namespace {

TEST(DropBlankLines, KeepsOnlyLinesWithContent)
{
    struct Case {
        std::string text;
        std::string kept;
    };
    const Case cases[] = {
        {"", ""},
        {"a\r\nb", "a\r\nb"},
        {"a\r\n", "a"},
        {"\r\n\r\n", ""},
        {"a\r\n\r\n   \r\nb", "a\r\nb"},
        {"\xA1\xA1 \xA1\xA1\r\nb", "b"},  // full-width spaces are blanks
        {"\t\r\nb", "\t\r\nb"},  // tabs are not
        {" a \r\n\r\n", " a "},  // kept lines keep their own blanks
        {"\r\nfirst", "first"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dropBlankLines(c.text), c.kept) << c.text;
}

TEST(ColourText, RoundTripsAndClampsHandEditedValues)
{
    EXPECT_EQ(colourText({255, 0, 0}), "255, 0, 0");
    EXPECT_EQ(colourFromText("10, 20, 30"), (Rgb{10, 20, 30}));
    EXPECT_EQ(colourFromText("300, -5"), (Rgb{255, 0, 0}));
    EXPECT_EQ(colourFromText(""), (Rgb{0, 0, 0}));
    EXPECT_EQ(colourFromText("1,2,3,4"), (Rgb{1, 2, 3}));
    EXPECT_EQ(pickerValue({1, 2, 3}), 1u + 256u * 2u + 65536u * 3u);
}

TEST(EnchantmentLevel, IntegerValueWithinOneToMax)
{
    EXPECT_TRUE(enchantmentLevelAccepted("4", 4));
    EXPECT_TRUE(enchantmentLevelAccepted("3x", 5));
    EXPECT_FALSE(enchantmentLevelAccepted("5", 4));
    EXPECT_FALSE(enchantmentLevelAccepted("0", 4));
    EXPECT_FALSE(enchantmentLevelAccepted("abc", 4));
    EXPECT_FALSE(enchantmentLevelAccepted("", 4));
}

TEST(CharacterRules, EachFilterTakesItsCharacters)
{
    using layout::CharacterFilter;
    EXPECT_TRUE(acceptsCharacter(CharacterFilter::ItemId, U'7', ""));
    EXPECT_TRUE(acceptsCharacter(CharacterFilter::ItemId, U':', "35"));
    EXPECT_FALSE(acceptsCharacter(CharacterFilter::ItemId, U':', "35:1"));
    EXPECT_TRUE(acceptsCharacter(CharacterFilter::ItemId, kBackspace, "35:1"));
    EXPECT_FALSE(acceptsCharacter(CharacterFilter::ItemId, 0x16, ""));  // Ctrl+V
    EXPECT_FALSE(acceptsCharacter(CharacterFilter::Command, U'S', ""));
    EXPECT_FALSE(acceptsCharacter(CharacterFilter::Command, U'/', ""));
    EXPECT_TRUE(acceptsCharacter(CharacterFilter::Command, U's', ""));
    EXPECT_TRUE(acceptsCharacter(CharacterFilter::Integer, U'-', ""));
    EXPECT_TRUE(acceptsCharacter(CharacterFilter::Integer, 0x16, ""));
    EXPECT_FALSE(acceptsCharacter(CharacterFilter::Integer, U'a', ""));
    EXPECT_FALSE(acceptsCharacter(CharacterFilter::Integer, U'１', ""));
}

TEST(InsertMenus, EveryEntryHasItsAction)
{
    std::size_t actions = 0;
    auto walk = [&](auto& self, std::span<const layout::MenuEntry> entries) -> void {
        for (const layout::MenuEntry& entry : entries) {
            if (!entry.submenu.empty()) {
                self(self, entry.submenu);
                continue;
            }
            const bool known = findCommandAction(entry.caption) || findEnchantment(entry.caption) ||
                findPlaceholder(entry.caption) || findFormatCode(entry.caption);
            EXPECT_TRUE(known) << entry.caption;
            ++actions;
        }
    };
    for (const layout::Menu& menu : slotEditorMenus())
        walk(walk, menu.entries);
    EXPECT_EQ(actions, 9u + 27u + 5u + 16u + 5u);
}

TEST(InsertMenus, EnchantmentNamesAndLevels)
{
    struct Case {
        const char* caption;
        const char* name;
        int maxLevel;
    };
    const Case cases[] = {
        {"水下速倔", "Aqua Affinity", 1}, {"冰霜行者", "Frost Walker", 2}, {"截肢杀手", "Bane of Arthropods", 5},
        {"精准采集", "Silk Touch", 1},    {"无限", "Infinity", 1},         {"海之眷顾", "Luck of the Sea", 3},
        {"经验修补", "Mending", 1},
    };
    for (const Case& c : cases) {
        const Enchantment* found = findEnchantment(c.caption);
        ASSERT_TRUE(found) << c.caption;
        EXPECT_EQ(found->name, c.name);
        EXPECT_EQ(found->maxLevel, c.maxLevel);
    }
    EXPECT_EQ(findFormatCode("Color #a")->text, "&a");
    EXPECT_EQ(findFormatCode("还原")->text, "&r");
    EXPECT_EQ(findPlaceholder("{money}——将会显示你的存款余额,必须有\" Vault\"插件")->text, "{money}");
}

}  // namespace
}  // namespace cofferon
