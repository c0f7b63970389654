#include "app/core/AppIcon.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace cofferon {

namespace {

struct Colour {
    std::uint8_t r, g, b;
};

constexpr Colour kOutline{59, 36, 16};
constexpr Colour kLidTop{214, 155, 88};
constexpr Colour kLid{181, 122, 60};
constexpr Colour kBody{154, 99, 48};
constexpr Colour kPlank{118, 74, 34};
constexpr Colour kIron{92, 92, 98};
constexpr Colour kIronLight{140, 140, 148};
constexpr Colour kGold{242, 196, 49};
constexpr Colour kGoldDark{168, 128, 26};

// Drawn on a grid of 16 units. Every edge is snapped to whole pixels, so
// each size is crisp rather than blurred, and each pixel is worked out on
// the left half only and mirrored, so the chest is symmetric at every size.
class Chest {
public:
    explicit Chest(int size)
        : m_size(size),
          m_border(line(1)),
          m_left(at(1)),
          m_top(at(2)),
          m_seam(at(7)),
          m_bottom(at(15)),
          m_radius(at(2.5)),
          m_middle(size / 2)
    {}

    // The colour at a pixel of the left half, or nullopt where it is clear.
    std::optional<Colour> colourAt(int x, int y) const
    {
        if (x < m_left || y < m_top || y >= m_bottom)
            return std::nullopt;
        // The lid's top corners are rounded.
        const double cx = x + 0.5 - (m_left + m_radius);
        const double cy = y + 0.5 - (m_top + m_radius);
        if (cx < 0 && cy < 0) {
            const double distance = std::hypot(cx, cy);
            if (distance > m_radius)
                return std::nullopt;
            if (distance > m_radius - m_border)
                return kOutline;
        }
        if (x < m_left + m_border || y < m_top + m_border || y >= m_bottom - m_border)
            return kOutline;
        if (const auto latch = latchAt(x, y))
            return latch;
        if (y >= m_seam && y < m_seam + m_border)
            return kOutline;
        if (x < m_left + m_border + line(1.5))
            return m_size >= 48 && x < m_left + m_border + line(0.5) ? kIronLight : kIron;
        if (y < m_seam)
            return y < m_top + m_border + line(1.5) ? kLidTop : kLid;
        // Planks of the body, where there is room for them.
        if (m_size >= 32) {
            for (const double unit : {9.75, 12.25})
                if (y >= at(unit) && y < at(unit) + line(0.5))
                    return kPlank;
        }
        return kBody;
    }

private:
    int at(double unit) const { return static_cast<int>(std::lround(unit * m_size / 16.0)); }

    // Lines keep at least one pixel at the smallest sizes.
    int line(double units) const { return std::max(1, at(units)); }

    // The latch across the seam, with its keyhole.
    std::optional<Colour> latchAt(int x, int y) const
    {
        const int latchLeft = m_middle - std::max(at(1.5), 2);
        const int latchTop = at(5.5);
        const int latchBottom = at(9.5);
        if (x < latchLeft - m_border || y < latchTop - m_border || y >= latchBottom + m_border)
            return std::nullopt;
        if (x < latchLeft || y < latchTop || y >= latchBottom)
            return kOutline;
        const int holeTop = at(7);
        if (x >= m_middle - line(0.5) && y >= holeTop && y < holeTop + line(1.5))
            return kOutline;
        if (m_size >= 24 && y >= latchBottom - line(0.5))
            return kGoldDark;
        return kGold;
    }

    int m_size;
    int m_border;
    int m_left;
    int m_top;
    int m_seam;
    int m_bottom;
    int m_radius;
    int m_middle;
};

}  // namespace

RgbaImage chestIcon(int size)
{
    if (size < 1)
        return {};
    const Chest chest(size);
    RgbaImage image{size, std::vector<std::uint8_t>(std::size_t(size) * size * 4, 0)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (const auto colour = chest.colourAt(std::min(x, size - 1 - x), y)) {
                std::uint8_t* pixel = &image.pixels[(std::size_t(y) * size + x) * 4];
                pixel[0] = colour->r;
                pixel[1] = colour->g;
                pixel[2] = colour->b;
                pixel[3] = 255;
            }
        }
    }
    return image;
}

}  // namespace cofferon
