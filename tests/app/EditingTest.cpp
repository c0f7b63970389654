#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>

#include "app/gui/MainWindow.h"
#include "editor/gui/SlotEditor.h"
#include "preview/core/GridGeometry.h"
#include "preview/core/StarterIcons.h"
#include "preview/gui/PreviewGrid.h"
#include "project/core/ProjectFile.h"
#include "support/Controls.h"
#include "support/GuiTestMain.h"
#include "support/MainWindowFixture.h"
#include "support/Screenshot.h"
#include "support/TempDir.h"
#include "ui/gui/DocText.h"
#include "ui/gui/InputHints.h"

using namespace cofferon;

// Undo and redo, drag and drop on the grid, its keys and its tooltips, all
// through real mouse and key events on the main window.
class EditingTest : public QObject, public test::MainWindowFixture {
    Q_OBJECT

private:
    SlotCell* cell(int slot) const { return m_window->grid()->cell(slot); }
    QImage picture(int slot) const { return cell(slot)->pixmap().toImage(); }
    QString preview() const { return find<QTextEdit>("效果预览")->toPlainText(); }
    QPoint centre(int slot) const { return cell(slot)->mapTo(m_window.get(), QPoint(16, 16)); }

    void fill(int slot, const char* name, const char* id = "1")
    {
        m_document.slots[slot] = {.name = name, .id = id};
        m_window->refreshCell(slot);
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_window->windowHandle(), static_cast<Qt::Key>(key), modifiers);
    }
    void click(int slot) { QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, centre(slot)); }

    // Press on one cell, move past the drag distance and on to the other, release there.
    void drag(int from, int to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWindow* window = m_window->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, centre(from));
        QTest::mouseMove(window, centre(from) + QPoint(QApplication::startDragDistance() + 2, 0));
        QTest::mouseMove(window, centre(to));
        QTest::mouseRelease(window, Qt::LeftButton, modifiers, centre(to));
    }

    // Runs `act` on the slot editor once it is open, then lets it close.
    void whenEditorOpens(std::function<void(SlotEditor*)> act)
    {
        QTimer::singleShot(0, this, [act] {
            auto* editor = qobject_cast<SlotEditor*>(QApplication::activeModalWidget());
            QVERIFY(editor);
            act(editor);
            if (editor->isVisible())
                editor->reject();
        });
    }

    // The tooltip is a window of its own, so the picture is taken of the
    // screen (run under a window system for it to hold both).
    void saveScreenGrab(const QString& name)
    {
        const QString folder = qEnvironmentVariable("COFFERON_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        QTest::qWait(300);
        QRect area = m_window->frameGeometry();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->inherits("QTipLabel"))
                area = area.united(top->geometry());
        }
        QScreen* screen = m_window->screen();
        screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
            .save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }

