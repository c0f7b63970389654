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

}  // namespace

QStringList recentFiles()
{
    QStringList files = userSettings().value(kRecentFilesKey).toStringList();
    files.removeAll(QString());
    return files.mid(0, kMostRecentFiles);
}

void addRecentFile(const QString& path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    userSettings().setValue(kRecentFilesKey, files.mid(0, kMostRecentFiles));
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
