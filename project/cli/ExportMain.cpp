// cofferon-export: the menu file of a saved project, from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "project/core/ExportCli.h"

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cofferon::runExportCli(args, std::cout, std::cerr);
}
