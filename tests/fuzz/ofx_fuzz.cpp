// libFuzzer target: the OFX statement reader (see ofx_check.h).
// Seeds: tests/data/fuzz/ofx. Run for example:
//   ofx_fuzz tests/data/fuzz/ofx -max_total_time=60
#include "ofx_check.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ch::registerModelDefaults(ch::UserDefaults::standard());
    ch::setNameOrderLocale("en_US");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem = ch::fuzz::checkOfx({reinterpret_cast<const char*>(data), size});
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
