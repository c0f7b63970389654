#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <unistd.h>

#include "app/gui/MainWindow.h"
#include "document/core/Codec.h"
#include "support/FailingWrite.h"
#include "support/GuiTestMain.h"
#include "support/MainWindowFixture.h"
#include "support/TempDir.h"
#include "ui/gui/InputHints.h"

using namespace cofferon;

namespace {

std::string gb(const char* utf8)
{
    return *utf8ToGb18030(utf8);
}

QString qs(const std::string& path)
{
    return QString::fromStdString(path);
}

}  // namespace

class ExportCommandTest : public QObject, public test::MainWindowFixture {
    Q_OBJECT

private:
    void setTitle(const QString& title) { setValue(find<QLineEdit>("菜单标题"), title); }

    void exportTo(const std::optional<QString>& answer, OutputEncoding encoding)
    {
        m_dialogs.fileNames.push_back(answer);
        m_window->exportAs(encoding);
    }

    bool confirmed() const
    {
        return !m_dialogs.messages.empty() && m_dialogs.messages.back().caption == QStringLiteral("消息") &&
            m_dialogs.messages.back().text == QStringLiteral("配置已生成") &&
            m_dialogs.messages.back().icon == MessageIcon::Information;
    }

    QString lastError() const
    {
        if (m_dialogs.messages.empty() || m_dialogs.messages.back().caption != QStringLiteral("错误") ||
            m_dialogs.messages.back().icon != MessageIcon::Warning)
            return {};
        return m_dialogs.messages.back().text;
    }

private Q_SLOTS:
    void init() { QVERIFY(openWindow(Shown::No)); }

    void cleanup() { closeWindow(); }

    void workedExampleIsWrittenFromTheWindow()
    {
        setTitle(QStringLiteral("&6Shop"));
        find<QComboBox>("行数")->setCurrentIndex(2);
        setValue(find<QLineEdit>("菜单指令"), QStringLiteral("shop"));
        setValue(find<QLineEdit>("物品ID"), QStringLiteral("345"));
        find<QCheckBox>("左键开启")->setChecked(true);
        SlotTable& slots = m_document.slots;
        slots[1] = {.lore = "&7Line one\r\n&7Line two",
                    .name = "&cRed wool",
                    .id = "35:14",
                    .command = "tell: &aHi\r\nop:say hi",
                    .keepOpen = "true",
                    .money = "10"};
        slots[5] = {.name = "&eHead", .id = "397:3", .head = "SomePlayer"};
        slots[12] = {.id = "299", .color = "255, 0, 0"};
        slots[30] = {.id = "1"};

        const std::string expected = test::readFile(COFFERON_TEST_DATA "/worked-example.yml");
        for (auto encoding : {OutputEncoding::Utf8, OutputEncoding::Gb2312}) {
            const std::string path = m_dir->file(encoding == OutputEncoding::Utf8 ? "utf8.yml" : "gb.yml");
            m_dialogs.choices.push_back(0);  // 继续保存: slot 30 lies below the three rows
            exportTo(qs(path), encoding);
            QVERIFY(confirmed());
            QCOMPARE(test::readFile(path), expected);
            QVERIFY(
                m_dialogs.questions.back().text.contains(QStringLiteral("第 30 格在第 4 行,菜单只显示 3 行,不会写入")));
        }
        QCOMPARE(m_dialogs.fileFilters.value(0), QStringLiteral("yaml(*.yml)|*.yml"));
    }

    void theChosenNameGainsYmlUnlessItEndsInIt()
    {
        setTitle(QStringLiteral("T"));
        const std::pair<const char*, const char*> names[] = {
            {"menu", "menu.yml"}, {"menu2.yml", "menu2.yml"}, {"menu.YML", "menu.YML.yml"}};
        for (const auto& [chosen, written] : names) {
            exportTo(qs(m_dir->file(chosen)), OutputEncoding::Utf8);
            QVERIFY(confirmed());
            QVERIFY2(std::filesystem::exists(m_dir->file(written)), written);
        }
        QVERIFY(!std::filesystem::exists(m_dir->file("menu.YML")));
    }

