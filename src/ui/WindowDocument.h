#pragma once
// The document as its window's side bar, pages and toolbar use it: the
// books (model root, notification centre, item registry) and the sheets and
// operations they start. The document window implements the operations
// over its document; tests record them.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "bridge/BridgeDocument.h"
#include "bridge/CNonVisualDataItem.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

// What the account-type and category-group sheets are opened with. Each
// field stands for the key of the sheet's parameters named beside it;
// unset fields are not passed.
struct ObjectSheetParameters {
    BridgeDocument* document = nullptr;                 // "DOCUMENT"
    int dialogAction = 0;                               // "DIALOGACTION": 1 create, 2 modify
    std::optional<std::string> name;                    // "NAME"
    std::optional<int> systemExpenseType;               // "SYSTEMEXPT": the group's kind
    std::optional<long> masterExpenseType;              // "MASTEREXPT": the parent group's id
    std::optional<long> accountType;                    // "ACNTTYPE": the parent type's id
    std::optional<long> masterAccountType;              // "MASTERACCOUNTTYPE": the type's master kind
    CNonVisualDataItem::Ptr masterExpenseTypeToModify;  // "MASTEREXPENSETYPETOMODIFY"
    CNonVisualDataItem::Ptr accountTypeToModify;        // "ACCOUNTTYPETOMODIFY"
};

class CCurRItem;
class CTrnSItem;
class SheetDocument;

// How the transaction entry sheet is opened: filled from a model
// transaction (or empty) and with the accounts and category given; action
// 1 creates, 2 modifies. An empty sheet starts as a transaction of `type`
// (0 expense, 1 income, 2 transfer, 3 any).
struct TransactionSheetRequest {
    std::shared_ptr<CTrnSItem> model;
    CNonVisual* fromAccount = nullptr;
    CNonVisual* toAccount = nullptr;
    CNonVisual* expenseType = nullptr;
    int action = 1;
    bool recurring = false;
    int type = 3;
};

class WindowDocument {
public:
    explicit WindowDocument(BridgeDocument& books) : mBooks(books) {}
    virtual ~WindowDocument() = default;
    WindowDocument(const WindowDocument&) = delete;
    WindowDocument& operator=(const WindowDocument&) = delete;

    BridgeDocument& books() const { return mBooks; }

    // The account-type and category-group sheets.
    virtual void createNewAccountTypeAsked(const ObjectSheetParameters& parameters) = 0;
    virtual void createNewMasterExpenseTypeAsked(const ObjectSheetParameters& parameters) = 0;
    // A new account of the type, a new category in the group.
    virtual void initiateAccountCreationWithMasterType(ObjectIdT accountTypeId) = 0;
    virtual void initiateExpenseTypeCreationWithParentType(ObjectIdT groupId) = 0;
    // The user's deletion: asks, then deletes through the deletion command.
    virtual void deleteObject(const CNonVisualDataItem::Ptr& item) = 0;
    // The toolbar's new account (preset to the home currency) and new
    // category sheets, and the document settings sheet.
    virtual void newPLAccount() = 0;
    virtual void newExpenseType() = 0;
    virtual void showDocumentSettings() = 0;
    // The account sheet for a new credit card (of the first card's type).
    virtual void initiateCreditCardAccountCreation() = 0;
    // The sheet that modifies the item's model object.
    virtual void modifyObject(const CNonVisualDataItem::Ptr& item) = 0;
    // The new-owner sheet: on the people of the contacts for the sender tag
    // 1118, the plain sheet for any other.
    virtual void newAccountOwner(int senderTag) = 0;
    // The export sheet, limited to the item when it is an account, a
    // category, an account type or a category group; else for every
    // transaction of the books.
    virtual void exportTransactions(const CNonVisualDataItem::Ptr& limit) = 0;

    // --- currencies and shares: the currency or share sheet for a new one
    // or the one given, the rate sheet, the buy/sell and dividend sheets.
    virtual void newCurrencyAsked(bool share) = 0;
    virtual void modifyCurrency(const std::shared_ptr<CCurRItem>& currency) = 0;
    virtual void changeCurrencyRate(const std::shared_ptr<CCurRItem>& currency) = 0;
    virtual void registerShareTransaction(bool isBuy, const std::shared_ptr<CCurRItem>& share) = 0;
    virtual void registerDividend(const std::shared_ptr<CCurRItem>& share) = 0;

    // --- market data from the web. `finished` runs on this thread when the
    // work is over; a document without web access does nothing and calls it
    // at once. Share prices: a sender tag of 1273, 0 or below (or none)
    // fetches them, any other positive tag books the fetched ones.
    virtual void calculateStockPrices(std::optional<int> senderTag, std::function<void()> finished)
    {
        (void)senderTag;
        if (finished) finished();
    }
    virtual void getCurrencyConversionFromWeb(std::function<void()> finished)
    {
        if (finished) finished();
    }

    // --- transactions
    virtual void askTransactionInput(const TransactionSheetRequest& request) = 0;
    // Deletes through the deletion command, asking first when told; whether
    // the object went (false when the user declined).
    virtual bool deleteObjectWithAsking(const CNonVisualDataItem::Ptr& item, bool withAsking) = 0;
    // The clipboard of one transaction.
    virtual void copyTransaction(const std::shared_ptr<CTrnSItem>& transaction) = 0;
    virtual std::shared_ptr<CTrnSItem> transactionToPaste() const = 0;
    // A move: a copy of the transaction that outlives it is kept for Paste,
    // then the transaction is deleted, asking first; declined, nothing
    // changes, the clipboard included.
    virtual void cutTransaction(const std::shared_ptr<CTrnSItem>& transaction) = 0;
    // Books an unlinked (imported or generated) transaction.
    virtual void linkUnlinkedTransaction(const std::shared_ptr<CTrnSItem>& transaction) = 0;
    // Makes the transaction the payment of the VAT balance of the period
    // before it; false when there is none to pay.
    virtual bool tryToSetTransactionAsVATBalancePaymentTransaction(const std::shared_ptr<CTrnSItem>& transaction) = 0;

    // --- what the side bar's quick entry and drops book through: the
    // document's command executor and its empty transactions.
    virtual SheetDocument& sheetDocument() = 0;

private:
    BridgeDocument& mBooks;
};

} // namespace ch
