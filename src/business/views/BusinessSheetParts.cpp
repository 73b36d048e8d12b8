#include "business/views/BusinessSheetParts.h"

#include <QComboBox>
#include <QLineEdit>

#include "bridge/CAcoWItem.h"
#include "business/BusinessOfDocument.h"
#include "document/MyDocument.h"

namespace ch::business::sheet_parts {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QString money(double amount)
{
    return QString::number(amount, 'f', 2);
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
