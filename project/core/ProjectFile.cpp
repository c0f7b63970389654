#include "project/core/ProjectFile.h"

#include <algorithm>

#include "app/core/ItemId.h"
#include "app/core/Text.h"

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

// A slot's section as a load takes it.
SlotRecord readSlot(const IniFile& file, int slot)
{
    const std::string section = slotSection(slot);
    SlotRecord record;
    record.id = file.value(section, "id", "");
    record.name = file.value(section, "name", "");
    record.money = file.value(section, "money", "");
    record.point = file.value(section, "point", "");
    record.exp = file.value(section, "exp", "");
    record.item = file.value(section, "item", "");
    record.amount = file.value(section, "amount", "");
    record.permission = file.value(section, "permission", "");
    record.viewPermission = file.value(section, "view-permission", "");
    record.head = file.value(section, "head", "");
    record.keepOpen = file.value(section, "keep-open", "false");
    record.color = file.value(section, "Color", "");
    record.lore = unescapeLines(file.value(section, "lore", ""));
    record.command = unescapeLines(file.value(section, "command", ""));
    record.enchants = unescapeLines(file.value(section, "enchants", ""));
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
        const std::string section = numberToText(static_cast<long long>(slot));
        file.setValue(section, "id", record.id);
        file.setValue(section, "name", record.name);
        file.setValue(section, "money", record.money);
        file.setValue(section, "point", record.point);
        file.setValue(section, "exp", record.exp);
        file.setValue(section, "item", record.item);
        file.setValue(section, "amount", record.amount);
        file.setValue(section, "permission", record.permission);
        file.setValue(section, "view-permission", record.viewPermission);
        file.setValue(section, "head", record.head);
        file.setValue(section, "keep-open", record.keepOpen);
        file.setValue(section, "color", record.color);
        file.setValue(section, "lore", escapeLines(record.lore));
        file.setValue(section, "command", escapeLines(record.command));
        file.setValue(section, "enchants", escapeLines(record.enchants));
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
