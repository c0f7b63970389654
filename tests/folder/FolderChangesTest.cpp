#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <set>

#include "folder/core/FolderChanges.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<std::string>;

enum class Do {
    Write,  // an editor writes the file
    SameStamp,  // an editor writes bytes of the same size and puts the old time back
    Touch,  // only the time changes
    ToolWrite,  // the tool saves the file and says so
    Remove,
    Unreadable,  // rewritten, and reading it fails from now on
    Unlistable,  // listing the folder fails from now on
    RemoveAll,  // the folder itself goes
};

struct Step {
    Do what;
    std::string path;
    std::string bytes = {};
};

struct Row {
    const char* what;
    std::vector<Step> steps;
    Paths added = {};
    Paths removed = {};
    Paths changed = {};
    int reads = -1;  // files read by the second look; -1: not counted
    bool fresh = false;  // the files were written just before the first look
    bool problemsChanged = false;
};

// Every row starts from these, last written an hour ago unless `fresh`.
const std::vector<std::pair<std::string, std::string>> kFiles = {
    {"a.yml", "menu-setting:\n  name: a\n"},
    {"old.yml", "menu-setting:\n  name: old\n"},
    {"sub/b.yml", "menu-setting:\n  name: b\n"},
};

TEST(FolderChanges, OnlyWhatChangedOutsideCounts)
{
    const Row rows[] = {
        {"nothing happened: no file is read", {}, {}, {}, {}, 0},
        {"added in a subfolder, removed, a file that is no menu",
         {{Do::Write, "sub/new.yml", "x"}, {Do::Remove, "old.yml"}, {Do::Write, "notes.txt", "x"}},
         {"sub/new.yml"},
         {"old.yml"}},
        {"changed by an editor", {{Do::Write, "sub/b.yml", "menu-setting:\n  name: B\n"}}, {}, {}, {"sub/b.yml"}, 1},
        {"touched, the same bytes", {{Do::Touch, "a.yml"}}, {}, {}, {}, 1},
        {"saved by the tool", {{Do::ToolWrite, "a.yml", "saved"}}, {}, {}, {}},
        {"saved by the tool, then by an editor",
         {{Do::ToolWrite, "a.yml", "saved"}, {Do::Write, "a.yml", "edited"}},
         {},
         {},
         {"a.yml"}},
        {"the same size and time, long after the last look: trusted",
         {{Do::SameStamp, "a.yml", "menu-setting:\n  name: A\n"}},
         {},
         {},
         {},
         0},
        {"the same size and time, written as the folder was looked at: compared",
         {{Do::SameStamp, "a.yml", "menu-setting:\n  name: A\n"}},
         {},
         {},
         {"a.yml"},
         3,
         true},
        {"rewritten and no longer readable", {{Do::Unreadable, "a.yml"}}, {}, {}, {"a.yml"}},
        {"a subfolder no longer readable: its menus go, its problem comes",
         {{Do::Unlistable, "sub"}},
         {},
         {"sub/b.yml"},
         {},
         -1,
         false,
         true},
        {"the folder gone: nothing compared", {{Do::RemoveAll, ""}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::TempDir dir;
        const fs::path root = dir.path() / "menus";
        const auto anHourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
        for (const auto& [path, bytes] : kFiles) {
            fs::create_directories((root / path).parent_path());
            test::writeFile((root / path).string(), bytes);
            if (!row.fresh)
                fs::last_write_time(root / path, anHourAgo);
        }
        int reads = 0;
        std::set<fs::path> unreadable;
        std::set<fs::path> unlistable;
        FolderAccess access = systemFolderAccess();
        access.read = [&](const fs::path& file) -> std::variant<std::string, FileError> {
            ++reads;
            if (unreadable.contains(file))
                return FileError{EACCES};
            return systemFolderAccess().read(file);
        };
        access.list = [&](const fs::path& folder) {
            if (unlistable.contains(folder))
                return std::variant<std::vector<fs::directory_entry>, FileError>(FileError{EACCES});
            return systemFolderAccess().list(folder);
        };

        FolderChanges opened = folderChanges({}, walkMenuFolder(root, access), access);
        EXPECT_EQ(opened.added, (Paths{"a.yml", "old.yml", "sub/b.yml"}));
        KnownFolder known = std::move(opened.known);
        for (const Step& step : row.steps) {
            const fs::path file = root / step.path;
            const auto stamp = fs::exists(file) ? fs::last_write_time(file) : fs::file_time_type{};
            switch (step.what) {
            case Do::Write:
            case Do::SameStamp:
            case Do::ToolWrite:
                test::writeFile(file.string(), step.bytes);
                if (step.what == Do::SameStamp)
                    fs::last_write_time(file, stamp);
                if (step.what == Do::ToolWrite)
                    noteWritten(known, step.path, step.bytes);
                break;
            case Do::Touch:
                fs::last_write_time(file, stamp + std::chrono::seconds(1));
                break;
            case Do::Remove:
                fs::remove(file);
                break;
            case Do::Unreadable:
                fs::last_write_time(file, stamp + std::chrono::seconds(1));
                unreadable.insert(file);
                break;
            case Do::Unlistable:
                unlistable.insert(file);
                break;
            case Do::RemoveAll:
                fs::remove_all(root);
                break;
            }
        }
        reads = 0;
        const FolderChanges changes = folderChanges(known, walkMenuFolder(root, access), access);
        EXPECT_EQ(changes.added, row.added);
        EXPECT_EQ(changes.removed, row.removed);
        EXPECT_EQ(changes.changed, row.changed);
        EXPECT_EQ(changes.problemsChanged, row.problemsChanged);
        EXPECT_EQ(changes.rootError.has_value(), row.steps.size() == 1 && row.steps[0].what == Do::RemoveAll);
        // The window hands what it knew over and takes it back whatever the walk met.
        if (changes.rootError) {
            EXPECT_EQ(changes.known.files.size(), kFiles.size());
        }
        if (row.reads >= 0) {
            EXPECT_EQ(reads, row.reads);
        }
        for (const std::string& path : changes.changed) {
            const auto& content = changes.known.files.at(path).content;
            if (const auto* bytes = std::get_if<std::string>(&content))
                EXPECT_EQ(*bytes, test::readFile((root / path).string()));
            else
                EXPECT_EQ(std::get<Problem>(content).rule, rule::kUnreadable);
        }
    }
}

TEST(FolderChanges, ARenameByTheToolIsNoChange)
{
    test::TempDir dir;
    test::writeFile(dir.file("shop.yml"), "shop");
    FolderChanges opened = folderChanges({}, walkMenuFolder(dir.path(), systemFolderAccess()), systemFolderAccess());
    fs::rename(dir.file("shop.yml"), dir.file("store.yml"));
    noteRenamed(opened.known, "shop.yml", "store.yml");
    const FolderChanges changes =
        folderChanges(std::move(opened.known), walkMenuFolder(dir.path(), systemFolderAccess()), systemFolderAccess());
    EXPECT_EQ(changes.added, Paths{});
    EXPECT_EQ(changes.removed, Paths{});
    EXPECT_EQ(changes.changed, Paths{});
}

}  // namespace
}  // namespace cofferon
