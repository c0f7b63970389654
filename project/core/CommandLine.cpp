#include "project/core/CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

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
            return "unknown option " + arg;
        if (!value) {
            if (i + 1 == args.size())
                return "option " + name + " needs a value";
            value = args[++i];
        }

        if (isOutput) {
            if (line.output)
                return std::string("the output file is given twice");
            if (value->empty())
                return std::string("the output file name is empty");
            line.output = *value;
        } else if (!line.values.emplace(name, *value).second) {
            return "option " + name + " is given twice";
        }
    }

    if (line.help)
        return line;
    if (inputs.empty())
        return "no " + std::string(inputName) + " given";
    if (inputs.size() > 1)
        return "more than one " + std::string(inputName) + " given: " + inputs[0] + ", " + inputs[1];
    if (inputs[0].empty())
        return "the " + std::string(inputName) + " name is empty";
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
    return "unknown encoding \"" + named->second + "\" (utf-8 or gb2312)";
}

int usageError(std::string_view program, const std::string& problem, std::ostream& err, int code)
{
    err << program << ": " << problem << "\n"
        << "Try '" << program << " --help'.\n";
    return code;
}

int writeCommandOutput(std::string_view program, const std::optional<std::string>& output, std::string_view bytes,
                       std::ostream& out, std::ostream& err, int okCode, int failCode)
{
    if (output) {
        if (const auto error = writeFileAtomically(*output, bytes)) {
            err << program << ": cannot write " << *output << ": " << systemText(*error) << "\n";
            return failCode;
        }
        return okCode;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (out)
        return okCode;
    err << program << ": cannot write to standard output\n";
    return failCode;
}

std::string systemText(const FileError& error)
{
    return std::strerror(error.code);
}

}  // namespace cofferon
