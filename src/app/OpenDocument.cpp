#include "app/OpenDocument.h"

#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessOfDocument.h"
#include "business/InstallBusiness.h"
#include "business/VATPeriods.h"
#include "document/DocumentBackgroundWork.h"
#include "document/MyDocument.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/TransactionExport.h"
#include "import/CImpTItem.h"
#include "import/InstallStatementImport.h"
#include "import/views/ImportRecord.h"
#include "model/CCurrency.h"
#include "model/foundation/CErrorManager.h"
#include "platform/gui/export_file_chooser.h"
#include "ui/sheets/CAskCurrencyrateController.h"
#include "ui/sheets/CBuySharesSheetController.h"
#include "ui/sheets/CCreateRecurringTrnsPopupController.h"
#include "ui/sheets/CCreateTransactionPopupController.h"
#include "ui/sheets/CFilePreferenceController.h"
#include "ui/sheets/CNewAccountController.h"
#include "ui/sheets/CNewAccountTypeController.h"
#include "ui/sheets/CNewCurrencyController.h"
#include "ui/sheets/CNewExpenseTypeController.h"
#include "ui/sheets/AccountSheetLogic.h"
#include "ui/sheets/CNewMasterExpenseTypeController.h"
#include "ui/sheets/CNewOwnerController.h"
#include "ui/sheets/CNewShareController.h"
#include "ui/sheets/CRegisterDividendSheetController.h"
#include "ui/sheets/ChartSheetLogic.h"
#include "ui/sheets/ShareDealLogic.h"
#include "ui/sheets/TransactionEntryLogic.h"

