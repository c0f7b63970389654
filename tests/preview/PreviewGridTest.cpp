#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include "app/gui/MainWindow.h"
#include "document/core/ProgramDirectory.h"
#include "editor/gui/SlotEditor.h"
#include "preview/core/BuiltinPictures.h"
#include "preview/core/GridGeometry.h"
#include "preview/core/StarterIcons.h"
#include "preview/gui/PreviewGrid.h"
#include "support/GuiTestMain.h"
#include "support/MainWindowFixture.h"
#include "support/Screenshot.h"
#include "support/TempDir.h"

using namespace cofferon;

class PreviewGridTest : public QObject, public test::MainWindowFixture {
    Q_OBJECT

private:
    SlotCell* cell(int slot) const { return m_window->grid()->cell(slot); }
    QLabel* redbox() const { return find<QLabel>("Redbox"); }
    QString preview() const { return find<QTextEdit>("效果预览")->toPlainText(); }

    // Clicks through the window system, so the widget under the point gets it.
    void clickAt(QWidget* widget, QPoint local, Qt::MouseButton button = Qt::LeftButton)
    {
        const QPoint inWindow = widget->mapTo(m_window.get(), local);
        QTest::mouseClick(m_window->windowHandle(), button, {}, inWindow);
    }

    void setRows(int rows) { find<QComboBox>("行数")->setCurrentIndex(rows - 1); }

private Q_SLOTS:
    void init() { QVERIFY(openWindow(Shown::Exposed)); }

    void cleanup() { closeWindow(); }

