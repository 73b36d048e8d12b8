#pragma once
// What a drop on the side bar's tree does, without the tree: the dragged
// model object is named by its object key ("AcnT12"). On a node with a model
// object, the node's own test decides and command 30 moves the object under
// it. On the header "CREDITCARDBUTTON" a debt account becomes a credit card
// (no command; the document is marked changed and its card list rebuilt).
// On "VATPERIODTITLE" or "VATTROOTTITLE" a transaction is offered as the
// payment of a VAT balance.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace ch {

class CNonVisual;
class CNonVisualDataItem;
class CTrnSItem;
class SheetDocument;

class SideBarDrops {
public:
    explicit SideBarDrops(SheetDocument& document) : mDocument(document) {}

    // After a move: the side bar shows its selection again.
    std::function<void()> selectionChanged;
    // After a card was added: the document's card list is made again.
    std::function<void()> creditCardsChanged;
    // The document's VAT payment; none: refused.
    std::function<bool(const std::shared_ptr<CTrnSItem>&)> setAsVATBalancePayment;

    // The object of the key; null when it names none.
    CNonVisual* objectWithKey(std::string_view key) const;

    // node: the receiving node's item (null: no node); header: the node's
    // title when it is a header. key: the dragged object's key, when the
    // drag carries one.
    bool validateDrop(const CNonVisualDataItem* node, const std::optional<std::string>& key) const;
    bool acceptDrop(const CNonVisualDataItem* node, const std::optional<std::string>& key);

private:
    enum class Header { None, CreditCards, VAT };
    static Header headerOf(const CNonVisualDataItem& node);

    SheetDocument& mDocument;
};

} // namespace ch
