#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <string_view>

#include "document/core/SlotRecord.h"

class QTextEdit;
class QWidget;

namespace cofferon {

// Appends one text's runs at the end of the box, codes applied; neither
// clears the box nor adds a line break.
void appendFormattedText(QTextEdit* box, std::string_view text);

// One line of colour-coded text as rich text for a label: the codes applied,
// in the label's own font.
QString formattedTextHtml(std::string_view text);

// Clears the box and shows the slot's tooltip: name, separator, lore lines,
// each followed by a line break.
void refreshPreview(QTextEdit* box, const SlotRecord& slot);

// The slot's name and lore as the game shows them on hover, with the
// preview's colours, effects and bounds, as rich text for a tooltip that
// fits `bound`: long lines wrap, and the lines that do not fit give way to
// a last line "…".
QString slotToolTip(const SlotRecord& slot, QSize bound);

// Shows the slot's tooltip for `cell` at `at` (global), while the mouse stays
// in `rect`, cut until the tooltip as the toolkit lays it out fits the
// available area of the cell's screen.
void showSlotToolTip(const SlotRecord& slot, QPoint at, QWidget* cell, QRect rect);

}  // namespace cofferon
