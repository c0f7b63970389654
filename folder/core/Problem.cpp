#include "folder/core/Problem.h"

#include <array>
#include <tuple>

#include "document/core/Text.h"

namespace cofferon {

namespace {

constexpr std::array<std::string_view, 7> kErrors = {
    rule::kSyntax, rule::kEmpty,      rule::kOpenTarget, rule::kDuplicateCommand, rule::kDuplicateFileName,
    rule::kValue,  rule::kUnreadable,
};

std::string_view severityName(Severity severity)
{
    return severity == Severity::Error ? "error" : "warning";
}

// A line break inside a name or a message would end the report's line.
std::string oneLine(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

// GitHub's workflow commands end a value at a line break, and a property
// also at ":" or ",".
std::string escaped(std::string_view text, bool property)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '%')
            out += "%25";
        else if (c == '\r')
            out += "%0D";
        else if (c == '\n')
            out += "%0A";
        else if (property && c == ':')
            out += "%3A";
        else if (property && c == ',')
            out += "%2C";
        else
            out += c;
    }
    return out;
}

}  // namespace

Problem makeProblem(std::string path, yaml::Mark at, std::string_view rule, std::string message, int slot)
{
    bool error = false;
    for (const std::string_view name : kErrors)
        error = error || name == rule;
    return Problem{std::move(path),    at.line, at.column, error ? Severity::Error : Severity::Warning, rule,
                   std::move(message), slot};
}

bool problemBefore(const Problem& a, const Problem& b)
{
    return std::tie(a.path, a.line, a.column, a.rule, a.message) <
        std::tie(b.path, b.line, b.column, b.rule, b.message);
}

std::string reportLine(const Problem& problem, ReportFormat format)
{
    const std::string line = numberToText(static_cast<long long>(problem.line));
    const std::string column = numberToText(static_cast<long long>(problem.column));
    const std::string message = problem.message + " (" + std::string(problem.rule) + ")";
    if (format == ReportFormat::Github) {
        return "::" + std::string(severityName(problem.severity)) + " file=" + escaped(problem.path, true) +
            ",line=" + line + ",col=" + column + "::" + escaped(message, false) + "\n";
    }
    return oneLine(problem.path) + ":" + line + ":" + column + ": [" + std::string(severityName(problem.severity)) +
        "] " + oneLine(message) + "\n";
}

}  // namespace cofferon
