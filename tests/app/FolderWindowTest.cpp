#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <filesystem>
#include <sstream>

#include "app/gui/MainWindow.h"
#include "folder/core/CheckCli.h"
#include "folder/gui/FolderPanel.h"
#include "preview/gui/PreviewGrid.h"
#include "project/core/Recovery.h"
#include "support/GuiTestMain.h"
#include "support/MainWindowFixture.h"
#include "support/Screenshot.h"
#include "ui/gui/DocText.h"
#include "ui/gui/InputHints.h"

using namespace cofferon;

namespace {

QString qs(const std::string& path)
{
    return QString::fromStdString(path);
}

const QStringList kFolderButtons = {QStringLiteral("全部保存"), QStringLiteral("不保存"), QStringLiteral("取消")};

}  // namespace

// The server's menus folder beside the grid: its menus and problems, the
// work of each menu kept while another is shown, links followed.
class FolderWindowTest : public QObject, public test::MainWindowFixture {
    Q_OBJECT

private:
    std::string m_root;

    void write(const std::string& menu, const std::string& text)
    {
        std::filesystem::create_directories(std::filesystem::path(m_root + "/" + menu).parent_path());
        test::writeFile(m_root + "/" + menu, text);
    }
    void setTitle(const QString& title) { setValue(find<QLineEdit>("菜单标题"), title); }
    QString title() const { return find<QLineEdit>("菜单标题")->text(); }
    std::string shownFile() const { return m_window->currentFile() ? m_window->currentFile()->path : std::string(); }
    QStringList problemLines() const
    {
        QStringList lines;
        auto* list = find<QListWidget>("问题列表");
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
    void renameSlot(int slot, const std::string& name)
    {
        m_window->changeDocument([&] { m_document.slots[slot].name = name; }, false);
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(openWindow(Shown::Active));
        m_root = m_dir->file("menus");
        write("main.yml",
              "menu-setting:\n  name: '&6Main'\n  command: menu\n1:\n  ID: 1\n  POSITION-X: 1\n"
              "  POSITION-Y: 1\n  COMMAND: 'open: shop.yml'\n");
        write("shop/shop.yml",
              "menu-setting:\n  name: Shop\n  command: menu\n1:\n  ID: 264\n  POSITION-X: 1\n"
              "  POSITION-Y: 1\n  PRICE: abc\n  KEEP-OPEN: true\n  COMMAND: 'open: gone.yml'\n");
        write("low.yml",
              "menu-setting:\n  name: Low\n  rows: 3\n1:\n  ID: 1\n  POSITION-X: 5\n  POSITION-Y: 2\n"
              "  PRICE: abc\n");
        m_dialogs.folderNames.push_back(qs(m_root));
        QTest::mouseClick(find<QPushButton>("打开文件夹"), Qt::LeftButton);
    }
    void cleanup() { closeWindow(); }

    // The panel lists the menus by folder and the problems as the check
    // of the folder from the command line reports them.
    void theFolderShowsItsMenusAndTheChecksProblems()
    {
        QVERIFY(find<QGroupBox>("文件夹面板")->isVisible());
        QVERIFY(m_window->width() > find<QGroupBox>("文件夹面板")->geometry().right());
        auto* tree = find<QTreeWidget>("菜单列表");
        QCOMPARE(tree->topLevelItemCount(), 3);  // low.yml, main.yml, and the folder shop/
        std::ostringstream out;
        std::ostringstream err;
        runCheckCli({m_root}, out, err);
        QStringList reported = QString::fromStdString(out.str()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(problemLines(), reported);
        QVERIFY(problemLines().join(QLatin1Char('\n')).contains(QStringLiteral("(open-target)")));
        QVERIFY(problemLines().join(QLatin1Char('\n')).contains(QStringLiteral("(duplicate-command)")));
        test::saveScreenshot(m_window.get(), QStringLiteral("menus-folder"));
    }

    // Another menu shown keeps the work of the one left: its unsaved
    // changes, its undo steps and its mark in the list.
    void switchingKeepsEachMenusWork()
    {
        QVERIFY(m_window->showFolderMenu("main.yml"));
        renameSlot(1, "changed");
        QVERIFY(m_window->showFolderMenu("shop/shop.yml"));
        QCOMPARE(title(), QStringLiteral("Shop"));
        QVERIFY(!m_window->history().canUndo());
        QVERIFY(find<QTreeWidget>("菜单列表")->topLevelItem(1)->text(0).endsWith(QStringLiteral(" *")));
        QCOMPARE(m_window->unsavedMenus(), std::vector<std::string>{"main.yml"});

        QVERIFY(m_window->showFolderMenu("main.yml"));
        QCOMPARE(m_document.slots[1].name, std::string("changed"));
        QVERIFY(m_window->hasUnsavedChanges());
        m_window->undo();
        QCOMPARE(m_document.slots[1].name, std::string());
        QVERIFY(!m_window->hasUnsavedChanges());
    }

    // Closing with unsaved menus asks once, listing them; 全部保存 writes every one.
    void closingAsksOnceForEveryUnsavedMenu()
    {
        QVERIFY(m_window->showFolderMenu("main.yml"));
        setTitle(QStringLiteral("Main menu"));
        QVERIFY(m_window->showFolderMenu("shop/shop.yml"));
        setTitle(QStringLiteral("The shop"));
        m_dialogs.choices = {2};
        QVERIFY(!m_window->close());
        QCOMPARE(m_dialogs.questions.size(), std::size_t(1));
        QCOMPARE(m_dialogs.questions[0].buttons, kFolderButtons);
        QVERIFY(m_dialogs.questions[0].text.contains(QStringLiteral("· main.yml\n· shop/shop.yml")));

        // The recovery file keeps both.
        m_window->writeRecoveryNow();
        std::string recovery;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir->path() / "state")) {
            if (entry.path().extension() == ".ini")
                recovery = test::readFile(entry.path().string());
        }
        const auto kept = readRecoveryText(recovery);
        QVERIFY(kept);
        QCOMPARE(kept->others.size(), std::size_t(1));
        QCOMPARE(kept->folder, m_root);

        m_dialogs.choices = {0};
        QVERIFY(m_window->close());
        QVERIFY(test::readFile(m_root + "/main.yml").find("name: 'Main menu'") != std::string::npos);
        QVERIFY(test::readFile(m_root + "/shop/shop.yml").find("name: The shop") != std::string::npos);
    }

