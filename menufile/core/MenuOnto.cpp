#include "menufile/core/MenuOnto.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "document/core/Codec.h"
#include "document/core/ItemId.h"
#include "document/core/Text.h"
#include "menufile/core/MenuEncoding.h"
#include "menufile/core/MenuFileReport.h"
#include "menufile/core/MenuValues.h"
#include "menufile/core/TextEdits.h"
#include "menufile/core/YamlRender.h"
#include "menufile/core/YamlScalar.h"

namespace cofferon {

namespace {

using yaml::Entry;
using yaml::Node;
using yaml::NodeId;
using yaml::NodeKind;
using yaml::ScalarStyle;
using yaml::Span;

constexpr std::string_view kCannot = "无法在原文件上修改,";
constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string toUtf8(std::string_view document)
{
    return gb18030ToUtf8(document).value_or(std::string());
}

std::string toDocument(std::string_view utf8)
{
    return utf8ToGb18030(utf8).value_or(std::string());
}

// A multi-line field's lines as the export writes them: a last line break
// ends the last line rather than starting an empty one.
std::vector<std::string> fieldLines(std::string_view text)
{
    std::vector<std::string> lines;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t end = std::min(text.find(kEol, begin), text.size());
        lines.push_back(toUtf8(text.substr(begin, end - begin)));
        begin = end + kEol.size();
    }
    return lines;
}

// A new value for a key, as the file will say it (UTF-8).
struct Value {
    Shape shape = Shape::Line;
    std::string text;  // a text, a number or "true"/"false"
    std::vector<std::string> lines;  // a list's entries
};

Value textValue(std::string text)
{
    return Value{Shape::Line, std::move(text), {}};
}

// How a value a merge key brings in is overridden with nothing.
Value clearedValue(Shape shape)
{
    switch (shape) {
    case Shape::Flag:
        return Value{Shape::Flag, "false", {}};
    case Shape::Lines:
    case Shape::Joined:
        return Value{Shape::Lines, {}, {}};
    case Shape::Decimal:
    case Shape::Integer:
    case Shape::Whole:
        return Value{Shape::Whole, "~", {}};
    default:
        return textValue({});
    }
}

// The file's own ways, for what the tool adds to it.
struct FileStyle {
    std::string eol;
    std::string indent = "  ";  // of an item block's keys
    std::string listIndent = "  ";  // of a list's "- " beyond its key
    ScalarStyle quote = ScalarStyle::SingleQuoted;
    bool blankBetweenItems = false;
};

// What happens to one of a mapping's own entries.
struct EntryChange {
    bool remove = false;
    Value value;
};

// What the writer does to one mapping: its own entries changed or removed,
// and keys added at its end.
struct MappingEdit {
    std::map<std::size_t, EntryChange> changes;  // by own entry
    std::vector<std::pair<std::string, Value>> added;  // key as written, value
    std::vector<std::string> addedLower;  // the same keys in lower case, to find them
    bool lowerKeys = false;  // the block writes its keys in lower case
};

class Onto {
public:
    Onto(const ImportedMenu& read, OutputEncoding encoding)
        : m_text(*read.text), m_tree(read.text->tree), m_utf8(read.text->utf8), m_lines(m_utf8), m_encoding(encoding)
    {
        m_style = fileStyle();
    }

    const std::optional<Refusal>& refusal() const { return m_refusal; }

    void settings(const MenuSettings& before, const MenuSettings& after);
    void editItem(std::size_t block, const SlotRecord& before, const SlotRecord& after, int slot);
    // Before any other edit: the block goes, so nothing kept for others is
    // written into it. removeItem then removes it.
    void willRemove(std::size_t block);
    void removeItem(std::size_t block);
    void addItem(int slot, const SlotRecord& record);

    // Every edit of the text, in its order; nullopt after a refusal.
    std::optional<std::vector<TextEdit>> finish();

private:
    FileStyle fileStyle() const;
    std::string_view source(Span span) const
    {
        return std::string_view(m_utf8).substr(span.begin, span.end - span.begin);
    }
    void refuse(std::string why)
    {
        if (!m_refusal)
            m_refusal = Refusal{std::string(kCannot) + std::move(why)};
    }
    bool check(std::string_view documentText, const ValuePlace& place)
    {
        if (m_refusal)
            return false;
        m_refusal = textRefusal(documentText, place, m_encoding);
        return !m_refusal;
    }

    const Entry* ownEntry(NodeId mapping, NodeId key, std::size_t* index = nullptr) const;
    MappingEdit& editOf(NodeId mapping);
    void set(NodeId mapping, const std::optional<KeyPlace>& place, std::string_view name, Value value);
    void clear(NodeId mapping, const std::optional<KeyPlace>& place, std::string_view name, Shape shape);
    void add(NodeId mapping, std::string name, Value value, bool replace);
    void keepForOthers(NodeId mapping, const KeyPlace& place);
    void materialiseAliases(NodeId node);
    std::optional<std::string> copyOf(NodeId node);
    std::string anchorOf(const Node& node) const;

    std::string scalarText(const Value& value, ScalarStyle style, bool flow) const;
    std::string flowList(const std::vector<std::string>& lines, ScalarStyle style) const;
    std::string blockList(const std::vector<std::string>& lines, std::string_view indent, ScalarStyle style) const;
    std::string inlineValue(const Value& value, ScalarStyle style, std::string_view indent, bool flow) const;
    void writeMapping(NodeId mapping, const MappingEdit& edit);
    void writeBlockEntry(const Entry& entry, const EntryChange& change, std::string_view indent);
    void editBlockList(const Node& list, const std::vector<std::string>& lines, std::string_view indent);
    Span lineSpan(std::uint32_t begin, std::uint32_t end, bool withCommentsAbove) const;
    void removeLines(std::uint32_t begin, std::uint32_t end, bool withCommentsAbove);
    std::optional<Span> itemSpan(std::size_t block) const;
    // Whether the span stands in what goes whole.
    bool removed(Span span) const
    {
        return std::any_of(m_removed.begin(), m_removed.end(),
                           [&](const Span& gone) { return span.begin >= gone.begin && span.end <= gone.end; });
    }
    std::string keyName(std::string_view name, const MappingEdit& edit) const;
    std::string itemName(int slot) const;
    std::string itemBlockText(int slot, const SlotRecord& record);

    void settingsKey(NodeId mapping, const std::optional<KeyPlace>& place, const SettingKey& key,
                     const std::optional<std::string>& before, const std::optional<std::string>& after);

