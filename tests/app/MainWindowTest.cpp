#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

#include "app/gui/MainWindow.h"
#include "preview/gui/PreviewGrid.h"
#include "support/GuiTestMain.h"
#include "support/MainWindowFixture.h"
#include "support/Screenshot.h"
#include "ui/core/Layout.h"
#include "ui/gui/DocText.h"
#include "ui/gui/InputHints.h"

using namespace cofferon;

class MainWindowTest : public QObject, public test::MainWindowFixture {
    Q_OBJECT

private:
    void focus(QWidget* widget)
    {
        widget->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(widget->hasFocus());
    }

    static void type(QWidget* widget, const QString& text)
    {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

private Q_SLOTS:
    void init() { QVERIFY(openWindow(Shown::Active)); }

    void cleanup() { closeWindow(); }

    // Slots the rows box hides are named under the grid, and a click on the
    // line chooses the rows that show them.
    void hiddenSlotsAreNamedUnderTheGrid()
    {
        auto* line = find<QLabel>("隐藏物品");
        auto* rows = find<QComboBox>("行数");
        m_document.slots[40] = {.name = "n", .id = "1"};
        m_document.slots[50] = {.id = "2"};
        rows->setCurrentIndex(2);
        QVERIFY(line->isVisible());
        QCOMPARE(line->text().contains(QStringLiteral("第 4–6 行还有 2 个物品,不会显示在菜单里")), true);
        // Right under the last row shown.
        const QRect lastCell = m_window->grid()->cell(27)->geometry();
        QVERIFY2(line->y() >= lastCell.bottom() && line->y() < lastCell.bottom() + 8,
                 qPrintable(QString::number(line->y())));
        test::saveScreenshot(m_window.get(), QStringLiteral("hidden-slots"));

        QTest::mouseClick(line, Qt::LeftButton, {}, QPoint(20, line->height() / 2));
        QCOMPARE(rows->currentIndex(), 5);
        QVERIFY(!line->isVisible());
        rows->setCurrentIndex(4);
        QVERIFY(line->text().contains(QStringLiteral("第 6 行还有 1 个物品")));
    }

    void layoutMatchesTheTable()
    {
        const layout::Window& table = layout::mainWindowLayout();
        QCOMPARE(m_window->windowTitle(), QStringLiteral("未命名[*] — Cofferon 配置生成器"));
        for (const layout::Control& control : table.controls) {
            if (control.width == 0)
                continue;  // dialogs and the menu styling component are not widgets
            const QString name = programText(control.name);
            auto* widget = m_window->findChild<QWidget*>(name);
            QVERIFY2(widget, qPrintable(name));
            QCOMPARE(widget->geometry(), QRect(control.left, control.top, control.width, control.height));
            const QString parentName = control.parent.empty() ? m_window->objectName() : programText(control.parent);
            QCOMPARE(widget->parentWidget()->objectName(), parentName);
            // Every control shown lies inside the client area; the folder's panel, once it is shown.
            const QRect client(QPoint(0, 0),
                               QSize(layout::clientSize(table, !widget->isVisibleTo(m_window.get())).width,
                                     layout::clientSize(table, true).height));
            QVERIFY2(client.contains(widget->mapTo(m_window.get(), widget->rect().bottomRight())), qPrintable(name));
        }
        QVERIFY(!find<QGroupBox>("文件夹面板")->isVisible());
        QCOMPARE(m_window->width(), layout::clientSize(table).width);
        QCOMPARE(find<QPushButton>("生成yml")->text(), QStringLiteral("保存为yml"));
        QCOMPARE(find<QGroupBox>("分组框1")->title(), QStringLiteral("点击选择 双击编辑 右键菜单"));
        QCOMPARE(find<QCheckBox>("左键开启")->text(), QStringLiteral("左键开启"));
        QVERIFY(!find<QLabel>("Box")->isVisible());
        test::saveScreenshot(m_window.get(), QStringLiteral("main-window"));
    }

    void frameIsFixedWithMinimiseAndCloseOnly()
    {
        const Qt::WindowFlags flags = m_window->windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    }

    void initialStateOfTheControls()
    {
        QVERIFY(find<QPushButton>("读取配置")->hasFocus());
        QCOMPARE(find<QComboBox>("行数")->currentText(), QStringLiteral("6行"));
        QCOMPARE(find<QComboBox>("行数")->count(), 6);
        QVERIFY(!find<QCheckBox>("左键开启")->isChecked());
        QVERIFY(!find<QCheckBox>("右键开启")->isChecked());
        QCOMPARE(m_document.currentSlot, 1);
    }

    void popupsListTheirEntriesInOrderWithoutIcons()
    {
        const std::pair<const char*, QStringList> menus[] = {
            {"输出格式", {QStringLiteral("UTF-8"), QStringLiteral("GB2312")}},
            {"复制粘贴", {QStringLiteral("复制"), QStringLiteral("粘贴")}},
            {"文件夹菜单", {QStringLiteral("新建菜单"), QStringLiteral("重命名菜单"), QStringLiteral("全部保存")}},
        };
        for (const auto& [name, entries] : menus) {
            auto* menu = find<QMenu>(name);
            QStringList shown;
            for (QAction* action : menu->actions()) {
                if (!action->isVisible())
                    continue;  // a link's entry shows only for a slot that opens a menu
                shown << action->text();
                QVERIFY(action->icon().isNull());
            }
            QCOMPARE(shown, entries);
        }
    }

    void saveAsYmlOpensTheOutputFormatPopup()
    {
        QTest::mouseClick(find<QPushButton>("生成yml"), Qt::LeftButton);
        QTRY_COMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(find<QMenu>("输出格式")));
        find<QMenu>("输出格式")->close();
        QVERIFY(m_dialogs.fileFilters.isEmpty());  // dismissing does nothing
    }

