#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <unistd.h>

#include "document/core/Codec.h"
#include "document/core/ItemId.h"
#include "project/core/ProjectFile.h"
#include "support/FailingWrite.h"
#include "support/TempDir.h"

namespace cofferon {
namespace {

std::string gb(const char* utf8)
{
    return utf8ToGb18030(utf8).value();
}

// The document of the golden file.
ProjectData goldenDocument()
{
    ProjectData data;
    data.settings.title = "&6" + gb("商店");
    data.settings.openItem = "345";
    data.settings.menuCommand = "shop";
    data.settings.leftClick = true;
    data.settings.rowIndex = 2;

    SlotRecord& wool = data.slots[1];
    wool.id = "35:14";
    wool.name = "&c" + gb("红色羊毛");
    wool.money = "100";
    wool.keepOpen = "false";
    wool.lore = "&7first line\r\n&7second line";
    wool.command = "tell:Thanks";

    data.slots[5].id = "0";  // not a valid item: no section
    data.slots[5].name = "lost";
    data.slots[10].id = "1";

    SlotRecord& armour = data.slots[12];
    armour.id = "299";
    armour.point = "5";
    armour.exp = "3";
    armour.item = "264";
    armour.amount = "2";
    armour.permission = "shop.use";
    armour.viewPermission = "shop.see";
    armour.keepOpen = "true";
    armour.color = "255, 0, 0";
    armour.enchants = "PROTECTION, 4\r\nDURABILITY";

    data.slots[54].id = "397:3";
    data.slots[54].name = "It's \"quoted\"";
    data.slots[54].head = "SomePlayer";
    return data;
}

ProjectData readBack(const std::string& path)
{
    auto result = readProjectFile(path);
    if (auto* error = std::get_if<FileError>(&result)) {
        ADD_FAILURE() << "cannot read " << path << ": " << fileErrorText(error->code);
        return {};
    }
    return std::get<ProjectData>(result);
}

ProjectData readText(const std::string& bytes)
{
    return readProject(IniFile::parse(bytes));
}

TEST(ProjectFile, WrittenTextMatchesTheGoldenFile)
{
    const ProjectData data = goldenDocument();
    EXPECT_EQ(projectText(data.settings, data.slots), test::readFile(COFFERON_TEST_DATA "/project-golden.ini"));
}

TEST(ProjectFile, FullDocumentSurvivesSaveAndLoad)
{
    ProjectData data;
    data.settings.title = gb("“商店” 'A' \"B\"");
    data.settings.openItem = "35:1";
    data.settings.menuCommand = "shop";
    data.settings.rightClick = true;
    data.settings.rowIndex = 0;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const std::string n = std::to_string(slot);
        SlotRecord& r = data.slots[slot];
        r.lore = gb("第一行 ") + n + "\r\n&7It's \"two\"\r\n" + gb("第三行");
        r.name = "&a" + gb("物品") + n;
        r.enchants = "DAMAGE_ALL, " + n + "\r\nLOOT_BONUS_MOBS";
        r.id = std::to_string(slot + 1) + ":" + n;
        r.command = "tell: " + gb("谢谢") + "\r\nop:give %player% 1";
        r.keepOpen = slot % 2 ? "true" : "false";
        r.money = n;
        r.point = "1" + n;
        r.exp = "2" + n;
        r.item = "264:" + n;
        r.amount = "3";
        r.permission = "shop.buy." + n;
        r.viewPermission = "shop.see." + n;
        r.color = "1, 2, " + n;
        r.head = "Player" + n;
    }
    // Far beyond the 10239 bytes that the profile functions return.
    data.slots[54].lore += "\r\n" + std::string(20000, 'L') + "\r\n" + gb("尾");
    test::TempDir dir;
    const std::string path = dir.file("full.ini");
    ASSERT_FALSE(writeProject(path, data.settings, data.slots));
    EXPECT_EQ(readBack(path), data);
}

TEST(ProjectFile, TypedLineBreakTokensBecomeLineBreaks)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a&^pb", "a\r\nb"},
        {"a&^Pb&^p", "a\r\nb\r\n"},
        {"&^&^pp", "&^\r\np"},
        {"\x81&^p", "\x81\r\n"},  // after a byte that would lead a double-byte character
    };
    for (const auto& [typed, readBack] : cases) {
        SlotTable slots;
        slots[3].id = "1";
        slots[3].lore = typed;
        slots[3].command = typed;
        slots[3].enchants = typed;
        slots[3].name = typed;
        const SlotRecord back = readText(projectText({}, slots)).slots[3];
        EXPECT_EQ(back.lore, readBack) << typed;
        EXPECT_EQ(back.command, readBack) << typed;
        EXPECT_EQ(back.enchants, readBack) << typed;
        // The escape belongs to the multi-line fields only.
        EXPECT_EQ(back.name, typed) << typed;
    }
}

