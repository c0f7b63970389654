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

// Each character as `escape` writes it, or as it is where that gives nothing.
template <typename Escape>
std::string escaped(std::string_view text, Escape escape)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const std::string_view instead = escape(c);
        if (instead.empty())
            out += c;
        else
            out += instead;
    }
    return out;
}

// A line break inside a name or a message would end the report's line.
std::string_view lineBreak(char c)
{
    return c == '\n' ? "\\n" : c == '\r' ? "\\r" : "";
}

// GitHub's workflow commands end a value at a line break, and a property
// also at ":" or ",".
std::string_view githubValue(char c)
{
    return c == '%' ? "%25" : c == '\r' ? "%0D" : c == '\n' ? "%0A" : "";
}

std::string_view githubProperty(char c)
{
    return c == ':' ? "%3A" : c == ',' ? "%2C" : githubValue(c);
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
        return "::" + std::string(severityName(problem.severity)) + " file=" + escaped(problem.path, githubProperty) +
            ",line=" + line + ",col=" + column + "::" + escaped(message, githubValue) + "\n";
    }
    return escaped(problem.path, lineBreak) + ":" + line + ":" + column + ": [" +
        std::string(severityName(problem.severity)) + "] " + escaped(message, lineBreak) + "\n";
}

}  // namespace cofferon
