#include "folder/core/FolderChanges.h"

#include <chrono>
#include <set>

namespace cofferon {

namespace {

// A file's time tells a later change only once the clock has moved past
// it: a write in the same tick as the read (a second on some file
// systems, two on FAT) leaves the time as it was.
constexpr auto kSettled = std::chrono::seconds(3);

}  // namespace

FolderChanges folderChanges(KnownFolder known, const FolderWalk& walk, const FolderAccess& access)
{
    FolderChanges changes;
    if (walk.rootError) {
        changes.rootError = walk.rootError;
        changes.known = std::move(known);
        return changes;
    }
    const auto now = std::filesystem::file_time_type::clock::now();
    std::map<std::string, KnownFile> files;
    for (const FoundMenu& found : walk.menus) {
        const auto old = known.files.find(found.path);
        const bool had = old != known.files.end();
        KnownFile current;
        const auto stamp = !found.notRead && access.stamp ? access.stamp(found.file) : std::nullopt;
        if (had && stamp && old->second.stamp == stamp && std::holds_alternative<std::string>(old->second.content)) {
            files.emplace(found.path, std::move(old->second));
            continue;
        }
        current.content = readFoundMenu(found, access);
        if (stamp && stamp->modified + kSettled < now && std::holds_alternative<std::string>(current.content))
            current.stamp = stamp;
        if (!had)
            changes.added.push_back(found.path);
        else if (current.content != old->second.content)
            changes.changed.push_back(found.path);
        files.emplace(found.path, std::move(current));
    }
    for (const auto& [path, file] : known.files) {
        if (!files.contains(path))
            changes.removed.push_back(path);
    }
    changes.problemsChanged = known.problems != walk.problems;
    changes.known = KnownFolder{std::move(files), walk.problems};
    return changes;
}

std::vector<std::string> applyChanges(MenuFolder& folder, const FolderChanges& changes)
{
    std::set<std::string> affected(changes.removed.begin(), changes.removed.end());
    auto put = [&](const std::string& path) {
        const auto& content = changes.known.files.at(path).content;
        const auto* bytes = std::get_if<std::string>(&content);
        const auto paths = bytes ? folder.setMenu(path, *bytes) : folder.setUnread(std::get<Problem>(content));
        affected.insert(paths.begin(), paths.end());
    };
    for (const std::string& path : changes.added)
        put(path);
    for (const std::string& path : changes.changed)
        put(path);
    for (const std::string& path : changes.removed) {
        const auto paths = folder.remove(path);
        affected.insert(paths.begin(), paths.end());
    }
    if (changes.problemsChanged)
        folder.setFolderProblems(changes.known.problems);
    return {affected.begin(), affected.end()};
}

void noteWritten(KnownFolder& known, const std::string& path, std::string bytes)
{
    known.files.insert_or_assign(path, KnownFile{std::move(bytes), std::nullopt});
}

void noteRenamed(KnownFolder& known, const std::string& from, const std::string& to)
{
    auto node = known.files.extract(from);
    if (node.empty())
        return;
    known.files.insert_or_assign(to, std::move(node.mapped()));
}

}  // namespace cofferon
