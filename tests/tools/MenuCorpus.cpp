// Writes random menu projects full of values that YAML readers trip over, each
// beside a JSON file with what a reader must find in its exported menu file.
// The project goes through the real project writer; the expectations come from
// the document the project was made from, so a value that the project file
// does not keep shows up as a mismatch too, and is listed under "losses".
//
// Usage: menu_corpus FOLDER [--count N] [--seed S] [--kept-only]
//
// --kept-only draws only values that the project file keeps, so that the
// corpus checks the export alone while the project file loses some values.
//
// Project k of seed s is named p<s>-<k>.ini and depends on s and k alone, so
// any one of them can be made again with the same seed.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "document/core/Codec.h"
#include "document/core/ItemId.h"
#include "document/core/Text.h"
#include "project/core/IniFile.h"
#include "project/core/ProjectFile.h"
#include "support/AwkwardValues.h"

namespace cofferon {
namespace {

using namespace std::string_literals;

// ---------------------------------------------------------------- values ---

// The awkward values; with keptOnly, only ones that the project file gives
// back unchanged, so that the corpus tests the export alone.
class ValueMaker : public test::AwkwardValues {
public:
    ValueMaker(std::seed_seq& seeds, bool keptOnly) : AwkwardValues(seeds), m_keptOnly(keptOnly) { drawRates(); }

    // A value from `make` for the slot field `field`.
    template <typename Make>
    auto kept(std::string SlotRecord::*field, Make make)
    {
        auto value = make();
        for (int tries = 0; m_keptOnly && tries < 200 && !keeps(field, joined(value)); ++tries)
            value = make();
        return value;
    }

private:
    static std::string joined(const std::string& value) { return value; }
    static std::string joined(const std::vector<std::string>& lines) { return joinLines(lines); }

    static bool keeps(std::string SlotRecord::*field, const std::string& value)
    {
        SlotTable slots;
        slots[1].id = "1";
        slots[1].*field = value;
        MenuSettings settings;
        settings.title = "t";
        const ProjectData back = readProject(IniFile::parse(projectText(settings, slots)));
        // An id that is not valid is not stored at all, which loses nothing the export writes.
        return back.slots[1] == slots[1] || (field == &SlotRecord::id && !isValidItemId(value));
    }

