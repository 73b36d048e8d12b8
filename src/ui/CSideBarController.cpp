#include "ui/CSideBarController.h"

#include "bridge/CAccTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/DeveloperLog.h"
#include "model/ModelCodes.h"
#include "platform/core/localized_strings.h"
#include "platform/core/notification_center.h"
#include "ui/ChartSink.h"
#include "ui/DefaultPages.h"
#include "ui/GXSideBarControlledViewAncestor.h"
#include "ui/SideBarOutlineModel.h"
#include "ui/WindowDocument.h"
#include "document/arguments/SimpleTransactionArguments.h"
#include "model/foundation/CDate.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SideBarDrops.h"

namespace ch {

namespace {

constexpr FourCharCode kTransactions = fourCC("TrnS");
constexpr FourCharCode kRecurring = fourCC("RcrT");
constexpr FourCharCode kUnlinked = fourCC("UnlT");
constexpr FourCharCode kAccountTypes = fourCC("AccT");
constexpr FourCharCode kAccounts = fourCC("AcnT");
constexpr FourCharCode kCategoryGroups = fourCC("MxpT");
constexpr FourCharCode kCategories = fourCC("ExpT");
constexpr FourCharCode kShares = fourCC("ShaR");
constexpr FourCharCode kCurrencies = fourCC("CurR");
constexpr FourCharCode kOwners = fourCC("AcoW");
constexpr FourCharCode kCustomers = fourCC("CusT");
constexpr FourCharCode kSuppliers = fourCC("SupL");
constexpr FourCharCode kCreditCards = fourCC("CcrD");
constexpr FourCharCode kVatPeriods = fourCC("VatP");
constexpr FourCharCode kVatRates = fourCC("VatR");
constexpr FourCharCode kAmortisation = fourCC("AmoR");

constexpr int kCutTag = 12;
constexpr int kNewObjectTag = 1100;
constexpr int kDeleteTag = 1104;
constexpr int kNewGroupInsideTag = 1106;
constexpr int kNewTransactionTag = 1110;
constexpr int kModifyTag = 1114;
constexpr int kPageOwnTag = 1211;
constexpr int kExportTag = 1236;
constexpr int kNewOwnerFromContactsTag = 1118;

bool isHeader(const CNonVisualDataItem& item)
{
    return item.isLevel1Header() || item.isLevel2Header();
}

// The title key of the node selectNodeWithType looks for.
const char* titleKeyForType(FourCharCode type)
{
    switch (type) {
    case kAccountTypes: return "ACCOUNTBUTTON";
    case kCategoryGroups: return "REASONBUTTON";
    case kShares: return "SHAREBUTTON";
    case kCurrencies: return "CURRENCYBUTTON";
    case kOwners: return "OWNERBUTTON";
    case kCreditCards: return "CREDITCARDBUTTON";
    case kTransactions: return "TRANSBUTTON";
    case kRecurring: return "RECURRINGBUTTON";
    case kUnlinked: return "GENERATEDBUTTON";
    default: return nullptr;
    }
}

} // namespace

CSideBarController::CSideBarController(WindowDocument& document, QObject* parent)
    : QObject(parent), mDocument(document), mModel(std::make_unique<SideBarOutlineModel>()),
      mSelection(std::make_unique<QItemSelectionModel>(mModel.get()))
{
    connect(mSelection.get(), &QItemSelectionModel::selectionChanged, this, [this] { selectionChanged(); });
    registerNotifications();

    mDrops = std::make_unique<SideBarDrops>(document.sheetDocument());
    // The page shows the moved object, or the new card, at once.
    mDrops->selectionChanged = [this] { selectionChanged(); };
    mDrops->creditCardsChanged = [this] { selectionChanged(); };
    mDrops->setAsVATBalancePayment = [this](const std::shared_ptr<CTrnSItem>& transaction) {
        return mDocument.tryToSetTransactionAsVATBalancePaymentTransaction(transaction);
    };

    CDocAccounting* books = document.books().accounting();
    const long ourAccount = book_defaults::ownPropertyAccount(books);
    mQuickEntry = std::make_unique<arguments::SimpleTransactionArguments>(
        CDate::GetNowAsDateT(), ourAccount > 0 ? std::optional<long>(ourAccount) : std::nullopt);
    mQuickEntry->setParentDocument(&document.books());
}

CSideBarController::~CSideBarController()
{
    mSubscriptions.clear();
    mCurrentController = nullptr;
    mPages.clear();
}

void CSideBarController::makeTreeRoot()
{
    mTree = makeSideBarTree(mDocument.books());
    mModel->setTreeRoot(mTree.roots);
}

void CSideBarController::setPageFactory(SideBarPageKind kind, PageFactory factory)
{
    mFactories[kind] = std::move(factory);
}

GXSideBarControlledViewAncestor* CSideBarController::page(SideBarPageKind kind)
{
    if (auto* existing = existingPage(kind)) return existing;
    const auto factory = mFactories.find(kind);
    std::unique_ptr<GXSideBarControlledViewAncestor> made =
        factory != mFactories.end() ? factory->second() : makeDefaultPage(kind);
    made->setObjectName(QString::fromUtf8(pageControllerName(kind).data(),
                                          static_cast<int>(pageControllerName(kind).size())));
    made->setDocument(&mDocument);
    auto* page = made.get();
    mPages[kind] = std::move(made);
    return page;
}

GXSideBarControlledViewAncestor* CSideBarController::existingPage(SideBarPageKind kind) const
{
    const auto found = mPages.find(kind);
    return found == mPages.end() ? nullptr : found->second.get();
}

CNonVisualDataItem::Ptr CSideBarController::deepCurrentItem() const
{
    if (mCurrentController)
        if (auto selected = mCurrentController->mSelectedItem()) return selected;
    return currentItem();
}

FourCharCode CSideBarController::currentObjectType() const
{
    const auto item = currentItem();
    if (!item) return 0;
    return item->objectType();
}

bool CSideBarController::currentItemValidatesCommands() const
{
    const auto item = currentItem();
    if (!item || isHeader(*item)) return false;
    const FourCharCode type = item->objectType();
    return type == kAccountTypes || type == kAccounts || type == kCategories || type == kCategoryGroups;
}

double CSideBarController::constrainSplitPosition(double, int) const
{
    return kMinimumSideBarWidth;
}

NodeMenu CSideBarController::menuForNode(const CNonVisualDataItem* node)
{
    if (!node) return NodeMenu::Empty;
    const bool header = isHeader(*node);
    switch (node->objectType()) {
    case kTransactions: return NodeMenu::Transaction;
    case kRecurring: return NodeMenu::RecurringTransaction;
    case kShares: return NodeMenu::Share;
    case kCurrencies: return NodeMenu::Currency;
    case kOwners: return NodeMenu::Owner;
    case kAccountTypes: return header ? NodeMenu::Empty : NodeMenu::Account;
    case kCategoryGroups: return header ? NodeMenu::Empty : NodeMenu::Category;
    case kCreditCards: return NodeMenu::None;
    default: return NodeMenu::Empty;
    }
}

void CSideBarController::forceFastTransactionpaneToFront()
{
    mFastTransactionAutomatic = false;
    setLowerPaneTab("trns");
}

double CSideBarController::changeCollapseStateOfBottomSubview(double currentHeight)
{
    double height = 0.0;
    if (mIsCollapsed) {
        if (mOldHeight <= kLowerPaneFloor) mOldHeight = kLowerPaneFloor;
        height = mOldHeight;
    } else {
        mOldHeight = currentHeight == 0.0 ? kLowerPaneFloor : currentHeight;
    }
    mIsCollapsed = !mIsCollapsed;
    return height;
}

std::optional<std::string> CSideBarController::dragKey() const
{
    const auto item = currentItem();
    if (!item || !item->canItemBeRelocated()) return std::nullopt;
    const std::string key = item->calculateKey();
    return key.empty() ? std::nullopt : std::optional<std::string>(key);
}

std::optional<std::string> CSideBarController::dragName() const
{
    if (!dragKey()) return std::nullopt;
    return currentItem()->getName();
}

bool CSideBarController::validateDrop(const CNonVisualDataItem::Ptr& node, const std::optional<std::string>& key) const
{
    return mDrops->validateDrop(node.get(), key);
}

bool CSideBarController::acceptDrop(const CNonVisualDataItem::Ptr& node, const std::optional<std::string>& key)
{
    return mDrops->acceptDrop(node.get(), key);
}

QuickEntryOutcome CSideBarController::newFastTransactionPressed(const QuickEntryFields& fields)
{
    return ch::newFastTransactionPressed(mDocument.sheetDocument(), *mQuickEntry, fields);
}

void CSideBarController::setLowerPaneTab(const std::string& tab)
{
    if (tab == mLowerPaneTab) return;
    mLowerPaneTab = tab;
    emit lowerPaneTabChanged();
}

int CSideBarController::indexOfItemNamed(const std::string& title, int level) const
{
    int found = -1;
    const std::vector<QModelIndex> rows = mModel->shownRows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const auto item = mModel->itemAt(rows[row]);
        if (!item || !isHeader(*item)) continue;
        if (level == 0 && !item->isLevel1Header()) continue;
        if (level == 1 && item->isLevel1Header()) continue;
        if (level == 2) continue;   // only ordinary rows remain, and they never match
        if (item->getName() == title) found = static_cast<int>(row);
    }
    return found;
}

