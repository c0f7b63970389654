#include "menufile/core/MenuReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "document/core/Codec.h"
#include "document/core/ItemId.h"
#include "document/core/Text.h"
#include "menufile/core/MenuKeys.h"
#include "menufile/core/MenuValues.h"
#include "menufile/core/YamlScalar.h"

namespace cofferon {

namespace {

using yaml::Node;
using yaml::NodeId;
using yaml::NodeKind;
using yaml::ScalarType;

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kJoiner = "; ";  // the export's joiner of command and enchantment lines

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
}

// The texts, read in UTF-8, as document texts.
// One text at a time, each UTF-8 original freed as soon as it is converted,
// so that a long lore is never held three times over.
void toDocument(const std::vector<std::string*>& texts)
{
    for (std::string* text : texts) {
        if (isAscii(*text))
            continue;
        std::string document;
        document.reserve(text->size());
        if (!appendUtf8AsGb18030(document, *text))
            document.clear();
        *text = std::move(document);
    }
}

void collectTexts(SlotRecord& record, std::vector<std::string*>& texts)
{
    for (std::string* text : {&record.lore, &record.name, &record.enchants, &record.command, &record.item,
                              &record.amount, &record.permission, &record.viewPermission, &record.color, &record.head})
        texts.push_back(text);
}

std::string codePointText(char32_t c)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

// The first character of a UTF-8 text that the export refuses, line breaks aside.
std::optional<char32_t> firstUnsafe(std::string_view utf8)
{
    for (std::size_t pos = 0; pos < utf8.size(); ++pos) {
        const auto byte = static_cast<unsigned char>(utf8[pos]);
        // Only ASCII controls and characters led by C2, E2 or EF can be refused;
        // the rest of a long text is passed over byte by byte.
        if (byte >= 0x20 && byte != 0x7F && byte != 0xC2 && byte != 0xE2 && byte != 0xEF)
            continue;
        std::size_t at = pos;
        const char32_t c = nextCodePoint(utf8, at);
        if (c != '\r' && c != '\n' && isUnsafeCharacter(c))
            return c;
    }
    return std::nullopt;
}

// A line with no break and nothing the export refuses: only ASCII controls
// and characters led by C2, E2 or EF need a closer look.
bool plainLine(std::string_view utf8)
{
    return std::all_of(utf8.begin(), utf8.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte != 0x7F && byte != 0xC2 && byte != 0xE2 && byte != 0xEF;
    });
}

// Builds one import: walks the tree and fills the project, noting what it
// leaves behind.
class MenuReader {
public:
    MenuReader(const yaml::Tree& tree, bool keepPlaces) : m_tree(tree), m_keepPlaces(keepPlaces) {}

    void read(NodeId root)
    {
        const std::span<const NodeId> entries = m_tree[root].children;
        // The settings first, wherever they stand: the rows decide which items fit.
        std::optional<std::string> settingsKey;
        for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
            const std::string key = keyText(entries[i]);
            if (asciiLower(key) != kSettingsBlock)
                continue;
            if (settingsKey) {
                note(NoteKind::DuplicateKey, entries[i], "顶层的“" + key + "”与“" + *settingsKey + "”重复,没有导入");
            } else if (m_tree[entries[i + 1]].kind != NodeKind::Mapping) {
                note(NoteKind::Value, entries[i + 1], "顶层的“" + key + "”不是“键: 值”的映射,没有导入");
            } else {
                settingsKey = key;
                m_places.settings = BlockPlace{ownEntry(root, entries[i]), entries[i + 1]};
                readSettings();
            }
        }
        for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
            const std::string key = keyText(entries[i]);
            if (asciiLower(key) == kSettingsBlock)
                continue;
            if (m_tree[entries[i + 1]].kind == NodeKind::Mapping)
                readItem(key, BlockPlace{ownEntry(root, entries[i]), entries[i + 1]}, entries[i]);
            else
                note(NoteKind::UnknownKey, entries[i], "顶层的未知键“" + key + "”");
        }
    }

    ImportedMenu takeMenu() { return std::move(m_menu); }
    MenuPlaces takePlaces() { return std::move(m_places); }

    // What was read in UTF-8 becomes document text, all at once.
    void convertTexts()
    {
        std::vector<std::string*> texts;
        MenuSettings& settings = m_menu.project.settings;
        for (std::optional<std::string>* text : {&settings.title, &settings.openItem, &settings.menuCommand}) {
            if (*text)
                texts.push_back(&**text);
        }
        for (int slot = 1; slot <= kSlotCount; ++slot)
            collectTexts(m_menu.project.slots[slot], texts);
        for (ItemBlock& block : m_places.blocks)
            collectTexts(block.record, texts);
        toDocument(texts);
        for (ItemBlock& block : m_places.blocks) {
            if (block.taken)
                m_menu.project.slots[block.slot] = std::move(block.record);
        }
    }

