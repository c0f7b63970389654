#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "document/core/Codec.h"
#include "menufile/core/MenuImport.h"
#include "menufile/core/MenuOnto.h"
#include "support/RandomMenuFile.h"
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

const std::string kGbk =
    gb("menu-setting:\n  name: 商店\n1:\n  ID: 1\n  POSITION-X: 1\n  POSITION-Y: 1\n  NAME: 石头\n");

// An item that others take values from through a merge key.
const std::string kHolder = R"(menu-setting:
  name: T
a: &a
  ID: 1
  POSITION-X: 1
  POSITION-Y: 1
  NAME: Stone
b:
  <<: *a
  POSITION-X: 2
)";

const std::string kAlias = R"(menu-setting:
  name: T
a:
  ID: 1
  POSITION-X: 1
  POSITION-Y: 1
  NAME: &n Stone
b:
  ID: 2
  POSITION-X: 2
  POSITION-Y: 1
  NAME: *n
)";

// Values the import leaves where they stand: a price that is no number, an
// item below the last row, a second item on one slot.
const std::string kLeftOver = R"(menu-setting:
  name: T
  rows: 1
first:
  ID: 1
  POSITION-X: 1
  POSITION-Y: 1
  NAME: Old
  PRICE: abc
low:
  ID: 2
  POSITION-X: 1
  POSITION-Y: 2
second:
  ID: 3
  POSITION-X: 1
  POSITION-Y: 1
)";

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
    WholeMenu work = menuToEdit(menu);
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
        {"a lore line dropped goes with its line", kShop, [](WholeMenu& m) { m.slots[1].lore = "&7Shiny"; },
         replaced(kShop, "  - '&7Rare'\n", "")},
        {"an opening item set the first time is a block of its own", kShop,
         [](WholeMenu& m) {
             m.settings.openItem = "345";
             m.settings.rightClick = true;
         },
         replaced(kShop, "  auto-refresh: 5\n",
                  "  auto-refresh: 5\n  open-with-item:\n    id: '345'\n    right-click: true\n")},
        {"a GBK file is edited in its own bytes", kGbk, [](WholeMenu& m) { m.slots[1].name = gb("钻石"); },
         replaced(kGbk, gb("NAME: 石头"), gb("NAME: 钻石")), OutputEncoding::Gb2312},
        {"a byte-order mark stays", "\xEF\xBB\xBF" + kShop, [](WholeMenu& m) { m.slots[1].money = "1"; },
         replaced("\xEF\xBB\xBF" + kShop, "PRICE: 100", "PRICE: 1")},
        {"the other encoding converts the whole text", kGbk, [](WholeMenu& m) { m.slots[1].money = "1"; },
         *gb18030ToUtf8(kGbk) + "  PRICE: 1\n"},
        {"other items keep what they read through a merge from a block that changes", kHolder,
         [](WholeMenu& m) { m.slots[1].name = "Rock"; },
         replaced(replaced(kHolder, "NAME: Stone", "NAME: Rock"), "  POSITION-X: 2\n",
                  "  POSITION-X: 2\n  NAME: Stone\n")},
        {"an alias keeps the value it read when its anchor's value changes", kAlias,
         [](WholeMenu& m) { m.slots[1].name = "Rock"; },
         replaced(replaced(kAlias, "&n Stone", "&n Rock"), "NAME: *n", "NAME: Stone")},
        {"a block that goes takes nothing kept for it through a merge from a block that changes", kHolder,
         [](WholeMenu& m) {
             m.slots[1].name = "Rock";
             m.slots[2] = SlotRecord{};
         },
         replaced(kHolder.substr(0, kHolder.find("b:\n")), "NAME: Stone", "NAME: Rock")},
        {"an alias in a block that goes is not kept when its anchor's value changes", kAlias,
         [](WholeMenu& m) {
             m.slots[1].name = "Rock";
             m.slots[2] = SlotRecord{};
         },
         replaced(kAlias.substr(0, kAlias.find("b:\n")), "&n Stone", "&n Rock")},
        {"a value not taken over stays as it stands", kLeftOver, [](WholeMenu& m) { m.slots[1].name = "New"; },
         replaced(kLeftOver, "NAME: Old", "NAME: New")},
        {"a value not taken over is replaced once the user sets it", kLeftOver,
         [](WholeMenu& m) { m.slots[1].money = "5"; }, replaced(kLeftOver, "PRICE: abc", "PRICE: 5")},
        {"an item below the last row stays, and shows once the rows reach it", kLeftOver,
         [](WholeMenu& m) { m.settings.rowIndex = 1; }, replaced(kLeftOver, "rows: 1", "rows: 2")},
        {"an item below the last row takes its change with nothing shown changed", kLeftOver,
         [](WholeMenu& m) { m.slots[10].name = "Low"; },
         replaced(kLeftOver, "  POSITION-Y: 2\n", "  POSITION-Y: 2\n  NAME: Low\n")},
        {"a second item on one slot stays as it stands", kLeftOver, [](WholeMenu& m) { m.slots[1].lore = "line"; },
         replaced(kLeftOver, "  PRICE: abc\n", "  PRICE: abc\n  LORE:\n    - line\n")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const auto written = writeChanged(row.original, row.change, row.encoding);
        if (row.expected.empty()) {
            EXPECT_TRUE(std::holds_alternative<Refusal>(written));
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<MenuOnto>(written)) << std::get<Refusal>(written).message;
        EXPECT_EQ(std::get<MenuOnto>(written).bytes(), row.expected);
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
        EXPECT_EQ(std::get<MenuOnto>(written).bytes(), original);
    }
}

// Hand-written files of every style, and a change a user makes: the file
// written onto reads back as the changed menu, twice running, and the
// unchanged menu writes the file back byte for byte.
TEST(MenuOnto, randomMenusInRandomStylesTakeRandomChanges)
{
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 random(seed);
        const test::Choose choose = [&](unsigned bound) {
            return bound ? static_cast<unsigned>(random() % bound) : 0u;
        };
        const std::string original = test::randomMenuFile(choose);
        SCOPED_TRACE(testing::Message() << "seed " << seed << "\n" << original);
        auto read = importMenuText(original);
        ASSERT_TRUE(std::holds_alternative<ImportedMenu>(read)) << describeNotAMenu(std::get<NotAMenu>(read));
        ImportedMenu file = std::get<ImportedMenu>(std::move(read));
        WholeMenu work = menuToEdit(file);
        const auto same = writeMenuOnto(file, work, claimsByOrigin(work.slots, file.text->places), file.encoding);
        ASSERT_TRUE(std::holds_alternative<MenuOnto>(same)) << std::get<Refusal>(same).message;
        EXPECT_EQ(std::get<MenuOnto>(same).bytes(), original);
        for (int round = 0; round < 2; ++round) {
            test::changeAtRandom(work, choose);
            auto written = writeMenuOnto(file, work, claimsByOrigin(work.slots, file.text->places), file.encoding);
            ASSERT_TRUE(std::holds_alternative<MenuOnto>(written)) << std::get<Refusal>(written).message;
            MenuOnto& onto = std::get<MenuOnto>(written);
            EXPECT_EQ(std::get<ImportedMenu>(importMenuText(onto.bytes(), file.encoding)).project,
                      onto.readBack.project);
            file = std::move(onto.readBack);
            stampOrigins(work.slots, file.text->places);
        }
    }
}

}  // namespace
}  // namespace cofferon
