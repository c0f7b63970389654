#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/gui/MainWindow.h"
#include "editor/gui/SlotEditor.h"
#include "preview/gui/PreviewGrid.h"
#include "support/Controls.h"
#include "support/FakeDialogs.h"
#include "support/GuiTestMain.h"
#include "ui/gui/InputHints.h"

using namespace cofferon;

// The thirteen one-line boxes of the two windows, driven through real key,
// mouse, drop and input-method events.
class InputHintsTest : public QObject {
    Q_OBJECT

private:
    Document m_document;
    test::FakeDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<SlotEditor> m_editor;

    QWidget* openWindow(const QString& which)
    {
        QWidget* window = nullptr;
        if (which == QStringLiteral("main")) {
            m_window = std::make_unique<MainWindow>(m_document, m_dialogs);
            window = m_window.get();
        } else {
            m_document.currentSlot = 1;
            m_editor = std::make_unique<SlotEditor>(m_document, m_dialogs, nullptr);
            window = m_editor.get();
        }
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            qFatal("the window did not become active");
        return window;
    }

    // Opens the box's window with the focus on a button, so the box shows its hint.
    QLineEdit* openBox()
    {
        QFETCH(QString, window);
        QFETCH(QString, box);
        QWidget* opened = openWindow(window);
        focus(elsewhere());
        return test::child<QLineEdit>(opened, box.toUtf8().constData());
    }

    QWidget* elsewhere() const
    {
        if (m_window)
            return test::child<QPushButton>(m_window.get(), "读取配置");
        return test::child<QPushButton>(m_editor.get(), "取消");
    }

    static void focus(QWidget* widget)
    {
        widget->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(widget->hasFocus());
    }

