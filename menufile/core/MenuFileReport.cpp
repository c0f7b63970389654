#include "menufile/core/MenuFileReport.h"

#include <algorithm>

#include "document/core/ItemId.h"
#include "document/core/Text.h"
#include "menufile/core/MenuYamlWriter.h"

namespace cofferon {

namespace {

// What the file loses of one slot.
struct SlotLoss {
    bool hiddenRow = false;  // the whole slot
    bool noValidId = false;  // the whole slot
    bool itemWithoutAmount = false;
    bool amountWithoutItem = false;
    bool colour = false;
    bool skullOwner = false;

    bool any() const
    {
        return hiddenRow || noValidId || itemWithoutAmount || amountWithoutItem || colour || skullOwner;
    }
};

// A keep-open flag other than "true" means false, which the file says by leaving it out.
bool hasContent(const SlotRecord& record)
{
    const std::string* texts[] = {&record.lore,    &record.name,   &record.enchants,   &record.id,
                                  &record.command, &record.money,  &record.point,      &record.exp,
                                  &record.item,    &record.amount, &record.permission, &record.viewPermission,
                                  &record.color,   &record.head};
    return record.keepOpen == "true" ||
        std::any_of(std::begin(texts), std::end(texts), [](const std::string* text) { return !text->empty(); });
}

int shownRows(const MenuSettings& settings)
{
    return std::clamp(settings.rows(), 1, kMaxRows);
}

SlotLoss lossOf(int slot, const SlotRecord& record, int rows)
{
    SlotLoss loss;
    if (!hasContent(record))
        return loss;
    if (slotRow(slot) > rows) {
        loss.hiddenRow = true;
        return loss;
    }
    const auto parts = parseItemId(record.id);
    if (!parts) {
        loss.noValidId = true;
        return loss;
    }
    loss.itemWithoutAmount = !record.item.empty() && record.amount.empty();
    loss.amountWithoutItem = record.item.empty() && !record.amount.empty();
    loss.colour = !record.color.empty() && !takesLeatherColour(*parts);
    loss.skullOwner = !record.head.empty() && !takesSkullOwner(record.id);
    return loss;
}

std::string numberText(int number)
{
    return numberToText(static_cast<long long>(number));
}

std::string describe(int slot, const SlotLoss& loss, int rows)
{
    const std::string where = "第 " + numberText(slot) + " 格";
    if (loss.hiddenRow)
        return where + "在第 " + numberText(slotRow(slot)) + " 行,菜单只显示 " + numberText(rows) + " 行,不会写入";
    if (loss.noValidId)
        return where + "没有有效的物品ID,不会写入";
    std::vector<std::string> values;
    if (loss.itemWithoutAmount)
        values.emplace_back("所需物品没有数量");
    if (loss.amountWithoutItem)
        values.emplace_back("所需物品数量没有对应的物品");
    if (loss.colour)
        values.emplace_back("皮甲颜色只用于皮甲(298–301)");
    if (loss.skullOwner)
        values.emplace_back("头颅名称只用于玩家头颅(397:3)");
    std::string line = where + "的";
    for (std::size_t i = 0; i < values.size(); ++i)
        line += (i > 0 ? "," : "") + values[i];
    return line + (values.size() > 1 ? ",都不会写入" : ",不会写入");
}

}  // namespace

std::vector<std::string> menuFileOmissions(const MenuSettings& settings, const SlotTable& slots)
{
    const int rows = shownRows(settings);
    std::vector<std::string> lines;
    // The click switches belong to the opening item's block, which is only written with an item.
    if (!settings.openItem && (settings.leftClick || settings.rightClick)) {
        const std::string clicks = settings.leftClick && settings.rightClick ? "左键开启和右键开启"
            : settings.leftClick                                             ? "左键开启"
                                                                             : "右键开启";
        lines.push_back("没有开启菜单的物品(物品ID)," + clicks + "不会写入");
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const SlotLoss loss = lossOf(slot, slots[slot], rows);
        if (loss.any())
            lines.push_back(describe(slot, loss, rows));
    }
    return lines;
}

SlotTable slotsInMenuFile(const MenuSettings& settings, const SlotTable& slots)
{
    const int rows = shownRows(settings);
    SlotTable carried = slots;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const SlotLoss loss = lossOf(slot, slots[slot], rows);
        SlotRecord& record = carried[slot];
        if (loss.hiddenRow || loss.noValidId)
            record = SlotRecord{};
        if (loss.itemWithoutAmount || loss.amountWithoutItem) {
            record.item.clear();
            record.amount.clear();
        }
        if (loss.colour)
            record.color.clear();
        if (loss.skullOwner)
            record.head.clear();
    }
    return carried;
}

WholeMenu menuFileHolds(const MenuSettings& settings, const SlotTable& slots)
{
    SlotTable carried = slotsInMenuFile(settings, slots);
    for (int slot = shownRows(settings) * kColumns + 1; slot <= kSlotCount; ++slot) {
        if (slots[slot].origin != 0)
            carried[slot] = slots[slot];
    }
    MenuSettings held = withoutEmptyTexts(settings);
    if (!held.openItem)
        held.leftClick = held.rightClick = false;
    return WholeMenu{std::move(held), std::move(carried)};
}

std::optional<HiddenSlots> hiddenSlots(const MenuSettings& settings, const SlotTable& slots)
{
    const int rows = shownRows(settings);
    HiddenSlots hidden{rows + 1, 0, 0};
    for (int slot = rows * kColumns + 1; slot <= kSlotCount; ++slot) {
        if (hasContent(slots[slot])) {
            ++hidden.count;
            hidden.lastRow = slotRow(slot);
        }
    }
    return hidden.count > 0 ? std::optional(hidden) : std::nullopt;
}

std::string hiddenSlotsNote(const HiddenSlots& hidden)
{
    const std::string rows = hidden.firstRow == hidden.lastRow
        ? numberText(hidden.firstRow)
        : numberText(hidden.firstRow) + "–" + numberText(hidden.lastRow);
    return "第 " + rows + " 行还有 " + numberText(hidden.count) + " 个物品,不会显示在菜单里";
}

}  // namespace cofferon
