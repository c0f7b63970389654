#include "folder/core/MenuFolder.h"

#include <algorithm>

#include "document/core/Codec.h"
#include "document/core/Text.h"

namespace cofferon {

namespace {

std::string_view lastPart(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The plugin finds a menu by its file name in any case.
std::string nameKey(std::string_view path)
{
    return asciiLower(lastPart(path));
}

// The name without its menu extension: "shop" is what "shop", "Shop.yml"
// and "sub/shop.yaml" probably mean.
std::string stemKey(std::string_view path)
{
    std::string name = nameKey(path);
    for (const std::string_view extension : {".yml", ".yaml"}) {
        if (name.ends_with(extension))
            name.resize(name.size() - extension.size());
    }
    return name;
}

// Commands of the server are typed in any case. The command is document
// text, whose trail bytes may be those of ASCII letters: only a letter that
// is a character of its own is folded.
std::string commandKey(const std::optional<std::string>& command)
{
    if (!command)
        return std::string();
    const std::string_view text = *command;
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos)
        return std::string();
    std::string key(text.substr(begin, text.find_last_not_of(' ') - begin + 1));
    for (std::size_t pos = 0; pos < key.size(); pos += characterLength(key, pos)) {
        if (key[pos] >= 'A' && key[pos] <= 'Z')
            key[pos] = static_cast<char>(key[pos] - 'A' + 'a');
    }
    return key;
}

std::string shown(const std::string& document)
{
    return gb18030ToUtf8(document).value_or(document);
}

// The other paths of a set, joined by "、".
std::string others(const std::set<std::string>& paths, const std::string& self)
{
    std::string text;
    for (const std::string& path : paths) {
        if (path == self)
            continue;
        if (!text.empty())
            text += "、";
        text += path;
    }
    return text;
}

void addAll(std::set<std::string>& to, const std::unordered_map<std::string, std::set<std::string>>& index,
            const std::string& key)
{
    if (const auto found = index.find(key); found != index.end())
        to.insert(found->second.begin(), found->second.end());
}

}  // namespace

std::vector<std::string> MenuFolder::setMenu(const std::string& path, std::string_view bytes)
{
    Entry entry;
    entry.checked = checkMenu(path, bytes);
    entry.commandKey = commandKey(entry.checked.command);
    return put(path, std::move(entry));
}

std::vector<std::string> MenuFolder::setUnread(Problem why)
{
    Entry entry;
    const std::string path = why.path;
    entry.unread = std::move(why);
    return put(path, std::move(entry));
}

std::vector<std::string> MenuFolder::put(const std::string& path, Entry entry)
{
    std::set<std::string> affected = {path};
    if (const auto old = m_menus.find(path); old != m_menus.end()) {
        addAll(affected, m_byCommand, old->second.commandKey);
        unindex(path, old->second);
    } else {
        addLinked(affected, path);
    }
    index(path, entry);
    addAll(affected, m_byCommand, entry.commandKey);
    m_menus.insert_or_assign(path, std::move(entry));
    return {affected.begin(), affected.end()};
}

std::vector<std::string> MenuFolder::remove(const std::string& path)
{
    const auto found = m_menus.find(path);
    if (found == m_menus.end())
        return {};
    std::set<std::string> affected;
    addLinked(affected, path);
    addAll(affected, m_byCommand, found->second.commandKey);
    unindex(path, found->second);
    m_menus.erase(found);
    affected.erase(path);
    return {affected.begin(), affected.end()};
}

// A name that comes or goes changes the menus of that name and the links to it.
void MenuFolder::addLinked(std::set<std::string>& affected, const std::string& path) const
{
    addAll(affected, m_byName, nameKey(path));
    addAll(affected, m_linkingByStem, stemKey(path));
}

void MenuFolder::index(const std::string& path, const Entry& entry)
{
    m_byName[nameKey(path)].insert(path);
    m_byStem[stemKey(path)].insert(path);
    if (!entry.commandKey.empty())
        m_byCommand[entry.commandKey].insert(path);
    for (const MenuLink& link : entry.checked.links)
        m_linkingByStem[stemKey(link.target)].insert(path);
}

void MenuFolder::unindex(const std::string& path, const Entry& entry)
{
    auto drop = [&](Index& index, const std::string& key) {
        const auto found = index.find(key);
        if (found == index.end())
            return;
        found->second.erase(path);
        if (found->second.empty())
            index.erase(found);
    };
    drop(m_byName, nameKey(path));
    drop(m_byStem, stemKey(path));
    drop(m_byCommand, entry.commandKey);
    for (const MenuLink& link : entry.checked.links)
        drop(m_linkingByStem, stemKey(link.target));
}

void MenuFolder::setFolderProblems(std::vector<Problem> problems)
{
    m_folderProblems = std::move(problems);
}

std::vector<std::string> MenuFolder::paths() const
{
    std::vector<std::string> paths;
    paths.reserve(m_menus.size());
    for (const auto& [path, entry] : m_menus)
        paths.push_back(path);
    return paths;
}

const CheckedMenu* MenuFolder::menu(const std::string& path) const
{
    const auto found = m_menus.find(path);
    return found == m_menus.end() ? nullptr : &found->second.checked;
}

std::optional<std::string> MenuFolder::linkedMenu(std::string_view target) const
{
    // The plugin knows its menus by file name alone.
    if (target.find('/') != std::string_view::npos)
        return std::nullopt;
    const auto found = m_byName.find(asciiLower(target));
    if (found == m_byName.end())
        return std::nullopt;
    return *found->second.begin();
}

std::vector<std::string> MenuFolder::menusNamed(std::string_view name) const
{
    const auto found = m_byName.find(asciiLower(name));
    if (found == m_byName.end())
        return {};
    return {found->second.begin(), found->second.end()};
}

std::optional<Problem> MenuFolder::linkProblem(const std::string& path, const MenuLink& link) const
{
    if (link.target.empty())
        return makeProblem(path, link.mark, rule::kOpenTarget, "没有写要打开的菜单", link.slot);
    if (linkedMenu(link.target))
        return std::nullopt;
    std::string message = "文件夹里没有菜单“" + link.target + "”";
    if (const auto likely = m_byStem.find(stemKey(link.target)); likely != m_byStem.end())
        message += ",是指“" + std::string(lastPart(*likely->second.begin())) + "”吗?";
    return makeProblem(path, link.mark, rule::kOpenTarget, std::move(message), link.slot);
}

std::vector<Problem> MenuFolder::problemsOf(const std::string& path) const
{
    const auto found = m_menus.find(path);
    if (found == m_menus.end())
        return {};
    const Entry& entry = found->second;
    std::vector<Problem> problems = entry.checked.problems;
    if (entry.unread)
        problems.push_back(*entry.unread);
    for (const MenuLink& link : entry.checked.links) {
        if (auto problem = linkProblem(path, link))
            problems.push_back(std::move(*problem));
    }
    if (const auto& named = m_byName.at(nameKey(path)); named.size() > 1) {
        problems.push_back(makeProblem(path, {}, rule::kDuplicateFileName,
                                       "与 " + others(named, path) + " 同名(不分大小写),插件按文件名找菜单时分不清"));
    }
    if (!entry.commandKey.empty()) {
        if (const auto& sharing = m_byCommand.at(entry.commandKey); sharing.size() > 1) {
            problems.push_back(makeProblem(path, entry.checked.commandMark, rule::kDuplicateCommand,
                                           "菜单指令“" + shown(*entry.checked.command) + "”与 " +
                                               others(sharing, path) + " 的相同,插件只打开其中一个"));
        }
    }
    std::sort(problems.begin(), problems.end(), problemBefore);
    return problems;
}

ProblemCount MenuFolder::countOf(const std::string& path) const
{
    ProblemCount count;
    for (const Problem& problem : problemsOf(path))
        ++(problem.severity == Severity::Error ? count.errors : count.warnings);
    return count;
}

std::vector<Problem> MenuFolder::problems() const
{
    std::vector<Problem> all = m_folderProblems;
    for (const auto& [path, entry] : m_menus) {
        std::vector<Problem> own = problemsOf(path);
        all.insert(all.end(), std::make_move_iterator(own.begin()), std::make_move_iterator(own.end()));
    }
    std::stable_sort(all.begin(), all.end(), problemBefore);
    return all;
}

}  // namespace cofferon
