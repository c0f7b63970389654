#pragma once

class QApplication;

namespace cofferon {

// The look every window shares: one style and one CJK face, so the windows
// look the same on every machine.
void setUpApplication(QApplication& application);

}  // namespace cofferon