private Q_SLOTS:
    void init() { QVERIFY(openWindow(Shown::Active)); }

    void cleanup() { closeWindow(); }

    void dragMovesOrCopiesAndAShortPressOnlySelects()
    {
        fill(3, "three", "35:1");
        fill(12, "twelve", "35:2");
        const QImage three = picture(3);
        const QImage twelve = picture(12);

        drag(3, 12);  // the two slots change places: nothing is overwritten
        QCOMPARE(m_document.slots[12].name, std::string("three"));
        QCOMPARE(m_document.slots[3].name, std::string("twelve"));
        QCOMPARE(picture(12), three);
        QCOMPARE(picture(3), twelve);
        QCOMPARE(m_document.currentSlot, 12);
        QCOMPARE(find<QLabel>("Redbox")->pos(), QPoint(cellPosition(12).x, cellPosition(12).y));
        QVERIFY(preview().startsWith(QStringLiteral("three")));

        drag(12, 20, Qt::ControlModifier);  // Ctrl copies
        QCOMPARE(m_document.slots[20], m_document.slots[12]);
        QCOMPARE(picture(20), three);

        // Moving less than the drag distance, or from an empty cell, only selects.
        QWindow* window = m_window->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, {}, centre(3));
        QTest::mouseMove(window, centre(3) + QPoint(1, 1));
        QTest::mouseRelease(window, Qt::LeftButton, {}, centre(3) + QPoint(1, 1));
        drag(30, 3);
        QCOMPARE(m_document.slots[3].name, std::string("twelve"));
        QCOMPARE(m_document.currentSlot, 30);
        // Onto a hidden row nothing happens.
        find<QComboBox>("行数")->setCurrentIndex(1);
        drag(3, 2 + 9 * 4);
        QCOMPARE(m_document.slots[3].name, std::string("twelve"));
    }

    void gridKeysMoveEditEmptyCopyAndPaste()
    {
        find<QComboBox>("行数")->setCurrentIndex(1);  // two rows
        fill(10, "ten");
        // From the slot clicked, one key; the grid's edges and the last visible row stop the frame.
        const std::tuple<int, int, int> moves[] = {
            {9, Qt::Key_Right, 9}, {10, Qt::Key_Left, 10}, {10, Qt::Key_Up, 1},    {1, Qt::Key_Up, 1},
            {1, Qt::Key_Right, 2}, {2, Qt::Key_Down, 11},  {11, Qt::Key_Down, 11},
        };
        for (const auto& [from, pressed, current] : moves) {
            click(from);
            key(pressed);
            QCOMPARE(m_document.currentSlot, current);
        }
        key(Qt::Key_Left);
        QCOMPARE(find<QLabel>("Redbox")->pos(), QPoint(cellPosition(10).x, cellPosition(10).y));
        QVERIFY(preview().startsWith(QStringLiteral("ten")));

        key(Qt::Key_C, Qt::ControlModifier);
        key(Qt::Key_Right);
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_document.slots[11].name, std::string("ten"));
        QVERIFY(!picture(11).isNull());
        key(Qt::Key_Delete);
        QVERIFY(m_document.slots[11] == SlotRecord{});
        QVERIFY(picture(11).isNull());

        bool opened = false;
        whenEditorOpens([&](SlotEditor*) { opened = true; });
        key(Qt::Key_Return);
        QVERIFY(opened);
    }

    void everyKindOfStepIsUndoneAndRedone()
    {
        fill(2, "two");
        click(2);
        setValue(find<QLineEdit>("菜单标题"), QStringLiteral("Mine"));

        struct Step {
            const char* what;
            std::function<void()> act;
        };
        const Step steps[] = {
            {"store",
             [&] {
                 whenEditorOpens([](SlotEditor* editor) {
                     setValue(test::child<QLineEdit>(editor, "物品名称"), QStringLiteral("stored"));
                     QVERIFY(editor->storeSlotEditor());
                 });
                 m_window->openSlotEditor();
             }},
            {"delete", [&] { QTest::mouseClick(find<QPushButton>("删除图标"), Qt::LeftButton); }},
            {"paste",
             [&] {
                 m_document.slotClipboard = {.name = "pasted", .id = "35:3"};
                 find<QMenu>("复制粘贴")->findChild<QAction*>(QStringLiteral("粘贴"))->trigger();
             }},
            {"drag", [&] { drag(2, 5); }},
            {"clear", [&] { QTest::mouseClick(find<QPushButton>("清空数据"), Qt::LeftButton); }},
        };
        for (const Step& step : steps) {
            const SlotTable before = m_document.slots;
            const MenuSettings settingsBefore = m_window->menuSettings();
            const int currentBefore = m_document.currentSlot;
            click(currentBefore);
            const QString previewBefore = preview();
            QList<QImage> picturesBefore;
            for (int slot = 1; slot <= kSlotCount; ++slot)
                picturesBefore << picture(slot);
            step.act();
            const SlotTable after = m_document.slots;
            const MenuSettings settingsAfter = m_window->menuSettings();
            const int currentAfter = m_document.currentSlot;
            const QString previewAfter = preview();
            QVERIFY2(!(after == before) || !(settingsAfter == settingsBefore), step.what);

            // Ctrl+Z from the grid (the window, not a text box) takes the step back...
            m_window->activateWindow();  // as the window system does when the editor closes
            QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
            click(currentAfter);
            key(Qt::Key_Z, Qt::ControlModifier);
            QVERIFY2(m_document.slots == before, step.what);
            QVERIFY2(m_window->menuSettings() == settingsBefore, step.what);
            QCOMPARE(m_document.currentSlot, currentBefore);
            for (int slot = 1; slot <= kSlotCount; ++slot)
                QVERIFY2(picture(slot) == picturesBefore[slot - 1], step.what);
            QCOMPARE(m_window->grid()->cell(28)->isHidden(), settingsBefore.rowIndex < 3);
            QCOMPARE(preview(), previewBefore);

            // ...and Ctrl+Y or Ctrl+Shift+Z does it again.
            key(step.what[0] == 'd' ? Qt::Key_Y : Qt::Key_Z,
                step.what[0] == 'd' ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY2(m_document.slots == after, step.what);
            QVERIFY2(m_window->menuSettings() == settingsAfter, step.what);
            QCOMPARE(m_document.currentSlot, currentAfter);
            QCOMPARE(preview(), previewAfter);
        }
    }

    // Undo never crosses into another file's work: an open, of a project or
    // of a menu file, starts the history anew, and Ctrl+Z leaves the file
    // opened as it is, current file and all.
    void anOpenStartsTheHistoryAnew()
    {
        const std::string project = m_dir->file("p.ini");
        test::writeFile(project, "[Setting]\r\ntitle=Loaded\r\n[4]\r\nid=1\r\nname=from file\r\n");
        for (const std::string& file : {project, std::string(COFFERON_TEST_DATA "/worked-example.yml")}) {
            fill(2, "two");
            m_dialogs.choices.push_back(1);  // 不保存
            m_dialogs.fileNames.push_back(QString::fromStdString(file));
            QTest::mouseClick(find<QPushButton>("读取配置"), Qt::LeftButton);
            QCOMPARE(m_window->currentFile()->path, file);
            QVERIFY(!m_window->history().canUndo());
            const SlotTable opened = m_document.slots;
            click(1);
            key(Qt::Key_Z, Qt::ControlModifier);
            QVERIFY(m_document.slots == opened);
            QVERIFY(!m_window->hasUnsavedChanges());
        }
    }

    void insideATextBoxCtrlZIsTheBoxesOwn()
    {
        fill(1, "kept");
        QTest::mouseClick(find<QPushButton>("删除图标"), Qt::LeftButton);
        auto* title = find<QLineEdit>("菜单标题");
        title->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(title->hasFocus());
        QTest::keyClicks(title, QStringLiteral("ab"));
        QTest::keyClick(title, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(title->text().size() < 2);  // the box took back its typing
        QVERIFY(m_document.slots[1] == SlotRecord{});  // the document step stays
        QVERIFY(m_window->history().canUndo());

        // Taking the step back from the grid leaves the box as it is, its own undo steps too.
        QTest::keyClicks(title, QStringLiteral("cd"));
        const QString typed = title->text();
        click(1);
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_document.slots[1].name, std::string("kept"));
        QCOMPARE(title->text(), typed);
        QVERIFY(title->isUndoAvailable());
    }

    // Anything but a release that comes during a drag ends it, picture and
    // all, and the release then drops nothing; a key still acts, on the
    // slot the press selected. Ctrl, which chooses copying, is no such key.
    void aBrokenOffDragLeavesNothingBehind()
    {
        QWindow* window = m_window->windowHandle();
        auto* dragPicture = find<QLabel>("拖动图标");
        auto otherButton = [&](Qt::MouseButton button) {
            return [&, button] {
                QTest::mousePress(window, button, {}, centre(12));
                QTest::mouseRelease(window, button, {}, centre(12));
            };
        };
        struct Break {
            const char* what;
            std::function<void()> act;
            const char* threeAfter;  // what slot 3 holds once the left button is up
            const char* twelveAfter;
        };
        const Break breaks[] = {
            {"right button", otherButton(Qt::RightButton), "three", "twelve"},
            {"middle button", otherButton(Qt::MiddleButton), "three", "twelve"},
            {"Esc", [&] { key(Qt::Key_Escape); }, "three", "twelve"},
            {"Delete", [&] { key(Qt::Key_Delete); }, "", "twelve"},
            {"Ctrl+Z", [&] { key(Qt::Key_Z, Qt::ControlModifier); }, "three", "twelve"},
            {"Enter opens the editor",
             [&] {
                 whenEditorOpens([](SlotEditor*) {});
                 key(Qt::Key_Return);
             },
             "three", "twelve"},
            {"a popup",
             [&] {
                 auto* menu = find<QMenu>("复制粘贴");
                 menu->popup(m_window->mapToGlobal(centre(20)));
                 QTRY_VERIFY(menu->isVisible());
                 menu->close();
             },
             "three", "twelve"},
            {"the focus leaves", [&] { find<QLineEdit>("菜单标题")->setFocus(); }, "three", "twelve"},
            {"Ctrl held to copy", [&] { QTest::keyPress(window, Qt::Key_Control); }, "three", "three"},
        };
        for (const Break& broken : breaks) {
            fill(3, "three", "35:1");
            fill(12, "twelve", "35:2");
            QTest::mousePress(window, Qt::LeftButton, {}, centre(3));
            QTest::mouseMove(window, centre(3) + QPoint(QApplication::startDragDistance() + 2, 0));
            QTest::mouseMove(window, centre(12));
            QVERIFY2(dragPicture->isVisible(), broken.what);
            broken.act();
            const bool copying = std::string_view(broken.what).starts_with("Ctrl held");
            QVERIFY2(dragPicture->isVisible() == copying, broken.what);
            QTest::mouseMove(window, centre(12) + QPoint(1, 1));
            QTest::mouseRelease(window, Qt::LeftButton, copying ? Qt::ControlModifier : Qt::NoModifier,
                                centre(12) + QPoint(1, 1));
            if (copying)
                QTest::keyRelease(window, Qt::Key_Control);
            QVERIFY2(!dragPicture->isVisible(), broken.what);
            QVERIFY2(m_document.slots[3].name == broken.threeAfter, broken.what);
            QVERIFY2(m_document.slots[12].name == broken.twelveAfter, broken.what);
            m_window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        }
    }

    // An undo that hides the focused cell leaves the keys with the grid: the
    // focus goes with the red frame to the current cell, as a redo's does.
    void focusFollowsTheFrameThroughUndoAndRedo()
    {
        find<QComboBox>("行数")->setCurrentIndex(0);
        fill(3, "three");
        click(3);
        QTest::mouseClick(find<QPushButton>("清空数据"), Qt::LeftButton);  // six rows again
        click(40);
        key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(cell(40)->isHidden());
        QCOMPARE(m_document.currentSlot, 3);
        QCOMPARE(QApplication::focusWidget(), cell(3));
        key(Qt::Key_Right);
        QCOMPARE(m_document.currentSlot, 4);
        key(Qt::Key_Space);
        QVERIFY(m_dialogs.fileFilters.isEmpty());  // no button took the keys

        click(2);
        key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(m_document.currentSlot, 1);
        QCOMPARE(QApplication::focusWidget(), cell(1));
    }

    void filledCellsShowTheirTooltipOnHover()
    {
        std::string error;
        QVERIFY(writeStarterIcons(m_dir->file("items"), error));
        fill(6, "&bDiamond", "264");
        fill(7, "&cRed &lname", "35:14");
        m_document.slots[7].lore = "&7first\r\nsecond";
        m_window->refreshCell(7);
        QHelpEvent hover(QEvent::ToolTip, QPoint(16, 16), cell(7)->mapToGlobal(QPoint(16, 16)));
        QCoreApplication::sendEvent(cell(7), &hover);
        QTRY_VERIFY(QToolTip::isVisible());
        QTextDocument shown;
        shown.setHtml(QToolTip::text());
        QCOMPARE(shown.toPlainText(), QStringLiteral("Red name\nfirst\nsecond"));
        QVERIFY(QToolTip::text().contains(QStringLiteral("#ff5555")));  // the red of &c
        saveScreenGrab(QStringLiteral("tooltip"));

        QHelpEvent onEmpty(QEvent::ToolTip, QPoint(16, 16), cell(8)->mapToGlobal(QPoint(16, 16)));
        QCoreApplication::sendEvent(cell(8), &onEmpty);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    // However long the name and the lore, the tooltip fits the screen the
    // cell is on: long lines wrap, and lore that does not fit ends in "…".
    void theTooltipFitsTheScreen()
    {
        const std::string longName = "&c" + std::string(3000, 'N');
        std::string lore;
        for (int line = 1; line <= 300; ++line)
            lore += (line > 1 ? "\r\n" : "") + ("&7line " + std::to_string(line));
        std::string longLines = lore;
        for (int line = 1; line <= 40; ++line)
            longLines = std::string(400, 'w') + " " + std::string(700, 'x') + "\r\n" + longLines;
        // A line separator (U+2028, as a project file may hold it) must not break a line the measure missed.
        std::string separated = "&7x\x81\x36\xa6\x35y";
        for (int line = 1; line < 200; ++line)
            separated += "\r\n&7x\x81\x36\xa6\x35y";
        // A Chinese name of 3 000 characters and 300 lore lines of 76: the
        // toolkit breaks Chinese anywhere and lays the tooltip out narrower than
        // the screen, so each line it shows wraps again.
        std::string chineseName = "&c";
        std::string chineseLore;
        for (int i = 0; i < 3000; ++i)
            chineseName += qtToDoc(QStringLiteral("钻"));
        for (int line = 1; line <= 300; ++line) {
            chineseLore += line > 1 ? "\r\n&7" : "&7";
            for (int i = 0; i < 38; ++i)
                chineseLore += qtToDoc(QStringLiteral("宝石"));
        }
        const std::pair<std::string, std::string> slots[] = {{longName, "&7short"},
                                                             {"&bName", lore},
                                                             {longName, longLines},
                                                             {"&bName", separated},
                                                             {chineseName, chineseLore}};
        const QRect available = cell(7)->screen()->availableGeometry();
        for (const auto& [name, slotLore] : slots) {
            QToolTip::hideText();
            m_document.slots[7] = {.lore = slotLore, .name = name, .id = "1"};
            QHelpEvent hover(QEvent::ToolTip, QPoint(16, 16), cell(7)->mapToGlobal(QPoint(16, 16)));
            QCoreApplication::sendEvent(cell(7), &hover);
            QTRY_VERIFY(QToolTip::isVisible());
            QWidget* tip = nullptr;
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->isVisible() && top->inherits("QTipLabel"))
                    tip = top;
            }
            QVERIFY(tip);
            QTest::qWait(200);
            QVERIFY2(available.contains(tip->geometry()),
                     qPrintable(QStringLiteral("%1x%2").arg(tip->width()).arg(tip->height())));
            QTextDocument shown;
            shown.setHtml(QToolTip::text());
            const QString text = shown.toPlainText();
            QVERIFY(text.startsWith(docToQt(name.substr(2, 20))));
            QCOMPARE(text.endsWith(QStringLiteral("…")), slotLore.size() > 100);
            if (slotLore == lore)
                QVERIFY(text.contains(QStringLiteral("\nline 1\nline 2\n")));
        }
    }
};

COFFERON_GUI_TEST_MAIN(EditingTest)
#include "EditingTest.moc"
