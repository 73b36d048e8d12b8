// libFuzzer target: the keyed-archive reader (the business part of document files).
#include "keyed_archive_check.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem = ch::fuzz::checkKeyedArchive({reinterpret_cast<const char*>(data), size});
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
