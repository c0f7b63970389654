#include "ui/gui/InputHints.h"

#include <QDropEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPalette>

namespace cofferon {

namespace {

constexpr const char* kHintProperty = "cofferonHint";
constexpr const char* kLongValueProperty = "cofferonLongValue";
constexpr qsizetype kShownBeginning = 200;

bool holdsLongValue(const QLineEdit* box)
{
    return box->property(kLongValueProperty).isValid();
}

// Sets the box's text. The box lays out its whole text at every paint and
// every key, which takes seconds for a value of megabytes; such a value is
// held beside the box, which shows its beginning, read-only.
void setBoxText(QLineEdit* box, const QString& text)
{
    if (text.size() <= kLongestEditableValue) {
        if (holdsLongValue(box)) {
            box->setProperty(kLongValueProperty, QVariant());
            box->setReadOnly(false);
            box->setToolTip(QString());
        }
        box->setText(text);
        return;
    }
    box->setProperty(kLongValueProperty, text);
    box->setReadOnly(true);
    box->setToolTip(QStringLiteral("内容过长(%1 个字符),只显示开头;按退格键清空").arg(text.size()));
    box->setText(text.left(kShownBeginning) + QChar(0x2026));
    box->setCursorPosition(0);
}

// Empties the box in black. Through setText, so the box's undo history is
// dropped with the hint and an undo can never bring the hint back.
void clearHint(QLineEdit* box)
{
    setTextColour(box, valueColour());
    setBoxText(box, QString());
}

class HintController : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (!box)
            return false;
        switch (event->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (holdsLongValue(box) && (key == Qt::Key_Backspace || key == Qt::Key_Delete)) {
                setValue(box, QString());
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
            m_focusAway = false;
            if (box->text() == hintText(box) && showsHint(box))
                clearHint(box);
            break;
        case QEvent::FocusOut: {
            // A popup opening, or the window losing the activation, leaves the
            // box where it is: the user has not left it yet.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if ((reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) &&
                box->window()->focusWidget() == box) {
                m_focusAway = true;
                break;
            }
            restoreIfEmpty(box);
            break;
        }
        case QEvent::WindowActivate:
            // The focus moved on while the window was inactive.
            if (m_focusAway && box->window()->focusWidget() != box)
                restoreIfEmpty(box);
            break;
        case QEvent::Drop: {
            // The dropped text is the value; the hint must not mix with it.
            const QMimeData* data = static_cast<QDropEvent*>(event)->mimeData();
            if (data && !data->text().isEmpty())
                dropHint(box);
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    void restoreIfEmpty(QLineEdit* box)
    {
        m_focusAway = false;
        if (box->text().isEmpty())
            showHint(box);
    }

    bool m_focusAway = false;
};

}  // namespace

QColor hintColour()
{
    return QColor(0x80, 0x80, 0x80);
}

QColor valueColour()
{
    return QColor(0, 0, 0);
}

QColor textColour(const QLineEdit* box)
{
    return box->palette().color(QPalette::Text);
}

void setTextColour(QLineEdit* box, const QColor& colour)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Active, QPalette::Text, colour);
    palette.setColor(QPalette::Inactive, QPalette::Text, colour);
    box->setPalette(palette);
}

bool showsHint(const QLineEdit* box)
{
    return textColour(box) == hintColour();
}

QString boxText(const QLineEdit* box)
{
    const QVariant longValue = box->property(kLongValueProperty);
    return longValue.isValid() ? longValue.toString() : box->text();
}

QString hintText(const QLineEdit* box)
{
    return box->property(kHintProperty).toString();
}

void showHint(QLineEdit* box)
{
    setTextColour(box, hintColour());
    setBoxText(box, hintText(box));
    box->setCursorPosition(0);
}

void dropHint(QLineEdit* box)
{
    if (showsHint(box))
        clearHint(box);
}

void setValue(QLineEdit* box, const QString& text)
{
    setTextColour(box, valueColour());
    setBoxText(box, text);
}

void installHint(QLineEdit* box, const QString& hint)
{
    box->setProperty(kHintProperty, hint);
    box->installEventFilter(new HintController(box));
    showHint(box);
}

}  // namespace cofferon