bool CSideBarController::selectItem(const CNonVisualDataItem* item)
{
    const QModelIndex index = mModel->indexOfItem(item);
    if (!index.isValid()) return false;
    mSelection->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

void CSideBarController::selectNodeWithType(FourCharCode type, int level)
{
    const char* key = titleKeyForType(type);
    if (!key) return;
    if (type == kTransactions || type == kRecurring || type == kUnlinked) {
        const int rootRow = indexOfItemNamed(localized("TRANSBUTTON"), 0);
        if (rootRow >= 0) {
            const QModelIndex root = mModel->shownRows()[static_cast<std::size_t>(rootRow)];
            if (!mModel->isExpanded(root)) mModel->setExpanded(root, true);
        }
    }
    const int row = indexOfItemNamed(localized(key), level - 1);
    if (row < 0) return;
    const QModelIndex index = mModel->shownRows()[static_cast<std::size_t>(row)];
    mSelection->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CSideBarController::selectionChanged()
{
    const QModelIndexList rows = mSelection->selectedRows(0);
    if (rows.isEmpty()) {
        emit validationNeeded();
        return;
    }
    const auto item = mModel->itemAt(rows.first());
    mCurrentItem = item;
    if (!mFollowingPage) synchronizeChildViewWithItem(item);
    emit validationNeeded();
}

void CSideBarController::followSubPage(FourCharCode kind)
{
    // The row of that kind, the deepest when a root and its first child
    // share it (the VAT periods).
    QModelIndex found;
    for (int r = 0; r < mModel->rowCount(); ++r) {
        const QModelIndex root = mModel->index(r, 0);
        if (const auto item = mModel->itemAt(root); item && item->objectType() == kind) found = root;
        for (int c = 0; c < mModel->rowCount(root); ++c) {
            const QModelIndex child = mModel->index(c, 0, root);
            if (const auto item = mModel->itemAt(child); item && item->objectType() == kind) found = child;
        }
    }
    if (!found.isValid() || mSelection->isRowSelected(found.row(), found.parent())) return;
    if (found.parent().isValid() && !mModel->isExpanded(found.parent())) mModel->setExpanded(found.parent(), true);
    mFollowingPage = true;
    mSelection->select(found, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    mFollowingPage = false;
}

void CSideBarController::showPage(SideBarPageKind kind, const CNonVisualDataItem::Ptr& node,
                                  std::optional<FourCharCode> subPage)
{
    GXSideBarControlledViewAncestor* shown = page(kind);
    connect(shown, &GXSideBarControlledViewAncestor::subPageChosen, this, &CSideBarController::followSubPage,
            Qt::UniqueConnection);
    mCurrentController = shown;
    mCurrentKind = kind;
    if (mColumn) mColumn->showPageView(shown->controlledView());
    shown->repositionSubviewsAfterInstallation();
    shown->synchronizeWithItemFromSuperview(node);
    if (subPage && shown->hasSubPages()) shown->selectSubPage(*subPage);
    if (mColumn) mColumn->setFirstKeyView(shown->firstKeyView());
    emit currentPageChanged();
}

void CSideBarController::synchronizeChildViewWithItem(const CNonVisualDataItem::Ptr& item)
{
    if (!item) return;
    const NodeMenu menu = menuForNode(item.get());
    if (menu == NodeMenu::None) {
        mNewButtonEnabled = false;
        mActionMenu = NodeMenu::Empty;
    } else {
        mNewButtonEnabled = menu != NodeMenu::Empty;
        mActionButtonEnabled = menu != NodeMenu::Empty;
        mActionMenu = menu;
    }
    emit buttonsChanged();

    const FourCharCode type = item->objectType();
    switch (type) {
    case kVatPeriods:
    case kVatRates:
    case kAmortisation:
        showPage(SideBarPageKind::BusinessSetup, nullptr, type);
        setLowerPaneTab("trns");
        mFastTransactionAutomatic = true;
        return;
    case kOwners:
    case kCustomers:
    case kSuppliers:
        showPage(SideBarPageKind::Owners, nullptr, type);
        setLowerPaneTab("trns");
        return;
    case kTransactions:
    case kRecurring:
    case kUnlinked:
        showPage(SideBarPageKind::Transactions, nullptr, type);
        setLowerPaneTab("trns");
        mFastTransactionAutomatic = true;
        return;
    case kCreditCards:
        showPage(SideBarPageKind::CreditCards, nullptr, std::nullopt);
        setLowerPaneTab("trns");
        return;
    case kCurrencies:
        showPage(SideBarPageKind::Currencies, nullptr, std::nullopt);
        setLowerPaneTab("trns");
        return;
    case kShares:
        showPage(SideBarPageKind::Portfolio, nullptr, std::nullopt);
        setLowerPaneTab("trns");
        return;
    case kAccountTypes:
    case kCategoryGroups: {
        if (item->isLevel1Header()) {
            showPage(SideBarPageKind::BarChart, item, std::nullopt);
            setLowerPaneTab("trns");
            return;
        }
        showPage(type == kAccountTypes ? SideBarPageKind::Accounts : SideBarPageKind::Categories, item,
                 std::nullopt);
        if (mFastTransactionAutomatic) setLowerPaneTab("acct");
        mPieItem = item;
        refreshAccountPie();
        return;
    }
    default:
        mCurrentController = nullptr;
        mCurrentKind.reset();
        emit currentPageChanged();
        return;
    }
}

void CSideBarController::passMenuCommand(int code, const CommandSender& sender)
{
    if (sender.isToolbarItem() && sender.tag == kNewTransactionTag) {
        mDocument.books().askTransactionInput(nullptr, nullptr, nullptr, 3, 1, false);
        return;
    }
    if (outlineHasFocus() && currentItemValidatesCommands()) {
        const FourCharCode type = currentObjectType();
        if (type != kAccountTypes && type != kCategoryGroups) return;
        switch (code) {
        case kNewObjectTag: newPressed(); break;
        case kDeleteTag: removePressed(); break;
        case kNewGroupInsideTag: newBelowPressed(); break;
        case kModifyTag: modifyPressed(); break;
        default: break;
        }
        return;
    }
    if (mCurrentController) mCurrentController->executeMenuCommand(code, sender);
}

MenuItemValidation CSideBarController::validateMenuItem(int tag) const
{
    if (tag == kPageOwnTag && mCurrentController) return mCurrentController->validateMenuItem(tag);
    // Every page can export: what it shows when that is an account or a
    // category (or a folder of them), else the whole books.
    if (tag == kExportTag) return {mCurrentController != nullptr, std::nullopt};
    if (mCurrentKind && mCurrentController) {
        switch (*mCurrentKind) {
        case SideBarPageKind::Transactions:
        case SideBarPageKind::Portfolio:
        case SideBarPageKind::Owners:
        case SideBarPageKind::Currencies:
        case SideBarPageKind::BusinessSetup: return mCurrentController->validateMenuItem(tag);
        default: break;
        }
    }
    const auto item = currentItem();
    if (outlineHasFocus() && item && isHeader(*item)) return {false, std::nullopt};
    // The outline's rows are moved by dragging them: Cut has nothing to move.
    if (outlineHasFocus() && tag == menu_tag::kCut) return {false, std::nullopt};
    if (outlineHasFocus() && tag != kPageOwnTag && currentItemValidatesCommands()) return item->validateMenuItem(tag);
    if (mCurrentController) return mCurrentController->validateMenuItem(tag);
    return {false, std::nullopt};
}

bool CSideBarController::validateToolbarItem(const CommandSender& item) const
{
    return mCurrentController && mCurrentController->validateToolbarItem(item);
}

void CSideBarController::searchContents(const std::string& text)
{
    if (mCurrentController) mCurrentController->searchContents(text);
}

void CSideBarController::newObject(const CommandSender& sender)
{
    if (mCurrentController) mCurrentController->newObject(sender);
}

bool CSideBarController::askNewFolder(bool belowCurrent)
{
    const auto item = currentItem();
    const FourCharCode type = currentObjectType();
    ObjectSheetParameters parameters;
    parameters.document = &mDocument.books();
    parameters.dialogAction = 1;
    if (type == kCategoryGroups) {
        const auto group = std::dynamic_pointer_cast<CMxpTItem>(item);
        parameters.name = "??";
        if (group) {
            parameters.systemExpenseType = group->getMasterTypeAsObject();
            parameters.masterExpenseType = belowCurrent ? std::optional<long>(group->getId()) : group->mParentId();
        }
        mDocument.createNewMasterExpenseTypeAsked(parameters);
        return true;
    }
    if (type == kAccountTypes) {
        const auto accountType = std::dynamic_pointer_cast<CAccTItem>(item);
        if (accountType) {
            parameters.accountType = belowCurrent ? std::optional<long>(accountType->getId()) : accountType->getParentType();
            parameters.masterAccountType = accountType->getMasterType();
        }
        mDocument.createNewAccountTypeAsked(parameters);
        return true;
    }
    return false;
}

void CSideBarController::newPressed()
{
    if (!askNewFolder(false)) newObject(CommandSender::sideBar());
}

void CSideBarController::newBelowPressed()
{
    askNewFolder(true);
}

void CSideBarController::newObjectBelowPressed()
{
    const auto item = currentItem();
    if (!item) return;
    const auto id = item->getId();
    if (!id || *id < 0) return;
    const FourCharCode type = currentObjectType();
    if (type == kCategoryGroups) mDocument.initiateExpenseTypeCreationWithParentType(*id);
    if (type == kAccountTypes) mDocument.initiateAccountCreationWithMasterType(*id);
}

void CSideBarController::exportTransactionsPressed()
{
    if (mCurrentController) mDocument.exportTransactions(deepCurrentItem());
}

void CSideBarController::newOwnerFromContactsPressed()
{
    mDocument.newAccountOwner(kNewOwnerFromContactsTag);
}

void CSideBarController::removePressed()
{
    const FourCharCode type = currentObjectType();
    if (type == 0 || type == type::kNone) return;
    mDocument.deleteObject(currentItem());
}

void CSideBarController::modifyPressed()
{
    // A header has no model object for the sheet to change.
    if (!currentItemValidatesCommands()) return;
    const auto item = currentItem();
    const FourCharCode type = currentObjectType();
    ObjectSheetParameters parameters;
    parameters.document = &mDocument.books();
    parameters.dialogAction = 2;
    if (type == kCategoryGroups) {
        parameters.masterExpenseTypeToModify = item;
        mDocument.createNewMasterExpenseTypeAsked(parameters);
    } else if (type == kAccountTypes) {
        parameters.accountTypeToModify = item;
        mDocument.createNewAccountTypeAsked(parameters);
    }
}

// --- notifications

void CSideBarController::observe(const char* name, void (CSideBarController::*handler)(const Notification&))
{
    mSubscriptions.push_back(mDocument.books().notificationCenter().subscribe(
        name, [this, handler](const Notification& notification) { (this->*handler)(notification); }));
}

void CSideBarController::registerNotifications()
{
    observe("ACCOUNTTYPECREATED", &CSideBarController::folderCreated);
    observe("ACCOUNTTYPEMODIFIED", &CSideBarController::accountTypeModified);
    observe("ACCOUNTTYPEWILLBEDELETED", &CSideBarController::folderWillBeDeleted);
    observe("ACCOUNTTYPEDELETED", &CSideBarController::accountTypeDeleted);
    observe("CATEGORYTYPECREATED", &CSideBarController::folderCreated);
    observe("CATEGORYTYPEWILLBEDELETED", &CSideBarController::folderWillBeDeleted);
    observe("CATEGORYTYPEDELETED", &CSideBarController::categoryTypeDeleted);
    observe("CHILDFOLDERSCHANGEDNOTIFICATION", &CSideBarController::refreshChildren);
    observe("OBJECTREMOVEDFROMROOTNOTIFICATION", &CSideBarController::refreshRoots);
    // The pie follows what it shows: new, deleted or renamed accounts and
    // categories, and the bookings that move their balances.
    for (const char* name : {"ACCOUNTCREATED", "ACCOUNTMODIFIED", "ACCOUNTDELETED", "CATEGORYCREATED",
                             "CATEGORYMODIFIED", "CATEGORYDELETED", "TRANSACTIONCREATED", "TRANSACTIONMODIFIED",
                             "TRANSACTIONDELETED"})
        observe(name, &CSideBarController::pieContentsChanged);
}

void CSideBarController::refreshAccountPie()
{
    const auto item = mPieItem.lock();
    if (!mAccountPie || !item) return;
    CNonVisualDataItem::ItemArray pie = item->pieChartChildrenArray();
    if (pie.size() == 1 && pie.front()) pie = pie.front()->pieChartChildrenArray();
    mAccountPie->synchronizeWithArray(pie);
}

void CSideBarController::pieContentsChanged(const Notification&)
{
    refreshAccountPie();
}

CNonVisualDataItem::Ptr CSideBarController::ownItem(const Notification& notification) const
{
    auto item = notification.objectAs<CNonVisualDataItem>();
    if (!item || item->parentDocument() != &mDocument.books()) return nullptr;
    return item;
}

void CSideBarController::refreshKinds(bool accounts, bool categories)
{
    auto refresh = [this](SideBarRootKind kind) {
        const auto header = mTree.headerOf(kind);
        if (!header) return;
        header->setChildren(topLevelFolders(mDocument.books(), kind));
        mModel->reloadItem(header.get(), true);
    };
    if (accounts)
        for (SideBarRootKind kind : kAccountRootKinds) refresh(kind);
    if (categories)
        for (SideBarRootKind kind : kCategoryRootKinds) refresh(kind);
    emit validationNeeded();
}

void CSideBarController::folderCreated(const Notification& notification)
{
    const auto item = ownItem(notification);
    if (!item) return;
    // A new top-level folder joins its header, which holds a list made
    // when the tree was built.
    if (!mModel->indexOfItem(item.get()).isValid() && item->isRootItem())
        refreshKinds(item->objectType() == kAccountTypes, item->objectType() == kCategoryGroups);
    const QModelIndex index = mModel->indexOfItem(item.get());
    const std::vector<QModelIndex> rows = mModel->shownRows();
    for (std::size_t row = 1; row < rows.size(); ++row) {
        if (rows[row] == index) {
            mSelection->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            return;
        }
    }
}

void CSideBarController::accountTypeModified(const Notification& notification)
{
    if (const auto item = ownItem(notification)) mModel->reloadItem(item.get(), false);
}

void CSideBarController::refreshChildren(const Notification& notification)
{
    if (const auto item = ownItem(notification)) mModel->reloadItem(item.get(), true);
}

void CSideBarController::folderWillBeDeleted(const Notification& notification)
{
    const auto item = ownItem(notification);
    if (!item) return;
    mCurrentItem.reset();
    if (mPieItem.lock() == item) mPieItem.reset();
    emit validationNeeded();
}

void CSideBarController::accountTypeDeleted(const Notification&)
{
    // The deleted type's row goes; a top-level one leaves its header too.
    refreshKinds(true, false);
    mModel->pruneDeleted();
}

void CSideBarController::categoryTypeDeleted(const Notification&)
{
    refreshKinds(false, true);
    mModel->pruneDeleted();
}

void CSideBarController::refreshRoots(const Notification& notification)
{
    const auto item = ownItem(notification);
    if (std::dynamic_pointer_cast<CMxpTItem>(item)) {
        refreshKinds(false, true);
    } else if (std::dynamic_pointer_cast<CAccTItem>(item)) {
        refreshKinds(true, false);
    } else if (!notification.objectAs<CNonVisualDataItem>() || item) {
        developerLog("Unforseen Object Type. Only account types or category types are supposed to be root items. "
                     "CSideBarController 1380");
    }
}

} // namespace ch
