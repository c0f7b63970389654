#include "project/core/ImportCli.h"

#include <variant>

#include "app/core/ReadFile.h"
#include "project/core/CommandLine.h"
#include "project/core/MenuImport.h"
#include "project/core/ProjectFile.h"

namespace cofferon {

namespace {

constexpr std::string_view kProgram = "cofferon-import";

}  // namespace

std::string importCliHelp()
{
    return "Usage: cofferon-import MENU.yml [-o PROJECT.ini]\n"
           "\n"
           "Reads a menu file of the plugin (UTF-8, or GB2312 as the generator\n"
           "exports it) and writes the project file that the generator's\n"
           "\"保存配置\" writes after importing that menu into a fresh window.\n"
           "What could not be taken over is listed on standard error.\n"
           "\n"
           "  -o, --output FILE    write to FILE, exactly as named, replacing it\n"
           "                       whole; without -o the project goes to standard\n"
           "                       output\n"
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
    auto parsed = parseCommandLine(args, {}, "menu file");
    if (const auto* problem = std::get_if<std::string>(&parsed))
        return usageError(kProgram, *problem, err, kImportFileOrUsageError);
    const CommandLine& options = std::get<CommandLine>(parsed);
    if (options.help)
        return writeCommandOutput(kProgram, std::nullopt, importCliHelp(), out, err, kImportOk,
                                  kImportFileOrUsageError);

    const auto bytes = readWholeFile(options.input);
    if (const auto* error = std::get_if<FileError>(&bytes)) {
        err << kProgram << ": cannot read menu file " << options.input << ": " << systemText(*error) << "\n";
        return kImportFileOrUsageError;
    }
    const auto imported = importMenu(std::get<std::string>(bytes));
    if (const auto* problem = std::get_if<NotAMenu>(&imported)) {
        err << options.input << ": " << describeNotAMenu(*problem) << "\n";
        return kImportNotAMenu;
    }
    const ImportedMenu& menu = std::get<ImportedMenu>(imported);
    const int code =
        writeCommandOutput(kProgram, options.output, projectText(menu.project.settings, menu.project.slots), out, err,
                           kImportOk, kImportFileOrUsageError);
    for (const std::string& line : menu.notTakenOver)
        err << options.input << ": " << line << "\n";
    return code;
}

}  // namespace cofferon