// Bytes of every kind the INI layer treats specially, and double-byte lead bytes.
std::string randomText(std::mt19937& random)
{
    static constexpr std::string_view kSpecial = "\"' \t\r=[];&^pP";
    std::string text;
    for (auto length = random() % 11; length > 0; --length) {
        switch (random() % 4) {
        case 0:
            text += kSpecial[random() % kSpecial.size()];
            break;
        case 1:
            text += static_cast<char>(0x80 + random() % 0x80);
            break;
        default:
            text += static_cast<char>(' ' + random() % 95);
            break;
        }
    }
    return text;
}

// Lines joined by CR LF, without the line-break token that the user may type.
std::string randomLines(std::mt19937& random)
{
    for (;;) {
        std::string text;
        for (auto lines = random() % 4; lines > 0; --lines)
            text += randomText(random) + (lines > 1 ? "\r\n" : "");
        if (text.find("&^p") == std::string::npos && text.find("&^P") == std::string::npos)
            return text;
    }
}

std::optional<std::string> randomSetting(std::mt19937& random)
{
    std::string text = randomText(random);
    if (text.empty() || random() % 3 == 0)
        return std::nullopt;  // an empty text reads back absent, as it should
    return text;
}

TEST(ProjectFile, EveryDocumentWithoutLineFeedsSurvivesSaveAndLoad)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 300; ++round) {
        ProjectData data;
        data.settings.title = randomSetting(random);
        data.settings.openItem = randomSetting(random);
        data.settings.menuCommand = randomSetting(random);
        data.settings.leftClick = random() % 2;
        data.settings.rightClick = random() % 2;
        data.settings.rowIndex = static_cast<int>(random() % 6);
        ProjectData expected = data;
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            if (random() % 3 == 0)
                continue;
            // Mostly valid IDs, some of them with a tail that still counts.
            std::string id =
                std::to_string(random() % 3000) + (random() % 2 ? ":" + std::to_string(random() % 20) : "");
            if (random() % 4 == 0)
                id += randomText(random);
            data.slots[slot] =
                SlotRecord{randomLines(random), randomText(random), randomLines(random), id,
                           randomLines(random), randomText(random), randomText(random),  randomText(random),
                           randomText(random),  randomText(random), randomText(random),  randomText(random),
                           randomText(random),  randomText(random), randomText(random)};
            expected.slots[slot] = isValidItemId(id) ? data.slots[slot] : SlotRecord{};
        }
        const std::string text = projectText(data.settings, data.slots);
        ASSERT_EQ(readText(text), expected) << "round " << round << "\n" << testing::PrintToString(text);
    }
}

TEST(ProjectFile, AbsentTextSettingsWriteNoKeyAndReadBackAbsent)
{
    ProjectSettings settings;
    settings.rowIndex = 4;
    const std::string text = projectText(settings, SlotTable{});
    EXPECT_EQ(text, "[Setting]\r\nleft=false\r\nright=false\r\nrow=4\r\n");

    // A title that is present but empty is written, and still reads as "leave the box alone".
    settings.title = "";
    EXPECT_EQ(projectText(settings, SlotTable{}), "[Setting]\r\ntitle=\r\nleft=false\r\nright=false\r\nrow=4\r\n");
    EXPECT_FALSE(readText(projectText(settings, SlotTable{})).settings.title);
}

