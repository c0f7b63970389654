#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "document/core/AtomicFile.h"
#include "support/FailingWrite.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

using test::failAfter;

std::size_t filesIn(const std::filesystem::path& folder)
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(AtomicFile, WritesNewFileAndReplacesExistingOne)
{
    test::TempDir dir;
    const std::string path = dir.file("menu.yml");
    ASSERT_FALSE(writeFileAtomically(path, "first"));
    EXPECT_EQ(test::readFile(path), "first");
    ASSERT_FALSE(writeFileAtomically(path, "2"));
    EXPECT_EQ(test::readFile(path), "2");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicFile, ShortWritesAreContinued)
{
    test::TempDir dir;
    const std::string path = dir.file("menu.yml");
    auto oneByteAtATime = [](int fd, const char* data, std::size_t) { return ::write(fd, data, 1); };
    ASSERT_FALSE(writeFileAtomically(path, "several bytes", oneByteAtATime));
    EXPECT_EQ(test::readFile(path), "several bytes");
}

TEST(AtomicFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporary)
{
    test::TempDir dir;
    const std::string path = dir.file("menu.yml");
    test::writeFile(path, "old contents");
    const auto error = writeFileAtomically(path, "new contents that will not fit", failAfter(5));
    EXPECT_EQ(error, FileError{ENOSPC});
    EXPECT_EQ(test::readFile(path), "old contents");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicFile, MissingFolderIsReported)
{
    test::TempDir dir;
    const std::string path = dir.file("no-such-folder/menu.yml");
    EXPECT_EQ(writeFileAtomically(path, "x"), FileError{ENOENT});
    EXPECT_FALSE(std::filesystem::exists(path));
}

namespace fs = std::filesystem;

// mkostemp() that notes the template it was given.
CreateTemporaryFunction notingTemplates(std::vector<std::string>& templates)
{
    return [&templates](char* pathTemplate) {
        templates.emplace_back(pathTemplate);
        return ::mkostemp(pathTemplate, O_CLOEXEC);
    };
}

TEST(AtomicFile, WritesThroughLinksToTheEndOfTheirChain)
{
    test::TempDir dir;
    fs::create_directories(dir.path() / "links");
    fs::create_directories(dir.path() / "real");
    const std::string real = dir.file("real/menu.yml");
    test::writeFile(real, "old contents, longer than the new");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Relative links count from their own folder, wherever they are reached from.
    fs::create_symlink("../real/menu.yml", dir.path() / "links/c");
    fs::create_symlink(dir.path() / "links/c", dir.path() / "b");
    fs::create_symlink("b", dir.path() / "a");

    std::vector<std::string> templates;
    ASSERT_FALSE(writeFileAtomically(dir.file("a"), "new", {}, notingTemplates(templates)));
    EXPECT_EQ(test::readFile(real), "new");
    for (const char* link : {"a", "b", "links/c"})
        EXPECT_TRUE(fs::is_symlink(dir.path() / link)) << link;
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // The temporary file was made beside the target, so the rename stays in one folder.
    ASSERT_EQ(templates.size(), 1u);
    EXPECT_TRUE(fs::equivalent(fs::path(templates[0]).parent_path(), dir.path() / "real")) << templates[0];
    EXPECT_EQ(filesIn(dir.path() / "real"), 1u);
    EXPECT_EQ(filesIn(dir.path()), 4u);

    // A dangling link creates the file it names.
    fs::create_symlink("links/created.yml", dir.path() / "dangling");
    ASSERT_FALSE(writeFileAtomically(dir.file("dangling"), "made"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling"));
    EXPECT_EQ(test::readFile(dir.file("links/created.yml")), "made");

    fs::create_symlink("loop", dir.path() / "loop");
    EXPECT_EQ(writeFileAtomically(dir.file("loop"), "x"), FileError{ELOOP});
}

TEST(AtomicFile, WritesDirectlyToWhatIsNotARegularFile)
{
    test::TempDir dir;
    fs::create_directories(dir.path() / "folder");
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0666), 0);
    const bool devices = ::mknod(dir.file("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0 &&
        ::mknod(dir.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    fs::create_symlink("null", dir.path() / "to-null");

    struct Case {
        const char* name;
        std::optional<FileError> error;
        fs::file_type type;
        bool isDevice = false;
    };
    const Case cases[] = {
        {"folder", FileError{EISDIR}, fs::file_type::directory},
        {"fifo", FileError{ENXIO}, fs::file_type::fifo},  // nobody reads: fails at once, does not wait
        {"full", FileError{ENOSPC}, fs::file_type::character, true},
        {"null", std::nullopt, fs::file_type::character, true},
        {"to-null", std::nullopt, fs::file_type::character, true},
    };
    for (const Case& c : cases) {
        if (c.isDevice && !devices)
            continue;
        EXPECT_EQ(writeFileAtomically(dir.file(c.name), "menu"), c.error) << c.name;
        EXPECT_EQ(fs::status(dir.path() / c.name).type(), c.type) << c.name;
    }
    EXPECT_TRUE(fs::is_symlink(dir.path() / "to-null"));

    // With a reader the bytes go through the pipe, and the writes block as usual.
    const int reader = ::open(dir.file("fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(writeFileAtomically(dir.file("fifo"), "through the pipe"), std::nullopt);
    char buffer[64] = {};
    EXPECT_EQ(
        std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(::read(reader, buffer, sizeof buffer), 0))),
        "through the pipe");
    ::close(reader);
    EXPECT_EQ(filesIn(dir.path()), devices ? 5u : 3u);
    if (!devices)
        GTEST_SKIP() << "device nodes cannot be made here";
}

TEST(AtomicFile, LongestFileNamesAreWritten)
{
    test::TempDir dir;
    const std::string path = dir.file(std::string(246, 'n') + ".yml");  // 250 bytes
    ASSERT_EQ(writeFileAtomically(path, "old"), std::nullopt);
    ASSERT_EQ(writeFileAtomically(path, "new"), std::nullopt);
    EXPECT_EQ(test::readFile(path), "new");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicFile, FolderThatTakesNoNewFileHasItsFileRewrittenInPlace)
{
    test::TempDir dir;
    const std::string path = dir.file("menu.yml");
    test::writeFile(path, "an old menu, longer than the new one");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    auto denied = [](int error) {
        return [error](char*) {
            errno = error;
            return -1;
        };
    };

    EXPECT_EQ(writeFileAtomically(path, "new menu", {}, denied(EACCES)), std::nullopt);
    EXPECT_EQ(test::readFile(path), "new menu");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(writeFileAtomically(path, "again", {}, denied(EPERM)), std::nullopt);
    EXPECT_EQ(test::readFile(path), "again");

    // Only for a folder that refuses: any other failure keeps the old file.
    EXPECT_EQ(writeFileAtomically(path, "lost", {}, denied(ENOSPC)), FileError{ENOSPC});
    EXPECT_EQ(test::readFile(path), "again");
    // And only for a file that is there.
    EXPECT_EQ(writeFileAtomically(dir.file("new.yml"), "x", {}, denied(EACCES)), FileError{EACCES});
    EXPECT_FALSE(fs::exists(dir.file("new.yml")));
}

TEST(AtomicFile, ReplacedFileKeepsItsOwnerAndItsOtherNames)
{
    test::TempDir dir;
    const std::string path = dir.file("menu.yml");
    const std::string other = dir.file("linked.yml");
    test::writeFile(path, "old");
    fs::create_hard_link(path, other);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.c_str(), 12345, 54321), 0);
    }

    ASSERT_EQ(writeFileAtomically(path, "new"), std::nullopt);
    EXPECT_EQ(test::readFile(other), "new");
    fs::remove(other);
    ASSERT_EQ(writeFileAtomically(path, "newer"), std::nullopt);  // one name left: replaced whole
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_nlink, 1u);
    if (root) {
        EXPECT_EQ(info.st_uid, 12345u);
        EXPECT_EQ(info.st_gid, 54321u);
    }
}

