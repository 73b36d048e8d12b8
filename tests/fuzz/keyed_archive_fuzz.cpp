// libFuzzer target: the keyed-archive reader (the business part of document
// files), twice over: with stand-in classes, which reach every path of the
// unarchiver, and with the real business decoders, the input taken as the
// business archive behind the books of tests/data/fuzz/document_file/
// invoices.books (rates, periods, a customer and a supplier invoice), opened
// and saved as a whole file.
// Seeds: tests/data/fuzz/keyed_archive. Run for example:
//   keyed_archive_fuzz corpus/ tests/data/fuzz/keyed_archive -entropic=0 -max_total_time=60
#include "keyed_archive_check.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "application_document.h"
#include "document_file_check.h"
#include "platform/core/unicode.h"

namespace {

std::string theBooks;

void fail(const std::string& problem)
{
    std::fprintf(stderr, "%s\n", problem.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ch::setNameOrderLocale("en_US");
    std::ifstream in(COUNTINGHOUSE_TEST_DATA "/fuzz/document_file/invoices.books", std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    theBooks = ch::fuzz::modelStreamOf(file, ch::fuzz::setUpAsTheApplicationDoes);
    if (theBooks.empty()) fail("the books of invoices.books do not open");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view archive(reinterpret_cast<const char*>(data), size);
    if (std::string problem = ch::fuzz::checkKeyedArchive(archive); !problem.empty()) fail(problem);
    if (std::string problem = ch::fuzz::checkDocumentFile(theBooks + std::string(archive),
                                                          ch::fuzz::setUpAsTheApplicationDoes);
        !problem.empty())
        fail("as the business archive: " + problem);
    return 0;
}