    bool m_keptOnly = false;
};

// ------------------------------------------------------------------ json ---

std::string jsonString(std::string_view utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", byte);
            out += buffer;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string hex(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%02x", static_cast<unsigned char>(c));
        out += buffer;
    }
    return out;
}

// A document text as a reader must find it: its UTF-8 form, or its bytes when
// it has none, so that no export may write it as UTF-8.
std::string expectedText(std::string_view document, std::string_view kind = "text")
{
    if (const auto utf8 = gb18030ToUtf8(document))
        return "{\"" + std::string(kind) + "\": " + jsonString(*utf8) + "}";
    return "{\"bytes\": \"" + hex(document) + "\"}";
}

std::string expectedNumber(long long value)
{
    return "{\"number\": \"" + std::to_string(value) + "\"}";
}

// Keys of one map in the order written.
class JsonMap {
public:
    void add(std::string_view key, std::string value) { m_entries.emplace_back(std::string(key), std::move(value)); }
    bool empty() const { return m_entries.empty(); }
    std::string text(const std::string& indent = "") const
    {
        std::string out = "{";
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            out += i == 0 ? "\n" : ",\n";
            out += indent + "  " + jsonString(m_entries[i].first) + ": " + m_entries[i].second;
        }
        return out + "\n" + indent + "}";
    }

private:
    std::vector<std::pair<std::string, std::string>> m_entries;
};

// ---------------------------------------------------------------- corpus ---

struct Slot {
    SlotRecord record;
    std::vector<std::string> lore;  // the lines as made; record.lore joins them
};

std::optional<std::string> settingText(ValueMaker& make, double absent)
{
    if (make.chance(absent))
        return std::nullopt;
    // An empty value in the file means "not set", which the checker expects too.
    if (make.chance(0.03))
        return std::string();
    // The settings are kept as the slots' single-line fields are.
    return make.kept(&SlotRecord::name, [&] { return make.text(true); });
}

Slot makeSlot(ValueMaker& make)
{
    Slot slot;
    SlotRecord& r = slot.record;
    r.id = make.kept(&SlotRecord::id, [&] { return make.itemId(true); });
    auto maybe = [&](double p, std::string SlotRecord::*field, auto value) {
        return make.chance(p) ? make.kept(field, value) : std::string();
    };
    auto text = [&] { return make.text(true); };
    auto lines = [&] { return ValueMaker::joinLines(make.lines()); };
    r.name = maybe(0.7, &SlotRecord::name, text);
    if (make.chance(0.6)) {
        slot.lore = make.kept(&SlotRecord::lore, [&] { return make.lines(); });
        r.lore = ValueMaker::joinLines(slot.lore);
    }
    r.command = maybe(0.5, &SlotRecord::command, lines);
    r.enchants = maybe(0.3, &SlotRecord::enchants, lines);
    r.money = maybe(0.4, &SlotRecord::money, [&] { return make.number(true); });
    r.point = maybe(0.25, &SlotRecord::point, [&] { return make.number(false); });
    r.exp = maybe(0.25, &SlotRecord::exp, [&] { return make.number(false); });
    if (make.chance(0.3)) {
        r.item = make.kept(&SlotRecord::item, [&] { return make.chance(0.7) ? make.itemId(false) : make.text(true); });
        r.amount =
            make.kept(&SlotRecord::amount, [&] { return make.chance(0.8) ? make.number(false) : make.text(true); });
        if (make.chance(0.1))
            (make.chance(0.5) ? r.item : r.amount).clear();
    }
    const std::vector<std::string> keepOpen = {"true", "true", "false", "", "TRUE", " true", "true "};
    r.keepOpen = make.kept(&SlotRecord::keepOpen, [&] { return ValueMaker::document(make.from(keepOpen)); });
    r.permission = maybe(0.3, &SlotRecord::permission, text);
    r.viewPermission = maybe(0.3, &SlotRecord::viewPermission, text);
    r.color = maybe(0.4, &SlotRecord::color, [&] { return make.chance(0.5) ? "255, 0, 0"s : make.text(true); });
    r.head = maybe(0.4, &SlotRecord::head, text);
    return slot;
}

// What a reader must find for one slot the export writes.
std::string expectedSlot(int number, const Slot& slot, const ItemIdParts& parts)
{
    const SlotRecord& r = slot.record;
    JsonMap map;
    map.add("ID", expectedNumber(parts.id));
    if (parts.data > 0)
        map.add("DATA-VALUE", expectedNumber(parts.data));
    map.add("POSITION-X", expectedNumber(slotColumn(number)));
    map.add("POSITION-Y", expectedNumber(slotRow(number)));
    if (!r.name.empty())
        map.add("NAME", expectedText(r.name));
    // A last empty line leaves no entry: nothing follows the last line break.
    std::vector<std::string> lore = slot.lore;
    if (!lore.empty() && lore.back().empty())
        lore.pop_back();
    if (!r.lore.empty()) {
        std::string list = "[";
        for (std::size_t i = 0; i < lore.size(); ++i)
            list += (i == 0 ? "" : ", ") + expectedText(lore[i]);
        map.add("LORE", list + "]");
    }
    if (!r.command.empty())
        map.add("COMMAND", expectedText(replaceText(r.command, "\r\n", "; ")));
    if (!r.money.empty())
        map.add("PRICE", expectedText(r.money, "number"));
    if (!r.point.empty())
        map.add("POINTS", expectedText(r.point, "number"));
    if (!r.exp.empty())
        map.add("LEVELS", expectedText(r.exp, "number"));
    if (!r.item.empty() && !r.amount.empty())
        map.add("REQUIRED-ITEM", expectedText(r.item + ", " + r.amount));
    if (r.keepOpen == "true")
        map.add("KEEP-OPEN", "{\"flag\": true}");
    if (!r.permission.empty())
        map.add("PERMISSION", expectedText(r.permission));
    if (!r.viewPermission.empty())
        map.add("VIEW-PERMISSION", expectedText(r.viewPermission));
    if (!r.enchants.empty())
        map.add("ENCHANTMENT", expectedText(replaceText(r.enchants, "\r\n", "; ")));
    if (!r.color.empty() && parts.id >= 298 && parts.id <= 301)
        map.add("COLOR", expectedText(r.color));
    if (!r.head.empty() && r.id == "397:3")
        map.add("SKULL-OWNER", expectedText(r.head));
    return map.text("    ");
}

// Every field the project file gives back other than it was written.
std::string projectLosses(const MenuSettings& settings, const SlotTable& slots)
{
    const ProjectData stored = readProject(IniFile::parse(projectText(settings, slots)));
    std::vector<std::string> losses;
    auto compare = [&](int slot, std::string_view field, const std::string& intended, const std::string& read) {
        if (intended != read)
            losses.push_back("{\"slot\": " + std::to_string(slot) + ", \"field\": " + jsonString(field) +
                             ", \"intended\": " + expectedText(intended) + ", \"stored\": " + expectedText(read) + "}");
    };
    auto setting = [](const std::optional<std::string>& value) { return value.value_or(std::string()); };
    compare(0, "title", setting(settings.title), setting(stored.settings.title));
    compare(0, "openItem", setting(settings.openItem), setting(stored.settings.openItem));
    compare(0, "menuCommand", setting(settings.menuCommand), setting(stored.settings.menuCommand));
    for (int n = 1; n <= kSlotCount; ++n) {
        const SlotRecord& a = slots[n];
        const SlotRecord& b = stored.slots[n];
        if (!isValidItemId(a.id)) {
            compare(n, "id", std::string(), b.id);
            continue;
        }
        const std::pair<std::string_view, std::string SlotRecord::*> fields[] = {
            {"lore", &SlotRecord::lore},
            {"name", &SlotRecord::name},
            {"enchants", &SlotRecord::enchants},
            {"id", &SlotRecord::id},
            {"command", &SlotRecord::command},
            {"keepOpen", &SlotRecord::keepOpen},
            {"money", &SlotRecord::money},
            {"point", &SlotRecord::point},
            {"exp", &SlotRecord::exp},
            {"item", &SlotRecord::item},
            {"amount", &SlotRecord::amount},
            {"permission", &SlotRecord::permission},
            {"viewPermission", &SlotRecord::viewPermission},
            {"color", &SlotRecord::color},
            {"head", &SlotRecord::head},
        };
        for (const auto& [field, member] : fields)
            compare(n, field, a.*member, b.*member);
    }
    std::string out = "[";
    for (std::size_t i = 0; i < losses.size(); ++i)
        out += (i == 0 ? "\n    " : ",\n    ") + losses[i];
    return out + (losses.empty() ? "]" : "\n  ]");
}

bool writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out.flush());
}

