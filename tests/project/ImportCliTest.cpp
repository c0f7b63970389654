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
        {{dir.file("missing.yml")}, 2, "cannot read menu file"},
        {{dir.path().string()}, 2, "cannot read menu file"},
        {{kWorkedExample, "-o", dir.file("no/such/folder.ini")}, 2, "cannot write"},
        {{}, 2, "--help"},
        {{kWorkedExample, kLeftovers}, 2, "more than one menu file"},
        {{kWorkedExample, "--encoding", "latin1"}, 2, "unknown encoding \"latin1\""},
        {{kWorkedExample, "--colour", "red"}, 2, "unknown option --colour"},
        {{kWorkedExample, "-o"}, 2, "needs a value"},
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
