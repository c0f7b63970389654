#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include "app/gui/MainWindow.h"
#include "preview/gui/PreviewText.h"
#include "support/Controls.h"
#include "support/FakeDialogs.h"
#include "support/GuiTestMain.h"
#include "support/Screenshot.h"

using namespace cofferon;

namespace {

struct Fragment {
    QString text;
    QTextCharFormat format;
};

QList<Fragment> fragments(const QTextEdit& box)
{
    QList<Fragment> all;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            all.push_back({it.fragment().text(), it.fragment().charFormat()});
    }
    return all;
}

}  // namespace

class PreviewTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void runsCarryTheirFormat()
    {
        QTextEdit box;
        appendFormattedText(&box, "plain&l&obold italic&cred&rblack");
        const QList<Fragment> parts = fragments(box);
        QCOMPARE(parts.size(), 4);
        QCOMPARE(parts[0].text, QStringLiteral("plain"));
        QVERIFY(!parts[0].format.hasProperty(QTextFormat::ForegroundBrush));  // the automatic colour
        QCOMPARE(parts[1].text, QStringLiteral("bold italic"));
        QCOMPARE(parts[1].format.fontWeight(), int(QFont::Bold));
        QVERIFY(parts[1].format.fontItalic());
        QCOMPARE(parts[2].format.foreground().color(), QColor(255, 85, 85));
        QCOMPARE(parts[2].format.fontWeight(), int(QFont::Normal));
        QCOMPARE(parts[3].format.foreground().color(), QColor(0, 0, 0));
        for (const Fragment& part : parts) {
            QCOMPARE(part.format.fontPointSize(), 12.0);
            QCOMPARE(part.format.fontFamilies().toStringList().value(0), QStringLiteral("宋体"));
        }
        // Appending adds to the end, without a line break.
        appendFormattedText(&box, "&nmore");
        QCOMPARE(box.toPlainText(), QStringLiteral("plainbold italicredblackmore"));
        QVERIFY(fragments(box).last().format.fontUnderline());
    }

    void refreshShowsNameSeparatorAndLore()
    {
        QTextEdit box;
        box.setPlainText(QStringLiteral("old"));
        SlotRecord slot;
        slot.name = "&cName";
        slot.lore = "a\r\n\r\n&mb\r\n";
        refreshPreview(&box, slot);
        QCOMPARE(box.toPlainText(), QStringLiteral("Name\n====================\na\n\nb\n"));
        const QList<Fragment> parts = fragments(box);
        QCOMPARE(parts[0].format.foreground().color(), QColor(255, 85, 85));
        QVERIFY(!parts[0].format.fontItalic());  // the colour code cleared the italic
        QCOMPARE(parts[1].format.foreground().color(), QColor(170, 0, 170));
        QVERIFY(parts[2].format.fontItalic());
        QVERIFY(parts[3].format.fontStrikeOut());

        refreshPreview(&box, SlotRecord{});
        QCOMPARE(box.toPlainText(), QStringLiteral("\n====================\n"));
    }

    // Once a long lore brings up the scroll bar, the box is narrower than the
    // 20 "=" of the separator; they must still stay on one line.
    void separatorStaysOnOneLineBesideTheScrollBar()
    {
        Document document;
        test::FakeDialogs dialogs;
        MainWindow window(document, dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        std::string lore = "&7a lore line long enough to wrap in the narrow box\r\n";
        for (int line = 1; line <= 30; ++line)
            lore += "&7line " + std::to_string(line) + "\r\n";
        document.slots[1] = {.lore = lore, .name = "&6A long tooltip", .id = "1"};
        window.refreshPreview();
        auto* preview = test::child<QTextEdit>(&window, "效果预览");
        QTRY_VERIFY(preview->verticalScrollBar()->isVisible());
        test::saveScreenshot(&window, QStringLiteral("preview-long-lore"));

        const QTextBlock separator = preview->document()->findBlockByNumber(1);
        QCOMPARE(separator.text(), QStringLiteral("===================="));
        preview->document()->documentLayout()->blockBoundingRect(separator);  // lays it out
        QCOMPARE(separator.layout()->lineCount(), 1);
        // Nothing else is kept from wrapping.
        const QTextBlock longLore = separator.next();
        preview->document()->documentLayout()->blockBoundingRect(longLore);
        QVERIFY(longLore.layout()->lineCount() > 1);
        QVERIFY(!preview->horizontalScrollBar()->isVisible());
    }
};

COFFERON_GUI_TEST_MAIN(PreviewTextTest)
#include "PreviewTextTest.moc"
