// Build step: writes the program's icon as PNG files in the hicolor layout
// (16x16/apps/cofferon-generator.png, …) under the folder it is given.

#include <QDir>
#include <QImage>
#include <QString>

#include <iostream>

#include "app/core/AppIcon.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-app-icons OUTPUT_FOLDER\n";
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name =
        QString::fromUtf8(cofferon::kAppIconName.data(), static_cast<qsizetype>(cofferon::kAppIconName.size()));
    for (const int size : cofferon::kAppIconSizes) {
        const QString folder = root + QStringLiteral("/%1x%1/apps").arg(size);
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        cofferon::RgbaImage icon = cofferon::chestIcon(size);
        const QImage image(icon.pixels.data(), size, size, size * 4, QImage::Format_RGBA8888);
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::cerr << "make-app-icons: cannot write " << file.toLocal8Bit().constData() << '\n';
            return 1;
        }
    }
    return 0;
}
