#include "menufile/core/MenuYamlWriter.h"

#include <algorithm>
#include <cstdio>

#include "document/core/Codec.h"
#include "document/core/ItemId.h"
#include "document/core/Text.h"
#include "menufile/core/MenuValues.h"

namespace cofferon {

namespace {

constexpr std::string_view kEol = "\r\n";

using Place = ValuePlace;

std::string describe(const Place& place)
{
    std::string text;
    if (place.slot > 0)
        text += "第 " + numberToText(static_cast<long long>(place.slot)) + " 格的";
    text += place.box;
    if (place.line > 0)
        text += " 第 " + numberToText(static_cast<long long>(place.line)) + " 行";
    text += "(";
    text += place.key;
    text += ")";
    return text;
}

std::string hexBytes(std::string_view bytes)
{
    std::string text;
    for (const char byte : bytes) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "%s0x%02X", text.empty() ? "" : " ", static_cast<unsigned char>(byte));
        text += buffer;
    }
    return text;
}

std::string codePointText(char32_t c)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

// Every "'" doubled. No byte of a GB18030 character but the character
// itself is "'", so the bytes can be searched as they are.
void appendQuoted(std::string& out, std::string_view value)
{
    for (std::size_t begin = 0; begin <= value.size();) {
        const std::size_t quote = std::min(value.find('\'', begin), value.size());
        out.append(value.substr(begin, quote - begin));
        if (quote < value.size())
            out.append("''");
        begin = quote + 1;
    }
}

constexpr std::string_view kNotWritten = ",文件未写入。";

// Collects the lines of the file; the first value it refuses ends the writing.
class MenuLines {
public:
    MenuLines(std::optional<OutputEncoding> encoding, std::size_t expectedSize) : m_encoding(encoding)
    {
        // One buffer from the start: a long lore would otherwise have the
        // text copied into ever larger fresh memory, which costs more per
        // byte the larger it gets.
        m_text.reserve(expectedSize);
    }

    void line(std::string_view text)
    {
        if (!m_refusal)
            m_text.append(text).append(kEol);
    }

    void quoted(std::string_view prefix, std::string_view value, const Place& place)
    {
        if (!accepts(value, place))
            return;
        // Quoted straight into the text: a value may be megabytes long.
        m_text.append(prefix).append("'");
        appendQuoted(m_text, value);
        m_text.append("'").append(kEol);
    }

    void number(std::string_view prefix, std::string_view value, NumberKind kind, const Place& place)
    {
        if (m_refusal)
            return;
        if (auto refusal = numberRefusal(value, kind == NumberKind::Decimal, place)) {
            m_refusal = std::move(refusal);
            return;
        }
        line(std::string(prefix) + plainNumber(value));
    }

    std::variant<std::string, Refusal> take()
    {
        if (m_refusal)
            return std::move(*m_refusal);
        return std::move(m_text);
    }

private:
    bool accepts(std::string_view value, const Place& place)
    {
        if (m_refusal)
            return false;
        m_refusal = textRefusal(value, place, m_encoding);
        return !m_refusal;
    }

    std::optional<OutputEncoding> m_encoding;
    std::string m_text;
    std::optional<Refusal> m_refusal;
};

