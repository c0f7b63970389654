#include "export/core/MenuYamlWriter.h"

#include <algorithm>

#include "app/core/ItemId.h"
#include "app/core/Text.h"

namespace cofferon {

namespace {

constexpr std::string_view kEol = "\r\n";

class YamlLines {
public:
    void bare(std::string_view key, std::string_view value) { m_text.append(key).append(value).append(kEol); }
    void quoted(std::string_view key, std::string_view value)
    {
        m_text.append(key).append("'").append(quoteYaml(value)).append("'").append(kEol);
    }
    void line(std::string_view text) { m_text.append(text).append(kEol); }
    std::string take() { return std::move(m_text); }

private:
    std::string m_text;
};

void writeSlot(YamlLines& out, int slot, const SlotRecord& record, const ItemIdParts& parts)
{
    out.line(numberToText(static_cast<long long>(slot)) + ":");
    out.bare("  ID: ", numberToText(static_cast<long long>(parts.id)));
    if (parts.data > 0)
        out.bare("  DATA-VALUE: ", numberToText(static_cast<long long>(parts.data)));
    out.bare("  POSITION-X: ", numberToText(static_cast<long long>(slotColumn(slot))));
    out.bare("  POSITION-Y: ", numberToText(static_cast<long long>(slotRow(slot))));
    if (!record.name.empty())
        out.quoted("  NAME: ", record.name);
    if (!record.lore.empty()) {
        out.line("  LORE: ");
        for (const std::string& piece : splitText(record.lore, kEol))
            out.quoted("    - ", piece);
    }
    if (!record.command.empty())
        out.quoted("  COMMAND: ", replaceText(record.command, kEol, "; "));
    if (!record.money.empty())
        out.bare("  PRICE: ", record.money);
    if (!record.point.empty())
        out.bare("  POINTS: ", record.point);
    if (!record.exp.empty())
        out.bare("  LEVELS: ", record.exp);
    if (!record.item.empty() && !record.amount.empty())
        out.quoted("  REQUIRED-ITEM: ", record.item + ", " + record.amount);
    if (record.keepOpen == "true")
        out.line("  KEEP-OPEN: true");
    if (!record.permission.empty())
        out.quoted("  PERMISSION: ", record.permission);
    if (!record.viewPermission.empty())
        out.quoted("  VIEW-PERMISSION: ", record.viewPermission);
    if (!record.enchants.empty())
        out.quoted("  ENCHANTMENT: ", replaceText(record.enchants, kEol, "; "));
    if (!record.color.empty() && parts.id >= 298 && parts.id <= 301)
        out.quoted("  COLOR: ", record.color);
    if (!record.head.empty() && record.id == "397:3")
        out.quoted("  SKULL-OWNER: ", record.head);
}

}  // namespace

std::string quoteYaml(std::string_view value)
{
    return replaceText(value, "'", "''");
}

std::variant<std::string, Refusal> writeMenuYaml(const MenuSettings& settings, const SlotTable& slots)
{
    YamlLines out;
    out.line("menu-setting:");
    if (!settings.title)
        return Refusal{"需要菜单标题"};
    out.quoted("  name: ", *settings.title);
    const int rows = std::clamp(settings.rows(), 1, kMaxRows);
    out.bare("  rows: ", numberToText(static_cast<long long>(rows)));
    if (settings.menuCommand)
        out.quoted("  command: ", *settings.menuCommand);
    if (settings.openItem) {
        if (!isValidItemId(*settings.openItem))
            return Refusal{"无效的物品ID"};
        out.line("  open-with-item:");
        out.quoted("    id: ", *settings.openItem);
        if (settings.leftClick)
            out.line("    left-click: true");
        if (settings.rightClick)
            out.line("    right-click: true");
    }
    const int lastSlot = rows * kColumns;
    for (int slot = 1; slot <= lastSlot; ++slot) {
        const SlotRecord& record = slots[slot];
        if (const auto parts = parseItemId(record.id))
            writeSlot(out, slot, record, *parts);
    }
    return out.take();
}

}  // namespace cofferon
