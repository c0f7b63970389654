#include "ui/gui/InputHints.h"

#include <QEvent>
#include <QLineEdit>
#include <QPalette>

namespace cofferon {

namespace {

constexpr const char* kHintProperty = "cofferonHint";

class HintController : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (!box)
            return false;
        if (event->type() == QEvent::FocusIn) {
            if (box->text() == hintText(box) && showsHint(box)) {
                box->clear();
                setTextColour(box, valueColour());
            }
        } else if (event->type() == QEvent::FocusOut) {
            if (box->text().isEmpty())
                showHint(box);
        }
        return false;
    }
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

QString hintText(const QLineEdit* box)
{
    return box->property(kHintProperty).toString();
}

void showHint(QLineEdit* box)
{
    setTextColour(box, hintColour());
    box->setText(hintText(box));
    box->setCursorPosition(0);
}

void setValue(QLineEdit* box, const QString& text)
{
    setTextColour(box, valueColour());
    box->setText(text);
}

void installHint(QLineEdit* box, const QString& hint)
{
    box->setProperty(kHintProperty, hint);
    box->installEventFilter(new HintController(box));
    showHint(box);
}

}  // namespace cofferon