void writeSlot(MenuLines& out, int slot, const SlotRecord& record, const ItemIdParts& parts)
{
    auto at = [slot](std::string_view box, std::string_view key) { return Place{slot, box, key}; };
    out.line(numberToText(static_cast<long long>(slot)) + ":");
    out.line("  ID: " + numberToText(static_cast<long long>(parts.id)));
    if (parts.data > 0)
        out.line("  DATA-VALUE: " + numberToText(static_cast<long long>(parts.data)));
    out.line("  POSITION-X: " + numberToText(static_cast<long long>(slotColumn(slot))));
    out.line("  POSITION-Y: " + numberToText(static_cast<long long>(slotRow(slot))));
    if (!record.name.empty())
        out.quoted("  NAME: ", record.name, at("物品名称", "NAME"));
    if (!record.lore.empty()) {
        out.line("  LORE: ");
        // The lines as splitText cuts them, without a list of them all: no
        // byte of a GB18030 character but the line break itself is CR or LF.
        int line = 0;
        for (std::size_t begin = 0; begin < record.lore.size();) {
            const std::size_t end = std::min(record.lore.find(kEol, begin), record.lore.size());
            out.quoted("    - ", std::string_view(record.lore).substr(begin, end - begin),
                       Place{slot, "Lore", "LORE", ++line});
            begin = end + kEol.size();
        }
    }
    if (!record.command.empty())
        out.quoted("  COMMAND: ", replaceText(record.command, kEol, "; "), at("指令", "COMMAND"));
    if (!record.money.empty())
        out.number("  PRICE: ", record.money, NumberKind::Decimal, at("所需金钱", "PRICE"));
    if (!record.point.empty())
        out.number("  POINTS: ", record.point, NumberKind::Integer, at("所需点券", "POINTS"));
    if (!record.exp.empty())
        out.number("  LEVELS: ", record.exp, NumberKind::Integer, at("所需经验等级", "LEVELS"));
    if (!record.item.empty() && !record.amount.empty())
        out.quoted("  REQUIRED-ITEM: ", record.item + ", " + record.amount, at("所需物品", "REQUIRED-ITEM"));
    if (record.keepOpen == "true")
        out.line("  KEEP-OPEN: true");
    if (!record.permission.empty())
        out.quoted("  PERMISSION: ", record.permission, at("使用权限", "PERMISSION"));
    if (!record.viewPermission.empty())
        out.quoted("  VIEW-PERMISSION: ", record.viewPermission, at("查看权限", "VIEW-PERMISSION"));
    if (!record.enchants.empty())
        out.quoted("  ENCHANTMENT: ", replaceText(record.enchants, kEol, "; "), at("附魔", "ENCHANTMENT"));
    if (!record.color.empty() && takesLeatherColour(parts))
        out.quoted("  COLOR: ", record.color, at("皮甲颜色", "COLOR"));
    if (!record.head.empty() && takesSkullOwner(record.id))
        out.quoted("  SKULL-OWNER: ", record.head, at("头颅名称", "SKULL-OWNER"));
}

}  // namespace

namespace {

// A multi-line value as the file holds it: its lines, a last line break
// ending the last line; joined, as one line.
bool sameLines(std::string_view a, std::string_view b)
{
    for (std::size_t i = 0, j = 0;;) {
        const bool aDone = i >= a.size();
        const bool bDone = j >= b.size();
        if (aDone || bDone)
            return aDone && bDone;
        const std::size_t aEnd = std::min(a.find(kEol, i), a.size());
        const std::size_t bEnd = std::min(b.find(kEol, j), b.size());
        if (a.substr(i, aEnd - i) != b.substr(j, bEnd - j))
            return false;
        i = aEnd + kEol.size();
        j = bEnd + kEol.size();
    }
}

bool sameJoined(std::string_view a, std::string_view b)
{
    return a == b || replaceText(a, kEol, "; ") == replaceText(b, kEol, "; ");
}

bool sameNumber(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return a.empty() && b.empty();
    return a == b || (isMenuNumber(a, NumberKind::Decimal) && plainNumber(a) == plainNumber(b));
}

}  // namespace

bool sameSlot(const SlotRecord& a, const SlotRecord& b)
{
    const auto pa = parseItemId(a.id);
    const auto pb = parseItemId(b.id);
    if (!pa || !pb)
        return !pa && !pb;
    const bool required = !a.item.empty() && !a.amount.empty();
    const bool requiredToo = !b.item.empty() && !b.amount.empty();
    // The two keys written only for some items, as the writer writes them.
    auto colour = [](const SlotRecord& r, const ItemIdParts& parts) {
        return !r.color.empty() && takesLeatherColour(parts) ? std::string_view(r.color) : std::string_view();
    };
    auto head = [](const SlotRecord& r) {
        return !r.head.empty() && takesSkullOwner(r.id) ? std::string_view(r.head) : std::string_view();
    };
    return pa->id == pb->id && pa->data == pb->data && a.name == b.name && sameLines(a.lore, b.lore) &&
        sameJoined(a.command, b.command) && sameNumber(a.money, b.money) && sameNumber(a.point, b.point) &&
        sameNumber(a.exp, b.exp) && required == requiredToo &&
        (!required || (a.item == b.item && a.amount == b.amount)) && (a.keepOpen == "true") == (b.keepOpen == "true") &&
        a.permission == b.permission && a.viewPermission == b.viewPermission && sameJoined(a.enchants, b.enchants) &&
        colour(a, *pa) == colour(b, *pb) && head(a) == head(b);
}

