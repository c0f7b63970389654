// The top-level folders are layers: a folder includes only folders below it,
// and a core/ half includes neither a gui/ half nor the toolkit.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// From the top; the folders of one line stand side by side and include none
// of each other. A new subsystem is one more line.
const std::vector<std::vector<std::string>> kLayers = {
    {"app"}, {"folder"}, {"editor"}, {"project"}, {"menufile", "preview"}, {"ui"}, {"document"},
};

// Not part of the program: they may include any layer.
const std::set<std::string> kOutside = {"tests", "bench", "fuzz", "build", "docs", "packaging"};

std::optional<std::size_t> levelOf(const std::string& folder)
{
    for (std::size_t level = 0; level < kLayers.size(); ++level)
        for (const std::string& name : kLayers[level])
            if (name == folder)
                return level;
    return std::nullopt;
}

// Why `file` (relative to the source folder) may not include `target`, as
// written between the quotes or the angle brackets; nothing when it may.
std::optional<std::string> breach(const std::string& file, const std::string& target, bool angled)
{
    const std::string own = file.substr(0, file.find('/'));
    const bool core = file.find("/core/") != std::string::npos;
    if (angled)
        return core && target.starts_with("Q") ? std::optional<std::string>("a core file includes the toolkit")
                                               : std::nullopt;
    const std::string top = target.substr(0, target.find('/'));
    const auto from = levelOf(own);
    const auto to = levelOf(top);
    if (!from || !to)
        return std::nullopt;
    if (top != own && *to <= *from)
        return top + "/ is not below " + own + "/";
    if (core && target.find("/gui/") != std::string::npos)
        return "a core file includes a gui file";
    return std::nullopt;
}

TEST(Layers, theRuleSeesABreach)
{
    struct Row {
        const char* file;
        const char* target;
        bool angled;
        bool allowed;
    };
    const Row rows[] = {
        {"document/core/Text.cpp", "ui/core/Layout.h", false, false},
        {"menufile/core/MenuImport.cpp", "preview/core/Bitmap.h", false, false},
        {"project/core/Recovery.cpp", "project/gui/RecoveryKeeper.h", false, false},
        {"ui/core/Layout.cpp", "QString", true, false},
        {"app/gui/MainWindow.cpp", "document/core/Text.h", false, true},
        {"project/gui/ProjectCommands.cpp", "project/core/ProjectFile.h", false, true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(breach(row.file, row.target, row.angled).has_value(), !row.allowed)
            << row.file << " -> " << row.target;
}

TEST(Layers, everyFolderIncludesOnlyTheLayersBelowIt)
{
    namespace fs = std::filesystem;
    const fs::path root = COFFERON_SOURCE_DIR;
    const std::regex include(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    std::vector<std::string> breaches;
    for (const auto& top : fs::directory_iterator(root)) {
        const std::string name = top.path().filename().string();
        if (!top.is_directory() || name.starts_with(".") || kOutside.count(name))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(top.path())) {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h"))
                continue;
            const std::string file = fs::relative(entry.path(), root).generic_string();
            if (!levelOf(name)) {
                breaches.push_back(file + ": " + name + "/ stands in no layer of the list");
                break;
            }
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number) {
                std::smatch found;
                if (!std::regex_search(line, found, include))
                    continue;
                if (const auto why = breach(file, found[2], found[1] == "<"))
                    breaches.push_back(file + ":" + std::to_string(number) + ": " + found[2].str() + ": " + *why);
            }
        }
    }
    std::ostringstream listed;
    for (const std::string& line : breaches)
        listed << line << "\n";
    EXPECT_TRUE(breaches.empty()) << listed.str();
}

}  // namespace
