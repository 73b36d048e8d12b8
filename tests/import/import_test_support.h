#pragma once
// Shared pieces of the import tests: a fixed environment (clock, number and
// date notation, texts, alerts), the default books with a few accounts and
// categories a statement can name, the fixture files, and a summary of an
// import line that tables of expected lines compare with.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "import/BooksImportDocument.h"
#include "import/CImpTItem.h"
#include "import/StatementImport.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/core/clock.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"
#include "platform/core/value.h"
#include "../test_environment.h"

namespace ch::test {

// The pending lines as the import lines they are.
inline std::vector<CImpTItem::Ptr> pendingLines(const PendingImport& pending)
{
    std::vector<CImpTItem::Ptr> lines;
    for (const auto& line : pending.lines()) lines.push_back(std::dynamic_pointer_cast<CImpTItem>(line));
    return lines;
}

// Ids of the default books.
namespace books {
inline constexpr ObjectIdT kEUR = 1;
inline constexpr ObjectIdT kOwnPropertyType = 1;
inline constexpr ObjectIdT kDebtType = 2;
inline constexpr ObjectIdT kProfitAndLossType = 3;
inline constexpr ObjectIdT kAssetsType = 6;
inline constexpr ObjectIdT kOpeningAccount = 1;
inline constexpr ObjectIdT kIncomeAccount = 2;      // unspecified income
inline constexpr ObjectIdT kExpenseAccount = 3;     // unspecified expenses
inline constexpr ObjectIdT kCash = 4;               // the default own-property account
inline constexpr ObjectIdT kExpenseCategory = 1;    // unspecified expenses
inline constexpr ObjectIdT kIncomeCategory = 2;     // unspecified income
inline constexpr ObjectIdT kTransferCategory = 3;
inline constexpr ObjectIdT kOpeningCategory = 4;
inline constexpr ObjectIdT kIncomeGroup = 0;
inline constexpr ObjectIdT kExpenseGroup = 1;
inline constexpr ObjectIdT kTransferGroup = 2;
} // namespace books

// Today is 15 March 2024; dates are written dd.MM.yyyy and amounts with a
// decimal point and thousands commas unless a test says otherwise; remarks
// read as their keys; alerts are recorded; amounts have 2 decimals.
class ImportEnvironment : public TestEnvironment {
public:
    ImportEnvironment() : TestEnvironment(CalendarDate{2024, 3, 15})
    {
        for (const auto& [key, text] : std::vector<std::pair<std::string, std::string>>{
                 {"OFXDEBIT", "Debit"}, {"OFXCREDIT", "Credit"}, {"OFXXFER", "Transfer"}})
            strings().set(key, text);
        CErrorManager::SetMode(false);
    }

    // The user's decimal and thousands separators.
    void useNotation(const char* decimal, const char* thousands)
    {
        defaults().set("NSDecimalSeparator", decimal);
        defaults().set("NSThousandsSeparator", thousands);
    }
};

inline std::filesystem::path FixturePath(const std::string& relative)
{
    return std::filesystem::path(COUNTINGHOUSE_TEST_DATA) / "import" / relative;
}

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The column numbers a delimited definition gives a role.
inline Value Columns(std::initializer_list<int> columns)
{
    Array array;
    for (int column : columns) array.push_back(Value(column));
    return Value(array);
}

// What a test compares of an import line.
struct LineView {
    std::string title;
    double amount = 0.0;
    DateT booking = 0;
    DateT value = 0;
    ObjectIdT own = 0;        // the own account's id
    ObjectIdT other = 0;      // the counter account's id
    ObjectIdT category = 0;
    ObjectIdT currency = 0;
    std::string remark;       // the remark keys, "\r" between them
    bool complete = false;

    friend bool operator==(const LineView&, const LineView&) = default;
    friend void PrintTo(const LineView& v, std::ostream* os)
    {
        std::string remark = v.remark;
        for (char& c : remark)
            if (c == '\r') c = '|';
        *os << "{\"" << v.title << "\", " << v.amount << ", " << v.booking << ", " << v.value << ", own " << v.own
            << ", other " << v.other << ", category " << v.category << ", currency " << v.currency << ", \"" << remark
            << "\", " << (v.complete ? "complete" : "incomplete") << "}";
    }
};

inline LineView ViewOf(const CImpTItem& line)
{
    return {line.mTitle(),          line.mAmount(),        line.mBookingDate(),   line.mValueDate(),
            line.mOurAccountId(),   line.mOtherAccountId(), line.mExpenseTypeId(), line.mCurrencyId(),
            line.mRemark(),         line.isComplete()};
}

inline std::vector<LineView> ViewsOf(const std::vector<CImpTItem::Ptr>& lines)
{
    std::vector<LineView> views;
    for (const auto& line : lines) views.push_back(ViewOf(*line));
    return views;
}

// The default books (EUR) and an import document on them.
class ImportTest : public ::testing::Test {
protected:
    ImportTest() { books.SetDefaults("EUR"); }

    CAccount* AddAccount(const char* name, ObjectIdT typeId, const char* bankNumber = nullptr)
    {
        CAccount* account = books.InsertAccount(-1, name, std::string_view(name), "", std::string_view(), typeId,
                                                books::kEUR, books.GetAccountTypeForId(typeId));
        if (bankNumber) books.setBankAccountNumberT(bankNumber, account);
        return account;
    }
    CExpenseType* AddCategory(const char* name, ObjectIdT groupId)
    {
        return books.InsertExpenseType(-1, name, std::string_view(name), "", std::string_view(), groupId,
                                       std::nullopt, nullptr, 100.0);
    }
    // Books a transaction as the import does.
    ObjectIdT Book(ObjectIdT from, ObjectIdT to, double amount, DateT date, const char* name = "Booked",
                   ObjectIdT category = books::kExpenseCategory)
    {
        ImportedTransaction transaction;
        transaction.name = name;
        transaction.valueDate = date;
        transaction.amount = amount;
        transaction.currencyId = books::kEUR;
        transaction.fromAccountId = from;
        transaction.toAccountId = to;
        transaction.categoryId = category;
        return document.importTransaction(transaction);
    }

    StatementImportResult Read(const std::string& fixture, StatementFormat format,
                               const Dictionary* definition = nullptr)
    {
        return readStatement(ReadBytes(FixturePath(fixture)), format, document, definition);
    }

    ImportEnvironment env;
    CDocAccounting books;
    BooksImportDocument document{books};
};

} // namespace ch::test
