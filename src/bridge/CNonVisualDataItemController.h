#pragma once
// CNonVisualDataItemController: the document's item registry. It guarantees
// one item per model object: whoever needs the item of an object asks here
// and gets the item already made, or a new one that is registered under the
// object's key (type code and decimal id, e.g. "AcnT15"). The registry is the
// only long-lived owner of its items.
//
// It listens to its own document's deleted notifications (object: the deleted
// object's key) and drops the item of that key; another document's
// notifications never reach it. It also hands its transaction items the
// notifications about a transaction about to be deleted and about references
// to be cleared, each only to the items it concerns, so that a post costs no
// call per transaction of the books. When the registry goes (the document closes),
// the items that others still hold are told that the document is gone.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/core/four_char_code.h"
#include "platform/core/observable.h"

namespace ch {

class BridgeDocument;
class CAccTItem;
class CAcnTItem;
class CAcoWItem;
class CCurRItem;
class CDebetItem;
class CExpTItem;
class CMxpTItem;
class CNonVisual;
class CNonVisualDataItem;
class CRcrTItem;
class CTrnSItem;
struct Notification;

// Hashes an object key by its decimal id (a table holds one type): ids made
// one after the other land in neighbouring buckets, so filling the table with
// a million transactions in the order they were made walks its memory once
// instead of missing the cache at every key. Any other text hashes as text.
struct ObjectKeyHash {
    std::size_t operator()(const std::string& key) const noexcept;
};

class CNonVisualDataItemController {
public:
    using ItemTable = std::unordered_map<std::string, std::shared_ptr<CNonVisualDataItem>, ObjectKeyHash>;

    // The deleted notifications the registry follows.
    static const std::vector<std::string_view>& deletedNotificationNames();

    CNonVisualDataItemController();
    ~CNonVisualDataItemController();
    CNonVisualDataItemController(const CNonVisualDataItemController&) = delete;
    CNonVisualDataItemController& operator=(const CNonVisualDataItemController&) = delete;

    BridgeDocument* parentDocument() const { return mParentDocument; }
    // Gives new items this document and follows its deleted notifications.
    void setParentDocument(BridgeDocument* document);

    // --- the item of a model object (null only for a null object)
    std::shared_ptr<CTrnSItem> transactionItemForTrnS(CNonVisual* transaction);
    std::shared_ptr<CRcrTItem> transactionItemForRcrT(CNonVisual* recurring);
    std::shared_ptr<CExpTItem> categoryItemForCategory(CNonVisual* category);
    std::shared_ptr<CAcnTItem> accountItemForAccount(CNonVisual* account);
    std::shared_ptr<CMxpTItem> categoryTypeItemForCategoryType(CNonVisual* group);
    std::shared_ptr<CAccTItem> accountTypeItemForAccountType(CNonVisual* accountType);
    std::shared_ptr<CCurRItem> currencyItemForCurrency(CNonVisual* currency);
    std::shared_ptr<CAcoWItem> accountOwnerItemForAccountOwner(CNonVisual* owner);
    // By the line's type ('DebT', 'CreT', 'ExtD'); null for any other type.
    std::shared_ptr<CDebetItem> debetItemForTransactionDetail(CNonVisual* line);
    // Room for `count` more items of lines of the line's type, before a list
    // of that many is made: growing step by step rehashes the table each time.
    void expectLineItems(const CNonVisual* line, std::size_t count);
    std::shared_ptr<CDebetItem> debetItemForDebit(CNonVisual* line, const std::string& key,
                                                  ItemTable& table);

    // The item of any registered kind, by the object's type code; other types
    // write a developer log line and answer null.
    std::shared_ptr<CNonVisualDataItem> dataItemForObject(CNonVisual* object);
    // The registered item of the key, or null; never makes one.
    std::shared_ptr<CNonVisualDataItem> objectForKey(std::string_view key);
    // The table of the key's type (its first four characters); null (and a
    // log line) for a type without one.
    ItemTable* tableForObjectKey(std::string_view key);
    ItemTable* tableForObjectType(FourCharCode type);

    // Room for that many more items of the type (a document about to make
    // the items of all its transactions).
    void reserveItemsOfType(FourCharCode type, std::size_t count);
    // Drops every item (the document replaces its books); items others still
    // hold keep their document.
    void forgetAllItems();

    // Drops the item whose key is the notification's object.
    void objectDeleted(const Notification& notification);
    // To the item of the transaction the one about to be deleted refers to.
    void transactionWillBeDeleted(const Notification& notification);
    // To the items whose reference is the notification's transaction id.
    void nullifyReferenceTransactionId(const Notification& notification);

private:
    // The table's item under the key when it still wraps the object, else a
    // new item registered under the key.
    template <class Item>
    std::shared_ptr<Item> findOrMake(CNonVisual* object, const std::string& key, ItemTable& table);
    // The same under the object's key.
    template <class Item>
    std::shared_ptr<Item> findOrMake(CNonVisual* object, ItemTable& table);
    void logUnknownType(std::string_view typeText) const;

    BridgeDocument* mParentDocument = nullptr;
    std::vector<Subscription> mSubscriptions;
    ItemTable transactionTable;
    ItemTable recurringTransactionTable;
    ItemTable debetTable;
    ItemTable creditTable;
    ItemTable exptDetailTable;
    ItemTable categoryTable;
    ItemTable accountTable;
    ItemTable categoryTypeTable;
    ItemTable accountTypeTable;
    ItemTable accountOwnerTable;
    ItemTable currencyTable;
};

} // namespace ch
