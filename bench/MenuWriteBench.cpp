// Writing a full 54-slot menu file with this program's YAML writer, which
// checks every value (beside yaml-cpp's emitter in YamlCppBench.cpp).

#include <benchmark/benchmark.h>

#include <variant>

#include "bench/BenchMenus.h"
#include "menufile/core/MenuYamlWriter.h"

namespace {

using cofferon::bench::Menu;

void BM_WriteMenuYaml(benchmark::State& state)
{
    const Menu menu = cofferon::bench::fullMenu();
    for (auto _ : state) {
        auto text = cofferon::writeMenuYaml(menu.settings, menu.slots);
        if (!std::holds_alternative<std::string>(text))
            state.SkipWithError("the menu was refused");
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_WriteMenuYaml)->Unit(benchmark::kMicrosecond);

}  // namespace
