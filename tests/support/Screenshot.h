#pragma once

// Saves a picture of a widget when COFFERON_SCREENSHOTS names a folder, so
// the windows can be looked at as a user sees them.

#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace cofferon::test {

inline void saveScreenshot(QWidget* widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("COFFERON_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    widget->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace cofferon::test
