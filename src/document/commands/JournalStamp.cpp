#include "document/commands/JournalStamp.h"

#include <cstdio>
#include <cstring>

namespace ch {
namespace {

constexpr std::uint64_t kMultiplier1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kMultiplier2 = 0xC2B2AE3D27D4EB4Full;

std::uint64_t rotated(std::uint64_t value, int bits)
{
    return (value << bits) | (value >> (64 - bits));
}

std::uint64_t mixed(std::uint64_t hash, std::uint64_t word)
{
    hash ^= rotated(word * kMultiplier2, 31) * kMultiplier1;
    return rotated(hash, 27) * kMultiplier1 + 0x85EBCA77C2B2AE63ull;
}

} // namespace

std::string journalStampOf(std::span<const std::uint8_t> fileBytes)
{
    // Eight bytes at a time: a large book is stamped at every save and opening.
    std::uint64_t hash = 0x27D4EB2F165667C5ull ^ (fileBytes.size() * kMultiplier1);
    std::size_t at = 0;
    for (; at + 8 <= fileBytes.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, fileBytes.data() + at, 8);
        hash = mixed(hash, word);
    }
    std::uint64_t tail = 0;
    if (at < fileBytes.size()) std::memcpy(&tail, fileBytes.data() + at, fileBytes.size() - at);
    hash = mixed(hash, tail);
    hash ^= hash >> 33;
    hash *= kMultiplier2;
    hash ^= hash >> 29;

    char text[48];
    std::snprintf(text, sizeof text, "%zu:%016llx", fileBytes.size(), static_cast<unsigned long long>(hash));
    return text;
}

} // namespace ch
