#pragma once

// The menus of a folder as one work: each menu checked on its own once, and
// the checks across menus (links, opening commands, file names) worked out
// from small indices whenever they are asked for, so a change reads only the
// menu that changed. The command-line check and the window both fill one.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "folder/core/MenuCheck.h"
#include "folder/core/Problem.h"

namespace cofferon {

struct ProblemCount {
    int errors = 0;
    int warnings = 0;
};

class MenuFolder {
public:
    // Each gives the menus whose problems may have changed: the menu itself,
    // the menus that link to its name, and the menus that share its name or
    // its opening command, before and after. Paths are relative to the
    // folder, "/" between folders.

    // Checks the menu file's bytes (as they stand on disk, or in the window)
    // and puts the menu in, or in place of the one of that path.
    std::vector<std::string> setMenu(const std::string& path, std::string_view bytes);
    // A file the plugin would load that was not read, and why (a problem of
    // that path): its name still counts for links and names.
    std::vector<std::string> setUnread(Problem why);
    std::vector<std::string> remove(const std::string& path);

    // What the walk of the folder met besides menus: folders it could not
    // read, links it did not follow. Replaces the last ones.
    void setFolderProblems(std::vector<Problem> problems);

    // The paths of the menus, read or not, in the order of the report.
    std::vector<std::string> paths() const;
    bool contains(const std::string& path) const { return m_menus.contains(path); }
    // The menu's own check: its title, its opening command, its links.
    const CheckedMenu* menu(const std::string& path) const;

    // Every problem of the folder, sorted as the report lists them.
    std::vector<Problem> problems() const;
    // Those of one menu (none for a path not in the folder).
    std::vector<Problem> problemsOf(const std::string& path) const;
    ProblemCount countOf(const std::string& path) const;

    // The menu a link's target names, found as the plugin finds it: by file
    // name, in any case, in any folder; nullopt when none has that name.
    std::optional<std::string> linkedMenu(std::string_view target) const;
    // Every menu of that file name, in any case, in the order of their paths.
    std::vector<std::string> menusNamed(std::string_view name) const;

private:
    struct Entry {
        CheckedMenu checked;
        std::optional<Problem> unread;
        std::string commandKey;  // the opening command as compared; empty for none
    };
    using Index = std::unordered_map<std::string, std::set<std::string>>;

    std::vector<std::string> put(const std::string& path, Entry entry);
    void unindex(const std::string& path, const Entry& entry);
    void index(const std::string& path, const Entry& entry);
    void addLinked(std::set<std::string>& affected, const std::string& path) const;
    std::optional<Problem> linkProblem(const std::string& path, const MenuLink& link) const;

    std::map<std::string, Entry> m_menus;
    Index m_byName;  // lower-case file name -> paths
    Index m_byStem;  // lower-case file name without ".yml" / ".yaml"
    Index m_byCommand;  // opening command -> paths
    Index m_linkingByStem;  // stem of a link's target -> the paths that link to it
    std::vector<Problem> m_folderProblems;
};

}  // namespace cofferon