    void hintsDropOnFocusAndComeBackWhenEmpty()
    {
        const std::pair<const char*, QString> boxes[] = {
            {"菜单标题", QStringLiteral("菜单标题")},
            {"物品ID", QStringLiteral("物品ID 如:1:1")},
            {"菜单指令", QStringLiteral("菜单指令(无需加/)")},
        };
        auto* other = find<QPushButton>("读取配置");
        for (const auto& [name, hint] : boxes) {
            auto* box = find<QLineEdit>(name);
            QCOMPARE(box->text(), hint);
            QCOMPARE(textColour(box), QColor(0x808080));

            focus(box);
            QCOMPARE(box->text(), QString());
            QCOMPARE(textColour(box), QColor(Qt::black));

            focus(other);  // left empty: the hint comes back
            QCOMPARE(box->text(), hint);
            QVERIFY(showsHint(box));

            focus(box);
            type(box, QStringLiteral("12"));
            focus(other);
            QCOMPARE(box->text(), QStringLiteral("12"));
            QVERIFY(!showsHint(box));
        }
        m_window->clearData();
    }

    void aValueEqualToTheHintStaysAValue()
    {
        auto* title = find<QLineEdit>("菜单标题");
        focus(title);
        type(title, QStringLiteral("菜单标题"));
        focus(find<QPushButton>("读取配置"));
        QCOMPARE(title->text(), QStringLiteral("菜单标题"));
        QVERIFY(!showsHint(title));
        focus(title);
        QCOMPARE(title->text(), QStringLiteral("菜单标题"));
        QCOMPARE(m_window->menuSettings().title, std::optional<std::string>(qtToDoc(QStringLiteral("菜单标题"))));

        // Grey text counts as no value whatever it says.
        setTextColour(title, hintColour());
        QVERIFY(!m_window->menuSettings().title);
    }

    void itemIdBoxTakesDigitsAndOneColon()
    {
        auto* box = find<QLineEdit>("物品ID");
        focus(box);
        QTest::keyClicks(box, QStringLiteral("1:2:"));
        QCOMPARE(box->text(), QStringLiteral("1:2"));
        QTest::keyClicks(box, QStringLiteral("a-Z 3"));
        QCOMPARE(box->text(), QStringLiteral("1:23"));
        type(box, QStringLiteral("中"));
        QCOMPARE(box->text(), QStringLiteral("1:23"));

        // The colon test looks at the whole text, not at what a selection would leave.
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Colon);
        QCOMPARE(box->text(), QStringLiteral("1:23"));

