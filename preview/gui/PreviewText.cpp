#include "preview/gui/PreviewText.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "preview/core/FormattedText.h"
#include "ui/gui/DocText.h"

namespace cofferon {

namespace {

// The tooltip face is a Song face; where it is not installed a Ming face
// stands in (its half-width letters keep the separator on one line), then
// the program's own CJK face.
QTextCharFormat runFormat(const StyledRun& run)
{
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("AR PL UMing CN"),
                            QStringLiteral("WenQuanYi Micro Hei")});
    format.setFontPointSize(12);
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.italic);
    format.setFontUnderline(run.underline);
    format.setFontStrikeOut(run.strikeout);
    if (run.colour)
        format.setForeground(QColor(run.colour->r, run.colour->g, run.colour->b));
    else
        format.clearForeground();  // the automatic colour: the box's own text colour
    return format;
}

void appendRuns(QTextEdit* box, const std::vector<StyledRun>& runs)
{
    QTextCursor cursor(box->document());
    cursor.movePosition(QTextCursor::End);
    for (const StyledRun& run : runs)
        cursor.insertText(docToQt(run.text), runFormat(run));
}

void keepOnOneLine(QTextEdit* box)
{
    QTextCursor cursor(box->document());
    cursor.movePosition(QTextCursor::End);
    QTextBlockFormat format = cursor.blockFormat();
    format.setNonBreakableLines(true);
    cursor.setBlockFormat(format);
}

void appendLineBreak(QTextEdit* box)
{
    QTextCursor cursor(box->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock(QTextBlockFormat());  // not the separator's format
}

}  // namespace

void appendFormattedText(QTextEdit* box, std::string_view text)
{
    appendRuns(box, renderFormattedText(text));
}

QString slotToolTip(const SlotRecord& slot)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const std::vector<std::vector<StyledRun>> lines = tooltipLines(slot);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == 1)
            continue;  // the game's own tooltip has no separator
        if (i > 0)
            cursor.insertBlock();
        for (const StyledRun& run : lines[i])
            cursor.insertText(docToQt(run.text), runFormat(run));
    }
    return document.toHtml();
}

void refreshPreview(QTextEdit* box, const SlotRecord& slot)
{
    box->clear();
    const std::vector<std::vector<StyledRun>> lines = tooltipLines(slot);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        appendRuns(box, lines[i]);
        // The separator (the second line) stays one line even once a long
        // lore brings up the scroll bar and the box is narrower than it.
        if (i == 1)
            keepOnOneLine(box);
        appendLineBreak(box);
    }
}

}  // namespace cofferon