bool sameMenuFile(const MenuSettings& a, const SlotTable& aSlots, const MenuSettings& b, const SlotTable& bSlots)
{
    const int rows = std::clamp(a.rows(), 1, kMaxRows);
    if (a.title != b.title || rows != std::clamp(b.rows(), 1, kMaxRows) || a.menuCommand != b.menuCommand ||
        a.openItem != b.openItem)
        return false;
    if (a.openItem && (a.leftClick != b.leftClick || a.rightClick != b.rightClick))
        return false;
    for (int slot = 1; slot <= rows * kColumns; ++slot) {
        if (!sameSlot(aSlots[slot], bSlots[slot]))
            return false;
    }
    return true;
}

bool takesLeatherColour(const ItemIdParts& parts)
{
    return parts.id >= 298 && parts.id <= 301;
}

bool takesSkullOwner(std::string_view id)
{
    return id == "397:3";
}

std::optional<Refusal> textRefusal(std::string_view value, const ValuePlace& place,
                                   std::optional<OutputEncoding> encoding)
{
    if (const auto unsafe = firstUnsafeCharacter(value))
        return Refusal{describe(place) + "含有菜单文件无法保存的控制字符 " + codePointText(*unsafe) +
                       std::string(kNotWritten)};
    if (encoding == OutputEncoding::Utf8) {
        if (const auto bad = firstUnconvertibleCharacter(value))
            return Refusal{describe(place) + "含有无法转换为 UTF-8 的字节 " + hexBytes(*bad) +
                           std::string(kNotWritten) + "可改用 GB2312 格式导出。"};
    } else if (encoding == OutputEncoding::Gb2312) {
        if (const auto bad = firstNonGbkCharacter(value)) {
            const auto shown = gb18030ToUtf8(*bad);
            return Refusal{
                describe(place) +
                (shown ? "含有 GB2312 格式无法保存的字符“" + *shown + "”" : "含有无法识别的字节 " + hexBytes(*bad)) +
                std::string(kNotWritten) + (shown ? "请改用 UTF-8 格式导出。" : "")};
        }
    }
    return std::nullopt;
}

std::optional<Refusal> numberRefusal(std::string_view value, bool decimal, const ValuePlace& place)
{
    if (isMenuNumber(value, decimal ? NumberKind::Decimal : NumberKind::Integer))
        return std::nullopt;
    const std::string_view allowed = decimal ? "只能填写整数或小数,如 100、-5、2.5" : "只能填写整数,如 100、-5";
    return Refusal{describe(place) + "不是数字," + std::string(allowed) + std::string(kNotWritten)};
}

std::string quoteYaml(std::string_view value)
{
    std::string quoted;
    appendQuoted(quoted, value);
    return quoted;
}

std::variant<std::string, Refusal> writeMenuYaml(const MenuSettings& settings, const SlotTable& slots,
                                                 std::optional<OutputEncoding> encoding)
{
    if (!settings.title)
        return Refusal{"需要菜单标题"};
    if (settings.openItem && !isValidItemId(*settings.openItem))
        return Refusal{"无效的物品ID"};

    const int rows = std::clamp(settings.rows(), 1, kMaxRows);
    const int lastSlot = rows * kColumns;
    // Each lore line gains a prefix and quotes; the other values about their size.
    std::size_t expectedSize = 1024;
    for (int slot = 1; slot <= lastSlot; ++slot) {
        const SlotRecord& record = slots[slot];
        for (const std::string* value : {&record.lore, &record.name, &record.command, &record.enchants})
            expectedSize += value->size() + value->size() / 4;
        expectedSize += 512;
    }
    MenuLines out(encoding, expectedSize);
    out.line("menu-setting:");
    out.quoted("  name: ", *settings.title, Place{0, "菜单标题", "name"});
    out.line("  rows: " + numberToText(static_cast<long long>(rows)));
    if (settings.menuCommand)
        out.quoted("  command: ", *settings.menuCommand, Place{0, "菜单指令", "command"});
    if (settings.openItem) {
        out.line("  open-with-item:");
        out.quoted("    id: ", *settings.openItem, Place{0, "物品ID", "id"});
        if (settings.leftClick)
            out.line("    left-click: true");
        if (settings.rightClick)
            out.line("    right-click: true");
    }
    for (int slot = 1; slot <= lastSlot; ++slot) {
        const SlotRecord& record = slots[slot];
        if (const auto parts = parseItemId(record.id))
            writeSlot(out, slot, record, *parts);
    }
    return out.take();
}

}  // namespace cofferon
