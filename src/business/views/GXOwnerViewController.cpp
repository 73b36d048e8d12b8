#include "business/views/GXOwnerViewController.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include <QAction>
#include <QList>
#include <QDesktopServices>
#include <QDragMoveEvent>
#include <QUrl>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <span>

#include "bridge/CAcoWItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessOfDocument.h"
#include "business/BookingLines.h"
#include "business/InvoiceBooking.h"
#include "business/OwnerContactsLinking.h"
#include "business/PaymentDrop.h"
#include "business/Payments.h"
#include "business/views/GXDoubleTransactionDetailTableSynchronizer.h"
#include "document/DocumentNotifications.h"
#include "document/MyDocument.h"
#include "document/arguments/BooksLinkArguments.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/core/contacts_provider.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/gui/localized_text.h"
#include "ui/WindowDocument.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/TableActionButton.h"
#include "ui/sheets/SheetForm.h"

namespace ch::business {

namespace {

constexpr const char* kTabIdentifiers[3] = {"AcoW", "CusT", "SupL"};
constexpr const char* kVCardType = "text/vcard";
// Shorter ids are not the contacts' own: such an owner has no card to open.
constexpr std::size_t kMinimumCardUIDLength = 11;
constexpr int kNew = 1100;
constexpr int kNewPlainOwner = 1101;
constexpr int kDelete = 1104;
constexpr int kModify = 1114;
constexpr int kModifyOwnerMenu = 1119;
constexpr int kModifyInContacts = 1120;
constexpr int kFlag = 1121;
constexpr int kCommandNewCustomerInvoice = 38;
constexpr int kCommandModifyCustomerInvoice = 39;
constexpr int kCommandNewSupplierInvoice = 41;
constexpr int kCommandModifySupplierInvoice = 42;
constexpr int kCommandNewCustomerPayment = 44;
constexpr int kCommandSplitPayment = 45;
constexpr int kCommandNewSupplierPayment = 46;
constexpr long kAlreadyCancelledError = 563;

bool isCardFile(const QUrl& url)
{
    if (!url.isLocalFile()) return false;
    const QString path = url.toLocalFile();
    return path.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".vcard"), Qt::CaseInsensitive);
}

// Whether the drag carries people: vCard data, or vCard files a file
// manager drags (as their URLs).
bool carriesPeople(const QMimeData* data)
{
    if (data->hasFormat(kVCardType)) return true;
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), isCardFile);
}

// The vCard text of the drag: the data itself, else the dragged files' cards,
// each file read only up to the size the contacts folder allows.
std::string droppedCards(const QMimeData* data)
{
    if (data->hasFormat(kVCardType)) return data->data(kVCardType).toStdString();
    std::string cards;
    for (const QUrl& url : data->urls()) {
        if (!isCardFile(url)) continue;
        const std::filesystem::path file(url.toLocalFile().toStdString());
        std::error_code failure;
        const std::uintmax_t size = std::filesystem::file_size(file, failure);
        if (failure || size > VCardFolderContacts::kMaxFileBytes) continue;
        std::ifstream in(file, std::ios::binary);
        cards.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        cards += "\r\n";
    }
    return cards;
}

// The items of the invoice and payment tables (context menu and action button).
enum LineTag {
    kNewInvoice = 1,
    kModifyInvoice,
    kDeleteInvoice,
    kCreditNote,
    kUnlinkPayments,
    kNewPayment,
    kModifyPayment,
    kDeletePayment,
    kSplitPayment,
    kUnlinkPayment,
    kFindInvoices,
};
struct LineItem {
    const char* titleKey;
    int tag;
    bool customersOnly;
};
constexpr LineItem kInvoiceItems[] = {{"OWNERSNEWINVOICE", kNewInvoice, false},
                                      {"OWNERSMODIFYINVOICE", kModifyInvoice, false},
                                      {"OWNERSDELETEINVOICE", kDeleteInvoice, false},
                                      {"OWNERSCREDITNOTE", kCreditNote, true},
                                      {"OWNERSUNLINKPAYMENTS", kUnlinkPayments, true}};
