#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "document/core/ProgramDirectory.h"
#include "preview/core/Bitmap.h"
#include "preview/core/BuiltinPictures.h"
#include "preview/core/IconFolders.h"
#include "preview/core/IconListing.h"
#include "preview/core/SlotIcon.h"
#include "support/TempDir.h"

using namespace cofferon;

namespace {

// The three folders of an installed program, each drawing its icons in a
// colour of its own so that a cell shows which folder it was read from.
class IconFolders : public ::testing::Test {
protected:
    enum Folder { User, Program, Packaged };

    void SetUp() override
    {
        setProgramDirectory(m_dir.file("bin"));
        setIconFolders({m_dir.file("user"), programFile("items"), m_dir.file("share/items")});
    }

    void TearDown() override
    {
        setIconFolders({});
        setProgramDirectory(".");
    }

    std::string folder(Folder which) const { return iconFolders().at(static_cast<std::size_t>(which)); }

    static Picture pictureOf(Folder which) { return blankPicture({static_cast<std::uint8_t>(10 + which), 0, 0}); }

    void addIcon(Folder which, const std::string& name)
    {
        std::filesystem::create_directories(folder(which));
        const Picture picture = pictureOf(which);
        test::writeFile(folder(which) + "/" + name, std::string(picture.begin(), picture.end()));
    }

    test::TempDir m_dir;
};

}  // namespace

TEST_F(IconFolders, FirstFolderHoldingTheNameWins)
{
    struct Case {
        const char* what;
        std::vector<Folder> holders;
        std::optional<Folder> winner;
    };
    const Case cases[] = {
        {"nowhere", {}, std::nullopt},
        {"packaged only", {Packaged}, Packaged},
        {"build tree only", {Program}, Program},
        {"user only", {User}, User},
        {"build tree over packaged", {Program, Packaged}, Program},
        {"user over packaged", {Packaged, User}, User},
        {"user over all", {User, Program, Packaged}, User},
    };
    int item = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string name = std::to_string(item) + "-0.bmp";
        for (Folder holder : c.holders)
            addIcon(holder, name);
        const std::optional<std::string> found = findIconFile(name);
        SlotRecord slot;
        slot.id = std::to_string(item++);
        if (!c.winner) {
            EXPECT_FALSE(found);
            EXPECT_EQ(computeSlotIcon(slot), missingItemPicture());
            continue;
        }
        EXPECT_EQ(found, folder(*c.winner) + "/" + name);
        EXPECT_EQ(computeSlotIcon(slot), pictureOf(*c.winner));
    }
}

TEST_F(IconFolders, ListingHoldsEveryNameOnceFromItsWinningFolder)
{
    addIcon(Packaged, "35-1.bmp");
    addIcon(Packaged, "1-0.bmp");
    addIcon(Program, "1-0.bmp");
    addIcon(User, "35-1.bmp");
    addIcon(User, "400-0.bmp");
    std::filesystem::create_directories(folder(User) + "/2-0.bmp");  // a folder, not an icon

    std::vector<std::string> listed;
    for (const IconFile& icon : listIcons(iconFolders()))
        listed.push_back(icon.name + " " + icon.path);
    EXPECT_EQ(
        listed,
        (std::vector<std::string>{"1-0.bmp " + folder(Program) + "/1-0.bmp", "35-1.bmp " + folder(User) + "/35-1.bmp",
                                  "400-0.bmp " + folder(User) + "/400-0.bmp"}));

    // Folders that do not exist list nothing and hide nothing.
    std::filesystem::remove_all(folder(User));
    ASSERT_EQ(listIcons(iconFolders()).size(), 2u);
    EXPECT_EQ(listIcons(iconFolders())[1].path, folder(Packaged) + "/35-1.bmp");
}

TEST_F(IconFolders, StandardOrderIsUserBuildTreePackaged)
{
    EXPECT_EQ(
        standardIconFolders("/home/u/.local/share/cofferon/items"),
        (std::vector<std::string>{"/home/u/.local/share/cofferon/items", programFile("items"), packagedIconFolder()}));
    EXPECT_EQ(standardIconFolders(""), (std::vector<std::string>{programFile("items"), packagedIconFolder()}));
    EXPECT_EQ(packagedIconFolder().front(), '/');
    EXPECT_TRUE(packagedIconFolder().ends_with("/share/cofferon/items")) << packagedIconFolder();

    // Until folders are set, or set to none, the folder beside the program alone.
    setIconFolders({});
    EXPECT_EQ(iconFolders(), std::vector<std::string>{programFile("items")});
}

namespace {

// The picker's search: its parts, split at ":", are the item ID's first parts.
TEST(IconListing, SearchFindsItemIdsByTheirFirstParts)
{
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"35", "35:14", true},   {"35", "35:1", true},   {"35", "35", true},       {"35", "350:1", false},
        {"35", "3:5", false},    {"35:1", "35:1", true}, {"35:1", "35:14", false}, {"35:1", "35:1:2", true},
        {" 35: ", "35:2", true}, {"", "1", true},        {"Stone", "stone", true}, {"3", "35:14", false},
    };
    for (const auto& [search, id, found] : rows)
        EXPECT_EQ(itemIdMatches(id, search), found) << search << " " << id;
}

}  // namespace
