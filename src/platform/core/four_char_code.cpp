#include "platform/core/four_char_code.h"

namespace ch {

std::string fourCCToString(FourCharCode code)
{
    std::string text(4, '\0');
    for (int i = 0; i < 4; ++i)
        text[i] = static_cast<char>((code >> (24 - 8 * i)) & 0xFF);
    return text;
}

FourCharCode fourCCFromString(std::string_view text)
{
    if (text.size() != 4)
        return 0;
    FourCharCode code = 0;
    for (char c : text)
        code = (code << 8) | static_cast<unsigned char>(c);
    return code;
}

} // namespace ch