        // Editing keys still work: backspace is a character it takes, arrows type nothing.
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Left);
        QTest::keyClick(box, Qt::Key_Delete);
        QCOMPARE(box->text(), QStringLiteral("1:"));
    }

    void filteredBoxesRefuseControlCharactersSuchAsCtrlV()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
        for (const char* name : {"物品ID", "菜单指令"}) {
            auto* box = find<QLineEdit>(name);
            focus(box);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(box->text(), QString());
            QTest::keyClick(box, Qt::Key_Return);
            QCOMPARE(box->text(), QString());
        }
        // The title box has no filter: Ctrl+V pastes.
        auto* title = find<QLineEdit>("菜单标题");
        focus(title);
        QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(title->text(), QStringLiteral("abc"));
    }

    void commandBoxTakesLowerCaseLettersAndDigits()
    {
        auto* box = find<QLineEdit>("菜单指令");
        focus(box);
        QTest::keyClicks(box, QStringLiteral("Shop"));
        QCOMPARE(box->text(), QStringLiteral("hop"));
        QTest::keyClicks(box, QStringLiteral("/ 2_x!"));
        QCOMPARE(box->text(), QStringLiteral("hop2x"));
    }

    void inputMethodTextCountsAsTyped()
    {
        auto* box = find<QLineEdit>("物品ID");
        focus(box);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("3５:a:7"));
        QCoreApplication::sendEvent(box, &commit);
        QCOMPARE(box->text(), QStringLiteral("3:7"));

        auto* command = find<QLineEdit>("菜单指令");
        focus(command);
        QInputMethodEvent chinese;
        chinese.setCommitString(QStringLiteral("商店shop"));
        QCoreApplication::sendEvent(command, &chinese);
        QCOMPARE(command->text(), QStringLiteral("shop"));
    }

    void pastedTextIsNotFiltered()
    {
        auto* box = find<QLineEdit>("物品ID");
        focus(box);
        QGuiApplication::clipboard()->setText(QStringLiteral("abc:1:2"));
        box->paste();  // what the box's own context menu does
        QCOMPARE(box->text(), QStringLiteral("abc:1:2"));
    }

    void clearDataResetsWindowAndDocument()
    {
        setValue(find<QLineEdit>("菜单标题"), QStringLiteral("T"));
        setValue(find<QLineEdit>("物品ID"), QStringLiteral("345"));
        setValue(find<QLineEdit>("菜单指令"), QStringLiteral("shop"));
        find<QCheckBox>("左键开启")->setChecked(true);
        find<QCheckBox>("右键开启")->setChecked(true);
        find<QComboBox>("行数")->setCurrentIndex(2);
        for (int slot = 1; slot <= kSlotCount; ++slot)
            m_document.slots[slot].id = "1";
        m_document.currentSlot = 23;
        m_document.slotClipboard.name = "kept";
        m_document.pickerList = {"1-0.bmp"};
        find<QLabel>("Redbox")->move(144, 84);

        QTest::mouseClick(find<QPushButton>("清空数据"), Qt::LeftButton);

        QCOMPARE(find<QComboBox>("行数")->currentIndex(), 5);
        for (const char* name : {"菜单标题", "物品ID", "菜单指令"}) {
            auto* box = find<QLineEdit>(name);
            QVERIFY(showsHint(box));
            QCOMPARE(box->text(), hintText(box));
        }
        QVERIFY(!find<QCheckBox>("左键开启")->isChecked());
        QVERIFY(!find<QCheckBox>("右键开启")->isChecked());
        QVERIFY(m_document.slots == SlotTable{});
        QCOMPARE(m_document.currentSlot, 1);
        QCOMPARE(find<QLabel>("Redbox")->pos(), QPoint(8, 16));
        QCOMPARE(m_document.slotClipboard.name, std::string("kept"));
        QCOMPARE(m_document.pickerList.size(), std::size_t(1));
        QVERIFY(m_dialogs.messages.empty());
    }

    // The one way a whole menu goes in: its slots with their pictures, the
    // frame moved up into the rows shown, and the two rules for texts left out.
    void showMenuPutsAWholeMenuIn()
    {
        using Texts = MenuWindow::EmptyTexts;
        struct Row {
            const char* what;
            Texts texts;
            std::optional<std::string> title;
            QString shown;
            int rowIndex;
            int current;
            int currentAfter;
        };
        const Row rows[] = {
            {"absent, exact", Texts::ShowHint, std::nullopt, QStringLiteral("菜单标题"), 5, 14, 14},
            {"empty, exact", Texts::ShowHint, "", QString(), 5, 14, 14},
            {"absent, kept", Texts::KeepBox, std::nullopt, QStringLiteral("before"), 5, 14, 14},
            {"empty, kept", Texts::KeepBox, "", QStringLiteral("before"), 5, 14, 14},
            {"value", Texts::KeepBox, "T", QStringLiteral("T"), 5, 14, 14},
            {"frame below the rows", Texts::ShowHint, "T", QStringLiteral("T"), 1, 50, 14},
        };
        auto* title = find<QLineEdit>("菜单标题");
        for (const Row& row : rows) {
            setValue(title, QStringLiteral("before"));
            WholeMenu menu;
            menu.settings.title = row.title;
            menu.settings.rowIndex = row.rowIndex;
            menu.slots[14] = {.name = "fourteen", .id = "1"};
            m_window->showMenu(menu, row.current, row.texts);
            QVERIFY2(title->text() == row.shown, row.what);
            QVERIFY2(showsHint(title) == (row.shown == QStringLiteral("菜单标题")), row.what);
            QVERIFY2(m_document.slots == menu.slots, row.what);
            QVERIFY2(!m_window->grid()->cell(14)->pixmap().isNull(), row.what);
            QVERIFY2(m_window->grid()->cell(19)->isHidden() == (row.rowIndex < 2), row.what);
            QVERIFY2(m_document.currentSlot == row.currentAfter, row.what);
            QVERIFY2(find<QTextEdit>("效果预览")->toPlainText().startsWith(QStringLiteral("fourteen")), row.what);
        }
    }

    void settingsSnapshotReadsTheControls()
    {
        MenuSettings settings = m_window->menuSettings();
        QVERIFY(!settings.title && !settings.openItem && !settings.menuCommand);
        QCOMPARE(settings.rows(), 6);

        setValue(find<QLineEdit>("菜单标题"), QStringLiteral("商店"));
        setValue(find<QLineEdit>("物品ID"), QString());
        find<QCheckBox>("右键开启")->setChecked(true);
        find<QComboBox>("行数")->setCurrentIndex(0);
        settings = m_window->menuSettings();
        QCOMPARE(*settings.title, std::string("\xC9\xCC\xB5\xEA"));  // GB18030 bytes of 商店
        QCOMPARE(*settings.openItem, std::string());  // black and empty is a value
        QVERIFY(settings.rightClick && !settings.leftClick);
        QCOMPARE(settings.rows(), 1);
    }
};

COFFERON_GUI_TEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
