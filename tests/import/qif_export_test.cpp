// Export as QIF writes QIF: the registers of the books' own accounts read
// back through the QIF import to the same lines and sums, whole books or one
// account; tab-separated export stays tab-separated.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "../document/document_fixture.h"
#include "document/StatementImport.h"
#include "document/TransactionExport.h"
#include "document/arguments/CTransactionArguments.h"
#include "import/CImpTItem.h"
#include "import/CQuickenData.h"
#include "import/InstallStatementImport.h"
#include "model/CAccount.h"
#include "model/CExpenseType.h"
#include "platform/core/user_defaults.h"

namespace ch::test {
namespace {

// One booking of an account: its date, title and signed amount.
using Booking = std::tuple<DateT, std::string, double>;

class QifExportTest : public DocumentTest {
protected:
    QifExportTest()
    {
        current = addAccount("Current Account", books::kOwnPropertyType);
        savings = addAccount("Savings", books::kOwnPropertyType);
        restaurant = addAccount("Restaurant", books::kProfitAndLossType);
        meals = root().InsertExpenseType(-1, "Meals", std::string_view("Meals"), "", std::string_view(),
                                         books::kExpenseCategory, std::nullopt, nullptr, 100.0)
                    ->Get_Id();
        saved = document->modelStreamBytes();
        post(current, restaurant, meals, 12.5, 20090305, "Lunch");
        post(current, savings, books::kExpenseCategory, 1234.56, 20090310, "Savings Transfer");
        post(books::kIncomeAccount, current, books::kIncomeCategory, 2500.0, 20090325, "Salary");
        post(current, restaurant, meals, 40.0, 20090401, "Dinner in April");   // beyond the range
    }

    ObjectIdT addAccount(const char* name, ObjectIdT typeId)
    {
        return root()
            .InsertAccount(-1, name, std::string_view(name), "", std::string_view(), typeId, books::kEUR,
                           root().GetAccountTypeForId(typeId))
            ->Get_Id();
    }

    void post(ObjectIdT from, ObjectIdT to, ObjectIdT category, double amount, DateT date, const char* name)
    {
        arguments::CTransactionArguments args;
        args.mTransactionDictionary = transactionDictionary(from, to, category, amount, date, name);
        executor().executeCommand(23, nullptr, args);
    }

    // The file read by the QIF import into the books as they were before the
    // postings: each own account's lines.
    std::map<std::string, std::vector<Booking>> readBack(const std::string& file)
    {
        std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
        installStatementImport(*fresh);
        EXPECT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
        std::map<std::string, std::vector<Booking>> read;
        for (const auto& pending : fresh->statementImport().mImportedTransactionArray()) {
            const auto line = std::dynamic_pointer_cast<CImpTItem>(pending);
            if (!line) continue;
            EXPECT_TRUE(line->isComplete()) << line->mTitle() << ": " << line->mRemark();
            const CAccount* own = fresh->accounting()->GetAccountForID(line->mOurAccountId());
            read[own ? own->Get_StringRefNameOnly() : "?"].emplace_back(line->mValueDate(), line->mTitle(),
                                                                        line->mAmount());
        }
        for (auto& [name, lines] : read) std::sort(lines.begin(), lines.end());
        return read;
    }

    static double sum(const std::vector<Booking>& lines)
    {
        double total = 0.0;
        for (const Booking& line : lines) total += std::get<2>(line);
        return total;
    }

    ObjectIdT current = 0, savings = 0, restaurant = 0, meals = 0;
    std::vector<std::uint8_t> saved;
};

TEST_F(QifExportTest, TheBooksReadBackToTheSameLinesAndSums)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    TransactionExport exporter(*document);
    const std::string file = folder.file("books.qif");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090301, 20090331, true, file));
    const std::string text = readFile(file);
    EXPECT_TRUE(text.starts_with("!Account\r\nNCurrent Account\r\nTBank\r\n^\r\n!Type:Bank\r\n")) << text;
    EXPECT_NE(text.find("L[Savings]\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("LMeals\r\n"), std::string::npos) << text;

    const std::map<std::string, std::vector<Booking>> expected = {
        {"Current Account",
         {{20090305, "Lunch", -12.5}, {20090310, "Savings Transfer", -1234.56}, {20090325, "Salary", 2500.0}}},
        {"Savings", {{20090310, "Savings Transfer", 1234.56}}},
    };
    const auto read = readBack(file);
    EXPECT_EQ(read, expected);
    for (const auto& [name, lines] : expected) {
        ASSERT_TRUE(read.contains(name)) << name;
        EXPECT_DOUBLE_EQ(sum(read.at(name)), sum(lines)) << name;
    }

    // Tab-separated text stays as it was: one record per transaction, no QIF.
    const std::string tsv = folder.file("books.tsv");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090301, 20090331, false, tsv));
    const std::string tabs = readFile(tsv);
    EXPECT_EQ(tabs.find("!Type"), std::string::npos);
    EXPECT_EQ(std::count(tabs.begin(), tabs.end(), '\n'), 3);
}

TEST_F(QifExportTest, OneAccountIsOneRegisterThatReadsBack)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    TransactionExport exporter(*document);
    const std::string file = folder.file("current.qif");
    auto account = document->getAccountItemForId(current);
    ASSERT_TRUE(account);
    ASSERT_TRUE(exporter.exportTransactionsForObject(*account, 20090301, 20090331, true, file));
    const std::string text = readFile(file);
    EXPECT_EQ(std::count(text.begin(), text.end(), '!'), 2) << text;   // one register

    const std::map<std::string, std::vector<Booking>> expected = {
        {"Current Account",
         {{20090305, "Lunch", -12.5}, {20090310, "Savings Transfer", -1234.56}, {20090325, "Salary", 2500.0}}},
    };
    EXPECT_EQ(readBack(file), expected);
}

} // namespace
} // namespace ch::test
