#pragma once

// The files last opened or saved and the folder last chosen in a file
// dialog, kept in the user's settings (QSettings, the toolkit's standard
// place), so the file dialogs start where the user left off.

#include <QString>
#include <QStringList>

namespace cofferon {

inline constexpr qsizetype kMostRecentFiles = 8;

// Newest first, at most kMostRecentFiles.
QStringList recentFiles();
// Puts the file first; an earlier entry of it goes.
void addRecentFile(const QString& path);

// The menus folders last opened, newest first, at most kMostRecentFiles.
QStringList recentFolders();
void addRecentFolder(const QString& path);

// Empty until a file was chosen.
QString lastFolder();
void setLastFolder(const QString& folder);

}  // namespace cofferon
