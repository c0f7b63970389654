#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "menufile/core/MenuImport.h"
#include "project/core/ImportCli.h"
#include "project/core/ProjectFile.h"
#include "support/CommandRun.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

using test::Outcome;

Outcome run(const std::vector<std::string>& args)
{
    return test::runCommand(runImportCli, args);
}

const std::string kWorkedExample = COFFERON_TEST_DATA "/worked-example.yml";
const std::string kLeftovers = COFFERON_TEST_DATA "/menus/leftovers.yml";

std::string projectOf(const std::string& menuFile)
{
    const auto menu = std::get<ImportedMenu>(importMenu(test::readFile(menuFile)));
    return projectText(menu.project.settings, menu.project.slots);
}

TEST(ImportCli, WritesTheProjectAndListsWhatWasLeftBehind)
{
    test::TempDir dir;
    const std::string output = dir.file("shop.ini");
    Outcome written = run({kWorkedExample, "-o", output});
    EXPECT_EQ(written.code, 0);
    EXPECT_EQ(written.out + written.err, "");
    EXPECT_EQ(test::readFile(output), projectOf(kWorkedExample));

    const Outcome toStdout = run({kLeftovers});
    EXPECT_EQ(toStdout.code, 0);
    EXPECT_EQ(toStdout.out, projectOf(kLeftovers));
    EXPECT_NE(toStdout.err.find(kLeftovers + ": 顶层的未知键“stray”\n"), std::string::npos) << toStdout.err;
}

TEST(ImportCli, TakesUtf8WhereBothReadingsWouldDoAndSaysSo)
{
    test::TempDir dir;
    const std::string cat = dir.file("cat.yml");
    test::writeFile(cat, "menu-setting:\n  name: \xC3\xA8\n");  // 猫 in GBK, è in UTF-8
    const Outcome guessed = run({cat});
    EXPECT_EQ(guessed.code, 0);
    EXPECT_NE(guessed.out.find("title=\xA8\xA8\r\n"), std::string::npos) << guessed.out;  // è
    EXPECT_EQ(guessed.err,
              cat +
                  ": 文件按 UTF-8 和 GB2312 读都说得通,已按 UTF-8 读取(可用 --encoding gb2312 改按 "
                  "GB2312 读取)\n");
    const Outcome named = run({cat, "--encoding", "GB2312"});
    EXPECT_EQ(named.code, 0);
    EXPECT_NE(named.out.find("title=\xC3\xA8\r\n"), std::string::npos) << named.out;  // 猫
    EXPECT_EQ(named.err, "");
}

TEST(ImportCli, ExitCodesSayWhatWentWrong)
{
    test::TempDir dir;
    test::writeFile(dir.file("list.yml"), "- a\n- b\n");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string err;  // a part of standard error
    };
    const Case cases[] = {
        {{dir.file("list.yml"), "-o", dir.file("out.ini")}, 1, "第 1 行第 1 列:最外层不是"},
        {{dir.file("missing.yml")},
         2,
         "cofferon-import: 无法读取菜单文件“" + dir.file("missing.yml") + "”:文件不存在\n"},
        {{dir.path().string()}, 2, "无法读取菜单文件“" + dir.path().string() + "”:这是一个文件夹"},
        {{kWorkedExample, "-o", dir.file("no/such/folder.ini")},
         2,
         "无法写入文件“" + dir.file("no/such/folder.ini") + "”:文件夹不存在"},
        {{}, 2, "cofferon-import: 没有给出菜单文件\n用“cofferon-import --help”查看用法。\n"},
        {{kWorkedExample, kLeftovers}, 2, "给出的菜单文件不止一个:"},
        {{kWorkedExample, "--encoding", "latin1"}, 2, "未知的编码“latin1”(可用 utf-8 或 gb2312)"},
        {{kWorkedExample, "--colour", "red"}, 2, "未知选项“--colour”"},
        {{kWorkedExample, "-o"}, 2, "选项“-o”需要一个值"},
        {{kWorkedExample, "-o", "a.ini", "-o", "b.ini"}, 2, "输出文件给了两次"},
        {{kWorkedExample, "--encoding=utf-8", "--encoding=gb2312"}, 2, "选项“--encoding”给了两次"},
        {{kWorkedExample, "--output="}, 2, "输出文件名是空的"},
        {{""}, 2, "菜单文件名是空的"},
    };
    for (const Case& c : cases) {
        const Outcome result = run(c.args);
        EXPECT_EQ(result.code, c.code) << testing::PrintToString(c.args);
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
        if (c.code != 0) {
            EXPECT_EQ(result.out, "");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.ini")));
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out, importCliHelp());
}

}  // namespace
}  // namespace cofferon
