#include "bridge/CNonVisualDataItemController.h"

#include <algorithm>

#include "bridge/BridgeDocument.h"
#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/DeveloperLog.h"
#include "model/CNonVisual.h"
#include "platform/core/notification_center.h"

namespace ch {

namespace {
constexpr FourCharCode kOwnerItemType = fourCC("AcoW");
constexpr FourCharCode kRecurringItemType = fourCC("RcrT");
} // namespace

std::size_t ObjectKeyHash::operator()(const std::string& key) const noexcept
{
    constexpr std::size_t kTypeLength = 4;
    // More digits than this could overflow; such a key is no object key anyway.
    constexpr std::size_t kMostDigits = 18;
    if (key.size() <= kTypeLength || key.size() > kTypeLength + kMostDigits)
        return std::hash<std::string>()(key);
    std::size_t id = 0;
    for (std::size_t i = kTypeLength; i < key.size(); ++i) {
        const char c = key[i];
        if (c < '0' || c > '9') return std::hash<std::string>()(key);
        id = id * 10 + std::size_t(c - '0');
    }
    return id;
}

const std::vector<std::string_view>& CNonVisualDataItemController::deletedNotificationNames()
{
    static const std::vector<std::string_view> names = {
        "TRANSACTIONDELETED",   "DEBETDELETEDNOTIFICATION",  "CREDITDELETEDNOTIFIACTION",
        "EXPENSETYPEDETAILDELETEDNOTIFICATION", "CATEGORYDELETED", "ACCOUNTDELETED",
        "ACCOUNTTYPEDELETED",   "CATEGORYTYPEDELETED",       "CURRNECYDELETEDMODICATION",
        "OWNERDELETEDNOTIFICATION"};
    return names;
}

CNonVisualDataItemController::CNonVisualDataItemController() = default;

CNonVisualDataItemController::~CNonVisualDataItemController()
{
    mSubscriptions.clear();
    // Items that others still hold must not reach the document after it is gone.
    for (ItemTable* table :
         {&transactionTable, &recurringTransactionTable, &debetTable, &creditTable, &exptDetailTable,
          &categoryTable, &accountTable, &categoryTypeTable, &accountTypeTable, &accountOwnerTable,
          &currencyTable}) {
        for (auto& [key, item] : *table)
            if (item) item->setParentDocument(nullptr);
    }
}

void CNonVisualDataItemController::setParentDocument(BridgeDocument* document)
{
    mSubscriptions.clear();
    mParentDocument = document;
    if (!document) return;
    NotificationCenter& centre = document->notificationCenter();
    for (std::string_view name : deletedNotificationNames())
        mSubscriptions.push_back(centre.subscribe(
            std::string(name), [this](const Notification& notification) { objectDeleted(notification); }));
    mSubscriptions.push_back(centre.subscribe(
        "TRANSACTIONWILLBEDELETED", [this](const Notification& notification) { transactionWillBeDeleted(notification); }));
    mSubscriptions.push_back(centre.subscribe("GXCReferenceTransactionIdShouldBeNullified",
                                              [this](const Notification& notification) {
                                                  nullifyReferenceTransactionId(notification);
                                              }));
}

void CNonVisualDataItemController::reserveItemsOfType(FourCharCode type, std::size_t count)
{
    if (ItemTable* table = tableForObjectType(type)) table->reserve(table->size() + count);
}

void CNonVisualDataItemController::forgetAllItems()
{
    for (ItemTable* table :
         {&transactionTable, &recurringTransactionTable, &debetTable, &creditTable, &exptDetailTable,
          &categoryTable, &accountTable, &categoryTypeTable, &accountTypeTable, &accountOwnerTable,
          &currencyTable})
        table->clear();
}

template <class Item>
std::shared_ptr<Item> CNonVisualDataItemController::findOrMake(CNonVisual* object, const std::string& key,
                                                               ItemTable& table)
{
    if (!object) return nullptr;
    auto [found, made] = table.try_emplace(key);
    // An entry whose item no longer wraps this object (its own object went
    // without a deleted notification) is stale: it would present nothing.
    if (!made && found->second && found->second->getSourceItem() == object)
        return std::static_pointer_cast<Item>(found->second);
    auto item = std::make_shared<Item>(object);
    item->setParentDocument(mParentDocument);
    found->second = item;
    return item;
}

template <class Item>
std::shared_ptr<Item> CNonVisualDataItemController::findOrMake(CNonVisual* object, ItemTable& table)
{
    return object ? findOrMake<Item>(object, object->CalculateKey(), table) : nullptr;
}

std::shared_ptr<CTrnSItem> CNonVisualDataItemController::transactionItemForTrnS(CNonVisual* transaction)
{
    return findOrMake<CTrnSItem>(transaction, transactionTable);
}

std::shared_ptr<CRcrTItem> CNonVisualDataItemController::transactionItemForRcrT(CNonVisual* recurring)
{
    return findOrMake<CRcrTItem>(recurring, recurringTransactionTable);
}

std::shared_ptr<CExpTItem> CNonVisualDataItemController::categoryItemForCategory(CNonVisual* category)
{
    return findOrMake<CExpTItem>(category, categoryTable);
}

std::shared_ptr<CAcnTItem> CNonVisualDataItemController::accountItemForAccount(CNonVisual* account)
{
    return findOrMake<CAcnTItem>(account, accountTable);
}

std::shared_ptr<CMxpTItem> CNonVisualDataItemController::categoryTypeItemForCategoryType(CNonVisual* group)
{
    return findOrMake<CMxpTItem>(group, categoryTypeTable);
}

std::shared_ptr<CAccTItem> CNonVisualDataItemController::accountTypeItemForAccountType(CNonVisual* accountType)
{
    return findOrMake<CAccTItem>(accountType, accountTypeTable);
}

std::shared_ptr<CCurRItem> CNonVisualDataItemController::currencyItemForCurrency(CNonVisual* currency)
{
    return findOrMake<CCurRItem>(currency, currencyTable);
}

std::shared_ptr<CAcoWItem> CNonVisualDataItemController::accountOwnerItemForAccountOwner(CNonVisual* owner)
{
    return findOrMake<CAcoWItem>(owner, accountOwnerTable);
}

std::shared_ptr<CDebetItem> CNonVisualDataItemController::debetItemForTransactionDetail(CNonVisual* line)
{
    if (!line) return nullptr;
    ItemTable* table = nullptr;
    switch (line->Get_ObjectType()) {
    case type::kDebit: table = &debetTable; break;
    case type::kCredit: table = &creditTable; break;
    case type::kExpenseTypeDetail: table = &exptDetailTable; break;
    default: return nullptr;
    }
    return debetItemForDebit(line, line->CalculateKey(), *table);
}

void CNonVisualDataItemController::expectLineItems(const CNonVisual* line, std::size_t count)
{
    if (!line) return;
    ItemTable* table = nullptr;
    switch (line->Get_ObjectType()) {
    case type::kDebit: table = &debetTable; break;
    case type::kCredit: table = &creditTable; break;
    case type::kExpenseTypeDetail: table = &exptDetailTable; break;
    default: return;
    }
    // Grown at least twofold, as it grows by itself: many small lists in a
    // row (the categories) would otherwise rehash it once each.
    const std::size_t wanted = table->size() + count;
    if (static_cast<double>(wanted) > static_cast<double>(table->bucket_count()) * table->max_load_factor())
        table->reserve(std::max(wanted, 2 * table->size()));
}

std::shared_ptr<CDebetItem> CNonVisualDataItemController::debetItemForDebit(CNonVisual* line,
                                                                             const std::string& key,
                                                                             ItemTable& table)
{
    return findOrMake<CDebetItem>(line, key, table);
}

std::shared_ptr<CNonVisualDataItem> CNonVisualDataItemController::dataItemForObject(CNonVisual* object)
{
    if (!object) return nullptr;
    const FourCharCode code = object->Get_ObjectType();
    switch (code) {
    case type::kAccountType: return accountTypeItemForAccountType(object);
    case type::kAccount: return accountItemForAccount(object);
    case type::kAccountOwner:
    case kOwnerItemType: return accountOwnerItemForAccountOwner(object);
    case type::kCredit:
    case type::kDebit:
    case type::kExpenseTypeDetail: return debetItemForTransactionDetail(object);
    case type::kCurrency: return currencyItemForCurrency(object);
    case type::kExpenseType: return categoryItemForCategory(object);
    case type::kMasterExpenseType: return categoryTypeItemForCategoryType(object);
    case type::kRecurring:
    case kRecurringItemType: return transactionItemForRcrT(object);
    case type::kTransaction: return transactionItemForTrnS(object);
    default:
        logUnknownType(fourCCToString(code));
        return nullptr;
    }
}

std::shared_ptr<CNonVisualDataItem> CNonVisualDataItemController::objectForKey(std::string_view key)
{
    ItemTable* table = tableForObjectKey(key);
    if (!table) return nullptr;
    auto found = table->find(std::string(key));
    return found == table->end() ? nullptr : found->second;
}

CNonVisualDataItemController::ItemTable* CNonVisualDataItemController::tableForObjectKey(std::string_view key)
{
    // Keys come from the journal and from drags too: a short one names no type.
    if (key.size() < 4) {
        logUnknownType(key);
        return nullptr;
    }
    return tableForObjectType(fourCCFromString(key.substr(0, 4)));
}

CNonVisualDataItemController::ItemTable* CNonVisualDataItemController::tableForObjectType(FourCharCode code)
{
    switch (code) {
    case type::kTransaction: return &transactionTable;
    case type::kRecurring:
    case kRecurringItemType: return &recurringTransactionTable;
    case type::kDebit: return &debetTable;
    case type::kCredit: return &creditTable;
    case type::kExpenseTypeDetail: return &exptDetailTable;
    case type::kExpenseType: return &categoryTable;
    case type::kAccount: return &accountTable;
    case type::kMasterExpenseType: return &categoryTypeTable;
    case type::kAccountType: return &accountTypeTable;
    case type::kAccountOwner:
    case kOwnerItemType: return &accountOwnerTable;
    case type::kCurrency: return &currencyTable;
    default:
        logUnknownType(fourCCToString(code));
        return nullptr;
    }
}

void CNonVisualDataItemController::objectDeleted(const Notification& notification)
{
    const std::string* key = notification.objectKey();
    if (!key) return;
    ItemTable* table = tableForObjectKey(*key);
    if (!table) return;
    // Keep the item alive until it has left the table: its release may post.
    auto found = table->find(*key);
    if (found == table->end()) return;
    std::shared_ptr<CNonVisualDataItem> item = std::move(found->second);
    table->erase(found);
}

void CNonVisualDataItemController::transactionWillBeDeleted(const Notification& notification)
{
    const std::shared_ptr<CTrnSItem> payment = notification.objectAs<CTrnSItem>();
    const std::optional<long> reference = payment ? payment->mReferenceObjectId() : std::nullopt;
    if (!reference || *reference < 1) return;
    // Only the transaction the payment refers to has anything to do.
    for (auto [table, typeText] : {std::pair{&transactionTable, "TrnS"}, std::pair{&recurringTransactionTable, "RctR"}}) {
        auto found = table->find(typeText + std::to_string(*reference));
        if (found == table->end() || !found->second) continue;
        const std::shared_ptr<CTrnSItem> item = std::static_pointer_cast<CTrnSItem>(found->second);
        item->transactionWillBeDeleted(notification);
    }
}

void CNonVisualDataItemController::nullifyReferenceTransactionId(const Notification& notification)
{
    const std::int64_t* id = notification.objectId();
    if (!id) return;
    // Gathered first: clearing a reference announces, and observers may ask
    // the registry for items meanwhile.
    std::vector<std::shared_ptr<CTrnSItem>> referring;
    for (ItemTable* table : {&transactionTable, &recurringTransactionTable})
        for (const auto& [key, item] : *table) {
            auto transaction = std::static_pointer_cast<CTrnSItem>(item);
            if (transaction && transaction->getSourceItem() && transaction->mReferenceObjectId() == *id)
                referring.push_back(std::move(transaction));
        }
    for (const std::shared_ptr<CTrnSItem>& item : referring) item->nullifyReferenceTransactionId(notification);
}

void CNonVisualDataItemController::logUnknownType(std::string_view typeText) const
{
    developerLog("Foutief Type Binnen Gekregen " + std::string(typeText));
}

} // namespace ch
