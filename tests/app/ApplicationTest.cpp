#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIcon>
#include <QMimeDatabase>
#include <QProcess>
#include <QSettings>
#include <QTest>
#include <QTreeView>

#include "app/core/AppIcon.h"
#include "app/gui/MainWindow.h"
#include "app/gui/StartArguments.h"
#include "editor/gui/SlotEditor.h"
#include "preview/gui/ItemPicker.h"
#include "support/FakeDialogs.h"
#include "support/GuiTestMain.h"
#include "support/Screenshot.h"
#include "support/TempDir.h"

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

    void argumentsNameOneFileOrAskForHelp()
    {
        using Action = StartRequest::Action;
        struct Case {
            QStringList arguments;
            Action action;
            QString file;
            QString text;  // a part of what is printed
        };
        const Case cases[] = {
            {{}, Action::Run, {}, {}},
            {{QStringLiteral("shop.yml")}, Action::Run, QStringLiteral("shop.yml"), {}},
            {{QStringLiteral("--"), QStringLiteral("-odd.ini")}, Action::Run, QStringLiteral("-odd.ini"), {}},
            {{QStringLiteral("--help")}, Action::Print, {}, QStringLiteral("[FILE|FOLDER]")},
            {{QStringLiteral("-h"), QStringLiteral("x.ini")}, Action::Print, {}, QStringLiteral("Ctrl+S")},
            {{QStringLiteral("--version")}, Action::Print, {}, QStringLiteral("cofferon-generator 0.1.0\n")},
            {{QStringLiteral("--bogus")}, Action::Fail, {}, QStringLiteral("bogus")},
            {{QStringLiteral("a.yml"), QStringLiteral("b.yml")}, Action::Fail, {}, QStringLiteral("只能打开一个文件")},
        };
        for (const Case& c : cases) {
            const StartRequest request =
                parseStartArguments(QStringList{QStringLiteral("cofferon-generator")} + c.arguments);
            const QByteArray shown = c.arguments.join(QLatin1Char(' ')).toUtf8();
            QVERIFY2(request.action == c.action, shown.constData());
            QCOMPARE(request.file, c.file);
            QVERIFY2(request.text.contains(c.text), qPrintable(request.text));
            if (c.action == Action::Fail)
                QVERIFY(request.text.contains(QStringLiteral("--help")));
        }
    }

    // A terminal over SSH and help2man have no display: these answers need none.
    void helpAndVersionNeedNoDisplay()
    {
        const std::pair<QString, QString> answers[] = {
            {QStringLiteral("--help"), QStringLiteral("[FILE|FOLDER]")},
            {QStringLiteral("--version"), QStringLiteral("cofferon-generator 0.1.0\n")},
        };
        for (const auto& [argument, expected] : answers) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
                environment.remove(QString::fromLatin1(name));
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(COFFERON_GENERATOR_PROGRAM), {argument});
            QVERIFY(program.waitForFinished(20000));
            const QString error = QString::fromUtf8(program.readAllStandardError());
            QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0, qPrintable(error));
            QVERIFY2(QString::fromUtf8(program.readAllStandardOutput()).contains(expected), qPrintable(argument));
            QCOMPARE(error, QString());
        }
    }

    // The file manager's "打开方式" offers the program for menu files, and for
    // project files (which it tells by their first section) but no other INI file.
    void theDesktopEntryDeclaresTheFileTypes()
    {
        QFile entry(QStringLiteral(COFFERON_SOURCE_DIR "/app/cofferon-generator.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY(text.contains(QStringLiteral("\nExec=cofferon-generator %f\n")));
        QVERIFY(text.contains(QStringLiteral("\nMimeType=application/x-yaml;application/x-cofferon-project;\n")));

        const test::TempDir dir;
        std::filesystem::create_directories(dir.path() / "share/mime/packages");
        std::filesystem::copy_file(COFFERON_SOURCE_DIR "/app/cofferon-generator-mime.xml",
                                   dir.path() / "share/mime/packages/cofferon-generator.xml");
        qputenv("XDG_DATA_DIRS", QByteArray::fromStdString((dir.path() / "share").string()) + ":/usr/share");
        const std::pair<const char*, const char*> files[] = {
            {"shop.ini", "[Setting]\r\ntitle=x\r\n"}, {"bom.ini", "\xEF\xBB\xBF[Setting]\r\n"},
            {"other.ini", "[General]\nsize=1\n"},     {"menu.yml", "menu-setting:\n"},
            {"menu.yaml", "menu-setting:\n"},
        };
        const char* expected[] = {"application/x-cofferon-project", "application/x-cofferon-project", "text/plain",
                                  "application/x-yaml", "application/x-yaml"};
        QMimeDatabase types;
        for (std::size_t i = 0; i < std::size(files); ++i) {
            test::writeFile(dir.file(files[i].first), files[i].second);
            QCOMPARE(types.mimeTypeForFile(QString::fromStdString(dir.file(files[i].first))).name(),
                     QString::fromLatin1(expected[i]));
        }
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
