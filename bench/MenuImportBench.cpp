// Importing a large menu file (about 3 MB of UTF-8 that GBK reads too, so
// both readings are made and weighed): libyaml's parse, the values resolved
// as the plugin's reader does, every key taken over.

#include <benchmark/benchmark.h>

#include <yaml.h>

#include <variant>

#include "bench/BenchMenus.h"
#include "menufile/core/MenuImport.h"
#include "menufile/core/MenuOnto.h"

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

// The yardstick of the import: libyaml's parser alone over the same bytes,
// every event made and thrown away.
void BM_LibyamlParse(benchmark::State& state)
{
    const std::string file = cofferon::bench::largeMenuFile();
    for (auto _ : state) {
        yaml_parser_t parser;
        yaml_parser_initialize(&parser);
        yaml_parser_set_input_string(&parser, reinterpret_cast<const unsigned char*>(file.data()), file.size());
        std::size_t events = 0;
        for (bool done = false; !done;) {
            yaml_event_t event;
            if (!yaml_parser_parse(&parser, &event)) {
                state.SkipWithError("the menu did not parse");
                break;
            }
            done = event.type == YAML_STREAM_END_EVENT;
            ++events;
            yaml_event_delete(&event);
        }
        yaml_parser_delete(&parser);
        benchmark::DoNotOptimize(events);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_LibyamlParse)->Unit(benchmark::kMillisecond);

// The large menu as a person keeps it (a comment at the top, so it is no
// file of the tool's own), read once; each run writes the menu onto it.
void writeOnto(benchmark::State& state, bool change)
{
    const std::string file = "# kept by hand\r\n" + cofferon::bench::largeMenuFile();
    auto read = cofferon::importMenuText(file);
    const auto& menu = std::get<cofferon::ImportedMenu>(read);
    cofferon::WholeMenu work = cofferon::menuToEdit(menu);
    if (change)
        work.slots[20].name = "&cchanged";
    const auto claims = cofferon::claimsByOrigin(work.slots, menu.text->places);
    for (auto _ : state) {
        auto written = cofferon::writeMenuOnto(menu, work, claims, menu.encoding);
        if (!std::holds_alternative<cofferon::MenuOnto>(written))
            state.SkipWithError("the menu was not written");
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void BM_WriteOntoMenu(benchmark::State& state)
{
    writeOnto(state, true);
}
BENCHMARK(BM_WriteOntoMenu)->Unit(benchmark::kMillisecond);

void BM_WriteOntoMenuUnchanged(benchmark::State& state)
{
    writeOnto(state, false);
}
BENCHMARK(BM_WriteOntoMenuUnchanged)->Unit(benchmark::kMillisecond);

}  // namespace