// As the Windows version of this tool leaves it after hand-editing: GBK bytes,
// CR LF, names in other cases, blank lines between some sections.
std::string windowsWrittenFile()
{
    return "[SETTING]\r\n"
           "TITLE=&6\xC9\xCC\xB5\xEA\r\n"
           "ITEM=345:2\r\n"
           "Command=shop\r\n"
           "Left=true\r\n"
           "RIGHT=TRUE\r\n"
           "Row=3\r\n"
           "\r\n"
           "[1]\r\n"
           "ID=35:14\r\n"
           "Name=&c\xBA\xEC\xC9\xAB\xD1\xF2\xC3\xAB\r\n"
           "Keep-Open=true\r\n"
           "Color=255, 0, 0\r\n"
           "LORE=\xD7\xEA\xCA\xAF&^P&7x\r\n"
           "View-Permission=vip\r\n"
           "[2]\r\n"
           "id=299\r\n"
           "COLOR=1, 2, 3\r\n"
           "\r\n"
           "\r\n"
           "[3]\r\n"
           "id=1\r\n"
           "color=4, 5, 6\r\n";
}

TEST(ProjectFile, WindowsWrittenFileIsReadByteByByte)
{
    const std::string bytes = windowsWrittenFile();
    const ProjectData data = readText(bytes);
    EXPECT_EQ(data.settings.title, "&6" + gb("商店"));
    EXPECT_EQ(data.settings.openItem, "345:2");
    EXPECT_EQ(data.settings.menuCommand, "shop");
    EXPECT_TRUE(data.settings.leftClick);
    EXPECT_FALSE(data.settings.rightClick);  // only "true" exactly checks the box
    EXPECT_EQ(data.settings.rowIndex, 3);

    SlotRecord wool;
    wool.id = "35:14";
    wool.name = "&c" + gb("红色羊毛");
    wool.keepOpen = "true";
    wool.color = "255, 0, 0";
    wool.lore = gb("钻石") + "\r\n&7x";
    wool.viewPermission = "vip";
    EXPECT_EQ(data.slots[1], wool);
    EXPECT_EQ(data.slots[2].color, "1, 2, 3");
    EXPECT_EQ(data.slots[3].color, "4, 5, 6");
    // Keys that are missing take their defaults: keep-open "false", the rest empty.
    EXPECT_EQ(data.slots[2].keepOpen, "false");
    EXPECT_EQ(data.slots[2].name, "");
    EXPECT_EQ(data.slots[4], SlotRecord{});
}

std::string withLineEnd(std::string text, std::string_view eol)
{
    for (std::size_t pos = 0; (pos = text.find("\r\n", pos)) != std::string::npos; pos += eol.size())
        text.replace(pos, 2, eol);
    return text;
}

TEST(ProjectFile, OtherProgramsSavesOfAProjectReadTheSame)
{
    const std::string bytes = windowsWrittenFile();
    const ProjectData expected = readText(bytes);
    ASSERT_TRUE(expected.settings.title && expected.settings.leftClick && !expected.slots[1].lore.empty());
    const std::pair<const char*, std::string> saved[] = {
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + gb18030ToUtf8(bytes).value()},
        {"UTF-16LE with its mark", "\xFF\xFE" + convertEncoding(bytes, "GB18030", "UTF-16LE").value()},
        {"CR CR LF", withLineEnd(bytes, "\r\r\n")},
        {"LF", withLineEnd(bytes, "\n")},
    };
    test::TempDir dir;
    for (const auto& [how, file] : saved) {
        EXPECT_EQ(readText(file), expected) << how;
        test::writeFile(dir.file("saved.ini"), file);
        EXPECT_EQ(readBack(dir.file("saved.ini")), expected) << how;
    }
}

