#pragma once
// The four-character codes of the model: the type codes of its objects (also
// the tags of their records in the document file) and the version codes of the
// file format. Versions compare as unsigned big-endian integers, so
// '0.61' < '1.10' < '2.00'; 'NoNe', 'stop' and 'stpp' compare above every
// real version and must be excluded explicitly where a version gates a field.

#include "platform/core/four_char_code.h"

namespace ch {

namespace type {
inline constexpr FourCharCode kNone = fourCC("NoNe");             // plain object, no version
inline constexpr FourCharCode kPreference = fourCC("PrFr");       // document settings record
inline constexpr FourCharCode kHierarchyRoot = fourCC("HirR");    // root of the type or group tree
inline constexpr FourCharCode kAccountOwner = fourCC("aCoW");
inline constexpr FourCharCode kAccountType = fourCC("AccT");
inline constexpr FourCharCode kMasterExpenseType = fourCC("MxpT"); // category group
inline constexpr FourCharCode kCurrency = fourCC("CurR");          // currency or share
inline constexpr FourCharCode kCurrencyRate = fourCC("CcoN");
inline constexpr FourCharCode kBank = fourCC("BanK");
inline constexpr FourCharCode kAccount = fourCC("AcnT");
inline constexpr FourCharCode kExpenseType = fourCC("ExpT");       // category
inline constexpr FourCharCode kTransaction = fourCC("TrnS");
inline constexpr FourCharCode kRecurring = fourCC("RctR");
inline constexpr FourCharCode kDebit = fourCC("DebT");
inline constexpr FourCharCode kCredit = fourCC("CreT");
inline constexpr FourCharCode kExpenseTypeDetail = fourCC("ExtD"); // category line
inline constexpr FourCharCode kBudgetHeader = fourCC("BuDh");
inline constexpr FourCharCode kBudgetDetail = fourCC("BuDd");
inline constexpr FourCharCode kBudgetXRef = fourCC("BuDx");
inline constexpr FourCharCode kBudgetHierarchyRoot = fourCC("BhiR");
inline constexpr FourCharCode kEndOfModel = fourCC("FiNi");        // end tag of the model stream
} // namespace type

namespace version {
inline constexpr FourCharCode kNone = fourCC("NoNe");   // read a header without the versioned fields
inline constexpr FourCharCode kStop = fourCC("stop");   // the settings record refused its version
inline constexpr FourCharCode kStpp = fourCC("stpp");
inline constexpr FourCharCode k0_60 = fourCC("0.60");
inline constexpr FourCharCode k0_70 = fourCC("0.70");
inline constexpr FourCharCode k0_80 = fourCC("0.80");
inline constexpr FourCharCode k0_90 = fourCC("0.90");
inline constexpr FourCharCode k1_00 = fourCC("1.00");
inline constexpr FourCharCode k1_01 = fourCC("1.01");
inline constexpr FourCharCode k1_05 = fourCC("1.05");
inline constexpr FourCharCode k1_06 = fourCC("1.06");
inline constexpr FourCharCode k1_07 = fourCC("1.07");
inline constexpr FourCharCode k1_08 = fourCC("1.08");
inline constexpr FourCharCode k1_09 = fourCC("1.09");
inline constexpr FourCharCode k1_10 = fourCC("1.10");
inline constexpr FourCharCode k1_11 = fourCC("1.11");
inline constexpr FourCharCode k2_00 = fourCC("2.00");
inline constexpr FourCharCode kCurrent = k2_00;         // what the writers write

// True when a record of version v carries the fields introduced in `since`.
// The marker codes ('NoNe', 'stop', 'stpp') carry none.
constexpr bool AtLeast(FourCharCode v, FourCharCode since)
{
    return v != kNone && v != kStop && v != kStpp && v >= since;
}
} // namespace version

} // namespace ch