constexpr LineItem kPaymentItems[] = {{"OWNERSNEWPAYMENT", kNewPayment, false},
                                      {"OWNERSMODIFYPAYMENT", kModifyPayment, false},
                                      {"OWNERSDELETEPAYMENT", kDeletePayment, false},
                                      {"OWNERSSPLITPAYMENT", kSplitPayment, false},
                                      {"OWNERSUNLINKPAYMENT", kUnlinkPayment, false},
                                      {"OWNERSFINDINVOICES", kFindInvoices, false}};

std::vector<LineItem> lineItems(bool customer, bool invoices)
{
    std::vector<LineItem> items;
    for (const LineItem& item : invoices ? std::span<const LineItem>(kInvoiceItems) : std::span<const LineItem>(kPaymentItems))
        if (customer || !item.customersOnly) items.push_back(item);
    return items;
}

// The owner table: takes people of the contacts, and vCard files.
class OwnerTable : public GXTableAncestor {
public:
    OwnerTable(GXOwnerViewController& page, QWidget* parent) : GXTableAncestor(parent), mPage(page)
    {
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setSelectionMode(QAbstractItemView::SingleSelection);
        setAcceptDrops(true);
        viewport()->setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (carriesPeople(event->mimeData())) event->acceptProposedAction();
        else event->ignore();
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        if (!carriesPeople(event->mimeData())) return event->ignore();
        event->setDropAction(rowAt(event->position().toPoint().y()) >= 0 ? Qt::MoveAction : Qt::CopyAction);
        event->accept();
    }
    void dropEvent(QDropEvent* event) override
    {
        if (mPage.dropPeople(event->mimeData(), rowAt(event->position().toPoint().y()))) event->acceptProposedAction();
        else event->ignore();
    }

private:
    GXOwnerViewController& mPage;
};

std::vector<ItemColumn> ownerColumns()
{
    auto owner = [](const CNonVisualDataItem& item) { return dynamic_cast<const CAcoWItem*>(&item); };
    return {
        {"name", localizedText("FIELDNAME"),
         [owner](const CNonVisualDataItem& item, int role) -> QVariant {
             const CAcoWItem* found = owner(item);
             if (!found) return {};
             if (role == Qt::DisplayRole) return QString::fromStdString(found->getName());
             if (role == Qt::ToolTipRole) return QString::fromStdString(found->completeName());
             return {};
         },
         [](const CNonVisualDataItem& item) -> SortValue { return item.getName(); }},
        {"linked", localizedText("FIELDCONTACT"),
         [owner](const CNonVisualDataItem& item, int role) -> QVariant {
             const CAcoWItem* found = owner(item);
             if (!found || role != Qt::DisplayRole) return {};
             return found->isABOwner() ? QStringLiteral("\u2713") : QString();
         },
         nullptr},
    };
}

CNonVisualDataItem::ItemArray linesOf(const std::optional<LineItemArray>& lines)
{
    CNonVisualDataItem::ItemArray items;
    if (lines)
        for (const auto& line : *lines) items.push_back(line);
    return items;
}

} // namespace

GXOwnerViewController::GXOwnerViewController(MyDocument& document, QObject* parent)
    : GXSideBarControlledViewAncestor(parent), mMyDocument(document)
{
    mCardOpener = [](const std::filesystem::path& file) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string())));
    };
    for (auto& controller : mOwners)
        controller.setSortDescriptors(
            {{"name", true, [](const CNonVisualDataItem& item) -> SortValue { return item.getName(); }, nullptr}});
}

GXOwnerViewController::~GXOwnerViewController()
{
    // The models read the controllers, which go before the children do.
    for (ItemTableModel* model : mModels) delete model;
}

