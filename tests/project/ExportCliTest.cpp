#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include "document/core/Codec.h"
#include "menufile/core/MenuEncoding.h"
#include "project/core/ExportCli.h"
#include "project/core/ImportCli.h"
#include "project/core/ProjectFile.h"
#include "support/CommandRun.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

using test::Outcome;

Outcome run(const std::vector<std::string>& args)
{
    return test::runCommand(runExportCli, args);
}

std::string gb(const char* utf8)
{
    return utf8ToGb18030(utf8).value();
}

// What the window's export writes for this document.
std::string exported(const ProjectSettings& settings, const SlotTable& slots, OutputEncoding encoding)
{
    auto yaml = writeMenuYaml(settings, slots);
    if (auto* refusal = std::get_if<Refusal>(&yaml)) {
        ADD_FAILURE() << refusal->message;
        return {};
    }
    auto bytes = encodeMenu(std::get<std::string>(yaml), encoding);
    if (auto* refusal = std::get_if<Refusal>(&bytes)) {
        ADD_FAILURE() << refusal->message;
        return {};
    }
    return std::get<std::string>(bytes);
}

ProjectData sampleDocument()
{
    ProjectData data;
    data.settings.title = "&6" + gb("商店") + " 'It's'";
    data.settings.openItem = "345";
    data.settings.menuCommand = "shop";
    data.settings.rightClick = true;
    data.settings.rowIndex = 2;
    data.slots[1].id = "35:14";
    data.slots[1].name = "&c" + gb("红色羊毛");
    data.slots[1].lore = gb("第一行") + "\r\n&7\"two\"";
    data.slots[1].command = "tell: " + gb("谢谢") + "\r\nop:say hi";
    data.slots[1].keepOpen = "true";
    data.slots[12].id = "299";
    data.slots[12].color = "255, 0, 0";
    data.slots[12].enchants = "PROTECTION, 4\r\nDURABILITY";
    data.slots[40].id = "1";  // below the three rows: not exported
    return data;
}

TEST(ExportCli, GivesTheSameBytesAsTheWindowsExport)
{
    test::TempDir dir;
    const std::string project = dir.file("shop.ini");
    const ProjectData data = sampleDocument();
    ASSERT_FALSE(writeProject(project, data.settings, data.slots));

    const std::pair<OutputEncoding, const char*> encodings[] = {{OutputEncoding::Utf8, "utf-8"},
                                                                {OutputEncoding::Gb2312, "gb2312"}};
    for (const auto& [encoding, name] : encodings) {
        const std::string expected = exported(data.settings, data.slots, encoding);
        const Outcome toStdout = run({project, "--encoding", name});
        EXPECT_EQ(toStdout.code, 0) << toStdout.err;
        EXPECT_EQ(toStdout.out, expected) << name;
        EXPECT_EQ(toStdout.err, "第 40 格在第 5 行,菜单只显示 3 行,不会写入\n");

        const std::string output = dir.file(std::string("menu-") + name + ".yml");
        const Outcome toFile = run({"--encoding=" + std::string(name), "-o", output, project});
        EXPECT_EQ(toFile.code, 0) << toFile.err;
        EXPECT_EQ(toFile.out, "");
        EXPECT_EQ(test::readFile(output), expected) << name;
    }
    // UTF-8 is the default, and the two encodings really differ here.
    EXPECT_EQ(run({project}).out, exported(data.settings, data.slots, OutputEncoding::Utf8));
    EXPECT_NE(run({project}).out, run({project, "--encoding", "GB2312"}).out);
}

TEST(ExportCli, HandWrittenProjectGivesTheWorkedExample)
{
    test::TempDir dir;
    const std::string project = dir.file("example.ini");
    test::writeFile(project,
                    "[Setting]\r\ntitle=&6Shop\r\nItem=345\r\ncommand=shop\r\nleft=true\r\nright=false\r\n"
                    "row=2\r\n\r\n[1]\r\nid=35:14\r\nname=&cRed wool\r\nmoney=10\r\nkeep-open=true\r\n"
                    "lore=&7Line one&^p&7Line two\r\ncommand=tell: &aHi&^Pop:say hi\r\n"
                    "[5]\r\nid=397:3\r\nname=&eHead\r\nhead=SomePlayer\r\n"
                    "[12]\r\nid=299\r\nCOLOR=255, 0, 0\r\n[30]\r\nid=1\r\n");
    const std::string expected = test::readFile(COFFERON_TEST_DATA "/worked-example.yml");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(run({project}).out, expected);
    EXPECT_EQ(run({project, "--encoding", "gb2312"}).out, expected);
}

