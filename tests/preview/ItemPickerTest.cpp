#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QTest>

#include "document/core/ProgramDirectory.h"
#include "preview/core/BuiltinPictures.h"
#include "preview/core/IconFolders.h"
#include "preview/core/IconListing.h"
#include "preview/gui/IconModel.h"
#include "preview/gui/ItemPicker.h"
#include "support/GuiTestMain.h"
#include "support/Screenshot.h"
#include "support/TempDir.h"

using namespace cofferon;

class ItemPickerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempDir> m_dir;
    Document m_document;

    void addIcon(const std::string& name)
    {
        const Picture& picture = missingItemPicture();
        test::writeFile(m_dir->file("items/" + name), std::string(picture.begin(), picture.end()));
    }

    void addIcons(int count)
    {
        for (int i = 1; i <= count; ++i)
            addIcon(std::to_string(i) + "-0.bmp");
    }

    // Where the icon of `tag` lies in the inner frame, and its picture.
    static QRect iconRect(const ItemPicker& picker, int tag)
    {
        return picker.view()->visualRect(picker.view()->model()->index(tag - 1, 0));
    }
    static QPixmap picture(const ItemPicker& picker, int tag)
    {
        return picker.view()->model()->index(tag - 1, 0).data(Qt::DecorationRole).value<QPixmap>();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<test::TempDir>();
        std::filesystem::create_directories(m_dir->path() / "items");
        setProgramDirectory(m_dir->path().string());
        m_document = Document{};
    }

    void cleanup()
    {
        setIconFolders({});
        setProgramDirectory(".");
        m_dir.reset();
    }

    void namesBecomeItemIds()
    {
        addIcon("35-14.bmp");
        addIcon("1.bmp");
        addIcon("35-1-2.bmp");
        std::filesystem::create_directories(m_dir->path() / "items" / "sub.bmp");
        test::writeFile(m_dir->file("items/notes.txt"), "x");

        ItemPicker picker(m_document);
        QCOMPARE(m_document.pickerList, (std::vector<std::string>{"1.bmp", "35-1-2.bmp", "35-14.bmp"}));
        QStringList picked;
        for (int tag = 1; tag <= 3; ++tag) {
            picker.pickItem(tag);
            picked << picker.pickedItemId();
        }
        QCOMPARE(picked, QStringList({QStringLiteral("1"), QStringLiteral("35:1:2"), QStringLiteral("35:14")}));
        QCOMPARE(picker.result(), int(QDialog::Accepted));
    }

    // The packaged icons, the build tree's and the user's own in one
    // listing; a user's file shows instead of a packaged one of its name.
    void listsEveryIconFolderEachNameOnce()
    {
        const std::string user = m_dir->file("user");
        const std::string packaged = m_dir->file("share/items");
        std::filesystem::create_directories(user);
        std::filesystem::create_directories(packaged);
        auto write = [](const std::string& path, Rgb colour) {
            const Picture picture = blankPicture(colour);
            test::writeFile(path, std::string(picture.begin(), picture.end()));
        };
        write(packaged + "/1-0.bmp", {200, 0, 0});
        write(user + "/1-0.bmp", {0, 200, 0});
        write(packaged + "/35-2.bmp", {0, 0, 200});
        addIcon("3-0.bmp");
        setIconFolders({user, programFile("items"), packaged});

        ItemPicker picker(m_document);
        QCOMPARE(m_document.pickerList, (std::vector<std::string>{"1-0.bmp", "3-0.bmp", "35-2.bmp"}));
        auto colourOf = [&picker](int tag) { return picture(picker, tag).toImage().pixelColor(5, 5); };
        QCOMPARE(colourOf(1), QColor(0, 200, 0));
        QCOMPARE(colourOf(3), QColor(0, 0, 200));
        picker.pickItem(3);
        QCOMPARE(picker.pickedItemId(), QStringLiteral("35:2"));
    }

    void iconsAreLaidOutTenToARowAndPickedByDoubleClick()
    {
        addIcons(25);
        ItemPicker picker(m_document);
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        auto* inner = picker.findChild<QLabel*>(QStringLiteral("内框"));
        QCOMPARE(inner->height(), 99);
        auto* bar = picker.findChild<QScrollBar*>(QStringLiteral("滚动条"));
        QCOMPARE(bar->maximum(), 0);  // everything fits
        QVERIFY(!bar->isEnabled());
        QCOMPARE(iconRect(picker, 25).topLeft(), QPoint(4 * 33, 2 * 33));
        QVERIFY(!picture(picker, 25).isNull());
        QCOMPARE(picker.focusWidget(), picker.view());  // the keys move the mark at once
        test::saveScreenshot(&picker, QStringLiteral("item-picker"));

        const QPoint icon12 = picker.view()->viewport()->mapTo(&picker, iconRect(picker, 12).topLeft() + QPoint(5, 5));
        QTest::mouseClick(picker.windowHandle(), Qt::LeftButton, {}, icon12);
        QTest::mouseDClick(picker.windowHandle(), Qt::RightButton, {}, icon12);
        QVERIFY(picker.isVisible());  // only a double-click with the left button picks
        QCOMPARE(picker.view()->currentIndex().row(), 11);  // a click marks
        QTest::mouseDClick(picker.windowHandle(), Qt::LeftButton, {}, icon12);
        QTRY_VERIFY(!picker.isVisible());
        QCOMPARE(picker.pickedItemId(), QStringLiteral("12:0"));
    }

    // A search over the item IDs, the ID in each icon's tooltip, a click
    // that marks, the arrows that move the mark and Enter that picks it; all
    // in the window's own size.
    void theSearchFindsAndTheKeysPick()
    {
        for (const char* name : {"1-0.bmp", "35-1.bmp", "35-2.bmp", "35-14.bmp", "350-0.bmp", "36-0.bmp"})
            addIcon(name);
        addIcons(30);
        ItemPicker picker(m_document);
        picker.show();
        QVERIFY(QTest::qWaitForWindowActive(&picker));
        QCOMPARE(picker.size(), QSize(377, 480));
        auto* search = picker.findChild<QLineEdit*>(QStringLiteral("搜索"));
        QVERIFY(search && picker.rect().contains(search->geometry()));
        auto shownIds = [&picker] {
            QStringList ids;
            for (int row = 0; row < picker.view()->model()->rowCount(); ++row)
                ids << picker.view()->model()->index(row, 0).data(Qt::ToolTipRole).toString();
            return ids;
        };
        const std::pair<QString, QStringList> searches[] = {
            {QStringLiteral("35"), {QStringLiteral("35:1"), QStringLiteral("35:2"), QStringLiteral("35:14")}},
            {QStringLiteral("35:1"), {QStringLiteral("35:1")}},
        };
        for (const auto& [text, found] : searches) {
            search->clear();
            QTest::keyClicks(picker.view(), text);  // typing on the icons goes to the search box
            QCOMPARE(search->text(), text);
            QCOMPARE(shownIds(), found);
            QCOMPARE(picker.findChild<QLabel*>(QStringLiteral("内框"))->height(), kPickerPitch);
        }

        search->clear();
        QCOMPARE(shownIds().size(), 35);
        const QPoint icon3 = picker.view()->viewport()->mapTo(&picker, iconRect(picker, 3).center());
        QTest::mouseClick(picker.windowHandle(), Qt::LeftButton, {}, icon3);
        QCOMPARE(picker.view()->currentIndex().data(Qt::ToolTipRole).toString(), QStringLiteral("3:0"));
        QVERIFY(picker.isVisible());
        search->setFocus();  // its hint goes, the mark stays
        QCOMPARE(picker.view()->currentIndex().row(), 2);
        QTest::keyClick(picker.view(), Qt::Key_Right);
        QTest::keyClick(picker.view(), Qt::Key_Down);
        QCOMPARE(picker.view()->currentIndex().row(), 13);
        test::saveScreenshot(&picker, QStringLiteral("item-picker-marked"));
        QTest::keyClick(picker.view(), Qt::Key_Return);
        QTRY_VERIFY(!picker.isVisible());
        QCOMPARE(picker.pickedItemId(), QStringLiteral("14:0"));
    }

    void escapeClosesThePickerWithoutPicking()
    {
        addIcons(3);
        ItemPicker picker(m_document);
        picker.show();
        QVERIFY(QTest::qWaitForWindowActive(&picker));
        QTest::keyClick(&picker, Qt::Key_Escape);
        QTRY_VERIFY(!picker.isVisible());
        QCOMPARE(picker.result(), int(QDialog::Rejected));
        QVERIFY(picker.pickedItemId().isEmpty());
    }

    void manyIconsScroll()
    {
        addIcons(500);
        ItemPicker picker(m_document);
        auto* inner = picker.findChild<QLabel*>(QStringLiteral("内框"));
        auto* bar = picker.findChild<QScrollBar*>(QStringLiteral("滚动条"));
        QCOMPARE(inner->height(), 1650);
        QCOMPARE(bar->maximum(), 1650 - (kPickerViewportHeight - 1));
        QVERIFY(bar->isEnabled());
        const QPoint home = inner->pos();
        bar->setValue(330);
        QCOMPARE(inner->pos(), home - QPoint(0, 330));
        // Icon 101 starts row 11, at the top of the viewport now.
        const QPoint icon101 = iconRect(picker, 101).topLeft();
        QCOMPARE(picker.view()->viewport()->mapTo(inner->parentWidget(), icon101).y(), home.y());
    }

    // Opening reads the pictures in view only; the others as they scroll in.
    void picturesAreReadAsTheyComeIntoView()
    {
        addIcons(500);
        ItemPicker picker(m_document);
        QCOMPARE(picker.model()->picturesRead(), 0);
        const QImage opened = picker.grab().toImage();
        const int shown = picker.model()->picturesRead();
        QVERIFY2(shown >= 140 && shown <= 150, qPrintable(QString::number(shown)));  // 14 rows and a part
        // The first icon, as the template box shows a picture: its top left corner at the frame's.
        const QPoint first = picker.view()->viewport()->mapTo(&picker, iconRect(picker, 1).topLeft());
        QCOMPARE(opened.pixelColor(first + QPoint(1, 1)), picture(picker, 1).toImage().pixelColor(1, 1));
        picker.findChild<QScrollBar*>(QStringLiteral("滚动条"))->setValue(1650 - (kPickerViewportHeight - 1));
        picker.grab();
        QVERIFY(picker.model()->picturesRead() < 310);
        QVERIFY(!picture(picker, 500).isNull());
    }

    // Pictures of another size are scaled into the box whole; a file that is
    // no picture leaves the box bare.
    void picturesAreScaledToTheBox()
    {
        for (const int size : {64, 16}) {
            QImage image(size, size, QImage::Format_RGB32);
            image.fill(QColor(0, 0, 255));
            image.setPixelColor(size - 1, size - 1, QColor(255, 0, 0));
            image.save(QString::fromStdString(m_dir->file("items/" + std::to_string(size) + "-0.bmp")), "BMP");
        }
        test::writeFile(m_dir->file("items/99-0.bmp"), "not a picture");
        ItemPicker picker(m_document);
        const QImage small = picture(picker, 1).toImage();
        const QImage large = picture(picker, 2).toImage();
        QCOMPARE(large.size(), QSize(32, 32));
        QCOMPARE(small.size(), QSize(32, 32));
        QCOMPARE(small.pixelColor(31, 31), QColor(255, 0, 0));  // grown sharp: two by two
        QCOMPARE(small.pixelColor(30, 30), QColor(255, 0, 0));
        QCOMPARE(small.pixelColor(29, 29), QColor(0, 0, 255));
        QCOMPARE(large.pixelColor(0, 0), QColor(0, 0, 255));
        QVERIFY(picture(picker, 3).isNull());
    }

    void everyOpeningListsTheFolderAnew()
    {
        addIcon("5-0.bmp");
        addIcon("7-0.bmp");
        {
            ItemPicker first(m_document);
            first.pickItem(2);
            QCOMPARE(first.pickedItemId(), QStringLiteral("7:0"));
        }
        addIcon("6-0.bmp");
        ItemPicker second(m_document);
        second.pickItem(2);
        QCOMPARE(second.pickedItemId(), QStringLiteral("6:0"));
        QCOMPARE(m_document.pickerList.size(), std::size_t(3));
    }

    void missingFolderGivesAnEmptyPicker()
    {
        std::filesystem::remove_all(m_dir->path() / "items");
        ItemPicker picker(m_document);
        QVERIFY(m_document.pickerList.empty());
        QCOMPARE(picker.findChild<QScrollBar*>(QStringLiteral("滚动条"))->maximum(), 0);
    }

    void listingSortsByIdThenData()
    {
        for (const char* name : {"35-10.bmp", "35-2.bmp", "4-0.bmp", "100-0.BMP", "x.bmp"})
            addIcon(name);
        std::vector<std::string> listed;
        for (const IconFile& icon : listIcons({m_dir->file("items")}))
            listed.push_back(icon.name);
        QCOMPARE(listed, (std::vector<std::string>{"x.bmp", "4-0.bmp", "35-2.bmp", "35-10.bmp", "100-0.BMP"}));
        QCOMPARE(pickerScrollMaximum(25), 99 - (kPickerViewportHeight - 1));
        QCOMPARE(pickedItemId("35-14.bmp"), std::string("35:14"));
    }
};

COFFERON_GUI_TEST_MAIN(ItemPickerTest)
#include "ItemPickerTest.moc"
