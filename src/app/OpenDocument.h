#pragma once
// OpenDocument: one open set of books as its window, pages and sheets use
// it. It owns the document (with its business bookkeeping and statement
// readers installed) on a dispatcher that can hold its delayed steps back,
// and implements what the window asks of the document: the sheet openers,
// the deletions that ask first, the transaction clipboard, the currency,
// share, dividend and rate sheets and the document settings. Every change a
// sheet ends in runs as one of the document's numbered commands, so it is
// journaled and marks the document changed.
//
// Sheets open over the window given with setWindow (for the application
// while there is none), which owns them. Main thread only.

#include <QPointer>

#include <functional>
#include <memory>
#include <vector>

#include "document/DocumentSheets.h"
#include "document/app/HeldDispatcher.h"
#include "import/views/CExportTransactionController.h"
#include "ui/WindowDocument.h"
#include "ui/sheets/CAskCurrencyrateController.h"
#include "ui/sheets/CBuySharesSheetController.h"
#include "ui/sheets/CCreateRecurringTrnsPopupController.h"
#include "ui/sheets/CCreateTransactionPopupController.h"
#include "ui/sheets/CNewAccountController.h"
#include "ui/sheets/CNewAccountTypeController.h"
#include "ui/sheets/CNewCurrencyController.h"
#include "ui/sheets/CNewExpenseTypeController.h"
#include "ui/sheets/CNewMasterExpenseTypeController.h"
#include "ui/sheets/CNewOwnerController.h"
#include "ui/sheets/CNewShareController.h"
#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/sheets/CRegisterDividendSheetController.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/SheetDocument.h"

class QWidget;

