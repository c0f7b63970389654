#pragma once

// The edit boxes the layouts are built with. Pastes into them survive a
// clipboard that holds no data, one-line boxes turn pasted line breaks into
// blanks, and no box cuts a value that the program sets, however long.

#include <QClipboard>
#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace cofferon {

QLineEdit* makeOneLineBox(QWidget* parent);
QPlainTextEdit* makeMultiLineBox(QWidget* parent);

// CR LF, CR, LF, NEL, LS and PS each become one blank; nothing else changes.
QString oneLineText(const QString& text);

// Pastes the clipboard's text into the box as a one-line paste does: at the
// caret, over the selection. Does nothing when the clipboard holds no text.
void pasteOneLine(QLineEdit* box, QClipboard::Mode mode = QClipboard::Clipboard);

}  // namespace cofferon