private:
    std::string keyText(NodeId key) const
    {
        return m_tree[key].kind == NodeKind::Scalar ? std::string(m_tree[key].text) : std::string("?");
    }

    void note(NoteKind kind, NodeId at, std::string line)
    {
        m_menu.notTakenOver.push_back(ImportNote{kind, m_tree[at].mark, std::move(line)});
    }

    // The index of the key among the mapping's own entries (the first when
    // the merged view took it from elsewhere, which a top-level key never is).
    std::size_t ownEntry(NodeId mapping, NodeId key) const
    {
        const std::span<const yaml::Entry> own = m_tree[mapping].entries;
        for (std::size_t i = 0; i < own.size(); ++i) {
            if (own[i].key == key)
                return i;
        }
        return 0;
    }

    // Calls `take(entry, value, where)` for each key of the mapping found in
    // `table` (in any case), and puts where it stands into `place`; unknown
    // keys and a second key of one entry are noted.
    template <typename Key, std::size_t N, typename Take>
    void eachKey(BlockPlace& place, const std::array<Key, N>& table, const std::string& block, Take take)
    {
        std::array<std::optional<std::string>, N> seen{};
        const std::span<const NodeId> entries = m_tree[place.mapping].children;
        for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
            const std::string key = keyText(entries[i]);
            const std::string lower = asciiLower(key);
            const auto found = std::find_if(table.begin(), table.end(),
                                            [&](const Key& entry) { return asciiLower(entry.name) == lower; });
            if (found == table.end()) {
                note(NoteKind::UnknownKey, entries[i], block + "中的未知键“" + key + "”");
                continue;
            }
            const auto index = static_cast<std::size_t>(found - table.begin());
            std::optional<std::string>& first = seen[index];
            if (first) {
                note(NoteKind::DuplicateKey, entries[i], block + "中的“" + key + "”与“" + *first + "”重复,没有导入");
                continue;
            }
            first = key;
            place.keys[index] = KeyPlace{entries[i], entries[i + 1]};
            take(*found, entries[i + 1], block + "的 " + key);
        }
    }

    // A scalar as the reader hands it to a key that wants a text (a number or
    // a switch as Java prints it); nullopt, noted, for what has no text.
    std::optional<std::string> text(NodeId id, const std::string& where)
    {
        const Node& node = m_tree[id];
        if (node.kind != NodeKind::Scalar) {
            note(NoteKind::Value, id, where + " 的值不是文字");
            return std::nullopt;
        }
        std::string value;
        if (node.tag.empty() && !node.plain) {
            // Quoted or a block scalar, untagged: a text as it stands.
            value = node.text;
        } else {
            const auto scalar = yaml::resolveScalar(node.text, node.tag, node.plain);
            if (!scalar || scalar->type == ScalarType::Other) {
                note(NoteKind::Value, id, where + " 的值“" + std::string(node.text) + "”不是文字,没有导入");
                return std::nullopt;
            }
            value = yaml::javaText(*scalar);
            if (scalar->type != ScalarType::Text && scalar->type != ScalarType::Null && value != node.text)
                note(NoteKind::ReadAs, id, where + " 的“" + std::string(node.text) + "”读作“" + value + "”");
        }
        // The line break that ends a block scalar is not part of the value.
        if (node.block && value.ends_with('\n'))
            value.pop_back();
        if (!safe(value, id, where))
            return std::nullopt;
        return value;
    }

    // Line breaks are the shapes' business; any other control the export refuses.
    bool safe(std::string_view value, NodeId id, const std::string& where)
    {
        const auto unsafe = firstUnsafe(value);
        if (unsafe)
            note(NoteKind::Value, id,
                 where + " 含有菜单文件无法保存的控制字符 " + codePointText(*unsafe) + ",没有导入");
        return !unsafe;
    }

    // A one-line value: a line break a quoted scalar may hold becomes a blank,
    // as in the window's one-line boxes.
    std::optional<std::string> oneLine(NodeId id, const std::string& where)
    {
        auto value = text(id, where);
        if (value && value->find_first_of("\r\n") != std::string::npos) {
            note(NoteKind::ReadAs, id, where + " 中的换行已换成空格");
            *value = replaceText(*value, kEol, " ");
            std::replace(value->begin(), value->end(), '\r', ' ');
            std::replace(value->begin(), value->end(), '\n', ' ');
        }
        return value;
    }

    // One line per entry of a list, or per line of one text; `joined` splits
    // at "; " too. A last lore line that is empty is kept by one more line
    // break, which the export's split leaves out again.
    std::optional<std::string> lines(NodeId id, const std::string& where, bool joined)
    {
        std::string result;
        std::size_t count = 0;
        bool lastEmpty = false;
        auto push = [&](std::string_view line) {
            if (count++ > 0)
                result += kEol;
            result += line;
            lastEmpty = line.empty();
        };
        // Each line of an entry is a line; an entry that is empty or ends
        // with a break adds an empty one.
        auto add = [&](std::string entry) {
            if (entry.find('\r') != std::string::npos) {
                entry = replaceText(entry, kEol, "\n");
                std::replace(entry.begin(), entry.end(), '\r', '\n');
            }
            if (joined && entry.find(kJoiner) != std::string::npos)
                entry = replaceText(entry, kJoiner, "\n");
            const std::string_view text = entry;
            std::size_t begin = 0;
            for (std::size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n', begin)) {
                push(text.substr(begin, end - begin));
                begin = end + 1;
            }
            if (begin < text.size())
                push(text.substr(begin));
            if (text.empty() || text.back() == '\n')
                push({});
        };
        const Node& node = m_tree[id];
        if (node.kind == NodeKind::Sequence) {
            std::size_t size = 0;
            for (const NodeId entry : node.children)
                size += m_tree[entry].text.size() + kEol.size();
            result.reserve(size);
            for (const NodeId entry : node.children) {
                // A quoted line as it stands, the most of a long lore: taken without a copy.
                const Node& item = m_tree[entry];
                if (item.kind == NodeKind::Scalar && item.tag.empty() && !item.plain && !item.block &&
                    plainLine(item.text) && (!joined || item.text.find(kJoiner) == std::string::npos)) {
                    push(item.text);
                    continue;
                }
                if (auto line = joined ? oneLine(entry, where) : text(entry, where))
                    add(std::move(*line));
            }
        } else if (auto single = joined ? oneLine(id, where) : text(id, where); single && !single->empty()) {
            add(std::move(*single));
        }
        if (!joined && count > 0 && lastEmpty)
            result += kEol;
        return result;
    }

    // A number as the reader reads it, in the form the export writes back to
    // the same number; nullopt, noted, for anything else.
    std::optional<std::string> number(NodeId id, const std::string& where, NumberKind kind)
    {
        const Node& node = m_tree[id];
        const auto scalar = node.kind == NodeKind::Scalar ? yaml::resolveScalar(node.text, node.tag, node.plain)
                                                          : std::optional<yaml::Scalar>();
        if (scalar && scalar->type == ScalarType::Null)
            return std::string();
        const bool asWritten = isMenuNumber(node.text, kind) && plainNumber(node.text) == node.text;
        if (scalar && scalar->type == ScalarType::Integer)
            return asWritten ? std::string(node.text) : scalar->integer;
        if (scalar && scalar->type == ScalarType::Real && kind == NumberKind::Decimal && std::isfinite(scalar->real))
            return asWritten ? std::string(node.text) : yaml::plainDecimal(scalar->real);
        const std::string shown = node.kind == NodeKind::Scalar ? "“" + std::string(node.text) + "”" : std::string();
        note(NoteKind::Value, id,
             where + " 的值" + shown + (kind == NumberKind::Integer ? "不是整数" : "不是数字") + ",没有导入");
        return std::nullopt;
    }

    // A whole number that fits a long long, or nullopt (noted).
    std::optional<long long> whole(NodeId id, const std::string& where)
    {
        const auto value = number(id, where, NumberKind::Integer);
        if (!value || value->empty())
            return std::nullopt;
        if (value->size() > 18) {
            note(NoteKind::Value, id, where + " 的值太大,没有导入");
            return std::nullopt;
        }
        return textToInteger(*value);
    }

    // "true" or "false": only a YAML boolean is one; anything else is false, noted.
    std::string flag(NodeId id, const std::string& where)
    {
        const Node& node = m_tree[id];
        const auto scalar = node.kind == NodeKind::Scalar ? yaml::resolveScalar(node.text, node.tag, node.plain)
                                                          : std::optional<yaml::Scalar>();
        if (scalar && scalar->type == ScalarType::Flag)
            return scalar->flag ? "true" : "false";
        if (!scalar || scalar->type != ScalarType::Null)
            note(NoteKind::Value, id,
                 where + " 的值" +
                     (node.kind == NodeKind::Scalar ? "“" + std::string(node.text) + "”" : std::string()) +
                     "不是 true 或 false,按 false 导入");
        return "false";
    }

    std::optional<std::string> value(Shape shape, NodeId id, const std::string& where)
    {
        switch (shape) {
        case Shape::Line:
            return oneLine(id, where);
        case Shape::Lines:
            return lines(id, where, false);
        case Shape::Joined:
            return lines(id, where, true);
        case Shape::Decimal:
            return number(id, where, NumberKind::Decimal);
        case Shape::Integer:
        case Shape::Whole:
            return number(id, where, NumberKind::Integer);
        case Shape::Flag:
            return flag(id, where);
        case Shape::Map:
            break;
        }
        return std::nullopt;
    }

    static std::optional<std::string> present(std::optional<std::string> value)
    {
        if (value && value->empty())
            return std::nullopt;
        return value;
    }

    void readSettings()
    {
        MenuSettings& out = m_menu.project.settings;
        eachKey(*m_places.settings, kSettingKeys, "menu-setting ",
                [&](const SettingKey& key, NodeId value, const std::string& where) {
                    if (key.text) {
                        out.*key.text = present(oneLine(value, where));
                    } else if (key.shape == Shape::Map) {
                        if (m_tree[value].kind == NodeKind::Mapping)
                            readOpeningItem(value);
                        else
                            note(NoteKind::Value, value, where + " 不是“键: 值”的映射,没有导入");
                    } else if (const auto rows = whole(value, where)) {
                        const long long taken = std::clamp(*rows, 1LL, static_cast<long long>(kMaxRows));
                        if (taken != *rows)
                            note(NoteKind::ReadAs, value,
                                 where + "“" + numberToText(*rows) + "”不在 1–6 之间,按 " + numberToText(taken) +
                                     " 行导入");
                        out.rowIndex = static_cast<int>(taken) - 1;
                    }
                });
    }

    void readOpeningItem(NodeId item)
    {
        MenuSettings& out = m_menu.project.settings;
        m_places.openingItem = BlockPlace{0, item};
        eachKey(*m_places.openingItem, kOpeningKeys, "open-with-item ",
                [&](const SettingKey& key, NodeId value, const std::string& where) {
                    if (key.text)
                        out.*key.text = present(oneLine(value, where));
                    else
                        out.*key.flag = flag(value, where) == "true";
                });
    }

    void readItem(const std::string& name, BlockPlace place, NodeId nameNode)
    {
        ItemBlock block;
        block.place = std::move(place);
        read(name, block, nameNode);
        // Kept with its place, the record goes into its slot once converted.
        if (block.taken && !m_keepPlaces)
            m_menu.project.slots[block.slot] = std::move(block.record);
        if (!m_keepPlaces)
            return;
        m_places.blocks.push_back(std::move(block));
        if (m_places.blocks.back().taken)
            m_places.blockOfSlot[static_cast<std::size_t>(m_places.blocks.back().slot)] =
                static_cast<std::uint32_t>(m_places.blocks.size());
    }

    void read(const std::string& name, ItemBlock& item, NodeId nameNode)
    {
        const std::string block = "物品“" + name + "”";
        SlotRecord& record = item.record;
        std::optional<std::string> id;  // the item number as the reader reads it
        std::string idText;  // as written, for the note
        long long data = 0;
        long long x = 0;
        long long y = 0;
        eachKey(item.place, kSlotKeys, block, [&](const SlotKey& key, NodeId value, const std::string& where) {
            if (key.field) {
                if (auto taken = this->value(key.shape, value, where))
                    record.*key.field = std::move(*taken);
            } else if (key.name == "ID") {
                const Node& node = m_tree[value];
                idText = node.kind == NodeKind::Scalar ? node.text : std::string("?");
                const auto scalar = node.kind == NodeKind::Scalar ? yaml::resolveScalar(node.text, node.tag, node.plain)
                                                                  : std::optional<yaml::Scalar>();
                id = scalar && scalar->type == ScalarType::Integer ? std::optional(scalar->integer) : std::nullopt;
            } else if (key.name == "DATA-VALUE") {
                if (const auto number = whole(value, where); number && *number < 0)
                    note(NoteKind::Value, value, where + " 的值“" + numberToText(*number) + "”小于 0,没有导入");
                else if (number)
                    data = *number;
            } else if (key.name == "REQUIRED-ITEM") {
                requiredItem(oneLine(value, where).value_or(std::string()), record, where, value);
            } else {
                (key.name == "POSITION-X" ? x : y) = quietWhole(value);
            }
        });

        const int rows = m_menu.project.settings.rows();
        if (x < 1 || x > kColumns || y < 1 || y > kMaxRows) {
            note(NoteKind::Item, nameNode, block + "没有可用的位置(POSITION-X 1–9,POSITION-Y 1–6),没有导入");
            return;
        }
        record.id = id.value_or(std::string());
        if (data > 0)
            record.id += ":" + numberToText(data);
        if (!id || !isValidItemId(record.id)) {
            const auto idNode = item.place.keys[kIdKey];
            note(NoteKind::Item, idNode ? idNode->value : nameNode,
                 block + "的 ID“" + (id ? record.id : idText) + "”不是物品ID,没有导入");
            return;
        }
        item.slot = slotAt(static_cast<int>(y), static_cast<int>(x));
        const auto parts = parseItemId(record.id);
        const bool shown = y <= rows;
        if (!record.color.empty() && !(parts->id >= 298 && parts->id <= 301)) {
            if (shown)
                note(NoteKind::Value, item.place.keys[kColourKey]->value,
                     block + "的 COLOR 只用于皮甲(ID 298–301),没有导入");
            record.color.clear();
        }
        if (!record.head.empty() && record.id != "397:3") {
            if (shown)
                note(NoteKind::Value, item.place.keys[kSkullKey]->value,
                     block + "的 SKULL-OWNER 只用于玩家头颅(397:3),没有导入");
            record.head.clear();
        }
        if (!shown) {
            note(NoteKind::OutsideRows, nameNode,
                 block + "在第 " + numberToText(y) + " 行,菜单只有 " + numberToText(static_cast<long long>(rows)) +
                     " 行,没有导入");
            return;
        }
        std::optional<std::string>& holder = m_holders[static_cast<std::size_t>(item.slot - 1)];
        if (holder) {
            note(NoteKind::DuplicatePosition, nameNode,
                 block + "与物品“" + *holder + "”都在第 " + numberToText(static_cast<long long>(item.slot)) +
                     " 格,没有导入");
            return;
        }
        holder = name;
        item.taken = true;
    }

    // A position: a whole number, else 0, which no slot has (the item's note says so).
    long long quietWhole(NodeId id) const
    {
        const Node& node = m_tree[id];
        if (node.kind != NodeKind::Scalar)
            return 0;
        const auto scalar = yaml::resolveScalar(node.text, node.tag, node.plain);
        if (!scalar || scalar->type != ScalarType::Integer || scalar->integer.size() > 18)
            return 0;
        return textToInteger(scalar->integer);
    }

    // "item, amount": any ", " with text on both sides will do, since the
    // export writes them back joined by ", "; the last such one is taken.
    void requiredItem(const std::string& value, SlotRecord& record, const std::string& where, NodeId node)
    {
        for (std::size_t at = value.rfind(", "); at != std::string::npos && at > 0; at = value.rfind(", ", at - 1)) {
            if (at + 2 < value.size()) {
                record.item = value.substr(0, at);
                record.amount = value.substr(at + 2);
                return;
            }
        }
        if (!value.empty())
            note(NoteKind::Value, node, where + " 不是“物品, 数量”,没有导入这一项");
    }

    const yaml::Tree& m_tree;
    bool m_keepPlaces;
    ImportedMenu m_menu;
    MenuPlaces m_places;
    std::array<std::optional<std::string>, kSlotCount> m_holders{};  // the item names by slot
};

