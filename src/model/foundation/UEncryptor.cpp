#include "model/foundation/UEncryptor.h"

namespace ch {

std::int32_t UEncryptor::Encrypt(unsigned char (&)[256])
{
    return 0;
}

std::int32_t UEncryptor::Decrypt(unsigned char (&)[256])
{
    return 0;
}

} // namespace ch
