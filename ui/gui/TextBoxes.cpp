#include "ui/gui/TextBoxes.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDragLeaveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>
#include <limits>

namespace cofferon {

namespace {

bool isLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar(0x0085) || c == QChar(QChar::LineSeparator) ||
        c == QChar(QChar::ParagraphSeparator);
}

// The clipboard's text, or a null string when it holds none. After a restart,
// or once the program that copied has quit, the clipboard reports data with
// no formats at all, or no data.
QString clipboardText(QClipboard::Mode mode)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(mode);
    if (!data || !data->hasText())
        return QString();
    return data->text();
}

bool hasLineBreak(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), isLineBreak);
}

// Line breaks reach a one-line box by every road that inserts text; each is
// caught here and the text goes on without them. Text without line breaks
// takes the toolkit's own road, undo steps and all.
class OneLineInput : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Not a QLineEdit any more while it is being destroyed (its focus goes then).
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (!box || box->isReadOnly())
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste))
                return pasteConverted(box, QClipboard::Clipboard);
            return false;
        case QEvent::MouseButtonRelease:
            // Middle-click pastes the selection where the platform has one (X11).
            if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
                QGuiApplication::clipboard()->supportsSelection() &&
                hasLineBreak(clipboardText(QClipboard::Selection))) {
                box->deselect();
                return pasteConverted(box, QClipboard::Selection);
            }
            return false;
        case QEvent::ContextMenu:
            if (box->contextMenuPolicy() != Qt::DefaultContextMenu)
                return false;
            showContextMenu(box, static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        case QEvent::Drop:
            return dropConverted(box, static_cast<QDropEvent*>(event));
        case QEvent::InputMethod:
            return commitConverted(box, static_cast<QInputMethodEvent*>(event));
        default:
            return false;
        }
    }

private:
    static bool pasteConverted(QLineEdit* box, QClipboard::Mode mode)
    {
        if (!hasLineBreak(clipboardText(mode)))
            return false;
        pasteOneLine(box, mode);
        return true;
    }

    // The toolkit's menu, with its Paste entry taking the one-line road.
    static void showContextMenu(QLineEdit* box, QPoint at)
    {
        QMenu* menu = box->createStandardContextMenu();
        for (QAction* action : menu->actions()) {
            // The toolkit connects its entries by signature; either form is undone here.
            if (QObject::disconnect(action, &QAction::triggered, box, &QLineEdit::paste) ||
                QObject::disconnect(action, SIGNAL(triggered()), box, SLOT(paste())))
                QObject::connect(action, &QAction::triggered, box, [box] { pasteOneLine(box); });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
    }

    bool dropConverted(QLineEdit* box, QDropEvent* event)
    {
        const QMimeData* data = event->mimeData();
        if (!data || !data->hasText() || !hasLineBreak(data->text()))
            return false;
        QMimeData converted;
        converted.setText(oneLineText(data->text()));
        QDropEvent replacement(event->position(), event->possibleActions(), &converted, event->buttons(),
                               event->modifiers());
        QCoreApplication::sendEvent(box, &replacement);
        event->setDropAction(replacement.dropAction());
        event->setAccepted(replacement.isAccepted());
        return true;
    }

    bool commitConverted(QLineEdit* box, QInputMethodEvent* event)
    {
        if (!hasLineBreak(event->commitString()))
            return false;
        QInputMethodEvent replacement(event->preeditString(), event->attributes());
        replacement.setCommitString(oneLineText(event->commitString()), event->replacementStart(),
                                    event->replacementLength());
        QCoreApplication::sendEvent(box, &replacement);
        event->setAccepted(replacement.isAccepted());
        return true;
    }
};

// The toolkit's own multi-line paste reads the first format of the data
// without checking that there is one, and dies on a clipboard that holds
// none. Every paste road (keys, menu, middle-click, drop) comes through here.
class MultiLineBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override
    {
        return source && !source->formats().isEmpty() && QPlainTextEdit::canInsertFromMimeData(source);
    }

    void insertFromMimeData(const QMimeData* source) override
    {
        if (source && !source->formats().isEmpty())
            QPlainTextEdit::insertFromMimeData(source);
    }

    // The toolkit's own drop dies asking for the caret's place in a line that
    // is not laid out yet (text dropped near the end of a long wrapped line),
    // so drops are done here: at the drop point, and a move within the box
    // takes its text away from where it was.
    void dropEvent(QDropEvent* event) override
    {
        const QMimeData* dropped = event->mimeData();
        if (!dropped || !dropped->hasText() || isReadOnly()) {
            event->ignore();
            return;
        }
        // Ends the drop caret that dragging drew.
        QDragLeaveEvent leave;
        QPlainTextEdit::dragLeaveEvent(&leave);

        QTextCursor at = cursorForPosition(event->position().toPoint());
        QTextCursor dragged = textCursor();
        const bool move = (event->source() == viewport() || event->source() == this) &&
            event->dropAction() == Qt::MoveAction && dragged.hasSelection();
        if (move && at.position() >= dragged.selectionStart() && at.position() <= dragged.selectionEnd()) {
            event->ignore();
            return;
        }
        at.beginEditBlock();
        at.insertText(dropped->text());
        if (move)
            dragged.removeSelectedText();
        at.endEditBlock();
        setTextCursor(at);
        event->acceptProposedAction();
    }
};

}  // namespace

QString oneLineText(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!isLineBreak(c)) {
            result += c;
            continue;
        }
        result += u' ';
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    return result;
}

void pasteOneLine(QLineEdit* box, QClipboard::Mode mode)
{
    if (box->isReadOnly())
        return;
    const QString text = oneLineText(clipboardText(mode));
    if (!text.isEmpty() || box->hasSelectedText())
        box->insert(text);
}

QLineEdit* makeOneLineBox(QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    // The toolkit's default of 32767 would cut a longer title or name loaded
    // from a project, and the next save would lose the rest.
    box->setMaxLength(std::numeric_limits<int>::max());
    box->installEventFilter(new OneLineInput(box));
    return box;
}

QPlainTextEdit* makeMultiLineBox(QWidget* parent)
{
    auto* box = new MultiLineBox(parent);
    // A tab typed into a value would be stored and exported; Tab moves on as
    // it does everywhere else.
    box->setTabChangesFocus(true);
    return box;
}

}  // namespace cofferon
