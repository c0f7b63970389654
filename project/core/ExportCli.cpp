#include "project/core/ExportCli.h"

#include <optional>
#include <variant>

#include "document/core/AtomicFile.h"
#include "document/core/ItemId.h"
#include "document/core/ReadFile.h"
#include "menufile/core/MenuEncoding.h"
#include "menufile/core/MenuFileReport.h"
#include "menufile/core/MenuImport.h"
#include "menufile/core/MenuOnto.h"
#include "menufile/core/MenuYamlWriter.h"
#include "project/core/CommandLine.h"
#include "project/core/ProjectFile.h"

namespace cofferon {

namespace {

constexpr std::string_view kProgram = "cofferon-export";
constexpr std::string_view kInputName = "配置文件";
constexpr std::string_view kOntoOption = "--onto";

// The menu file to write onto, as the import reads it, or nullopt with the
// reason on `err`.
std::optional<ImportedMenu> readMenuToWriteOnto(const std::string& path, std::optional<OutputEncoding> encoding,
                                                std::ostream& err)
{
    auto bytes = readWholeFile(path);
    if (const auto* error = std::get_if<FileError>(&bytes)) {
        readError(kProgram, "菜单文件", path, *error, err, kExportFileOrUsageError);
        return std::nullopt;
    }
    auto read = importMenuText(std::get<std::string>(bytes), encoding);
    if (const auto* problem = std::get_if<NotAMenu>(&read)) {
        err << kProgram << ": “" << path << "”不是菜单文件," << describeNotAMenu(*problem) << "\n";
        return std::nullopt;
    }
    auto& menu = std::get<ImportedMenu>(read);
    if (menu.encodingChoice == EncodingChoice::Open)
        err << path << ": " << encodingNote(menu) << "(可用 --encoding gb2312 改按 GB2312 读取)\n";
    return std::move(menu);
}

}  // namespace

std::string exportCliHelp()
{
    return "Usage: cofferon-export PROJECT.ini [-o OUT.yml] [--encoding utf-8|gb2312]\n"
           "       cofferon-export PROJECT.ini --onto MENU.yml [-o OUT.yml] [--encoding utf-8|gb2312]\n"
           "\n"
           "Writes the menu file of a saved project: exactly the bytes that the\n"
           "generator's \"保存为yml\" writes after a fresh start and loading that\n"
           "project. A title, opening item or command counts as set when its value\n"
           "in the file is not empty.\n"
           "\n"
           "With --onto, the project is written as an edit of MENU.yml instead: MENU.yml\n"
           "is read as cofferon-import reads it, each slot of the project is matched\n"
           "with the item block the import put in that slot, and only what the\n"
           "project holds differently is written into the file's text. Everything\n"
           "else of MENU.yml stays byte for byte: comments, keys the generator does not\n"
           "edit, item names, quoting, indentation, line ends, encoding and byte-order\n"
           "mark. The project that cofferon-import made of MENU.yml, written back onto\n"
           "it, gives MENU.yml exactly. MENU.yml itself changes only when -o names it.\n"
           "\n"
           "  -o, --output FILE    write to FILE, exactly as named (no extension is\n"
           "                       added), replacing it whole; without -o the menu\n"
           "                       goes to standard output\n"
           "  --encoding NAME      utf-8 (the default) or gb2312; with --onto, the\n"
           "                       encoding MENU.yml is read in where it reads both\n"
           "                       ways, which the result keeps\n"
           "  --onto MENU.yml      write onto that menu file's own text\n"
           "  -h, --help           show this text\n"
           "\n"
           "Exit status:\n"
           "  0  the menu file was written; what it cannot hold of the project (slots\n"
           "     in rows the menu does not show, slots without a valid item ID, values\n"
           "     their item does not take) is listed on standard error, one slot a line\n"
           "  1  the menu was refused (for instance 需要菜单标题 or 无效的物品ID);\n"
           "     the reason goes to standard error and nothing is written\n"
           "  2  bad arguments, or a file that cannot be read or written (a project\n"
           "     file that does not exist included)\n";
}

int runExportCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    constexpr std::string_view valueOptions[] = {kEncodingOption, kOntoOption};
    auto parsed = parseCommandLine(args, valueOptions, kInputName);
    if (const auto* problem = std::get_if<std::string>(&parsed))
        return usageError(kProgram, *problem, err, kExportFileOrUsageError);
    const CommandLine& options = std::get<CommandLine>(parsed);
    if (options.help)
        return writeCommandOutput(kProgram, std::nullopt, exportCliHelp(), out, err, kExportOk,
                                  kExportFileOrUsageError);
    const auto named = encodingOption(options);
    if (const auto* problem = std::get_if<std::string>(&named))
        return usageError(kProgram, *problem, err, kExportFileOrUsageError);
    const auto namedEncoding = std::get<std::optional<OutputEncoding>>(named);
    OutputEncoding encoding = namedEncoding.value_or(OutputEncoding::Utf8);

    auto readFailure = [&](const FileError& error) {
        return readError(kProgram, kInputName, options.input, error, err, kExportFileOrUsageError);
    };
    if (const auto missing = missingFileError(options.input))
        return readFailure(*missing);
    auto file = IniFile::load(options.input);
    if (const auto* error = std::get_if<FileError>(&file))
        return readFailure(*error);
    const ProjectData data = readProject(std::get<IniFile>(file));

    std::variant<std::string, Refusal> bytes;
    if (const auto onto = options.values.find(kOntoOption); onto != options.values.end()) {
        auto menu = readMenuToWriteOnto(onto->second, namedEncoding, err);
        if (!menu)
            return kExportFileOrUsageError;
        auto written = writeMenuOnto(*menu, data, claimsByPosition(menu->text->places), menu->encoding);
        if (auto* result = std::get_if<MenuOnto>(&written))
            bytes = result->bytes();
        else
            bytes = std::get<Refusal>(std::move(written));
    } else {
        bytes = menuFileBytes(data.settings, data.slots, encoding);
    }
    if (const auto* refusal = std::get_if<Refusal>(&bytes)) {
        err << refusal->message << "\n";
        return kExportRefused;
    }
    // A section whose item ID is not valid never reaches the window, but the
    // user wrote it: it is named with the rest.
    SlotTable asWritten = slotsWithoutValidId(std::get<IniFile>(file));
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (isValidItemId(data.slots[slot].id))
            asWritten[slot] = data.slots[slot];
    }
    const int code = writeCommandOutput(kProgram, options.output, std::get<std::string>(bytes), out, err, kExportOk,
                                        kExportFileOrUsageError);
    // What the file leaves out is worth saying only of a file that was written.
    if (code == kExportOk) {
        for (const std::string& line : menuFileOmissions(data.settings, asWritten))
            err << line << "\n";
    }
    return code;
}

}  // namespace cofferon
