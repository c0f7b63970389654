#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include "app/gui/MainWindow.h"
#include "document/core/Codec.h"
#include "menufile/core/MenuEncoding.h"
#include "project/core/ProjectFile.h"
#include "project/core/Recovery.h"
#include "support/GuiTestMain.h"
#include "support/MainWindowFixture.h"
#include "ui/gui/InputHints.h"
#include "ui/gui/RecentFiles.h"

using namespace cofferon;

namespace {

QString qs(const std::string& path)
{
    return QString::fromStdString(path);
}

std::string gb(const char* utf8)
{
    return *utf8ToGb18030(utf8);
}

const QString kAppTitle = QStringLiteral("Cofferon 配置生成器");
const QStringList kCloseButtons = {QStringLiteral("保存"), QStringLiteral("不保存"), QStringLiteral("取消")};

}  // namespace

// The current file, the unsaved mark, the save keys, the question before
// closing and the recovery file, through the window and the dialogs fake.
class SavingTest : public QObject, public test::MainWindowFixture {
    Q_OBJECT

private:
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(m_window->windowHandle(), key, modifiers);
    }
    // The title as the window system shows it, the mark resolved.
    QString shownTitle() const { return m_window->windowHandle()->title(); }
    void setTitle(const QString& text) { setValue(find<QLineEdit>("菜单标题"), text); }
    std::vector<std::string> recoveryFiles() const
    {
        std::vector<std::string> files;
        std::error_code none;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir->path() / "state", none)) {
            if (entry.path().extension() == ".ini")
                files.push_back(entry.path().string());
        }
        return files;
    }
    WholeMenu shownMenu() const { return WholeMenu{m_window->menuSettings(), m_document.slots}; }

