#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include <sstream>
#include <unistd.h>

#include "app/gui/MainWindow.h"
#include "document/core/Codec.h"
#include "preview/gui/PreviewGrid.h"
#include "project/core/ExportCli.h"
#include "project/core/ProjectFile.h"
#include "support/FailingWrite.h"
#include "support/GuiTestMain.h"
#include "support/MainWindowFixture.h"
#include "support/TempDir.h"
#include "ui/gui/InputHints.h"

using namespace cofferon;

namespace {

QString qs(const std::string& path)
{
    return QString::fromStdString(path);
}

// A project as the Windows version of this tool writes it: GBK bytes, CR LF,
// keys in other cases, blank lines between some sections.
std::string windowsProject()
{
    return "[Setting]\r\n"
           "title=&6\xC9\xCC\xB5\xEA\r\n"  // 商店
           "ITEM=345\r\n"
           "command=shop\r\n"
           "left=true\r\n"
           "right=false\r\n"
           "row=2\r\n"
           "\r\n"
           "[1]\r\n"
           "id=35:14\r\n"
           "name=&c\xBA\xEC\xC9\xAB\xD1\xF2\xC3\xAB\r\n"  // 红色羊毛
           "money=10\r\npoint=\r\nexp=\r\nitem=\r\namount=\r\npermission=\r\nview-permission=\r\nhead=\r\n"
           "keep-open=true\r\n"
           "Color=\r\n"
           "lore=&7one&^p&7two\r\n"
           "command=tell:hi&^Pop:say hi\r\n"
           "enchants=\r\n"
           "[12]\r\n"
           "id=299\r\n"
           "COLOR=255, 0, 0\r\n"
           "[30]\r\n"
           "id=1\r\n"
           "[40]\r\n"
           "id=abc\r\n"
           "name=ignored\r\n";
}

}  // namespace

