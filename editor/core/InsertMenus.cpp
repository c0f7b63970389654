#include "editor/core/InsertMenus.h"

#include <algorithm>
#include <array>

namespace cofferon {

namespace {

// clang-format off
constexpr std::array<CommandAction, 9> kCommandActions = {{
    {"显示消息", "点击后向玩家发送该消息", false, "tell:"},
    {"给予游戏币", "点击后给予玩家游戏币", true, "givemoney:"},
    {"给予点劵", "点击后向给予玩家点劵", true, "give-points:"},
    {"使用指令(无需加/)", "点击后执行指令(无需加/)", false, ""},
    {"OP权限使用指令", "点击后以op权限执行指令(无需加/)", false, "op:"},
    {"控制台权限使用指令", "点击后以控制台权限执行指令(无需加/)", false, "console:"},
    {"打开新菜单", "点击后打开新菜单(需要开启\"KEEP-OPEN\"属性)", false, "open:"},
    {"以op权限打开菜单", "点击后强制打开新菜单(需要开启\"KEEP-OPEN\"属性)", false, "op:cofferons open "},
    {"服务器跳转", "点击后跳转服务器", false, "server:"},
}};

constexpr std::array<Enchantment, 10> kArmour = {{
    {"保护", "Protection", 4},
    {"火焰保护", "Fire Protection", 4},
    {"摔落保护", "Feather Falling", 4},
    {"爆炸保护", "Blast Protection", 4},
    {"弹射物保护", "Projectile Protection", 4},
    {"水下呼吸", "Respiration", 3},
    {"水下速倔", "Aqua Affinity", 1},
    {"荆棘", "Thorns", 3},
    {"深海探索者", "Depth Strider", 3},
    {"冰霜行者", "Frost Walker", 2},
}};
constexpr std::array<Enchantment, 6> kSword = {{
    {"锋利", "Sharpness", 5},
    {"亡灵杀手", "Smite", 5},
    {"截肢杀手", "Bane of Arthropods", 5},
    {"击退", "Knockback", 2},
    {"火焰附加", "Fire Aspect", 2},
    {"抢夺", "Looting", 3},
}};
constexpr std::array<Enchantment, 4> kTool = {{
    {"效率", "Efficiency", 5},
    {"精准采集", "Silk Touch", 1},
    {"耐久", "Unbreaking", 3},
    {"时运", "Fortune", 3},
}};
constexpr std::array<Enchantment, 4> kBow = {{
    {"力量", "Power", 5},
    {"冲击", "Punch", 2},
    {"火矢", "Flame", 1},
    {"无限", "Infinity", 1},
}};
constexpr std::array<Enchantment, 2> kFishingRod = {{
    {"海之眷顾", "Luck of the Sea", 3},
    {"饵钓", "Lure", 3},
}};
constexpr std::array<Enchantment, 1> kDirect = {{
    {"经验修补", "Mending", 1},
}};

constexpr std::array<EnchantmentGroup, 6> kEnchantmentGroups = {{
    {"防具", "chestplate", kArmour},
    {"剑", "sword", kSword},
    {"工具", "axe", kTool},
    {"弓", "bow", kBow},
    {"鱼竿", "fishing-rod", kFishingRod},
    {"", "", kDirect},
}};

constexpr std::array<InsertPiece, 5> kPlaceholders = {{
    {"{player}——将会显示为玩家名", "{player}"},
    {"{world}——将会显示当前所在世界", "{world}"},
    {"{online}——将会显示在线的玩家数", "{online}"},
    {"{max_players}——将会显示最大玩家数", "{max_players}"},
    {"{money}——将会显示你的存款余额,必须有\" Vault\"插件", "{money}"},
}};

constexpr std::array<InsertPiece, 16> kColourCodes = {{
    {"Color #0", "&0", "swatch:0"}, {"Color #1", "&1", "swatch:1"}, {"Color #2", "&2", "swatch:2"},
    {"Color #3", "&3", "swatch:3"}, {"Color #4", "&4", "swatch:4"}, {"Color #5", "&5", "swatch:5"},
    {"Color #6", "&6", "swatch:6"}, {"Color #7", "&7", "swatch:7"}, {"Color #8", "&8", "swatch:8"},
    {"Color #9", "&9", "swatch:9"}, {"Color #a", "&a", "swatch:a"}, {"Color #b", "&b", "swatch:b"},
    {"Color #c", "&c", "swatch:c"}, {"Color #d", "&d", "swatch:d"}, {"Color #e", "&e", "swatch:e"},
    {"Color #f", "&f", "swatch:f"},
}};

constexpr std::array<InsertPiece, 5> kEffectCodes = {{
    {"加粗", "&l", "letter:bold"},
    {"删除线", "&m", "letter:strikeout"},
    {"下划线", "&n", "letter:underline"},
    {"斜体", "&o", "letter:italic"},
    {"还原", "&r", "letter:plain"},
}};
// clang-format on

template <std::size_t N>
constexpr std::array<layout::MenuEntry, N> pieceEntries(const std::array<InsertPiece, N>& pieces)
{
    std::array<layout::MenuEntry, N> entries{};
    for (std::size_t i = 0; i < N; ++i)
        entries[i] = {pieces[i].caption, {}, pieces[i].icon};
    return entries;
}

template <std::size_t N>
constexpr std::array<layout::MenuEntry, N> enchantmentEntries(const std::array<Enchantment, N>& enchantments)
{
    std::array<layout::MenuEntry, N> entries{};
    for (std::size_t i = 0; i < N; ++i)
        entries[i] = {enchantments[i].caption};
    return entries;
}

constexpr auto kCommandEntries = [] {
    std::array<layout::MenuEntry, kCommandActions.size()> entries{};
    for (std::size_t i = 0; i < entries.size(); ++i)
        entries[i] = {kCommandActions[i].caption};
    entries[0].icon = "speech-bubble";
    return entries;
}();

constexpr auto kArmourEntries = enchantmentEntries(kArmour);
constexpr auto kSwordEntries = enchantmentEntries(kSword);
constexpr auto kToolEntries = enchantmentEntries(kTool);
constexpr auto kBowEntries = enchantmentEntries(kBow);
constexpr auto kFishingRodEntries = enchantmentEntries(kFishingRod);

// The submenus take their captions and icons from the groups; the group
// without a caption is the one direct entry.
constexpr layout::MenuEntry groupEntry(std::size_t group, std::span<const layout::MenuEntry> entries)
{
    return {kEnchantmentGroups[group].caption, entries, kEnchantmentGroups[group].icon};
}

constexpr std::array<layout::MenuEntry, 6> kEnchantmentEntries = {{
    groupEntry(0, kArmourEntries),
    groupEntry(1, kSwordEntries),
    groupEntry(2, kToolEntries),
    groupEntry(3, kBowEntries),
    groupEntry(4, kFishingRodEntries),
    {kDirect[0].caption},
}};

constexpr auto kPlaceholderEntries = pieceEntries(kPlaceholders);
constexpr auto kColourEntries = pieceEntries(kColourCodes);
constexpr auto kEffectEntries = pieceEntries(kEffectCodes);

constexpr std::array<layout::MenuEntry, 3> kInsertEntries = {{
    {"变量", kPlaceholderEntries},
    {"文字颜色", kColourEntries},
    {"文字效果", kEffectEntries},
}};

constexpr std::array<layout::Menu, 3> kSlotEditorMenus = {{
    {"指令列表", kCommandEntries, true},
    {"附魔列表", kEnchantmentEntries, true},
    {"插入项目", kInsertEntries, true},
}};

template <typename T>
const T* findByCaption(std::span<const T> entries, std::string_view caption)
{
    const auto found =
        std::find_if(entries.begin(), entries.end(), [&](const T& entry) { return entry.caption == caption; });
    return found == entries.end() ? nullptr : &*found;
}

}  // namespace

std::span<const CommandAction> commandActions()
{
    return kCommandActions;
}

std::span<const EnchantmentGroup> enchantmentGroups()
{
    return kEnchantmentGroups;
}

std::span<const InsertPiece> placeholders()
{
    return kPlaceholders;
}

std::span<const InsertPiece> colourCodes()
{
    return kColourCodes;
}

std::span<const InsertPiece> effectCodes()
{
    return kEffectCodes;
}

std::span<const layout::Menu> slotEditorMenus()
{
    return kSlotEditorMenus;
}

const CommandAction* findCommandAction(std::string_view caption)
{
    return findByCaption(commandActions(), caption);
}

const Enchantment* findEnchantment(std::string_view caption)
{
    for (const EnchantmentGroup& group : kEnchantmentGroups) {
        if (const Enchantment* found = findByCaption(group.enchantments, caption))
            return found;
    }
    return nullptr;
}

const InsertPiece* findPlaceholder(std::string_view caption)
{
    return findByCaption(placeholders(), caption);
}

const InsertPiece* findFormatCode(std::string_view caption)
{
    if (const InsertPiece* found = findByCaption(colourCodes(), caption))
        return found;
    return findByCaption(effectCodes(), caption);
}

}  // namespace cofferon