QWidget* GXOwnerViewController::makeControlledView()
{
    auto* view = new QWidget;
    view->setObjectName(QStringLiteral("ownerTableSubview"));
    auto* layout = new QVBoxLayout(view);
    pageTab = new QTabWidget(view);
    pageTab->setObjectName(QStringLiteral("pageTab"));
    layout->addWidget(pageTab);
    // The side bar highlights the node of the tab the person chose.
    connect(pageTab->tabBar(), &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index < 3) emit subPageChosen(fourCCFromString(kTabIdentifiers[index]));
    });
    const char* names[3] = {"ownerTableView", "customerTableView", "supplierTableView"};
    const char* titles[3] = {"OWNERSTABALL", "OWNERSTABCUSTOMERS", "OWNERSTABSUPPLIERS"};
    mCustomerPair = new GXDoubleTransactionDetailTableSynchronizer(true, view);
    mSupplierPair = new GXDoubleTransactionDetailTableSynchronizer(false, view);
    for (auto* pairOf : {mCustomerPair, mSupplierPair}) {
        pairOf->setParentDocument(&mMyDocument);
        connect(pairOf, &GXDoubleTransactionDetailTableSynchronizer::paymentLinked, this, [this] { refresh(); });
        const bool customer = pairOf == mCustomerPair;
        connect(pairOf->leftTable(), &QAbstractItemView::doubleClicked, this,
                [this, customer] { modifyInvoiceAsked(customer); });
        connect(pairOf->rightTable(), &QAbstractItemView::doubleClicked, this,
                [this, customer] { modifyPaymentAsked(customer); });
    }
    addLineActions();
    for (int i = 0; i < 3; ++i) {
        QTableView* table = i == 0 ? new OwnerTable(*this, nullptr) : new GXTableAncestor(nullptr);
        table->setObjectName(QString::fromLatin1(names[i]));
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        auto* model = new ItemTableModel(mOwners[i], ownerColumns(), this);
        mModels.push_back(model);
        table->setModel(model);
        // The name takes the room, on one line; the contact column (a mark
        // for owners linked to one) no more than it shows.
        table->horizontalHeader()->setStretchLastSection(false);
        table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
        table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
        connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this] { showLinesOfSelectedOwners(); });
        connect(table, &QAbstractItemView::doubleClicked, this, [this, i] {
            if (i == 0) modifyOwnerInContactsAsked();
            else modifyOwnerAsked(Tab(i));
        });
        QWidget* tabPage = table;
        if (i > 0) {
            auto* pairOf = i == 1 ? mCustomerPair : mSupplierPair;
            auto* split = new QSplitter(Qt::Vertical);
            split->addWidget(table);
            auto* lines = new QSplitter(Qt::Horizontal);
            lines->addWidget(withLineButtons(pairOf == mCustomerPair, true));
            lines->addWidget(withLineButtons(pairOf == mCustomerPair, false));
            split->addWidget(lines);
            tabPage = split;
        }
        tabPage->setProperty("identifier", QString::fromLatin1(kTabIdentifiers[i]));
        pageTab->addTab(tabPage, localizedText(titles[i]));
        mTables[i] = table;
    }
    refresh();
    return view;
}

void GXOwnerViewController::addLineActions()
{
    for (const bool customer : {true, false}) {
        for (const bool invoices : {true, false}) {
            QTableView* table = invoices ? pair(customer).leftTable() : pair(customer).rightTable();
            table->setContextMenuPolicy(Qt::ActionsContextMenu);
            for (const LineItem& entry : lineItems(customer, invoices)) {
                auto* item = new QAction(localizedText(entry.titleKey), table);
                item->setObjectName(QString::fromLatin1(entry.titleKey));
                item->setProperty("tag", entry.tag);
                connect(item, &QAction::triggered, this, [this, customer, tag = entry.tag] { runLineAction(customer, tag); });
                table->addAction(item);
            }
            // A reload clears the selection without a word.
            connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                    [this] { validateLineActions(); });
            connect(table->model(), &QAbstractItemModel::modelReset, this, [this] { validateLineActions(); });
            connect(table->model(), &QAbstractItemModel::layoutChanged, this, [this] { validateLineActions(); });
        }
    }
}

