// Real statement files of other programs (the shared corpus, read where it
// lies): every bank and credit-card file gives its transactions with the
// amounts as written under the settings that fit it, the investment
// statement and the prose file none, each saying so. Under the other
// settings (US or German) a file gives the same lines, or marks the lines
// whose amount it cannot read: never another amount in silence.

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "import/CQuickenData.h"
#include "import/ImportDefinition.h"
#include "model/foundation/CDate.h"
#include "import_test_support.h"

namespace ch::test {
namespace {

std::filesystem::path CorpusFolder()
{
    // The corpus lies beside the project's checkout.
    return std::filesystem::path(COUNTINGHOUSE_TEST_DATA) / ".." / ".." / ".." / "shared" / "corpus" / "statements";
}

// A definition of a semicolon (or other) export with the date pattern.
Dictionary Definition(const char* separator, int minimum, int maximum, int skip,
                      std::initializer_list<std::pair<std::string_view, Value>> roles)
{
    using namespace definition_key;
    Dictionary definition{{std::string(kSeparatorCharacters), Value(separator)},
                          {std::string(kSurroundingCharacters), Value("\"")},
                          {std::string(kDeleteSurroundingCharacters), Value(true)},
                          {std::string(kMinimumColumns), Value(minimum)},
                          {std::string(kMaximumColumns), Value(maximum)},
                          {std::string(kFirstLinesToSkip), Value(skip)}};
    for (const auto& [key, value] : roles) definition.set(std::string(key), value);
    return definition;
}

struct Expected {
    std::size_t count;
    double sum;
};

// The notation a file is read under.
enum class Fit { Any, German };

struct CorpusCase {
    const char* file;
    StatementFormat format;
    std::optional<Dictionary> definition;
    Expected total;
    // Per statement account (own account number as read), where a file holds several.
    std::map<std::string, Expected> perAccount;
    Fit fit = Fit::Any;
    // The numbered message of a file that gives no lines; none otherwise.
    const char* message = nullptr;
};

struct Settings {
    const char* name;
    const char* decimal;
    const char* thousands;
    int qifDateFormat;
};
const Settings kUS{"US", ".", ",", 0};
const Settings kGerman{"German", ",", ".", 1};

class CorpusTest : public ImportTest {};

TEST_F(CorpusTest, EveryFileReadsIntoItsTransactions)
{
    if (!std::filesystem::is_directory(CorpusFolder())) GTEST_SKIP() << "no corpus at " << CorpusFolder();
    using namespace definition_key;
    const std::vector<CorpusCase> cases = {
        {"ofx/moneyguru__fortis.ofx", StatementFormat::Ofx, {}, {1, -2.60}, {}},
        {"ofx/moneyguru__ccstmtrs.ofx", StatementFormat::Ofx, {}, {5, -313.23},
         {{"4XXXXXXXXXXXXXX5", {2, -72.84}}, {"4XXXXXXXXXXXXXX9", {3, -240.39}}}},
        {"ofx/ofxparse__multiple_accounts.ofx", StatementFormat::Ofx, {}, {5, 306.13},
         {{"78934567889", {4, 183.13}}, {"89273829182", {1, 123.00}}}},
        {"ofx/ofxparse__suncorp.ofx", StatementFormat::Ofx, {}, {1, -16.85}, {}},
        // An investment statement holds no bank or credit-card transactions.
        {"ofx/ofxparse__investment_medium.ofx", StatementFormat::Ofx, {}, {0, 0.0}, {}, Fit::Any, "312"},
        {"ofx/ofxtools__stmtrs_euro.ofx", StatementFormat::Ofx, {}, {2, -500.00}, {}},
        {"qif/moneyguru__checkbook.qif", StatementFormat::Qif, {}, {8, 3034.12},
         {{"Account 1", {5, 105.20}}, {"Account 2", {3, 2928.92}}}},
        // A split record is one line that carries its splits.
        {"qif/moneyguru__transfer_splits.qif", StatementFormat::Qif, {}, {3, 0.00},
         {{"Checking", {1, -10.00}}, {"Savings", {1, 5.00}}, {"SomeOtherAccount", {1, 5.00}}}},
        // Prose without a "!Type:" line: nothing says what its records are.
        {"qif/moneyguru__invalid.qif", StatementFormat::Qif, {}, {0, 0.0}, {}, Fit::Any, "QIFNOTYPE"},
        // Six register records; the opening balance of 0.00 yields no line,
        // each split record one line that carries its splits.
        {"qif/quiffen__test.qif", StatementFormat::Qif, {}, {5, -35.50}, {}},
        {"csv/moneyguru__fortis.csv", StatementFormat::Delimited,
         Definition(";", 8, 8, 1,
                    {{kBookingDateColumn, Columns({1})}, {kValueDateColumn, Columns({2})},
                     {kAmountColumn, Columns({3})}, {kCurrencyCodeColumn, Columns({4})},
                     {kCounterpartyNameColumn, Columns({5})}, {kCommunicationColumn, Columns({6})},
                     {kOwnAccountNumberColumn, Columns({7})}, {kDateFormat, Value("dd/mm/yyyy")}}),
         {18, -1670.27}, {}, Fit::German},
        {"csv/moneyguru__quoted_sep.csv", StatementFormat::Delimited,
         Definition(",", 4, 4, 1, {{kCommunicationColumn, Columns({0, 1, 2})}, {kAmountColumn, Columns({3})}}),
         {2, 223.87}, {}, Fit::German},
        {"csv/csv2ofx__gls.csv", StatementFormat::Delimited,
         Definition(";", 20, 30, 1,
                    {{kOwnAccountNumberColumn, Columns({0})}, {kBookingDateColumn, Columns({1})},
                     {kValueDateColumn, Columns({2})}, {kCounterpartyNameColumn, Columns({3})},
                     {kCommunicationColumn, Columns({5, 6})}, {kAmountColumn, Columns({19})},
                     {kCurrencyCodeColumn, Columns({21})}, {kDateFormat, Value("dd.mm.yyyy")}}),
         {1, -98.76}, {}, Fit::German},
        {"csv/ofxstatement__dab.csv", StatementFormat::Delimited,
         Definition(";", 6, 7, 2,
                    {{kBookingDateColumn, Columns({0})}, {kValueDateColumn, Columns({1})},
                     {kCounterpartyNameColumn, Columns({3})}, {kCommunicationColumn, Columns({4})},
                     {kAmountColumn, Columns({5})}, {kDateFormat, Value("dd.mm.yyyy")}}),
         {7, 10053.90}, {}, Fit::German},
    };
    auto read = [&](const CorpusCase& c, const Settings& settings) {
        env.useNotation(settings.decimal, settings.thousands);
        env.defaults().set(std::string(CQuickenData::kDateFormatKey), settings.qifDateFormat);
        return readStatement(ReadBytes(CorpusFolder() / c.file), c.format, document,
                             c.definition ? &*c.definition : nullptr);
    };
    for (const CorpusCase& c : cases) {
        const Settings& fitting = c.fit == Fit::German ? kGerman : kUS;
        const Settings& other = c.fit == Fit::German ? kUS : kGerman;
        SCOPED_TRACE(std::string(c.file) + " " + fitting.name);
        const StatementImportResult result = read(c, fitting);
        EXPECT_EQ(result.error, 0);
        // Read under the settings that fit it, a file has nothing else to say.
        EXPECT_EQ(result.notes, c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});

        Expected total{0, 0.0};
        std::map<std::string, Expected> perAccount;
        for (const auto& line : result.lines) {
            ++total.count;
            total.sum += line->mAmount();
            ++perAccount[line->mOurAccountNumber()].count;
            perAccount[line->mOurAccountNumber()].sum += line->mAmount();
            EXPECT_FALSE(line->amountUnread()) << line->mOriginalAmount();
            // Every line carries a real date or says that it has none.
            EXPECT_TRUE(line->mValueDate() == 0 || CDate::IsValidDate(line->mValueDate()));
        }
        EXPECT_EQ(total.count, c.total.count);
        EXPECT_NEAR(total.sum, c.total.sum, 0.005);
        for (const auto& [account, expected] : c.perAccount) {
            EXPECT_EQ(perAccount[account].count, expected.count) << account;
            EXPECT_NEAR(perAccount[account].sum, expected.sum, 0.005) << account;
        }

        // The other settings: the same lines, or lines marked as unread.
        SCOPED_TRACE(other.name);
        const StatementImportResult again = read(c, other);
        EXPECT_EQ(again.error, 0);
        ASSERT_EQ(again.lines.size(), result.lines.size());
        for (std::size_t i = 0; i < again.lines.size(); ++i) {
            const CImpTItem& line = *again.lines[i];
            if (line.amountUnread()) {
                EXPECT_FALSE(line.isComplete());
                EXPECT_EQ(line.mAmount(), 0.0);
            } else {
                EXPECT_NEAR(line.mAmount(), result.lines[i]->mAmount(), 0.005) << line.mOriginalAmount();
            }
            // QIF dates follow the QIF date setting, which the two settings set apart.
            if (c.format != StatementFormat::Qif) {
                EXPECT_EQ(line.mValueDate(), result.lines[i]->mValueDate()) << line.mOriginalValueDate();
            }
        }
    }
}

} // namespace
} // namespace ch::test
