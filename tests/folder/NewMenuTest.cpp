#include <gtest/gtest.h>

#include <filesystem>

#include "document/core/Codec.h"
#include "folder/core/NewMenu.h"
#include "menufile/core/MenuImport.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

namespace fs = std::filesystem;

TEST(NewMenu, NameRules)
{
    MenuFolder folder;
    folder.setMenu("sub/shop.yml", "menu-setting:\n  name: m\n");
    const struct {
        const char* name;
        const char* renamed;
        const char* problem;  // a part of the message; empty for a name that will do
    } rows[] = {
        {"store.yml", "", ""},
        {"Store.YAML", "", ""},
        {"商店.yml", "", ""},
        {"store.txt", "", "要以 .yml 或 .yaml 结尾"},
        {"store", "", "要以 .yml 或 .yaml 结尾"},
        {".YML", "", "不能只有扩展名"},
        {"sub/store.yml", "", "不能有“/”"},
        {"my store.yml", "", "不能有空格"},
        {"store\t.yml", "", "不能有空格"},
        {"store\n.yml", "", "控制字符"},
        {"\xff.yml", "", "不是有效的文字"},
        {"SHOP.yml", "", "已有同名的菜单“sub/shop.yml”"},
        {"SHOP.yml", "sub/shop.yml", ""},  // a menu may take its own name in another case
        {"SHOP.yml", "other.yml", "已有同名的菜单“sub/shop.yml”"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto problem = menuNameProblem(folder, row.name, row.renamed);
        EXPECT_EQ(problem.has_value(), *row.problem != '\0');
        EXPECT_NE(problem.value_or("").find(row.problem), std::string::npos) << problem.value_or("");
    }
}

TEST(NewMenu, AnEmptyMenuInUtf8WithItsTitleAndRows)
{
    const auto bytes = newMenuBytes(utf8ToGb18030("&6商店").value(), 3);
    ASSERT_TRUE(std::holds_alternative<std::string>(bytes));
    const std::string& text = std::get<std::string>(bytes);
    EXPECT_NE(text.find("&6商店"), std::string::npos);
    const auto read = importMenu(text);
    ASSERT_TRUE(std::holds_alternative<ImportedMenu>(read));
    const ImportedMenu& menu = std::get<ImportedMenu>(read);
    EXPECT_EQ(menu.encoding, OutputEncoding::Utf8);
    EXPECT_EQ(menu.project.settings.title, utf8ToGb18030("&6商店"));
    EXPECT_EQ(menu.project.settings.rows(), 3);
    EXPECT_EQ(menu.project.slots, SlotTable{});
    EXPECT_TRUE(menu.notTakenOver.empty());

    EXPECT_EQ(std::get<Refusal>(newMenuBytes("", 1)).message, "需要菜单标题");
    EXPECT_EQ(std::get<Refusal>(newMenuBytes("m", 0)).message, "菜单的行数要在 1 到 6 之间");
    EXPECT_EQ(std::get<Refusal>(newMenuBytes("m", 7)).message, "菜单的行数要在 1 到 6 之间");
    EXPECT_TRUE(std::holds_alternative<std::string>(newMenuBytes("m", 6)));
}

TEST(NewMenu, CreatedWholeAndNeverOverAFileOfItsName)
{
    test::TempDir dir;
    fs::create_directory(dir.path() / "sub");
    EXPECT_EQ(createMenuFile(dir.path(), "sub/new.yml", "new"), std::nullopt);
    EXPECT_EQ(test::readFile(dir.file("sub/new.yml")), "new");

    test::writeFile(dir.file("sub/taken.yml"), "kept");
    const auto refused = createMenuFile(dir.path(), "sub/taken.yml", "lost");
    EXPECT_NE(refused.value_or("").find("已有这个名字的文件或文件夹"), std::string::npos) << refused.value_or("");
    EXPECT_EQ(test::readFile(dir.file("sub/taken.yml")), "kept");
    EXPECT_NE(createMenuFile(dir.path(), "gone/new.yml", "x"), std::nullopt);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "sub"), {}), 2);
}

}  // namespace
}  // namespace cofferon
