#pragma once

// What the command-line companions share: one input file, "-o FILE" or
// "--output FILE" for the output, "--help", and the further options each
// command names, given as "--name=value" or "--name value"; "--" ends the
// options, and "-" is a file name.

#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "document/core/AtomicFile.h"
#include "menufile/core/MenuYamlWriter.h"

namespace cofferon {

struct CommandLine {
    bool help = false;
    std::string input;
    std::optional<std::string> output;
    std::map<std::string, std::string, std::less<>> values;  // further options by name
};

// The arguments, or what is wrong with them (in Chinese, as every message of
// the program). `inputName` names the input file in those messages ("配置文件").
std::variant<CommandLine, std::string> parseCommandLine(const std::vector<std::string>& args,
                                                        std::span<const std::string_view> valueOptions,
                                                        std::string_view inputName);

// The option that names a menu file's encoding.
inline constexpr std::string_view kEncodingOption = "--encoding";

// "utf-8" (or "utf8") and "gb2312", in any case.
std::optional<OutputEncoding> encodingNamed(std::string_view name);

// The encoding the command line names, nullopt when it names none, or what
// is wrong with it.
std::variant<std::optional<OutputEncoding>, std::string> encodingOption(const CommandLine& line);

// Reports bad arguments and points at --help; gives the exit code to use.
int usageError(std::string_view program, const std::string& problem, std::ostream& err, int code);

// Writes the bytes to the output file, replacing it whole, or to standard
// output: `okCode` when they were written, else `failCode` with the reason.
int writeCommandOutput(std::string_view program, const std::optional<std::string>& output, std::string_view bytes,
                       std::ostream& out, std::ostream& err, int okCode, int failCode);

// The system's error text in Chinese, as the window gives it.
std::string systemText(const FileError& error);

// Reports an input file that cannot be read ("文件不存在" when it is not
// there); gives the exit code to use.
int readError(std::string_view program, std::string_view inputName, const std::string& path, const FileError& error,
              std::ostream& err, int code);

}  // namespace cofferon
