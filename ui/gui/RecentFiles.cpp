#include "ui/gui/RecentFiles.h"

#include <QSettings>

namespace cofferon {

namespace {

QSettings userSettings()
{
    return QSettings(QStringLiteral("cofferon"), QStringLiteral("cofferon-generator"));
}

const QString kRecentFilesKey = QStringLiteral("recent-files");
const QString kLastFolderKey = QStringLiteral("last-folder");
const QString kRecentFoldersKey = QStringLiteral("recent-folders");

QStringList newestFirst(const QString& key)
{
    QStringList entries = userSettings().value(key).toStringList();
    entries.removeAll(QString());
    return entries.mid(0, kMostRecentFiles);
}

void putFirst(const QString& key, const QString& entry)
{
    QStringList entries = newestFirst(key);
    entries.removeAll(entry);
    entries.prepend(entry);
    userSettings().setValue(key, entries.mid(0, kMostRecentFiles));
}

}  // namespace

QStringList recentFiles()
{
    return newestFirst(kRecentFilesKey);
}

void addRecentFile(const QString& path)
{
    putFirst(kRecentFilesKey, path);
}

QStringList recentFolders()
{
    return newestFirst(kRecentFoldersKey);
}

void addRecentFolder(const QString& path)
{
    putFirst(kRecentFoldersKey, path);
}

QString lastFolder()
{
    return userSettings().value(kLastFolderKey).toString();
}

void setLastFolder(const QString& folder)
{
    userSettings().setValue(kLastFolderKey, folder);
}

}  // namespace cofferon
