#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>

#include "document/core/Codec.h"
#include "folder/core/FolderWalk.h"
#include "folder/core/MenuRename.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;  // path in the folder -> bytes

// A menu opened by `command` with one item whose COMMAND is `commands` as
// the file writes it.
std::string menu(const std::string& command, const std::string& commands)
{
    return "menu-setting:\n  name: m\n  rows: 1\n  command: " + command +
        "\n1:\n  ID: 1\n  POSITION-X: 1\n  POSITION-Y: 1\n  KEEP-OPEN: true\n  COMMAND: " + commands + "\n";
}

std::string gbk(const std::string& utf8)
{
    return utf8ToGb18030(utf8).value();
}

// What goes wrong between the question and the files.
enum class Fault {
    None,
    ThirdWriteFails,  // the third new content cannot be written
    NameTakenMeanwhile,  // a folder of the new name appears after the question
    FirstMoveFails,  // the first temporary cannot be moved over its file
    Unsaved,  // main.yml has a change in the window that is not saved
    UnsavedLink,  // main.yml has a link in the window that is not saved, in slot 2
};

struct Row {
    const char* what;
    Files files;
    std::string renamed;
    std::string newName;
    Files after;  // every file of the folder afterwards; empty: as before
    std::vector<std::string> listed;  // the files the question names
    Fault fault = Fault::None;
    std::string refusal = {};  // a part of the message
};

Files filesIn(const fs::path& folder)
{
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files[entry.path().lexically_relative(folder).generic_string()] = test::readFile(entry.path().string());
    }
    return files;
}

const std::string kShop = menu("shop", "'tell: shop'");
// An item on the third row of a menu of one, up to its COMMAND.
const std::string kBelow = "2:\n  ID: 1\n  POSITION-X: 1\n  POSITION-Y: 3\n  COMMAND: ";

