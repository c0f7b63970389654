#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include <functional>

#include "app/gui/MainWindow.h"
#include "document/core/Codec.h"
#include "editor/gui/SlotEditor.h"
#include "menufile/core/MenuOnto.h"
#include "preview/gui/PreviewGrid.h"
#include "project/core/Recovery.h"
#include "support/GuiTestMain.h"
#include "support/MainWindowFixture.h"
#include "ui/gui/InputHints.h"

using namespace cofferon;

namespace {

QString qs(const std::string& path)
{
    return QString::fromStdString(path);
}

const std::string kKept = test::readFile(COFFERON_TEST_DATA "/menus/kept-by-hand.yml");

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    return at == std::string::npos ? "(no " + from + ")" : text.replace(at, from.size(), to);
}

const QStringList kSaveButtons = {QStringLiteral("保存"), QStringLiteral("不保存"), QStringLiteral("取消")};

}  // namespace

// A menu file from disk is written back onto its own text, and no open or
// undo loses work.
class WritingOntoTest : public QObject, public test::MainWindowFixture {
    Q_OBJECT

private:
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_window->windowHandle(), key, modifiers);
    }
    std::string openKept(const std::string& bytes = kKept)
    {
        const std::string path = m_dir->file("shop.yml");
        test::writeFile(path, bytes);
        if (!m_window->openFile(qs(path)))
            return {};
        m_dialogs.messages.clear();
        return path;
    }
    // The slot editor on `slot`, its name box set to `name`, stored.
    void rename(int slot, const QString& name)
    {
        m_window->grid()->selectSlot(slot);
        QTimer::singleShot(0, [name] {
            auto* editor = qobject_cast<SlotEditor*>(QApplication::activeModalWidget());
            setValue(test::child<QLineEdit>(editor, "物品名称"), name);
            QVERIFY(editor->storeSlotEditor());
        });
        m_window->openSlotEditor();
        // As the window system does when the editor closes.
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

private Q_SLOTS:
    void init() { QVERIFY(openWindow(Shown::Active)); }
    void cleanup() { closeWindow(); }

    // Ctrl+S on a menu kept by hand changes exactly what changed, and says
    // nothing: the title's mark is the answer.
    void ctrlSWritesOnlyWhatChanged()
    {
        struct Row {
            const char* what;
            std::function<void(WritingOntoTest&)> change;
            std::string expected;
        };
        const Row rows[] = {
            {"the title",
             [](WritingOntoTest& t) { setValue(t.find<QLineEdit>("菜单标题"), QStringLiteral("&6Market")); },
             replaced(kKept, "'&6Shop'", "'&6Market'")},
            {"a name through the slot editor", [](WritingOntoTest& t) { t.rename(27, QStringLiteral("&cHome")); },
             replaced(kKept, "    &cBack", "    &cHome")},
            {"a drag: the blocks keep their names, only the positions change",
             [](WritingOntoTest& t) {
                 t.m_window->changeDocument([&t] { t.m_document.slots.swapSlots(1, 15); }, false);
             },
             replaced(replaced(kKept, "POSITION-X: 1\n  POSITION-Y: 1\n", "POSITION-X: 6\n  POSITION-Y: 2\n"),
                      "POSITION-X: 6, POSITION-Y: 2", "POSITION-X: 1, POSITION-Y: 1")},
        };
        for (const Row& row : rows) {
            const std::string path = openKept();
            row.change(*this);
            key(Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(test::readFile(path), row.expected);
            QVERIFY2(m_dialogs.messages.empty(), row.what);
            QVERIFY2(!m_window->hasUnsavedChanges(), row.what);
            // And again: the file written is what the next change is written onto.
            setValue(find<QLineEdit>("菜单指令"), QStringLiteral("market"));
            key(Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(test::readFile(path), replaced(row.expected, "command: shop", "command: market"));
        }
    }

    // "保存为yml" in the other encoding converts the whole text; to another
    // name, the file read stays as it was.
    void anotherNameOrEncodingKeepsTheText()
    {
        const std::string path = openKept(replaced(kKept, "&6Shop", "&6商店"));
        m_dialogs.fileNames.push_back(qs(m_dir->file("gbk.yml")));
        QVERIFY(m_window->exportAs(OutputEncoding::Gb2312));
        QCOMPARE(test::readFile(m_dir->file("gbk.yml")), *utf8ToGb18030(test::readFile(path)));
        QCOMPARE(m_window->currentFile()->encoding, OutputEncoding::Gb2312);
        QVERIFY(m_dialogs.messages.empty());
    }

    // Another program changed the file since it was read: Ctrl+S asks.
    void aFileChangedOnDiskIsAskedAbout()
    {
        struct Row {
            int answer;
            const char* fileAfter;  // what the file holds after Ctrl+S
            const char* titleAfter;
        };
        const Row rows[] = {
            {2, "changed", "Mine"},  // 取消, also Esc
            {1, "changed", "Theirs"},  // 重新读取
            {0, "mine", "Mine"},  // 覆盖
        };
        for (const Row& row : rows) {
            const std::string path = openKept();
            setValue(find<QLineEdit>("菜单标题"), QStringLiteral("Mine"));
            const std::string theirs = replaced(kKept, "&6Shop", "Theirs");
            test::writeFile(path, theirs);
            m_dialogs.choices = {row.answer};
            key(Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(m_dialogs.questions.back().text, QStringLiteral("“shop.yml”在打开后被其他程序改过"));
            QCOMPARE(m_dialogs.questions.back().buttons,
                     (QStringList{QStringLiteral("覆盖"), QStringLiteral("重新读取"), QStringLiteral("取消")}));
            QCOMPARE(m_dialogs.questions.back().escapeButton, 2);
            // Overwritten, the file holds the work as written onto the file as it was read.
            QCOMPARE(test::readFile(path),
                     std::string(row.fileAfter) == "mine" ? replaced(kKept, "'&6Shop'", "'Mine'") : theirs);
            QCOMPARE(find<QLineEdit>("菜单标题")->text(), QString::fromUtf8(row.titleAfter));
            m_dialogs.choices = {1};
        }
    }

    // Every route that replaces the work asks first, as closing does.
    void openingOverUnsavedWorkAsks()
    {
        const std::string other = m_dir->file("other.yml");
        test::writeFile(other, "menu-setting:\n  name: Other\n");
        const std::function<void()> routes[] = {
            [&] {
                m_dialogs.fileNames.push_back(qs(other));
                QTest::mouseClick(find<QPushButton>("读取配置"), Qt::LeftButton);
            },
            [&] {
                m_dialogs.fileNames.push_back(qs(other));
                key(Qt::Key_O, Qt::ControlModifier);
            },
            [&] { m_window->openFile(qs(other)); },
        };
        for (const auto& route : routes) {
            const std::string path = openKept();
            setValue(find<QLineEdit>("菜单标题"), QStringLiteral("Unsaved"));
            m_window->writeRecoveryNow();
            m_dialogs.choices = {2};  // 取消: the work, its file and its recovery file stay
            m_dialogs.fileNames.clear();
            route();
            m_dialogs.fileNames.clear();
            QCOMPARE(m_dialogs.questions.back().text, QStringLiteral("保存对当前配置的更改吗?"));
            QCOMPARE(m_dialogs.questions.back().buttons, kSaveButtons);
            QCOMPARE(find<QLineEdit>("菜单标题")->text(), QStringLiteral("Unsaved"));
            QCOMPARE(m_window->currentFile()->path, path);
            QVERIFY(m_window->hasUnsavedChanges());
            QVERIFY(!std::filesystem::is_empty(m_dir->path() / "state"));

            m_dialogs.choices = {0};  // 保存, then the file opens
            route();
            QCOMPARE(test::readFile(path), replaced(kKept, "'&6Shop'", "'Unsaved'"));
            QCOMPARE(m_window->currentFile()->path, other);
            QVERIFY(!m_window->history().canUndo());
        }
    }

    // Work restored after a crash is still written onto its own file, its
    // items keeping their blocks where they moved.
    void restoredWorkIsWrittenOntoItsFile()
    {
        const std::string path = m_dir->file("shop.yml");
        test::writeFile(path, kKept);
        const auto read = std::get<ImportedMenu>(importMenuText(kKept));
        WholeMenu lost = menuToEdit(read);
        lost.settings.title = "Restored";
        lost.slots.swapSlots(1, 3);
        {
            // A program that ends without cleaning up: its lock is gone, its file stays.
            auto crashed = std::get<RecoveryFile>(RecoveryFile::claim(m_dir->file("state")));
            QVERIFY(!crashed.write(recoveryText(lost, CurrentFile{path, FileKind::Menu}, kKept)));
        }
        QVERIFY(m_window->offerRecovery());
        key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(test::readFile(path),
                 replaced(replaced(kKept, "'&6Shop'", "'Restored'"), "POSITION-X: 1\n", "POSITION-X: 3\n"));
    }
};

COFFERON_GUI_TEST_MAIN(WritingOntoTest)

#include "WritingOntoTest.moc"
