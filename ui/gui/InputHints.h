#pragma once

// Grey hints in edit boxes. A box whose text colour is the hint colour holds
// no value, whatever its text says; that colour is the only marker.

#include <QColor>
#include <QObject>
#include <QString>

class QLineEdit;

namespace cofferon {

// Values longer than this are kept whole beside the box, which shows their
// beginning, read-only (laying out megabytes took seconds at every key and
// paint); Backspace or Delete empties such a box.
inline constexpr qsizetype kLongestEditableValue = 32767;

QColor hintColour();
QColor valueColour();

QColor textColour(const QLineEdit* box);
void setTextColour(QLineEdit* box, const QColor& colour);
bool showsHint(const QLineEdit* box);

// The box's whole text, a value too long to show in it included.
QString boxText(const QLineEdit* box);

// The box's hint text, as installHint() recorded it.
QString hintText(const QLineEdit* box);

// Puts the box into the unset state: its hint in the hint colour.
void showHint(QLineEdit* box);
// Empties a box that shows its hint, in black, before text goes into it by
// other means than typing; a box holding a value is left as it is.
void dropHint(QLineEdit* box);
// Puts a value into the box in black, so it counts as set.
void setValue(QLineEdit* box, const QString& text);

// Drops the hint when the box gets the focus or text is dropped on it, and
// restores it when the box really loses the focus empty: not when a popup
// opens or the window is deactivated while the box keeps its place as the
// window's focus widget. The box starts showing its hint.
void installHint(QLineEdit* box, const QString& hint);

}  // namespace cofferon
