// cofferon-check: the problems of a menus folder, from the command line.

#include <iostream>
#include <string>
#include <vector>

#include "folder/core/CheckCli.h"

int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cofferon::runCheckCli(args, std::cout, std::cerr);
}