    // A slot whose command opens another menu offers to follow the link,
    // and a problem double-clicked shows its menu with the frame on its slot.
    void linksAndProblemsLeadToTheirMenus()
    {
        QVERIFY(m_window->showFolderMenu("main.yml"));
        m_window->grid()->selectSlot(1);
        auto* follow = find<QMenu>("复制粘贴")->findChild<QAction*>(QStringLiteral("打开链接"));
        Q_EMIT m_window->grid()->slotMenuRequested(QPoint(0, 0));
        QTRY_VERIFY(follow->isVisible());
        QCOMPARE(follow->text(), QStringLiteral("打开“shop.yml”"));
        QVERIFY(m_window->grid()->toolTipRecord(1).lore.ends_with(qtToDoc(QStringLiteral("&8→ 打开“shop.yml”"))));
        find<QMenu>("复制粘贴")->close();
        follow->trigger();
        QCOMPARE(shownFile(), m_root + "/shop/shop.yml");

        QVERIFY(m_window->showFolderMenu("main.yml"));
        auto* problems = find<QListWidget>("问题列表");
        for (int i = 0; i < problems->count(); ++i) {
            if (problems->item(i)->text().startsWith(QStringLiteral("shop/")) &&
                problems->item(i)->text().contains(QStringLiteral("(value)"))) {
                Q_EMIT problems->itemDoubleClicked(problems->item(i));
                break;
            }
        }
        QCOMPARE(shownFile(), m_root + "/shop/shop.yml");
        QCOMPARE(m_document.currentSlot, 1);

        // A slot that fewer rows now hide leaves the frame within the rows shown.
        QVERIFY(m_window->showFolderMenu("low.yml"));
        find<QComboBox>("行数")->setCurrentIndex(0);
        for (int i = 0; i < problems->count(); ++i) {
            if (problems->item(i)->text().startsWith(QStringLiteral("low.yml")))
                Q_EMIT problems->itemDoubleClicked(problems->item(i));
        }
        QVERIFY(m_document.currentSlot <= kColumns);
    }

