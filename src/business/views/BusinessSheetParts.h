#pragma once
// Pieces the business sheets share: texts and amounts for fields, the
// document's business side, and owner popups over a list of owners.

#include <QString>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QWidget;

namespace ch {
class CAcoWItem;
class MyDocument;
} // namespace ch

namespace ch::business {

class BusinessOfDocument;

namespace sheet_parts {

QString qs(const std::string& text);
// In the user's number format, rounded to the cent half away from zero.
QString money(double amount);
BusinessOfDocument& businessOf(MyDocument& document);
std::vector<std::shared_ptr<CAcoWItem>> ownersFor(MyDocument& document, bool customers);
// The owners' names, with the shown one chosen (none when absent).
void fillOwners(QComboBox* popup, const std::vector<std::shared_ptr<CAcoWItem>>& owners,
                const std::shared_ptr<CAcoWItem>& shown);
// The owner chosen or typed; none when the text names none.
std::shared_ptr<CAcoWItem> ownerOf(const QComboBox* popup, const std::vector<std::shared_ptr<CAcoWItem>>& owners);
QComboBox* makeCombo(QWidget* parent, bool editable);
// The categories a payment may be booked on, after an empty choice: income
// categories for a customer, all categories for a supplier. The proposal is
// chosen: the settings' supplier-payments category for a supplier, the
// owner's customer-payment category for a customer (none: the empty choice).
void fillPaymentCategories(QComboBox* popup, MyDocument& document, bool customer,
                           const std::shared_ptr<CAcoWItem>& owner);
// The category chosen; none for the empty choice.
std::optional<long> paymentCategoryOf(const QComboBox* popup);
QLineEdit* makeReadOnly(QWidget* parent);

} // namespace sheet_parts
} // namespace ch::business
