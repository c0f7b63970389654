#include "app/gui/Application.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>
#include <QToolTip>

namespace cofferon {

void setUpApplication(QApplication& application)
{
    application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    font.setStyleHint(QFont::SansSerif);
    application.setFont(font);
    // Tooltips look like the game's: light text on a dark box.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(0x10, 0x00, 0x10));
    tips.setColor(QPalette::ToolTipText, QColor(0xFF, 0xFF, 0xFF));
    QToolTip::setPalette(tips);
}

}  // namespace cofferon
