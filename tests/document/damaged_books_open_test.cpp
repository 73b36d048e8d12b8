// Books whose file reads record by record but does not add up: each opens
// with all it holds, one numbered warning that names what is wrong, and
// refuses to be saved over its file.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "document/BooksDamageText.h"
#include "document/DocumentFile.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document_fixture.h"
#include "model/CAccount.h"
#include "model/CNamedListArray.h"
#include "model/ModelCodes.h"

namespace ch::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putBigEndian(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// Where the record of the object with the tag, id and 8-bit name begins.
std::size_t recordAt(const Bytes& bytes, const char* tag, ObjectIdT id, const std::string& name)
{
    Bytes header(tag, tag + 4);
    for (std::uint32_t value : {std::uint32_t(id), std::uint32_t(name.size())})
        for (int i = 0; i < 4; ++i) header.push_back(static_cast<std::uint8_t>(value >> (24 - 8 * i)));
    header.insert(header.end(), name.begin(), name.end());
    const auto found = std::search(bytes.begin(), bytes.end(), header.begin(), header.end());
    EXPECT_NE(found, bytes.end()) << tag << " " << name;
    return static_cast<std::size_t>(found - bytes.begin());
}

// What the books hold, list by list, with their booking lines.
struct Contents {
    std::size_t accounts = 0, categories = 0, transactions = 0, lines = 0;
    bool operator==(const Contents&) const = default;
};

Contents contentsOf(CDocAccounting& books)
{
    Contents contents;
    contents.accounts = books.mAccountList->GetCount();
    contents.categories = books.mExpenseTypeList->GetCount();
    for (CNamedListArray* list : {books.mTransactionList.get(), books.mUnlinkedList.get()}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
            auto* transaction = static_cast<CTransaction*>(list->ObjectAt(i));
            ++contents.transactions;
            contents.lines += transaction->GetDebitList()->GetCount() + transaction->GetCreditList()->GetCount() +
                              transaction->GetExpenseTypeList()->GetCount();
        }
    }
    return contents;
}

class DamagedBooksOpenTest : public DocumentTest {
protected:
    DamagedBooksOpenTest() { makeBooks(); }

    // Savings, and three transactions: income into it, rent from it, groceries.
    void makeBooks()
    {
        arguments::AccountArguments savings(std::nullopt, "Savings", std::nullopt, books::kOwnPropertyType,
                                            books::kEUR, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                            std::nullopt, std::nullopt);
        savingsId = executor().executeCommand(13, nullptr, savings);
        book(books::kIncomeAccount, savingsId, books::kIncomeCategory, 2100.0, 20090301, "Salary");
        book(savingsId, books::kExpenseAccount, books::kExpenseCategory, 640.0, 20090302, "Rent");
        book(books::kDefaultAccount, books::kExpenseAccount, books::kExpenseCategory, 82.35, 20090303, "Groceries");
    }

    void book(ObjectIdT from, ObjectIdT to, ObjectIdT category, double amount, DateT date, const char* name)
    {
        arguments::CTransactionArguments values;
        values.mTransactionDictionary = transactionDictionary(from, to, category, amount, date, name);
        executor().executeCommand(23, nullptr, values);
    }

    CTransaction* transactionNamed(const std::string& name)
    {
        CNamedListArray* list = root().mTransactionList.get();
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i)
            if (list->ObjectAt(i)->Get_StringrefName() == name) return static_cast<CTransaction*>(list->ObjectAt(i));
        ADD_FAILURE() << name;
        return nullptr;
    }

    static CDebit* firstLine(CNamedListArray* lines) { return static_cast<CDebit*>(lines->ObjectAt(1)); }

    ObjectIdT savingsId = 0;
};

