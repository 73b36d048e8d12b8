#include "business/views/BusinessSheetParts.h"

#include <QComboBox>
#include <QLineEdit>

#include "bridge/CAcoWItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CPrfRItem.h"
#include "business/BusinessOfDocument.h"
#include "document/MyDocument.h"
#include "model/CNamedListArray.h"
#include "model/foundation/AmountRounding.h"
#include "ui/sheets/BookLists.h"

namespace ch::business::sheet_parts {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QString money(double amount)
{
    // As the amount fields beside show theirs: in the user's number format.
    return qs(CNSNumberAmountTBridge::NSNumberToNSString(roundedAmount(amount, 2)));
}

void fillPaymentCategories(QComboBox* popup, MyDocument& document, bool customer,
                           const std::shared_ptr<CAcoWItem>& owner)
{
    const QSignalBlocker quiet(popup);
    popup->clear();
    CNamedListArray* list =
        customer ? book_lists::incomeCategories(document.accounting()) : book_lists::categories(document.accounting());
    long preferredId = -1;
    if (!customer)
        preferredId = document.mPreference() ? long(document.mPreference()->mSupplierPaymentsCategory()) : -1;
    else if (owner)
        if (const auto own = owner->customerPaymentCategory()) preferredId = *own;
    popup->addItem(QString(), QVariant());
    for (ArrayIndexT i = 1; list && i <= ArrayIndexT(list->GetCount()); ++i) {
        CNonVisual* category = list->ObjectAt(i);
        if (!category) continue;
        char name[kNameSize];
        category->Get_Name(name);
        popup->addItem(QString::fromUtf8(name), qlonglong(category->Get_Id()));
        if (preferredId == category->Get_Id()) popup->setCurrentIndex(popup->count() - 1);
    }
}

std::optional<long> paymentCategoryOf(const QComboBox* popup)
{
    const QVariant value = popup->currentData();
    if (!value.isValid()) return std::nullopt;
    return long(value.toLongLong());
}

BusinessOfDocument& businessOf(MyDocument& document)
{
    return *dynamic_cast<BusinessOfDocument*>(document.business());
}

std::vector<std::shared_ptr<CAcoWItem>> ownersFor(MyDocument& document, bool customers)
{
    return customers ? document.customerArray() : document.supplierArray();
}

void fillOwners(QComboBox* popup, const std::vector<std::shared_ptr<CAcoWItem>>& owners,
                const std::shared_ptr<CAcoWItem>& shown)
{
    popup->clear();
    for (const auto& owner : owners) popup->addItem(qs(owner->getName()));
    popup->setCurrentIndex(-1);
    for (std::size_t i = 0; i < owners.size(); ++i)
        if (owners[i] == shown) popup->setCurrentIndex(int(i));
}

std::shared_ptr<CAcoWItem> ownerOf(const QComboBox* popup, const std::vector<std::shared_ptr<CAcoWItem>>& owners)
{
    const int index = popup->currentIndex();
    if (index >= 0 && std::size_t(index) < owners.size() && popup->currentText() == popup->itemText(index))
        return owners[std::size_t(index)];
    for (const auto& owner : owners)
        if (qs(owner->getName()) == popup->currentText()) return owner;
    return nullptr;
}

QComboBox* makeCombo(QWidget* parent, bool editable)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(editable);
    return combo;
}

QLineEdit* makeReadOnly(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    return field;
}

} // namespace ch::business::sheet_parts
