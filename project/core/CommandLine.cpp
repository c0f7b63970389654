#include "project/core/CommandLine.h"

#include <algorithm>

#include "document/core/ReadFile.h"
#include "document/core/Text.h"

namespace cofferon {

std::variant<CommandLine, std::string> parseCommandLine(const std::vector<std::string>& args,
                                                        std::span<const std::string_view> valueOptions,
                                                        std::string_view inputName)
{
    CommandLine line;
    std::vector<std::string> inputs;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg.front() != '-') {
            inputs.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            line.help = true;
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
        if (!isOutput && std::find(valueOptions.begin(), valueOptions.end(), name) == valueOptions.end())
            return "未知选项“" + arg + "”";
        if (!value) {
            if (i + 1 == args.size())
                return "选项“" + name + "”需要一个值";
            value = args[++i];
        }

        if (isOutput) {
            if (line.output)
                return std::string("输出文件给了两次");
            if (value->empty())
                return std::string("输出文件名是空的");
            line.output = *value;
        } else if (!line.values.emplace(name, *value).second) {
            return "选项“" + name + "”给了两次";
        }
    }

    if (line.help)
        return line;
    if (inputs.empty())
        return "没有给出" + std::string(inputName);
    if (inputs.size() > 1)
        return "给出的" + std::string(inputName) + "不止一个:" + inputs[0] + "、" + inputs[1];
    if (inputs[0].empty())
        return std::string(inputName) + "名是空的";
    line.input = inputs[0];
    return line;
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

std::variant<std::optional<OutputEncoding>, std::string> encodingOption(const CommandLine& line)
{
    const auto named = line.values.find(kEncodingOption);
    if (named == line.values.end())
        return std::optional<OutputEncoding>();
    if (const auto encoding = encodingNamed(named->second))
        return encoding;
    return "未知的编码“" + named->second + "”(可用 utf-8 或 gb2312)";
}

int usageError(std::string_view program, const std::string& problem, std::ostream& err, int code)
{
    err << program << ": " << problem << "\n"
        << "用“" << program << " --help”查看用法。\n";
    return code;
}

int writeCommandOutput(std::string_view program, const std::optional<std::string>& output, std::string_view bytes,
                       std::ostream& out, std::ostream& err, int okCode, int failCode)
{
    if (output) {
        if (const auto error = writeFileAtomically(*output, bytes)) {
            err << program << ": 无法写入文件“" << *output << "”:" << systemText(*error) << "\n";
            return failCode;
        }
        return okCode;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (out)
        return okCode;
    err << program << ": 无法写入标准输出\n";
    return failCode;
}

std::string systemText(const FileError& error)
{
    return fileErrorText(error.code);
}

int readError(std::string_view program, std::string_view inputName, const std::string& path, const FileError& error,
              std::ostream& err, int code)
{
    // As the window says it: a file that is not there is no missing folder.
    const std::string reason = missingFileError(path) ? "文件不存在" : systemText(error);
    err << program << ": 无法读取" << inputName << "“" << path << "”:" << reason << "\n";
    return code;
}

}  // namespace cofferon
