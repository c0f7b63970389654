// Long lores: splitting them into lines and joining them again, and
// exporting a slot that holds one. Both must grow linearly with the lines.

#include <benchmark/benchmark.h>

#include "document/core/Text.h"
#include "menufile/core/MenuEncoding.h"

namespace {

std::string loreOf(std::int64_t lines)
{
    std::string lore;
    for (std::int64_t line = 0; line < lines; ++line) {
        if (line > 0)
            lore += "\r\n";
        lore += "&7\xB5\xDA " + std::to_string(line) + " \xD0\xD0 &aline";  // 第 … 行
    }
    return lore;
}

void BM_SplitJoinLore(benchmark::State& state)
{
    const std::string lore = loreOf(state.range(0));
    for (auto _ : state) {
        const std::vector<std::string> lines = cofferon::splitText(lore, "\r\n");
        std::string joined;
        for (const std::string& line : lines) {
            if (!joined.empty())
                joined += "\r\n";
            joined += line;
        }
        benchmark::DoNotOptimize(joined);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SplitJoinLore)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_ExportLore(benchmark::State& state)
{
    cofferon::MenuSettings settings;
    settings.title = "T";
    cofferon::SlotTable slots;
    slots[1] = {.lore = loreOf(state.range(0)), .id = "1", .command = loreOf(state.range(0))};
    for (auto _ : state)
        benchmark::DoNotOptimize(cofferon::menuFileBytes(settings, slots, cofferon::OutputEncoding::Utf8));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ExportLore)->Arg(4000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace
