#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "document/core/Codec.h"
#include "editor/core/InsertMenus.h"
#include "editor/gui/SlotEditor.h"
#include "support/Controls.h"
#include "support/FakeDialogs.h"
#include "support/GuiTestMain.h"
#include "support/Screenshot.h"
#include "ui/gui/ColourPicker.h"
#include "ui/gui/DocText.h"
#include "ui/gui/InputHints.h"

using namespace cofferon;

namespace {

const char* const kHintBoxes[] = {"物品名称", "物品ID",   "扣除金钱", "扣除点券", "扣除经验",
                                  "扣除物品", "物品数量", "使用权限", "查看权限", "头颅名称"};

}  // namespace

class SlotEditorTest : public QObject {
    Q_OBJECT

private:
    Document m_document;
    test::FakeDialogs m_dialogs;
    std::unique_ptr<SlotEditor> m_editor;
    QList<int> m_stored;

    template <typename T>
    T* find(const char* name) const
    {
        return test::child<T>(m_editor.get(), name);
    }
    QLineEdit* box(const char* name) const { return find<QLineEdit>(name); }
    QPlainTextEdit* multi(const char* name) const { return find<QPlainTextEdit>(name); }

    void open(int slot)
    {
        m_document.currentSlot = slot;
        m_editor = std::make_unique<SlotEditor>(m_document, m_dialogs, [this](int stored) { m_stored << stored; });
        m_editor->show();
        m_editor->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_editor.get()));
    }

    void focus(QWidget* widget)
    {
        widget->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(widget->hasFocus());
    }

    void rightClick(QWidget* widget)
    {
        QTest::mouseClick(m_editor->windowHandle(), Qt::RightButton, {}, widget->mapTo(m_editor.get(), QPoint(10, 8)));
    }

    SlotRecord& record() { return m_document.slots[m_document.currentSlot]; }

private Q_SLOTS:
    void init()
    {
        m_document = Document{};
        m_dialogs = test::FakeDialogs{};
        m_stored.clear();
    }

    void cleanup() { m_editor.reset(); }

    void emptySlotOpensOnHintsAndRefusesToStore()
    {
        open(4);
        QCOMPARE(m_editor->windowTitle(), QStringLiteral("    选项属性"));
        QVERIFY(box("物品名称")->hasFocus());
        QCOMPARE(m_editor->insertTarget(), static_cast<QWidget*>(box("物品名称")));
        QCOMPARE(box("物品名称")->text(), QString());
        QVERIFY(!showsHint(box("物品名称")));
        for (const char* name : kHintBoxes) {
            if (QByteArray(name) != "物品名称")
                QVERIFY2(showsHint(box(name)) && box(name)->text() == hintText(box(name)), name);
        }
        QCOMPARE(hintText(box("物品ID")), QStringLiteral("物品ID 如:1:1"));
        QCOMPARE(hintText(box("扣除金钱")), QStringLiteral("所需金钱(可留空)"));
        for (const char* name : {"Lore", "指令", "附魔"})
            QVERIFY(multi(name)->toPlainText().isEmpty());
        QVERIFY(!find<QCheckBox>("保持开启")->isChecked() && !find<QCheckBox>("皮甲颜色")->isChecked());

        QTest::keyClicks(box("物品名称"), QStringLiteral("typed"));
        QTest::mouseClick(find<QPushButton>("保存"), Qt::LeftButton);
        QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
        QCOMPARE(m_dialogs.messages[0].caption, QStringLiteral("错误"));
        QCOMPARE(m_dialogs.messages[0].text, QStringLiteral("物品ID有误"));
        QVERIFY(m_editor->isVisible());
        QCOMPARE(box("物品名称")->text(), QStringLiteral("typed"));
        QVERIFY(record() == SlotRecord{});
        QVERIFY(m_stored.isEmpty());

        setValue(box("物品ID"), QStringLiteral("1:"));  // typed in black, still not a valid item ID
        QVERIFY(!m_editor->storeSlotEditor());
        QVERIFY(record() == SlotRecord{});
    }

    void loadFillsEveryBox()
    {
        m_document.slots[9] = {.lore = "l1\r\nl2",
                               .name = "&cName",
                               .enchants = "Sharpness, 5",
                               .id = "035:1",
                               .command = "tell:hi",
                               .keepOpen = "true",
                               .money = "10",
                               .point = "20",
                               .exp = "30",
                               .item = "264",
                               .amount = "2",
                               .permission = "p",
                               .viewPermission = "v",
                               .color = "10, 20, 30",
                               .head = "Someone"};
        open(9);
        const std::pair<const char*, const char*> values[] = {
            {"物品名称", "&cName"}, {"物品ID", "035:1"},     {"扣除金钱", "10"}, {"扣除点券", "20"},
            {"扣除经验", "30"},     {"扣除物品", "264"},     {"物品数量", "2"},  {"使用权限", "p"},
            {"查看权限", "v"},      {"头颅名称", "Someone"},
        };
        for (const auto& [name, value] : values) {
            QCOMPARE(box(name)->text(), QString::fromUtf8(value));
            QVERIFY(!showsHint(box(name)));
        }
        QCOMPARE(multi("Lore")->toPlainText(), QStringLiteral("l1\nl2"));
        QCOMPARE(multi("指令")->toPlainText(), QStringLiteral("tell:hi"));
        QVERIFY(find<QCheckBox>("保持开启")->isChecked());
        QVERIFY(find<QCheckBox>("皮甲颜色")->isChecked());
        QCOMPARE(find<ColourPicker>("颜色选择")->colour(), QColor(10, 20, 30));
        QCOMPARE(find<ColourPicker>("颜色选择")->value(), 10u + 256u * 20u + 65536u * 30u);
    }

    void loadShowsTheRequiredItemOnlyAsAPair()
    {
        m_document.slots[2] = {.id = "1", .item = "264"};
        open(2);
        QVERIFY(showsHint(box("扣除物品")) && showsHint(box("物品数量")));
        QVERIFY(m_editor->storeSlotEditor());
        QVERIFY(record().item.empty() && record().amount.empty());
    }

    void colourOfAHandEditedProjectIsClamped()
    {
        m_document.slots[1] = {.id = "299", .color = "300, -5"};
        open(1);
        QCOMPARE(find<ColourPicker>("颜色选择")->colour(), QColor(255, 0, 0));
    }

    void storeWritesEveryField()
    {
        open(12);
        setValue(box("物品ID"), QStringLiteral("035:1"));
        setValue(box("物品名称"), QStringLiteral("&a商店"));
        setValue(box("扣除金钱"), QStringLiteral("5"));
        setValue(box("使用权限"), QStringLiteral("使用权限(可留空)"));  // the hint text, typed in black
        setValue(box("扣除物品"), QStringLiteral("264"));
        setValue(box("物品数量"), QStringLiteral("0"));
        multi("Lore")->setPlainText(QStringLiteral("one\n\n   \n\u3000\u3000\n\ttab\n two \n"));
        multi("附魔")->setPlainText(QStringLiteral("\nSharpness, 5"));
        find<QCheckBox>("皮甲颜色")->setChecked(true);
        m_dialogs.colours.push_back(QColor(255, 0, 0));
        QTest::mouseClick(find<ColourPicker>("颜色选择"), Qt::LeftButton);
        QCOMPARE(find<ColourPicker>("颜色选择")->colour(), QColor(255, 0, 0));
        QVERIFY(m_editor->storeSlotEditor());

        const SlotRecord& r = record();
        QCOMPARE(r.id, std::string("035:1"));
        QCOMPARE(docToQt(r.name), QStringLiteral("&a商店"));
        QCOMPARE(r.money, std::string("5"));
        QCOMPARE(r.point, std::string());
        QCOMPARE(docToQt(r.permission), QStringLiteral("使用权限(可留空)"));
        QCOMPARE(r.viewPermission, std::string());
        QVERIFY(r.item.empty() && r.amount.empty());  // an amount of 0 drops the pair
        QCOMPARE(r.keepOpen, std::string("false"));
        QCOMPARE(r.lore, std::string("one\r\n\ttab\r\n two "));
        QCOMPARE(r.enchants, std::string("Sharpness, 5"));
        QCOMPARE(r.command, std::string());
        QCOMPARE(r.color, std::string("255, 0, 0"));
        QCOMPARE(m_stored, QList<int>{12});
        QVERIFY(!m_editor->isVisible());
    }

    void storeRefusesPricesTheMenuFileCannotHold()
    {
        struct Case {
            const char* box;
            const char* typed;
            const char* message;  // nullptr: stored as typed
        };
        const Case cases[] = {
            {"扣除金钱", "-", "所需金钱有误:只能填写整数或小数,如 100、-5、2.5"},
            {"扣除金钱", "1-2", "所需金钱有误:只能填写整数或小数,如 100、-5、2.5"},
            {"扣除点券", "1.5", "所需点券有误:只能填写整数,如 100、-5"},
            {"扣除经验", "--3", "所需经验等级有误:只能填写整数,如 100、-5"},
            {"扣除金钱", "010", nullptr},
            {"扣除金钱", "-2.50", nullptr},
            {"扣除经验", "-7", nullptr},
        };
        for (const Case& c : cases) {
            m_dialogs.messages.clear();
            m_document.slots[5] = {.name = "kept", .id = "1"};
            open(5);
            setValue(box(c.box), QString::fromUtf8(c.typed));
            setValue(box("物品名称"), QStringLiteral("changed"));
            const bool stored = m_editor->storeSlotEditor();
            if (c.message) {
                QVERIFY(!stored);
                QCOMPARE(m_dialogs.messages.size(), std::size_t(1));
                QCOMPARE(m_dialogs.messages[0].caption, QStringLiteral("错误"));
                QCOMPARE(m_dialogs.messages[0].text, QString::fromUtf8(c.message));
                QCOMPARE(record().name, std::string("kept"));
                QVERIFY(m_editor->isVisible());
            } else {
                QVERIFY(stored);
                QVERIFY(m_dialogs.messages.empty());
                const SlotRecord& r = record();
                QCOMPARE(docToQt(r.money + r.point + r.exp), QString::fromUtf8(c.typed));
            }
        }
    }

    // Values too long for the boxes to show are checked and stored whole.
    void longValuesAreCheckedAndStoredWhole()
    {
        const std::string id = "1" + std::string(40000, 'x');
        const std::string money = std::string(40000, '1');
        m_document.slots[8] = {.id = id, .money = money};
        open(8);
        QVERIFY(m_editor->storeSlotEditor());
        QCOMPARE(record().id, id);
        QCOMPARE(record().money, money);
    }

    // A no-break space and a byte that is no character survive the boxes.
    void multiLineBoxesGiveBackWhatTheyWereGiven()
    {
        const std::string lore = "a\x81\x30\x84\x32"
                                 "b\r\n\x80\r\nc";
        m_document.slots[6] = {.lore = lore, .id = "1", .command = "x\x81\x30\x84\x32"};
        open(6);
        QVERIFY(m_editor->storeSlotEditor());
        QCOMPARE(record().lore, lore);
        QCOMPARE(record().command, std::string("x\x81\x30\x84\x32"));
    }

    // Tab and Shift+Tab move on from the multi-line boxes as from every
    // other control; no tab character gets into the value.
    void tabLeavesTheMultiLineBoxes()
    {
        open(2);
        for (const char* name : {"Lore", "指令", "附魔"}) {
            QPlainTextEdit* box = multi(name);
            focus(box);
            QTest::keyClicks(box, QStringLiteral("ab"));
            QTest::keyClick(box, Qt::Key_Tab);
            QWidget* next = QApplication::focusWidget();
            QVERIFY2(next && next != box, name);
            QCOMPARE(box->toPlainText(), QStringLiteral("ab"));

            QTest::keyClick(next, Qt::Key_Tab, Qt::ShiftModifier);
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));
            QTest::keyClick(box, Qt::Key_Tab, Qt::ShiftModifier);
            QVERIFY2(QApplication::focusWidget() != box, name);
            QCOMPARE(box->toPlainText(), QStringLiteral("ab"));
        }
    }

    void storeRequiredItemAndUncheckedColour()
    {
        m_document.slots[3] = {.id = "1", .color = "1, 2, 3"};
        open(3);
        setValue(box("扣除物品"), QStringLiteral("264"));
        setValue(box("物品数量"), QStringLiteral("5"));
        find<QCheckBox>("皮甲颜色")->setChecked(false);
        find<QCheckBox>("保持开启")->setChecked(true);
        QVERIFY(m_editor->storeSlotEditor());
        QCOMPARE(record().item, std::string("264"));
        QCOMPARE(record().amount, std::string("5"));
        QCOMPARE(record().color, std::string());
        QCOMPARE(record().keepOpen, std::string("true"));
    }

    void filtersOnTheRealBoxes()
    {
        open(1);
        for (const char* name : {"物品ID", "扣除物品"}) {
            focus(box(name));
            QTest::keyClicks(box(name), QStringLiteral("35:1:a -"));
            QCOMPARE(box(name)->text(), QStringLiteral("35:1"));
        }
        for (const char* name : {"扣除金钱", "扣除点券", "扣除经验", "物品数量"}) {
            focus(box(name));
            QTest::keyClicks(box(name), QStringLiteral("1a-2 :"));
            QCOMPARE(box(name)->text(), QStringLiteral("1-2"));
        }
        // Integer boxes let control keys through: a paste still works there.
        QGuiApplication::clipboard()->setText(QStringLiteral("77"));
        focus(box("物品数量"));
        box("物品数量")->clear();
        QTest::keyClick(box("物品数量"), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box("物品数量")->text(), QStringLiteral("77"));
    }

    void hintsComeAndGoWithTheFocus()
    {
        open(1);
        QLineEdit* money = box("扣除金钱");
        focus(money);
        QCOMPARE(money->text(), QString());
        QVERIFY(!showsHint(money));
        focus(box("使用权限"));
        QVERIFY(showsHint(money));
        QCOMPARE(money->text(), QStringLiteral("所需金钱(可留空)"));

        QLineEdit* head = box("头颅名称");
        focus(head);
        QTest::keyClicks(head, QStringLiteral("  "));
        focus(money);
        QCOMPARE(head->text(), QStringLiteral("  "));  // blanks are a value
        QVERIFY(!showsHint(head));

        // A loaded value that the user deletes reads as empty once the box is left.
        focus(box("使用权限"));
        QTest::keyClicks(box("使用权限"), QStringLiteral("x"));
        box("使用权限")->clear();
        focus(head);
        QVERIFY(showsHint(box("使用权限")));
        setValue(box("物品ID"), QStringLiteral("1"));
        QVERIFY(m_editor->storeSlotEditor());
        QCOMPARE(record().head, std::string("  "));
        QCOMPARE(record().permission, std::string());
    }

    void escapeDoesNotClose()
    {
        open(1);
        QTest::keyClick(m_editor.get(), Qt::Key_Escape);
        QVERIFY(m_editor->isVisible());
    }

    void commandActionsAppendTheirLines()
    {
        open(1);
        QString expected;
        for (const CommandAction& action : commandActions()) {
            m_dialogs.inputs.push_back(QStringLiteral("x1"));
            m_editor->appendCommandAction(action);
            expected += QLatin1Char('\n') + programText(action.prefix) + QStringLiteral("x1");
            const auto& request = m_dialogs.inputRequests.back();
            QCOMPARE(request.caption, QStringLiteral("参数"));
            QCOMPARE(request.prompt, programText(action.prompt));
            QCOMPARE(request.initial, QString());
        }
        QCOMPARE(multi("指令")->toPlainText(), expected);
        QCOMPARE(multi("指令")->textCursor().position(), static_cast<int>(expected.size()));

        // Integer-only for the two prices; an empty confirmation still appends.
        multi("指令")->clear();
        m_dialogs.inputs.push_back(QString());
        m_editor->appendCommandAction(*findCommandAction("给予游戏币"));
        QVERIFY(m_dialogs.inputRequests.back().integerOnly);
        QVERIFY(!m_dialogs.inputRequests[0].integerOnly);
        QCOMPARE(multi("指令")->toPlainText(), QStringLiteral("\ngivemoney:"));
        m_dialogs.inputs.push_back(std::nullopt);
        m_editor->appendCommandAction(*findCommandAction("显示消息"));
        QCOMPARE(multi("指令")->toPlainText(), QStringLiteral("\ngivemoney:"));

        setValue(box("物品ID"), QStringLiteral("1"));
        QVERIFY(m_editor->storeSlotEditor());
        QCOMPARE(record().command, std::string("givemoney:"));
    }

    void commandPrefixesAreExact()
    {
        QStringList prefixes;
        for (const CommandAction& action : commandActions())
            prefixes << programText(action.prefix);
        QCOMPARE(prefixes,
                 QStringList({QStringLiteral("tell:"), QStringLiteral("givemoney:"), QStringLiteral("give-points:"),
                              QString(), QStringLiteral("op:"), QStringLiteral("console:"), QStringLiteral("open:"),
                              QStringLiteral("op:cofferons open "), QStringLiteral("server:")}));
    }

    void enchantmentLevelsAreChecked()
    {
        open(1);
        const Enchantment& protection = *findEnchantment("保护");
        for (const char* typed : {"5", "0", "abc"}) {
            m_dialogs.inputs.push_back(QString::fromUtf8(typed));
            m_editor->addEnchantment(protection);
        }
        QVERIFY(multi("附魔")->toPlainText().isEmpty());
        m_dialogs.inputs.push_back(QStringLiteral("4"));
        m_editor->addEnchantment(protection);
        m_dialogs.inputs.push_back(QStringLiteral("3x"));
        m_editor->addEnchantment(*findEnchantment("锋利"));
        m_dialogs.inputs.push_back(std::nullopt);
        m_editor->addEnchantment(*findEnchantment("锋利"));
        QCOMPARE(m_dialogs.inputRequests.back().prompt, QStringLiteral("输入附魔等级"));

        const std::size_t asked = m_dialogs.inputRequests.size();
        m_editor->addEnchantment(*findEnchantment("经验修补"));
        m_editor->addEnchantment(*findEnchantment("精准采集"));
        QCOMPARE(m_dialogs.inputRequests.size(), asked);
        QCOMPARE(multi("附魔")->toPlainText(), QStringLiteral("\nProtection, 4\nSharpness, 3x\nMending\nSilk Touch"));
    }

    void placeholderGoesInAtTheCaretBeforeTheSelection()
    {
        open(1);
        QLineEdit* name = box("物品名称");
        name->setText(QStringLiteral("ab12"));
        name->setCursorPosition(2);
        m_editor->insertPlaceholder(QStringLiteral("{max_players}"));
        QCOMPARE(name->text(), QStringLiteral("ab{max_players}12"));
        QCOMPARE(name->cursorPosition(), 15);

        QPlainTextEdit* lore = multi("Lore");
        focus(lore);
        lore->setPlainText(QStringLiteral("中文cdef"));
        QTextCursor cursor = lore->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        lore->setTextCursor(cursor);
        m_editor->insertPlaceholder(QStringLiteral("{world}"));
        QCOMPARE(lore->toPlainText(), QStringLiteral("中文{world}cdef"));
        QCOMPARE(lore->textCursor().position(), 9);
    }

    void formatCodeReplacesTheSelectionThroughTheClipboard()
    {
        open(1);
        QPlainTextEdit* command = multi("指令");
        focus(command);
        command->setPlainText(QStringLiteral("abcdef"));
        QTextCursor cursor = command->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        command->setTextCursor(cursor);
        m_editor->pasteFormatCode(QStringLiteral("&c"));
        QCOMPARE(command->toPlainText(), QStringLiteral("ab&cef"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("&c"));
    }

    void insertsIntoTheNameBoxDropItsHintFirst()
    {
        open(1);
        QLineEdit* name = box("物品名称");
        auto* menu = find<QMenu>("插入项目");
        // The menu opening over the focused, empty box does not bring its hint back.
        rightClick(name);
        QTRY_VERIFY(menu->isVisible());
        QVERIFY(name->text().isEmpty() && !showsHint(name));
        menu->close();
        QVERIFY(name->text().isEmpty() && !showsHint(name));

        focus(box("物品ID"));  // the name box is left empty: its hint is back, it stays the target
        QVERIFY(showsHint(name));
        rightClick(name);
        QTRY_VERIFY(menu->isVisible());
        menu->findChild<QAction*>(QStringLiteral("{player}——将会显示为玩家名"))->trigger();
        menu->close();
        QCOMPARE(name->text(), QStringLiteral("{player}"));
        QVERIFY(!showsHint(name));

        showHint(name);
        find<QMenu>("文字颜色")->findChild<QAction*>(QStringLiteral("Color #c"))->trigger();
        QCOMPARE(name->text(), QStringLiteral("&c"));
        QVERIFY(!showsHint(name));

        setValue(box("物品ID"), QStringLiteral("1"));
        QVERIFY(m_editor->storeSlotEditor());
        QCOMPARE(record().name, std::string("&c"));
    }

    // After a restart, or once the program that copied has quit, the clipboard
    // holds no data at all; the toolkit's own multi-line paste dies on that.
    void pasteFromAClipboardWithoutDataChangesNothing()
    {
        open(1);
        QGuiApplication::clipboard()->setMimeData(new QMimeData);
        for (const char* name : {"Lore", "指令", "附魔"}) {
            QPlainTextEdit* multiLine = multi(name);
            focus(multiLine);
            multiLine->setPlainText(QStringLiteral("kept"));
            QTest::keyClick(multiLine, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(multiLine, Qt::Key_Insert, Qt::ShiftModifier);
            multiLine->paste();  // what the context menu's Paste and a middle click reach
            QCOMPARE(multiLine->toPlainText(), QStringLiteral("kept"));
        }
        for (const char* name : kHintBoxes) {
            focus(box(name));
            QTest::keyClick(box(name), Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(box(name), Qt::Key_Insert, Qt::ShiftModifier);
            QVERIFY2(box(name)->text().isEmpty(), name);
        }
        // A format code still goes in: it fills the clipboard first.
        focus(multi("Lore"));
        m_editor->pasteFormatCode(QStringLiteral("&l"));
        QCOMPARE(multi("Lore")->toPlainText(), QStringLiteral("&lkept"));
    }

    // Found by the soak test: the toolkit's own drop died near the end of a
    // long wrapped line, scrolled one line short of the bottom.
    void textDropsIntoEveryMultiLineBoxWhereverItLands()
    {
        open(1);
        for (const char* name : {"Lore", "指令", "附魔"}) {
            QPlainTextEdit* multiLine = multi(name);
            multiLine->setPlainText(QString(400, u'x'));
            QScrollBar* bar = multiLine->verticalScrollBar();
            QVERIFY(bar->maximum() > 1);
            bar->setValue(bar->maximum() - 1);
            QMimeData dropped;
            dropped.setText(QStringLiteral("dropped"));
            const QPoint at(2, multiLine->viewport()->height() - 2);
            QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(multiLine->viewport(), &enter);
            QDragMoveEvent move(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(multiLine->viewport(), &move);
            QDropEvent drop(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(multiLine->viewport(), &drop);
            QVERIFY(drop.isAccepted());
            QCOMPARE(multiLine->toPlainText().size(), 407);
            QVERIFY(multiLine->toPlainText().contains(QStringLiteral("dropped")));
        }
    }

    void insertMenuOpensOnlyOnTheCurrentTarget()
    {
        open(1);
        auto* menu = find<QMenu>("插入项目");
        rightClick(multi("Lore"));
        QVERIFY(!menu->isVisible());
        QVERIFY(box("物品名称")->hasFocus());  // the click did not move the focus either
        QCOMPARE(m_editor->insertTarget(), static_cast<QWidget*>(box("物品名称")));

        rightClick(box("物品名称"));
        QTRY_VERIFY(menu->isVisible());
        menu->close();

        focus(multi("Lore"));
        rightClick(multi("Lore"));
        QTRY_VERIFY(menu->isVisible());
        // The entries reach the target through the menu as well.
        menu->findChild<QAction*>(QStringLiteral("{player}——将会显示为玩家名"))->trigger();
        menu->close();
        QCOMPARE(multi("Lore")->toPlainText(), QStringLiteral("{player}"));
    }

    void menusCarryTheirIcons()
    {
        open(1);
        auto* insert = find<QMenu>("插入项目");
        for (const char* caption : {"Color #0", "Color #f", "加粗", "还原"})
            QVERIFY2(!insert->findChild<QAction*>(QString::fromUtf8(caption))->icon().isNull(), caption);
        QVERIFY(insert->findChild<QAction*>(QStringLiteral("{player}——将会显示为玩家名"))->icon().isNull());
        const QImage red = insert->findChild<QAction*>(QStringLiteral("Color #c"))->icon().pixmap(16, 16).toImage();
        QCOMPARE(red.pixelColor(8, 8), QColor(255, 85, 85));
        QVERIFY(!find<QMenu>("指令列表")->actions().value(0)->icon().isNull());
        QVERIFY(find<QMenu>("指令列表")->actions().value(1)->icon().isNull());
        const QList<QAction*> groups = find<QMenu>("附魔列表")->actions();
        QCOMPARE(groups.size(), 6);
        for (int i = 0; i < 5; ++i)
            QVERIFY(!groups[i]->icon().isNull() && groups[i]->menu());
        QCOMPARE(groups[5]->text(), QStringLiteral("经验修补"));
    }

    void screenshots()
    {
        m_document.slots[1] = {.lore = "&7A sturdy tunic\r\n&8Dyed blue",
                               .name = "&9&lBlue tunic",
                               .enchants = "Protection, 4\r\nThorns, 3",
                               .id = "299",
                               .command = "tell:&aThanks!\r\nop:give {player} 299",
                               .keepOpen = "true",
                               .money = "100",
                               .permission = "shop.armour",
                               .color = "60, 90, 200"};
        open(1);
        box("物品名称")->deselect();
        test::saveScreenshot(m_editor.get(), QStringLiteral("slot-editor"));
        for (const char* name : {"指令列表", "附魔列表", "插入项目", "文字颜色", "文字效果"}) {
            auto* menu = find<QMenu>(name);
            menu->popup(m_editor->mapToGlobal(QPoint(200, 40)));
            QTRY_VERIFY(menu->isVisible());
            test::saveScreenshot(menu, QStringLiteral("menu-") + QString::fromUtf8(name));
            menu->close();
        }
        QVERIFY(m_editor->isVisible());
    }
};

COFFERON_GUI_TEST_MAIN(SlotEditorTest)
#include "SlotEditorTest.moc"
