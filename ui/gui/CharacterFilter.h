#pragma once

#include "ui/core/Layout.h"

class QLineEdit;

namespace cofferon {

// Refuses the characters the filter does not take, whether typed on the
// keyboard or committed by an input method. Navigation keys, which type no
// character, always pass; text pasted from the box's context menu is not
// looked at.
void installCharacterFilter(QLineEdit* box, layout::CharacterFilter filter);

}  // namespace cofferon
