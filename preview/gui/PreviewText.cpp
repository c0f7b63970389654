#include "preview/gui/PreviewText.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolTip>

#include "preview/core/FormattedText.h"
#include "ui/gui/DocText.h"

namespace cofferon {

namespace {

// What the tooltip's frame and margins take around the text, both ways.
constexpr int kToolTipFrame = 16;

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

// A run's text for the tooltip, where a character that breaks a line or
// starts a paragraph of its own shows as a space: the lines are measured one
// by one, and such a break would add lines the measure never saw.
QString unbrokenText(std::string_view text)
{
    QString shown = docToQt(text);
    for (QChar& c : shown) {
        if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator ||
            c == QChar(0xFDD0) || c == QChar(0xFDD1))  // the document's frame marks
            c = u' ';
    }
    return shown;
}

// The toolkit's tooltip window showing `text`: a label of the tooltip type.
const QWidget* shownToolTip(const QString& text)
{
    for (const QWidget* top : QApplication::topLevelWidgets()) {
        const auto* label = qobject_cast<const QLabel*>(top);
        if (label && label->windowType() == Qt::ToolTip && label->text() == text)
            return label;
    }
    return nullptr;
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

QString formattedTextHtml(std::string_view text)
{
    QString html;
    for (const StyledRun& run : renderFormattedText(text)) {
        QString style;
        if (run.colour)
            style += QStringLiteral("color:%1;").arg(QColor(run.colour->r, run.colour->g, run.colour->b).name());
        if (run.bold)
            style += QStringLiteral("font-weight:bold;");
        if (run.italic)
            style += QStringLiteral("font-style:italic;");
        if (run.underline || run.strikeout)
            style += QStringLiteral("text-decoration:%1;")
                         .arg(run.underline ? QStringLiteral("underline") : QStringLiteral("line-through"));
        html += QStringLiteral("<span style=\"%1\">%2</span>").arg(style, unbrokenText(run.text).toHtmlEscaped());
    }
    return html;
}

void appendFormattedText(QTextEdit* box, std::string_view text)
{
    appendRuns(box, renderFormattedText(text));
}

QString slotToolTip(const SlotRecord& slot, QSize bound)
{
    // Each line is laid out at the width the box may have, and every line it
    // wraps into becomes a line of its own that does not wrap again: the
    // tooltip then takes exactly the size measured here.
    const int width = std::max(1, bound.width() - kToolTipFrame);
    const int height = std::max(1, bound.height() - kToolTipFrame);
    QTextDocument measured;
    QTextDocument shown;
    for (QTextDocument* document : {&measured, &shown}) {
        document->setDefaultFont(QToolTip::font());
        document->setDocumentMargin(0);
    }
    measured.setTextWidth(width);
    QTextOption wrapping = measured.defaultTextOption();
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    measured.setDefaultTextOption(wrapping);
    QTextBlockFormat unbroken;
    unbroken.setNonBreakableLines(true);

    QTextCursor out(&shown);
    out.setBlockFormat(unbroken);
    qreal used = 0;
    qreal tallest = 0;
    bool first = true;
    const std::vector<std::vector<StyledRun>> lines = tooltipLines(slot);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == 1)
            continue;  // the game's own tooltip has no separator
        QTextCursor in(&measured);
        in.movePosition(QTextCursor::End);
        if (i > 0)
            in.insertBlock();
        for (const StyledRun& run : lines[i])
            in.insertText(unbrokenText(run.text), runFormat(run));
        const QTextBlock block = in.block();
        measured.documentLayout()->blockBoundingRect(block);  // lays the block out
        const QTextLayout* layout = block.layout();
        for (int k = 0; k < layout->lineCount(); ++k) {
            const QTextLine line = layout->lineAt(k);
            tallest = std::max(tallest, line.height());
            const bool lastLine = i + 1 == lines.size() && k + 1 == layout->lineCount();
            // The "…" needs a line's room below, unless nothing follows.
            if (used + line.height() + (lastLine ? 0 : tallest) > height) {
                if (!first)
                    out.insertBlock(unbroken);
                out.insertText(QStringLiteral("…"), runFormat(StyledRun{}));
                return shown.toHtml();
            }
            used += line.height();
            QTextCursor piece(&measured);
            piece.setPosition(block.position() + line.textStart());
            piece.setPosition(block.position() + line.textStart() + line.textLength(), QTextCursor::KeepAnchor);
            if (!first)
                out.insertBlock(unbroken);
            first = false;
            out.insertFragment(piece.selection());
        }
    }
    return shown.toHtml();
}

void showSlotToolTip(const SlotRecord& slot, QPoint at, QWidget* cell, QRect rect)
{
    const QRect available = cell->screen()->availableGeometry();
    QSize bound = available.size();
    QString text = slotToolTip(slot, bound);
    QToolTip::showText(at, text, cell, rect);
    // The toolkit lays the text out again, narrower than the screen, and
    // breaks Chinese anywhere: the tooltip it shows is measured, and cut
    // shorter in proportion until it fits. Each round asks for less room.
    while (const QWidget* tip = shownToolTip(text)) {
        if (tip->height() <= available.height() || bound.height() <= 1)
            break;
        bound.setHeight(std::min(bound.height() - 1,
                                 static_cast<int>(qint64(bound.height()) * available.height() / tip->height())));
        text = slotToolTip(slot, bound);
        QToolTip::showText(at, text, cell, rect);
    }
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