TEST(AtomicFile, FailureWhileRewritingInPlaceSaysTheFileWasTouched)
{
    test::TempDir dir;
    const std::string path = dir.file("menu.yml");
    test::writeFile(path, "old");
    fs::create_hard_link(path, dir.file("linked.yml"));
    const auto error = writeFileAtomically(path, "new contents", failAfter(2));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, ENOSPC);
    EXPECT_TRUE(error->touched);
}

// Several files replaced together: each new content waits beside its file
// until all are written, and what is not put in place leaves nothing behind.
TEST(AtomicFile, PreparedReplacementWaitsBesideItsFileUntilPutInPlace)
{
    test::TempDir dir;
    const std::string path = dir.file("menu.yml");
    test::writeFile(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("menu.yml", dir.file("alias.yml"));

    auto prepared = prepareReplacement(dir.file("alias.yml"), "new");
    ASSERT_TRUE(std::holds_alternative<PreparedReplacement>(prepared));
    const auto& ready = std::get<PreparedReplacement>(prepared);
    EXPECT_EQ(ready.target, path);
    EXPECT_EQ(test::readFile(path), "old");
    EXPECT_EQ(filesIn(dir.path()), 3u);
    ASSERT_EQ(putReplacementInPlace(ready), std::nullopt);
    EXPECT_EQ(test::readFile(path), "new");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(fs::is_symlink(dir.file("alias.yml")));

    auto discarded = prepareReplacement(path, "never");
    ASSERT_TRUE(std::holds_alternative<PreparedReplacement>(discarded));
    discardReplacement(std::get<PreparedReplacement>(discarded));
    EXPECT_EQ(test::readFile(path), "new");
    EXPECT_EQ(filesIn(dir.path()), 2u);

    // A failed write leaves no temporary; what a rename cannot replace is refused.
    EXPECT_EQ(std::get<FileError>(prepareReplacement(path, "too long", failAfter(2))), FileError{ENOSPC});
    fs::create_hard_link(path, dir.file("linked.yml"));
    EXPECT_EQ(std::get<FileError>(prepareReplacement(path, "x")), FileError{EMLINK});
    EXPECT_EQ(std::get<FileError>(prepareReplacement(dir.path().string(), "x")), FileError{EISDIR});
    EXPECT_EQ(filesIn(dir.path()), 3u);
}

TEST(AtomicFile, RenameWithoutReplacingKeepsWhatHasTheName)
{
    test::TempDir dir;
    test::writeFile(dir.file("a.yml"), "a");
    test::writeFile(dir.file("b.yml"), "b");
    EXPECT_EQ(renameWithoutReplacing(dir.file("a.yml"), dir.file("b.yml")), FileError{EEXIST});
    EXPECT_EQ(test::readFile(dir.file("b.yml")), "b");
    EXPECT_EQ(renameWithoutReplacing(dir.file("a.yml"), dir.file("c.yml")), std::nullopt);
    EXPECT_EQ(test::readFile(dir.file("c.yml")), "a");
    EXPECT_FALSE(fs::exists(dir.file("a.yml")));
}

}  // namespace
}  // namespace cofferon
