// Build step: writes the starter icon set into the `items` folder that sits
// beside the program. Takes that folder as its only argument.

#include <iostream>
#include <string>

#include "preview/core/StarterIcons.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-starter-icons OUTPUT_FOLDER\n";
        return 2;
    }
    std::string error;
    if (!cofferon::writeStarterIcons(argv[1], error)) {
        std::cerr << "make-starter-icons: " << error << '\n';
        return 1;
    }
    return 0;
}
