#include "folder/core/NoteProblems.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>

#include "document/core/Text.h"

namespace cofferon {

namespace {

struct KeyLabel {
    std::string_view key;  // in lower case
    std::string_view label;  // the window's name of its box
};

constexpr std::array<KeyLabel, 17> kSlotLabels = {{
    {"id", "物品ID"},
    {"data-value", "数据值"},
    {"position-x", "横向位置"},
    {"position-y", "纵向位置"},
    {"name", "物品名称"},
    {"lore", "Lore"},
    {"command", "指令"},
    {"price", "所需金钱"},
    {"points", "所需点券"},
    {"levels", "所需经验等级"},
    {"required-item", "所需物品"},
    {"keep-open", "保持开启"},
    {"permission", "使用权限"},
    {"view-permission", "查看权限"},
    {"enchantment", "附魔"},
    {"color", "皮甲颜色"},
    {"skull-owner", "头颅名称"},
}};
static_assert(kSlotLabels.size() == kSlotKeyCount);

constexpr std::array<KeyLabel, 4> kSettingLabels = {{
    {"name", "菜单标题"},
    {"rows", "行数"},
    {"command", "菜单指令"},
    {"open-with-item", "打开菜单的物品"},
}};

constexpr std::array<KeyLabel, 3> kOpeningLabels = {{
    {"id", "物品ID"},
    {"left-click", "左键开启"},
    {"right-click", "右键开启"},
}};

// What the import's note is missing a word on, and the words the check uses
// for what the import did instead.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kEndings = {{
    {",没有导入这一项", ""},
    {",没有导入", ""},
    {",按 false 导入", ",按 false 算"},
}};

// A key of a block as the import names it in its notes.
struct KeyAt {
    std::string where;  // "物品“a”的 PRICE", "menu-setting 的 rows"
    std::string_view label;  // empty for a key the tool does not know
    std::string key;  // as written
    yaml::Mark keyMark;
    int slot = 0;
};

std::uint64_t markKey(yaml::Mark mark)
{
    return (static_cast<std::uint64_t>(mark.line) << 32) | static_cast<std::uint32_t>(mark.column);
}

// The keys, values and list entries of a menu's blocks by where they stand:
// a note carries only its mark.
class KeyIndex {
public:
    KeyIndex(const yaml::Tree& tree, const MenuPlaces& places) : m_tree(tree)
    {
        const std::span<const yaml::NodeId> entries = tree[*tree.root].children;
        for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
            const yaml::Node& value = tree[entries[i + 1]];
            if (value.kind != yaml::NodeKind::Mapping || tree[entries[i]].kind != yaml::NodeKind::Scalar)
                continue;
            const std::string name(tree[entries[i]].text);
            if (asciiLower(name) == kSettingsBlock) {
                addBlock(entries[i + 1], "menu-setting 的 ", kSettingLabels, 0);
                addOpeningItem(entries[i + 1]);
            } else {
                int slot = 0;
                for (int s = 1; s <= kSlotCount; ++s) {
                    if (const BlockPlace* place = slotPlace(places, s); place && place->mapping == entries[i + 1])
                        slot = s;
                }
                addBlock(entries[i + 1], "物品“" + name + "”的 ", kSlotLabels, slot);
            }
        }
    }

    // The key a note at `mark` is about: of those standing there, the one
    // the note's text names.
    const KeyAt* find(yaml::Mark mark, std::string_view text) const
    {
        const auto found = m_at.find(markKey(mark));
        if (found == m_at.end())
            return nullptr;
        for (const KeyAt& at : found->second) {
            if (text.starts_with(at.where))
                return &at;
        }
        return &found->second.front();
    }

