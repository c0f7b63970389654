#include <QIcon>
#include <QTest>

#include "app/core/AppIcon.h"
#include "app/gui/MainWindow.h"
#include "preview/gui/ItemPicker.h"
#include "support/FakeDialogs.h"
#include "support/GuiTestMain.h"
#include "ui/gui/SlotEditor.h"

using namespace cofferon;

// What every window gets from the program's start.
class ApplicationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyWindowShowsTheChestInEverySize()
    {
        Document document;
        document.currentSlot = 1;
        test::FakeDialogs dialogs;
        MainWindow main(document, dialogs);
        SlotEditor editor(document, dialogs, [](int) {});
        ItemPicker picker(document);
        for (QWidget* window : std::initializer_list<QWidget*>{&main, &editor, &picker}) {
            const QIcon icon = window->windowIcon();
            QList<QSize> expected;
            for (const int size : kAppIconSizes)
                expected << QSize(size, size);
            QCOMPARE(icon.availableSizes(), expected);
            for (const int size : {16, 48, 256}) {
                RgbaImage chest = chestIcon(size);
                const QImage drawn(chest.pixels.data(), size, size, size * 4, QImage::Format_RGBA8888);
                QCOMPARE(icon.pixmap(size).toImage().convertToFormat(QImage::Format_RGBA8888), drawn);
            }
        }
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("cofferon-generator"));
    }
};

COFFERON_GUI_TEST_MAIN(ApplicationTest)
#include "ApplicationTest.moc"
