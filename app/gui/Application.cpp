#include "app/gui/Application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QPixmap>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTranslator>

#include "app/core/AppIcon.h"

namespace cofferon {

namespace {

// Without the translations installed the toolkit keeps its English texts.
void loadToolkitTranslations(QApplication& application)
{
    auto* translator = new QTranslator(&application);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace

void setUpApplication(QApplication& application)
{
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    font.setStyleHint(QFont::SansSerif);
    application.setFont(font);

    loadToolkitTranslations(application);
    // A desktop's own file and colour dialogs would speak the desktop's
    // language; the toolkit's speak ours.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);

    QApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QString::fromUtf8(kAppIconName.data(), qsizetype(kAppIconName.size())));
}

QIcon applicationIcon()
{
    QIcon icon;
    for (const int size : kAppIconSizes) {
        const RgbaImage chest = chestIcon(size);
        const QImage image(chest.pixels.data(), size, size, size * 4, QImage::Format_RGBA8888);
        icon.addPixmap(QPixmap::fromImage(image.copy()));
    }
    return icon;
}

QString userIconFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/cofferon/items");
}

}  // namespace cofferon