    void chineseTakesTwoBytesInGb2312AndThreeInUtf8WithoutBom()
    {
        setTitle(QStringLiteral("商店菜单"));
        exportTo(qs(m_dir->file("gb.yml")), OutputEncoding::Gb2312);
        exportTo(qs(m_dir->file("utf8.yml")), OutputEncoding::Utf8);
        const std::string gbFile = test::readFile(m_dir->file("gb.yml"));
        const std::string utf8File = test::readFile(m_dir->file("utf8.yml"));
        const std::string ascii = "menu-setting:\r\n  name: ''\r\n  rows: 6\r\n";
        QCOMPARE(gbFile.size(), ascii.size() + 4 * 2);
        QCOMPARE(utf8File.size(), ascii.size() + 4 * 3);
        QCOMPARE(gbFile, "menu-setting:\r\n  name: '" + gb("商店菜单") + "'\r\n  rows: 6\r\n");
        QCOMPARE(utf8File, std::string("menu-setting:\r\n  name: '商店菜单'\r\n  rows: 6\r\n"));
        QVERIFY(utf8File.rfind("\xEF\xBB\xBF", 0) != 0);
    }

    void refusalsWriteNothing()
    {
        // The dialog comes first; the writer refuses after a name is chosen.
        exportTo(qs(m_dir->file("a.yml")), OutputEncoding::Utf8);
        QCOMPARE(lastError(), QStringLiteral("需要菜单标题"));
        setTitle(QStringLiteral("T"));
        setValue(find<QLineEdit>("物品ID"), QStringLiteral("0:1"));
        exportTo(qs(m_dir->file("a.yml")), OutputEncoding::Gb2312);
        QCOMPARE(lastError(), QStringLiteral("无效的物品ID"));
        QCOMPARE(m_dialogs.messages.size(), std::size_t(2));
        QVERIFY(std::filesystem::is_empty(m_dir->path()));
    }

    void cancelledOrEmptyNameDoesNothing()
    {
        setTitle(QStringLiteral("T"));
        exportTo(std::nullopt, OutputEncoding::Utf8);
        exportTo(QString(), OutputEncoding::Utf8);
        QVERIFY(m_dialogs.messages.empty());
        QVERIFY(std::filesystem::is_empty(m_dir->path()));
    }

    void gb2312RefusesCharactersGbkCannotHold()
    {
        setTitle(QStringLiteral("T"));
        m_document.slots[1] = {.name = gb("笑😀"), .id = "1"};
        const std::string path = m_dir->file("menu.yml");
        test::writeFile(path, "old");
        exportTo(qs(path), OutputEncoding::Gb2312);
        QVERIFY(lastError().contains(QStringLiteral("UTF-8")));
        QVERIFY(lastError().contains(QStringLiteral("😀")));
        QCOMPARE(test::readFile(path), std::string("old"));

        exportTo(qs(path), OutputEncoding::Utf8);
        QVERIFY(confirmed());
        QVERIFY(test::readFile(path).find("NAME: '笑😀'") != std::string::npos);
    }

    void failedWriteIsReportedAndKeepsTheOldFile()
    {
        setTitle(QStringLiteral("T"));
        const std::string missing = m_dir->file("no-such-folder/menu.yml");
        exportTo(qs(missing), OutputEncoding::Utf8);
        QVERIFY(lastError().contains(qs(missing)));
        QVERIFY(lastError().endsWith(QStringLiteral(":文件夹不存在\n配置未生成。")));
        QVERIFY(!confirmed());
        QVERIFY(!std::filesystem::exists(missing));

        const std::string path = m_dir->file("menu.yml");
        test::writeFile(path, "the old menu");
        m_window->setWriteFunction(test::failAfter(3));
        m_dialogs.messages.clear();
        exportTo(qs(path), OutputEncoding::Gb2312);
        QVERIFY(lastError().contains(qs(path)));
        QVERIFY(lastError().endsWith(QStringLiteral(":磁盘已满\n配置未生成。")));
        QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
        QCOMPARE(test::readFile(path), std::string("the old menu"));
        QCOMPARE(std::distance(std::filesystem::directory_iterator(m_dir->path()), {}), 1);
    }

    void popupEntriesRunTheirExports()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        setTitle(QStringLiteral("T"));
        auto* menu = find<QMenu>("输出格式");
        for (const char* entry : {"UTF-8", "GB2312"}) {
            const std::string path = m_dir->file(std::string(entry) + ".yml");
            m_dialogs.fileNames.push_back(qs(path));
            QTest::mouseClick(find<QPushButton>("生成yml"), Qt::LeftButton);
            QTRY_VERIFY(menu->isVisible());
            menu->findChild<QAction*>(QString::fromUtf8(entry))->trigger();
            menu->close();
            QVERIFY2(std::filesystem::exists(path), entry);
        }
    }
};

COFFERON_GUI_TEST_MAIN(ExportCommandTest)
#include "ExportCommandTest.moc"
