#pragma once

// cofferon-export: writes the menu file of a saved project without the
// window, through the same writer and encoders as the window's export.

#include <ostream>
#include <string>
#include <vector>

namespace cofferon {

// Exit codes of the command.
inline constexpr int kExportOk = 0;
inline constexpr int kExportRefused = 1;  // the writer or the encoder refused the menu
inline constexpr int kExportFileOrUsageError = 2;  // bad arguments, or a file that cannot be read or written

// `args` are the command's arguments without the program name. The menu file
// goes to `out` as raw bytes unless -o names a file; messages go to `err`.
int runExportCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The text that --help prints.
std::string exportCliHelp();

}  // namespace cofferon
