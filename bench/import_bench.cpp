// Statement import into the large books: a 50,000-transaction OFX statement
// of the busiest bank account and a 50,000-row delimited export of it, read
// and completed against the 100,000-transaction books, every complete line's
// duplicate searched. And a QIF register naming N transfer targets that do
// not exist yet (each made once, named by two records), into new books: its
// time must grow with N, not with N squared.
//
// Most statement lines are bookings the books already hold (a statement
// imported again, or overlapping the last one); the others are new: payees
// the books know as accounts, and payees they do not know at all.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "import/BooksImportDocument.h"
#include "import/CQuickenData.h"
#include "import/ImportDefinition.h"
#include "import/StatementImport.h"
#include "large_books.h"
#include "model/CAccount.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "platform/core/user_defaults.h"

namespace ch::bench {
namespace {

constexpr std::uint32_t kBookTransactions = 100000;
constexpr std::size_t kStatementLines = 50000;
constexpr std::size_t kBookedShare = 35000;     // lines the books hold already
constexpr std::size_t kUnknownPayees = 5000;    // new lines naming no account
constexpr const char* kStatementAccount = "BE68539007547034";

// One entry of the statement.
struct Entry {
    DateT date;
    double amount;   // signed: negative leaves the account
    std::string payee;
};

struct ImportBooks {
    std::unique_ptr<CDocAccounting> root;
    std::vector<Entry> entries;
};

BenchEnvironment& Environment()
{
    static BenchEnvironment environment;
    return environment;
}

CAccount* BusiestOwnAccount(CDocAccounting& root)
{
    CAccount* busiest = nullptr;
    std::uint32_t most = 0;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(root.mAccountList->GetCount()); ++i) {
        auto* account = static_cast<CAccount*>(root.mAccountList->ObjectAt(i));
        if (!account->thisIsAPropretyAccount()) continue;
        const std::uint32_t lines = account->Get_mDebitlist()->GetCount() + account->Get_mCreditList()->GetCount();
        if (lines > most) {
            most = lines;
            busiest = account;
        }
    }
    return busiest;
}

// The name of the account on the other side of the line's transaction.
std::string CounterpartyOf(const CDebit& line, bool debitSide)
{
    const CTransaction* transaction = line.Get_mTransactionPtr();
    const CNamedListArray* other = debitSide ? transaction->GetCreditList() : transaction->GetDebitList();
    if (!other || other->GetCount() == 0) return "Unknown";
    const CNonVisual* account = static_cast<const CDebit*>(other->ObjectAt(1))->Get_mAccountPtr();
    if (!account || account->Get_ObjectType() != type::kAccount) return "Unknown";
    return static_cast<const CAccount*>(account)->Get_StringRefNameOnly();
}

// The books of the generator (read back from their file, as a user has
// them) and the statement entries of their busiest bank account, made once.
ImportBooks& Books()
{
    Environment();
    static ImportBooks* books = [] {
        auto* made = new ImportBooks;
        auto generated = BuildLargeBooks({kBookTransactions, 1});
        std::vector<std::uint8_t> bytes = SaveDocument(*generated);
        generated.reset();
        LoadedDocument loaded = LoadDocument(bytes);
        if (!loaded.modelRead) throw std::runtime_error("the generated document does not read back");
        made->root = std::move(loaded.root);
        CAccount* account = BusiestOwnAccount(*made->root);
        made->root->setBankAccountNumberT(kStatementAccount, account);

        // Bookings of the account, alternating between money out and money in.
        for (const bool debitSide : {true, false}) {
            const CNamedListArray* lines = debitSide ? account->Get_mDebitlist() : account->Get_mCreditList();
            const auto count = static_cast<ArrayIndexT>(lines->GetCount());
            for (ArrayIndexT i = 1; i <= count && made->entries.size() < kBookedShare * (debitSide ? 3 : 4) / 4; ++i) {
                const auto* line = static_cast<const CDebit*>(lines->ObjectAt(i));
                made->entries.push_back({line->Get_mDate(), debitSide ? -line->Get_Amount() : line->Get_Amount(),
                                         CounterpartyOf(*line, debitSide)});
            }
        }
        // New entries in the year after the books: known payees, then unknown ones.
        std::mt19937 random(7);
        std::vector<std::string> payees;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(made->root->mAccountList->GetCount()); ++i) {
            auto* other = static_cast<CAccount*>(made->root->mAccountList->ObjectAt(i));
            if (other->thisIsAProfitAndLossAccount()) payees.push_back(other->Get_StringRefNameOnly());
        }
        const std::size_t known = kStatementLines - kUnknownPayees;
        while (made->entries.size() < kStatementLines) {
            const bool unknown = made->entries.size() >= known;
            const DateT date = 20260101 + static_cast<DateT>(random() % 12) * 100 + static_cast<DateT>(random() % 28);
            const double amount = -static_cast<double>(100 + random() % 20000) / 100.0;
            made->entries.push_back({date, amount,
                                     unknown ? "Market Stall " + std::to_string(random() % 5000)
                                             : payees[random() % payees.size()]});
        }
        return made;
    }();
    return *books;
}

std::string Amount(double amount)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", amount);
    return text;
}

