// The check of a menus folder: a few menu files made of the bytes, under
// names that may share a file name or a stem. The check must not crash;
// every problem names one of the files and a place in it, and every report
// line is one line; and the folder's problems do not depend on the order the
// menus came in, or on one of them going and coming back, which is how the
// window's changes reach it.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "folder/core/MenuFolder.h"

namespace {

using namespace cofferon;

const char* const kNames[] = {"a.yml", "sub/a.yml", "b.yml", "sub/B.YAML", "c.yml", "open.yml"};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    std::vector<std::pair<std::string, std::string>> files;
    const int count = input.ConsumeIntegralInRange(1, 4);
    for (int i = 0; i < count; ++i) {
        std::string name = kNames[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kNames) - 1)];
        files.emplace_back(std::move(name), input.ConsumeRandomLengthString(4096));
    }

    MenuFolder forwards;
    for (const auto& [path, bytes] : files)
        forwards.setMenu(path, bytes);
    MenuFolder backwards;
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        if (!backwards.contains(file->first))
            backwards.setMenu(file->first, "");
    }
    for (const auto& [path, bytes] : files)
        backwards.setMenu(path, bytes);
    backwards.remove(files.front().first);
    for (const auto& [path, bytes] : files) {
        if (path == files.front().first)
            backwards.setMenu(path, bytes);
    }

    const std::vector<Problem> problems = forwards.problems();
    check(problems == backwards.problems());
    for (const Problem& problem : problems) {
        check(forwards.contains(problem.path));
        check(problem.line >= 1 && problem.column >= 1 && problem.slot >= 0 && problem.slot <= 54);
        for (const ReportFormat format : {ReportFormat::Parsable, ReportFormat::Github}) {
            const std::string line = reportLine(problem, format);
            check(line.find('\n') == line.size() - 1 && line.find('\r') == std::string::npos);
        }
    }
    return 0;
}
