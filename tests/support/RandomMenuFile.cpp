#include "support/RandomMenuFile.h"

#include <array>
#include <string_view>
#include <vector>

#include "document/core/Codec.h"
#include "document/core/Text.h"

namespace cofferon::test {

namespace {

constexpr std::array<std::string_view, 8> kWords = {"Stone", "&6Gold", "Diamond sword", "商店",
                                                    "It's",  "a: b",   "#tag",          "x, y"};

class Writer {
public:
    explicit Writer(const Choose& choose) : m_choose(choose)
    {
        m_eol = pick(2) ? "\r\n" : "\n";
        m_indent = pick(3) == 0 ? "    " : "  ";
    }

    unsigned pick(unsigned bound) const { return m_choose(bound); }
    const std::string& eol() const { return m_eol; }
    const std::string& indent() const { return m_indent; }

    // A text value in some quoting that holds it.
    std::string text(std::string_view value) const
    {
        switch (pick(3)) {
        case 0:
            if (value.find_first_of(":#,'&") == std::string_view::npos)
                return std::string(value);
            [[fallthrough]];
        case 1: {
            std::string out = "'";
            for (const char c : value)
                out += c == '\'' ? std::string("''") : std::string(1, c);
            return out + "'";
        }
        default:
            return "\"" + std::string(value) + "\"";
        }
    }

    std::string word() const { return std::string(kWords[pick(kWords.size())]); }

    void line(std::string_view text) { m_out.append(text).append(m_eol); }
    void comment()
    {
        if (pick(4) == 0)
            line("# " + word());
    }

    std::string take() { return std::move(m_out); }

private:
    const Choose& m_choose;
    std::string m_eol;
    std::string m_indent;
    std::string m_out;
};

void writeItem(Writer& out, const std::string& name, int slot)
{
    const std::string x = numberToText(static_cast<long long>(slotColumn(slot)));
    const std::string y = numberToText(static_cast<long long>(slotRow(slot)));
    const std::string id = out.pick(2) ? "1" : "35";
    if (out.pick(5) == 0) {
        out.line(name + ": {ID: " + id + ", POSITION-X: " + x + ", POSITION-Y: " + y +
                 ", NAME: " + out.text(out.word()) + "}");
        return;
    }
    const std::string& in = out.indent();
    out.line(name + ":");
    std::vector<std::string> keys = {"ID: " + id, "POSITION-X: " + x, "POSITION-Y: " + y};
    if (out.pick(2))
        keys.push_back("NAME: " + out.text(out.word()));
    if (out.pick(3) == 0)
        keys.push_back("AMOUNT: " + numberToText(static_cast<long long>(out.pick(64) + 1)));
    if (out.pick(3) == 0)
        keys.push_back("PRICE: " + numberToText(static_cast<long long>(out.pick(1000))));
    if (out.pick(3) == 0)
        keys.push_back("KEEP-OPEN: " + std::string(out.pick(2) ? "true" : "false"));
    if (out.pick(3) == 0)
        keys.push_back("COMMAND: " + out.text("tell: hi"));
    // Keys in any order, the comments among them.
    for (std::size_t i = keys.size(); i > 1; --i)
        std::swap(keys[i - 1], keys[out.pick(static_cast<unsigned>(i))]);
    for (const std::string& key : keys) {
        out.comment();
        out.line(in + key);
    }
    if (out.pick(2)) {
        const unsigned lines = out.pick(3) + 1;
        if (out.pick(3) == 0) {
            std::string flow = in + "LORE: [";
            for (unsigned i = 0; i < lines; ++i)
                flow += (i ? ", " : "") + out.text(out.word());
            out.line(flow + "]");
        } else {
            out.line(in + "LORE:");
            const std::string dash = out.pick(2) ? in + in : in;
            for (unsigned i = 0; i < lines; ++i)
                out.line(dash + "- " + out.text(out.word()));
        }
    }
}

}  // namespace

std::string randomMenuFile(const Choose& choose)
{
    Writer out(choose);
    out.comment();
    const int rows = static_cast<int>(out.pick(3)) + 2;
    out.line("menu-setting:");
    out.line(out.indent() + "name: " + out.text(out.word()));
    out.line(out.indent() + "rows: " + numberToText(static_cast<long long>(rows)));
    if (out.pick(2))
        out.line(out.indent() + "command: " + out.text("shop"));
    if (out.pick(3) == 0)
        out.line(out.indent() + "auto-refresh: 5");
    const bool words = out.pick(2);
    std::array<bool, kSlotCount + 1> used{};
    const unsigned items = out.pick(6);
    for (unsigned i = 0; i < items; ++i) {
        const int slot = static_cast<int>(out.pick(static_cast<unsigned>(rows * kColumns))) + 1;
        if (used[static_cast<std::size_t>(slot)])
            continue;
        used[static_cast<std::size_t>(slot)] = true;
        if (out.pick(3) == 0)
            out.line("");
        out.comment();
        writeItem(out,
                  words ? "item" + numberToText(static_cast<long long>(i + 1))
                        : numberToText(static_cast<long long>(slot)),
                  slot);
    }
    return out.take();
}

void changeAtRandom(WholeMenu& menu, const Choose& choose)
{
    std::vector<int> filled;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        if (!menu.slots[slot].id.empty() && slotRow(slot) <= menu.settings.rows())
            filled.push_back(slot);
    }
    const int any = static_cast<int>(choose(static_cast<unsigned>(menu.settings.rows() * kColumns))) + 1;
    const int some = filled.empty() ? any : filled[choose(static_cast<unsigned>(filled.size()))];
    SlotRecord& record = menu.slots[some];
    const std::string word = *utf8ToGb18030(kWords[choose(kWords.size())]);
    switch (choose(11)) {
    case 0:
        record.name = word;
        break;
    case 1:
        record.name.clear();
        break;
    case 2:
        record.lore = record.lore.empty() ? word : record.lore + "\r\n" + word;
        break;
    case 3:
        record.lore.clear();
        break;
    case 4:
        record.money = record.money.empty() ? "12" : "";
        break;
    case 5:
        record.keepOpen = record.keepOpen == "true" ? "" : "true";
        break;
    case 6:
        menu.slots.swapSlots(some, any);
        break;
    case 7:
        menu.slots[some] = SlotRecord{};
        break;
    case 8:
        if (menu.slots[any].id.empty())
            menu.slots[any] = SlotRecord{.name = word, .id = "264"};
        break;
    case 9:
        menu.settings.title = word;
        break;
    default:
        menu.settings.rowIndex = static_cast<int>(choose(kMaxRows));
        break;
    }
}

}  // namespace cofferon::test
