#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIcon>
#include <QTest>
#include <QTreeView>

#include "app/core/AppIcon.h"
#include "app/gui/MainWindow.h"
#include "preview/gui/ItemPicker.h"
#include "support/FakeDialogs.h"
#include "support/GuiTestMain.h"
#include "support/Screenshot.h"
#include "support/TempDir.h"
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

    // The test runs under LANG=C: the file dialog's sizes and dates, as every
    // number and date of the program, are Chinese all the same.
    void numbersAndDatesAreChineseUnderAnyLocale()
    {
        QCOMPARE(QLocale().name(), QStringLiteral("zh_CN"));
        test::TempDir dir;
        test::writeFile(dir.file("menu.yml"), std::string(560, 'x'));
        QFileDialog dialog(nullptr, QString(), QString::fromStdString(dir.path().string()));
        auto* model = dialog.findChild<QFileSystemModel*>();
        QVERIFY(model);
        const QString file = QString::fromStdString(dir.file("menu.yml"));
        QTRY_COMPARE(model->index(file, 1).data().toString(), QStringLiteral("560 字节"));
        const QDateTime modified = QFileInfo(file).lastModified();
        QCOMPARE(model->index(file, 3).data().toString(),
                 QLocale(QLocale::Chinese, QLocale::China).toString(modified, QLocale::ShortFormat));
        dialog.show();
        test::saveScreenshot(&dialog, QStringLiteral("file-dialog"));
    }
};

COFFERON_GUI_TEST_MAIN(ApplicationTest)
#include "ApplicationTest.moc"
