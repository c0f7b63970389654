// Importing a large menu file (about 3 MB of UTF-8 that GBK reads too, so
// both readings are made and weighed): libyaml's parse, the values resolved
// as the plugin's reader does, every key taken over.

#include <benchmark/benchmark.h>

#include <variant>

#include "bench/BenchMenus.h"
#include "menufile/core/MenuImport.h"

namespace {

void BM_ImportMenu(benchmark::State& state)
{
    const std::string file = cofferon::bench::largeMenuFile();
    for (auto _ : state) {
        auto menu = cofferon::importMenu(file);
        if (!std::holds_alternative<cofferon::ImportedMenu>(menu))
            state.SkipWithError("the menu was not read");
        benchmark::DoNotOptimize(menu);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_ImportMenu)->Unit(benchmark::kMillisecond);

}  // namespace
