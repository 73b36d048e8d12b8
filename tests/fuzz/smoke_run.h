#pragma once
// A bounded, deterministic stand-in for a fuzzing session, for the regular
// test run: every file of a corpus folder, then mutations of them, go through
// a check. A check answers an empty text when the reader behaved (refused or
// read consistently), otherwise what went wrong. Crashes and sanitizer reports
// end the test run by themselves.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace ch::fuzz {

using Check = std::function<std::string(std::string_view input)>;

struct SmokeReport {
    std::size_t inputs = 0;
    std::vector<std::string> failures; // what went wrong, with the input in hex
    std::chrono::steady_clock::duration slowest{};
};

inline std::vector<std::string> readCorpus(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end()); // the order must not depend on the file system
    std::vector<std::string> corpus;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return corpus;
}

// One to four random edits: bit flips, interesting bytes, insertions,
// deletions, repeated ranges (nesting), truncation, splices, large numbers.
inline std::string mutate(const std::vector<std::string>& corpus, std::mt19937& random)
{
    auto below = [&](std::size_t n) { return n == 0 ? 0 : std::size_t(random() % n); };
    static const char interesting[] = {'\0', '\x7f', '\x80', '\xff', '"', '\\', '(', ')', '{', '}', '<', '>',
                                       ';', '=', ',', '/', '*', '\x0f', '\x1f', '\xaf', '\xdf', '\x5f', '\x33'};
    std::string s = corpus[below(corpus.size())];
    const std::size_t edits = 1 + below(4);
    for (std::size_t e = 0; e < edits; ++e) {
        const std::size_t at = below(s.size() + 1);
        switch (below(8)) {
        case 0:
            if (!s.empty())
                s[below(s.size())] ^= char(1u << below(8));
            break;
        case 1:
            if (!s.empty())
                s[below(s.size())] = interesting[below(sizeof interesting)];
            break;
        case 2: s.insert(at, 1 + below(4), interesting[below(sizeof interesting)]); break;
        case 3: s.erase(at, 1 + below(16)); break;
        case 4: {
            const std::size_t length = 1 + below(std::min<std::size_t>(s.size() - std::min(at, s.size()), 32));
            const std::string piece = s.substr(at, length);
            for (std::size_t n = 1 + below(64); n > 0; --n)
                s.insert(at, piece);
            break;
        }
        case 5: s.resize(below(s.size() + 1)); break;
        case 6: {
            const std::string& other = corpus[below(corpus.size())];
            s = s.substr(0, at) + other.substr(below(other.size() + 1));
            break;
        }
        default: {
            const char big[] = {'\x7f', '\xff', '\xff', '\xff', '\xff', '\xff', '\xff', '\xff'};
            const std::size_t length = 1 + below(8);
            if (at + length <= s.size())
                s.replace(at, length, big + (8 - length), length);
            break;
        }
        }
    }
    return s;
}

inline std::string hexPrefix(std::string_view bytes, std::size_t limit = 64)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        out += digits[static_cast<unsigned char>(bytes[i]) >> 4];
        out += digits[static_cast<unsigned char>(bytes[i]) & 0xF];
    }
    return bytes.size() > limit ? out + "..." : out;
}

inline SmokeReport runSmoke(const std::filesystem::path& folder, const Check& check, std::size_t mutations,
                            std::uint32_t seed = 20240601)
{
    SmokeReport report;
    const std::vector<std::string> corpus = readCorpus(folder);
    if (corpus.empty()) {
        report.failures.push_back("empty corpus: " + folder.string());
        return report;
    }
    std::mt19937 random(seed);
    auto run = [&](const std::string& input) {
        const auto start = std::chrono::steady_clock::now();
        const std::string problem = check(input);
        report.slowest = std::max(report.slowest, std::chrono::steady_clock::now() - start);
        ++report.inputs;
        if (!problem.empty() && report.failures.size() < 10)
            report.failures.push_back(problem + " [input " + hexPrefix(input) + "]");
    };
    for (const std::string& input : corpus)
        run(input);
    for (std::size_t i = 0; i < mutations; ++i)
        run(mutate(corpus, random));
    return report;
}

} // namespace ch::fuzz
