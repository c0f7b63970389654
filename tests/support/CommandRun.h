#pragma once

// Runs a command-line companion's entry point in the test, capturing what it
// writes and the exit code.

#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace cofferon::test {

struct Outcome {
    int code = -1;
    std::string out;
    std::string err;
};

using CommandEntry = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

inline Outcome runCommand(CommandEntry entry, const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    Outcome result;
    result.code = entry(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

}  // namespace cofferon::test
