#include <gtest/gtest.h>

#include <functional>

#include "document/core/Codec.h"
#include "menufile/core/MenuImport.h"
#include "menufile/core/MenuOnto.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

std::string gb(const char* utf8)
{
    return *utf8ToGb18030(utf8);
}

std::string withCrLf(std::string text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// A menu kept by hand: comments, blocks named by words, keys the tool does
// not edit, a flow item, a block scalar, a merge key, LF line ends.
const std::string kShop = test::readFile(COFFERON_TEST_DATA "/menus/kept-by-hand.yml");

using Change = std::function<void(WholeMenu&)>;

struct Row {
    const char* rule;
    std::string original;
    Change change;
    std::string expected;  // empty: the write is refused
    OutputEncoding encoding = OutputEncoding::Utf8;
};

// The window's way: each slot keeps the block it came from.
std::variant<MenuOnto, Refusal> writeChanged(const std::string& original, const Change& change, OutputEncoding encoding)
{
    auto read = importMenuText(original);
    if (!std::holds_alternative<ImportedMenu>(read)) {
        ADD_FAILURE() << describeNotAMenu(std::get<NotAMenu>(read));
        return Refusal{};
    }
    const ImportedMenu& menu = std::get<ImportedMenu>(read);
    WholeMenu work = menu.project;
    stampOrigins(work.slots, menu.text->places);
    change(work);
    return writeMenuOnto(menu, work, claimsByOrigin(work.slots, menu.text->places), encoding);
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(MenuOnto, eachChangeRewritesOnlyItsOwnPartOfTheFile)
{
    const std::string crlf = withCrLf(kShop);
    const Row rows[] = {
        {"a name in double quotes stays in them, the comment after the title too", kShop,
         [](WholeMenu& m) { m.slots[1].name = "&bBig diamond"; },
         replaced(kShop, "NAME: \"&bDiamond\"", "NAME: \"&bBig diamond\"")},
        {"CR LF line ends stay", crlf, [](WholeMenu& m) { m.slots[1].money = "250"; },
         replaced(crlf, "PRICE: 100", "PRICE: 250")},
        {"a title in single quotes keeps them and its comment", kShop,
         [](WholeMenu& m) { m.settings.title = "&6Big shop"; },
         replaced(kShop, "name: '&6Shop'", "name: '&6Big shop'")},
        {"a plain command stays plain", kShop, [](WholeMenu& m) { m.settings.menuCommand = "market"; },
         replaced(kShop, "command: shop", "command: market")},
        {"a cleared value goes with its line", kShop, [](WholeMenu& m) { m.settings.menuCommand.reset(); },
         replaced(kShop, "  command: shop\n", "")},
        {"a key set the first time goes at the end of its block", kShop,
         [](WholeMenu& m) { m.slots[1].permission = "shop.diamond"; },
         replaced(kShop, "  AMOUNT: 16\n", "  AMOUNT: 16\n  PERMISSION: 'shop.diamond'\n")},
        {"one lore line changed is one line of the file", kShop,
         [](WholeMenu& m) { m.slots[1].lore = "&7Shiny\r\n&7Very rare"; },
         replaced(kShop, "- '&7Rare'", "- '&7Very rare'")},
        {"a lore line added follows the last one", kShop, [](WholeMenu& m) { m.slots[1].lore += "\r\n&8Mined"; },
         replaced(kShop, "  - '&7Rare'\n", "  - '&7Rare'\n  - '&8Mined'\n")},
        {"a flow item stays a flow item", kShop, [](WholeMenu& m) { m.slots[15].money = "7"; },
         replaced(kShop, "NAME: Iron}", "NAME: Iron, PRICE: 7}")},
        {"a block scalar stays one", kShop, [](WholeMenu& m) { m.slots[27].name = "&cReturn"; },
         replaced(kShop, "    &cBack", "    &cReturn")},
        {"a value a merge key brings in is overridden in the item itself", kShop,
         [](WholeMenu& m) { m.slots[1].keepOpen = "false"; },
         replaced(kShop, "  AMOUNT: 16\n", "  AMOUNT: 16\n  KEEP-OPEN: false\n")},
        {"a swap changes the positions only; the blocks keep their names and comments", kShop,
         [](WholeMenu& m) { m.slots.swapSlots(1, 27); },
         replaced(replaced(kShop, "POSITION-X: 9\n  POSITION-Y: 3\n", "POSITION-X: 1\n  POSITION-Y: 1\n"),
                  "POSITION-X: 1\n  POSITION-Y: 1\n", "POSITION-X: 9\n  POSITION-Y: 3\n")},
        {"an emptied item loses its block and the comment above it", kShop,
         [](WholeMenu& m) { m.slots[27] = SlotRecord{}; }, kShop.substr(0, kShop.find("# back to the main menu"))},
        {"a new item follows the last block, named by its slot, in the file's quoting", kShop,
         [](WholeMenu& m) { m.slots[5] = SlotRecord{.name = "&aEmerald", .id = "388"}; },
         kShop + "5:\n  ID: 388\n  POSITION-X: 5\n  POSITION-Y: 1\n  NAME: '&aEmerald'\n"},
        {"a changed value the encoding cannot hold is refused", kShop,
         [](WholeMenu& m) { m.slots[1].name = std::string("\x1b", 1); }, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const auto written = writeChanged(row.original, row.change, row.encoding);
        if (row.expected.empty()) {
            EXPECT_TRUE(std::holds_alternative<Refusal>(written));
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<MenuOnto>(written)) << std::get<Refusal>(written).message;
        EXPECT_EQ(std::get<MenuOnto>(written).bytes, row.expected);
    }
}

TEST(MenuOnto, theUnchangedMenuWritesTheFileBackByteForByte)
{
    const std::pair<std::string, OutputEncoding> files[] = {
        {kShop, OutputEncoding::Utf8},
        {withCrLf(kShop), OutputEncoding::Utf8},
        {"\xEF\xBB\xBF" + kShop, OutputEncoding::Utf8},
        {gb("menu-setting:\n  name: 商店\n"), OutputEncoding::Gb2312},
    };
    for (const auto& [original, encoding] : files) {
        const auto written = writeChanged(
            original, [](WholeMenu&) {}, encoding);
        ASSERT_TRUE(std::holds_alternative<MenuOnto>(written)) << std::get<Refusal>(written).message;
        EXPECT_EQ(std::get<MenuOnto>(written).bytes, original);
    }
}

}  // namespace
}  // namespace cofferon