TEST(MenuRename, LinksFollowTheMenuAllOrNothing)
{
    const Row rows[] = {
        {"open: by name",
         {{"shop.yml", kShop}, {"main.yml", menu("main", "'open: shop.yml'")}},
         "shop.yml",
         "store.yml",
         {{"store.yml", kShop}, {"main.yml", menu("main", "'open: store.yml'")}},
         {"main.yml"}},
        {"op: and console: prefixes, a player after the name, a list",
         {{"shop.yml", kShop},
          {"main.yml",
           menu("main", "\n  - 'op:cofferons open shop.yml %player%'\n  - \"console: /cofferons  open shop.yml\"")}},
         "shop.yml",
         "store.yml",
         {{"store.yml", kShop},
          {"main.yml",
           menu("main", "\n  - 'op:cofferons open store.yml %player%'\n  - \"console: /cofferons  open store.yml\"")}},
         {"main.yml"}},
        {"commands joined by \"; \", the others untouched",
         {{"shop.yml", kShop},
          {"main.yml", menu("main", "\"tell: shop.yml; open: shop.yml; cofferons open shop.yml\"")}},
         "shop.yml",
         "store.yml",
         {{"store.yml", kShop},
          {"main.yml", menu("main", "\"tell: shop.yml; open: store.yml; cofferons open store.yml\"")}},
         {"main.yml"}},
        {"the link in another case, the new name in its own",
         {{"shop.yml", kShop}, {"main.yml", menu("main", "'OPEN:   SHOP.Yml'")}},
         "shop.yml",
         "Store.yml",
         {{"Store.yml", kShop}, {"main.yml", menu("main", "'OPEN:   Store.yml'")}},
         {"main.yml"}},
        {"in subfolders; a path names no menu",
         {{"sub/shop.yml", kShop},
          {"other/main.yml", menu("main", "'open: shop.yml'")},
          {"top.yml", menu("top", "'open: sub/shop.yml'")}},
         "sub/shop.yml",
         "store.yml",
         {{"sub/store.yml", kShop},
          {"other/main.yml", menu("main", "'open: store.yml'")},
          {"top.yml", menu("top", "'open: sub/shop.yml'")}},
         {"other/main.yml"}},
        {"a menu not linked stays; one that opens itself follows its new name",
         {{"shop.yml", menu("shop", "'open: shop.yml'")},
          {"far.yml", menu("far", "'open: shops.yml; open: shop; tell: open: shop.yml'")}},
         "shop.yml",
         "store.yml",
         {{"store.yml", menu("shop", "'open: store.yml'")},
          {"far.yml", menu("far", "'open: shops.yml; open: shop; tell: open: shop.yml'")}},
         {"store.yml"}},
        {"an item below the menu's rows, which the plugin does not show, links nowhere",
         {{"shop.yml", kShop}, {"main.yml", menu("main", "'tell: x'") + kBelow + "'open: shop.yml'\n"}},
         "shop.yml",
         "store.yml",
         {{"store.yml", kShop}, {"main.yml", menu("main", "'tell: x'") + kBelow + "'open: shop.yml'\n"}},
         {}},
        {"a Chinese name in a GB2312 file",
         {{"商店.yml", kShop}, {"main.yml", gbk(menu("main", "'open: 商店.yml'"))}},
         "商店.yml",
         "新店.yml",
         {{"新店.yml", kShop}, {"main.yml", gbk(menu("main", "'open: 新店.yml'"))}},
         {"main.yml"}},
        {"a name the linking file's encoding cannot hold",
         {{"shop.yml", kShop}, {"main.yml", gbk(menu("main", "'tell: 商店; open: shop.yml'"))}},
         "shop.yml",
         "店🎁.yml",
         {},
         {},
         Fault::None,
         "无法改写“main.yml”中的链接"},
        {"a name another folder has in another case",
         {{"shop.yml", kShop}, {"sub/Store.YML", menu("store", "'tell: x'")}},
         "shop.yml",
         "store.yml",
         {},
         {},
         Fault::None,
         "已有同名的菜单“sub/Store.YML”"},
        {"its own name in another case",
         {{"shop.yml", kShop}, {"main.yml", menu("main", "'open: shop.yml'")}},
         "shop.yml",
         "SHOP.yml",
         {{"SHOP.yml", kShop}, {"main.yml", menu("main", "'open: SHOP.yml'")}},
         {"main.yml"}},
        {"the third write fails: nothing changes, no temporary stays",
         {{"shop.yml", kShop},
          {"a.yml", menu("a", "'open: shop.yml'")},
          {"b.yml", menu("b", "'open: shop.yml'")},
          {"c.yml", menu("c", "'open: shop.yml'")},
          {"d.yml", menu("d", "'open: shop.yml'")}},
         "shop.yml",
         "store.yml",
         {},
         {"a.yml", "b.yml", "c.yml", "d.yml"},
         Fault::ThirdWriteFails,
         "无法写入“c.yml”:磁盘已满"},
        {"the new name taken after the question",
         {{"shop.yml", kShop}, {"main.yml", menu("main", "'open: shop.yml'")}},
         "shop.yml",
         "store.yml",
         {},
         {"main.yml"},
         Fault::NameTakenMeanwhile,
         "已有这个名字的文件或文件夹"},
        {"the first file cannot be moved in: the rename is undone",
         {{"shop.yml", kShop}, {"main.yml", menu("main", "'open: shop.yml'")}},
         "shop.yml",
         "store.yml",
         {},
         {"main.yml"},
         Fault::FirstMoveFails,
         "无法写入“main.yml”"},
        {"a change not saved stays the window's",
         {{"shop.yml", kShop}, {"main.yml", menu("main", "'open: shop.yml'")}},
         "shop.yml",
         "store.yml",
         {{"store.yml", kShop}, {"main.yml", menu("main", "'open: store.yml'")}},
         {"main.yml"},
         Fault::Unsaved},
        {"a link only the window has: no file to write",
         {{"shop.yml", kShop}, {"main.yml", menu("main", "'tell: x'")}},
         "shop.yml",
         "store.yml",
         {{"store.yml", kShop}, {"main.yml", menu("main", "'tell: x'")}},
         {},
         Fault::UnsavedLink},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::TempDir dir;
        for (const auto& [path, bytes] : row.files) {
            fs::create_directories((dir.path() / path).parent_path());
            test::writeFile((dir.path() / path).string(), bytes);
        }
        const FolderWalk walk = walkMenuFolder(dir.path(), systemFolderAccess());
        MenuFolder folder;
        readMenus(folder, walk, systemFolderAccess());
        std::vector<HeldMenu> held;
        for (const FoundMenu& found : walk.menus) {
            auto read = importMenuText(test::readFile(found.file.string()));
            held.push_back({found.path, std::make_shared<const ImportedMenu>(std::get<ImportedMenu>(std::move(read))),
                            std::nullopt});
            if (row.fault == Fault::Unsaved && found.path == "main.yml") {
                held.back().shown = menuToEdit(*held.back().read);
                held.back().shown->slots[1].name = "unsaved";
            }
            if (row.fault == Fault::UnsavedLink && found.path == "main.yml") {
                held.back().shown = menuToEdit(*held.back().read);
                held.back().shown->slots[2] = SlotRecord{.id = "1", .command = "tell: y\r\nopen: shop.yml"};
            }
        }

        const auto planned = planMenuRename(folder, held, row.renamed, row.newName);
        std::string failed;
        if (const auto* refusal = std::get_if<RenameRefusal>(&planned)) {
            failed = refusal->message;
        } else {
            const RenamePlan& plan = std::get<RenamePlan>(planned);
            EXPECT_EQ(plan.changedFiles(), row.listed);
            EXPECT_EQ(plan.rewrites.size(), row.listed.size() + (row.fault == Fault::UnsavedLink ? 1 : 0));
            FolderWrites writes = systemFolderWrites();
            int prepared = 0;
            if (row.fault == Fault::ThirdWriteFails) {
                writes.prepare = [&](const std::string& path, std::string_view bytes) {
                    if (++prepared == 3)
                        return std::variant<PreparedReplacement, FileError>(FileError{ENOSPC});
                    return systemFolderWrites().prepare(path, bytes);
                };
            }
            if (row.fault == Fault::NameTakenMeanwhile)
                fs::create_directory(dir.path() / row.newName);
            if (row.fault == Fault::FirstMoveFails)
                writes.put = [](const PreparedReplacement&) { return std::optional<FileError>(FileError{EIO}); };
            if (const auto failure = carryOutRename(plan, dir.path(), writes)) {
                failed = failure->message;
                EXPECT_EQ(failure->changed, std::vector<std::string>{});
            }
            for (const LinkRewrite& rewrite : plan.rewrites) {
                if (row.fault == Fault::UnsavedLink) {
                    EXPECT_FALSE(rewrite.written);
                    EXPECT_EQ(rewrite.shown.slots[2].command, "tell: y\r\nopen: store.yml");
                    continue;
                }
                ASSERT_TRUE(rewrite.written);
                for (int slot = 1; slot <= kSlotCount; ++slot)
                    EXPECT_EQ(rewrite.shown.slots[slot].command, rewrite.written->readBack.project.slots[slot].command);
                EXPECT_EQ(rewrite.shown.slots[1].name, row.fault == Fault::Unsaved ? "unsaved" : "");
            }
        }
        EXPECT_NE(failed.find(row.refusal), std::string::npos) << failed;
        EXPECT_EQ(failed.empty(), row.refusal.empty()) << failed;
        EXPECT_EQ(filesIn(dir.path()), row.after.empty() ? row.files : row.after);
    }
}

}  // namespace
}  // namespace cofferon