QWidget* GXOwnerViewController::withLineButtons(bool customer, bool invoices)
{
    QTableView* table = invoices ? pair(customer).leftTable() : pair(customer).rightTable();
    auto* pane = new QWidget;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(table, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 4, 6, 4);
    auto* add = new QPushButton(QStringLiteral("+"), pane);
    add->setObjectName(QString::fromLatin1(invoices ? "addInvoiceButton" : "addPaymentButton"));
    add->setToolTip(localizedText(invoices ? "OWNERSNEWINVOICE" : "OWNERSNEWPAYMENT"));
    add->setFocusPolicy(Qt::NoFocus);
    add->setFixedWidth(32);
    connect(add, &QPushButton::clicked, this,
            [this, customer, invoices] { runLineAction(customer, invoices ? kNewInvoice : kNewPayment); });
    buttons->addWidget(add);
    std::vector<TableActionEntry> entries;
    for (const LineItem& entry : lineItems(customer, invoices)) entries.push_back({entry.titleKey, entry.tag});
    auto* action = new TableActionButton(
        table, entries, [this, customer](int tag) { return validateLineAction(customer, tag); },
        [this, customer](int tag) { runLineAction(customer, tag); }, pane);
    action->setObjectName(QString::fromLatin1(invoices ? "invoiceActionButton" : "paymentActionButton"));
    buttons->addWidget(action);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    mAddLineButtons[customer][invoices] = add;
    mLineActionButtons[customer][invoices] = action;
    return pane;
}

QPushButton* GXOwnerViewController::addLineButton(bool customer, bool invoices) const
{
    return mAddLineButtons[customer][invoices];
}

TableActionButton* GXOwnerViewController::lineActionButton(bool customer, bool invoices) const
{
    return mLineActionButtons[customer][invoices];
}

MenuItemValidation GXOwnerViewController::validateLineAction(bool customer, int tag) const
{
    const bool owner = selectedOwner(customer ? Tab::Customers : Tab::Suppliers) != nullptr;
    switch (tag) {
    case kNewInvoice:
    case kNewPayment: return {owner, std::nullopt};
    case kModifyInvoice:
    case kDeleteInvoice:
    case kCreditNote:
    case kUnlinkPayments: return {selectedInvoiceTransaction(customer) != nullptr, std::nullopt};
    default: return {selectedPaymentTransaction(customer) != nullptr, std::nullopt};
    }
}

void GXOwnerViewController::runLineAction(bool customer, int tag)
{
    switch (tag) {
    case kNewInvoice: return createInvoiceAsked(customer);
    case kModifyInvoice: return modifyInvoiceAsked(customer);
    case kDeleteInvoice: return deleteInvoiceAsked(customer);
    case kCreditNote: return makeCreditnoteAsked();
    case kUnlinkPayments: return unlinkPaymentsAsked();
    case kNewPayment: return createPaymentAsked(customer);
    case kModifyPayment: return modifyPaymentAsked(customer);
    case kDeletePayment: return deletePaymentAsked(customer);
    case kSplitPayment: return splitPaymentAsked(customer);
    case kUnlinkPayment: return unlinkPaymentAsked(customer);
    case kFindInvoices: return searchInvoiceForPayment(customer);
    default: return;
    }
}

void GXOwnerViewController::validateLineActions()
{
    if (!mCustomerPair) return;
    for (const bool customer : {true, false}) {
        for (const bool invoices : {true, false}) {
            QTableView* table = invoices ? pair(customer).leftTable() : pair(customer).rightTable();
            for (QAction* item : table->actions())
                item->setEnabled(validateLineAction(customer, item->property("tag").toInt()).enabled);
            if (QPushButton* add = mAddLineButtons[customer][invoices])
                add->setEnabled(validateLineAction(customer, invoices ? kNewInvoice : kNewPayment).enabled);
        }
    }
}

void GXOwnerViewController::registerNotifications()
{
    for (const char* name : {GXCOwnerCreatedNotification, GXCOwnerModifiedNotification, GXCOwnerDeletedNotification,
                             GXCCustomerInvoiceCreatedNotification, GXCCustomerInvoiceModifiedNotification,
                             GXCCustomerInvoiceDeletedNotification, GXCSupplierInvoiceModifiedNotification,
                             GXCSupplierInvoiceDeletedNotification, GXCSupplierPaymentsUnlinkedOrLinkedNotification,
                             GXCCustomerPaymentsUnlinkedOrLinkedNotification})
        observe(name, &GXOwnerViewController::ownersChanged);
    observe(GXCCustomerPaymentCreatedNotification, &GXOwnerViewController::ownerPaymentCreated);
    GXSideBarControlledViewAncestor::registerNotifications();
}