// Each kind the file leaves out, by slot, on standard error; the file is
// written all the same, exactly as without them.
TEST(ExportCli, NamesWhatTheMenuFileLeavesOutAndWritesIt)
{
    test::TempDir dir;
    const std::string project = dir.file("shop.ini");
    test::writeFile(project,
                    "[Setting]\r\ntitle=Shop\r\nrow=1\r\n"
                    "[1]\r\nid=1\r\nitem=264\r\n"
                    "[2]\r\nid=1\r\ncolor=1, 2, 3\r\nhead=Steve\r\namount=3\r\n"
                    "[3]\r\nid=298\r\ncolor=1, 2, 3\r\nkeep-open=false\r\n"
                    "[7]\r\nid=abc\r\nname=lost\r\n"
                    "[8]\r\nid=\r\nmoney=5\r\n"
                    "[9]\r\nid=\r\n"
                    "[41]\r\nid=35:14\r\n");
    const std::string output = dir.file("menu.yml");
    const Outcome result = run({project, "-o", output});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(
        result.err,
        "第 1 格的所需物品没有数量,不会写入\n"
        "第 2 格的所需物品数量没有对应的物品,皮甲颜色只用于皮甲(298–301),头颅名称只用于玩家头颅(397:3),都不会写入\n"
        "第 7 格没有有效的物品ID,不会写入\n"
        "第 8 格没有有效的物品ID,不会写入\n"
        "第 41 格在第 5 行,菜单只显示 2 行,不会写入\n");
    const ProjectData data = std::get<ProjectData>(readProjectFile(project));
    EXPECT_EQ(test::readFile(output), exported(data.settings, data.slots, OutputEncoding::Utf8));
}

TEST(ExportCli, WritesOntoAMenuFileOnlyWhatTheProjectChanges)
{
    test::TempDir dir;
    const std::string menu = dir.file("shop.yml");
    const std::string kept = test::readFile(COFFERON_TEST_DATA "/menus/kept-by-hand.yml");
    test::writeFile(menu, kept);
    const std::string project = dir.file("shop.ini");
    ASSERT_EQ(test::runCommand(runImportCli, {menu, "-o", project}).code, 0);

    // The import written back onto its own file is that file.
    const Outcome same = run({project, "--onto", menu});
    EXPECT_EQ(same.code, 0) << same.err;
    EXPECT_EQ(same.out, kept);

    std::string changed = test::readFile(project);
    changed.replace(changed.find("money=100"), 9, "money=250");
    test::writeFile(project, changed);
    const Outcome written = run({project, "--onto", menu, "-o", dir.file("out.yml")});
    EXPECT_EQ(written.code, 0) << written.err;
    std::string expected = kept;
    expected.replace(expected.find("PRICE: 100"), 10, "PRICE: 250");
    EXPECT_EQ(test::readFile(dir.file("out.yml")), expected);
    EXPECT_EQ(test::readFile(menu), kept);

    EXPECT_EQ(run({project, "--onto", dir.file("missing.yml")}).code, 2);
}

TEST(ExportCli, NamesWhatTheFileLeavesOutOnlyWhenItIsWritten)
{
    test::TempDir dir;
    const std::string project = dir.file("p.ini");
    test::writeFile(project, "[Setting]\r\ntitle=T\r\nrow=1\r\n[41]\r\nid=1\r\n");
    const Outcome failed = run({project, "-o", dir.file("no-folder/menu.yml")});
    EXPECT_EQ(failed.code, 2);
    EXPECT_EQ(failed.err.find("不会写入"), std::string::npos) << failed.err;
}

