#include "ui/gui/ColourPicker.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "document/core/Rgb.h"

namespace cofferon {

ColourPicker::ColourPicker(QWidget* parent) : QPushButton(parent), m_colour(255, 255, 255)
{
    setAutoDefault(false);
}

void ColourPicker::setColour(const QColor& colour)
{
    m_colour = colour;
    update();
}

unsigned ColourPicker::value() const
{
    return pickerValue({static_cast<std::uint8_t>(m_colour.red()), static_cast<std::uint8_t>(m_colour.green()),
                        static_cast<std::uint8_t>(m_colour.blue())});
}

void ColourPicker::setValue(unsigned value)
{
    setColour(QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                     static_cast<int>((value >> 16) & 0xFF)));
}

void ColourPicker::paintEvent(QPaintEvent* event)
{
    QPushButton::paintEvent(event);
    QPainter painter(this);
    // The swatch, then a small arrow that says a chooser opens.
    const QRect swatch = rect().adjusted(3, 3, -16, -3);
    painter.fillRect(swatch, m_colour);
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
    const int x = width() - 11;
    const int y = height() / 2 - 1;
    painter.setBrush(painter.pen().color());
    painter.drawPolygon(QPolygon({QPoint(x, y), QPoint(x + 6, y), QPoint(x + 3, y + 3)}));
}

}  // namespace cofferon
