// A few seconds of the keyed-archive fuzz target's work on every test run.
#include "../../fuzz/keyed_archive_check.h"
#include "../../fuzz/smoke_run.h"

#include <gtest/gtest.h>

namespace ch {
namespace {

TEST(FuzzSmoke, KeyedArchiveReader)
{
    // The corpus itself is read, not refused.
    for (const std::string& bytes : fuzz::readCorpus(COUNTINGHOUSE_TEST_DATA "/fuzz/keyed_archive")) {
        KeyedUnarchiver unarchiver(bytes, fuzz::fuzzRegistry());
        EXPECT_FALSE(unarchiver.failed()) << unarchiver.error();
    }
    const fuzz::SmokeReport report =
        fuzz::runSmoke(COUNTINGHOUSE_TEST_DATA "/fuzz/keyed_archive", fuzz::checkKeyedArchive, 6000);
    EXPECT_GT(report.inputs, 0u);
    for (const std::string& failure : report.failures)
        ADD_FAILURE() << failure;
    EXPECT_LT(report.slowest, std::chrono::seconds(1)) << "an input took too long";
}

} // namespace
} // namespace ch
