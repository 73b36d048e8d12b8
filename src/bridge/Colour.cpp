#include "bridge/Colour.h"

#include <algorithm>

namespace ch {

Colour Colour::fromComponents16(std::uint16_t r, std::uint16_t g, std::uint16_t b)
{
    return {r / 65535.0, g / 65535.0, b / 65535.0, 1.0};
}

std::array<std::uint16_t, 3> Colour::components16() const
{
    auto scale = [](double c) {
        return static_cast<std::uint16_t>(std::clamp(c, 0.0, 1.0) * 65535.0);
    };
    return {scale(red), scale(green), scale(blue)};
}

} // namespace ch
