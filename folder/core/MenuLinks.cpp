#include "folder/core/MenuLinks.h"

#include "document/core/Text.h"

namespace cofferon {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(kBlanks);
    // Still a view into the text, as the place of a target is worked out from it.
    if (begin == std::string_view::npos)
        return text.substr(text.size());
    return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

// Removes `prefix` (in lower case) from the front of `text` in any case.
bool takePrefix(std::string_view& text, std::string_view prefix)
{
    if (asciiLower(text.substr(0, prefix.size())) != prefix)
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

// The commands of a text: its lines, and the pieces "; " joins, as the
// import cuts them.
template <typename Each>
void eachCommand(std::string_view commands, Each each)
{
    std::size_t begin = 0;
    for (std::size_t pos = 0; pos < commands.size();) {
        std::size_t cut = 0;
        if (commands.substr(pos, 2) == "\r\n" || commands.substr(pos, 2) == "; ")
            cut = 2;
        else if (commands[pos] == '\r' || commands[pos] == '\n')
            cut = 1;
        if (cut == 0) {
            ++pos;
            continue;
        }
        each(commands.substr(begin, pos - begin));
        pos += cut;
        begin = pos;
    }
    each(commands.substr(begin));
}

// COMMAND among an item's keys.
constexpr std::size_t kItemCommandKey = [] {
    std::size_t index = 0;
    while (kSlotKeys[index].name != "COMMAND")
        ++index;
    return index;
}();

}  // namespace

std::optional<std::string_view> openedMenuText(std::string_view command)
{
    command = trimmed(command);
    if (takePrefix(command, "open:"))
        return trimmed(command);
    if (!takePrefix(command, "op:"))
        takePrefix(command, "console:");
    command = trimmed(command);
    takePrefix(command, "/");
    if (!takePrefix(command, "cofferons") || command.find_first_not_of(kBlanks) == 0)
        return std::nullopt;
    command = trimmed(command);
    if (!takePrefix(command, "open") || (!command.empty() && command.find_first_of(kBlanks) != 0))
        return std::nullopt;
    command = trimmed(command);
    // The player it is opened for may follow.
    return command.substr(0, command.find_first_of(kBlanks));
}

std::optional<std::string> openedMenu(std::string_view command)
{
    const auto target = openedMenuText(command);
    return target ? std::optional<std::string>(*target) : std::nullopt;
}

std::vector<std::string> openedMenus(std::string_view commands)
{
    std::vector<std::string> menus;
    eachCommand(commands, [&](std::string_view command) {
        if (auto menu = openedMenu(command))
            menus.push_back(std::move(*menu));
    });
    return menus;
}

std::string renameOpenedMenus(std::string_view commands, const std::function<bool(std::string_view)>& names,
                              std::string_view name)
{
    std::string renamed;
    std::size_t copied = 0;
    eachCommand(commands, [&](std::string_view command) {
        const auto target = openedMenuText(command);
        if (!target || target->empty() || !names(*target))
            return;
        const auto at = static_cast<std::size_t>(target->data() - commands.data());
        renamed.append(commands.substr(copied, at - copied)).append(name);
        copied = at + target->size();
    });
    return renamed.append(commands.substr(copied));
}

std::vector<MenuLink> menuLinks(const ImportedMenu& menu)
{
    std::vector<MenuLink> links;
    if (!menu.text)
        return links;
    const yaml::Tree& tree = menu.text->tree;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const BlockPlace* place = slotPlace(menu.text->places, slot);
        if (!place || !place->keys[kItemCommandKey])
            continue;
        const bool keepOpen = menu.project.slots[slot].keepOpen == "true";
        auto add = [&](const yaml::Node& node) {
            if (node.kind != yaml::NodeKind::Scalar)
                return;
            for (std::string& target : openedMenus(node.text))
                links.push_back(MenuLink{slot, std::move(target), node.mark, keepOpen});
        };
        const yaml::Node& value = tree[place->keys[kItemCommandKey]->value];
        if (value.kind == yaml::NodeKind::Sequence) {
            for (const yaml::NodeId entry : value.children)
                add(tree[entry]);
        } else {
            add(value);
        }
    }
    return links;
}

}  // namespace cofferon
