#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

#include "document/core/Text.h"
#include "folder/core/CheckCli.h"
#include "support/CommandRun.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

namespace fs = std::filesystem;
using test::Outcome;

enum class Make { Text, Link, Pipe };

// A file of a row's folder: its path in the menus folder ("../" is beside
// it), and its text or the target of the link.
struct File {
    std::string path;
    std::string text;
    Make make = Make::Text;
};

struct Row {
    const char* what;
    std::vector<File> files;
    std::vector<std::string> options;
    std::string report;
    int code;
};

// A menu "m" of one row opened by "cmd", with one item on slot 1 holding `keys`.
std::string menu(const std::string& command, const std::string& keys)
{
    return "menu-setting:\n  name: m\n  rows: 1\n  command: " + command +
        "\n1:\n  ID: 1\n  POSITION-X: 1\n"
        "  POSITION-Y: 1\n" +
        keys;
}

const std::string kPlain = menu("plain", "");

// The folder "menus" of the row in a fresh temporary folder.
void makeFolder(const test::TempDir& dir, const std::vector<File>& files)
{
    const fs::path menus = dir.path() / "menus";
    fs::create_directories(menus);
    for (const File& file : files) {
        const fs::path path = menus / file.path;
        fs::create_directories(path.parent_path());
        if (file.make == Make::Link)
            fs::create_symlink(file.text, path);
        else if (file.make == Make::Pipe)
            ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        else
            test::writeFile(path.string(), file.text);
    }
}

Outcome run(const std::vector<std::string>& args)
{
    return test::runCommand(static_cast<test::CommandEntry>(runCheckCli), args);
}

// The check of the row's folder through `access`.
Outcome runOn(const test::TempDir& dir, const FolderAccess& access)
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = runCheckCli({(dir.path() / "menus").string()}, out, err, access);
    return Outcome{code, out.str(), err.str()};
}