// The reader constructs every value of the file, whether a menu uses it or
// not: a tag it does not know, or "!!int abc", fails the whole file.
std::optional<NotAMenu> refusedValue(const yaml::Tree& tree)
{
    static constexpr std::array<std::string_view, 5> kCollectionTags = {"map", "omap", "seq", "set", "pairs"};
    for (const Node& node : tree.nodes) {
        if (node.tag.empty() || node.tag == "!")
            continue;
        const bool known = node.kind == NodeKind::Scalar
            ? yaml::resolveScalar(node.text, node.tag, node.plain).has_value()
            : node.tag.starts_with(yaml::kTagPrefix) &&
                std::find(kCollectionTags.begin(), kCollectionTags.end(),
                          std::string_view(node.tag).substr(yaml::kTagPrefix.size())) != kCollectionTags.end();
        if (!known) {
            std::string tag(node.tag);
            if (tag.starts_with(yaml::kTagPrefix))
                tag = "!!" + tag.substr(yaml::kTagPrefix.size());
            return NotAMenu{node.mark.line, node.mark.column,
                            "插件的读取器读不了标签为“" + tag + "”的值" +
                                (node.kind == NodeKind::Scalar ? "“" + std::string(node.text) + "”" : std::string())};
        }
    }
    return std::nullopt;
}

}  // namespace

std::variant<ImportedMenu, NotAMenu> readMenu(const yaml::Tree& tree, MenuPlaces* places)
{
    if (!tree.root)
        return NotAMenu{1, 1, "文件是空的(没有任何键),不是菜单文件"};
    const Node& root = tree[*tree.root];
    if (root.kind != NodeKind::Mapping)
        return NotAMenu{root.mark.line, root.mark.column, "最外层不是“键: 值”的映射,不是菜单文件"};
    if (auto refused = refusedValue(tree))
        return std::move(*refused);
    MenuReader reader(tree, places != nullptr);
    reader.read(*tree.root);
    reader.convertTexts();
    ImportedMenu menu = reader.takeMenu();
    if (places)
        *places = reader.takePlaces();
    return menu;
}

}  // namespace cofferon