    static void hintBoxRows()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("box");
        for (const char* name : {"菜单标题", "物品ID", "菜单指令"})
            QTest::newRow(name) << QStringLiteral("main") << QString::fromUtf8(name);
        for (const char* name : {"物品名称", "物品ID", "扣除金钱", "扣除点券", "扣除经验", "扣除物品", "物品数量",
                                 "使用权限", "查看权限", "头颅名称"})
            QTest::newRow((QByteArray("editor ") + name).constData())
                << QStringLiteral("editor") << QString::fromUtf8(name);
    }

    // Drags `text` over the box; drops it unless `drop` is false.
    static bool dragOnto(QLineEdit* box, const QString& text, bool drop = true)
    {
        QMimeData data;
        data.setText(text);
        const QPoint at = box->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(box, &enter);
        QDragMoveEvent move(at + QPoint(2, 0), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(box, &move);
        if (!drop) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(box, &leave);
            return false;
        }
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(box, &dropped);
        return dropped.isAccepted();
    }

    // Opens the box's own context menu with a real event and triggers the
    // entry whose caption is the toolkit's `entry` ("&Paste") in the
    // language it speaks.
    static void contextMenuEntry(QLineEdit* box, const char* entry)
    {
        QMenu* shown = nullptr;
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(4, 4), box->mapToGlobal(QPoint(4, 4)));
        QCoreApplication::sendEvent(box, &request);
        QTRY_VERIFY((shown = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
        for (QAction* action : shown->actions()) {
            if (action->text().section(u'\t', 0, 0) == QCoreApplication::translate("QLineEdit", entry)) {
                action->trigger();
                break;
            }
        }
        shown->close();
    }

private Q_SLOTS:
    void init()
    {
        m_document = Document{};
        m_dialogs = test::FakeDialogs{};
        QGuiApplication::clipboard()->clear();
    }

    void cleanup()
    {
        m_editor.reset();
        m_window.reset();
    }

    void undoNeverBringsTheHintBack_data() { hintBoxRows(); }
    void undoNeverBringsTheHintBack()
    {
        QLineEdit* box = openBox();
        focus(box);
        QCOMPARE(box->text(), QString());
        QVERIFY(!box->isUndoAvailable());  // the context menu's Undo stays disabled
        QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
        box->undo();  // what the context menu's Undo does
        QCOMPARE(box->text(), QString());
        focus(elsewhere());
        QVERIFY(showsHint(box));
    }

    void droppedTextReplacesTheHint_data() { hintBoxRows(); }
    void droppedTextReplacesTheHint()
    {
        QLineEdit* box = openBox();
        QVERIFY(showsHint(box));
        dragOnto(box, QStringLiteral("Shop"), false);
        QCOMPARE(box->text(), hintText(box));
        QVERIFY(showsHint(box));

        QVERIFY(dragOnto(box, QStringLiteral("Shop")));
        QCOMPARE(box->text(), QStringLiteral("Shop"));
        QVERIFY(!showsHint(box));
        // Taken as text, not as a step back to the hint.
        box->undo();
        QVERIFY(box->text() != hintText(box));
    }

    void everyBoxKeepsLongValuesAndTakesNoLineBreaks_data() { hintBoxRows(); }
    void everyBoxKeepsLongValuesAndTakesNoLineBreaks()
    {
        QLineEdit* box = openBox();
        const QString longValue(100000, QLatin1Char('7'));
        setValue(box, longValue);
        QCOMPARE(boxText(box), longValue);
        // Kept whole, but what the box lays out is bounded: a value of
        // megabytes froze the window for seconds at every key.
        QVERIFY(box->text().size() <= kLongestEditableValue);
        focus(box);
        for (const Qt::Key emptying : {Qt::Key_Backspace, Qt::Key_Delete}) {
            setValue(box, longValue);
            QTest::keyClick(box, Qt::Key_7);
            QCOMPARE(boxText(box), longValue);
            QTest::keyClick(box, emptying);  // empties it
            QCOMPARE(box->text(), QString());
            QVERIFY(!showsHint(box));
        }
        QTest::keyClick(box, Qt::Key_7);
        QCOMPARE(box->text(), QStringLiteral("7"));
        setValue(box, QString(kLongestEditableValue, QLatin1Char('7')));
        QCOMPARE(box->text().size(), kLongestEditableValue);
        focus(elsewhere());

        showHint(box);
        QVERIFY(dragOnto(box, QStringLiteral("1\r\n2")));
        QCOMPARE(box->text(), QStringLiteral("1 2"));

        // Shift+Insert passes every character filter, so it reaches every box.
        QGuiApplication::clipboard()->setText(QStringLiteral("3\n4"));
        focus(box);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(box->text(), QStringLiteral("3 4"));
    }

    void longValuesSurviveASave()
    {
        const std::string longName(100000, 'n');
        m_document.slots[1] = {.name = longName, .id = "1", .permission = std::string(40000, 'p')};
        openWindow(QStringLiteral("editor"));
        QVERIFY(m_editor->storeSlotEditor());
        QCOMPARE(m_document.slots[1].name, longName);
        QCOMPARE(m_document.slots[1].permission.size(), std::size_t(40000));

        openWindow(QStringLiteral("main"));
        setValue(test::child<QLineEdit>(m_window.get(), "菜单标题"), QString(100000, QLatin1Char('t')));
        QCOMPARE(m_window->menuSettings().title, std::optional<std::string>(std::string(100000, 't')));
    }

    void pastedLineBreaksBecomeBlanks_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a b");
        QTest::newRow("CR") << QStringLiteral("a\rb") << QStringLiteral("a b");
        QTest::newRow("LF") << QStringLiteral("a\nb") << QStringLiteral("a b");
        QTest::newRow("NEL") << QStringLiteral("a\u0085b") << QStringLiteral("a b");
        QTest::newRow("LS") << QStringLiteral("a\u2028b") << QStringLiteral("a b");
        QTest::newRow("PS") << QStringLiteral("a\u2029b") << QStringLiteral("a b");
        QTest::newRow("mixed") << QStringLiteral("\r\n\r\na\n\rb\r") << QStringLiteral("  a  b ");
        QTest::newRow("other controls stay") << QStringLiteral("a\tb\u000Bc") << QStringLiteral("a\tb\u000Bc");
    }
    void pastedLineBreaksBecomeBlanks()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, expected);
        openWindow(QStringLiteral("main"));
        auto* title = test::child<QLineEdit>(m_window.get(), "菜单标题");
        focus(title);

        using Route = std::function<void()>;
        const std::pair<const char*, Route> routes[] = {
            {"Ctrl+V",
             [&] {
                 QGuiApplication::clipboard()->setText(pasted);
                 QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
             }},
            {"Shift+Insert",
             [&] {
                 QGuiApplication::clipboard()->setText(pasted);
                 QTest::keyClick(title, Qt::Key_Insert, Qt::ShiftModifier);
             }},
            {"context menu",
             [&] {
                 QGuiApplication::clipboard()->setText(pasted);
                 contextMenuEntry(title, "&Paste");
             }},
            {"middle click",
             [&] {
                 QGuiApplication::clipboard()->setText(pasted, QClipboard::Selection);
                 QTest::mouseClick(title, Qt::MiddleButton, {}, QPoint(title->width() - 2, 8));
             }},
            {"input method",
             [&] {
                 QInputMethodEvent commit;
                 commit.setCommitString(pasted);
                 QCoreApplication::sendEvent(title, &commit);
             }},
        };
        for (const auto& [name, paste] : routes) {
            // Middle-click pastes only where the platform has a selection clipboard (X11).
            if (QByteArray(name) == "middle click" && !QGuiApplication::clipboard()->supportsSelection())
                continue;
            setValue(title, QStringLiteral("XY"));
            title->setCursorPosition(name == QByteArray("middle click") ? 2 : 1);
            paste();
            const int at = name == QByteArray("middle click") ? 2 : 1;
            const QString want = QStringLiteral("XY").insert(at, expected);
            QVERIFY2(title->text() == want, name);
            QVERIFY2(title->cursorPosition() == at + expected.size(), name);
        }
        setValue(title, QString());
        QVERIFY(dragOnto(title, pasted));
        QCOMPARE(title->text(), expected);
    }

    void popupsAndDeactivationKeepTheHintAway()
    {
        openWindow(QStringLiteral("main"));
        auto* title = test::child<QLineEdit>(m_window.get(), "菜单标题");
        auto* slotMenu = test::child<QMenu>(m_window.get(), "复制粘贴");
        const auto emptyValue = [title] { return title->text().isEmpty() && !showsHint(title); };
        focus(title);

        // The grid's slot menu, opened by a real right click on a cell.
        QWidget* cell = m_window->grid()->cell(5);
        QTest::mouseClick(m_window->windowHandle(), Qt::RightButton, {}, cell->mapTo(m_window.get(), QPoint(16, 16)));
        QTRY_VERIFY(slotMenu->isVisible());
        QVERIFY(emptyValue());
        slotMenu->close();
        QTRY_VERIFY(title->hasFocus());
        QVERIFY(emptyValue());
        QVERIFY(!title->isUndoAvailable());

        // The box's own context menu.
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(4, 4), title->mapToGlobal(QPoint(4, 4)));
        QCoreApplication::sendEvent(title, &request);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QVERIFY(emptyValue());
        QApplication::activePopupWidget()->close();
        QTRY_VERIFY(title->hasFocus());
        QVERIFY(emptyValue());

        // Another window takes the activation; the box keeps its place.
        QWidget other;
        other.setGeometry(0, 0, 80, 40);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(emptyValue());
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QVERIFY(title->hasFocus());
        QVERIFY(emptyValue());

        // The focus moves on while the window is inactive: a real loss.
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        elsewhere()->setFocus();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QVERIFY(showsHint(title));
        QCOMPARE(title->text(), hintText(title));
    }
};

COFFERON_GUI_TEST_MAIN(InputHintsTest)
#include "InputHintsTest.moc"
