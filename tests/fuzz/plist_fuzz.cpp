// libFuzzer target: the XML property-list reader (libplist and our conversion
// of what it returns) and our binary property-list reader.
#include "plist_check.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem = ch::fuzz::checkPlist({reinterpret_cast<const char*>(data), size});
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
