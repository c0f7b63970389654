#pragma once

// A problem the check finds in a menus folder, by rule, and the two forms the
// report writes it in: yamllint's parsable lines and GitHub Actions
// annotations.

#include <string>
#include <string_view>

#include "menufile/core/YamlTree.h"

namespace cofferon {

enum class Severity { Error, Warning };

// The rules, each by the name the report gives it.
namespace rule {
// Errors: the plugin refuses the file or the click goes nowhere.
inline constexpr std::string_view kSyntax = "syntax";
inline constexpr std::string_view kEmpty = "empty";
inline constexpr std::string_view kOpenTarget = "open-target";
inline constexpr std::string_view kDuplicateCommand = "duplicate-command";
inline constexpr std::string_view kDuplicateFileName = "duplicate-file-name";
inline constexpr std::string_view kValue = "value";
inline constexpr std::string_view kUnreadable = "unreadable";  // a file or folder the system would not give
// Warnings: the menu loads, but not as written.
inline constexpr std::string_view kDuplicatePosition = "duplicate-position";
inline constexpr std::string_view kOutsideRows = "outside-rows";
inline constexpr std::string_view kUnknownKey = "unknown-key";
inline constexpr std::string_view kOpenNeedsKeepOpen = "open-needs-keep-open";
inline constexpr std::string_view kEncoding = "encoding";
inline constexpr std::string_view kSkipped = "skipped";  // a link or special file the walk did not follow
}  // namespace rule

struct Problem {
    std::string path;  // relative to the folder checked, "/" between folders; a folder ends in "/"
    int line = 1;  // counted from 1, in characters
    int column = 1;
    Severity severity = Severity::Error;
    std::string_view rule;  // one of the names above
    std::string message;  // UTF-8
    int slot = 0;  // the slot (1..54) of the item it is about; 0 for none

    bool operator==(const Problem&) const = default;
};

// A problem of `rule`, with that rule's severity.
Problem makeProblem(std::string path, yaml::Mark at, std::string_view rule, std::string message, int slot = 0);

// By path, line, column, then rule and message, as the report lists them.
bool problemBefore(const Problem& a, const Problem& b);

enum class ReportFormat {
    Parsable,  // "shop/shop.yml:18:3: [error] 所需金钱(PRICE)“abc”不是数字 (value)"
    Github,  // "::error file=shop/shop.yml,line=18,col=3::所需金钱(PRICE)“abc”不是数字 (value)"
};

// One line of the report, with its line break.
std::string reportLine(const Problem& problem, ReportFormat format);

}  // namespace cofferon
