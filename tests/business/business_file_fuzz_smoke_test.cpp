// A bounded run of the whole-file fuzz check over the document the
// application opens, business part installed, so that damaged archives reach
// the real business decoders: the seeds of the document file and, behind the
// books of the invoices seed, those of the keyed archive, then mutations.
// Every input is refused with a number it showed, or opens (with warning 281
// and Save As required when business data could not be read) into books that
// save, open again and save to the same bytes.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "../fuzz/document_file_check.h"
#include "../fuzz/smoke_run.h"
#include "business/InstallBusiness.h"

namespace ch::test {
namespace {

void withBusiness(MyDocument& document)
{
    business::installBusiness(document);
}

TEST(BusinessFileFuzzSmoke, DamagedBusinessArchivesReachTheRealDecodersAndNeverBreakTheRoundTrip)
{
    const std::string data = COUNTINGHOUSE_TEST_DATA;
    std::vector<std::string> files = fuzz::readCorpus(data + "/fuzz/document_file");
    std::ifstream seed(data + "/fuzz/document_file/invoices.books", std::ios::binary);
    const std::string books = fuzz::modelStreamOf(
        std::string(std::istreambuf_iterator<char>(seed), std::istreambuf_iterator<char>()), withBusiness);
    ASSERT_FALSE(books.empty());
    for (const std::string& archive : fuzz::readCorpus(data + "/fuzz/keyed_archive")) files.push_back(books + archive);

    std::vector<std::string> failures;
    auto run = [&](const std::string& input) {
        const std::string problem = fuzz::checkDocumentFile(input, withBusiness);
        if (!problem.empty() && failures.size() < 10)
            failures.push_back(problem + " [" + std::to_string(input.size()) + " bytes: " + fuzz::hexPrefix(input) +
                               "]");
    };
    for (const std::string& file : files) run(file);
    std::mt19937 random(20261210);
    for (int i = 0; i < 1000; ++i) run(fuzz::mutate(files, random));
    for (const std::string& failure : failures) ADD_FAILURE() << failure;
}

} // namespace
} // namespace ch::test
