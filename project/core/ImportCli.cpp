#include "project/core/ImportCli.h"

#include <variant>

#include "document/core/ReadFile.h"
#include "menufile/core/MenuImport.h"
#include "project/core/CommandLine.h"
#include "project/core/ProjectFile.h"

namespace cofferon {

namespace {

constexpr std::string_view kProgram = "cofferon-import";
constexpr std::string_view kInputName = "菜单文件";

}  // namespace

std::string importCliHelp()
{
    return "Usage: cofferon-import MENU.yml [-o PROJECT.ini] [--encoding utf-8|gb2312]\n"
           "\n"
           "Reads a menu file of the plugin (UTF-8, or GB2312 as the generator\n"
           "exports it) with the values the plugin's YAML reader sees, and writes\n"
           "the project file that the generator's \"保存配置\" writes after\n"
           "importing that menu into a fresh window. What could not be taken over\n"
           "is listed on standard error, and so is the encoding read when the\n"
           "bytes read both ways. Where both readings stay plausible (a character\n"
           "or two beyond ASCII), UTF-8 is taken.\n"
           "\n"
           "  -o, --output FILE    write to FILE, exactly as named, replacing it\n"
           "                       whole; without -o the project goes to standard\n"
           "                       output\n"
           "  --encoding NAME      read the file as utf-8 or gb2312, whatever it\n"
           "                       looks like\n"
           "  -h, --help           show this text\n"
           "\n"
           "Exit status:\n"
           "  0  the project file was written\n"
           "  1  the file is not a menu (a YAML syntax error, or no mapping at the\n"
           "     top); line and column go to standard error, nothing is written\n"
           "  2  bad arguments, or a file that cannot be read or written\n";
}

int runImportCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    constexpr std::string_view valueOptions[] = {kEncodingOption};
    auto parsed = parseCommandLine(args, valueOptions, kInputName);
    if (const auto* problem = std::get_if<std::string>(&parsed))
        return usageError(kProgram, *problem, err, kImportFileOrUsageError);
    const CommandLine& options = std::get<CommandLine>(parsed);
    if (options.help)
        return writeCommandOutput(kProgram, std::nullopt, importCliHelp(), out, err, kImportOk,
                                  kImportFileOrUsageError);

    const auto named = encodingOption(options);
    if (const auto* problem = std::get_if<std::string>(&named))
        return usageError(kProgram, *problem, err, kImportFileOrUsageError);

    const auto bytes = readWholeFile(options.input);
    if (const auto* error = std::get_if<FileError>(&bytes))
        return readError(kProgram, kInputName, options.input, *error, err, kImportFileOrUsageError);
    const auto imported = importMenu(std::get<std::string>(bytes), std::get<std::optional<OutputEncoding>>(named));
    if (const auto* problem = std::get_if<NotAMenu>(&imported)) {
        err << options.input << ": " << describeNotAMenu(*problem) << "\n";
        return kImportNotAMenu;
    }
    const ImportedMenu& menu = std::get<ImportedMenu>(imported);
    const int code =
        writeCommandOutput(kProgram, options.output, projectText(menu.project.settings, menu.project.slots), out, err,
                           kImportOk, kImportFileOrUsageError);
    if (const std::string chosen = encodingNote(menu); !chosen.empty()) {
        err << options.input << ": " << chosen;
        if (menu.encodingChoice == EncodingChoice::Open)
            err << "(可用 --encoding gb2312 改按 GB2312 读取)";
        err << "\n";
    }
    for (const ImportNote& note : menu.notTakenOver)
        err << options.input << ": " << note.text << "\n";
    return code;
}

}  // namespace cofferon
