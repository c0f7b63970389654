#include "project/core/ProjectFile.h"

#include <algorithm>

#include "document/core/ItemId.h"
#include "document/core/Text.h"

namespace cofferon {

namespace {

constexpr std::string_view kSetting = "Setting";
constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kEscapedEol = "&^p";

// Byte by byte: neither CR, LF nor "&" can be the trail byte of a GB18030
// character, so this is the same as a search by characters on every valid
// text, and stays exact on bytes that other programs left invalid.
std::string escapeLines(std::string_view text)
{
    std::string result;
    result.reserve(text.size() + text.size() / 8);
    std::size_t begin = 0;
    for (std::size_t found = text.find(kEol); found != std::string_view::npos; found = text.find(kEol, begin)) {
        result.append(text.substr(begin, found - begin)).append(kEscapedEol);
        begin = found + kEol.size();
    }
    return result.append(text.substr(begin));
}

// "&^p" with a small or capital p becomes a line break.
std::string unescapeLines(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    std::size_t begin = 0;
    for (std::size_t found = text.find("&^"); found != std::string_view::npos; found = text.find("&^", found + 1)) {
        if (found + 2 < text.size() && (text[found + 2] == 'p' || text[found + 2] == 'P')) {
            result.append(text.substr(begin, found - begin)).append(kEol);
            begin = found + kEscapedEol.size();
            found = begin - 1;
        }
    }
    return result.append(text.substr(begin));
}

std::optional<std::string> presentWhenNotEmpty(std::string value)
{
    if (value.empty())
        return std::nullopt;
    return value;
}

std::string slotSection(int slot)
{
    return numberToText(static_cast<long long>(slot));
}

// A slot's keys in the order they are written; multi-line fields are stored
// with their breaks escaped. The reader meets the keys in any case.
struct SlotKey {
    std::string_view key;
    std::string SlotRecord::*field;
    bool lines = false;
    std::string_view absent = "";  // what a load takes when the key is missing
};
constexpr SlotKey kSlotKeys[] = {
    {"id", &SlotRecord::id},
    {"name", &SlotRecord::name},
    {"money", &SlotRecord::money},
    {"point", &SlotRecord::point},
    {"exp", &SlotRecord::exp},
    {"item", &SlotRecord::item},
    {"amount", &SlotRecord::amount},
    {"permission", &SlotRecord::permission},
    {"view-permission", &SlotRecord::viewPermission},
    {"head", &SlotRecord::head},
    {"keep-open", &SlotRecord::keepOpen, false, "false"},
    {"color", &SlotRecord::color},
    {"lore", &SlotRecord::lore, true},
    {"command", &SlotRecord::command, true},
    {"enchants", &SlotRecord::enchants, true},
};

// A slot's section as a load takes it.
SlotRecord readSlot(const IniFile& file, int slot)
{
    const std::string section = slotSection(slot);
    SlotRecord record;
    for (const SlotKey& key : kSlotKeys) {
        std::string value = file.value(section, key.key, key.absent);
        record.*key.field = key.lines ? unescapeLines(value) : std::move(value);
    }
    return record;
}

}  // namespace

std::string projectText(const ProjectSettings& settings, const SlotTable& slots)
{
    IniFile file;
    if (settings.title)
        file.setValue(kSetting, "title", *settings.title);
    if (settings.openItem)
        file.setValue(kSetting, "Item", *settings.openItem);
    if (settings.menuCommand)
        file.setValue(kSetting, "command", *settings.menuCommand);
    file.setValue(kSetting, "left", settings.leftClick ? "true" : "false");
    file.setValue(kSetting, "right", settings.rightClick ? "true" : "false");
    file.setValue(kSetting, "row", numberToText(static_cast<long long>(settings.rowIndex)));

    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const SlotRecord& record = slots[slot];
        if (!isValidItemId(record.id))
            continue;
        const std::string section = slotSection(slot);
        for (const SlotKey& key : kSlotKeys) {
            const std::string& value = record.*key.field;
            file.setValue(section, key.key, key.lines ? escapeLines(value) : value);
        }
    }
    return file.serialize();
}

std::optional<FileError> writeProject(const std::string& path, const ProjectSettings& settings, const SlotTable& slots,
                                      const WriteFunction& write)
{
    // Written from scratch: slots emptied since the last save leave nothing behind.
    return writeFileAtomically(path, projectText(settings, slots), write);
}

ProjectData readProject(const IniFile& file)
{
    ProjectData data;
    ProjectSettings& settings = data.settings;
    settings.title = presentWhenNotEmpty(file.value(kSetting, "title", ""));
    settings.openItem = presentWhenNotEmpty(file.value(kSetting, "Item", ""));
    settings.menuCommand = presentWhenNotEmpty(file.value(kSetting, "command", ""));
    settings.leftClick = file.value(kSetting, "left", "false") == "true";
    settings.rightClick = file.value(kSetting, "right", "false") == "true";
    // The rows list has six entries; a hand-edited number beyond them means the nearest one.
    settings.rowIndex = static_cast<int>(
        std::clamp(textToInteger(file.value(kSetting, "row", "5")), 0LL, static_cast<long long>(kMaxRows - 1)));

    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (isValidItemId(file.value(slotSection(slot), "id", "")))
            data.slots[slot] = readSlot(file, slot);
    }
    return data;
}

SlotTable slotsWithoutValidId(const IniFile& file)
{
    SlotTable slots;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (isValidItemId(file.value(slotSection(slot), "id", "")))
            continue;
        slots[slot] = readSlot(file, slot);
        // Without the key there is no flag at all, not a false one.
        slots[slot].keepOpen = file.value(slotSection(slot), "keep-open", "");
    }
    return slots;
}

std::variant<ProjectData, FileError> readProjectFile(const std::string& path)
{
    auto file = IniFile::load(path);
    if (const auto* error = std::get_if<FileError>(&file))
        return *error;
    return readProject(std::get<IniFile>(file));
}

std::string iniFileName(std::string_view chosen)
{
    return withExtension(chosen, ".ini");
}

}  // namespace cofferon
