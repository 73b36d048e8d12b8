// A bounded run of the keyed-archive fuzz target: every corpus file and a few
// thousand deterministic mutations of them must decode or fail cleanly.
#include "../../fuzz/keyed_archive_fuzz.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace ch {
namespace {

TEST(KeyedArchiveFuzzSmoke, CorpusAndMutationsDecodeOrFailCleanly)
{
    std::vector<std::string> corpus;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(COUNTINGHOUSE_TEST_DATA) / "fuzz" / "keyed_archive")) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        corpus.push_back(bytes.str());
    }
    ASSERT_GE(corpus.size(), 3u);

    // The corpus itself decodes: the unarchiver accepts these layouts.
    for (const std::string& bytes : corpus)
        fuzz::feedKeyedUnarchiver(bytes);
    KeyedUnarchiver business(corpus.front().empty() ? corpus.back() : corpus.front(), fuzz::fuzzRegistry());
    EXPECT_FALSE(business.failed()) << business.error();

    std::mt19937 random(20240601);
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = corpus[random() % corpus.size()];
        const int edits = 1 + int(random() % 4);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 4) {
            case 0: bytes[at] = char(bytes[at] ^ (1 << (random() % 8))); break;
            case 1: bytes[at] = char(random()); break;
            case 2: bytes.resize(at); break;
            default: bytes.insert(at, 1, char(random())); break;
            }
        }
        fuzz::feedKeyedUnarchiver(bytes);
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(5))
            break; // bounded in time on slow machines
    }
}

} // namespace
} // namespace ch
