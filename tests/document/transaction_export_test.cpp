// Transaction export: records of the posted transactions (or of one
// account's lines) dated within both limits, each ending in CR LF; a file
// that cannot be written is an error shown to the user, never a success.

#include <gtest/gtest.h>

#include <algorithm>

#include "document/TransactionExport.h"
#include "document/arguments/CTransactionArguments.h"
#include "document_fixture.h"

namespace ch::test {
namespace {

class TransactionExportTest : public DocumentTest {
protected:
    TransactionExportTest()
    {
        for (DateT date : {20090301, 20090310, 20090331}) post(date, true);
        post(20090315, false);   // unlinked: not part of the books' export
    }

    void post(DateT date, bool linked)
    {
        Dictionary values = transactionDictionary(books::kDefaultAccount, books::kExpenseAccount,
                                                  books::kExpenseCategory, 10.0, date, "Lunch");
        if (linked) {
            arguments::CTransactionArguments args;
            args.mTransactionDictionary = values;
            executor().executeCommand(23, nullptr, args);
        } else {
            document->operations().transactions->makeNewTransactionFromTransactionDictionaryRepresentation(values,
                                                                                                          false);
        }
    }

    std::string path(const char* name) { return (std::filesystem::path(folder.path()) / name).string(); }

    static long records(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }
};

TEST_F(TransactionExportTest, BothLimitsAreInclusiveAndOnlyPostedTransactionsCount)
{
    struct Case {
        DateT from, to;
        long records;
    };
    const Case cases[] = {
        {20090301, 20090331, 3},
        {20090302, 20090330, 1},
        {20090331, 20090301, 0},   // reversed: an empty file
    };
    TransactionExport exporter(*document);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
        const std::string books = path("books.tsv");
        ASSERT_TRUE(exporter.exportTransactionsFromDate(c.from, c.to, false, books));
        const std::string text = readFile(books);
        EXPECT_EQ(records(text), c.records);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), c.records);   // CR LF

        auto account = document->getAccountItemForId(books::kExpenseAccount);
        const std::string lines = path("account.qif");
        ASSERT_TRUE(exporter.exportTransactionsForObject(*account, c.from, c.to, true, lines));
        // QIF: one record per transaction, each ended by "^" (the account's
        // own "^" in the account list and above its register aside).
        const std::string qif = readFile(lines);
        EXPECT_EQ(std::count(qif.begin(), qif.end(), '^') - (c.records > 0 ? 2 : 0), c.records);
    }
}

TEST_F(TransactionExportTest, AFailedWriteIsReportedAndLeavesTheEarlierFileWhole)
{
    TransactionExport exporter(*document);
    EXPECT_TRUE(exporter.exportTransactionsFromDate(20090301, 20090331, false, ""));   // cancelled
    EXPECT_TRUE(environment.alerts().numbers().empty());

    const std::string missingFolder = path("gone/books.tsv");
    EXPECT_FALSE(exporter.exportTransactionsFromDate(20090301, 20090331, false, missingFolder));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{283});
    EXPECT_FALSE(std::filesystem::exists(missingFolder));

    // A folder in the file's place cannot be replaced: still an error, and
    // nothing left beside it.
    const std::string occupied = path("occupied.tsv");
    std::filesystem::create_directory(occupied);
    EXPECT_FALSE(exporter.exportTransactionsFromDate(20090301, 20090331, false, occupied));
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{283, 283}));
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        EXPECT_EQ(entry.path().filename().string().rfind("occupied.tsv.", 0), std::string::npos) << entry.path();
}

} // namespace
} // namespace ch::test
