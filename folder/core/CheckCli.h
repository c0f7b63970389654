#pragma once

// cofferon-check: checks a menus folder (or menu files) from the command
// line, as the window checks an open folder, and reports each problem on a
// line of its own.

#include <ostream>
#include <string>
#include <vector>

#include "folder/core/FolderWalk.h"

namespace cofferon {

// Exit codes of the command.
inline constexpr int kCheckOk = 0;  // no error; warnings may have been reported
inline constexpr int kCheckErrors = 1;
inline constexpr int kCheckFileOrUsageError = 2;  // bad arguments, or something could not be read

// `args` are the command's arguments without the program name; the report
// goes to `out`, the reasons for an exit code of 2 to `err`.
int runCheckCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int runCheckCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const FolderAccess& access);

std::string checkCliHelp();

}  // namespace cofferon