    // 重命名菜单 renames the file and every link to it, after one question
    // listing the files; unsaved work stays unsaved, its links renamed too.
    void aRenameRewritesEveryLinkToTheMenu()
    {
        QVERIFY(m_window->showFolderMenu("main.yml"));
        setTitle(QStringLiteral("Unsaved"));
        QVERIFY(m_window->showFolderMenu("shop/shop.yml"));
        const std::string mainBefore = test::readFile(m_root + "/main.yml");
        m_dialogs.inputs = {QStringLiteral("store.yml")};
        m_dialogs.choices = {0};
        m_window->renameFolderMenu();
        QVERIFY(m_dialogs.questions.back().text.contains(QStringLiteral("· main.yml")));
        QVERIFY(!std::filesystem::exists(m_root + "/shop/shop.yml"));
        QVERIFY(std::filesystem::exists(m_root + "/shop/store.yml"));
        std::string linked = mainBefore;
        linked.replace(linked.find("open: shop.yml"), 14, "open: store.yml");
        QCOMPARE(test::readFile(m_root + "/main.yml"), linked);
        QCOMPARE(shownFile(), m_root + "/shop/store.yml");
        QCOMPARE(m_window->unsavedMenus(), std::vector<std::string>{"main.yml"});
        QVERIFY(m_window->showFolderMenu("main.yml"));
        QCOMPARE(title(), QStringLiteral("Unsaved"));
        QCOMPARE(m_document.slots[1].command, std::string("open: store.yml"));
    }

    // A menu kept aside only for its undo steps is still saved once the
    // rename rewrote its link.
    void aRenameLeavesASavedMenuSaved()
    {
        QVERIFY(m_window->showFolderMenu("main.yml"));
        renameSlot(3, "changed");
        renameSlot(3, "");
        QVERIFY(!m_window->hasUnsavedChanges() && m_window->history().canUndo());
        QVERIFY(m_window->showFolderMenu("shop/shop.yml"));
        m_dialogs.inputs = {QStringLiteral("store.yml")};
        m_dialogs.choices = {0};
        m_window->renameFolderMenu();
        QVERIFY(m_window->showFolderMenu("main.yml"));
        QCOMPARE(m_document.slots[1].command, std::string("open: store.yml"));
        QVERIFY(!m_window->hasUnsavedChanges());
    }

    // A menu that cannot be shown leaves the one shown as it was: its work,
    // its undo steps, listed once as unsaved.
    void aMenuThatCannotBeShownLeavesTheWorkAsItWas()
    {
        write("bad.yml", "menu-setting: [\n");
        QTRY_COMPARE(find<QTreeWidget>("菜单列表")->topLevelItemCount(), 4);
        QVERIFY(m_window->showFolderMenu("main.yml"));
        renameSlot(1, "changed");
        QVERIFY(!m_window->showFolderMenu("bad.yml"));
        QCOMPARE(shownFile(), m_root + "/main.yml");
        QVERIFY(m_window->history().canUndo());
        QCOMPARE(m_window->unsavedMenus(), std::vector<std::string>{"main.yml"});
    }

    // 全部保存 treats a menu kept aside as Ctrl+S treats the menu shown: what
    // its file cannot hold stays unsaved, and another program's change to
    // its file is not written over unasked.
    void savingAllKeepsWhatAFileLeavesOutAndAsksBeforeOverwriting()
    {
        QVERIFY(m_window->showFolderMenu("main.yml"));
        m_window->changeDocument([&] { m_document.slots[2].name = "no item ID"; }, false);
        QVERIFY(m_window->showFolderMenu("shop/shop.yml"));
        m_dialogs.choices = {0};  // 继续保存
        m_window->saveAll();
        QCOMPARE(m_window->unsavedMenus(), std::vector<std::string>{"main.yml"});

        const std::string theirs = "menu-setting:\n  name: Theirs\n";
        write("main.yml", theirs);
        m_dialogs.questions.clear();
        m_dialogs.choices = {2};  // 取消
        QVERIFY(!m_window->saveAll());
        QCOMPARE(m_dialogs.questions.back().buttons,
                 (QStringList{QStringLiteral("覆盖"), QStringLiteral("重新读取"), QStringLiteral("取消")}));
        QCOMPARE(test::readFile(m_root + "/main.yml"), theirs);
        QCOMPARE(m_window->unsavedMenus(), std::vector<std::string>{"main.yml"});
    }

