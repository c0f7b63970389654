#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include "preview/gui/PreviewText.h"
#include "support/GuiTestMain.h"

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
};

COFFERON_GUI_TEST_MAIN(PreviewTextTest)
#include "PreviewTextTest.moc"
