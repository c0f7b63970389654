#pragma once

#include <cstdint>

namespace cofferon {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb&) const = default;
};

// A colour as one number, as colour pickers hold it: red + 256 * green + 65536 * blue.
constexpr unsigned pickerValue(Rgb colour)
{
    return colour.r + 256u * colour.g + 65536u * colour.b;
}

}  // namespace cofferon
