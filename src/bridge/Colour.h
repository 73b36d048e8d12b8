#pragma once
// A colour as the interface sees it: red, green, blue and alpha from 0 to 1.
// The model keeps colours as three 16-bit components; they convert by
// dividing by 65535, and back by multiplying by 65535 and cutting toward zero.

#include <array>
#include <cstdint>

namespace ch {

struct Colour {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
    double alpha = 1.0;

    static constexpr Colour black() { return {0.0, 0.0, 0.0, 1.0}; }
    static constexpr Colour white() { return {1.0, 1.0, 1.0, 1.0}; }
    static constexpr Colour cyan() { return {0.0, 1.0, 1.0, 1.0}; }

    // Alpha 1.
    static Colour fromComponents16(std::uint16_t red, std::uint16_t green, std::uint16_t blue);
    // Red, green, blue × 65535, cut toward zero; components outside 0..1 are
    // held to that range first.
    std::array<std::uint16_t, 3> components16() const;

    // Red, green and blue exactly 1.0: the model's "no colour of its own".
    bool isWhite() const { return red == 1.0 && green == 1.0 && blue == 1.0; }

    friend bool operator==(const Colour&, const Colour&) = default;
};

} // namespace ch
