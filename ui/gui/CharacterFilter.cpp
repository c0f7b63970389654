#include "ui/gui/CharacterFilter.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "ui/core/CharacterRules.h"

namespace cofferon {

namespace {

// The character a key press types, or 0 when it types none. Ctrl with a
// letter types the control character, as the keyboard's own layer reports
// it on other systems, so Ctrl+V is a character (0x16) and not a paste.
char32_t typedCharacter(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return 0;
    case Qt::Key_Backspace:
        return kBackspace;
    default:
        break;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && event->key() >= Qt::Key_A &&
        event->key() <= Qt::Key_Z)
        return static_cast<char32_t>(event->key() - Qt::Key_A + 1);
    const QString text = event->text();
    if (text.isEmpty())
        return 0;
    return text.toUcs4().value(0);
}

class CharacterFilterObject : public QObject {
public:
    CharacterFilterObject(QLineEdit* box, layout::CharacterFilter filter) : QObject(box), m_filter(filter) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (!box)
            return false;
        if (event->type() == QEvent::KeyPress) {
            const char32_t character = typedCharacter(static_cast<QKeyEvent*>(event));
            if (character == 0)
                return false;
            if (acceptsCharacter(m_filter, character, box->text().toStdString()))
                return false;
            event->accept();
            return true;
        }
        if (event->type() == QEvent::InputMethod)
            return filterCommit(box, static_cast<QInputMethodEvent*>(event));
        return false;
    }

private:
    // Each committed character counts as typed, one after another.
    bool filterCommit(QLineEdit* box, QInputMethodEvent* event)
    {
        const QString committed = event->commitString();
        if (committed.isEmpty() || m_resending)
            return false;
        std::string running = box->text().toStdString();
        QString kept;
        for (char32_t character : committed.toUcs4()) {
            if (!acceptsCharacter(m_filter, character, running))
                continue;
            const QString piece = QString::fromUcs4(&character, 1);
            kept += piece;
            running += piece.toStdString();
        }
        if (kept == committed)
            return false;
        QInputMethodEvent replacement(event->preeditString(), event->attributes());
        replacement.setCommitString(kept, event->replacementStart(), event->replacementLength());
        m_resending = true;
        QCoreApplication::sendEvent(box, &replacement);
        m_resending = false;
        return true;
    }

    layout::CharacterFilter m_filter;
    bool m_resending = false;
};

}  // namespace

void installCharacterFilter(QLineEdit* box, layout::CharacterFilter filter)
{
    if (filter == layout::CharacterFilter::None)
        return;
    box->installEventFilter(new CharacterFilterObject(box, filter));
}

}  // namespace cofferon