    const MenuText& m_text;
    const yaml::Tree& m_tree;
    std::string_view m_utf8;
    Lines m_lines;
    OutputEncoding m_encoding;
    FileStyle m_style;
    TextEdits m_edits;
    std::map<NodeId, MappingEdit> m_mappings;
    std::vector<Span> m_removed;  // what goes whole
    std::vector<NodeId> m_materialised;
    std::string m_newItems;
    std::vector<std::string> m_newNames;
    std::optional<Refusal> m_refusal;
};

FileStyle Onto::fileStyle() const
{
    FileStyle style;
    style.eol = m_lines.lineBreak(kEol);
    const auto& blocks = m_text.places.blocks;
    for (const ItemBlock& block : blocks) {
        const Node& mapping = m_tree[block.place.mapping];
        if (!mapping.flow && !mapping.entries.empty()) {
            style.indent = std::string(m_lines.indentOf(m_tree[mapping.entries.front().key].span.begin));
            break;
        }
    }
    if (style.indent.empty())
        style.indent = "  ";
    // The lists of the file: how far their entries stand in, and how texts are quoted.
    int counts[3] = {0, 0, 0};
    bool listFound = false;
    for (const ItemBlock& block : blocks) {
        for (std::size_t i = 0; i < kSlotKeyCount; ++i) {
            const auto& place = block.place.keys[i];
            const Shape shape = kSlotKeys[i].shape;
            if (!place || (shape != Shape::Line && shape != Shape::Lines && shape != Shape::Joined))
                continue;
            const Node* value = &m_tree[place->value];
            if (value->kind == NodeKind::Sequence && !value->entries.empty()) {
                const std::uint32_t entry = value->entries.front().valueSpan.begin;
                const std::size_t dash = m_lines.indentOf(entry).size();
                const std::size_t key = m_lines.indentOf(m_tree[place->key].span.begin).size();
                if (!value->flow && !listFound && dash >= key) {
                    style.listIndent = std::string(dash - key, ' ');
                    listFound = true;
                }
                value = &m_tree[value->entries.front().value];
            }
            if (value->kind != NodeKind::Scalar)
                continue;
            if (value->style == ScalarStyle::Plain)
                ++counts[0];
            else if (value->style == ScalarStyle::SingleQuoted)
                ++counts[1];
            else if (value->style == ScalarStyle::DoubleQuoted)
                ++counts[2];
        }
    }
    if (counts[0] > counts[1] && counts[0] > counts[2])
        style.quote = ScalarStyle::Plain;
    else if (counts[2] > counts[1])
        style.quote = ScalarStyle::DoubleQuoted;
    if (blocks.size() >= 2) {
        const Entry& second = m_tree[*m_tree.root].entries[blocks[1].place.entry];
        const std::uint32_t keyLine = m_lines.startOf(m_tree[second.key].span.begin);
        style.blankBetweenItems = keyLine > 0 && m_lines.blank(m_lines.previousStart(keyLine));
    }
    return style;
}

const Entry* Onto::ownEntry(NodeId mapping, NodeId key, std::size_t* index) const
{
    const std::span<const Entry> entries = m_tree[mapping].entries;
    for (std::size_t i = entries.size(); i-- > 0;) {
        if (entries[i].key == key) {
            if (index)
                *index = i;
            return &entries[i];
        }
    }
    return nullptr;
}

MappingEdit& Onto::editOf(NodeId mapping)
{
    auto [found, added] = m_mappings.try_emplace(mapping);
    if (added) {
        // New keys follow the block's own case: a block of lower-case keys gets lower-case ones.
        bool lower = !m_tree[mapping].entries.empty();
        for (const Entry& entry : m_tree[mapping].entries) {
            const std::string_view key = m_tree[entry.key].text;
            if (key != asciiLower(key))
                lower = false;
        }
        found->second.lowerKeys = lower;
    }
    return found->second;
}

void Onto::add(NodeId mapping, std::string name, Value value, bool replace)
{
    MappingEdit& edit = editOf(mapping);
    const std::string lower = asciiLower(name);
    const auto found = std::find(edit.addedLower.begin(), edit.addedLower.end(), lower);
    if (found != edit.addedLower.end()) {
        if (replace)
            edit.added[static_cast<std::size_t>(found - edit.addedLower.begin())].second = std::move(value);
        return;
    }
    edit.added.emplace_back(std::move(name), std::move(value));
    edit.addedLower.push_back(lower);
}

void Onto::set(NodeId mapping, const std::optional<KeyPlace>& place, std::string_view name, Value value)
{
    if (place) {
        std::size_t index = 0;
        if (ownEntry(mapping, place->key, &index)) {
            keepForOthers(mapping, *place);
            editOf(mapping).changes[index] = EntryChange{false, std::move(value)};
            return;
        }
    }
    // Where a merge key brings the value in, the block's own key overrides it.
    add(mapping, std::string(name), std::move(value), true);
}

void Onto::clear(NodeId mapping, const std::optional<KeyPlace>& place, std::string_view name, Shape shape)
{
    if (!place)
        return;
    std::size_t index = 0;
    if (ownEntry(mapping, place->key, &index)) {
        keepForOthers(mapping, *place);
        editOf(mapping).changes[index] = EntryChange{true, {}};
        return;
    }
    add(mapping, std::string(name), clearedValue(shape), true);
}

std::string Onto::anchorOf(const Node& node) const
{
    if (!node.anchored)
        return std::string();
    std::string_view text = source(node.span);
    while (!text.empty() && (text.front() == '&' || text.front() == '!')) {
        const std::size_t end = std::min(text.find_first_of(" \t\r\n"), text.size());
        if (text.front() == '&')
            return std::string(text.substr(0, end)) + " ";
        text.remove_prefix(end);
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
    }
    return std::string();
}

std::optional<std::string> Onto::copyOf(NodeId id)
{
    const Node& node = m_tree[id];
    std::string_view text = source(node.span);
    // Without its anchor: the copy stands where an alias stood.
    const std::string anchor = anchorOf(node);
    if (!anchor.empty()) {
        const std::size_t at = text.find(std::string_view(anchor).substr(0, anchor.size() - 1));
        text.remove_prefix(at + anchor.size() - 1);
        while (!text.empty() && text.front() == ' ')
            text.remove_prefix(1);
    }
    if (text.find_first_of("\r\n") != std::string_view::npos || node.block)
        return std::nullopt;
    return std::string(text);
}

void Onto::materialiseAliases(NodeId node)
{
    if (!m_tree[node].aliased || std::find(m_materialised.begin(), m_materialised.end(), node) != m_materialised.end())
        return;
    m_materialised.push_back(node);
    const auto copy = copyOf(node);
    for (const Node& holder : m_tree.nodes) {
        for (const Entry& entry : holder.entries) {
            if (!entry.alias || entry.value != node ||
                (holder.kind == NodeKind::Mapping && m_tree[entry.key].text == "<<"))
                continue;
            if (removed(entry.valueSpan))
                continue;
            if (!copy) {
                refuse("第 " + numberToText(static_cast<long long>(m_tree[node].mark.line)) +
                       " 行的值被其他地方用别名引用,而它占了多行,不能替换");
                return;
            }
            m_edits.replace(entry.valueSpan.begin, entry.valueSpan.end, *copy);
        }
    }
}

// Before a block's own value changes or goes: whatever reads it through an
// alias, or through a merge key from this block, keeps the old value.
void Onto::keepForOthers(NodeId mapping, const KeyPlace& place)
{
    materialiseAliases(place.value);
    if (!m_tree[mapping].aliased)
        return;
    for (NodeId other = 0; other < m_tree.nodes.size(); ++other) {
        const Node& node = m_tree[other];
        if (other == mapping || node.kind != NodeKind::Mapping || removed(node.span))
            continue;
        bool reads = false;
        for (std::size_t i = 0; i + 1 < node.children.size(); i += 2)
            reads = reads || (node.children[i] == place.key && node.children[i + 1] == place.value);
        if (!reads || ownEntry(other, place.key))
            continue;
        const auto copy = copyOf(place.value);
        if (!copy) {
            refuse("第 " + numberToText(static_cast<long long>(m_tree[place.key].mark.line)) +
                   " 行的键经合并键“<<”用在别的物品里,而它的值占了多行");
            return;
        }
        // The copy is written as it stands in the file, whatever style the block asks for.
        Value kept{Shape::Whole, *copy, {}};
        add(other, std::string(m_tree[place.key].text), std::move(kept), false);
    }
}

std::string Onto::scalarText(const Value& value, ScalarStyle style, bool flow) const
{
    if (value.shape == Shape::Line)
        return yaml::textScalar(value.text, style, flow);
    if (value.shape == Shape::Joined || value.shape == Shape::Lines) {
        std::string joined;
        for (std::size_t i = 0; i < value.lines.size(); ++i)
            joined += (i > 0 ? "; " : "") + value.lines[i];
        return yaml::textScalar(joined, style, flow);
    }
    return value.text;
}

std::string Onto::flowList(const std::vector<std::string>& lines, ScalarStyle style) const
{
    std::string out = "[";
    for (std::size_t i = 0; i < lines.size(); ++i)
        out += (i > 0 ? ", " : "") + yaml::textScalar(lines[i], style, true);
    return out + "]";
}

std::string Onto::blockList(const std::vector<std::string>& lines, std::string_view indent, ScalarStyle style) const
{
    std::string out;
    for (const std::string& line : lines)
        out += m_style.eol + std::string(indent) + "- " + yaml::textScalar(line, style, false);
    return out;
}

// What follows "KEY:", the blank after the colon included; a block list or
// mapping starts on the next line.
std::string Onto::inlineValue(const Value& value, ScalarStyle style, std::string_view indent, bool flow) const
{
    if (value.shape == Shape::Map)
        return value.text;
    if (value.shape == Shape::Lines && !value.lines.empty() && !flow)
        return blockList(value.lines, std::string(indent) + m_style.listIndent, style);
    if (value.shape == Shape::Lines)
        return " " + flowList(value.lines, style);
    return " " + scalarText(value, style, flow);
}

Span Onto::lineSpan(std::uint32_t begin, std::uint32_t end, bool withCommentsAbove) const
{
    std::uint32_t from = m_lines.startOf(begin);
    if (withCommentsAbove) {
        while (from > 0) {
            const std::uint32_t above = m_lines.previousStart(from);
            if (above == from || !m_lines.comment(above))
                break;
            from = above;
        }
    }
    std::uint32_t to = m_lines.nextStart(end);
    // Blank lines on both sides: one of them goes too, so the blocks keep their spacing.
    if (from > 0 && m_lines.blank(m_lines.previousStart(from)) && to < m_utf8.size() && m_lines.blank(to) &&
        m_lines.endOf(to) < m_utf8.size())
        to = m_lines.nextStart(to);
    return Span{from, to};
}

void Onto::removeLines(std::uint32_t begin, std::uint32_t end, bool withCommentsAbove)
{
    const Span span = lineSpan(begin, end, withCommentsAbove);
    m_removed.push_back(span);
    m_edits.replace(span.begin, span.end, std::string());
}

void Onto::editBlockList(const Node& list, const std::vector<std::string>& lines, std::string_view indent)
{
    // The entries as one line each, if they are: then only the lines that
    // differ change, and a line added or dropped is one line of the file.
    std::vector<std::string> old;
    bool simple = true;
    for (const Entry& entry : list.entries) {
        const Node& item = m_tree[entry.value];
        const auto read = item.kind == NodeKind::Scalar ? yaml::resolveScalar(item.text, item.tag, item.plain)
                                                        : std::optional<yaml::Scalar>();
        const std::uint32_t dash = m_lines.startOf(entry.valueSpan.begin);
        const std::string_view before = source(Span{dash, entry.valueSpan.begin});
        simple = simple && !entry.alias && !item.anchored && read && read->type == yaml::ScalarType::Text &&
            !item.block && item.text.find_first_of("\r\n") == std::string::npos &&
            before.find_first_not_of(" ") != std::string_view::npos &&
            before.substr(before.find_first_not_of(" ")).starts_with("- ") &&
            before.find_first_not_of(" ", before.find('-') + 1) == std::string_view::npos &&
            source(Span{entry.valueSpan.end, m_lines.endOf(entry.valueSpan.end)}).find_first_not_of(" ") ==
                std::string_view::npos;
        old.emplace_back(item.text);
    }
    const std::string itemIndent = list.entries.empty()
        ? std::string(indent) + m_style.listIndent
        : std::string(m_lines.indentOf(list.entries.front().valueSpan.begin));
    const ScalarStyle style = list.entries.empty() ? m_style.quote : m_tree[list.entries.front().value].style;
    auto entryLine = [&](const std::string& line, ScalarStyle lineStyle) {
        return itemIndent + "- " + yaml::textScalar(line, lineStyle, false) + m_style.eol;
    };
    if (!simple || list.entries.empty()) {
        std::string all;
        for (const std::string& line : lines)
            all += entryLine(line, style);
        const std::uint32_t from = m_lines.startOf(list.entries.front().valueSpan.begin);
        m_edits.replace(from, m_lines.nextStart(list.span.end), all);
        return;
    }
    std::size_t prefix = 0;
    while (prefix < old.size() && prefix < lines.size() && old[prefix] == lines[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < old.size() - prefix && suffix < lines.size() - prefix &&
           old[old.size() - 1 - suffix] == lines[lines.size() - 1 - suffix])
        ++suffix;
    const std::size_t oldMiddle = old.size() - prefix - suffix;
    const std::size_t newMiddle = lines.size() - prefix - suffix;
    const std::size_t paired = std::min(oldMiddle, newMiddle);
    for (std::size_t i = 0; i < paired; ++i) {
        const Entry& entry = list.entries[prefix + i];
        m_edits.replace(entry.valueSpan.begin, entry.valueSpan.end,
                        yaml::textScalar(lines[prefix + i], m_tree[entry.value].style, false));
    }
    for (std::size_t i = paired; i < oldMiddle; ++i) {
        const Entry& entry = list.entries[prefix + i];
        m_edits.replace(m_lines.startOf(entry.valueSpan.begin), m_lines.nextStart(entry.valueSpan.end), std::string());
    }
    if (newMiddle > paired) {
        std::string added;
        for (std::size_t i = paired; i < newMiddle; ++i)
            added += entryLine(lines[prefix + i], style);
        const std::size_t after = prefix + paired;  // the new lines go before this old entry
        const std::uint32_t at = after > 0 ? m_lines.nextStart(list.entries[after - 1].valueSpan.end)
                                           : m_lines.startOf(list.entries[after].valueSpan.begin);
        // After the last line of the file, which has no line break of its own.
        if (at == m_utf8.size() && !m_utf8.empty() && m_utf8.back() != '\n' && m_utf8.back() != '\r')
            added = m_style.eol + added.substr(0, added.size() - m_style.eol.size());
        m_edits.insert(at, added);
    }
}

void Onto::writeBlockEntry(const Entry& entry, const EntryChange& change, std::string_view indent)
{
    const Node& node = m_tree[entry.value];
    if (change.remove) {
        const Span key = m_tree[entry.key].span;
        if (!m_lines.firstOnLine(key.begin)) {
            refuse("第 " + numberToText(static_cast<long long>(m_tree[entry.key].mark.line)) + " 行的键不在行首");
            return;
        }
        const std::uint32_t end = std::max(entry.valueSpan.end, node.span.end);
        removeLines(key.begin, entry.alias ? entry.valueSpan.end : end, true);
        return;
    }
    const Value& value = change.value;
    if (value.shape == Shape::Map) {
        std::uint32_t begin = entry.valueSpan.begin;
        while (begin > 0 && m_utf8[begin - 1] == ' ')
            --begin;
        m_edits.replace(begin, std::max(entry.valueSpan.end, node.span.end), value.text);
        return;
    }
    if (entry.alias) {
        m_edits.replace(
            entry.valueSpan.begin, entry.valueSpan.end,
            inlineValue(value, node.kind == NodeKind::Scalar ? node.style : m_style.quote, indent, true).substr(1));
        return;
    }
    const std::string anchor = anchorOf(node);
    const bool list = value.shape == Shape::Lines || value.shape == Shape::Joined;
    if (list && node.kind == NodeKind::Sequence && !node.flow) {
        editBlockList(node, value.lines, indent);
        return;
    }
    if (list && node.kind == NodeKind::Sequence) {
        const ScalarStyle style = node.entries.empty() ? m_style.quote : m_tree[node.entries.front().value].style;
        m_edits.replace(node.span.begin, node.span.end, anchor + flowList(value.lines, style));
        return;
    }
    // A scalar: a block scalar stays one where the new text is one line of it.
    const bool oneLine = value.shape != Shape::Lines || value.lines.size() == 1;
    if (node.block && oneLine && anchor.empty() && node.tag.empty()) {
        const std::string text =
            value.shape == Shape::Lines ? value.lines.front() : scalarText(value, ScalarStyle::Plain, false);
        const bool fits = !text.empty() && text.front() != ' ' && text.front() != '\t' && value.shape != Shape::Whole &&
            value.shape != Shape::Decimal && value.shape != Shape::Integer && value.shape != Shape::Flag;
        const std::uint32_t header = m_lines.endOf(node.span.begin);
        if (fits && header < node.span.end) {
            const std::uint32_t content = m_lines.nextStart(header);
            std::string contentIndent(m_lines.indentOf(content));
            if (contentIndent.size() <= indent.size())
                contentIndent = std::string(indent) + "  ";
            m_edits.replace(header, node.span.end,
                            m_style.eol + contentIndent +
                                (value.shape == Shape::Lines ? value.lines.front() : value.text));
            return;
        }
    }
    const ScalarStyle style = node.kind == NodeKind::Scalar && !node.block ? node.style : m_style.quote;
    std::string text;
    if (value.shape == Shape::Lines && value.lines.size() != 1)
        text = inlineValue(value, style, indent, false);
    else if (value.shape == Shape::Lines)
        text = " " + yaml::textScalar(value.lines.front(), style, false);
    else
        text = " " + scalarText(value, style, false);
    // Replaced from the colon's blank on, so that a list may start on the next line.
    std::uint32_t begin = node.span.begin;
    while (begin > 0 && m_utf8[begin - 1] == ' ')
        --begin;
    if (!anchor.empty())
        text = " " + anchor.substr(0, anchor.size() - 1) + text;
    m_edits.replace(begin, node.span.end, text);
}

std::string Onto::keyName(std::string_view name, const MappingEdit& edit) const
{
    return edit.lowerKeys ? asciiLower(name) : std::string(name);
}

void Onto::writeMapping(NodeId id, const MappingEdit& edit)
{
    const Node& mapping = m_tree[id];
    if (mapping.flow) {
        // A flow mapping is written again whole: its entries as they stand, changed or not.
        std::vector<std::string> entries;
        for (std::size_t i = 0; i < mapping.entries.size(); ++i) {
            const Entry& entry = mapping.entries[i];
            const auto change = edit.changes.find(i);
            const std::string key(source(m_tree[entry.key].span));
            if (change == edit.changes.end()) {
                entries.push_back(key + ": " + std::string(source(entry.valueSpan)));
            } else if (!change->second.remove) {
                const Node& node = m_tree[entry.value];
                const ScalarStyle style = node.kind == NodeKind::Scalar && !node.block ? node.style : m_style.quote;
                entries.push_back(key + ":" + inlineValue(change->second.value, style, "", true));
            }
        }
        for (const auto& [name, value] : edit.added)
            entries.push_back(keyName(name, edit) + ":" + inlineValue(value, m_style.quote, "", true));
        std::string text = anchorOf(mapping) + "{";
        for (std::size_t i = 0; i < entries.size(); ++i)
            text += (i > 0 ? ", " : "") + entries[i];
        m_edits.replace(mapping.span.begin, mapping.span.end, text + "}");
        return;
    }
    if (mapping.entries.empty())
        return;
    const std::string indent(m_lines.indentOf(m_tree[mapping.entries.front().key].span.begin));
    for (const auto& [index, change] : edit.changes)
        writeBlockEntry(mapping.entries[index], change, indent);
    if (edit.added.empty())
        return;
    std::string text;
    for (const auto& [name, value] : edit.added)
        text += indent + keyName(name, edit) + ":" + inlineValue(value, m_style.quote, indent, false) + m_style.eol;
    const std::uint32_t at = m_lines.nextStart(mapping.span.end);
    if (at == m_utf8.size() && m_lines.endOf(mapping.span.end) == at)
        text = m_style.eol + text.substr(0, text.size() - m_style.eol.size());
    m_edits.insert(at, text);
}

void Onto::settingsKey(NodeId mapping, const std::optional<KeyPlace>& place, const SettingKey& key,
                       const std::optional<std::string>& before, const std::optional<std::string>& after)
{
    if (before == after)
        return;
    if (!after) {
        clear(mapping, place, key.name, key.shape);
        return;
    }
    if (check(*after, ValuePlace{0, key.box, key.name}))
        set(mapping, place, key.name, textValue(toUtf8(*after)));
}

void Onto::settings(const MenuSettings& before, const MenuSettings& after)
{
    const auto& places = m_text.places;
    if (!places.settings) {
        // No settings at all: a block of them opens the file, in the tool's order.
        std::string text = "menu-setting:" + m_style.eol;
        const std::string& indent = m_style.indent;
        text += indent + "name: " + yaml::textScalar(toUtf8(*after.title), m_style.quote, false) + m_style.eol;
        text += indent + "rows: " + numberToText(static_cast<long long>(after.rows())) + m_style.eol;
        if (after.menuCommand)
            text +=
                indent + "command: " + yaml::textScalar(toUtf8(*after.menuCommand), m_style.quote, false) + m_style.eol;
        if (after.openItem) {
            text += indent + "open-with-item:" + m_style.eol + indent + indent +
                "id: " + yaml::textScalar(toUtf8(*after.openItem), m_style.quote, false) + m_style.eol;
            if (after.leftClick)
                text += indent + indent + "left-click: true" + m_style.eol;
            if (after.rightClick)
                text += indent + indent + "right-click: true" + m_style.eol;
        }
        for (const auto* value : {&after.title, &after.menuCommand, &after.openItem}) {
            if (*value && !check(**value, ValuePlace{0, "菜单设置", "menu-setting"}))
                return;
        }
        const Node& root = m_tree[*m_tree.root];
        const std::uint32_t at =
            root.entries.empty() ? 0 : m_lines.startOf(m_tree[root.entries.front().key].span.begin);
        m_edits.insert(at, text);
        return;
    }
    const NodeId block = places.settings->mapping;
    const auto& keys = places.settings->keys;
    settingsKey(block, keys[kTitleKey], kSettingKeys[kTitleKey], before.title, after.title);
    settingsKey(block, keys[kCommandKey], kSettingKeys[kCommandKey], before.menuCommand, after.menuCommand);
    if (before.rows() != after.rows())
        set(block, keys[kRowsKey], "rows", Value{Shape::Whole, numberToText(static_cast<long long>(after.rows())), {}});

    if (!after.openItem) {
        if (before.openItem)
            clear(block, keys[kOpeningItemKey], "open-with-item", Shape::Map);
        return;
    }
    if (!check(*after.openItem, ValuePlace{0, "物品ID", "id"}))
        return;
    if (!places.openingItem) {
        // Written as a block of its own under the settings (a flow mapping gets a flow one).
        const bool flow = m_tree[block].flow;
        std::vector<std::string> lines = {"id: " + yaml::textScalar(toUtf8(*after.openItem), m_style.quote, flow)};
        if (after.leftClick)
            lines.emplace_back("left-click: true");
        if (after.rightClick)
            lines.emplace_back("right-click: true");
        Value opening{Shape::Map, {}, {}};
        const std::string indent = m_style.indent + m_style.indent;
        for (std::size_t i = 0; i < lines.size(); ++i)
            opening.text += flow ? (i > 0 ? ", " : "") + lines[i] : m_style.eol + indent + lines[i];
        if (flow)
            opening.text = " {" + opening.text + "}";
        if (keys[kOpeningItemKey])
            set(block, keys[kOpeningItemKey], "open-with-item", opening);
        else
            add(block, "open-with-item", opening, true);
        return;
    }
    const NodeId opening = places.openingItem->mapping;
    const auto& openingKeys = places.openingItem->keys;
    settingsKey(opening, openingKeys[0], kOpeningKeys[0], before.openItem, after.openItem);
    for (std::size_t i = 1; i < kOpeningKeys.size(); ++i) {
        const bool was = before.*kOpeningKeys[i].flag;
        const bool is = after.*kOpeningKeys[i].flag;
        if (was == is)
            continue;
        if (is)
            set(opening, openingKeys[i], kOpeningKeys[i].name, Value{Shape::Flag, "true", {}});
        else
            clear(opening, openingKeys[i], kOpeningKeys[i].name, Shape::Flag);
    }
}

void Onto::editItem(std::size_t index, const SlotRecord& before, const SlotRecord& after, int slot)
{
    const ItemBlock& block = m_text.places.blocks[index];
    const NodeId mapping = block.place.mapping;
    const auto& keys = block.place.keys;
    auto number = [](long long value) { return Value{Shape::Whole, numberToText(value), {}}; };
    auto place = [slot](std::size_t key, int line = 0) {
        return ValuePlace{slot, kSlotKeys[key].box, kSlotKeys[key].name, line};
    };

    const auto was = parseItemId(before.id);
    const auto is = parseItemId(after.id);
    if (!was || !is)
        return;
    if (was->id != is->id)
        set(mapping, keys[kIdKey], kSlotKeys[kIdKey].name, number(is->id));
    if (was->data != is->data) {
        if (is->data > 0)
            set(mapping, keys[kDataKey], kSlotKeys[kDataKey].name, number(is->data));
        else
            clear(mapping, keys[kDataKey], kSlotKeys[kDataKey].name, Shape::Whole);
    }
    if (slotColumn(block.slot) != slotColumn(slot))
        set(mapping, keys[kColumnKey], kSlotKeys[kColumnKey].name, number(slotColumn(slot)));
    if (slotRow(block.slot) != slotRow(slot))
        set(mapping, keys[kRowKey], kSlotKeys[kRowKey].name, number(slotRow(slot)));

    for (std::size_t i = 0; i < kSlotKeyCount; ++i) {
        const SlotKey& key = kSlotKeys[i];
        if (!key.field)
            continue;
        const std::string& old = before.*key.field;
        const std::string& now = after.*key.field;
        if (key.shape == Shape::Flag) {
            if ((old == "true") == (now == "true"))
                continue;
            if (now == "true")
                set(mapping, keys[i], key.name, Value{Shape::Flag, "true", {}});
            else
                clear(mapping, keys[i], key.name, key.shape);
            continue;
        }
        if (old == now)
            continue;
        if (now.empty()) {
            clear(mapping, keys[i], key.name, key.shape);
            continue;
        }
        switch (key.shape) {
        case Shape::Lines:
        case Shape::Joined: {
            if (key.shape == Shape::Lines) {
                int line = 0;
                for (std::size_t begin = 0; begin < now.size();) {
                    const std::size_t end = std::min(now.find(kEol, begin), now.size());
                    if (!check(std::string_view(now).substr(begin, end - begin), place(i, ++line)))
                        return;
                    begin = end + kEol.size();
                }
            } else if (!check(replaceText(now, kEol, "; "), place(i))) {
                return;
            }
            set(mapping, keys[i], key.name, Value{key.shape, {}, fieldLines(now)});
            break;
        }
        case Shape::Decimal:
        case Shape::Integer:
            if (auto refusal = numberRefusal(now, key.shape == Shape::Decimal, place(i))) {
                m_refusal = m_refusal ? m_refusal : std::move(refusal);
                return;
            }
            set(mapping, keys[i], key.name, Value{Shape::Whole, plainNumber(now), {}});
            break;
        default:
            if (check(now, place(i)))
                set(mapping, keys[i], key.name, textValue(toUtf8(now)));
            break;
        }
    }

    const std::string oldRequired =
        before.item.empty() || before.amount.empty() ? "" : before.item + ", " + before.amount;
    const std::string newRequired = after.item.empty() || after.amount.empty() ? "" : after.item + ", " + after.amount;
    if (oldRequired != newRequired) {
        if (newRequired.empty())
            clear(mapping, keys[kRequiredItemKey], kSlotKeys[kRequiredItemKey].name, Shape::Line);
        else if (check(newRequired, place(kRequiredItemKey)))
            set(mapping, keys[kRequiredItemKey], kSlotKeys[kRequiredItemKey].name, textValue(toUtf8(newRequired)));
    }
}

// The lines of an item block, with the comments above it; nothing when it cannot go.
std::optional<Span> Onto::itemSpan(std::size_t index) const
{
    const ItemBlock& block = m_text.places.blocks[index];
    const Node& mapping = m_tree[block.place.mapping];
    const Entry& entry = m_tree[*m_tree.root].entries[block.place.entry];
    if (mapping.aliased || !m_lines.firstOnLine(m_tree[entry.key].span.begin))
        return std::nullopt;
    return lineSpan(m_tree[entry.key].span.begin, std::max(entry.valueSpan.end, mapping.span.end), true);
}

void Onto::willRemove(std::size_t index)
{
    if (const auto span = itemSpan(index))
        m_removed.push_back(*span);
}

void Onto::removeItem(std::size_t index)
{
    const ItemBlock& block = m_text.places.blocks[index];
    const Entry& entry = m_tree[*m_tree.root].entries[block.place.entry];
    const auto span = itemSpan(index);
    if (m_tree[block.place.mapping].aliased) {
        refuse("物品“" + std::string(m_tree[entry.key].text) + "”被其他物品用合并键“<<”或别名引用,不能删除它");
        return;
    }
    if (!span) {
        refuse("物品“" + std::string(m_tree[entry.key].text) + "”的键不在行首");
        return;
    }
    m_edits.replace(span->begin, span->end, std::string());
    // What stands elsewhere as an alias of a value of this block stays as it was.
    std::vector<NodeId> open = {block.place.mapping};
    while (!open.empty()) {
        const NodeId id = open.back();
        open.pop_back();
        for (const Entry& inner : m_tree[id].entries) {
            if (inner.alias)
                continue;
            materialiseAliases(inner.value);
            if (m_tree[inner.value].kind != NodeKind::Scalar)
                open.push_back(inner.value);
        }
    }
}

std::string Onto::itemName(int slot) const
{
    std::vector<std::string> names;
    for (const Entry& entry : m_tree[*m_tree.root].entries)
        names.emplace_back(m_tree[entry.key].text);
    names.insert(names.end(), m_newNames.begin(), m_newNames.end());
    auto taken = [&](const std::string& name) { return std::find(names.begin(), names.end(), name) != names.end(); };
    // The pattern of the file's item names: a word with a number after it ("item3", "button-12").
    std::optional<std::string> prefix;
    long long highest = 0;
    bool pattern = !m_text.places.blocks.empty();
    for (const ItemBlock& block : m_text.places.blocks) {
        const std::string name(m_tree[m_tree[*m_tree.root].entries[block.place.entry].key].text);
        const std::size_t digits = name.find_last_not_of("0123456789") + 1;
        if (digits == name.size() || name.size() - digits > 9 || (prefix && *prefix != name.substr(0, digits))) {
            pattern = false;
            break;
        }
        prefix = name.substr(0, digits);
        highest = std::max(highest, textToInteger(name.substr(digits)));
    }
    if (pattern && prefix && !prefix->empty()) {
        for (long long number = highest + 1;; ++number) {
            if (!taken(*prefix + numberToText(number)))
                return *prefix + numberToText(number);
        }
    }
    const std::string plain = numberToText(static_cast<long long>(slot));
    if (!taken(plain))
        return plain;
    for (long long number = 2;; ++number) {
        if (!taken(plain + "-" + numberToText(number)))
            return plain + "-" + numberToText(number);
    }
}

std::string Onto::itemBlockText(int slot, const SlotRecord& record)
{
    const auto parts = parseItemId(record.id);
    const std::string& indent = m_style.indent;
    const std::string& eol = m_style.eol;
    const std::string name = itemName(slot);
    m_newNames.push_back(name);
    std::string text = name + ":" + eol;
    auto line = [&](std::string_view key, const std::string& value) {
        text += indent + std::string(key) + ": " + value + eol;
    };
    auto place = [slot](std::size_t key, int lore = 0) {
        return ValuePlace{slot, kSlotKeys[key].box, kSlotKeys[key].name, lore};
    };
    line("ID", numberToText(static_cast<long long>(parts->id)));
    if (parts->data > 0)
        line("DATA-VALUE", numberToText(static_cast<long long>(parts->data)));
    line("POSITION-X", numberToText(static_cast<long long>(slotColumn(slot))));
    line("POSITION-Y", numberToText(static_cast<long long>(slotRow(slot))));
    for (std::size_t i = 4; i < kSlotKeyCount; ++i) {
        const SlotKey& key = kSlotKeys[i];
        if (i == kRequiredItemKey) {
            if (!record.item.empty() && !record.amount.empty() && check(record.item + ", " + record.amount, place(i)))
                line(key.name, yaml::textScalar(toUtf8(record.item + ", " + record.amount), m_style.quote, false));
            continue;
        }
        const std::string& value = record.*key.field;
        if (value.empty() || (key.shape == Shape::Flag && value != "true"))
            continue;
        switch (key.shape) {
        case Shape::Lines: {
            text += indent + std::string(key.name) + ":";
            int lore = 0;
            for (const std::string& entry : fieldLines(value)) {
                if (!check(toDocument(entry), place(i, ++lore)))
                    return text;
            }
            text += blockList(fieldLines(value), indent + m_style.listIndent, m_style.quote) + eol;
            break;
        }
        case Shape::Decimal:
        case Shape::Integer:
            if (auto refusal = numberRefusal(value, key.shape == Shape::Decimal, place(i))) {
                m_refusal = m_refusal ? m_refusal : std::move(refusal);
                return text;
            }
            line(key.name, plainNumber(value));
            break;
        case Shape::Flag:
            line(key.name, "true");
            break;
        case Shape::Joined:
            if (check(replaceText(value, kEol, "; "), place(i)))
                line(key.name, scalarText(Value{Shape::Joined, {}, fieldLines(value)}, m_style.quote, false));
            break;
        default:
            if (check(value, place(i)))
                line(key.name, scalarText(textValue(toUtf8(value)), m_style.quote, false));
            break;
        }
    }
    return text;
}

void Onto::addItem(int slot, const SlotRecord& record)
{
    if (m_tree[*m_tree.root].flow) {
        refuse("文件最外层是“{…}”写法,不能在其中添加物品");
        return;
    }
    m_newItems += (m_style.blankBetweenItems ? m_style.eol : std::string()) + itemBlockText(slot, record);
}

std::optional<std::vector<TextEdit>> Onto::finish()
{
    for (const auto& [mapping, edit] : m_mappings) {
        if (!removed(m_tree[mapping].span))
            writeMapping(mapping, edit);
    }
    if (!m_newItems.empty()) {
        const Node& root = m_tree[*m_tree.root];
        const auto& blocks = m_text.places.blocks;
        std::uint32_t at =
            m_lines.nextStart(blocks.empty() ? root.span.end : root.entries[blocks.back().place.entry].valueSpan.end);
        if (!blocks.empty())
            at = m_lines.nextStart(std::max(root.entries[blocks.back().place.entry].valueSpan.end,
                                            m_tree[blocks.back().place.mapping].span.end));
        for (const Span& removed : m_removed) {
            if (at >= removed.begin && at < removed.end)
                at = removed.end;
        }
        if (at == m_utf8.size() && m_lines.endOf(at) == at && !m_utf8.empty() && m_utf8.back() != '\n' &&
            m_utf8.back() != '\r')
            m_newItems = m_style.eol + m_newItems;
        m_edits.insert(at, m_newItems);
    }
    if (m_refusal)
        return std::nullopt;
    auto sorted = m_edits.sorted();
    if (!sorted)
        refuse("要改的几处在文件里互相重叠");
    return sorted;
}

// The menu's settings as a file read gives them.
MenuSettings asRead(MenuSettings settings)
{
    return withoutEmptyTexts(std::move(settings));
}

std::size_t utf8Length(unsigned char lead)
{
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// The GBK file with the edits of its text (made in UTF-8) made to its bytes:
// both hold the same characters, so one walk over both finds each place.
std::optional<std::string> gbkEdited(std::string_view bytes, std::string_view utf8, const std::vector<TextEdit>& edits)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t inUtf8 = 0;
    std::size_t inBytes = 0;
    std::size_t copied = 0;
    auto walkTo = [&](std::size_t target) {
        while (inUtf8 < target && inUtf8 < utf8.size()) {
            inUtf8 += utf8Length(static_cast<unsigned char>(utf8[inUtf8]));
            inBytes += characterLength(bytes, inBytes);
        }
        return inUtf8 == target;
    };
    for (const TextEdit& edit : edits) {
        if (!walkTo(edit.begin))
            return std::nullopt;
        out.append(bytes.substr(copied, inBytes - copied));
        const auto text = utf8ToGb18030(edit.text);
        if (!text)
            return std::nullopt;
        out.append(*text);
        if (!walkTo(edit.end))
            return std::nullopt;
        copied = inBytes;
    }
    out.append(bytes.substr(copied));
    return out;
}

bool sameFile(const WholeMenu& a, const WholeMenu& b)
{
    return sameMenuFile(a.settings, a.slots, b.settings, b.slots);
}

// Whether the bytes could be the tool's own export: it starts so and ends
// every line with CR LF.
bool toolShaped(std::string_view bytes)
{
    if (!bytes.starts_with("menu-setting:\r\n  name: '") || !bytes.ends_with("\r\n"))
        return false;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\n' || (bytes[at] == '\r' && bytes.substr(at, 2) != "\r\n"))
            return false;
        at += bytes[at] == '\r';
    }
    return true;
}

// Counted from 1: the block that holds the slot's item, the one the import
// took or, below the menu's rows, the one whose position is that slot.
std::uint32_t blockAt(const MenuPlaces& places, int slot)
{
    if (const std::uint32_t taken = places.blockOfSlot[static_cast<std::size_t>(slot)])
        return taken;
    for (std::size_t block = 0; block < places.blocks.size(); ++block) {
        if (places.blocks[block].slot == slot && !places.blocks[block].taken)
            return static_cast<std::uint32_t>(block + 1);
    }
    return 0;
}

// The bytes to write, once they read back as the menu to write.
// `hidden` holds the slots below the rows whose blocks stay in the file
// (nullptr where the file is written as a new export, which drops them).
std::variant<MenuOnto, Refusal> readBack(std::string bytes, OutputEncoding encoding, const WholeMenu& expected,
                                         const SlotTable* hidden, const std::vector<ItemBlock>& blocks,
                                         const std::vector<int>& claimant)
{
    auto again = importMenuText(std::move(bytes), encoding);
    auto* read = std::get_if<ImportedMenu>(&again);
    if (!read)
        return Refusal{std::string(kCannot) + "改后的文件读不出来(" + describeNotAMenu(std::get<NotAMenu>(again)) +
                       "),文件没有写入。"};
    if (!sameFile(read->project, expected)) {
        std::string where = "菜单设置";
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            if (!(read->project.slots[slot] == expected.slots[slot])) {
                where = "第 " + numberToText(static_cast<long long>(slot)) + " 格";
                break;
            }
        }
        return Refusal{std::string(kCannot) + "改后的文件读出来的" + where + "与窗口中的不一样,文件没有写入。"};
    }
    const int shown = expected.settings.rows() * kColumns;
    for (std::size_t block = 0; hidden && block < blocks.size(); ++block) {
        const int slot = claimant[block];
        if (slot <= shown)
            continue;
        const std::uint32_t now = blockAt(read->text->places, slot);
        if (now == 0 || !sameSlot(blockRecord(*read, now - 1), (*hidden)[slot]))
            return Refusal{std::string(kCannot) + "改后的文件读出来的第 " + numberToText(static_cast<long long>(slot)) +
                           " 格与窗口中的不一样,文件没有写入。"};
    }
    MenuOnto result{std::move(*read), {0}};
    for (std::size_t block = 0; block < blocks.size(); ++block)
        result.blockNumbers.push_back(claimant[block] > 0 ? blockAt(result.readBack.text->places, claimant[block]) : 0);
    return result;
}

}  // namespace

