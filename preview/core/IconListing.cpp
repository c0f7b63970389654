#include "preview/core/IconListing.h"

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "app/core/Text.h"

namespace cofferon {

namespace {

bool hasBmpExtension(std::string_view name)
{
    if (name.size() < 4)
        return false;
    std::string extension(name.substr(name.size() - 4));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return extension == ".bmp";
}

// Sort key: the id piece and the data piece as numbers, then the name itself.
std::tuple<long long, long long, std::string> sortKey(const std::string& name)
{
    const std::string stem = name.substr(0, name.size() - 4);
    const std::vector<std::string> pieces = splitText(stem, "-");
    const long long id = pieces.empty() ? 0 : textToInteger(pieces[0]);
    const long long data = pieces.size() < 2 ? 0 : textToInteger(pieces[1]);
    return {id, data, name};
}

}  // namespace

std::vector<std::string> listIconFiles(const std::string& folder)
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
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return sortKey(a) < sortKey(b); });
    return names;
}

std::string pickedItemId(std::string_view fileName)
{
    const std::string_view stem = fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);
    return replaceText(stem, "-", ":");
}

}  // namespace cofferon
