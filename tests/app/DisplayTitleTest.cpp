#include <QCheckBox>
#include <QLocale>
#include <QProcess>
#include <QTest>
#include <QWindow>

#include <clocale>
#include <locale.h>

#include "support/GuiTestMain.h"
#include "support/MainWindowFixture.h"

using namespace cofferon;

// What the window system shows of the window: run on a real display only.
class DisplayTitleTest : public QObject, public test::MainWindowFixture {
    Q_OBJECT

private:
    // A property of the window as xprop reads it, in a UTF-8 locale.
    QString property(const char* name) const
    {
        QProcess xprop;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        xprop.setProcessEnvironment(environment);
        xprop.start(QStringLiteral(COFFERON_XPROP_PROGRAM),
                    {QStringLiteral("-id"), QString::number(m_window->winId()), QString::fromLatin1(name)});
        if (!xprop.waitForFinished(10000))
            return QStringLiteral("xprop did not finish");
        // NAME(TYPE) = "text"
        const QString line = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
        const qsizetype value = line.indexOf(QStringLiteral(" = \""));
        return value < 0 || !line.endsWith(QLatin1Char('"')) ? line : line.mid(value + 4, line.size() - value - 5);
    }

private Q_SLOTS:
    void init() { QVERIFY(openWindow(Shown::Exposed)); }
    void cleanup() { closeWindow(); }

    // The toolkit speaks Chinese; the C library keeps the user's locale
    // unless it has the Chinese one.
    void theToolkitIsChineseAndTheSystemLocaleTheUsers()
    {
        QCOMPARE(QLocale().name(), QStringLiteral("zh_CN"));
        QCOMPARE(QLocale::system().name(), QStringLiteral("zh_CN"));
        const locale_t chinese = ::newlocale(LC_ALL_MASK, "zh_CN.UTF-8", locale_t{});
        const QByteArray expected = chinese ? QByteArray("zh_CN.UTF-8") : qgetenv("LANG");
        if (chinese)
            ::freelocale(chinese);
        QCOMPARE(QByteArray(std::setlocale(LC_CTYPE, nullptr)), expected);
    }

    // The legacy property, which window lists and tools read, holds the same
    // title as the modern one, in Chinese, mark and all.
    void bothTitlePropertiesHoldTheTitle()
    {
        const QString untitled = QStringLiteral("未命名 — Cofferon 配置生成器");
        QCOMPARE(property("_NET_WM_NAME"), untitled);
        QCOMPARE(property("WM_NAME"), untitled);
        find<QCheckBox>("左键开启")->setChecked(true);
        QTRY_COMPARE(property("_NET_WM_NAME"), QStringLiteral("未命名* — Cofferon 配置生成器"));
        QCOMPARE(property("WM_NAME"), QStringLiteral("未命名* — Cofferon 配置生成器"));
    }
};

COFFERON_GUI_TEST_MAIN(DisplayTitleTest)
#include "DisplayTitleTest.moc"