void GXOwnerViewController::ownerPaymentCreated(const Notification&)
{
    if (const auto invoice = mCustomerPair ? mCustomerPair->selectedLeftTableTransaction() : nullptr)
        invoice->setUnaccountedForAmount();
    refresh();
}

void GXOwnerViewController::synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node)
{
    GXSideBarControlledViewAncestor::synchronizeWithItemFromSuperview(node);
    refresh();
}

void GXOwnerViewController::refresh()
{
    const std::shared_ptr<CAcoWItem> customer = selectedOwner(Tab::Customers);
    const std::shared_ptr<CAcoWItem> supplier = selectedOwner(Tab::Suppliers);
    mOwners[0].setContent(std::make_shared<VectorListSource>(mMyDocument.mOwnerArray()));
    mOwners[1].setContent(std::make_shared<VectorListSource>(mMyDocument.customerArray()));
    mOwners[2].setContent(std::make_shared<VectorListSource>(mMyDocument.supplierArray()));
    if (customer) selectOwner(Tab::Customers, customer.get());
    if (supplier) selectOwner(Tab::Suppliers, supplier.get());
    showLinesOfSelectedOwners();
}

void GXOwnerViewController::showLinesOfSelectedOwners()
{
    if (!mCustomerPair) return;
    const auto customer = selectedOwner(Tab::Customers);
    const auto supplier = selectedOwner(Tab::Suppliers);
    mCustomerPair->setLines(customer ? linesOf(customer->customerInvoiceArray()) : CNonVisualDataItem::ItemArray{},
                            customer ? linesOf(customer->customerPaymentArray()) : CNonVisualDataItem::ItemArray{});
    mSupplierPair->setLines(supplier ? linesOf(supplier->supplierInvoiceArray()) : CNonVisualDataItem::ItemArray{},
                            supplier ? linesOf(supplier->supplierPaymentArray()) : CNonVisualDataItem::ItemArray{});
    setMSelectedItem(selectedOwner(Tab::Owners));
    validateLineActions();
}

void GXOwnerViewController::selectSubPage(FourCharCode type)
{
    controlledView();
    const std::string code = fourCCToString(type);
    for (int i = 0; i < 3; ++i)
        if (code == kTabIdentifiers[i]) pageTab->setCurrentIndex(i);
}

GXOwnerViewController::Tab GXOwnerViewController::selectedTab() const
{
    return pageTab ? Tab(std::max(0, pageTab->currentIndex())) : Tab::Owners;
}

QTableView* GXOwnerViewController::ownerTable(Tab tab) const
{
    return mTables[int(tab)];
}

QWidget* GXOwnerViewController::firstKeyView()
{
    return pageTab ? mTables[int(selectedTab())] : nullptr;
}

void GXOwnerViewController::searchContents(const std::string& text)
{
    mOwners[int(selectedTab())].search(text);
}

GXDoubleTransactionDetailTableSynchronizer& GXOwnerViewController::pair(bool customers) const
{
    return customers ? *mCustomerPair : *mSupplierPair;
}

void GXOwnerViewController::selectOwner(Tab tab, const CAcoWItem* owner)
{
    QTableView* table = mTables[int(tab)];
    if (!table) return;
    const auto row = mOwners[int(tab)].arrangedRowOf(owner);
    if (row) table->selectRow(int(*row));
    else table->clearSelection();
}

std::shared_ptr<CAcoWItem> GXOwnerViewController::selectedOwner(Tab tab) const
{
    QTableView* table = mTables[int(tab)];
    if (!table || !table->selectionModel()) return nullptr;
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    if (rows.isEmpty()) return nullptr;
    return std::dynamic_pointer_cast<CAcoWItem>(mOwners[int(tab)].arrangedObjectAt(std::size_t(rows.front().row())));
}