TEST(ExportCli, OutputFileIsExactlyTheOneNamed)
{
    test::TempDir dir;
    const std::string project = dir.file("shop.ini");
    const ProjectData data = sampleDocument();
    ASSERT_FALSE(writeProject(project, data.settings, data.slots));
    const std::string output = dir.file("menu");
    test::writeFile(output, "an older and much longer menu file than the new one will be, by far");

    EXPECT_EQ(run({project, "-o", output}).code, 0);
    EXPECT_EQ(test::readFile(output), exported(data.settings, data.slots, OutputEncoding::Utf8));
    EXPECT_FALSE(std::filesystem::exists(output + ".yml"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(ExportCli, RefusalsExitWithOneAndWriteNothing)
{
    test::TempDir dir;
    struct Case {
        std::string projectText;
        std::vector<std::string> options;
        std::string message;  // the start of what standard error shows
    };
    const Case cases[] = {
        // An empty title in the file leaves a fresh window's title box on its hint.
        {"[Setting]\r\ntitle=\r\n", {}, "需要菜单标题\n"},
        {"", {}, "需要菜单标题\n"},
        {"[Setting]\r\ntitle=T\r\nItem=abc\r\n", {}, "无效的物品ID\n"},
        // Values that would load as something else, or make the whole file unreadable.
        {"[Setting]\r\ntitle=T\r\n[3]\r\nid=1\r\nmoney=-\r\n", {}, "第 3 格的所需金钱(PRICE)不是数字"},
        {"[Setting]\r\ntitle=T\r\n[3]\r\nid=1\r\npoint=1-2\r\n", {}, "第 3 格的所需点券(POINTS)不是数字"},
        {"[Setting]\r\ntitle=T\r\n[9]\r\nid=1\r\nexp=1.5\r\n", {}, "第 9 格的所需经验等级(LEVELS)不是数字"},
        {"[Setting]\r\ntitle=T\r\n[2]\r\nid=1\r\nname=a\x1B[0m\r\n", {}, "第 2 格的物品名称(NAME)含有"},
        {"[Setting]\r\ntitle=T\r\n[2]\r\nid=1\r\nlore=a&^pb\x7F\r\n", {}, "第 2 格的Lore 第 2 行(LORE)含有"},
        {"[Setting]\r\ntitle=T\x80\r\n", {}, "菜单标题(name)含有无法转换为 UTF-8 的字节 0x80"},
        {"[Setting]\r\ntitle=" + gb("😀") + "\r\n", {"--encoding", "gb2312"}, "菜单标题(name)含有 GB2312"},
    };
    for (const Case& c : cases) {
        const std::string project = dir.file("refused.ini");
        const std::string output = dir.file("refused.yml");
        test::writeFile(project, c.projectText);
        std::vector<std::string> args = {project, "-o", output};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome result = run(args);
        EXPECT_EQ(result.code, 1) << c.projectText;
        EXPECT_TRUE(result.err.starts_with(c.message)) << result.err;
        EXPECT_FALSE(std::filesystem::exists(output)) << c.projectText;

        args.resize(1);
        args.insert(args.end(), c.options.begin(), c.options.end());
        const Outcome toStdout = run(args);
        EXPECT_EQ(toStdout.code, 1);
        EXPECT_EQ(toStdout.out, "");
    }
    // The character that GB2312 refuses is fine in UTF-8.
    EXPECT_EQ(run({dir.file("refused.ini")}).code, 0);
}

TEST(ExportCli, BadArgumentsExitWithTwo)
{
    test::TempDir dir;
    const std::string project = dir.file("p.ini");
    test::writeFile(project, "[Setting]\r\ntitle=T\r\n");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {project, project},
        {project, "--encoding"},
        {project, "--encoding", "latin1"},
        {project, "--encoding", "utf-8", "--encoding", "gb2312"},
        {project, "-o"},
        {project, "-o", ""},
        {project, "--output="},
        {project, "-o", "a.yml", "--output", "b.yml"},
        {project, "--verbose"},
        {project, "-x"},
        {""},
    };
    for (const auto& args : cases) {
        const Outcome result = run(args);
        EXPECT_EQ(result.code, 2) << testing::PrintToString(args);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("--help"), std::string::npos) << result.err;
    }
    EXPECT_EQ(run({project, "--bad"}).err, "cofferon-export: 未知选项“--bad”\n用“cofferon-export --help”查看用法。\n");
    EXPECT_NE(run({project, project}).err.find("给出的配置文件不止一个:" + project + "、" + project),
              std::string::npos);
    // After "--" a name that looks like an option is a file name.
    test::writeFile(dir.file("-x"), "[Setting]\r\ntitle=T\r\n");
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const Outcome dashed = run({"--", "-x"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(dashed.code, 0) << dashed.err;
}

TEST(ExportCli, FilesThatCannotBeReadOrWrittenExitWithTwo)
{
    test::TempDir dir;
    const std::string project = dir.file("p.ini");
    test::writeFile(project, "[Setting]\r\ntitle=T\r\n");

    const Outcome missing = run({dir.file("missing.ini")});
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err, "cofferon-export: 无法读取配置文件“" + dir.file("missing.ini") + "”:文件不存在\n");

    const Outcome folder = run({dir.path().string()});
    EXPECT_EQ(folder.code, 2);
    EXPECT_FALSE(folder.err.empty());

    const Outcome unwritable = run({project, "-o", dir.file("no-folder/menu.yml")});
    EXPECT_EQ(unwritable.code, 2);
    EXPECT_NE(unwritable.err.find("无法写入文件“" + dir.file("no-folder/menu.yml") + "”:文件夹不存在"),
              std::string::npos)
        << unwritable.err;
}

TEST(ExportCli, EveryFailureToWriteExitsWithTwo)
{
    test::TempDir dir;
    const std::string project = dir.file("p.ini");
    test::writeFile(project, "[Setting]\r\ntitle=T\r\n");
    std::filesystem::create_directories(dir.path() / "folder");
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0666), 0);
    std::vector<std::string> targets = {"folder", "fifo"};
    if (::mknod(dir.file("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0)
        targets.push_back("full");
    for (const std::string& target : targets) {
        const Outcome result = run({project, "-o", dir.file(target)});
        EXPECT_EQ(result.code, 2) << target;
        EXPECT_NE(result.err.find("无法写入文件“" + dir.file(target) + "”:"), std::string::npos) << result.err;
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.path() / "fifo"));
    if (targets.size() == 3) {
        EXPECT_TRUE(std::filesystem::is_character_file(dir.path() / "full"));
    }

    // Standard output that takes nothing, for the menu and for the help alike.
    std::ostream broken(nullptr);
    std::ostringstream err;
    EXPECT_EQ(runExportCli({project}, broken, err), 2);
    EXPECT_EQ(runExportCli({"--help"}, broken, err), 2);
    EXPECT_NE(err.str().find("无法写入标准输出"), std::string::npos) << err.str();
}

TEST(ExportCli, HelpDescribesTheCommand)
{
    const Outcome result = run({"--help"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, "");
    for (const char* part :
         {"cofferon-export PROJECT.ini", "-o", "--encoding", "utf-8", "gb2312", "standard output", "Exit status"})
        EXPECT_NE(result.out.find(part), std::string::npos) << part;
    EXPECT_EQ(run({"-h", "--whatever-else"}).code, 2);
    EXPECT_EQ(run({"x.ini", "-h"}).code, 0);
}

// The program itself: its exit status and untouched bytes on standard output.
Outcome runProgram(const std::string& arguments)
{
    Outcome result;
    const std::string command = std::string("'") + COFFERON_EXPORT_PROGRAM + "' " + arguments + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot start " << command;
        return result;
    }
    char buffer[4096];
    for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, count);
    const int status = ::pclose(pipe);
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TEST(ExportCliProgram, WritesRawBytesAndExitsWithTheCode)
{
    test::TempDir dir;
    const std::string project = dir.file("shop.ini");
    const ProjectData data = sampleDocument();
    ASSERT_FALSE(writeProject(project, data.settings, data.slots));

    const Outcome gb2312 = runProgram("'" + project + "' --encoding gb2312");
    EXPECT_EQ(gb2312.code, 0);
    EXPECT_EQ(gb2312.out, exported(data.settings, data.slots, OutputEncoding::Gb2312));

    test::writeFile(dir.file("untitled.ini"), "");
    EXPECT_EQ(runProgram("'" + dir.file("untitled.ini") + "'").code, 1);
    EXPECT_EQ(runProgram("").code, 2);
    // A full disk behind standard output is a failure too.
    EXPECT_EQ(runProgram("'" + project + "' >/dev/full").code, 2);
    EXPECT_EQ(runProgram("--help >/dev/full").code, 2);
}

}  // namespace
}  // namespace cofferon