private:
    void addBlock(yaml::NodeId mapping, const std::string& prefix, std::span<const KeyLabel> labels, int slot)
    {
        const std::span<const yaml::NodeId> children = m_tree[mapping].children;
        for (std::size_t i = 0; i + 1 < children.size(); i += 2) {
            const yaml::Node& key = m_tree[children[i]];
            const yaml::Node& value = m_tree[children[i + 1]];
            if (key.kind != yaml::NodeKind::Scalar)
                continue;
            const std::string lower = asciiLower(key.text);
            const auto label =
                std::find_if(labels.begin(), labels.end(), [&](const KeyLabel& entry) { return entry.key == lower; });
            const KeyAt at{prefix + std::string(key.text), label == labels.end() ? std::string_view() : label->label,
                           std::string(key.text), key.mark, slot};
            add(key.mark, at);
            add(value.mark, at);
            if (value.kind == yaml::NodeKind::Sequence) {
                for (const yaml::NodeId entry : value.children)
                    add(m_tree[entry].mark, at);
            }
        }
    }

    void addOpeningItem(yaml::NodeId settings)
    {
        const std::span<const yaml::NodeId> children = m_tree[settings].children;
        for (std::size_t i = 0; i + 1 < children.size(); i += 2) {
            const yaml::Node& key = m_tree[children[i]];
            if (key.kind == yaml::NodeKind::Scalar && asciiLower(key.text) == "open-with-item" &&
                m_tree[children[i + 1]].kind == yaml::NodeKind::Mapping)
                addBlock(children[i + 1], "open-with-item 的 ", kOpeningLabels, 0);
        }
    }

    void add(yaml::Mark mark, const KeyAt& at) { m_at[markKey(mark)].push_back(at); }

    const yaml::Tree& m_tree;
    std::unordered_map<std::uint64_t, std::vector<KeyAt>> m_at;
};

std::string_view ruleOf(NoteKind kind)
{
    switch (kind) {
    case NoteKind::Value:
    case NoteKind::Item:
        return rule::kValue;
    case NoteKind::UnknownKey:
    case NoteKind::DuplicateKey:
        return rule::kUnknownKey;
    case NoteKind::DuplicatePosition:
        return rule::kDuplicatePosition;
    case NoteKind::OutsideRows:
        return rule::kOutsideRows;
    case NoteKind::ReadAs:
        break;
    }
    return {};
}

// "物品“a”的 PRICE 的值“abc”不是数字,没有导入" becomes "所需金钱(PRICE)“abc”不是数字":
// the line names the item, and the check imports nothing.
std::string messageOf(const ImportNote& note, const KeyAt* at)
{
    std::string_view text = note.text;
    std::string message;
    if (at && !at->label.empty() && text.starts_with(at->where)) {
        text.remove_prefix(at->where.size());
        if (text.starts_with(" 的值"))
            text.remove_prefix(std::string_view(" 的值").size());
        else if (text.starts_with(' '))
            text.remove_prefix(1);
        message = std::string(at->label) + "(" + at->key + ")";
    }
    for (const auto& [ending, instead] : kEndings) {
        if (text.ends_with(ending)) {
            text.remove_suffix(ending.size());
            message += std::string(text) + std::string(instead);
            return message;
        }
    }
    return message + std::string(text);
}

}  // namespace

std::vector<Problem> noteProblems(const std::string& path, const ImportedMenu& menu)
{
    std::vector<Problem> problems;
    if (menu.notTakenOver.empty() || !menu.text || !menu.text->tree.root)
        return problems;
    const KeyIndex index(menu.text->tree, menu.text->places);
    for (const ImportNote& note : menu.notTakenOver) {
        const std::string_view rule = ruleOf(note.kind);
        if (rule.empty())
            continue;
        const KeyAt* at = index.find(note.mark, note.text);
        // At the key when the value stands beside it; a list entry or a
        // value on a line of its own at its own place.
        const yaml::Mark mark = at && at->keyMark.line == note.mark.line ? at->keyMark : note.mark;
        problems.push_back(makeProblem(path, mark, rule, messageOf(note, at), at ? at->slot : 0));
    }
    return problems;
}

}  // namespace cofferon
