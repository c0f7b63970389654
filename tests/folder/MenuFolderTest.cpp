#include <gtest/gtest.h>

#include "folder/core/MenuFolder.h"

namespace cofferon {
namespace {

using Paths = std::vector<std::string>;

std::string menu(const std::string& command, const std::string& opens)
{
    return "menu-setting:\n  name: m\n  command: " + command +
        "\n1:\n  ID: 1\n  POSITION-X: 1\n  POSITION-Y: 1\n"
        "  KEEP-OPEN: true\n  COMMAND: 'open: " +
        opens + "'\n";
}

Paths rulesOf(const MenuFolder& folder, const std::string& path)
{
    Paths rules;
    for (const Problem& problem : folder.problemsOf(path))
        rules.emplace_back(problem.rule);
    return rules;
}

// What the window needs: a change names the menus whose problems it can
// change, and only those; the others' problems follow without reading them.
TEST(MenuFolder, AChangeReachesTheMenuAndItsLinksAndCommandsOnly)
{
    MenuFolder folder;
    EXPECT_EQ(folder.setMenu("a.yml", menu("a", "sub/B.yml")), Paths{"a.yml"});
    EXPECT_EQ(folder.setMenu("c.yml", menu("c", "a.yml")), Paths{"c.yml"});
    EXPECT_EQ(rulesOf(folder, "a.yml"), Paths{"open-target"});

    // A new name reaches the menus that link to it, whatever they wrote after the name.
    EXPECT_EQ(folder.setMenu("sub/b.yml", menu("b", "c.yml")), (Paths{"a.yml", "sub/b.yml"}));
    EXPECT_EQ(rulesOf(folder, "a.yml"), Paths{"open-target"});  // a link names a file, not a path
    EXPECT_EQ(folder.setMenu("a.yml", menu("a", "B.yml")), Paths{"a.yml"});
    EXPECT_EQ(rulesOf(folder, "a.yml"), Paths{});
    EXPECT_EQ(folder.linkedMenu("B.YML"), "sub/b.yml");

    // Commands: both menus of one command, before and after the change.
    EXPECT_EQ(folder.setMenu("c.yml", menu("B", "a.yml")), (Paths{"c.yml", "sub/b.yml"}));
    EXPECT_EQ(rulesOf(folder, "sub/b.yml"), Paths{"duplicate-command"});
    EXPECT_EQ(folder.countOf("c.yml").errors, 1);
    EXPECT_EQ(folder.setMenu("c.yml", menu("c", "a.yml")), (Paths{"c.yml", "sub/b.yml"}));
    EXPECT_EQ(rulesOf(folder, "sub/b.yml"), Paths{});

    // A file name twice, and a file that goes: the same name and the links to it.
    EXPECT_EQ(folder.setMenu("other/b.yml", menu("d", "a.yml")), (Paths{"a.yml", "other/b.yml", "sub/b.yml"}));
    EXPECT_EQ(rulesOf(folder, "other/b.yml"), Paths{"duplicate-file-name"});
    EXPECT_EQ(folder.remove("other/b.yml"), (Paths{"a.yml", "sub/b.yml"}));
    EXPECT_EQ(folder.remove("sub/b.yml"), Paths{"a.yml"});
    EXPECT_EQ(rulesOf(folder, "a.yml"), Paths{"open-target"});
    EXPECT_EQ(folder.paths(), (Paths{"a.yml", "c.yml"}));
}

TEST(MenuFolder, AProblemKnowsItsSlotAndTheFolderListsThemInOrder)
{
    MenuFolder folder;
    folder.setMenu("b.yml", "1: {ID: 1, POSITION-X: 4, POSITION-Y: 1, PRICE: x}\n");
    folder.setMenu("a.yml", menu("a", "none.yml"));
    folder.setFolderProblems({makeProblem("a/", {}, rule::kSkipped, "link")});
    const std::vector<Problem> all = folder.problems();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].path, "a.yml");
    EXPECT_EQ(all[0].slot, 1);
    EXPECT_EQ(all[1].path, "a/");
    EXPECT_EQ(all[2].rule, rule::kValue);
    EXPECT_EQ(all[2].slot, 4);
    EXPECT_EQ(all[2].column, 42);
}

}  // namespace
}  // namespace cofferon
