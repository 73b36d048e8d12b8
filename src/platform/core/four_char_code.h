#pragma once
// Four-character codes: type codes of model objects, file tags and version codes.
// The first character sits in the high byte, so codes compare as unsigned
// big-endian integers ('0.61' < '1.10' < '2.00').

#include <cstdint>
#include <string>
#include <string_view>

namespace ch {

using FourCharCode = std::uint32_t;

constexpr FourCharCode fourCC(const char (&text)[5])
{
    return (FourCharCode(static_cast<unsigned char>(text[0])) << 24) |
           (FourCharCode(static_cast<unsigned char>(text[1])) << 16) |
           (FourCharCode(static_cast<unsigned char>(text[2])) << 8) |
           FourCharCode(static_cast<unsigned char>(text[3]));
}

// The four characters of a code, high byte first.
std::string fourCCToString(FourCharCode code);

// The code of a text of exactly four bytes; 0 for any other length.
FourCharCode fourCCFromString(std::string_view text);

} // namespace ch
