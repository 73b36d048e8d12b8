#pragma once
// User defaults of the business bookkeeping, registered at start-up.

namespace ch {
class UserDefaults;
}

namespace ch::business {

// Length of a VAT period: 0 a month, 1 a quarter (registered), 2 an accounting year.
inline constexpr char kVATPeriodicityKey[] = "VATPeriodicity-0-month-1-quarter-2-year";
// Registered (0) and kept for files and peers; nothing reads it.
inline constexpr char kVATAdvancePeriodicityKey[] = "VATAdvancePeriodicity";

void registerBusinessDefaults(UserDefaults& defaults);

} // namespace ch::business
