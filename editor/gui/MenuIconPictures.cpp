#include "editor/gui/MenuIconPictures.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <utility>

#include "editor/core/MenuIcons.h"

namespace cofferon {

namespace {

QIcon fromPixels(const IconPixels& pixels)
{
    QImage image(IconPixels::kSize, IconPixels::kSize, QImage::Format_ARGB32);
    for (int y = 0; y < IconPixels::kSize; ++y) {
        for (int x = 0; x < IconPixels::kSize; ++x)
            image.setPixel(x, y, pixels.argb[static_cast<std::size_t>(y * IconPixels::kSize + x)]);
    }
    return QIcon(QPixmap::fromImage(image));
}

// The letter A in the effect its entry inserts.
QIcon letterIcon(std::string_view effect)
{
    QPixmap pixmap(IconPixels::kSize, IconPixels::kSize);
    pixmap.fill(Qt::transparent);
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(14);
    font.setBold(effect == "bold");
    font.setItalic(effect == "italic");
    font.setUnderline(effect == "underline");
    font.setStrikeOut(effect == "strikeout");
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("A"));
    return QIcon(pixmap);
}

}  // namespace

QIcon menuIcon(std::string_view key)
{
    constexpr std::string_view kSwatch = "swatch:";
    constexpr std::string_view kLetter = "letter:";
    if (key.starts_with(kSwatch) && key.size() == kSwatch.size() + 1)
        return fromPixels(colourSwatchPixels(key.back()));
    if (key.starts_with(kLetter))
        return letterIcon(key.substr(kLetter.size()));
    const std::pair<std::string_view, MenuIcon> pictures[] = {
        {"chestplate", MenuIcon::Chestplate},
        {"sword", MenuIcon::Sword},
        {"axe", MenuIcon::Axe},
        {"bow", MenuIcon::Bow},
        {"fishing-rod", MenuIcon::FishingRod},
        {"speech-bubble", MenuIcon::SpeechBubble},
    };
    for (const auto& [name, icon] : pictures) {
        if (name == key)
            return fromPixels(menuIconPixels(icon));
    }
    return QIcon();
}

}  // namespace cofferon
