#pragma once
// What booking invoices and payments share: the transaction types of the
// business bookkeeping, line dictionaries in the home currency, and the
// document's look-ups they need.

#include <memory>
#include <optional>

#include "model/foundation/ModelTypes.h"
#include "platform/core/value.h"

namespace ch {
class CAcoWItem;
class CDebetItem;
class CTrnSItem;
} // namespace ch

namespace ch::business {

class BusinessDocument;

namespace transaction_types {
inline constexpr int kCustomerInvoice = 4;
inline constexpr int kSupplierInvoice = 5;
inline constexpr int kCustomerPayment = 6;
inline constexpr int kSupplierPayment = 7;
} // namespace transaction_types

inline constexpr char kFromLine[] = "DebT";
inline constexpr char kToLine[] = "CreT";
inline constexpr char kCategoryLine[] = "ExtD";

// A line dictionary ("AccountId", "CurrencyId", "Amount", "ObjectType").
Value lineDictionary(const char* type, long accountId, long currencyId, double amount);
long homeCurrencyId(BusinessDocument& document);
// The line's amount in the home currency (0 without a line).
double localAmountOf(const std::shared_ptr<CDebetItem>& line);
// Whether the category is of the expense kind, whatever its total.
bool isExpenseCategory(BusinessDocument& document, long categoryId);
// The first customer (supplier) whose open-invoice account has the id.
std::shared_ptr<CAcoWItem> getCustomerForOpenInvoiceAccountId(BusinessDocument& document, long accountId);
std::shared_ptr<CAcoWItem> getSupplierForOpenInvoiceAccountId(BusinessDocument& document, long accountId);
// A new posted transaction of the type and its item; null when the model
// makes none.
std::shared_ptr<CTrnSItem> insertTransactionOfType(BusinessDocument& document, int type);
// A new unlinked copy of the transaction and its item; null when none is made.
std::shared_ptr<CTrnSItem> unlinkedCopyOf(BusinessDocument& document, CTrnSItem& transaction);

} // namespace ch::business