    void startsWith54VisibleEmptyCells()
    {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            SlotCell* c = cell(slot);
            QVERIFY(c->isVisible());
            QCOMPARE(c->tag(), QString::number(slot));
            QCOMPARE(c->size(), QSize(32, 32));
            QVERIFY(c->pixmap().isNull());
            const CellPoint at = cellPosition(slot);
            QCOMPARE(c->pos(), QPoint(at.x, at.y));
        }
        QCOMPARE(cell(9)->pos(), QPoint(280, 16));
        QCOMPARE(cell(10)->pos(), QPoint(8, 50));
        QCOMPARE(cell(54)->pos(), QPoint(280, 186));
        QCOMPARE(redbox()->pos(), QPoint(8, 16));
        QCOMPARE(m_document.currentSlot, 1);
        QCOMPARE(preview(), QStringLiteral("\n====================\n"));
    }

    void leftClickSelectsAndRefreshes()
    {
        m_document.slots[23].name = "&cTwenty-three";
        clickAt(cell(23), QPoint(16, 16));
        QCOMPARE(m_document.currentSlot, 23);
        QCOMPARE(redbox()->pos(), QPoint(144, 84));
        QVERIFY(preview().startsWith(QStringLiteral("Twenty-three\n")));
    }

    void clickOnTheFrameEdgeDoesNothingInsideReachesTheCell()
    {
        clickAt(cell(2), QPoint(5, 5));
        QCOMPARE(m_document.currentSlot, 2);
        // Inside the frame of the current slot: the cell below takes it.
        m_document.slots[2].name = "two";
        clickAt(cell(2), QPoint(16, 16));
        QVERIFY(preview().startsWith(QStringLiteral("two")));
        // Exactly on the one-pixel frame: the frame owns the pixel, nothing happens.
        m_document.slots[2].name = "changed";
        clickAt(cell(2), QPoint(0, 16));
        QVERIFY(preview().startsWith(QStringLiteral("two")));
        QCOMPARE(m_document.currentSlot, 2);
    }

    void rightClickSelectsAndOpensTheSlotMenuWithoutRefreshing()
    {
        m_document.slots[5].name = "five";
        m_document.slots[23].name = "twenty-three";
        clickAt(cell(5), QPoint(16, 16));
        clickAt(cell(23), QPoint(16, 16), Qt::RightButton);
        QCOMPARE(m_document.currentSlot, 23);
        QCOMPARE(redbox()->pos(), QPoint(144, 84));
        auto* menu = find<QMenu>("复制粘贴");
        QTRY_VERIFY(menu->isVisible());
        menu->close();
        QVERIFY(preview().startsWith(QStringLiteral("five")));
    }

    void doubleClickOpensTheEditorOnThatSlot()
    {
        m_document.slots[7].name = "seven";
        QString editedName;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(qobject_cast<SlotEditor*>(QApplication::activeModalWidget()));
            auto* editor = static_cast<SlotEditor*>(QApplication::activeModalWidget());
            editedName = editor->findChild<QLineEdit*>(QStringLiteral("物品名称"))->text();
            editor->reject();
        });
        QTest::mouseDClick(m_window->windowHandle(), Qt::LeftButton, {}, cell(7)->mapTo(m_window.get(), QPoint(9, 9)));
        QCOMPARE(m_document.currentSlot, 7);
        QCOMPARE(editedName, QStringLiteral("seven"));
    }

    void fewerRowsMoveTheCurrentSlotUp()
    {
        m_document.slots[21].name = "row three";
        m_window->grid()->selectSlot(30);
        setRows(3);
        for (int slot = 1; slot <= kSlotCount; ++slot)
            QCOMPARE(cell(slot)->isVisible(), slot <= 27);
        QCOMPARE(m_document.currentSlot, 21);
        QCOMPARE(redbox()->pos(), QPoint(76, 84));
        QVERIFY(preview().startsWith(QStringLiteral("row three")));

        setRows(6);
        m_window->grid()->selectSlot(50);
        setRows(1);
        QCOMPARE(m_document.currentSlot, 5);

        // A slot that is still visible stays current, and the preview is left alone.
        m_window->grid()->selectSlot(3);
        m_document.slots[3].name = "not refreshed";
        setRows(2);
        QCOMPARE(m_document.currentSlot, 3);
        QVERIFY(!preview().contains(QStringLiteral("not refreshed")));
    }

    void hiddenCellsKeepTheirPictures()
    {
        m_window->grid()->setPicture(40, missingItemPicture());
        setRows(2);
        QVERIFY(!cell(40)->isVisible());
        setRows(6);
        QVERIFY(cell(40)->isVisible());
        QVERIFY(!cell(40)->pixmap().isNull());
    }

    void clearDataEmptiesTheCells()
    {
        m_window->grid()->setPicture(12, missingItemPicture());
        setRows(2);
        clickAt(cell(12), QPoint(16, 16));
        m_document.slots[12].name = "twelve";
        m_window->refreshPreview();
        QTest::mouseClick(find<QPushButton>("清空数据"), Qt::LeftButton);
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            QVERIFY(cell(slot)->isVisible());
            QVERIFY(cell(slot)->pixmap().isNull());
        }
        QCOMPARE(redbox()->pos(), QPoint(8, 16));
        QCOMPARE(m_document.currentSlot, 1);
        QCOMPARE(preview(), QStringLiteral("\n====================\n"));
    }

    void cellsShowComputedPictures()
    {
        test::TempDir dir;
        setProgramDirectory(dir.path().string());
        std::filesystem::create_directories(dir.path() / "items");
        m_document.slots[1] = {.name = "&6&lGolden &rsword", .enchants = "Sharpness, 5", .id = "283"};
        m_document.slots[2] = {
            .lore = "&7A &nplain&r lore\r\n&cred line", .name = "&bDyed cap", .id = "298", .color = "60, 120, 220"};
        test::writeFile(dir.file("items/298-0.bmp"),
                        std::string(leatherBaseTemplate(0).begin(), leatherBaseTemplate(0).end()));
        for (int slot : {1, 2})
            m_window->refreshCell(slot);
        QVERIFY(!cell(1)->pixmap().isNull());  // the missing-item picture
        QCOMPARE(cell(1)->pixmap().toImage().pixelColor(0, 0), QColor(255, 0, 255));
        QCOMPARE(cell(1)->pixmap().toImage().pixelColor(31, 0), QColor(0, 0, 0));
        QCOMPARE(cell(2)->pixmap().toImage().pixelColor(0, 0), QColor(139, 139, 139));

        m_document.slots[1].id = "abc";
        m_window->refreshCell(1);
        QVERIFY(cell(1)->pixmap().isNull());

        setProgramDirectory(".");
    }

    void starterIconsFillAMenu()
    {
        test::TempDir dir;
        std::string error;
        QVERIFY(writeStarterIcons(dir.file("items"), error));
        setProgramDirectory(dir.path().string());
        SlotTable& slots = m_document.slots;
        for (int data = 0; data < 9; ++data)
            slots[1 + data].id = "35:" + std::to_string(data);
        slots[10] = {.name = "&b&lDiamond", .enchants = "Sharpness, 5", .id = "264"};
        slots[11] = {.name = "&aDyed tunic", .id = "299", .color = "60, 160, 60"};
        slots[12] = {.id = "298"};
        slots[13] = {.lore = "&7Owner's head", .name = "&eSkull", .id = "397:3", .head = "Someone"};
        slots[14] = {.name = "&cNo icon", .id = "9999"};
        slots[20] = {.id = "388"};
        slots[21] = {.id = "264"};
        slots[22] = {.lore = "&7Opens the &6shop\r\n&8Click to buy", .name = "&6&lShop &r&ecompass", .id = "345"};
        for (int slot = 1; slot <= kSlotCount; ++slot)
            m_window->refreshCell(slot);
        for (int slot : {1, 10, 11, 13, 14, 22})
            QVERIFY(!cell(slot)->pixmap().isNull());
        QCOMPARE(cell(14)->pixmap().toImage().pixelColor(0, 0), QColor(255, 0, 255));
        clickAt(cell(22), QPoint(16, 16));
        test::saveScreenshot(m_window.get(), QStringLiteral("main-window-grid"));
        setProgramDirectory(".");
    }
};

COFFERON_GUI_TEST_MAIN(PreviewGridTest)
#include "PreviewGridTest.moc"