namespace ch {

namespace {

std::optional<long> homeCurrencyId(MyDocument& document)
{
    auto home = document.getHomeCurrency();
    if (home && home->getId()) return static_cast<long>(*home->getId());
    return std::nullopt;
}

} // namespace

detail::BooksHolder::BooksHolder(Dispatcher& dispatcher, bool held)
    : mDispatcher(dispatcher, held), mDocument(std::make_unique<MyDocument>(mDispatcher))
{
    business::installBusiness(*mDocument);
    installStatementImport(*mDocument);
}

detail::BooksHolder::~BooksHolder() = default;

OpenDocument::OpenDocument(Dispatcher& dispatcher, bool held)
    : BooksHolder(dispatcher, held), WindowDocument(*mDocument)
{
    mDocument->setSheets(this);
}

OpenDocument::~OpenDocument()
{
    mDocument->setSheets(nullptr);
    for (const QPointer<CPopupWindowAncestor>& sheet : mMadeSheets)
        if (sheet && !sheet->parent()) delete sheet.data();
}

template <class Sheet>
Sheet& OpenDocument::made(QPointer<Sheet>& sheet)
{
    if (!sheet) {
        sheet = new Sheet(mWindow);
        mMadeSheets.emplace_back(sheet.data());
    }
    return *sheet;
}

void OpenDocument::open(CPopupWindowAncestor& sheet, SheetParameters parameters)
{
    if (!parameters.contains(sheet_key::kDocument))
        parameters.set(sheet_key::kDocument, static_cast<SheetDocument*>(this));
    mLastSheet = &sheet;
    sheet.openSheet(mWindow, parameters);
}

// --- chart of accounts

void OpenDocument::createNewAccountTypeAsked(const ObjectSheetParameters& given)
{
    SheetParameters parameters;
    parameters.set(sheet_key::kDialogAction, static_cast<long>(given.dialogAction ? given.dialogAction : 1));
    if (given.name) parameters.set(sheet_key::kName, *given.name);
    if (given.accountType) parameters.set(sheet_key::kAccountType, *given.accountType);
    if (given.masterAccountType) parameters.set(sheet_key::kMasterAccountType, *given.masterAccountType);
    if (given.accountTypeToModify) parameters.set(sheet_key::kAccountTypeToModify, given.accountTypeToModify);
    open(made(mNewAccountTypeController), std::move(parameters));
}

void OpenDocument::createNewMasterExpenseTypeAsked(const ObjectSheetParameters& given)
{
    SheetParameters parameters;
    parameters.set(sheet_key::kDialogAction, static_cast<long>(given.dialogAction ? given.dialogAction : 1));
    if (given.name) parameters.set(sheet_key::kName, *given.name);
    if (given.systemExpenseType) parameters.set(sheet_key::kSystemExpenseType, static_cast<long>(*given.systemExpenseType));
    if (given.masterExpenseType) parameters.set(sheet_key::kMasterExpenseType, *given.masterExpenseType);
    if (given.masterExpenseTypeToModify)
        parameters.set(sheet_key::kMasterExpenseTypeToModify, given.masterExpenseTypeToModify);
    open(made(mNewMasterExpenseTypeController), std::move(parameters));
}

CNewAccountController& OpenDocument::openAccountSheet(SheetParameters parameters)
{
    if (!parameters.contains(sheet_key::kDialogAction)) parameters.set(sheet_key::kDialogAction, 1L);
    CNewAccountController& sheet = made(mNewAccountController);
    open(sheet, std::move(parameters));
    return sheet;
}

CNewExpenseTypeController& OpenDocument::openCategorySheet(SheetParameters parameters)
{
    if (!parameters.contains(sheet_key::kDialogAction)) parameters.set(sheet_key::kDialogAction, 1L);
    CNewExpenseTypeController& sheet = made(mNewExpenseTypeController);
    open(sheet, std::move(parameters));
    return sheet;
}

void OpenDocument::initiateAccountCreationWithMasterType(ObjectIdT accountTypeId)
{
    openAccountSheet({{std::string(sheet_key::kAccountType), static_cast<long>(accountTypeId)}});
}

void OpenDocument::initiateExpenseTypeCreationWithParentType(ObjectIdT groupId)
{
    openCategorySheet({{std::string(sheet_key::kMasterExpenseType), static_cast<long>(groupId)}});
}

void OpenDocument::newPLAccount()
{
    SheetParameters parameters;
    if (auto home = homeCurrencyId(*mDocument)) parameters.set(sheet_key::kCurrencyId, *home);
    openAccountSheet(std::move(parameters));
}

void OpenDocument::newExpenseType()
{
    openCategorySheet({});
}

void OpenDocument::initiateCreditCardAccountCreation()
{
    // A new card takes the type of the cards already there.
    long typeId = 2;
    const auto& cards = mDocument->mCreditCardArray();
    if (!cards.empty() && cards.front())
        if (auto first = cards.front()->getAccountTypeId()) typeId = *first;
    SheetParameters parameters{{std::string(sheet_key::kAccountType), typeId},
                               {std::string(sheet_key::kAccountSpecialType),
                                static_cast<long>(AccountSheetLogic::kCreditCard)}};
    if (auto home = homeCurrencyId(*mDocument)) parameters.set(sheet_key::kCurrencyId, *home);
    openAccountSheet(std::move(parameters));
}

CNewOwnerController& OpenDocument::openOwnerSheet(const std::shared_ptr<CAcoWItem>& ownerToModify)
{
    SheetParameters parameters{{std::string(sheet_key::kDialogAction), ownerToModify ? 2L : 1L}};
    if (ownerToModify) parameters.set(sheet_key::kOwnerToModify, ownerToModify);
    CNewOwnerController& sheet = made(mNewOwnerController);
    open(sheet, std::move(parameters));
    return sheet;
}

CNewOwnerController& OpenDocument::openNewOwnerSheet(SheetParameters parameters)
{
    parameters.set(sheet_key::kDialogAction, 1L);
    CNewOwnerController& sheet = made(mNewOwnerController);
    open(sheet, std::move(parameters));
    return sheet;
}

void OpenDocument::newAccountOwner(int senderTag)
{
    if (senderTag == kFromContactsSender) {
        openNewOwnerSheet({{std::string(sheet_key::kUseAddressBook), 1L}});
        return;
    }
    if (senderTag != kImportPageSender) {
        openOwnerSheet(nullptr);
        return;
    }
    const std::shared_ptr<CImpTItem> line = mImportLineSource ? mImportLineSource() : nullptr;
    if (!line) return;
    SheetParameters parameters;
    parameters.set(sheet_key::kPartnerName, line->mPartnerName());
    // Street and city on two lines; an empty part adds no empty line.
    std::string address = line->mPartnerAdress();
    if (!address.empty() && !line->mPartnerCity().empty()) address += '\r';
    address += line->mPartnerCity();
    if (!address.empty()) parameters.set(sheet_key::kPartnerAddress, address);
    parameters.set(sheet_key::kImportRecord, std::shared_ptr<ImportLine>(std::make_shared<ImportRecord>(line)));
    openNewOwnerSheet(std::move(parameters));
}

void OpenDocument::exportTransactions(const CNonVisualDataItem::Ptr& limit)
{
    if (!mExportController) {
        auto exporter = [this](const CNonVisualDataItem::Ptr& item, DateT from, DateT to, bool asQif) {
            getExportFileNameWithExtension(
                mWindow, TransactionExport::extension(asQif),
                [this, item, from, to, asQif](const std::optional<std::string>& path) {
                    if (!path) return;
                    TransactionExport writer(*mDocument);
                    if (item) writer.exportTransactionsForObject(*item, from, to, asQif, *path);
                    else writer.exportTransactionsFromDate(from, to, asQif, *path);
                });
        };
        mExportController = new CExportTransactionController(std::move(exporter), mWindow);
        mMadeSheets.emplace_back(mExportController.data());
    }
    open(*mExportController, exportSheetParameters(limit));
}

void OpenDocument::completeBankImport()
{
    mDocument->statementImport().completeBankImport();
}

void OpenDocument::modifyObject(const CNonVisualDataItem::Ptr& item)
{
    if (!item || !item->getSourceItem()) {
        CErrorManager::RaiseError(268);
        return;
    }
    if (auto account = std::dynamic_pointer_cast<CAcnTItem>(item)) {
        openAccountSheet({{std::string(sheet_key::kDialogAction), 2L},
                          {std::string(sheet_key::kAccountToModify), item}});
    } else if (std::dynamic_pointer_cast<CAccTItem>(item)) {
        ObjectSheetParameters parameters;
        parameters.dialogAction = 2;
        parameters.accountTypeToModify = item;
        createNewAccountTypeAsked(parameters);
    } else if (std::dynamic_pointer_cast<CExpTItem>(item)) {
        openCategorySheet({{std::string(sheet_key::kDialogAction), 2L},
                           {std::string(sheet_key::kExpenseTypeToModify), item}});
    } else if (std::dynamic_pointer_cast<CMxpTItem>(item)) {
        ObjectSheetParameters parameters;
        parameters.dialogAction = 2;
        parameters.masterExpenseTypeToModify = item;
        createNewMasterExpenseTypeAsked(parameters);
    } else if (auto currency = std::dynamic_pointer_cast<CCurRItem>(item)) {
        modifyCurrency(currency);
    } else if (auto owner = std::dynamic_pointer_cast<CAcoWItem>(item)) {
        openOwnerSheet(owner);
    } else if (auto transaction = std::dynamic_pointer_cast<CTrnSItem>(item)) {
        TransactionSheetRequest request;
        request.model = transaction;
        request.action = 2;
        request.recurring = std::dynamic_pointer_cast<CRcrTItem>(item) != nullptr;
        askTransactionInput(request);
    }
}

void OpenDocument::showDocumentSettings()
{
    CFilePreferenceController::showFor(mWindow, *this, mDocument->mPreference());
}

// --- deleting and the clipboard

void OpenDocument::deleteObject(const CNonVisualDataItem::Ptr& item)
{
    deleteObjectWithAsking(item, true);
}

bool OpenDocument::deleteObjectWithAsking(const CNonVisualDataItem::Ptr& item, bool withAsking)
{
    return mDocument->deleteObject(item, withAsking);
}

void OpenDocument::copyTransaction(const std::shared_ptr<CTrnSItem>& transaction)
{
    mDocument->copyTransaction(transaction);
}

std::shared_ptr<CTrnSItem> OpenDocument::transactionToPaste() const
{
    return mDocument->transactionToPaste();
}

void OpenDocument::cutTransaction(const std::shared_ptr<CTrnSItem>& transaction)
{
    mDocument->cutTransaction(transaction);
}

void OpenDocument::linkUnlinkedTransaction(const std::shared_ptr<CTrnSItem>& transaction)
{
    if (!transaction) return;
    // Named, so that the journal keeps it and a crash replays the booking.
    arguments::TransactionLinkArguments values;
    values.name = transaction->getName();
    executeCommand(29, transaction, &values);
}

bool OpenDocument::tryToSetTransactionAsVATBalancePaymentTransaction(const std::shared_ptr<CTrnSItem>& transaction)
{
    auto* business = dynamic_cast<business::BusinessOfDocument*>(mDocument->business());
    if (!transaction || !business) return false;
    // Through the executor: the journal keeps it, with the period paid.
    arguments::TransactionLinkArguments payment = business::VATBalancePaymentArguments(*business, *transaction);
    return executeCommand(kVATBalancePaymentCommand, transaction, &payment) >= 0;
}

// --- market data

void OpenDocument::calculateStockPrices(std::optional<int> senderTag, std::function<void()> finished)
{
    if (mBackgroundWork) mBackgroundWork->calculateStockPrices(senderTag, std::move(finished));
    else if (finished) finished();
}

void OpenDocument::getCurrencyConversionFromWeb(std::function<void()> finished)
{
    if (mBackgroundWork) mBackgroundWork->getCurrencyConversionFromWeb(std::move(finished));
    else if (finished) finished();
}

// --- currencies and shares

void OpenDocument::newCurrencyAsked(bool share)
{
    SheetParameters parameters{{std::string(sheet_key::kDialogAction), 1L}};
    if (auto home = homeCurrencyId(*mDocument)) parameters.set(sheet_key::kCurrencyId, *home);
    if (share) open(made(mNewShareController), std::move(parameters));
    else open(made(mNewCurrencyController), std::move(parameters));
}

void OpenDocument::modifyCurrency(const std::shared_ptr<CCurRItem>& currency)
{
    if (!currency) return;
    SheetParameters parameters{{std::string(sheet_key::kDialogAction), 2L},
                               {std::string(sheet_key::kCurrencyToModify), currency}};
    if (auto home = homeCurrencyId(*mDocument)) parameters.set(sheet_key::kCurrencyId, *home);
    const bool share = currency->getSourceItem() && mDocument->mShareArray().end() !=
                                                        std::find(mDocument->mShareArray().begin(),
                                                                  mDocument->mShareArray().end(), currency);
    if (share) open(made(mNewShareController), std::move(parameters));
    else open(made(mNewCurrencyController), std::move(parameters));
}

void OpenDocument::changeCurrencyRate(const std::shared_ptr<CCurRItem>& currency)
{
    if (!currency) return;
    std::string base;
    if (auto baseId = currency->mBaseCurrency())
        if (CCurrency* found = mDocument->getCurrencyForId(static_cast<ObjectIdT>(*baseId)))
            base = mDocument->dataItemController().currencyItemForCurrency(found)->mShortName();
    CAskCurrencyrateController& sheet = made(mAskCurrencyrateController);
    sheet.setCurrency(currency);
    open(sheet, {{std::string(rate_sheet_key::kShortName), currency->mShortName()},
                 {std::string(rate_sheet_key::kBaseShortName), base},
                 {std::string(rate_sheet_key::kConversionQuantity),
                  static_cast<long>(currency->mConversionQuantity().value_or(1))},
                 {std::string(rate_sheet_key::kConversionFactor), currency->mConversionFactor().value_or(1.0)}});
}

void OpenDocument::registerShareTransaction(bool isBuy, const std::shared_ptr<CCurRItem>& share)
{
    if (!share) return;
    open(made(mBuySharesSheetController), shareDealParameters(*this, share, isBuy));
}

void OpenDocument::registerDividend(const std::shared_ptr<CCurRItem>& share)
{
    if (!share) return;
    open(made(mRegisterDividendSheetController), dividendParameters(*this, share));
}

// --- transactions

void OpenDocument::askTransactionInput(const TransactionSheetRequest& request)
{
    askTransactionInput(request.model, request.fromAccount, request.toAccount, request.expenseType,
                        request.model ? 0 : request.type, request.action, request.recurring);
}

void OpenDocument::askTransactionInput(const std::shared_ptr<CTrnSItem>& transaction, CNonVisual* fromAccount,
                                       CNonVisual* toAccount, CNonVisual* expenseType, int type, int action,
                                       bool isRecurring)
{
    namespace key = transaction_sheet_key;
    auto& registry = mDocument->dataItemController();
    SheetParameters parameters{{std::string(key::kDocument), static_cast<SheetDocument*>(this)},
                               {std::string(key::kAction), static_cast<long>(action)}};
    if (type > 0) parameters.set(key::kTransactionType, static_cast<long>(type));
    if (transaction) parameters.set(key::kTransaction, transaction);
    if (fromAccount) parameters.set(key::kFromAccount, registry.accountItemForAccount(fromAccount));
    if (toAccount) parameters.set(key::kToAccount, registry.accountItemForAccount(toAccount));
    if (expenseType) parameters.set(key::kExpenseType, registry.categoryItemForCategory(expenseType));
    if (isRecurring) {
        open(made(mRecurringTrnsPopupController), std::move(parameters));
        return;
    }
    CCreateTransactionPopupController& sheet = made(mTransactionPopupController);
    if (!sheet.newObjectRequested)
        sheet.newObjectRequested = [this, &sheet](bool account, const SheetParameters& nested) {
            CPopupWindowAncestor& nestedSheet = account ? static_cast<CPopupWindowAncestor&>(made(mNewAccountController))
                                                        : static_cast<CPopupWindowAncestor&>(made(mNewExpenseTypeController));
            SheetParameters withDocument = nested;
            if (!withDocument.contains(sheet_key::kDocument))
                withDocument.set(sheet_key::kDocument, static_cast<SheetDocument*>(this));
            mLastSheet = &nestedSheet;
            nestedSheet.openSheet(&sheet, withDocument);
        };
    open(sheet, std::move(parameters));
}

// --- the sheets' side

BridgeDocument& OpenDocument::bridge()
{
    return *mDocument;
}

std::shared_ptr<CTrnSItem> OpenDocument::makeEmptyTransactionOfType(int type)
{
    return mDocument->makeEmptyTransactionOfType(type);
}

void OpenDocument::refreshAnalysisArrays()
{
    mDocument->refreshAnalysisArrays();
}

std::shared_ptr<CRcrTItem> OpenDocument::makeEmptyRecurringTransaction()
{
    return mDocument->makeEmptyRecurringTransaction();
}

long OpenDocument::executeCommand(int command, const std::shared_ptr<CNonVisualDataItem>& target,
                                  const CArgumentAncestor* arguments)
{
    return mDocument->commandExecutor().executeCommand(command, target, CommandArgument(arguments));
}

} // namespace ch
