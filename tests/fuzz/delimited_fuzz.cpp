// libFuzzer target: the delimited-text statement reader (see delimited_check.h).
// Seeds: tests/data/fuzz/delimited. Run for example:
//   delimited_fuzz tests/data/fuzz/delimited -max_total_time=60
#include "delimited_check.h"

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
    const std::string problem = ch::fuzz::checkDelimited({reinterpret_cast<const char*>(data), size});
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
