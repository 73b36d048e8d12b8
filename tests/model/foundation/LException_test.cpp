#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "model/foundation/LException.h"
#include "model/foundation/StPointerBlock.h"
#include "model/foundation/UDebugging.h"

namespace ch {
namespace {

TEST(LException, CarriesCodeAndBoundedMessage)
{
    try {
        LException::Throw(err::kReadErr);
        FAIL();
    } catch (const LException& e) {
        EXPECT_EQ(e.GetErrorCode(), -19);
        EXPECT_STREQ(e.what(), "");
        EXPECT_EQ(e.GetErrorString()[0], 0);
    }

    const std::string long300(300, 'm');
    LException e(err::kMemFullErr, long300.c_str());
    EXPECT_EQ(e.GetErrorString()[0], 255);
    EXPECT_EQ(std::strlen(e.what()), 254u) << "the terminator takes the last place";
    e.SetErrorString("short");
    EXPECT_STREQ(e.what(), "short");

    EXPECT_THROW(CH_DEBUG_THROW(err::kWriteErr), LException);
}

TEST(StPointerBlock, ReleasesUnlessGivenUp)
{
    void* kept = nullptr;
    {
        StClearPointerBlock block(16);
        ASSERT_NE(block.Get(), nullptr);
        EXPECT_EQ(static_cast<unsigned char*>(block.Get())[15], 0);
        kept = block.Release();
        EXPECT_EQ(block.Get(), nullptr);
    }
    std::free(kept);  // given up: ours now (the leak checker would notice otherwise)

    // Released on the way out of an exception, too (the leak checker would notice).
    EXPECT_THROW(
        {
            StPointerBlock block(64);
            LException::Throw(err::kReadErr);
        },
        LException);
}

} // namespace
} // namespace ch
