#include "preview/core/IconListing.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <tuple>

#include "document/core/ProgramDirectory.h"
#include "document/core/Text.h"

namespace cofferon {

namespace {

bool hasBmpExtension(std::string_view name)
{
    return name.size() >= 4 && asciiLower(name.substr(name.size() - 4)) == ".bmp";
}

// Sort key: the id piece and the data piece as numbers, then the name itself.
using SortKey = std::tuple<long long, long long, std::string>;

SortKey sortKey(const std::string& name)
{
    const std::string stem = name.substr(0, name.size() - 4);
    const std::vector<std::string> pieces = splitText(stem, "-");
    const long long id = pieces.empty() ? 0 : textToInteger(pieces[0]);
    const long long data = pieces.size() < 2 ? 0 : textToInteger(pieces[1]);
    return {id, data, name};
}

std::vector<std::string> unsortedIconFiles(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (hasBmpExtension(name))
            names.push_back(std::move(name));
    }
    return names;
}

}  // namespace

std::vector<IconFile> listIcons(const std::vector<std::string>& folders)
{
    std::map<std::string, std::string> paths;
    for (const std::string& folder : folders) {
        for (std::string& name : unsortedIconFiles(folder)) {
            std::string path = joinPath(folder, name);
            paths.try_emplace(std::move(name), std::move(path));
        }
    }
    // Keys made once per name: thousands of icons are sorted each time the picker opens.
    std::vector<std::pair<SortKey, IconFile>> keyed;
    keyed.reserve(paths.size());
    for (auto& [name, path] : paths)
        keyed.push_back({sortKey(name), IconFile{name, std::move(path)}});
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<IconFile> icons;
    icons.reserve(keyed.size());
    for (auto& entry : keyed)
        icons.push_back(std::move(entry.second));
    return icons;
}

std::string pickedItemId(std::string_view fileName)
{
    const std::string_view stem = fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);
    return replaceText(stem, "-", ":");
}

bool itemIdMatches(std::string_view itemId, std::string_view search)
{
    while (!search.empty() && (search.front() == ' ' || search.front() == '\t'))
        search.remove_prefix(1);
    while (!search.empty() && (search.back() == ' ' || search.back() == '\t'))
        search.remove_suffix(1);
    if (search.ends_with(':'))
        search.remove_suffix(1);
    if (search.empty())
        return true;
    if (itemId.size() < search.size() || (itemId.size() > search.size() && itemId[search.size()] != ':'))
        return false;
    return asciiLower(itemId.substr(0, search.size())) == asciiLower(search);
}

}  // namespace cofferon