TEST(CheckCli, EachRuleReportsItsLines)
{
    const Row rows[] = {
        {"links in both forms, to a menu in a subfolder in another case: nothing to report",
         {{"main.yml",
           menu("main",
                "  KEEP-OPEN: true\n  COMMAND:\n  - 'open: Shop.YML'\n"
                "  - op:cofferons open shop.yml {player}\n")},
          {"sub/shop.yml", menu("shop", "")}},
         {},
         "",
         0},
        {"commands that only mention opening open nothing",
         {{"m.yml",
           menu("m",
                "  COMMAND:\n  - 'tell: open: x.yml'\n  - op:cofferons opened x.yml\n"
                "  - cofferonsopen x.yml\n  - 'console: say cofferons open x.yml'\n")}},
         {},
         "",
         0},
        {"syntax: where the reader stops",
         {{"bad.yml", "menu-setting:\n  name: [a\n"}},
         {},
         "bad.yml:3:1: [error] YAML 语法错误:“[”开始的列表缺少“,”或“]” (syntax)\n",
         1},
        {"empty: no document, with or without comments",
         {{"none.yml", ""}, {"notes.yml", "# to do\n\n"}},
         {},
         "none.yml:1:1: [error] 文件是空的(没有任何键),不是菜单文件 (empty)\n"
         "notes.yml:1:1: [error] 文件是空的(没有任何键),不是菜单文件 (empty)\n",
         1},
        {"open-target: at the list entry; a name without \".yml\" gets the file it probably meant",
         {{"main.yml",
           menu("main",
                "  KEEP-OPEN: true\n  COMMAND:\n  - 'tell: hi'\n  - 'open: shop'\n"
                "  - 'op:cofferons open gone.yml'\n")},
          {"sub/Shop.yml", kPlain}},
         {},
         "main.yml:12:5: [error] 文件夹里没有菜单“shop”,是指“Shop.yml”吗? (open-target)\n"
         "main.yml:13:5: [error] 文件夹里没有菜单“gone.yml” (open-target)\n",
         1},
        {"duplicate-command: on each menu's command line, in any case",
         {{"a.yml", menu("shop", "")}, {"b.yml", menu("Shop", "")}, {"c.yml", menu("other", "")}},
         {},
         "a.yml:4:3: [error] 菜单指令“shop”与 b.yml 的相同,插件只打开其中一个 (duplicate-command)\n"
         "b.yml:4:3: [error] 菜单指令“Shop”与 a.yml 的相同,插件只打开其中一个 (duplicate-command)\n",
         1},
        {"duplicate-command: 丄 and 乤 differ only in a trail byte that is an ASCII letter's (0x8141, 0x8161)",
         {{"a.yml", menu("丄", "")}, {"b.yml", menu("乤", "")}},
         {},
         "",
         0},
        {"duplicate-file-name: one name in any case in two folders, on both files",
         {{"a/shop.yml", menu("a", "")}, {"b/SHOP.yml", menu("b", "")}},
         {},
         "a/shop.yml:1:1: [error] 与 b/SHOP.yml 同名(不分大小写),插件按文件名找菜单时分不清 (duplicate-file-name)\n"
         "b/SHOP.yml:1:1: [error] 与 a/shop.yml 同名(不分大小写),插件按文件名找菜单时分不清 (duplicate-file-name)\n",
         1},
        {"value: at its key, named as the window names the box",
         {{"shop/shop.yml",
           "# shop\n" + menu("shop", std::string(8, '\n') + "  PRICE: abc\n  LORE:\n  - \"a\\eb\"\n")}},
         {},
         "shop/shop.yml:18:3: [error] 所需金钱(PRICE)“abc”不是数字 (value)\n"
         "shop/shop.yml:20:5: [error] Lore(LORE)含有菜单文件无法保存的控制字符 U+001B (value)\n",
         1},
        {"duplicate-position, outside-rows, unknown-key: warnings only",
         {{"m.yml",
           menu("m",
                "  Foo: 1\n2: {ID: 2, POSITION-X: 1, POSITION-Y: 1}\n"
                "3: {ID: 3, POSITION-X: 1, POSITION-Y: 2}\n")}},
         {},
         "m.yml:9:3: [warning] 物品“1”中的未知键“Foo” (unknown-key)\n"
         "m.yml:10:1: [warning] 物品“2”与物品“1”都在第 1 格 (duplicate-position)\n"
         "m.yml:11:1: [warning] 物品“3”在第 2 行,菜单只有 1 行 (outside-rows)\n",
         0},
        {"open-needs-keep-open: once for an item, at its first link",
         {{"a.yml", menu("a", "  COMMAND: 'open: b.yml; open: a.yml'\n  KEEP-OPEN: false\n")}, {"b.yml", kPlain}},
         {},
         "a.yml:9:12: [warning] 打开菜单“b.yml”需要 KEEP-OPEN: true (open-needs-keep-open)\n",
         0},
        {"encoding: bytes that read both as UTF-8 and as GBK",
         {{"cat.yml", "menu-setting:\n  name: \xC3\xA8\n"}},
         {},
         "cat.yml:1:1: [warning] 文件按 UTF-8 和 GB2312 读都说得通,已按 UTF-8 读取 (encoding)\n",
         0},
        {"github: the same problems as annotations, paths from where the check runs, \",\" and \":\" escaped",
         {{"a,b:c.yml", menu("x", "  COMMAND: 'open: 100%.yml'\n")}},
         {"--format", "github"},
         "::warning file=TMP/menus/a%2Cb%3Ac.yml,line=9,col=12::打开菜单“100%25.yml”需要 KEEP-OPEN: true "
         "(open-needs-keep-open)\n"
         "::error file=TMP/menus/a%2Cb%3Ac.yml,line=9,col=12::文件夹里没有菜单“100%25.yml” (open-target)\n",
         1},
        {"a line break in a file name or a value stays inside the report's line",
         {{"two\nlines.yml", menu("x", "  PRICE: \"a\\nb\"\n")}},
         {},
         "two\\nlines.yml:9:3: [error] 所需金钱(PRICE)“a\\nb”不是数字 (value)\n",
         1},
        {"links out of the folder are skipped, yet their names count",
         {{"../outside.yml", kPlain},
          {"../shared/x.yml", kPlain},
          {"main.yml", menu("main", "  KEEP-OPEN: true\n  COMMAND: 'open: out.yml'\n")},
          {"out.yml", "../outside.yml", Make::Link},
          {"shared", "../shared", Make::Link}},
         {},
         "out.yml:1:1: [warning] 符号链接指向文件夹之外的“../outside.yml”,没有检查 (skipped)\n"
         "shared/:1:1: [warning] 符号链接指向文件夹之外的“../shared”,没有检查 (skipped)\n",
         0},
        {"symbolic-link loops: a folder link back up is not followed, a file link in a circle cannot be read",
         {{"sub/up", "..", Make::Link},
          {"sub/again", ".", Make::Link},
          {"twin", "sub", Make::Link},
          {"round.yml", "round.yml", Make::Link}},
         {},
         "round.yml:1:1: [error] 符号链接“round.yml”读不到文件:符号链接绕成了圈 (unreadable)\n"
         "sub/again/:1:1: [warning] 符号链接指回它所在的文件夹“sub”,没有进去,免得绕圈 (skipped)\n"
         "sub/up/:1:1: [warning] 符号链接指回菜单文件夹本身,没有进去,免得绕圈 (skipped)\n"
         "twin/:1:1: [warning] 符号链接指向文件夹“sub”,其中的菜单在那里检查 (skipped)\n",
         2},
        {"a pipe is never opened, a link to nothing is reported",
         {{"pipe.yml", "", Make::Pipe}, {"gone.yml", "nothing.yml", Make::Link}},
         {},
         "gone.yml:1:1: [error] 符号链接“nothing.yml”读不到文件:不存在 (unreadable)\n"
         "pipe.yml:1:1: [warning] 不是普通文件,没有读取 (skipped)\n",
         2},
        {"a file beyond the reader's 3 145 728 characters",
         {{"big.yml", "#" + std::string(3 * 1024 * 1024, 'x')}},
         {},
         "big.yml:1:3145729: [error] 文件超过 3145728 个字符,插件的 YAML 读取器不读这么长的文件 (syntax)\n",
         1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::TempDir dir;
        makeFolder(dir, row.files);
        std::vector<std::string> args = row.options;
        args.push_back((dir.path() / "menus").string());
        const Outcome result = run(args);
        EXPECT_EQ(replaceText(result.out, dir.path().string(), "TMP"), row.report);
        EXPECT_EQ(result.code, row.code);
        EXPECT_EQ(result.err, "");
    }
}

TEST(CheckCli, WhatTheSystemWillNotGiveIsReportedAndExitsWithTwo)
{
    test::TempDir dir;
    makeFolder(dir,
               {{"locked.yml", kPlain},
                {"closed/a.yml", kPlain},
                {"gone.yml", kPlain},
                {"open.yml", menu("o", "  Foo: 1\n")}});
    // Root may read anything: the refusals come through the seam.
    FolderAccess refusing = systemFolderAccess();
    refusing.list = [](const fs::path& folder) -> std::variant<std::vector<fs::directory_entry>, FileError> {
        if (folder.filename() == "closed")
            return FileError{EACCES};
        auto listed = systemFolderAccess().list(folder);
        // A file that goes between the listing and the reading, as in a "git pull".
        fs::remove(folder / "gone.yml");
        return listed;
    };
    refusing.read = [](const fs::path& file) -> std::variant<std::string, FileError> {
        if (file.filename() == "locked.yml")
            return FileError{EACCES};
        return systemFolderAccess().read(file);
    };
    const Outcome result = runOn(dir, refusing);
    EXPECT_EQ(result.code, kCheckFileOrUsageError);
    EXPECT_EQ(result.out,
              "closed/:1:1: [error] 无法读取这个文件夹:没有权限 (unreadable)\n"
              "gone.yml:1:1: [error] 无法读取:不存在 (unreadable)\n"
              "locked.yml:1:1: [error] 无法读取:没有权限 (unreadable)\n"
              "open.yml:9:3: [warning] 物品“1”中的未知键“Foo” (unknown-key)\n");
    EXPECT_EQ(result.err, "");
}

TEST(CheckCli, AFileFarTooLargeIsNotRead)
{
    test::TempDir dir;
    makeFolder(dir, {{"huge.yml", ""}});
    fs::resize_file(dir.path() / "menus/huge.yml", 13'000'000);  // sparse: no memory, no time
    FolderAccess counting = systemFolderAccess();
    int reads = 0;
    counting.read = [&reads](const fs::path& file) {
        ++reads;
        return systemFolderAccess().read(file);
    };
    const Outcome result = runOn(dir, counting);
    EXPECT_EQ(result.code, kCheckErrors);
    EXPECT_EQ(result.out,
              "huge.yml:1:1: [error] 文件超过 3145728 个字符,插件的 YAML 读取器不读这么长的文件"
              "(文件有 13000000 字节,没有读取) (syntax)\n");
    EXPECT_EQ(reads, 0);
}

TEST(CheckCli, ArgumentsAndPathsGiven)
{
    test::TempDir dir;
    makeFolder(dir,
               {{"a.yml", menu("a", "  KEEP-OPEN: true\n  COMMAND: 'open: b.yml'\n")},
                {"b.yml", menu("b", "  PRICE: x\n")},
                {"../more/b.yml", kPlain}});
    const std::string a = (dir.path() / "menus/a.yml").string();
    const std::string b = (dir.path() / "menus/b.yml").string();
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string out;
        std::string err;  // a part of standard error
    };
    const Case cases[] = {
        // Files given by themselves keep their names, and are one set.
        {{a, b}, 1, b + ":9:3: [error] 所需金钱(PRICE)“x”不是数字 (value)\n", ""},
        {{a}, 1, a + ":10:12: [error] 文件夹里没有菜单“b.yml” (open-target)\n", ""},
        {{a, "--format=github", "--", b},
         1,
         "::error file=" + b + ",line=9,col=3::所需金钱(PRICE)“x”不是数字 (value)\n",
         ""},
        // Several folders: each path starts with its folder.
        {{dir.file("menus"), dir.file("more")},
         1,
         dir.file("menus") + "/b.yml:1:1: [error] 与 " + dir.file("more") +
             "/b.yml 同名(不分大小写),插件按文件名找菜单时分不清 (duplicate-file-name)\n" + dir.file("menus") +
             "/b.yml:9:3: [error] 所需金钱(PRICE)“x”不是数字 (value)\n" + dir.file("more") + "/b.yml:1:1: [error] 与 " +
             dir.file("menus") + "/b.yml 同名(不分大小写),插件按文件名找菜单时分不清 (duplicate-file-name)\n",
         ""},
        {{a, dir.file("none")},
         2,
         a + ":10:12: [error] 文件夹里没有菜单“b.yml” (open-target)\n",
         "cofferon-check: 无法读取“" + dir.file("none") + "”:不存在\n"},
        {{}, 2, "", "没有给出要检查的文件夹或文件"},
        {{a, "--format", "json"}, 2, "", "未知的格式“json”(可用 parsable 或 github)"},
        {{a, "--format"}, 2, "", "选项 --format 需要一个值"},
        {{a, "--format", "github", "--format", "github"}, 2, "", "选项 --format 给了两次"},
        {{a, "--colour"}, 2, "", "未知的选项 --colour"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Outcome result = run(c.args);
        EXPECT_EQ(result.code, c.code);
        EXPECT_EQ(result.out, c.out);
        EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
    }
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out, checkCliHelp());
}

}  // namespace
}  // namespace cofferon