bool GXOwnerViewController::dropPeople(const QMimeData* data, int row)
{
    if (!carriesPeople(data)) return true;
    const std::vector<ContactPerson> people = parseVCards(droppedCards(data));
    const auto rowOwner =
        row >= 0 ? std::dynamic_pointer_cast<CAcoWItem>(mOwners[0].arrangedObjectAt(std::size_t(row))) : nullptr;
    const bool accepted = dropPeopleOnOwners(mMyDocument, people, row >= 0, rowOwner) == OwnerDropResult::Accepted;
    refresh();
    return accepted;
}

BusinessOfDocument* GXOwnerViewController::business() const
{
    return dynamic_cast<BusinessOfDocument*>(mMyDocument.business());
}

bool GXOwnerViewController::VATRatesPresentOrAccepted()
{
    auto* business = this->business();
    if (business && !business->businessArrays().VATRateArray.empty()) return true;
    return CErrorManager::AskQuestion(276);
}

void GXOwnerViewController::createInvoiceAsked(bool customer)
{
    const auto owner = selectedOwner(customer ? Tab::Customers : Tab::Suppliers);
    if (!owner || !VATRatesPresentOrAccepted()) return;
    if (!mInvoiceSheet) mInvoiceSheet = new AccountsReceivableInvoiceDialogController(controlledView()->window());
    mInvoiceSheet->initializeFor({&mMyDocument, customer, owner, nullptr});
    mInvoiceSheet->setAccepted([this, customer] {
        const arguments::InvoiceArguments values = mInvoiceSheet->returnArguments();
        mMyDocument.commandExecutor().executeCommand(
            customer ? kCommandNewCustomerInvoice : kCommandNewSupplierInvoice, nullptr, values);
        refresh();
    });
    mInvoiceSheet->openSheet(controlledView()->window(), SheetParameters());
}

void GXOwnerViewController::createPaymentAsked(bool customer)
{
    const auto owner = selectedOwner(customer ? Tab::Customers : Tab::Suppliers);
    if (!owner || !VATRatesPresentOrAccepted()) return;
    if (!mPaymentSheet) mPaymentSheet = new AccountsReceivablePaymentDialogController(controlledView()->window());
    mPaymentSheet->initializeFor({&mMyDocument, customer, owner, nullptr});
    mPaymentSheet->setAccepted([this] {
        const arguments::PaymentArguments values = mPaymentSheet->returnArguments();
        const bool toCustomer = values.paymentOwnerType.value_or("") == arguments::kOwnerTypeCustomer;
        mMyDocument.commandExecutor().executeCommand(toCustomer ? kCommandNewCustomerPayment : kCommandNewSupplierPayment,
                                                     nullptr, values);
        refresh();
    });
    mPaymentSheet->openSheet(controlledView()->window(), SheetParameters());
}

void GXOwnerViewController::splitPaymentAsked(bool customer)
{
    const std::shared_ptr<CTrnSItem> payment = pair(customer).selectedRightTableTransaction();
    if (!payment) return;
    if (!mSplitSheet) mSplitSheet = new SplitPaymentDialogController(controlledView()->window());
    mSplitSheet->initializeFor({&mMyDocument, customer, nullptr, payment});
    mSplitSheet->setAccepted([this, payment] {
        const arguments::SplitPaymentArguments values = mSplitSheet->returnArguments();
        mMyDocument.commandExecutor().executeCommand(kCommandSplitPayment, payment, values);
        refresh();
    });
    mSplitSheet->openSheet(controlledView()->window(), SheetParameters());
}

