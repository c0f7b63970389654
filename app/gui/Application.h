#pragma once

class QApplication;
class QIcon;
class QString;

namespace cofferon {

// Numbers, dates and sizes in Chinese whatever the system's locale: the
// toolkit's file dialog formats them by the system's locale, which the
// toolkit reads from the environment once. Call before the application
// object exists; setUpApplication() then gives the C library back the
// user's locale unless the system has the Chinese one.
void preferChineseLocale();

// The look every window shares: one style and one CJK face, so the windows
// look the same on every machine; the program's icon on every window; and
// the toolkit's own texts (dialogs, buttons, edit menus) in Chinese whatever
// the system's locale, as the program's own texts are; the default locale
// Chinese, China. The program and the
// window tests both start through here.
void setUpApplication(QApplication& application);

// The program's icon in every size desktops ask for.
QIcon applicationIcon();

// The user's own icon folder (~/.local/share/cofferon/items on Linux).
QString userIconFolder();

// Where the recovery files live: the user's state folder, ~/.local/state/cofferon.
QString stateFolderPath();

}  // namespace cofferon