TEST_F(DamagedBooksOpenTest, EachOpensWithItsWarningAndAllItHoldsAndNeedsSaveAs)
{
    struct Case {
        const char* what;
        std::function<void()> beforeSave;          // damage made in the books before they are written
        std::function<void(Bytes&)> onBytes;       // damage made in the file's bytes
        long warning;
        std::vector<std::string> told;             // what the warning names
    };
    const std::vector<Case> cases = {
        {"an account's id changed", {},
         [&](Bytes& bytes) { putBigEndian(bytes, recordAt(bytes, "AcnT", savingsId, "Savings") + 4, 0x00100000); },
         kBooksDamagedWarning,
         {"2 booking lines name the account with the id " + std::to_string(savingsId)}},
        {"an id doubled", {},
         [&](Bytes& bytes) {
             putBigEndian(bytes, recordAt(bytes, "AcnT", savingsId, "Savings") + 4, books::kDefaultAccount);
         },
         kBooksDamagedWarning, {"had the id " + std::to_string(books::kDefaultAccount), "“Savings”"}},
        {"a line on a missing account",
         [&] { firstLine(transactionNamed("Groceries")->GetDebitList())->Put_mAccountId(98, true, nullptr); }, {},
         kBooksDamagedWarning, {"the account with the id 98", "“Groceries”"}},
        {"a line on a missing category",
         [&] { firstLine(transactionNamed("Rent")->GetExpenseTypeList())->Put_mAccountId(97, true, nullptr); }, {},
         kBooksDamagedWarning, {"the category with the id 97", "“Rent”"}},
        {"a posted transaction that does not balance",
         [&] { firstLine(transactionNamed("Rent")->GetCreditList())->Put_mAmounts(632.0, 632.0); }, {},
         kBooksDamagedWarning, {"“Rent”", "640.00", "632.00"}},
        {"a reference to nothing", [&] { root().GetAccountForID(savingsId)->Put_mAccountOwnerId(77); }, {},
         kBooksDamagedWarning, {"“Savings” names the owner with the id 77"}},
        {"books that closed a VAT period, cut before their business part",
         [&] { transactionNamed("Rent")->Put_mSpecialTypeT(special_type::kVATBalancing); },
         [](Bytes& bytes) {
             const Bytes end = {'F', 'i', 'N', 'i'};
             bytes.erase(std::find_end(bytes.begin(), bytes.end(), end.begin(), end.end()) + 4, bytes.end());
         },
         kBusinessDataNotRead, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        document = newDocument();
        makeBooks();
        // Books as the fixture makes them, whole and then damaged.
        const std::string path = folder.file("Home.books");
        ASSERT_TRUE(saveDocumentAs(*document, path).ok());
        std::unique_ptr<MyDocument> whole = std::make_unique<MyDocument>(dispatcher);
        ASSERT_TRUE(readFromFile(*whole, path).ok());
        const Contents expected = contentsOf(*whole->accounting());
        if (c.beforeSave) c.beforeSave();
        ASSERT_TRUE(saveDocument(*document).ok());
        Bytes bytes = fileBytes(path);
        if (c.onBytes) c.onBytes(bytes);
        const std::string damaged = folder.file("Damaged.books");
        writeFile(damaged, std::string(bytes.begin(), bytes.end()));

        environment.alerts().clear();
        MyDocument opened(dispatcher);
        const FileOutcome outcome = readFromFile(opened, damaged);
        ASSERT_TRUE(outcome.ok());
        EXPECT_EQ(outcome.warning, c.warning);
        ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{c.warning});
        const std::string& message = environment.alerts().records().front().alert.message;
        for (const std::string& told : c.told) EXPECT_NE(message.find(told), std::string::npos) << message;
        EXPECT_EQ(contentsOf(*opened.accounting()), expected);

        EXPECT_EQ(saveDocument(opened).error, kSaveUnderNewName);
        EXPECT_EQ(fileBytes(damaged), bytes);
        EXPECT_TRUE(saveDocumentAs(opened, folder.file("Mended.books")).ok());
    }
}

} // namespace
} // namespace ch::test