std::string OfxStatement(const std::vector<Entry>& entries)
{
    std::string text =
        "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\nCHARSET:1252\r\n"
        "COMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n<OFX>\r\n<BANKMSGSRSV1>\r\n<STMTTRNRS>\r\n"
        "<TRNUID>1\r\n<STMTRS>\r\n<CURDEF>EUR\r\n<BANKACCTFROM>\r\n<BANKID>53900754\r\n<ACCTID>";
    text += kStatementAccount;
    text += "\r\n<ACCTTYPE>CHECKING\r\n</BANKACCTFROM>\r\n<BANKTRANLIST>\r\n";
    std::size_t id = 0;
    for (const Entry& entry : entries) {
        const std::string number = std::to_string(++id);
        text += "<STMTTRN>\r\n<TRNTYPE>";
        text += entry.amount < 0 ? "DEBIT" : "CREDIT";
        text += "\r\n<DTPOSTED>" + std::to_string(entry.date) + "120000[+1:CET]\r\n<TRNAMT>" + Amount(entry.amount);
        text += "\r\n<FITID>" + number + "\r\n<NAME>" + entry.payee + "\r\n<MEMO>Statement line " + number +
                "\r\n</STMTTRN>\r\n";
    }
    text += "</BANKTRANLIST>\r\n</STMTRS>\r\n</STMTTRNRS>\r\n</BANKMSGSRSV1>\r\n</OFX>\r\n";
    return text;
}

std::string DelimitedStatement(const std::vector<Entry>& entries)
{
    std::string text = "\"Account\";\"Date\";\"Counterparty\";\"Communication\";\"Amount\";\"Currency\"\r\n";
    std::size_t id = 0;
    for (const Entry& entry : entries) {
        const std::string date = std::to_string(entry.date);
        text += "\"" + std::string(kStatementAccount) + "\";\"" + date.substr(0, 4) + "-" + date.substr(4, 2) + "-" +
                date.substr(6, 2) + "\";\"" + entry.payee + "\";\"Statement line " + std::to_string(++id) +
                "; card\";\"" + Amount(entry.amount) + "\";\"EUR\"\r\n";
    }
    return text;
}

Dictionary DelimitedDefinition()
{
    using namespace definition_key;
    auto column = [](int n) { return Value(Array{Value(n)}); };
    return Dictionary{{std::string(kSeparatorCharacters), Value(";")},
                      {std::string(kSurroundingCharacters), Value("\"")},
                      {std::string(kDeleteSurroundingCharacters), Value(true)},
                      {std::string(kMinimumColumns), Value(6)},
                      {std::string(kMaximumColumns), Value(6)},
                      {std::string(kFirstLinesToSkip), Value(1)},
                      {std::string(kDateFormat), Value("yyyy-mm-dd")},
                      {std::string(kOwnAccountNumberColumn), column(0)},
                      {std::string(kBookingDateColumn), column(1)},
                      {std::string(kCounterpartyNameColumn), column(2)},
                      {std::string(kCommunicationColumn), column(3)},
                      {std::string(kAmountColumn), column(4)},
                      {std::string(kCurrencyCodeColumn), column(5)}};
}

void RunImport(benchmark::State& state, const std::string& bytes, StatementFormat format, const Dictionary* definition)
{
    ImportBooks& books = Books();
    UserDefaults::standard().set("NSDecimalSeparator", ".");
    UserDefaults::standard().set("NSThousandsSeparator", ",");
    BooksImportDocument document(*books.root);
    std::size_t lines = 0, complete = 0, duplicates = 0;
    for (auto _ : state) {
        StatementImportResult result = readStatement(bytes, format, document, definition);
        state.PauseTiming();
        lines = result.lines.size();
        complete = duplicates = 0;
        for (const auto& line : result.lines) {
            complete += line->isComplete();
            duplicates += line->hasDuplicate();
        }
        result.lines.clear();
        state.ResumeTiming();
    }
    if (lines != kStatementLines) state.SkipWithError("not every statement line was read");
    if (!Environment().TakeAlerts().empty()) state.SkipWithError("the import asked or complained");
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["complete"] = static_cast<double>(complete);
    state.counters["duplicates"] = static_cast<double>(duplicates);
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines));
}

void BM_ImportOfxStatement(benchmark::State& state)
{
    static const std::string bytes = OfxStatement(Books().entries);
    RunImport(state, bytes, StatementFormat::Ofx, nullptr);
}
BENCHMARK(BM_ImportOfxStatement)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportDelimitedStatement(benchmark::State& state)
{
    static const std::string bytes = DelimitedStatement(Books().entries);
    static const Dictionary definition = DelimitedDefinition();
    RunImport(state, bytes, StatementFormat::Delimited, &definition);
}
BENCHMARK(BM_ImportDelimitedStatement)->Unit(benchmark::kMillisecond)->UseRealTime();

// Two records for each of N accounts, as a register of transfers to savings
// pots reads (40 KB for 1,000).
std::string TransferTargets(int targets)
{
    std::string text = "!Type:Bank\n";
    for (int i = 0; i < targets; ++i)
        for (int twice = 0; twice < 2; ++twice)
            text += "D3/1/24\nPTo fund " + std::to_string(i) + "\nT-1.00\nL[Fund " + std::to_string(i) + "]\n^\n";
    return text;
}

void BM_QifTransferTargets(benchmark::State& state)
{
    Environment();
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    const auto targets = static_cast<int>(state.range(0));
    const std::string text = TransferTargets(targets);
    std::size_t lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto books = std::make_unique<CDocAccounting>();
        books->SetDefaults("EUR");
        BooksImportDocument document(*books);
        state.ResumeTiming();
        StatementImportResult result = readStatement(text, StatementFormat::Qif, document);
        state.PauseTiming();
        lines = result.lines.size();
        result.lines.clear();
        books.reset();
        state.ResumeTiming();
    }
    if (lines != 2 * static_cast<std::size_t>(targets)) state.SkipWithError("not every record was read");
    state.counters["lines"] = static_cast<double>(lines);
    state.SetComplexityN(targets);
}
BENCHMARK(BM_QifTransferTargets)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(4000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Complexity();

} // namespace
} // namespace ch::bench
