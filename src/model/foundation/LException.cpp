#include "model/foundation/LException.h"

#include <cstring>

namespace ch {

LException::LException(std::int32_t code, const char* message)
    : mErrorCode(code)
{
    SetErrorString(message);
}

void LException::Throw(std::int32_t code)
{
    throw LException(code);
}

void LException::Throw(std::int32_t code, const char* message)
{
    throw LException(code, message);
}

void LException::SetErrorString(const char* message)
{
    std::size_t length = message ? std::strlen(message) : 0;
    if (length > 255) length = 255;
    mMessage[0] = static_cast<unsigned char>(length);
    if (length > 0) std::memcpy(mMessage + 1, message, length);

    std::size_t shown = length < 255 ? length : 254;
    if (shown > 0) std::memcpy(mText, message, shown);
    mText[shown] = '\0';
}

} // namespace ch