bool makeProject(const std::filesystem::path& folder, unsigned long long seed, int index, bool keptOnly)
{
    std::seed_seq seeds{static_cast<unsigned>(seed), static_cast<unsigned>(seed >> 32), static_cast<unsigned>(index)};
    ValueMaker make(seeds, keptOnly);

    MenuSettings settings;
    settings.title = settingText(make, 0.04);
    if (make.chance(0.5))
        settings.openItem = make.kept(&SlotRecord::name, [&] { return make.itemId(true); });
    settings.menuCommand = settingText(make, 0.5);
    settings.leftClick = make.chance(0.5);
    settings.rightClick = make.chance(0.5);
    settings.rowIndex = static_cast<int>(make.pick(kMaxRows));

    SlotTable slots;
    std::vector<Slot> made(kSlotCount + 1);
    const std::size_t filled = make.pick(12);
    for (std::size_t i = 0; i < filled; ++i) {
        const int n = 1 + static_cast<int>(make.pick(kSlotCount));
        made[n] = makeSlot(make);
        slots[n] = made[n].record;
    }

    const std::string name = "p" + std::to_string(seed) + "-" + std::to_string(index);
    auto present = [](const std::optional<std::string>& value) { return value && !value->empty(); };

    std::string refusal = "null";
    if (!present(settings.title))
        refusal = "\"title\"";
    else if (present(settings.openItem) && !isValidItemId(*settings.openItem))
        refusal = "\"open-item\"";

    JsonMap menu;
    JsonMap setting;
    if (present(settings.title))
        setting.add("name", expectedText(*settings.title));
    setting.add("rows", expectedNumber(settings.rows()));
    if (present(settings.menuCommand))
        setting.add("command", expectedText(*settings.menuCommand));
    if (present(settings.openItem)) {
        JsonMap open;
        open.add("id", expectedText(*settings.openItem));
        if (settings.leftClick)
            open.add("left-click", "{\"flag\": true}");
        if (settings.rightClick)
            open.add("right-click", "{\"flag\": true}");
        setting.add("open-with-item", open.text("      "));
    }
    menu.add("menu-setting", setting.text("    "));
    for (int n = 1; n <= settings.rows() * kColumns; ++n) {
        if (const auto parts = parseItemId(slots[n].id))
            menu.add(std::to_string(n), expectedSlot(n, made[n], *parts));
    }

    const std::string json = "{\n  \"project\": " + jsonString(name + ".ini") + ",\n  \"refusal\": " + refusal +
        ",\n  \"menu\": " + menu.text("  ") + ",\n  \"losses\": " + projectLosses(settings, slots) + "\n}\n";
    if (const auto error = writeProject((folder / (name + ".ini")).string(), settings, slots)) {
        std::cerr << "menu_corpus: cannot write " << name << ".ini: " << fileErrorText(error->code) << "\n";
        return false;
    }
    return writeFile(folder / (name + ".json"), json);
}

}  // namespace
}  // namespace cofferon

int main(int argc, char* argv[])
{
    std::filesystem::path folder;
    int count = 300;
    unsigned long long seed = 1;
    bool keptOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--count" && i + 1 < argc)
            count = std::stoi(argv[++i]);
        else if (arg == "--seed" && i + 1 < argc)
            seed = std::stoull(argv[++i]);
        else if (arg == "--kept-only")
            keptOnly = true;
        else if (folder.empty() && !arg.starts_with("-"))
            folder = arg;
        else {
            std::cerr << "usage: menu_corpus FOLDER [--count N] [--seed S] [--kept-only]\n";
            return 2;
        }
    }
    if (folder.empty()) {
        std::cerr << "usage: menu_corpus FOLDER [--count N] [--seed S] [--kept-only]\n";
        return 2;
    }
    std::filesystem::create_directories(folder);
    // The converter must agree with itself on every piece, or no expectation holds.
    if (const auto piece = cofferon::test::AwkwardValues::pieceThatDoesNotConvertBack()) {
        std::cerr << "menu_corpus: the piece " << cofferon::jsonString(*piece) << " does not convert back\n";
        return 1;
    }
    for (int index = 0; index < count; ++index) {
        if (!cofferon::makeProject(folder, seed, index, keptOnly))
            return 1;
    }
    return 0;
}
