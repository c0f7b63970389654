#include "folder/core/CheckCli.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <variant>

#include "folder/core/MenuFolder.h"
#include "project/core/CommandLine.h"

namespace cofferon {

namespace {

constexpr std::string_view kProgram = "cofferon-check";

struct CheckLine {
    bool help = false;
    ReportFormat format = ReportFormat::Parsable;
    std::vector<std::string> paths;
};

std::optional<ReportFormat> formatNamed(std::string_view name)
{
    if (name == "parsable")
        return ReportFormat::Parsable;
    if (name == "github")
        return ReportFormat::Github;
    return std::nullopt;
}

// As the other companions take their arguments: "--name=value" or "--name
// value", "--" ends the options, "-" is a name; any number of paths.
std::variant<CheckLine, std::string> parseCheckLine(const std::vector<std::string>& args)
{
    CheckLine line;
    bool optionsEnded = false;
    bool formatGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            if (arg.empty())
                return std::string("路径是空的");
            line.paths.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            line.help = true;
        } else if (arg == "--format" || arg.starts_with("--format=")) {
            std::string value;
            if (arg != "--format")
                value = arg.substr(std::string_view("--format=").size());
            else if (i + 1 < args.size())
                value = args[++i];
            else
                return std::string("选项 --format 需要一个值");
            if (formatGiven)
                return std::string("选项 --format 给了两次");
            formatGiven = true;
            const auto format = formatNamed(value);
            if (!format)
                return "未知的格式“" + value + "”(可用 parsable 或 github)";
            line.format = *format;
        } else {
            return "未知的选项 " + arg;
        }
    }
    if (!line.help && line.paths.empty())
        return std::string("没有给出要检查的文件夹或文件");
    return line;
}

// What the paths found in a folder start with. A report of one folder
// names its files from that folder; GitHub places annotations by the path
// from where the check runs (the repository's top), and the files of
// several folders must keep apart, so there they start with the folder as given.
std::string shownPrefix(const std::string& path, const CheckLine& line)
{
    if (line.paths.size() == 1 && line.format == ReportFormat::Parsable)
        return std::string();
    std::string prefix = std::filesystem::path(path).lexically_normal().generic_string();
    if (prefix == "." || prefix == "./")
        return std::string();
    if (!prefix.ends_with('/'))
        prefix += '/';
    return prefix;
}

}  // namespace

std::string checkCliHelp()
{
    return "Usage: cofferon-check PATH... [--format parsable|github]\n"
           "\n"
           "Checks the plugin's menu files as one work, as the generator's window\n"
           "checks an open folder. A PATH that is a folder is walked with its\n"
           "subfolders for *.yml and *.yaml files (in any case), as the plugin\n"
           "loads them; a PATH that is a file is checked whatever its name. Links,\n"
           "opening commands and file names are checked across all the PATHs\n"
           "together: give the whole menus folder to check its links.\n"
           "\n"
           "Each problem is one line, sorted by path and line, the path relative to\n"
           "the folder given (a file given by itself keeps the name given; with\n"
           "several PATHs, each path starts with its PATH):\n"
           "\n"
           "  shop/shop.yml:18:3: [error] 所需金钱(PRICE)“abc”不是数字 (value)\n"
           "\n"
           "Errors:\n"
           "  syntax                the plugin's reader refuses the file\n"
           "  empty                 the file holds nothing, or comments only\n"
           "  open-target           an \"open:\" or \"cofferons open\" names no menu of\n"
           "                        the folder (menus go by file name, in any case)\n"
           "  duplicate-command     two or more menus have one opening command\n"
           "  duplicate-file-name   one file name, in any case, in two places\n"
           "  value                 a value the plugin cannot use\n"
           "  unreadable            a file or folder that cannot be read\n"
           "\n"
           "Warnings:\n"
           "  duplicate-position    a second item on one slot\n"
           "  outside-rows          an item below the menu's last row\n"
           "  unknown-key           a key the plugin does not know\n"
           "  open-needs-keep-open  an item opens a menu without KEEP-OPEN: true\n"
           "  encoding              the file reads both as UTF-8 and as GBK\n"
           "  skipped               a symbolic link or a special file not followed\n"
           "\n"
           "  --format FORMAT       parsable (the default), or github: the same as\n"
           "                        GitHub Actions annotations,\n"
           "                        ::error file=PATH,line=LINE,col=COLUMN::MESSAGE\n"
           "                        where each path starts with its PATH, as GitHub\n"
           "                        finds files from the repository's top folder\n"
           "  -h, --help            show this text\n"
           "\n"
           "Exit status:\n"
           "  0  no error (warnings may have been reported)\n"
           "  1  at least one error\n"
           "  2  bad arguments, or a path that cannot be read\n";
}

int runCheckCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return runCheckCli(args, out, err, systemFolderAccess());
}

int runCheckCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const FolderAccess& access)
{
    auto parsed = parseCheckLine(args);
    if (const auto* problem = std::get_if<std::string>(&parsed))
        return usageError(kProgram, *problem, err, kCheckFileOrUsageError);
    const CheckLine& line = std::get<CheckLine>(parsed);
    if (line.help)
        return writeCommandOutput(kProgram, std::nullopt, checkCliHelp(), out, err, kCheckOk, kCheckFileOrUsageError);

    MenuFolder folder;
    std::vector<Problem> walkProblems;
    bool unreadable = false;
    for (const std::string& path : line.paths) {
        FolderWalk walk = walkMenuFolder(path, access, shownPrefix(path, line));
        if (walk.rootError) {
            err << kProgram << ": 无法读取“" << path << "”:" << readErrorText(*walk.rootError) << "\n";
            unreadable = true;
            continue;
        }
        readMenus(folder, walk, access);
        walkProblems.insert(walkProblems.end(), walk.problems.begin(), walk.problems.end());
    }
    folder.setFolderProblems(std::move(walkProblems));

    const std::vector<Problem> problems = folder.problems();
    std::string report;
    for (const Problem& problem : problems)
        report += reportLine(problem, line.format);
    const bool errors = std::any_of(problems.begin(), problems.end(),
                                    [](const Problem& problem) { return problem.severity == Severity::Error; });
    unreadable = unreadable || std::any_of(problems.begin(), problems.end(), [](const Problem& problem) {
                     return problem.rule == rule::kUnreadable;
                 });
    const int code = unreadable ? kCheckFileOrUsageError : errors ? kCheckErrors : kCheckOk;
    return writeCommandOutput(kProgram, std::nullopt, report, out, err, code, kCheckFileOrUsageError);
}

}  // namespace cofferon
