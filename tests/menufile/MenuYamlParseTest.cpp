#include <gtest/gtest.h>
#include <yaml-cpp/yaml.h>

#include "document/core/Codec.h"
#include "menufile/core/MenuEncoding.h"

namespace cofferon {
namespace {

// What the plugin sees: the exported UTF-8 file read by a real YAML parser.
TEST(MenuYamlParse, ParsedValuesAreExactlyWhatWasTyped)
{
    const auto gb = [](const char* utf8) { return *utf8ToGb18030(utf8); };
    MenuSettings settings;
    settings.title = gb("&6老王's 商店");
    settings.menuCommand = "shop";
    settings.openItem = "345";
    settings.rightClick = true;
    settings.rowIndex = 1;
    SlotTable slots;
    slots[11].id = "35:14";
    slots[11].name = gb("&c红色's '羊毛'");
    slots[11].lore = gb("第一行\r\n\r\n''两个引号''");
    slots[11].command = gb("tell: 你好\r\nop:say it's");
    slots[11].money = "10";
    slots[11].item = "264";
    slots[11].amount = "2";
    slots[11].keepOpen = "true";
    slots[11].enchants = gb("锋利, 5\r\n经验修补");

    const auto text = writeMenuYaml(settings, slots);
    ASSERT_TRUE(std::holds_alternative<std::string>(text));
    const auto utf8 = encodeMenu(std::get<std::string>(text), OutputEncoding::Utf8);
    ASSERT_TRUE(std::holds_alternative<std::string>(utf8));

    const YAML::Node root = YAML::Load(std::get<std::string>(utf8));
    const YAML::Node menu = root["menu-setting"];
    EXPECT_EQ(menu["name"].as<std::string>(), "&6老王's 商店");
    EXPECT_EQ(menu["rows"].as<int>(), 2);
    EXPECT_EQ(menu["command"].as<std::string>(), "shop");
    EXPECT_EQ(menu["open-with-item"]["id"].as<std::string>(), "345");
    EXPECT_TRUE(menu["open-with-item"]["right-click"].as<bool>());
    EXPECT_FALSE(menu["open-with-item"]["left-click"]);

    const YAML::Node item = root[11];
    ASSERT_TRUE(item.IsMap());
    EXPECT_EQ(item["ID"].as<int>(), 35);
    EXPECT_EQ(item["DATA-VALUE"].as<int>(), 14);
    EXPECT_EQ(item["POSITION-X"].as<int>(), 2);
    EXPECT_EQ(item["POSITION-Y"].as<int>(), 2);
    EXPECT_EQ(item["NAME"].as<std::string>(), "&c红色's '羊毛'");
    ASSERT_EQ(item["LORE"].size(), 3u);
    EXPECT_EQ(item["LORE"][0].as<std::string>(), "第一行");
    EXPECT_EQ(item["LORE"][1].as<std::string>(), "");
    EXPECT_EQ(item["LORE"][2].as<std::string>(), "''两个引号''");
    EXPECT_EQ(item["COMMAND"].as<std::string>(), "tell: 你好; op:say it's");
    EXPECT_EQ(item["PRICE"].as<int>(), 10);
    EXPECT_EQ(item["REQUIRED-ITEM"].as<std::string>(), "264, 2");
    EXPECT_TRUE(item["KEEP-OPEN"].as<bool>());
    EXPECT_EQ(item["ENCHANTMENT"].as<std::string>(), "锋利, 5; 经验修补");
    EXPECT_EQ(root.size(), 2u);
}

}  // namespace
}  // namespace cofferon
