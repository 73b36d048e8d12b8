#include <gtest/gtest.h>

#include <cstring>

#include "model/foundation/UEncryptor.h"

namespace ch {
namespace {

TEST(UEncryptor, BothDirectionsLeaveTheBlockAsItIs)
{
    UEncryptor encryptor;
    for (unsigned char seed : {0, 1, 0xA5, 0xFF}) {
        unsigned char block[256];
        for (std::size_t i = 0; i < sizeof block; ++i) block[i] = static_cast<unsigned char>(seed + i * 7);
        unsigned char original[256];
        std::memcpy(original, block, sizeof block);
        EXPECT_EQ(encryptor.Encrypt(block), 0);
        EXPECT_EQ(std::memcmp(block, original, sizeof block), 0) << int(seed);
        EXPECT_EQ(encryptor.Decrypt(block), 0);
        EXPECT_EQ(std::memcmp(block, original, sizeof block), 0) << int(seed);
    }
}

} // namespace
} // namespace ch
