// libFuzzer target: opening a whole document file (the model stream, its end
// tag and the business archive behind it) into the document the application
// opens, business part included, and saving what it opened.
// Seeds: tests/data/fuzz/document_file. Run for example:
//   document_file_fuzz corpus/ tests/data/fuzz/document_file -entropic=0 -max_total_time=60
#include "document_file_check.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "application_document.h"
#include "platform/core/unicode.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ch::setNameOrderLocale("en_US");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string problem = ch::fuzz::checkDocumentFile({reinterpret_cast<const char*>(data), size},
                                                            ch::fuzz::setUpAsTheApplicationDoes);
    if (!problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