void GXOwnerViewController::searchInvoiceForPayment(bool customer)
{
    const std::shared_ptr<CTrnSItem> payment = pair(customer).selectedRightTableTransaction();
    auto* business = this->business();
    if (!payment || !business) return;
    std::vector<std::shared_ptr<CTrnSItem>> candidates = business::searchInvoiceForPayment(*business, *payment);
    if (candidates.empty()) {
        // Nothing to choose among: said, rather than a menu item that seems to do nothing.
        const std::string reference = payment->mDocumentRef().value_or(std::string());
        showInfoText(reference.empty()
                         ? formatMessage(localized("OWNERSNOINVOICEFOUNDNOREFERENCE"), {payment->getName()})
                         : formatMessage(localized("OWNERSNOINVOICEFOUND"), {reference, payment->getName()}));
        return;
    }
    if (!mSearchSheet) mSearchSheet = new SearchInvoiceDialogController(controlledView()->window());
    const auto owner = selectedOwner(customer ? Tab::Customers : Tab::Suppliers);
    mSearchSheet->initializeFor({&mMyDocument, customer, owner, payment}, std::move(candidates));
    mSearchSheet->setAccepted([this, business] {
        const auto paymentToLink = mSearchSheet->paymentToSearchInvoiceFor();
        for (const auto& invoice : mSearchSheet->selectedInvoiceTransactions())
            if (paymentToLink && linkDroppedPayment(mMyDocument, *invoice, *paymentToLink))
                if (const auto notice = overpaymentNotice(*business, *invoice, *paymentToLink)) showInfoText(*notice);
        refresh();
    });
    mSearchSheet->openSheet(controlledView()->window(), SheetParameters());
}

} // namespace ch::business

