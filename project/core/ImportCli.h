#pragma once

// cofferon-import: turns a menu file into a project file without the window,
// through the same importer as the window's "读取配置".

#include <ostream>
#include <string>
#include <vector>

namespace cofferon {

// Exit codes of the command.
inline constexpr int kImportOk = 0;  // what was not taken over goes to standard error
inline constexpr int kImportNotAMenu = 1;
inline constexpr int kImportFileOrUsageError = 2;

// `args` are the command's arguments without the program name. The project
// file goes to `out` unless -o names a file; messages go to `err`.
int runImportCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

std::string importCliHelp();

}  // namespace cofferon
