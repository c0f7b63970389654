// cofferon-import: the project file of a menu file, from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "project/core/ImportCli.h"

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cofferon::runImportCli(args, std::cout, std::cerr);
}
