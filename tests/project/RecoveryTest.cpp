#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "document/core/StateFolder.h"
#include "project/core/IniFile.h"
#include "project/core/ProjectFile.h"
#include "project/core/Recovery.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

WholeMenu sampleMenu()
{
    WholeMenu menu;
    menu.settings.title = "Shop";
    menu.settings.rowIndex = 2;
    menu.settings.rightClick = true;
    menu.slots[4] = {.lore = "a\r\nb", .name = "n", .id = "35:14", .keepOpen = "true", .money = "5"};
    return menu;
}

TEST(Recovery, TextKeepsTheMenuAndTheCurrentFile)
{
    const std::optional<CurrentFile> files[] = {
        std::nullopt,
        CurrentFile{"/home/u/shop.ini", FileKind::Project, OutputEncoding::Utf8},
        CurrentFile{"/home/u/菜单 100%\n.yml", FileKind::Menu, OutputEncoding::Gb2312},
        CurrentFile{"/home/u/100%41.yml", FileKind::Menu, OutputEncoding::Utf8},  // a "%" itself is escaped
        CurrentFile{std::string("/tmp/\xff\x01 =[x]", 13), FileKind::Menu, OutputEncoding::Utf8},
    };
    const WholeMenu menu = sampleMenu();
    for (const auto& file : files) {
        SCOPED_TRACE(file ? file->path : "no file");
        const std::string text = recoveryText(menu, file);
        const auto back = readRecoveryText(text);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->menu, menu);
        EXPECT_EQ(back->file, file);
        // The text is a project file as well.
        EXPECT_EQ(readProject(IniFile::parse(text)), menu);
    }
    EXPECT_FALSE(readRecoveryText(projectText(menu.settings, menu.slots)));
    EXPECT_FALSE(readRecoveryText(""));
}

TEST(Recovery, EachProgramHasItsOwnFileAndOnlyEndedOnesAreAbandoned)
{
    test::TempDir dir;
    const std::string folder = dir.file("state/cofferon");
    auto first = std::get<RecoveryFile>(RecoveryFile::claim(folder));
    auto second = std::get<RecoveryFile>(RecoveryFile::claim(folder));
    EXPECT_NE(first.path(), second.path());
    EXPECT_FALSE(first.write("one"));
    EXPECT_FALSE(second.write("two"));
    EXPECT_TRUE(RecoveryFile::abandoned(folder).empty());  // both still held

    // The first program ends without cleaning up: its file is offered, and
    // held by whoever took it, so no one else takes it meanwhile.
    const std::string firstPath = first.path();
    {
        RecoveryFile ended = std::move(first);
    }
    auto found = RecoveryFile::abandoned(folder);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].path(), firstPath);
    EXPECT_EQ(std::get<std::string>(found[0].read()), "one");
    EXPECT_TRUE(RecoveryFile::abandoned(folder).empty());

    found[0].discard();
    second.discard();
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST(Recovery, AKilledProgramsFileIsOfferedNewestFirst)
{
    test::TempDir dir;
    const std::string folder = dir.file("state");
    // Two programs that die without a word, the second one later.
    for (const char* text : {"older", "newer"}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            auto own = RecoveryFile::claim(folder);
            if (auto* file = std::get_if<RecoveryFile>(&own); file && !file->write(text))
                std::raise(SIGKILL);
            ::_exit(1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        std::filesystem::last_write_time(folder + "/recovery-" + std::to_string(child) + "-1.ini",
                                         std::filesystem::file_time_type::clock::now() +
                                             std::chrono::seconds(text[0] == 'n' ? 10 : 0));
    }
    // A lock file left without its recovery file goes away.
    test::writeFile(folder + "/recovery-1-1.lock", "");
    const auto found = RecoveryFile::abandoned(folder);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(std::get<std::string>(found[0].read()), "newer");
    EXPECT_EQ(std::get<std::string>(found[1].read()), "older");
    EXPECT_FALSE(std::filesystem::exists(folder + "/recovery-1-1.lock"));
}

TEST(Recovery, AFolderThatCannotBeMadeIsAnError)
{
    test::TempDir dir;
    test::writeFile(dir.file("taken"), "");
    EXPECT_TRUE(std::holds_alternative<FileError>(RecoveryFile::claim(dir.file("taken/cofferon"))));
    EXPECT_TRUE(RecoveryFile::abandoned(dir.file("missing")).empty());
}

TEST(StateFolder, FollowsTheXdgRules)
{
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    struct Case {
        const char* state;
        const char* home;
        std::string folder;
    };
    const Case cases[] = {
        {"/x/state", "/h", "/x/state/cofferon"},
        {"relative", "/h", "/h/.local/state/cofferon"},
        {nullptr, "/h/", "/h/.local/state/cofferon"},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        c.state ? ::setenv("XDG_STATE_HOME", c.state, 1) : ::unsetenv("XDG_STATE_HOME");
        c.home ? ::setenv("HOME", c.home, 1) : ::unsetenv("HOME");
        EXPECT_EQ(xdgStateFolder(), c.folder) << (c.state ? c.state : "-") << " " << (c.home ? c.home : "-");
    }
    ::unsetenv("XDG_STATE_HOME");
    ::setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace cofferon
