#pragma once

// Grey hints in edit boxes. A box whose text colour is the hint colour holds
// no value, whatever its text says; that colour is the only marker.

#include <QColor>
#include <QObject>
#include <QString>

class QLineEdit;

namespace cofferon {

QColor hintColour();
QColor valueColour();

QColor textColour(const QLineEdit* box);
void setTextColour(QLineEdit* box, const QColor& colour);
bool showsHint(const QLineEdit* box);

// The box's hint text, as installHint() recorded it.
QString hintText(const QLineEdit* box);

// Puts the box into the unset state: its hint in the hint colour.
void showHint(QLineEdit* box);
// Puts a value into the box in black, so it counts as set.
void setValue(QLineEdit* box, const QString& text);

// Drops the hint when the box gets the focus and restores it when the box
// loses the focus empty. The box starts showing its hint.
void installHint(QLineEdit* box, const QString& hint);

}  // namespace cofferon
