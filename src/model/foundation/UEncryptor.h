#pragma once
// The encryption of 256-byte blocks as the model has it: both directions
// leave the block as it is and report no error.

#include <cstdint>

namespace ch {

class UEncryptor {
public:
    UEncryptor() = default;
    ~UEncryptor() = default;

    // The block is left unchanged; 0.
    std::int32_t Encrypt(unsigned char (&block)[256]);
    std::int32_t Decrypt(unsigned char (&block)[256]);
};

} // namespace ch