class ProjectCommandsTest : public QObject, public test::MainWindowFixture {
    Q_OBJECT

private:
    void click(const char* button) { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void save(const std::optional<QString>& name)
    {
        m_dialogs.fileNames.push_back(name);
        click("保存配置");
    }
    // Over unsaved work, the question first: the work is not saved.
    void load(const std::optional<QString>& name)
    {
        if (m_window->hasUnsavedChanges())
            m_dialogs.choices.push_back(1);
        m_dialogs.fileNames.push_back(name);
        click("读取配置");
    }
    void slotMenu(const char* entry)
    {
        find<QMenu>("复制粘贴")->findChild<QAction*>(QString::fromUtf8(entry))->trigger();
    }
    QPixmap picture(int slot) const { return m_window->grid()->cell(slot)->pixmap(); }
    QString preview() const { return find<QTextEdit>("效果预览")->toPlainText(); }

private Q_SLOTS:
    void init() { QVERIFY(openWindow(Shown::No)); }

    void cleanup() { closeWindow(); }

    void saveNamesTheFileAndWritesTheWholeWork()
    {
        setValue(find<QLineEdit>("菜单标题"), QStringLiteral("Shop"));
        find<QCheckBox>("右键开启")->setChecked(true);
        find<QComboBox>("行数")->setCurrentIndex(3);
        m_document.slots[7] = {.name = "n", .id = "1"};
        const std::pair<const char*, const char*> names[] = {
            {"menu", "menu.ini"}, {"two.ini", "two.ini"}, {"three.INI", "three.INI.ini"}};
        for (const auto& [chosen, written] : names) {
            save(qs(m_dir->file(chosen)));
            QCOMPARE(test::readFile(m_dir->file(written)), projectText(m_window->menuSettings(), m_document.slots));
        }
        QVERIFY(!std::filesystem::exists(m_dir->file("three.INI")));
        QVERIFY(test::readFile(m_dir->file("menu.ini")).find("title=Shop\r\n") != std::string::npos);
        QVERIFY(m_dialogs.messages.empty());
        QCOMPARE(m_dialogs.fileFilters.value(0), QStringLiteral("配置文件(*.ini)|*.ini"));
    }

    void savingOverALargerProjectKeepsOnlyTheCurrentSlots()
    {
        const std::string path = m_dir->file("menu.ini");
        test::writeFile(path, windowsProject());
        m_document.slots[2].id = "5";
        save(qs(path));
        const ProjectData back = std::get<ProjectData>(readProjectFile(path));
        QCOMPARE(back.slots[2].id, std::string("5"));
        QVERIFY(back.slots[1].id.empty() && back.slots[12].id.empty());
    }

    void failedSaveIsReportedAndKeepsTheOldFile()
    {
        const std::string path = m_dir->file("menu.ini");
        test::writeFile(path, windowsProject());
        m_window->setWriteFunction(test::failAfter(0));
        save(qs(path));
        QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
        QCOMPARE(m_dialogs.messages[0].caption, QStringLiteral("错误"));
        QVERIFY(m_dialogs.messages[0].text.contains(qs(path)));
        QVERIFY(m_dialogs.messages[0].text.contains(QStringLiteral(":磁盘已满\n原有文件没有改动。")));
        QCOMPARE(test::readFile(path), windowsProject());

        m_window->setWriteFunction({});
        save(qs(m_dir->file("missing/menu.ini")));
        QCOMPARE(m_dialogs.messages.size(), std::size_t(2));
        QVERIFY(m_dialogs.messages[1].text.contains(QStringLiteral("文件夹不存在")));
    }

    void cancelledDialogsChangeNothing()
    {
        m_document.slots[3].id = "1";
        save(std::nullopt);
        load(std::nullopt);
        load(QString());
        QCOMPARE(m_document.slots[3].id, std::string("1"));
        QVERIFY(std::filesystem::is_empty(m_dir->path()));
        QVERIFY(m_dialogs.messages.empty());
    }

    void windowsProjectLoadsIntoTheWindow()
    {
        const std::string path = m_dir->file("old.ini");
        test::writeFile(path, windowsProject());
        m_document.slots[5] = {.name = "old", .id = "1"};
        m_window->refreshCell(5);
        m_window->grid()->selectSlot(23);
        setValue(find<QLineEdit>("菜单指令"), QStringLiteral("before"));

        load(qs(path));
        QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("&6商店"));
        QVERIFY(!showsHint(find<QLineEdit>("菜单标题")));
        QCOMPARE(find<QLineEdit>("物品ID")->text(), QStringLiteral("345"));
        QCOMPARE(find<QLineEdit>("菜单指令")->text(), QStringLiteral("shop"));
        QVERIFY(find<QCheckBox>("左键开启")->isChecked() && !find<QCheckBox>("右键开启")->isChecked());
        QCOMPARE(find<QComboBox>("行数")->currentIndex(), 2);
        QCOMPARE(m_document.currentSlot, 1);
        QCOMPARE(find<QLabel>("Redbox")->pos(), QPoint(8, 16));
        for (int slot = 1; slot <= kSlotCount; ++slot)
            QCOMPARE(m_window->grid()->cell(slot)->isHidden(), slot > 27);

        QCOMPARE(m_document.slots[1].lore, std::string("&7one\r\n&7two"));
        QCOMPARE(m_document.slots[1].command, std::string("tell:hi\r\nop:say hi"));
        QCOMPARE(m_document.slots[12].color, std::string("255, 0, 0"));
        QVERIFY(m_document.slots[5] == SlotRecord{});  // the old slot is gone
        QVERIFY(m_document.slots[40] == SlotRecord{});  // an invalid id is ignored whole
        QVERIFY(!picture(1).isNull() && !picture(30).isNull());
        QVERIFY(picture(5).isNull() && picture(40).isNull());
        QVERIFY(preview().startsWith(QStringLiteral("红色羊毛\n")));
        QVERIFY(m_dialogs.messages.empty());
    }

