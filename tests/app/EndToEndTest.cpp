#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/gui/MainWindow.h"
#include "document/core/ProgramDirectory.h"
#include "editor/gui/SlotEditor.h"
#include "preview/core/StarterIcons.h"
#include "preview/gui/PreviewGrid.h"
#include "support/FakeDialogs.h"
#include "support/GuiTestMain.h"
#include "support/TempDir.h"

using namespace cofferon;

// A whole menu composed from an empty document through the widgets alone,
// saved as a project and exported, as a user would do it.
class EndToEndTest : public QObject {
    Q_OBJECT

private:
    template <typename T>
    static T* find(QWidget* window, const char* name)
    {
        T* widget = window->findChild<T*>(QString::fromUtf8(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    static void typeInto(QWidget* box, const QString& text)
    {
        box->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(box->hasFocus());
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

private Q_SLOTS:
    void composeSaveAndExport()
    {
        test::TempDir dir;
        std::string error;
        QVERIFY(writeStarterIcons(dir.file("items"), error));
        setProgramDirectory(dir.path().string());

        Document document;
        test::FakeDialogs dialogs;
        MainWindow window(document, dialogs);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        typeInto(find<QLineEdit>(&window, "菜单标题"), QStringLiteral("&6小店"));
        typeInto(find<QLineEdit>(&window, "菜单指令"), QStringLiteral("shop"));
        find<QComboBox>(&window, "行数")->setCurrentIndex(0);

        const QPoint inCell = window.grid()->cell(2)->mapTo(&window, QPoint(16, 16));
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, inCell);

        // Double-click slot 2 and fill the editor while it is modal; should
        // that fail, the editor is closed so that the test ends.
        QTimer::singleShot(20000, this, [] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->reject();
        });
        bool edited = false;
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(qobject_cast<SlotEditor*>(QApplication::activeModalWidget()));
            auto* editor = static_cast<SlotEditor*>(QApplication::activeModalWidget());
            QTRY_VERIFY(find<QLineEdit>(editor, "物品名称")->hasFocus());
            for (QChar c : QStringLiteral("&a绿色羊毛"))
                QTest::sendKeyEvent(QTest::Click, find<QLineEdit>(editor, "物品名称"), Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            typeInto(find<QLineEdit>(editor, "物品ID"), QStringLiteral("35:5"));
            typeInto(find<QLineEdit>(editor, "扣除金钱"), QStringLiteral("20"));
            dialogs.inputs.push_back(QStringLiteral("&a谢谢"));
            find<QMenu>(editor, "指令列表")->findChild<QAction*>(QStringLiteral("显示消息"))->trigger();
            QTest::mouseClick(find<QPushButton>(editor, "保存"), Qt::LeftButton);
            edited = true;
        });
        QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, inCell);
        QVERIFY(edited);
        QVERIFY(!window.grid()->cell(2)->pixmap().isNull());

        dialogs.fileNames.push_back(QString::fromStdString(dir.file("shop")));
        QTest::mouseClick(find<QPushButton>(&window, "保存配置"), Qt::LeftButton);
        QVERIFY(std::filesystem::exists(dir.file("shop.ini")));

        dialogs.fileNames.push_back(QString::fromStdString(dir.file("shop")));
        window.exportAs(OutputEncoding::Utf8);
        QCOMPARE(dialogs.messages.back().text, QStringLiteral("配置已生成"));
        QCOMPARE(test::readFile(dir.file("shop.yml")),
                 std::string("menu-setting:\r\n  name: '&6小店'\r\n  rows: 1\r\n  command: 'shop'\r\n"
                             "2:\r\n  ID: 35\r\n  DATA-VALUE: 5\r\n  POSITION-X: 2\r\n  POSITION-Y: 1\r\n"
                             "  NAME: '&a绿色羊毛'\r\n  COMMAND: 'tell:&a谢谢'\r\n  PRICE: 20\r\n"));
        setProgramDirectory(".");
    }
};

COFFERON_GUI_TEST_MAIN(EndToEndTest)
#include "EndToEndTest.moc"
