// yaml-cpp beside this program's own work, where it is installed: its
// emitter writing the keys, lists and quoting of a full menu from the same
// slots (no checks), and its parser reading the large menu that
// BM_ImportMenu imports (a tree only: no values resolved, nothing taken over).

#include <benchmark/benchmark.h>
#include <yaml-cpp/yaml.h>

#include <variant>

#include "bench/BenchMenus.h"
#include "document/core/Codec.h"
#include "document/core/ItemId.h"
#include "document/core/Text.h"

namespace {

using cofferon::bench::Menu;

// yaml-cpp takes UTF-8; the texts are converted once, before the timing.
Menu inUtf8(Menu menu)
{
    auto utf8 = [](std::string& text) { text = cofferon::gb18030ToUtf8(text).value_or(text); };
    utf8(*menu.settings.title);
    for (int slot = 1; slot <= cofferon::kSlotCount; ++slot) {
        cofferon::SlotRecord& r = menu.slots[slot];
        for (std::string* text : {&r.name, &r.lore, &r.command, &r.enchants, &r.permission, &r.viewPermission})
            utf8(*text);
    }
    return menu;
}

void emitSlot(YAML::Emitter& out, int slot, const cofferon::SlotRecord& r, const cofferon::ItemIdParts& parts)
{
    out << YAML::Key << slot << YAML::Value << YAML::BeginMap;
    out << YAML::Key << "ID" << YAML::Value << parts.id;
    if (parts.data > 0)
        out << YAML::Key << "DATA-VALUE" << YAML::Value << parts.data;
    out << YAML::Key << "POSITION-X" << YAML::Value << cofferon::slotColumn(slot);
    out << YAML::Key << "POSITION-Y" << YAML::Value << cofferon::slotRow(slot);
    out << YAML::Key << "NAME" << YAML::Value << YAML::SingleQuoted << r.name;
    out << YAML::Key << "LORE" << YAML::Value << YAML::BeginSeq;
    for (const std::string& line : cofferon::splitText(r.lore, "\r\n"))
        out << YAML::SingleQuoted << line;
    out << YAML::EndSeq;
    out << YAML::Key << "COMMAND" << YAML::Value << YAML::SingleQuoted
        << cofferon::replaceText(r.command, "\r\n", "; ");
    out << YAML::Key << "PRICE" << YAML::Value << r.money;
    out << YAML::Key << "POINTS" << YAML::Value << r.point;
    out << YAML::Key << "LEVELS" << YAML::Value << r.exp;
    out << YAML::Key << "REQUIRED-ITEM" << YAML::Value << YAML::SingleQuoted << r.item + ", " + r.amount;
    if (r.keepOpen == "true")
        out << YAML::Key << "KEEP-OPEN" << YAML::Value << true;
    out << YAML::Key << "PERMISSION" << YAML::Value << YAML::SingleQuoted << r.permission;
    out << YAML::Key << "VIEW-PERMISSION" << YAML::Value << YAML::SingleQuoted << r.viewPermission;
    if (!r.enchants.empty())
        out << YAML::Key << "ENCHANTMENT" << YAML::Value << YAML::SingleQuoted
            << cofferon::replaceText(r.enchants, "\r\n", "; ");
    if (parts.id >= 298 && parts.id <= 301)
        out << YAML::Key << "COLOR" << YAML::Value << YAML::SingleQuoted << r.color;
    if (r.id == "397:3")
        out << YAML::Key << "SKULL-OWNER" << YAML::Value << YAML::SingleQuoted << r.head;
    out << YAML::EndMap;
}

void BM_YamlCppEmitter(benchmark::State& state)
{
    const Menu menu = inUtf8(cofferon::bench::fullMenu());
    const cofferon::MenuSettings& settings = menu.settings;
    for (auto _ : state) {
        YAML::Emitter out;
        out << YAML::BeginMap;
        out << YAML::Key << "menu-setting" << YAML::Value << YAML::BeginMap;
        out << YAML::Key << "name" << YAML::Value << YAML::SingleQuoted << *settings.title;
        out << YAML::Key << "rows" << YAML::Value << settings.rows();
        out << YAML::Key << "command" << YAML::Value << YAML::SingleQuoted << *settings.menuCommand;
        out << YAML::Key << "open-with-item" << YAML::Value << YAML::BeginMap;
        out << YAML::Key << "id" << YAML::Value << YAML::SingleQuoted << *settings.openItem;
        out << YAML::Key << "left-click" << YAML::Value << settings.leftClick;
        out << YAML::EndMap << YAML::EndMap;
        for (int slot = 1; slot <= settings.rows() * cofferon::kColumns; ++slot) {
            if (const auto parts = cofferon::parseItemId(menu.slots[slot].id))
                emitSlot(out, slot, menu.slots[slot], *parts);
        }
        out << YAML::EndMap;
        if (!out.good())
            state.SkipWithError(out.GetLastError().c_str());
        benchmark::DoNotOptimize(out.c_str());
    }
}
BENCHMARK(BM_YamlCppEmitter)->Unit(benchmark::kMicrosecond);

void BM_YamlCppLoadMenu(benchmark::State& state)
{
    const std::string file = cofferon::bench::largeMenuFile();
    for (auto _ : state) {
        const YAML::Node root = YAML::Load(file);
        benchmark::DoNotOptimize(root.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_YamlCppLoadMenu)->Unit(benchmark::kMillisecond);

}  // namespace