    void loadKeepsBoxesOfEmptyValuesAndClampsTheRow()
    {
        const std::string path = m_dir->file("p.ini");
        test::writeFile(path, "[Setting]\nrow=9\n[2]\nid=3\n");  // LF only, written by hand
        setValue(find<QLineEdit>("菜单标题"), QStringLiteral("kept"));
        find<QCheckBox>("右键开启")->setChecked(true);
        load(qs(path));
        QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("kept"));
        QVERIFY(showsHint(find<QLineEdit>("物品ID")));
        QVERIFY(!find<QCheckBox>("右键开启")->isChecked());
        QCOMPARE(find<QComboBox>("行数")->currentIndex(), 5);
        QCOMPARE(m_document.slots[2].id, std::string("3"));
    }

    void unreadableFileIsReportedAndChangesNothing()
    {
        m_document.slots[3].id = "1";
        std::filesystem::create_directories(m_dir->path() / "folder.ini");
        load(qs(m_dir->file("folder.ini")));
        QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
        QVERIFY(m_dialogs.messages[0].text.contains(QStringLiteral("folder.ini")));
        QVERIFY(m_dialogs.messages[0].text.contains(QStringLiteral(":这是一个文件夹\n当前的配置没有改动。")));
        QCOMPARE(m_document.slots[3].id, std::string("1"));
    }

    void saveAndLoadRoundTripTheWindow()
    {
        setValue(find<QLineEdit>("菜单标题"), QStringLiteral("It's \"中文\""));
        setValue(find<QLineEdit>("物品ID"), QStringLiteral("397:3"));
        find<QComboBox>("行数")->setCurrentIndex(0);
        m_document.slots[9] = {.lore = "a\r\nb", .name = "\"q\"", .id = "35:1", .keepOpen = "false"};
        const SlotTable before = m_document.slots;
        save(qs(m_dir->file("round")));
        m_window->clearData();
        load(qs(m_dir->file("round.ini")));
        QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("It's \"中文\""));
        QCOMPARE(find<QLineEdit>("物品ID")->text(), QStringLiteral("397:3"));
        QCOMPARE(find<QComboBox>("行数")->currentIndex(), 0);
        QCOMPARE(m_document.slots[9].lore, before[9].lore);
        // Enclosing quotes are text like any other: the whole slot comes back.
        QCOMPARE(m_document.slots[9], before[9]);
    }

    void copyAndPasteAreIndependentCopies()
    {
        m_document.slots[3] = {.name = "three", .id = "35:2"};
        m_window->grid()->selectSlot(3);
        slotMenu("复制");
        m_window->grid()->selectSlot(10);
        slotMenu("粘贴");
        QVERIFY(m_document.slots[10] == m_document.slots[3]);
        QVERIFY(!picture(10).isNull());
        QVERIFY(preview().startsWith(QStringLiteral("three")));
        m_document.slots[10].name = "edited";
        QCOMPARE(m_document.slots[3].name, std::string("three"));
        QCOMPARE(m_document.slotClipboard.name, std::string("three"));

        // The slot clipboard survives loading another project.
        const std::string path = m_dir->file("other.ini");
        test::writeFile(path, windowsProject());
        load(qs(path));
        m_window->grid()->selectSlot(20);
        slotMenu("粘贴");
        QCOMPARE(m_document.slots[20].name, std::string("three"));
    }

    void pastingAnEmptyClipboardEmptiesTheSlotAndItsCell()
    {
        m_document.slots[4] = {.name = "four", .id = "1"};
        m_window->refreshCell(4);
        m_window->grid()->selectSlot(4);
        slotMenu("粘贴");
        QVERIFY(m_document.slots[4] == SlotRecord{});
        QVERIFY(picture(4).isNull());
    }

    void deleteIconEmptiesTheWholeSlot()
    {
        setValue(find<QLineEdit>("菜单标题"), QStringLiteral("T"));
        m_document.slots[6] = {.lore = "l", .name = "six", .id = "1", .command = "tell:x"};
        m_window->refreshCell(6);
        m_window->grid()->selectSlot(6);
        click("删除图标");
        QVERIFY(m_document.slots[6] == SlotRecord{});
        QVERIFY(picture(6).isNull());
        QCOMPARE(m_document.currentSlot, 6);
        QCOMPARE(preview(), QStringLiteral("\n====================\n"));
        m_dialogs.fileNames.push_back(qs(m_dir->file("menu.yml")));
        m_window->exportAs(OutputEncoding::Utf8);
        QCOMPARE(test::readFile(m_dir->file("menu.yml")), std::string("menu-setting:\r\n  name: 'T'\r\n  rows: 6\r\n"));
    }

    void commandLineExportWritesWhatTheWindowWrites()
    {
        const std::string project = m_dir->file("old.ini");
        test::writeFile(project, windowsProject());
        load(qs(project));
        for (const auto& [encoding, name] :
             {std::pair{OutputEncoding::Utf8, "utf-8"}, {OutputEncoding::Gb2312, "gb2312"}}) {
            const std::string fromWindow = m_dir->file(std::string("window-") + name + ".yml");
            m_dialogs.fileNames.push_back(qs(fromWindow));
            m_dialogs.choices.push_back(0);  // 继续保存 without slot 30, below the three rows
            m_window->exportAs(encoding);
            std::ostringstream out;
            std::ostringstream err;
            QCOMPARE(runExportCli({project, "--encoding", name}, out, err), 0);
            QCOMPARE(out.str(), test::readFile(fromWindow));
        }
    }

    // Bytes that are no GB18030 character (the code page's euro byte 0x80, a
    // stray lead byte before a quote) pass through the boxes unchanged.
    void strayBytesComeBackThroughTheWindowAsTheyWere()
    {
        ProjectSettings settings;
        settings.title = "T\x80";
        settings.openItem = "1\xFE";
        settings.menuCommand = "shop\x81";
        SlotTable slots;
        slots[1] = {.name = "\x81'x", .id = "1", .keepOpen = "false"};
        const std::string original = projectText(settings, slots);
        const std::string project = m_dir->file("stray.ini");
        test::writeFile(project, original);

        load(qs(project));
        save(qs(m_dir->file("again.ini")));
        QCOMPARE(test::readFile(m_dir->file("again.ini")), original);

        // No menu file can hold them as they are: both exports refuse alike,
        // naming the box, in the window and on the command line.
        for (const auto& [encoding, name] :
             {std::pair{OutputEncoding::Utf8, "utf-8"}, {OutputEncoding::Gb2312, "gb2312"}}) {
            const std::string fromWindow = m_dir->file(std::string(name) + ".yml");
            m_dialogs.fileNames.push_back(qs(fromWindow));
            m_window->exportAs(encoding);
            QVERIFY(!std::filesystem::exists(fromWindow));
            std::ostringstream out;
            std::ostringstream err;
            QCOMPARE(runExportCli({project, "--encoding", name}, out, err), 1);
            QCOMPARE(m_dialogs.messages.back().text + QLatin1Char('\n'), QString::fromStdString(err.str()));
            QVERIFY(m_dialogs.messages.back().text.startsWith(QStringLiteral("菜单标题(name)含有")));
        }
    }

    void loadOffersMenuFilesAndImportsThem()
    {
        m_document.slots[40] = {.name = "old", .id = "1"};
        load(qs(COFFERON_TEST_DATA "/worked-example.yml"));
        // Both kinds first, which the dialog chooses; then each kind alone.
        QCOMPARE(m_dialogs.fileFilters.back(),
                 QStringLiteral("配置和菜单文件(*.ini *.yml *.yaml)|*.ini;*.yml;*.yaml|配置文件(*.ini)|*.ini|"
                                "菜单文件(*.yml *.yaml)|*.yml;*.yaml"));
        QVERIFY(m_dialogs.messages.empty());
        QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("&6Shop"));
        QCOMPARE(find<QLineEdit>("物品ID")->text(), QStringLiteral("345"));
        QVERIFY(find<QCheckBox>("左键开启")->isChecked() && !find<QCheckBox>("右键开启")->isChecked());
        QCOMPARE(find<QComboBox>("行数")->currentIndex(), 2);
        QCOMPARE(m_document.slots[1].lore, std::string("&7Line one\r\n&7Line two"));
        QVERIFY(m_document.slots[40] == SlotRecord{});
        QVERIFY(!picture(1).isNull() && !picture(12).isNull() && picture(2).isNull());
        QCOMPARE(m_document.currentSlot, 1);
        QVERIFY(preview().startsWith(QStringLiteral("Red wool\n")));

        // Exported again from the window, it is the same file.
        m_dialogs.fileNames.push_back(qs(m_dir->file("again.yml")));
        m_window->exportAs(OutputEncoding::Utf8);
        QCOMPARE(test::readFile(m_dir->file("again.yml")), test::readFile(COFFERON_TEST_DATA "/worked-example.yml"));
    }

    void importListsWhatItLeftAndRefusesWhatIsNoMenu()
    {
        load(qs(COFFERON_TEST_DATA "/menus/leftovers.yml"));
        QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
        QCOMPARE(m_dialogs.messages[0].caption, QStringLiteral("消息"));
        QVERIFY(
            m_dialogs.messages[0].text.contains(QStringLiteral("\n· 物品“second”与物品“first”都在第 1 格,没有导入")));
        QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("Leftovers"));

        const std::string bad = m_dir->file("list.YAML");
        test::writeFile(bad, "menu-setting:\n  name: x\n- item\n");
        load(qs(bad));
        QCOMPARE(m_dialogs.messages.size(), std::size_t(2));
        QCOMPARE(m_dialogs.messages[1].caption, QStringLiteral("错误"));
        QVERIFY(m_dialogs.messages[1].text.contains(QStringLiteral("不是菜单文件,第 3 行第 1 列")));
        QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("Leftovers"));
        QCOMPARE(m_document.slots[1].id, std::string("1"));
    }

    // A menu file is the whole menu: nothing of the menu before stays.
    void importIntoAWindowInUseKeepsNothingOfTheOldMenu()
    {
        load(qs(COFFERON_TEST_DATA "/worked-example.yml"));
        find<QCheckBox>("右键开启")->setChecked(true);
        const std::string bare = m_dir->file("bare.yml");
        test::writeFile(bare, "menu-setting:\n  name: Bare\n");
        load(qs(bare));
        QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("Bare"));
        QVERIFY(showsHint(find<QLineEdit>("物品ID")));
        QVERIFY(showsHint(find<QLineEdit>("菜单指令")));
        QVERIFY(!find<QCheckBox>("左键开启")->isChecked() && !find<QCheckBox>("右键开启")->isChecked());
        QCOMPARE(find<QComboBox>("行数")->currentIndex(), 5);
        QVERIFY(m_document.slots[1] == SlotRecord{});
        // Written onto the file it came from: nothing of the old menu is added.
        m_dialogs.fileNames.push_back(qs(m_dir->file("again.yml")));
        m_window->exportAs(OutputEncoding::Utf8);
        QCOMPARE(test::readFile(m_dir->file("again.yml")), std::string("menu-setting:\n  name: Bare\n"));
    }

    // 猫 in GBK reads as "è" in UTF-8: the window asks, showing both.
    void aFileThatReadsBothWaysAsksWhichEncoding()
    {
        const std::string path = m_dir->file("cat.yml");
        test::writeFile(path, "menu-setting:\n  name: \xC3\xA8\n");
        setValue(find<QLineEdit>("菜单标题"), QStringLiteral("before"));
        load(qs(path));  // no answer queued: the escape button
        // The first question is whether to save the work before.
        QCOMPARE(m_dialogs.questions.size(), std::size_t(2));
        const auto& asked = m_dialogs.questions[1];
        QCOMPARE(asked.caption, QStringLiteral("选择编码"));
        QVERIFY(asked.text.endsWith(QStringLiteral("\n\nUTF-8:è\nGB2312:猫")));
        QCOMPARE(asked.buttons,
                 QStringList({QStringLiteral("UTF-8"), QStringLiteral("GB2312"), QStringLiteral("取消")}));
        QCOMPARE(asked.defaultButton, 0);
        QCOMPARE(asked.escapeButton, 2);
        QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("before"));
        QVERIFY(m_dialogs.messages.empty());
        QVERIFY(!m_window->history().canUndo());

        m_dialogs.choices = {1};  // 不保存, then GB2312
        load(qs(path));
        QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("猫"));
        QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
        QCOMPARE(m_dialogs.messages[0].text,
                 QStringLiteral("菜单已读取。\n文件按 UTF-8 和 GB2312 读都说得通,已按所选的 GB2312 读取。"));
        m_dialogs.choices = {0};
        load(qs(path));
        QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("è"));

        // Clearly Chinese: no question, and the box says how the file was read.
        test::writeFile(path, "menu-setting:\n  name: \xC4\xA7\xD2\xA9\n");  // 魔药
        load(qs(path));
        QCOMPARE(m_dialogs.questions.size(), std::size_t(5));
        QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("魔药"));
        QCOMPARE(m_dialogs.messages.back().text,
                 QStringLiteral("菜单已读取。\n文件按 UTF-8 和 GB2312 都能读,已按 GB2312 读取。"));
    }

    void theListOfWhatWasLeftStopsAtTwentyLines()
    {
        std::string menu = "menu-setting:\n  name: Many\n";
        for (int i = 1; i <= 25; ++i)
            menu += "stray" + std::to_string(i) + ": 1\n";
        const std::string path = m_dir->file("many.yml");
        test::writeFile(path, menu);
        load(qs(path));
        QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
        const QString text = m_dialogs.messages[0].text;
        QCOMPARE(text.count(QStringLiteral("\n· ")), 20);
        QVERIFY(text.contains(QStringLiteral("\n· 顶层的未知键“stray20”\n……另有 5 项")));
    }
};

COFFERON_GUI_TEST_MAIN(ProjectCommandsTest)
#include "ProjectCommandsTest.moc"
