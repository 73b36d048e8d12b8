#pragma once
// The application's user defaults: every key it reads, registered once at
// start so that each always has a value, and the amount format that follows
// from the number of decimals.

#include <string>
#include <string_view>

namespace ch {

class UserDefaults;

inline constexpr std::string_view kTableTextSizeKey = "GXtableTextSize";
inline constexpr std::string_view kOnLineSharepriceCheckKey = "GXOnLineSharepriceCheck";
inline constexpr std::string_view kMaximumRowHeightKey = "GXMaximumRowHeightInNrOfLines";
inline constexpr std::string_view kQifDateFormatKey = "QifDateFormat";
inline constexpr std::string_view kOnLineUpdateCheckKey = "GXOnLineUpdateCheck";
inline constexpr std::string_view kAutoSaveKey = "GXAutoSave";
inline constexpr std::string_view kAutoSaveIntervalKey = "GXAutoSaveInterval";
inline constexpr std::string_view kShowNewDocumentAssistantKey = "GXShowNewDocumentAssistant";
inline constexpr std::string_view kShowLastDocumentAtStartupKey = "GXShowLastDocumentAtStartup";
inline constexpr std::string_view kLastSavedDocumentKey = "GXLastSavedDocument";
inline constexpr std::string_view kShowFoldersInSequentialObjectListKey = "GXCShowFoldersInSequentialObjectList";
inline constexpr std::string_view kShowStartupChoiceKey = "GXShowStartupChoice";
inline constexpr std::string_view kTableColumnsKey = "GXCTableColumns";
inline constexpr std::string_view kKeepLogFileKey = "GXCKeepLogFile";
inline constexpr std::string_view kKeepLogFilePermanentKey = "GXCKeepLogFilePermanent";
inline constexpr std::string_view kVATPaidIsPropertyKey = "VATPaidIsProperty";
inline constexpr std::string_view kVATPeriodicityKey = "VATPeriodicity-0-month-1-quarter-2-year";
inline constexpr std::string_view kVATAdvancePeriodicityKey = "VATAdvancePeriodicity";
inline constexpr std::string_view kPaymentPeriodKey = "PaymentPeriod";
inline constexpr std::string_view kPaymentPeriodStartsAtMonthEndKey = "PaymentPeriodStartsAtMonthEnd";
inline constexpr std::string_view kPaymentPeriodExpressedInMonthsKey = "PaymentPeriodExpressedInMonths";
inline constexpr std::string_view kContiniousInvoiceNumbersKey = "ContiniousInvoiceNumbers";
// Read without a registered default: absent reads as 0.
inline constexpr std::string_view kStockRefreshRateKey = "GXStockRefreshRate";

// Registers the defaults of every key above, of the model's own two
// ("GXDestinationEncoding" 30, "GXNumberOfDecimals" 2) and of the three text
// colours of bridge/TextColours.h (arrays of red, green, blue and alpha).
void registerApplicationDefaults(UserDefaults& defaults);

// The number format of amounts with the given number of decimals (0 to 4;
// any other number gives two decimals): positive, zero and negative sections.
std::string getNumericFormatString(long long decimals);
// The same for the user default "GXNumberOfDecimals".
std::string getNumericFormatString(const UserDefaults& defaults);

} // namespace ch