private Q_SLOTS:
    void init() { QVERIFY(openWindow(Shown::Active)); }
    void cleanup() { closeWindow(); }

    // Every kind of change sets the mark, and going back to the saved work
    // clears it, undo steps or not; focusing a box changes nothing.
    void theMarkComparesTheWorkWithTheSavedFile()
    {
        // Work without a file is marked as well.
        QCOMPARE(shownTitle(), QStringLiteral("未命名 — ") + kAppTitle);
        for (const bool ticked : {true, false}) {
            find<QCheckBox>("左键开启")->setChecked(ticked);
            QCOMPARE(m_window->hasUnsavedChanges(), ticked);
            QCOMPARE(m_window->isWindowModified(), ticked);
            QCOMPARE(shownTitle(),
                     QStringLiteral("未命名%1 — ").arg(ticked ? QStringLiteral("*") : QString()) + kAppTitle);
        }
        m_document.slots[1] = {.name = "one", .id = "1"};
        m_dialogs.fileNames.push_back(qs(m_dir->file("shop")));
        key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(shownTitle(), QStringLiteral("shop.ini — ") + kAppTitle);
        QCOMPARE(m_window->windowFilePath(), qs(m_dir->file("shop.ini")));

        auto* title = find<QLineEdit>("菜单标题");
        auto* left = find<QCheckBox>("左键开启");
        auto* rows = find<QComboBox>("行数");
        const std::pair<std::function<void()>, bool> steps[] = {
            {[&] { QTest::mouseClick(find<QPushButton>("删除图标"), Qt::LeftButton); }, true},
            {[&] { key(Qt::Key_Z, Qt::ControlModifier); }, false},
            {[&] { key(Qt::Key_Y, Qt::ControlModifier); }, true},
            {[&] { m_window->undo(); }, false},
            {[&] { title->setFocus(); }, false},
            {[&] { QTest::keyClicks(title, QStringLiteral("abc")); }, true},
            {[&] { title->selectAll(), QTest::keyClick(title, Qt::Key_Backspace); }, false},
            {[&] { find<QPushButton>("读取配置")->setFocus(); }, false},
            {[&] { left->setChecked(true); }, true},
            {[&] { left->setChecked(false); }, false},
            {[&] { rows->setCurrentIndex(1); }, true},
            {[&] { rows->setCurrentIndex(5); }, false},
        };
        int step = 0;
        for (const auto& [act, unsaved] : steps) {
            act();
            QVERIFY2(m_window->hasUnsavedChanges() == unsaved, qPrintable(QString::number(step)));
            QCOMPARE(m_window->isWindowModified(), unsaved);
            QCOMPARE(shownTitle(),
                     QStringLiteral("shop.ini%1 — ").arg(unsaved ? QStringLiteral("*") : QString()) + kAppTitle);
            ++step;
        }

        // A project load leaves a box alone whose text the file lacks: the file does not hold it.
        setTitle(QStringLiteral("typed"));
        test::writeFile(m_dir->file("untitled.ini"), "[Setting]\r\nleft=true\r\n");
        m_dialogs.choices.push_back(1);  // 不保存
        QVERIFY(m_window->openFile(qs(m_dir->file("untitled.ini"))));
        QCOMPARE(m_window->menuSettings().title, std::optional<std::string>("typed"));
        QVERIFY(m_window->hasUnsavedChanges());
    }

    void ctrlSWritesTheCurrentFileAsItIs_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("encoding");  // -1: a project file
        QTest::newRow("no file") << QString() << -1;
        QTest::newRow("project") << QStringLiteral("shop.ini") << -1;
        QTest::newRow("menu in UTF-8") << QStringLiteral("shop.yml") << int(OutputEncoding::Utf8);
        QTest::newRow("menu in GB2312") << QStringLiteral("shop.yml") << int(OutputEncoding::Gb2312);
    }

    void ctrlSWritesTheCurrentFileAsItIs()
    {
        QFETCH(QString, file);
        QFETCH(int, encoding);
        WholeMenu menu;
        menu.settings.title = gb("商店");
        menu.slots[2] = {.name = gb("钻石"), .id = "264"};
        std::string path = m_dir->file("new.ini");
        if (!file.isEmpty()) {
            path = m_dir->file(file.toStdString());
            test::writeFile(path,
                            encoding < 0 ? projectText(menu.settings, menu.slots)
                                         : std::get<std::string>(
                                               menuFileBytes(menu.settings, menu.slots, OutputEncoding(encoding))));
            QVERIFY(m_window->openFile(qs(path)));
            QCOMPARE(m_window->currentFile()->encoding, encoding < 0 ? OutputEncoding::Utf8 : OutputEncoding(encoding));
            QVERIFY(!m_window->hasUnsavedChanges());
        }
        setTitle(QStringLiteral("新的商店"));
        QVERIFY(m_window->hasUnsavedChanges());
        m_dialogs.fileNames.push_back(qs(m_dir->file("new")));
        key(Qt::Key_S, Qt::ControlModifier);

        // A name is asked only without a current file, and an encoding never.
        QCOMPARE(m_dialogs.fileFilters.size(), file.isEmpty() ? 1 : 0);
        const WholeMenu now = shownMenu();
        QCOMPARE(test::readFile(path),
                 encoding < 0
                     ? projectText(now.settings, now.slots)
                     : std::get<std::string>(menuFileBytes(now.settings, now.slots, OutputEncoding(encoding))));
        QVERIFY(!m_window->hasUnsavedChanges());
        QCOMPARE(m_window->currentFile()->path, path);
        QCOMPARE(recentFiles().value(0), qs(path));
        QVERIFY(shownTitle().startsWith(QFileInfo(qs(path)).fileName() + QStringLiteral(" — ")));
    }

    // Ctrl+Shift+S always asks, for a file of the current kind; Ctrl+O opens.
    void ctrlShiftSAsksForANameAndCtrlOOpens()
    {
        setTitle(QStringLiteral("T"));
        m_dialogs.fileNames.push_back(qs(m_dir->file("a.yml")));
        m_window->exportAs(OutputEncoding::Gb2312);
        m_dialogs.fileNames.push_back(qs(m_dir->file("b")));
        key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_dialogs.fileFilters.last(), QStringLiteral("yaml(*.yml)|*.yml"));
        QCOMPARE(m_window->currentFile(), (CurrentFile{m_dir->file("b.yml"), FileKind::Menu, OutputEncoding::Gb2312}));

        test::writeFile(m_dir->file("c.ini"), "[Setting]\r\ntitle=C\r\n");
        m_dialogs.fileNames.push_back(qs(m_dir->file("c.ini")));
        key(Qt::Key_O, Qt::ControlModifier);
        QVERIFY(m_dialogs.fileFilters.last().contains(QStringLiteral("*.yaml")));
        QCOMPARE(m_window->currentFile(), (CurrentFile{m_dir->file("c.ini"), FileKind::Project}));
        m_dialogs.fileNames.push_back(qs(m_dir->file("d")));
        key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_window->currentFile()->path, m_dir->file("d.ini"));

        // "保存为yml" offers a menu file's own encoding first.
        m_dialogs.fileNames.push_back(qs(m_dir->file("e.yml")));
        m_window->exportAs(OutputEncoding::Gb2312);
        QTest::mouseClick(find<QPushButton>("生成yml"), Qt::LeftButton);
        QTRY_VERIFY(QApplication::activePopupWidget());
        const QAction* offered = find<QMenu>("输出格式")->activeAction();
        QVERIFY(offered);
        QCOMPARE(offered->text(), QStringLiteral("GB2312"));
        find<QMenu>("输出格式")->close();
    }

    // Before a menu file is written, one box names what it leaves out; its
    // default keeps the old file. What is left out stays unsaved work.
    void theMenuFilesOmissionsAreAskedAbout()
    {
        const std::string path = m_dir->file("shop.yml");
        test::writeFile(path, "old");
        setTitle(QStringLiteral("T"));
        find<QComboBox>("行数")->setCurrentIndex(1);
        m_document.slots[41].id = "1";
        m_dialogs.fileNames = {qs(path), qs(path)};
        QVERIFY(!m_window->exportAs(OutputEncoding::Utf8));
        QCOMPARE(m_dialogs.questions.size(), std::size_t(1));
        const test::FakeDialogs::Question& asked = m_dialogs.questions.back();
        QCOMPARE(asked.caption, QStringLiteral("提示"));
        QVERIFY(asked.text.contains(QStringLiteral("\n· 第 41 格在第 5 行,菜单只显示 2 行,不会写入")));
        QCOMPARE(asked.buttons, (QStringList{QStringLiteral("继续保存"), QStringLiteral("取消")}));
        QCOMPARE(asked.defaultButton, 1);
        QCOMPARE(asked.escapeButton, 1);
        QCOMPARE(test::readFile(path), std::string("old"));

        m_dialogs.choices.push_back(0);
        QVERIFY(m_window->exportAs(OutputEncoding::Utf8));
        QVERIFY(test::readFile(path).find("rows: 2") != std::string::npos);
        QVERIFY(m_window->hasUnsavedChanges());
        QCOMPARE(shownTitle(), QStringLiteral("shop.yml* — ") + kAppTitle);
    }

    void closingAsksOnlyWithUnsavedChanges_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QList<int>>("answers");  // none: the escape button
        QTest::addColumn<bool>("nameGiven");
        QTest::addColumn<bool>("closed");
        QTest::newRow("no changes") << false << QList<int>{} << false << true;
        QTest::newRow("保存") << true << QList<int>{0} << true << true;
        QTest::newRow("保存, dialog cancelled") << true << QList<int>{0} << false << false;
        QTest::newRow("不保存") << true << QList<int>{1} << false << true;
        QTest::newRow("取消") << true << QList<int>{2} << false << false;
        QTest::newRow("Esc") << true << QList<int>{} << false << false;
    }

    void closingAsksOnlyWithUnsavedChanges()
    {
        QFETCH(bool, changed);
        QFETCH(QList<int>, answers);
        QFETCH(bool, nameGiven);
        QFETCH(bool, closed);
        if (changed) {
            setTitle(QStringLiteral("T"));
            m_window->writeRecoveryNow();
            QCOMPARE(recoveryFiles().size(), std::size_t(1));
        }
        m_dialogs.choices.assign(answers.begin(), answers.end());
        m_dialogs.fileNames.push_back(nameGiven ? std::optional(qs(m_dir->file("saved"))) : std::nullopt);

        QCOMPARE(m_window->close(), closed);
        QCOMPARE(m_dialogs.questions.size(), std::size_t(changed ? 1 : 0));
        if (changed) {
            const test::FakeDialogs::Question& asked = m_dialogs.questions.back();
            QCOMPARE(asked.text, QStringLiteral("保存对当前配置的更改吗?"));
            QCOMPARE(asked.buttons, kCloseButtons);
            QCOMPARE(asked.defaultButton, 0);
            QCOMPARE(asked.escapeButton, 2);
        }
        QCOMPARE(std::filesystem::exists(m_dir->file("saved.ini")), nameGiven);
        // A window that stays keeps its recovery file; a closed one leaves none.
        QCOMPARE(recoveryFiles().size(), std::size_t(changed && !closed ? 1 : 0));
    }

    // The end of the session asks as closing does; where it may not ask, the
    // work stays in the recovery file and the window closes without a word.
    void theSessionsEndKeepsTheWork()
    {
        setTitle(QStringLiteral("T"));
        m_dialogs.choices = {2};
        QVERIFY(!m_window->commitData(true));
        QCOMPARE(m_dialogs.questions.back().buttons, kCloseButtons);

        // A session end called off: a change made since asks again at closing.
        QVERIFY(m_window->commitData(false));
        setTitle(QStringLiteral("U"));
        m_dialogs.choices = {2};
        QVERIFY(!m_window->close());
        setTitle(QStringLiteral("T"));

        QVERIFY(m_window->commitData(false));
        QCOMPARE(recoveryFiles().size(), std::size_t(1));
        QVERIFY(m_window->close());
        QCOMPARE(m_dialogs.questions.size(), std::size_t(2));
        QCOMPARE(recoveryFiles().size(), std::size_t(1));
        const auto kept = readRecoveryText(test::readFile(recoveryFiles().front()));
        QVERIFY(kept);
        QCOMPARE(kept->menu.settings.title, std::optional<std::string>("T"));
    }

    // After a pause in typing the work is in the recovery file, with the
    // current file; saving, or undoing back to the saved work, removes it.
    void theRecoveryFileFollowsTheWork()
    {
        const std::string path = m_dir->file("shop.ini");
        test::writeFile(path, "[Setting]\r\ntitle=Shop\r\n");
        QVERIFY(m_window->openFile(qs(path)));
        QVERIFY(recoveryFiles().empty());
        QTest::mouseClick(find<QCheckBox>("右键开启"), Qt::LeftButton);
        QVERIFY(recoveryFiles().empty());  // not while the user is still at it
        QTRY_COMPARE_WITH_TIMEOUT(recoveryFiles().size(), std::size_t(1), 5000);
        const auto kept = readRecoveryText(test::readFile(recoveryFiles().front()));
        QVERIFY(kept);
        QCOMPARE(kept->menu, shownMenu());
        QCOMPARE(kept->file, (CurrentFile{path, FileKind::Project}));

        QTest::mouseClick(find<QCheckBox>("右键开启"), Qt::LeftButton);
        QVERIFY(recoveryFiles().empty());
        QTest::mouseClick(find<QCheckBox>("右键开启"), Qt::LeftButton);
        m_window->writeRecoveryNow();
        QCOMPARE(recoveryFiles().size(), std::size_t(1));
        key(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(recoveryFiles().empty());

        // Typing on without a pause as long as the one that writes: the file
        // is there by the longest wait all the same.
        QElapsedTimer typing;
        typing.start();
        for (int change = 0; recoveryFiles().empty() && typing.elapsed() < 5000; ++change) {
            setTitle(QString::number(change));
            QTest::qWait(600);
        }
        QVERIFY2(!recoveryFiles().empty(), "not written while the typing went on");
    }

    void workOfACrashedProgramIsOffered_data()
    {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("restored");
        QTest::newRow("Return: 恢复") << QList<int>{0} << true;
        QTest::newRow("Esc restores too") << QList<int>{} << true;
        QTest::newRow("不恢复") << QList<int>{1} << false;
    }

    void workOfACrashedProgramIsOffered()
    {
        QFETCH(QList<int>, answers);
        QFETCH(bool, restored);
        WholeMenu lost;
        lost.settings.title = "Lost";
        lost.settings.rowIndex = 1;
        lost.slots[3] = {.name = "three", .id = "35:3"};
        const CurrentFile file{m_dir->file("shop.yml"), FileKind::Menu, OutputEncoding::Gb2312};
        {
            // A program that ends without cleaning up: its lock is gone, its file stays.
            auto crashed = std::get<RecoveryFile>(RecoveryFile::claim(m_dir->file("state")));
            QVERIFY(!crashed.write(recoveryText(lost, file)));
        }
        m_dialogs.choices.assign(answers.begin(), answers.end());
        QCOMPARE(m_window->offerRecovery(), restored);
        QCOMPARE(m_dialogs.questions.size(), std::size_t(1));
        QVERIFY(m_dialogs.questions[0].text.contains(QStringLiteral("“shop.yml”")));
        QCOMPARE(m_dialogs.questions[0].buttons, (QStringList{QStringLiteral("恢复"), QStringLiteral("不恢复")}));
        QCOMPARE(m_dialogs.questions[0].defaultButton, 0);
        if (restored) {
            QCOMPARE(shownMenu(), lost);
            QCOMPARE(m_window->currentFile(), file);
            QVERIFY(m_window->hasUnsavedChanges());
            QCOMPARE(shownTitle(), QStringLiteral("shop.yml* — ") + kAppTitle);
            // Now kept as this window's own work, and offered to no one else.
            QCOMPARE(recoveryFiles().size(), std::size_t(1));
            QVERIFY(RecoveryFile::abandoned(m_dir->file("state")).empty());
            // The file holds none of it yet: it is a recent file once saved.
            QVERIFY(!recentFiles().contains(qs(file.path)));
            key(Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(recentFiles().value(0), qs(file.path));
        } else {
            QVERIFY(!m_window->menuSettings().title && m_document.slots[3] == SlotRecord{});
            QVERIFY(!m_window->currentFile() && !m_window->hasUnsavedChanges());
            QVERIFY(recoveryFiles().empty());
        }
        QVERIFY(!m_window->offerRecovery());
    }

    // Two windows keep two files, and neither is offered while both run.
    void twoWindowsKeepTwoRecoveryFiles()
    {
        Document otherDocument;
        test::FakeDialogs otherDialogs;
        {
            MainWindow other(otherDocument, otherDialogs);
            setValue(test::child<QLineEdit>(&other, "菜单标题"), QStringLiteral("other"));
            other.writeRecoveryNow();
            setTitle(QStringLiteral("this"));
            m_window->writeRecoveryNow();
            QCOMPARE(recoveryFiles().size(), std::size_t(2));
            QVERIFY(!m_window->offerRecovery());
            QVERIFY(m_dialogs.questions.empty());
        }
        // The other window's program is gone now; its work is offered.
        m_dialogs.choices = {1};
        QVERIFY(!m_window->offerRecovery());
        QCOMPARE(m_dialogs.questions.size(), std::size_t(1));
        QCOMPARE(recoveryFiles().size(), std::size_t(1));
    }

    // A file opened by mistake is shown as the project it reads as, but it
    // is no current file: Ctrl+S asks rather than write over it.
    void onlyProjectAndMenuFilesBecomeTheCurrentFile()
    {
        const std::string picture = m_dir->file("35-14.bmp");
        test::writeFile(picture, "BM\x01\x02");
        QVERIFY(m_window->openFile(qs(picture)));
        QVERIFY(!m_window->currentFile());
        setTitle(QStringLiteral("T"));
        key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(m_dialogs.fileFilters, QStringList{QStringLiteral("配置文件(*.ini)|*.ini")});
        QCOMPARE(test::readFile(picture), std::string("BM\x01\x02"));

        test::writeFile(m_dir->file("OLD.INI"), "[Setting]\r\ntitle=Old\r\n");
        m_dialogs.choices.push_back(1);  // 不保存
        QVERIFY(m_window->openFile(qs(m_dir->file("OLD.INI"))));
        QCOMPARE(m_window->currentFile(), (CurrentFile{m_dir->file("OLD.INI"), FileKind::Project}));
    }

    // A file named on the command line opens as "读取配置" opens it; a
    // missing one is an error and the window stays empty.
    void aFileFromTheCommandLineOpens()
    {
        QVERIFY(!m_window->openFile(qs(m_dir->file("missing.yml"))));
        QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
        QCOMPARE(m_dialogs.messages[0].caption, QStringLiteral("错误"));
        QVERIFY(m_dialogs.messages[0].text.contains(QStringLiteral("missing.yml”:文件不存在")));
        QVERIFY(!m_window->currentFile() && !m_window->hasUnsavedChanges());
        QCOMPARE(m_window->history().canUndo(), false);

        test::writeFile(m_dir->file("menu.yml"),
                        "menu-setting:\n  name: 'Hi'\n  rows: 1\n1:\n  ID: 1\n  POSITION-X: 1\n  POSITION-Y: 1\n");
        const QString working = QDir::currentPath();
        QDir::setCurrent(qs(m_dir->path().string()));
        QVERIFY(m_window->openFile(QStringLiteral("menu.yml")));
        QDir::setCurrent(working);
        QCOMPARE(m_window->currentFile(), (CurrentFile{m_dir->file("menu.yml"), FileKind::Menu}));
        QCOMPARE(m_window->menuSettings().title, std::optional<std::string>("Hi"));
        QCOMPARE(m_document.slots[1].id, std::string("1"));
    }
};

COFFERON_GUI_TEST_MAIN(SavingTest)
#include "SavingTest.moc"