BlockClaims claimsByPosition(const MenuPlaces& places)
{
    BlockClaims claims{};
    for (int slot = 1; slot <= kSlotCount; ++slot)
        claims[static_cast<std::size_t>(slot)] = places.blockOfSlot[static_cast<std::size_t>(slot)];
    return claims;
}

BlockClaims claimsByOrigin(const SlotTable& slots, const MenuPlaces& places)
{
    BlockClaims claims{};
    std::vector<bool> claimed(places.blocks.size() + 1, false);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::uint32_t origin = slots[slot].origin;
        if (origin == 0 || origin > places.blocks.size() || claimed[origin] || places.blocks[origin - 1].slot == 0)
            continue;
        claimed[origin] = true;
        claims[static_cast<std::size_t>(slot)] = origin;
    }
    return claims;
}

std::variant<MenuOnto, Refusal> writeMenuOnto(const ImportedMenu& read, const WholeMenu& menu,
                                              const BlockClaims& claims, OutputEncoding encoding)
{
    if (!read.text || !read.text->tree.root)
        return Refusal{std::string(kCannot) + "原文件的内容不在了"};
    const MenuSettings settings = asRead(menu.settings);
    if (!settings.title)
        return Refusal{"需要菜单标题"};
    if (settings.openItem && !isValidItemId(*settings.openItem))
        return Refusal{"无效的物品ID"};
    const auto& blocks = read.text->places.blocks;
    const WholeMenu expected{settings, slotsInMenuFile(settings, menu.slots)};
    // Below the rows, a slot keeps its block as the window holds it, out of sight.
    MenuSettings allRows = settings;
    allRows.rowIndex = kMaxRows - 1;
    const SlotTable everySlot = slotsInMenuFile(allRows, menu.slots);

    std::vector<int> claimant(blocks.size(), 0);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::uint32_t block = claims[static_cast<std::size_t>(slot)];
        if (block > 0 && block <= blocks.size() && claimant[block - 1] == 0 && blocks[block - 1].slot > 0 &&
            isValidItemId(everySlot[slot].id))
            claimant[block - 1] = slot;
    }
    const bool sameEncoding = encoding == read.encoding;
    bool unchanged = sameEncoding;
    // A block below the rows is no slot of the menu shown: it is compared on its own.
    auto stays = [&](std::size_t block) {
        const int slot = claimant[block];
        if (slot == 0)
            return !blocks[block].taken;
        return slot == blocks[block].slot &&
            (blocks[block].taken || sameSlot(blockRecord(read, block), everySlot[slot]));
    };
    for (std::size_t block = 0; block < blocks.size() && unchanged; ++block)
        unchanged = stays(block);
    if (unchanged && sameFile(expected, read.project)) {
        MenuOnto same{read, {}};
        for (std::uint32_t number = 0; number <= blocks.size(); ++number)
            same.blockNumbers.push_back(number);
        return same;
    }

    // A file this tool wrote is written again as the tool writes it: in slot
    // order, as a new export of the menu would be.
    std::string bytes;
    if (toolShaped(read.text->bytes) &&
        menuFileBytes(read.project.settings, read.project.slots, read.encoding) ==
            std::variant<std::string, Refusal>(read.text->bytes)) {
        auto made = menuFileBytes(settings, menu.slots, encoding);
        if (auto* refusal = std::get_if<Refusal>(&made))
            return std::move(*refusal);
        bytes = std::get<std::string>(std::move(made));
        return readBack(std::move(bytes), encoding, expected, nullptr, blocks, claimant);
    }

    Onto onto(read, encoding);
    for (std::size_t block = 0; block < blocks.size(); ++block) {
        if (claimant[block] == 0 && blocks[block].taken)
            onto.willRemove(block);
    }
    onto.settings(asRead(read.project.settings), settings);
    for (std::size_t block = 0; block < blocks.size(); ++block) {
        if (claimant[block] > 0)
            onto.editItem(block, blockRecord(read, block), everySlot[claimant[block]], claimant[block]);
        else if (blocks[block].taken)
            onto.removeItem(block);
    }
    for (int slot = 1; slot <= settings.rows() * kColumns; ++slot) {
        const bool claimed = std::find(claimant.begin(), claimant.end(), slot) != claimant.end();
        if (!claimed && isValidItemId(expected.slots[slot].id))
            onto.addItem(slot, expected.slots[slot]);
    }
    const auto edits = onto.finish();
    if (!edits)
        return *onto.refusal();

    if (sameEncoding && encoding == OutputEncoding::Gb2312) {
        auto edited = gbkEdited(read.text->bytes, read.text->utf8, *edits);
        if (!edited)
            return Refusal{std::string(kCannot) + "改动无法按 GB2312 写入"};
        bytes = std::move(*edited);
    } else if (const std::string text = applyEdits(read.text->utf8, *edits); !sameEncoding) {
        if (encoding == OutputEncoding::Utf8) {
            bytes = text;
        } else {
            const auto converted = utf8ToGb18030(text);
            const auto bad = converted ? firstNonGbkCharacter(*converted) : std::nullopt;
            if (!converted || bad) {
                const auto shown = bad ? gb18030ToUtf8(*bad) : std::nullopt;
                return Refusal{std::string(kCannot) + "文件含有 GB2312 格式无法保存的字符" +
                               (shown ? "“" + *shown + "”" : std::string()) + ",请改用 UTF-8 格式。"};
            }
            bytes = *converted;
        }
    } else {
        bytes = (read.text->byteOrderMark ? std::string(kByteOrderMark) : std::string()) + text;
    }

    return readBack(std::move(bytes), encoding, expected, &everySlot, blocks, claimant);
}

void stampOrigins(SlotTable& slots, const MenuPlaces& written)
{
    for (int slot = 1; slot <= kSlotCount; ++slot)
        slots[slot].origin = blockAt(written, slot);
}

WholeMenu menuToEdit(const ImportedMenu& read)
{
    WholeMenu menu = read.project;
    if (!read.text)
        return menu;
    const MenuPlaces& places = read.text->places;
    const int shown = std::clamp(menu.settings.rows(), 1, kMaxRows) * kColumns;
    for (std::size_t block = 0; block < places.blocks.size(); ++block) {
        const ItemBlock& item = places.blocks[block];
        if (!item.taken && item.slot > shown && !isValidItemId(menu.slots[item.slot].id))
            menu.slots[item.slot] = item.record;
    }
    stampOrigins(menu.slots, places);
    return menu;
}

}  // namespace cofferon