namespace ch::business {

// --- menus and toolbar

std::optional<GXOwnerViewController::Tab> GXOwnerViewController::focusedOwnerTab() const
{
    for (Tab tab : {Tab::Owners, Tab::Customers, Tab::Suppliers})
        if (hasFocusWithin(mTables[int(tab)])) return tab;
    return std::nullopt;
}

void GXOwnerViewController::executeMenuCommand(int code, const CommandSender& sender)
{
    if (!pageTab || (code != kNew && code != kDelete && code != kModify))
        return GXSideBarControlledViewAncestor::executeMenuCommand(code, sender);
    const Tab tab = selectedTab();
    if (code == kNew) addOwnerAsked(sender);
    else if (code == kDelete) deleteOwnerAsked(tab);
    else modifyOwnerAsked(tab);
}

void GXOwnerViewController::newObject(const CommandSender& sender)
{
    addOwnerAsked(sender);
}

MenuItemValidation GXOwnerViewController::validateMenuItem(int tag)
{
    const std::optional<Tab> focused = focusedOwnerTab();
    const std::shared_ptr<CAcoWItem> owner = focused ? selectedOwner(*focused) : nullptr;
    switch (tag) {
    case kNew: return {true, std::nullopt};
    case kDelete: return {owner && owner->objectCanBeDeleted(), std::nullopt};
    case kModify:
    case kModifyOwnerMenu: return {!focused || owner, std::nullopt};
    case kModifyInContacts: return {!focused || (owner && owner->isABOwner()), std::nullopt};
    default: return GXSideBarControlledViewAncestor::validateMenuItem(tag);
    }
}

bool GXOwnerViewController::validateToolbarItem(const CommandSender& item)
{
    if (item.identifier == "V2Search") return true;
    if (item.tag == kFlag) return false;
    if (item.tag == kDelete || item.tag == kModify)
        return !hasFocusWithin(mTables[int(Tab::Owners)]) || selectedOwner(Tab::Owners);
    return true;
}

// --- owners

void GXOwnerViewController::addOwnerAsked(const CommandSender& sender)
{
    // The menu's New opens the plain owner sheet, not the one on the contacts.
    if (document()) document()->newAccountOwner(sender.tag == kNew ? kNewPlainOwner : sender.tag);
}

void GXOwnerViewController::modifyOwnerAsked(Tab tab)
{
    if (const auto owner = selectedOwner(tab); owner && document()) document()->modifyObject(owner);
}

void GXOwnerViewController::deleteOwnerAsked(Tab tab)
{
    if (const auto owner = selectedOwner(tab)) mMyDocument.deleteObject(owner, true);
    refresh();
}

void GXOwnerViewController::modifyOwnerInContactsAsked()
{
    const auto owner = selectedOwner(Tab::Owners);
    if (!owner) return;
    const std::string uid = owner->UID().value_or(std::string());
    const ContactsProvider* contacts = mMyDocument.contacts();
    if (owner->isABOwner() && uid.size() >= kMinimumCardUIDLength && contacts) {
        if (const auto file = contacts->cardFileOf(uid); file && mCardOpener && mCardOpener(*file)) return;
    }
    if (document()) document()->modifyObject(owner);
}

// --- invoices and payments

std::shared_ptr<CTrnSItem> GXOwnerViewController::selectedInvoiceTransaction(bool customer) const
{
    return mCustomerPair ? pair(customer).selectedLeftTableTransaction() : nullptr;
}

std::shared_ptr<CTrnSItem> GXOwnerViewController::selectedPaymentTransaction(bool customer) const
{
    return mCustomerPair ? pair(customer).selectedRightTableTransaction() : nullptr;
}

void GXOwnerViewController::modifyInvoiceAsked(bool customer)
{
    const auto owner = selectedOwner(customer ? Tab::Customers : Tab::Suppliers);
    const auto invoice = selectedInvoiceTransaction(customer);
    if (!owner || !invoice) return;
    // A booking made by hand on the owner's open-invoice account shows among
    // the invoices: it opens in the transaction sheet, as a payment does; the
    // invoice sheet would book it again as an invoice.
    if (invoice->mTransactionType() != transaction_types::kCustomerInvoice &&
        invoice->mTransactionType() != transaction_types::kSupplierInvoice)
        return mMyDocument.doModifyTransactionDialog(invoice);
    if (!VATRatesPresentOrAccepted()) return;
    if (!mInvoiceSheet) mInvoiceSheet = new AccountsReceivableInvoiceDialogController(controlledView()->window());
    mInvoiceSheet->initializeFor({&mMyDocument, customer, owner, invoice});
    // The invoice is the one the sheet was opened on, whatever is selected by then.
    mInvoiceSheet->setAccepted([this, invoice] {
        const arguments::InvoiceArguments values = mInvoiceSheet->returnArguments();
        const bool ofCustomer = mInvoiceSheet->context().customer;
        mMyDocument.commandExecutor().executeCommand(
            ofCustomer ? kCommandModifyCustomerInvoice : kCommandModifySupplierInvoice, invoice, values);
        refresh();
    });
    mInvoiceSheet->openSheet(controlledView()->window(), SheetParameters());
}

void GXOwnerViewController::deleteInvoiceAsked(bool customer)
{
    if (const auto invoice = selectedInvoiceTransaction(customer)) mMyDocument.deleteObject(invoice, true);
    refresh();
}

namespace {

// A change of the invoice or payment goes through the document's executor,
// so that the journal keeps it.
void sendTransactionCommand(MyDocument& document, int command, const std::shared_ptr<CTrnSItem>& transaction)
{
    arguments::TransactionLinkArguments values;
    values.name = transaction->getName();
    document.commandExecutor().executeCommand(command, transaction, values);
}

} // namespace

void GXOwnerViewController::makeCreditnoteAsked()
{
    const auto invoice = selectedInvoiceTransaction(true);
    auto* business = this->business();
    if (!invoice || !business) return;
    if (isCancelledByCreditNotes(*business, *invoice)) return CErrorManager::RaiseError(kAlreadyCancelledError);
    sendTransactionCommand(mMyDocument, kCreditNoteCommand, invoice);
    refresh();
}

void GXOwnerViewController::unlinkPaymentsAsked()
{
    const auto invoice = selectedInvoiceTransaction(true);
    if (!invoice) return;
    sendTransactionCommand(mMyDocument, kUnlinkInvoicePaymentsCommand, invoice);
    refresh();
}

void GXOwnerViewController::modifyPaymentAsked(bool customer)
{
    if (const auto payment = selectedPaymentTransaction(customer)) mMyDocument.doModifyTransactionDialog(payment);
}

void GXOwnerViewController::deletePaymentAsked(bool customer)
{
    // A supplier's payment goes the same way as a customer's.
    if (const auto payment = selectedPaymentTransaction(customer)) mMyDocument.deleteObject(payment, true);
    refresh();
}

void GXOwnerViewController::unlinkPaymentAsked(bool customer)
{
    const auto payment = selectedPaymentTransaction(customer);
    auto* business = this->business();
    if (!payment || !business) return;
    sendTransactionCommand(mMyDocument, kUnlinkPaymentCommand, payment);
    refresh();
}

} // namespace ch::business