namespace ch {

class CAcoWItem;
class CImpTItem;
class DocumentBackgroundWork;
class MyDocument;

namespace detail {
// Made before the interfaces that refer to the books.
struct BooksHolder {
    BooksHolder(Dispatcher& dispatcher, bool held);
    ~BooksHolder();
    HeldDispatcher mDispatcher;
    std::unique_ptr<MyDocument> mDocument;
};
} // namespace detail

class OpenDocument : private detail::BooksHolder,
                     public WindowDocument,
                     public SheetDocument,
                     public CommandSink,
                     public DocumentSheets {
public:
    // A new, empty document on `dispatcher` (held back when `held`).
    OpenDocument(Dispatcher& dispatcher, bool held);
    ~OpenDocument() override;

    MyDocument& document() const { return *mDocument; }
    HeldDispatcher& dispatcher() { return mDispatcher; }
    void setWindow(QWidget* window) { mWindow = window; }

    // --- the window's operations
    void createNewAccountTypeAsked(const ObjectSheetParameters& parameters) override;
    void createNewMasterExpenseTypeAsked(const ObjectSheetParameters& parameters) override;
    void initiateAccountCreationWithMasterType(ObjectIdT accountTypeId) override;
    void initiateExpenseTypeCreationWithParentType(ObjectIdT groupId) override;
    void deleteObject(const CNonVisualDataItem::Ptr& item) override;
    void newPLAccount() override;
    void newExpenseType() override;
    void showDocumentSettings() override;
    void initiateCreditCardAccountCreation() override;
    // Accounts, account types, categories, category groups, currencies and
    // shares, owners and transactions; an item without its object raises
    // error 268 and opens nothing.
    void modifyObject(const CNonVisualDataItem::Ptr& item) override;
    // The import page's sender (kImportPageSender) opens the owner sheet
    // for the current import line: its partner's name and address, and the
    // line ("IMPORTRECORD") that the new owner completes; nothing without a
    // current line. The sender 1118 opens the sheet on the people of the
    // contacts; every other sender gets the plain owner sheet.
    void newAccountOwner(int senderTag) override;
    static constexpr int kImportPageSender = 1190;
    static constexpr int kFromContactsSender = 1118;
    // The export sheet; on OK the save panel, then the file is written.
    void exportTransactions(const CNonVisualDataItem::Ptr& limit) override;
    // Where the current import line comes from (the import page).
    void setImportLineSource(std::function<std::shared_ptr<CImpTItem>()> source)
    {
        mImportLineSource = std::move(source);
    }
    void newCurrencyAsked(bool share) override;
    void modifyCurrency(const std::shared_ptr<CCurRItem>& currency) override;
    void changeCurrencyRate(const std::shared_ptr<CCurRItem>& currency) override;
    void registerShareTransaction(bool isBuy, const std::shared_ptr<CCurRItem>& share) override;
    void registerDividend(const std::shared_ptr<CCurRItem>& share) override;
    void askTransactionInput(const TransactionSheetRequest& request) override;
    bool deleteObjectWithAsking(const CNonVisualDataItem::Ptr& item, bool withAsking) override;
    void copyTransaction(const std::shared_ptr<CTrnSItem>& transaction) override;
    std::shared_ptr<CTrnSItem> transactionToPaste() const override;
    void cutTransaction(const std::shared_ptr<CTrnSItem>& transaction) override;
    void linkUnlinkedTransaction(const std::shared_ptr<CTrnSItem>& transaction) override;
    bool tryToSetTransactionAsVATBalancePaymentTransaction(const std::shared_ptr<CTrnSItem>& transaction) override;
    SheetDocument& sheetDocument() override { return *this; }
    // Through the background work once it is set; without it nothing is
    // fetched.
    void calculateStockPrices(std::optional<int> senderTag, std::function<void()> finished) override;
    void getCurrencyConversionFromWeb(std::function<void()> finished) override;
    // The document's web fetches (not owned; none clears it).
    void setBackgroundWork(DocumentBackgroundWork* work) { mBackgroundWork = work; }

    // --- the sheets' side
    BridgeDocument& bridge() override;
    CommandSink& commands() override { return *this; }
    std::shared_ptr<CTrnSItem> makeEmptyTransactionOfType(int type) override;
    // The kept booking-line lists of the books' items are built again when
    // next read (returning to an account seen earlier shows it as it is now).
    void refreshAnalysisArrays() override;
    std::shared_ptr<CRcrTItem> makeEmptyRecurringTransaction() override;
    void completeBankImport() override;
    long executeCommand(int command, const std::shared_ptr<CNonVisualDataItem>& target,
                        const CArgumentAncestor* arguments) override;

    // --- the document's transaction sheet
    void askTransactionInput(const std::shared_ptr<CTrnSItem>& transaction, CNonVisual* fromAccount,
                             CNonVisual* toAccount, CNonVisual* expenseType, int type, int action,
                             bool isRecurring) override;

    // The account sheet for a new account; `parameters` may preset it.
    CNewAccountController& openAccountSheet(SheetParameters parameters);
    // The category sheet for a new category.
    CNewExpenseTypeController& openCategorySheet(SheetParameters parameters);
    // The owner sheet, new or modifying the owner given.
    CNewOwnerController& openOwnerSheet(const std::shared_ptr<CAcoWItem>& ownerToModify);
    // The owner sheet for a new owner, preset by `parameters`.
    CNewOwnerController& openNewOwnerSheet(SheetParameters parameters);
    // The sheet opened last (what a user is looking at).
    CPopupWindowAncestor* lastSheet() const { return mLastSheet; }

private:
    void open(CPopupWindowAncestor& sheet, SheetParameters parameters);
    template <class Sheet>
    Sheet& made(QPointer<Sheet>& sheet);

    QWidget* mWindow = nullptr;
    std::function<std::shared_ptr<CImpTItem>()> mImportLineSource;
    DocumentBackgroundWork* mBackgroundWork = nullptr;
    QPointer<CNewAccountController> mNewAccountController;
    QPointer<CNewAccountTypeController> mNewAccountTypeController;
    QPointer<CNewExpenseTypeController> mNewExpenseTypeController;
    QPointer<CNewMasterExpenseTypeController> mNewMasterExpenseTypeController;
    QPointer<CNewCurrencyController> mNewCurrencyController;
    QPointer<CNewShareController> mNewShareController;
    QPointer<CNewOwnerController> mNewOwnerController;
    QPointer<CAskCurrencyrateController> mAskCurrencyrateController;
    QPointer<CBuySharesSheetController> mBuySharesSheetController;
    QPointer<CRegisterDividendSheetController> mRegisterDividendSheetController;
    QPointer<CCreateTransactionPopupController> mTransactionPopupController;
    QPointer<CCreateRecurringTrnsPopupController> mRecurringTrnsPopupController;
    QPointer<CExportTransactionController> mExportController;
    QPointer<CPopupWindowAncestor> mLastSheet;
    // Sheets are the window's children once they opened on it; those that
    // never had a window are deleted here.
    std::vector<QPointer<CPopupWindowAncestor>> mMadeSheets;
};

} // namespace ch
