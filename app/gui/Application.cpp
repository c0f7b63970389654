#include "app/gui/Application.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

namespace cofferon {

void setUpApplication(QApplication& application)
{
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    font.setStyleHint(QFont::SansSerif);
    application.setFont(font);
}

}  // namespace cofferon
