#include "folder/core/MenuRename.h"

#include <algorithm>

#include "document/core/Codec.h"
#include "folder/core/MenuLinks.h"
#include "folder/core/NewMenu.h"

namespace cofferon {

namespace {

std::string folderPart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Whether any of the commands changed. An item below the menu's rows is
// one the plugin does not show, so its commands link nowhere.
bool renameLinks(WholeMenu& menu, const std::function<bool(std::string_view)>& names, std::string_view name)
{
    bool changed = false;
    for (int slot = 1; slot <= std::clamp(menu.settings.rows(), 1, kMaxRows) * kColumns; ++slot) {
        std::string& command = menu.slots[slot].command;
        std::string renamed = renameOpenedMenus(command, names, name);
        if (renamed != command) {
            command = std::move(renamed);
            changed = true;
        }
    }
    return changed;
}

bool opens(const SlotRecord& record, const std::function<bool(std::string_view)>& names)
{
    const std::vector<std::string> targets = openedMenus(record.command);
    return std::any_of(targets.begin(), targets.end(), [&](const std::string& target) { return names(target); });
}

// Whether the menu has a link to rewrite, looked for without a copy.
bool mayLink(const HeldMenu& held, const std::function<bool(std::string_view)>& names)
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (opens(held.read->project.slots[slot], names) || (held.shown && opens(held.shown->slots[slot], names)))
            return true;
    }
    return false;
}

void renumberOrigins(SlotTable& slots, const std::vector<std::uint32_t>& numbers)
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        std::uint32_t& origin = slots[slot].origin;
        origin = origin < numbers.size() ? numbers[origin] : 0;
    }
}

}  // namespace

std::vector<std::string> RenamePlan::changedFiles() const
{
    std::vector<std::string> files;
    for (const LinkRewrite& rewrite : rewrites) {
        if (rewrite.written)
            files.push_back(rewrite.path == from ? to : rewrite.path);
    }
    return files;
}

std::variant<RenamePlan, RenameRefusal> planMenuRename(const MenuFolder& folder, const std::vector<HeldMenu>& menus,
                                                       const std::string& path, std::string_view newName)
{
    if (!folder.contains(path))
        return RenameRefusal{path, "文件夹里没有菜单“" + path + "”"};
    if (path.substr(folderPart(path).size()) == newName)
        return RenameRefusal{path, "新名字与原来的相同"};
    if (auto problem = menuNameProblem(folder, newName, path))
        return RenameRefusal{path, std::move(*problem)};
    // The commands are document texts; the name was checked to convert.
    const std::string name = utf8ToGb18030(newName).value_or(std::string(newName));
    const std::function<bool(std::string_view)> names = [&](std::string_view target) {
        const auto utf8 = gb18030ToUtf8(target);
        return utf8 && folder.linkedMenu(*utf8) == path;
    };

    RenamePlan plan{path, folderPart(path) + std::string(newName), {}};
    for (const HeldMenu& held : menus) {
        if (!held.read || !held.read->text || !mayLink(held, names))
            continue;
        WholeMenu own = menuToEdit(*held.read);
        LinkRewrite rewrite{held.path, held.shown ? *held.shown : own, std::nullopt};
        const bool shownChanged = renameLinks(rewrite.shown, names, name);
        if (renameLinks(own, names, name)) {
            auto written =
                writeMenuOnto(*held.read, own, claimsByOrigin(own.slots, held.read->text->places), held.read->encoding);
            if (auto* refusal = std::get_if<Refusal>(&written))
                return RenameRefusal{held.path, "无法改写“" + held.path + "”中的链接:" + refusal->message};
            rewrite.written = std::get<MenuOnto>(std::move(written));
            renumberOrigins(rewrite.shown.slots, rewrite.written->blockNumbers);
        }
        if (shownChanged || rewrite.written)
            plan.rewrites.push_back(std::move(rewrite));
    }
    std::sort(plan.rewrites.begin(), plan.rewrites.end(),
              [](const LinkRewrite& a, const LinkRewrite& b) { return a.path < b.path; });
    return plan;
}

std::optional<RenameFailure> carryOutRename(const RenamePlan& plan, const std::filesystem::path& folder,
                                            const FolderWrites& writes)
{
    struct Ready {
        std::string path;  // as it will be called
        PreparedReplacement replacement;
    };
    std::vector<Ready> ready;
    const auto discardFrom = [&](std::size_t first) {
        for (std::size_t i = first; i < ready.size(); ++i)
            writes.discard(ready[i].replacement);
    };
    const std::string from = (folder / plan.from).string();
    const std::string to = (folder / plan.to).string();

    for (const LinkRewrite& rewrite : plan.rewrites) {
        if (!rewrite.written)
            continue;
        auto prepared = writes.prepare((folder / rewrite.path).string(), rewrite.written->bytes());
        if (const auto* error = std::get_if<FileError>(&prepared)) {
            discardFrom(0);
            return RenameFailure{rewrite.path, "无法写入“" + rewrite.path + "”:" + writeErrorText(*error), {}};
        }
        Ready one{rewrite.path == plan.from ? plan.to : rewrite.path, std::get<PreparedReplacement>(prepared)};
        // The renamed menu's own text follows it to its new name (a link
        // renamed keeps pointing where it did).
        if (rewrite.path == plan.from && one.replacement.target == from)
            one.replacement.target = to;
        ready.push_back(std::move(one));
    }

    if (const auto error = writes.rename(from, to)) {
        discardFrom(0);
        return RenameFailure{
            plan.from, "无法把“" + plan.from + "”改名为“" + plan.to + "”:" + writeErrorText(*error), {}};
    }
    for (std::size_t i = 0; i < ready.size(); ++i) {
        const auto error = writes.put(ready[i].replacement);
        if (!error)
            continue;
        discardFrom(i);
        RenameFailure failure{ready[i].path, "无法写入“" + ready[i].path + "”:" + writeErrorText(*error), {}};
        // Before any file was replaced, the rename alone can still be undone.
        if (i == 0 && !writes.rename(to, from))
            return failure;
        failure.changed.push_back(plan.to);
        for (std::size_t done = 0; done < i; ++done) {
            if (ready[done].path != plan.to)
                failure.changed.push_back(ready[done].path);
        }
        return failure;
    }
    return std::nullopt;
}

}  // namespace cofferon
