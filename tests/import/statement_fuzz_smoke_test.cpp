// A few seconds of the statement readers' fuzz targets on every test run:
// their seeds and deterministic mutations of them, plus inputs that take
// naive readers apart (deep nesting, many unclosed tags, long lines).

#include <gtest/gtest.h>

#include "../fuzz/delimited_check.h"
#include "../fuzz/ofx_check.h"
#include "../fuzz/qif_check.h"
#include "../fuzz/smoke_run.h"
#include "import_test_support.h"

namespace ch::test {
namespace {

void ExpectClean(const fuzz::SmokeReport& report)
{
    EXPECT_GT(report.inputs, 0u);
    for (const std::string& failure : report.failures) ADD_FAILURE() << failure;
    EXPECT_LT(report.slowest, std::chrono::seconds(1)) << "an input took too long";
}

TEST(StatementFuzzSmoke, OfxReader)
{
    ImportEnvironment environment;
    ExpectClean(fuzz::runSmoke(COUNTINGHOUSE_TEST_DATA "/fuzz/ofx", fuzz::checkOfx, 600));
    std::string unclosed = "<OFX>";
    for (int i = 0; i < 100000; ++i) unclosed += "<T" + std::to_string(i) + ">";
    std::string deep = "<?xml version=\"1.0\"?><OFX>";
    for (int i = 0; i < 5000; ++i) deep += "<STMTRS>";
    const std::string lessThans(1 << 20, '<');
    const std::string ampersands = "<OFX>" + std::string(1 << 20, '&');
    for (const std::string& input : {unclosed, deep, lessThans, ampersands})
        EXPECT_EQ(fuzz::checkOfx(input), "");
}

TEST(StatementFuzzSmoke, QifReader)
{
    ImportEnvironment environment;
    ExpectClean(fuzz::runSmoke(COUNTINGHOUSE_TEST_DATA "/fuzz/qif", fuzz::checkQif, 600));
    std::string transfers = "!Type:Bank\n";
    for (int i = 0; i < 200; ++i) transfers += "D1/1/24\nT-1\nL[Account " + std::to_string(i) + "]\n^\n";
    std::string deepNames = "!Type:Cat\n";
    for (int i = 0; i < 200; ++i) deepNames += "N" + std::string(static_cast<std::size_t>(i), ':') + "x\n^\n";
    for (const std::string& input : {transfers, deepNames, "!Type:Bank\nT\nL[\nL[]\nS[\nS\n^\n" + std::string(1 << 20, ';')})
        EXPECT_EQ(fuzz::checkQif(input), "");
}

TEST(StatementFuzzSmoke, DelimitedReader)
{
    ImportEnvironment environment;
    ExpectClean(fuzz::runSmoke(COUNTINGHOUSE_TEST_DATA "/fuzz/delimited", fuzz::checkDelimited, 600));
    std::string wide(8, '\0');
    wide += std::string(1 << 20, ';');
    std::string quotes(8, '\0');
    for (int i = 0; i < 100000; ++i) quotes += "\"a;";
    for (const std::string& input : {wide, quotes}) EXPECT_EQ(fuzz::checkDelimited(input), "");
}

} // namespace
} // namespace ch::test
