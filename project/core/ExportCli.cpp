#include "project/core/ExportCli.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <variant>

#include "app/core/AtomicFile.h"
#include "export/core/MenuEncoding.h"
#include "export/core/MenuYamlWriter.h"
#include "project/core/ProjectFile.h"

namespace cofferon {

namespace {

constexpr std::string_view kProgram = "cofferon-export";

struct Options {
    bool help = false;
    std::string project;
    std::optional<std::string> output;
    std::optional<OutputEncoding> encoding;
};

std::string asciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

std::optional<OutputEncoding> encodingNamed(std::string_view name)
{
    const std::string lower = asciiLower(name);
    if (lower == "utf-8" || lower == "utf8")
        return OutputEncoding::Utf8;
    if (lower == "gb2312")
        return OutputEncoding::Gb2312;
    return std::nullopt;
}

// The options, or what is wrong with the arguments.
std::variant<Options, std::string> parseArguments(const std::vector<std::string>& args)
{
    Options options;
    std::vector<std::string> projects;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg.front() != '-') {
            projects.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            options.help = true;
            continue;
        }

        // "--name=value" or "name value".
        std::string name = arg;
        std::optional<std::string> value;
        if (const std::size_t equals = arg.find('='); arg.starts_with("--") && equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        const bool isOutput = name == "-o" || name == "--output";
        const bool isEncoding = name == "--encoding";
        if (!isOutput && !isEncoding)
            return "unknown option " + arg;
        if (!value) {
            if (i + 1 == args.size())
                return "option " + name + " needs a value";
            value = args[++i];
        }

        if (isOutput) {
            if (options.output)
                return "the output file is given twice";
            if (value->empty())
                return "the output file name is empty";
            options.output = *value;
        } else {
            if (options.encoding)
                return "the encoding is given twice";
            options.encoding = encodingNamed(*value);
            if (!options.encoding)
                return "unknown encoding \"" + *value + "\" (utf-8 or gb2312)";
        }
    }

    if (options.help)
        return options;
    if (projects.empty())
        return std::string("no project file given");
    if (projects.size() > 1)
        return "more than one project file given: " + projects[0] + ", " + projects[1];
    if (projects[0].empty())
        return std::string("the project file name is empty");
    options.project = projects[0];
    return options;
}

// The window's load treats a missing file as an empty project; a script that
// names a file that is not there has made a mistake, so here it is one.
std::optional<FileError> missingFileError(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR))
        return FileError{errno};
    return std::nullopt;
}

// Scripts read these messages in English, whatever the error.
std::string systemText(const FileError& error)
{
    return std::strerror(error.code);
}

}  // namespace

std::string exportCliHelp()
{
    return "Usage: cofferon-export PROJECT.ini [-o OUT.yml] [--encoding utf-8|gb2312]\n"
           "\n"
           "Writes the menu file of a saved project: exactly the bytes that the\n"
           "generator's \"保存为yml\" writes after a fresh start and loading that\n"
           "project. A title, opening item or command counts as set when its value\n"
           "in the file is not empty.\n"
           "\n"
           "  -o, --output FILE    write to FILE, exactly as named (no extension is\n"
           "                       added), replacing it whole; without -o the menu\n"
           "                       goes to standard output\n"
           "  --encoding NAME      utf-8 (the default) or gb2312\n"
           "  -h, --help           show this text\n"
           "\n"
           "Exit status:\n"
           "  0  the menu file was written\n"
           "  1  the menu was refused (for instance 需要菜单标题 or 无效的物品ID);\n"
           "     the reason goes to standard error and nothing is written\n"
           "  2  bad arguments, or a file that cannot be read or written (a project\n"
           "     file that does not exist included)\n";
}

int runExportCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    auto parsed = parseArguments(args);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        err << kProgram << ": " << *problem << "\n"
            << "Try '" << kProgram << " --help'.\n";
        return kExportFileOrUsageError;
    }
    const Options& options = std::get<Options>(parsed);
    auto written = [&] {
        out.flush();
        if (out)
            return kExportOk;
        err << kProgram << ": cannot write to standard output\n";
        return kExportFileOrUsageError;
    };
    if (options.help) {
        out << exportCliHelp();
        return written();
    }

    auto readFailure = [&](const FileError& error) {
        err << kProgram << ": cannot read project file " << options.project << ": " << systemText(error) << "\n";
        return kExportFileOrUsageError;
    };
    if (const auto missing = missingFileError(options.project))
        return readFailure(*missing);
    auto project = readProjectFile(options.project);
    if (const auto* error = std::get_if<FileError>(&project))
        return readFailure(*error);
    const ProjectData& data = std::get<ProjectData>(project);

    auto bytes = menuFileBytes(data.settings, data.slots, options.encoding.value_or(OutputEncoding::Utf8));
    if (const auto* refusal = std::get_if<Refusal>(&bytes)) {
        err << refusal->message << "\n";
        return kExportRefused;
    }
    const std::string& menu = std::get<std::string>(bytes);

    if (options.output) {
        if (const auto error = writeFileAtomically(*options.output, menu)) {
            err << kProgram << ": cannot write " << *options.output << ": " << systemText(*error) << "\n";
            return kExportFileOrUsageError;
        }
        return kExportOk;
    }
    out.write(menu.data(), static_cast<std::streamsize>(menu.size()));
    return written();
}

}  // namespace cofferon