    // 新建菜单: a file of an empty menu, which then shows.
    void aNewMenuOpens()
    {
        m_dialogs.inputs = {QStringLiteral("new.yml"), QStringLiteral("New"), QStringLiteral("2")};
        m_window->newFolderMenu();
        QCOMPARE(shownFile(), m_root + "/new.yml");
        QCOMPARE(title(), QStringLiteral("New"));
        QCOMPARE(m_window->menuSettings().rowIndex, 1);
        m_dialogs.inputs = {QStringLiteral("MAIN.yml")};
        m_window->newFolderMenu();
        QCOMPARE(m_dialogs.messages.back().caption, QStringLiteral("错误"));
    }

    // A file changed outside shows at once; the menu shown is read again,
    // or, with unsaved work, the user is asked.
    void aFileChangedOutsideShows()
    {
        QVERIFY(m_window->showFolderMenu("main.yml"));
        write("main.yml", "menu-setting:\n  name: Theirs\n  command: main\n");
        write("added.yml", "menu-setting:\n  name: Added\n");
        QTRY_COMPARE(title(), QStringLiteral("Theirs"));
        QTRY_VERIFY(!problemLines().join(QLatin1Char('\n')).contains(QStringLiteral("duplicate-command")));
        QCOMPARE(find<QTreeWidget>("菜单列表")->topLevelItemCount(), 4);

        setTitle(QStringLiteral("Mine"));
        m_dialogs.choices = {0};  // 保留我的修改
        write("main.yml", "menu-setting:\n  name: Theirs again\n");
        QTRY_COMPARE(m_dialogs.questions.size(), std::size_t(1));
        QCOMPARE(m_dialogs.questions[0].buttons,
                 (QStringList{QStringLiteral("保留我的修改"), QStringLiteral("重新读取")}));
        QCOMPARE(title(), QStringLiteral("Mine"));
    }

    // What the tool writes stays watched: a save puts a new file in place
    // of the old; a new menu is a file the watch did not know.
    void aSavedFileStaysWatched()
    {
        QVERIFY(m_window->showFolderMenu("main.yml"));
        setTitle(QStringLiteral("Saved"));
        QVERIFY(m_window->save());
        QTest::qWait(500);  // the watch has seen the save and looked again
        write("main.yml", "menu-setting:\n  name: Theirs\n");
        QTRY_COMPARE(title(), QStringLiteral("Theirs"));
    }
    void aNewMenusFileIsWatched()
    {
        m_dialogs.inputs = {QStringLiteral("new.yml"), QStringLiteral("New"), QStringLiteral("2")};
        m_window->newFolderMenu();
        QTest::qWait(500);
        write("new.yml", "menu-setting:\n  name: Changed\n");
        QTRY_COMPARE(title(), QStringLiteral("Changed"));
    }

    // A menu saved under a new name in the folder joins the list.
    void aMenuSavedAsANewFileJoinsTheList()
    {
        QVERIFY(m_window->showFolderMenu("low.yml"));
        m_dialogs.fileNames.push_back(qs(m_root + "/copy.yml"));
        QVERIFY(m_window->saveAs());
        QTRY_COMPARE(find<QTreeWidget>("菜单列表")->topLevelItemCount(), 4);
    }

    // A menu the walk does not read is not read when it is checked again.
    void aFileTheWalkLeavesIsNotReadAgain()
    {
        write("low.yml", "");
        std::filesystem::resize_file(m_root + "/low.yml", 13'000'000);
        const QString tooLarge = QStringLiteral("low.yml:1:1: [error] 文件超过");
        QTRY_VERIFY(problemLines().join(QLatin1Char('\n')).contains(tooLarge));
        m_window->findChild<FolderPanel*>()->reread("low.yml");
        QVERIFY(problemLines().join(QLatin1Char('\n')).contains(tooLarge));
    }

    // The check runs again on the work as it stands, saved or not.
    void theChecksFollowTheWork()
    {
        QVERIFY(m_window->showFolderMenu("main.yml"));
        const QString before = problemLines().join(QLatin1Char('\n'));
        QVERIFY(before.contains(QStringLiteral("duplicate-command")));
        setValue(find<QLineEdit>("菜单指令"), QStringLiteral("main"));
        QTRY_VERIFY(!problemLines().join(QLatin1Char('\n')).contains(QStringLiteral("duplicate-command")));
    }
};

COFFERON_GUI_TEST_MAIN(FolderWindowTest)

#include "FolderWindowTest.moc"
