// A bounded, deterministic fuzzing session over the whole document file for
// the regular test run: saved books of every layout the model stream knows,
// books with business objects this build cannot read, and generated books
// with owners, rates, recurring transactions and budgets; every truncation of
// the first small one (owners and banks, then the business archive), then
// thousands of mutations of the small ones.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "../fuzz/document_file_check.h"
#include "../fuzz/smoke_run.h"
#include "document/DocumentBusiness.h"
#include "large_books.h"

namespace ch::test {
namespace {

std::string asText(const std::vector<std::uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// Small files: each model stream of the model's seeds with the empty
// business archive, the first with each archive of the archive seeds, and
// the seeds of the document file's own fuzz target.
std::vector<std::string> smallFiles()
{
    const std::string data = COUNTINGHOUSE_TEST_DATA;
    const std::string emptyArchive = emptyBusinessArchive().bytes;
    std::vector<std::string> files;
    for (const std::string& model : fuzz::readCorpus(data + "/fuzz/model_stream")) files.push_back(model + emptyArchive);
    for (const std::string& archive : fuzz::readCorpus(data + "/fuzz/keyed_archive"))
        files.push_back(files.front() + archive);
    for (const std::string& file : fuzz::readCorpus(data + "/fuzz/document_file")) files.push_back(file);
    return files;
}

TEST(DocumentFileFuzzSmoke, DamagedFilesAreRefusedWithANumberOrOpenIntoBooksThatSaveBackStably)
{
    const std::vector<std::string> files = smallFiles();
    std::vector<std::string> failures;
    auto run = [&](const std::string& input) {
        std::string problem = fuzz::checkDocumentFile(input);
        if (!problem.empty() && failures.size() < 10)
            failures.push_back(problem + " [" + std::to_string(input.size()) + " bytes: " + fuzz::hexPrefix(input) +
                               "]");
    };
    for (const std::string& file : files) EXPECT_EQ(fuzz::checkDocumentFile(file), "") << file.size();
    {
        std::string generated;
        {
            bench::BenchEnvironment environment;
            generated = asText(bench::SaveDocument(*bench::BuildLargeBooks({12, 3})));
        }
        EXPECT_EQ(fuzz::checkDocumentFile(generated), "");
        for (std::size_t size = 0; size < generated.size(); size += generated.size() / 50)
            run(generated.substr(0, size));
    }

    // Every truncation of a whole file, its archive included.
    const std::string& whole = files.front();
    for (std::size_t size = 0; size < whole.size(); ++size) run(whole.substr(0, size));
    std::mt19937 random(20250117);
    for (int i = 0; i < 2500; ++i) run(fuzz::mutate(files, random));
    EXPECT_TRUE(failures.empty()) << failures.front();
}

} // namespace
} // namespace ch::test
