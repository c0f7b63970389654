#include <QAbstractButton>
#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "support/GuiTestMain.h"
#include "ui/gui/Dialogs.h"

using namespace cofferon;

// The toolkit's own dialogs, answered from a timer as a user would.
class QtDialogsTest : public QObject {
    Q_OBJECT

private:
    template <typename T>
    void answer(std::function<void(T*)> act)
    {
        QTimer::singleShot(0, this, [act] {
            QTRY_VERIFY(qobject_cast<T*>(QApplication::activeModalWidget()));
            act(static_cast<T*>(QApplication::activeModalWidget()));
        });
    }

private Q_SLOTS:
    void filtersTakeTheToolkitsForm()
    {
        QCOMPARE(toolkitFilter(QStringLiteral("yaml(*.yml)|*.yml")), QStringLiteral("yaml(*.yml)"));
        QCOMPARE(toolkitFilter(QStringLiteral("配置文件(*.ini)|*.ini")), QStringLiteral("配置文件(*.ini)"));
        QCOMPARE(toolkitFilter(QStringLiteral("Menus|*.yml")), QStringLiteral("Menus (*.yml)"));
        QCOMPARE(toolkitFilter(QStringLiteral("配置文件(*.ini)|*.ini|菜单文件(*.yml *.yaml)|*.yml;*.yaml")),
                 QStringLiteral("配置文件(*.ini);;菜单文件(*.yml *.yaml)"));
    }

    void saveDialogAddsTheExtensionOfItsPattern()
    {
        const QString folder = QDir::tempPath();
        QtDialogs dialogs;
        answer<QFileDialog>([folder](QFileDialog* dialog) {
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->defaultSuffix(), QStringLiteral("yml"));
            dialog->setDirectory(folder);
            dialog->selectFile(QStringLiteral("cofferon-dialog-test"));
            static_cast<QDialog*>(dialog)->accept();
        });
        const auto chosen = dialogs.saveFileName(nullptr, QStringLiteral("yaml(*.yml)|*.yml"));
        QVERIFY(chosen);
        QVERIFY2(chosen->endsWith(QStringLiteral("cofferon-dialog-test.yml")), qPrintable(*chosen));
    }

    void integerInputTakesDigitsAndAnEmptyConfirmation()
    {
        QtDialogs dialogs;
        answer<QInputDialog>([](QInputDialog* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>();
            QTest::keyClicks(edit, QStringLiteral("1a-2"));
            QCOMPARE(dialog->windowTitle(), QStringLiteral("参数"));
            dialog->accept();
        });
        QCOMPARE(
            dialogs.inputText(nullptr, QStringLiteral("参数"), QStringLiteral("点击后给予玩家游戏币"), QString(), true),
            std::optional<QString>(QStringLiteral("12")));

        answer<QInputDialog>([](QInputDialog* dialog) { dialog->accept(); });
        QCOMPARE(dialogs.inputText(nullptr, QStringLiteral("参数"), QStringLiteral("p"), QString(), true),
                 std::optional<QString>(QString()));

        answer<QInputDialog>([](QInputDialog* dialog) { dialog->reject(); });
        QVERIFY(!dialogs.inputText(nullptr, QStringLiteral("参数"), QStringLiteral("p"), QString(), false));
    }

    void messageBoxesCarryCaptionTextAndIcon()
    {
        QtDialogs dialogs;
        answer<QMessageBox>([](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), QStringLiteral("错误"));
            QCOMPARE(box->text(), QStringLiteral("需要菜单标题"));
            QCOMPARE(box->icon(), QMessageBox::Warning);
            box->accept();
        });
        dialogs.message(nullptr, errorCaption(), QStringLiteral("需要菜单标题"), MessageIcon::Warning);
    }

    void questionsMapReturnAndEscapeToTheirButtons()
    {
        QtDialogs dialogs;
        const QStringList buttons = {QStringLiteral("UTF-8"), QStringLiteral("GB2312"), QStringLiteral("取消")};
        const auto ask = [&](int defaultButton, int escapeButton) {
            return dialogs.question(nullptr, QStringLiteral("选择编码"), QStringLiteral("?"), buttons, defaultButton,
                                    escapeButton);
        };
        answer<QMessageBox>([](QMessageBox* box) {
            QCOMPARE(box->windowTitle(), QStringLiteral("选择编码"));
            QCOMPARE(box->buttons().size(), 3);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(ask(1, 2), 1);
        answer<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        QCOMPARE(ask(1, 0), 0);
        answer<QMessageBox>([](QMessageBox* box) { box->close(); });
        QCOMPARE(ask(0, 2), 2);
        answer<QMessageBox>([](QMessageBox* box) {
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == QStringLiteral("取消"))
                    button->click();
            }
        });
        QCOMPARE(ask(0, 1), 2);
    }

    // The suite runs under the C locale: the toolkit's own texts must read
    // Chinese all the same. The file dialog is closed unused at once.
    void toolkitTextsReadChineseWhateverTheLocale()
    {
        QtDialogs dialogs;
        answer<QMessageBox>([](QMessageBox* box) {
            const QString ok = box->button(QMessageBox::Ok)->text();
            box->accept();
            QCOMPARE(ok, QStringLiteral("确定"));
        });
        dialogs.message(nullptr, messageCaption(), QStringLiteral("配置已生成"), MessageIcon::Information);

        // A desktop's native dialog would speak the desktop's language, not ours.
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
        answer<QFileDialog>([](QFileDialog* dialog) {
            QStringList labels;
            for (const QLabel* label : dialog->findChildren<QLabel*>())
                labels << label->text();
            const QString title = dialog->windowTitle();
            dialog->reject();
            QCOMPARE(title, QStringLiteral("另存为"));
            QVERIFY2(labels.contains(QStringLiteral("文件名称(&N)：")), qPrintable(labels.join(u'|')));
        });
        QVERIFY(!dialogs.saveFileName(nullptr, QStringLiteral("yaml(*.yml)|*.yml")));
        // The kind of a folder in the dialog's list, which the toolkit's catalogue lacks.
        QCOMPARE(QAbstractFileIconProvider().type(QFileInfo(QDir::tempPath())), QStringLiteral("文件夹"));

        answer<QColorDialog>([](QColorDialog* dialog) {
            const QString title = dialog->windowTitle();
            dialog->reject();
            QCOMPARE(title, QStringLiteral("选择颜色"));
        });
        QVERIFY(!dialogs.chooseColour(nullptr, Qt::red));

        QLineEdit box;
        std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        QStringList entries;
        for (const QAction* action : menu->actions())
            entries << action->text().section(u'\t', 0, 0);  // without the shortcut
        QVERIFY2(entries.contains(QStringLiteral("粘贴(&P)")), qPrintable(entries.join(u'|')));
    }
};

COFFERON_GUI_TEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
