#pragma once
// Large, realistic sets of books for the benchmarks and the document
// generator: owners, a chart of account types, 50 accounts in 3 currencies
// with dated rates, 200 categories in nested groups, transactions of 2 to 4
// lines spread over 20 years, recurring transactions and budgets. The same
// size and seed always give the same books.
//
// Everything here runs inside a BenchEnvironment, which fixes "today" (so
// that new objects and recurring transactions do not depend on the day of
// the run), the number of decimals, the name order and the user defaults, and
// collects the model's alerts instead of printing them.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/alerts.h"
#include "platform/core/clock.h"
#include "platform/core/user_defaults.h"

namespace ch {
class CDocAccounting;
}

namespace ch::bench {

// The day after the last generated booking; "today" of every run.
inline constexpr CalendarDate kToday{2026, 1, 1};
inline constexpr std::int32_t kFirstYear = 2006;   // 20 years: 2006 to 2025
inline constexpr std::int32_t kYears = 20;

class BenchEnvironment {
public:
    BenchEnvironment();
    ~BenchEnvironment();
    BenchEnvironment(const BenchEnvironment&) = delete;
    BenchEnvironment& operator=(const BenchEnvironment&) = delete;

    // Alerts the model raised since the last call (their numbers).
    std::vector<long> TakeAlerts();
    // The defaults in force while it lives (a window benchmark registers more).
    UserDefaults& defaults() { return mDefaults; }

private:
    ScopedFixedClock mClock;
    UserDefaults mDefaults;
    ScopedUserDefaults mDefaultsScope;
    RecordingAlertPresenter mAlerts;
    ScopedAlertPresenter mAlertScope;
    long mDecimals;
};

struct BookSize {
    std::uint32_t transactions = 10000;
    std::uint32_t seed = 1;
};

// What a generated set of books holds.
struct BookCounts {
    std::uint32_t owners = 0;
    std::uint32_t accountTypes = 0;
    std::uint32_t accounts = 0;
    std::uint32_t currencies = 0;
    std::uint32_t rates = 0;
    std::uint32_t groups = 0;
    std::uint32_t categories = 0;
    std::uint32_t transactions = 0;
    std::uint32_t lines = 0;
    std::uint32_t recurring = 0;
    std::uint32_t budgets = 0;
    std::uint32_t invalid = 0;   // transactions that failed validation (should be 0)
};

// Builds the books in memory.
std::unique_ptr<CDocAccounting> BuildLargeBooks(const BookSize& size, BookCounts* counts = nullptr);

// The document file: the model stream, the end tag 'FiNi', then the keyed
// archive of the five business arrays (empty: the books hold no VAT rates,
// VAT periods or invoices).
std::vector<std::uint8_t> SaveDocument(CDocAccounting& root);

struct LoadedDocument {
    std::unique_ptr<CDocAccounting> root;
    bool modelRead = false;     // the model reader's answer
    bool archiveRead = false;   // the business archive unarchived without error
};

// Opens document bytes the way the document does: the model stream up to
// 'FiNi', then the archive behind it. The bytes are not changed.
LoadedDocument LoadDocument(std::vector<std::uint8_t>& bytes);

// The books as a ledger journal: prices of the foreign currencies, then every
// posted transaction, oldest first, as "2026/01/31 Payee" with one indented
// posting per FROM (negative) and TO line (positive) in the line's currency,
// and each FOR line as a virtual posting "(group:category)".
void WriteLedger(const CDocAccounting& root, std::ostream& out);

// Writes the bytes to the path through a temporary file in the same folder;
// false (the old file untouched) when that fails.
bool WriteFileAtomically(const std::string& path, const void* data, std::size_t size);

} // namespace ch::bench
