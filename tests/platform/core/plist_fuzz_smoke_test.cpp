// A few seconds of the fuzz targets' work on every test run: the corpus and
// deterministic mutations of it through each property-list reader.
#include "../../fuzz/old_style_plist_check.h"
#include "../../fuzz/plist_check.h"
#include "../../fuzz/smoke_run.h"

#include <gtest/gtest.h>

namespace ch {
namespace {

void expectClean(const fuzz::SmokeReport& report)
{
    EXPECT_GT(report.inputs, 0u);
    for (const std::string& failure : report.failures)
        ADD_FAILURE() << failure;
    EXPECT_LT(report.slowest, std::chrono::seconds(1)) << "an input took too long";
}

TEST(FuzzSmoke, OldStylePlistReaders)
{
    expectClean(fuzz::runSmoke(COUNTINGHOUSE_TEST_DATA "/fuzz/old_style_plist", fuzz::checkOldStylePlist, 8000));
}

TEST(FuzzSmoke, PlistReader)
{
    expectClean(fuzz::runSmoke(COUNTINGHOUSE_TEST_DATA "/fuzz/plist", fuzz::checkPlist, 8000));
}

} // namespace
} // namespace ch
