#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "app/core/AtomicFile.h"
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
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->empty());
    EXPECT_EQ(test::readFile(path), "old contents");
    EXPECT_EQ(filesIn(dir.path()), 1u);
}

TEST(AtomicFile, MissingFolderIsReported)
{
    test::TempDir dir;
    const std::string path = dir.file("no-such-folder/menu.yml");
    EXPECT_TRUE(writeFileAtomically(path, "x"));
    EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace cofferon