TEST(ProjectFile, MissingEverythingGivesTheDefaults)
{
    const ProjectData data = readText("");
    EXPECT_FALSE(data.settings.title);
    EXPECT_FALSE(data.settings.openItem);
    EXPECT_FALSE(data.settings.menuCommand);
    EXPECT_FALSE(data.settings.leftClick);
    EXPECT_FALSE(data.settings.rightClick);
    EXPECT_EQ(data.settings.rowIndex, 5);
    EXPECT_EQ(data.slots, SlotTable{});
}

TEST(ProjectFile, RowIsLeadingDigitsClampedToTheList)
{
    const std::pair<const char*, int> cases[] = {
        {"0", 0},   {"5", 5}, {"2rows", 2},
        {"abc", 0}, {"", 0},  {" 4 ", 4},
        {"-1", 0},  {"6", 5}, {"99999999999999999999", 5},
    };
    for (const auto& [row, index] : cases)
        EXPECT_EQ(readText(std::string("[Setting]\r\nrow=") + row + "\r\n").settings.rowIndex, index) << row;
}

TEST(ProjectFile, SlotSectionWithoutAValidIdIsIgnoredWhole)
{
    for (const char* id : {"id=\r\n", "id=0\r\n", "id=5:\r\n", "id=abc\r\n", ""}) {
        const ProjectData data = readText(std::string("[7]\r\n") + id + "name=x\r\nmoney=5\r\n");
        EXPECT_EQ(data.slots[7], SlotRecord{}) << id;
    }
    // Sections are named by the plain slot number only.
    EXPECT_EQ(readText("[07]\r\nid=1\r\n").slots[7], SlotRecord{});
}

TEST(ProjectFile, SavingOverALargerProjectLeavesOnlyTheCurrentSlots)
{
    test::TempDir dir;
    const std::string path = dir.file("menu.ini");
    SlotTable many;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        many[slot].id = "1";
    test::writeFile(path, "; notes kept by hand\r\n" + projectText({}, many));

    SlotTable few;
    few[2].id = "35";
    ProjectSettings settings;
    settings.title = "Small";
    ASSERT_FALSE(writeProject(path, settings, few));
    EXPECT_EQ(test::readFile(path), projectText(settings, few));
    EXPECT_EQ(readBack(path).slots, few);
}

using test::failAfter;

TEST(ProjectFile, FailedSaveKeepsTheOldProject)
{
    test::TempDir dir;
    const std::string path = dir.file("menu.ini");
    const ProjectData old = goldenDocument();
    ASSERT_FALSE(writeProject(path, old.settings, old.slots));
    const std::string before = test::readFile(path);

    EXPECT_EQ(writeProject(path, ProjectSettings{}, SlotTable{}, failAfter(10)), FileError{ENOSPC});
    EXPECT_EQ(test::readFile(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    EXPECT_TRUE(writeProject(dir.file("no-folder/menu.ini"), old.settings, old.slots));
}

TEST(ProjectFile, ReadingAFolderIsAnErrorAndAMissingFileAnEmptyProject)
{
    test::TempDir dir;
    const auto folder = readProjectFile(dir.path().string());
    ASSERT_TRUE(std::holds_alternative<FileError>(folder));
    EXPECT_EQ(std::get<FileError>(folder), FileError{EISDIR});
    EXPECT_EQ(readBack(dir.file("missing.ini")), ProjectData{});
}

TEST(ProjectFile, IniFileNameAppendsTheExtensionUnlessExact)
{
    EXPECT_EQ(iniFileName("menu"), "menu.ini");
    EXPECT_EQ(iniFileName("menu.ini"), "menu.ini");
    EXPECT_EQ(iniFileName("menu.INI"), "menu.INI.ini");
    EXPECT_EQ(iniFileName("/srv/ini"), "/srv/ini.ini");
    EXPECT_EQ(iniFileName(".ini"), ".ini");
}

}  // namespace
}  // namespace cofferon
