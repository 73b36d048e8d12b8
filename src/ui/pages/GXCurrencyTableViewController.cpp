#include "ui/pages/GXCurrencyTableViewController.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QVBoxLayout>

#include "bridge/CCurRItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "document/DocumentNotifications.h"
#include "model/CCurrencyArray.h"
#include "model/CDocAccounting.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/localized_strings.h"
#include "ui/NamedIcons.h"
#include "ui/PageHeading.h"
#include "ui/WindowDocument.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemListSource.h"
#include "ui/lists/ItemTableModel.h"

namespace ch {

namespace {

constexpr int kNew = 1100;
constexpr int kDelete = 1104;
constexpr int kModify = 1114;
constexpr int kBuy = 1270;
constexpr int kSell = 1271;
constexpr int kDividend = 1272;
constexpr int kFetchPrices = 1273;
constexpr int kBookPrices = 1274;
constexpr int kRate = 1275;
constexpr int kCurrencyRate = 1211;

QString text(std::string_view key)
{
    return QString::fromStdString(localized(key));
}

QString amount(double value)
{
    return QString::fromStdString(CNumericTransformer().stringForObjectValue(value));
}

const CCurRItem* currencyOf(const CNonVisualDataItem& item)
{
    return dynamic_cast<const CCurRItem*>(&item);
}

// A column of a currency's text or amount.
ItemColumn column(const char* identifier, const char* headingKey, std::function<QVariant(const CCurRItem&)> show,
                  bool isAmount)
{
    ItemColumn c;
    c.identifier = QString::fromLatin1(identifier);
    c.heading = text(headingKey);
    c.value = [show, isAmount](const CNonVisualDataItem& item, int role) -> QVariant {
        const CCurRItem* currency = currencyOf(item);
        if (!currency) return {};
        if (role == Qt::DisplayRole) return show(*currency);
        if (role == Qt::TextAlignmentRole && isAmount) return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    };
    c.sortValue = [show](const CNonVisualDataItem& item) -> SortValue {
        const CCurRItem* currency = currencyOf(item);
        return currency ? SortValue(show(*currency).toString().toStdString()) : SortValue();
    };
    return c;
}

std::vector<ItemColumn> columnsFor(bool shares)
{
    std::vector<ItemColumn> columns = {
        column("symbol", "LISTCOLSYMBOL", [](const CCurRItem& c) { return QString::fromStdString(c.mShortName()); },
               false),
        column("name", "LISTCOLNAME", [](const CCurRItem& c) { return QString::fromStdString(c.mDescription()); },
               false),
        column("rate", shares ? "LISTCOLPRICE" : "LISTCOLRATE",
               [](const CCurRItem& c) {
                   return QStringLiteral("%1 %2 = %3 %4")
                       .arg(c.mConversionQuantity().value_or(1))
                       .arg(QString::fromStdString(c.mShortName()), amount(c.mConversionFactor().value_or(0.0)),
                            QString::fromStdString(c.mBaseShortName()));
               },
               true),
    };
    if (shares) {
        columns.push_back(column("held", "LISTCOLHELD", [](const CCurRItem& c) { return amount(c.numberOfShares()); },
                                 true));
        columns.push_back(column("value", "LISTCOLLOCALAMOUNT",
                                 [](const CCurRItem& c) {
                                     return amount(c.convertAmountToLocal(c.numberOfShares(), CDate::GetNowAsDateT()));
                                 },
                                 true));
        columns.push_back(
            column("result", "LISTCOLRESULT", [](const CCurRItem& c) { return amount(c.bruttoResultaat()); }, true));
    }
    return columns;
}

} // namespace

GXCurrencyTableViewController::GXCurrencyTableViewController(QObject* parent)
    : GXCurrencyTableViewController(false, parent)
{
}

GXCurrencyTableViewController::GXCurrencyTableViewController(bool shares, QObject* parent)
    : GXSideBarControlledViewAncestor(parent), mShares(shares)
{
    mController.setSortDescriptors({{"getName", true,
                                     [](const CNonVisualDataItem& item) -> SortValue {
                                         const CCurRItem* c = currencyOf(item);
                                         return c ? SortValue(c->mShortName()) : SortValue();
                                     },
                                     {}}});
    mModel = std::make_unique<ItemTableModel>(mController, columnsFor(shares));
}

GXCurrencyTableViewController::~GXCurrencyTableViewController() = default;

QWidget* GXCurrencyTableViewController::makeControlledView()
{
    auto* view = new QWidget;
    view->setObjectName(QString::fromLatin1(mShares ? "portfolioTableSubview" : "currencyTableSubview"));
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mHeading = new PageHeading(view);
    mHeading->setIcon(makeNamedIcon(mShares ? "stocks" : "currencies"));
    mHeading->setTitle(text(mShares ? "SHAREBUTTON" : "CURRENCYBUTTON"));
    layout->addWidget(mHeading);
    mTable = new GXTableAncestor(view);
    mTable->setObjectName(QStringLiteral("accountTableView"));
    mTable->setModel(mModel.get());
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setSelectionMode(QAbstractItemView::SingleSelection);
    // Rows and lines as in the other pages' tables; the name takes the
    // room that is left, the figures as much as their headings need.
    mTable->setShowGrid(false);
    mTable->setWordWrap(false);
    mTable->setAlternatingRowColors(true);
    mTable->verticalHeader()->hide();
    mTable->verticalHeader()->setDefaultSectionSize(22);
    QHeaderView* header = mTable->horizontalHeader();
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    QFont headingFont = header->font();
    headingFont.setBold(true);
    const QFontMetrics headingMetrics(headingFont);
    const int name = mModel->columnOf("name");
    for (int column = 0; column < mModel->columnCount(); ++column) {
        const QString heading = mModel->headerData(column, Qt::Horizontal).toString();
        const bool figure = mModel->columns()[std::size_t(column)].identifier != QLatin1String("symbol");
        mTable->setColumnWidth(column, std::max(figure ? 130 : 80, headingMetrics.horizontalAdvance(heading) + 40));
    }
    if (name >= 0) header->setSectionResizeMode(name, QHeaderView::Stretch);
    mTable->setAutosaveName(mShares ? "portfolioTableView" : "currencyTableView");
    mTable->awakeFromNib();
    layout->addWidget(mTable, 1);
    connect(mTable, &QAbstractItemView::doubleClicked, this, [this] { modifyObject(); });
    connect(mTable->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { selectionChanged(); });
    connect(mModel.get(), &QAbstractItemModel::modelReset, this, [this] { selectionChanged(); });

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 4, 6, 4);
    auto add = [&](const char* name, const char* key, void (GXCurrencyTableViewController::*action)(),
                   bool needsSelection) {
        auto* button = new QPushButton(text(key), view);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        if (needsSelection) mSelectionButtons.push_back(button);
    };
    auto* addButton = new QPushButton(text("PAGEADD"), view);
    addButton->setObjectName(QStringLiteral("addAccountButton"));
    connect(addButton, &QPushButton::clicked, this, [this] { newObject(CommandSender::menuItem(kNew)); });
    buttons->addWidget(addButton);
    add("modifyButton", "PAGEMODIFY", &GXCurrencyTableViewController::modifyObject, true);
    add("deleteButton", "PAGEDELETE", &GXCurrencyTableViewController::deleteObject, true);
    add("rateButton", "PAGERATE", &GXCurrencyTableViewController::changeRate, true);
    if (mShares) {
        add("buyButton", "BUY", &GXCurrencyTableViewController::buyShare, true);
        add("sellButton", "SELL", &GXCurrencyTableViewController::sellShare, true);
        add("dividendButton", "PAGEDIVIDEND", &GXCurrencyTableViewController::registerDividend, true);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    selectionChanged();
    return view;
}

void GXCurrencyTableViewController::registerNotifications()
{
    using Page = GXCurrencyTableViewController;
    if (mShares) {
        observe<Page>(GXCShareCreatedNotification, &Page::accountChanged);
        observe<Page>(GXCShareModifiedNotification, &Page::accountChanged);
        observe<Page>(GXCSharePriceModifiedNotification, &Page::priceUpdated);
        observe<Page>(GXCRealTimeSharePriceModifiedNotification, &Page::priceUpdated);
        observe<Page>(GXCShareDeletedNotification, &Page::accountDeleted);
        // Deleting a share announces the deletion of a currency.
        observe<Page>(GXCCurrencyDeletedNotification, &Page::accountDeleted);
    } else {
        observe<Page>(GXCCurrencyCreatedNotification, &Page::accountChanged);
        observe<Page>(GXCCurrencyModifiedNotification, &Page::accountChanged);
        observe<Page>(GXCCurrencyDeletedNotification, &Page::accountDeleted);
        observe<Page>(GXCCurrencyPriceModifiedNotification, &Page::priceUpdated);
        observe<Page>(GXCSharePriceModifiedNotification, &Page::priceUpdated);
    }
    GXSideBarControlledViewAncestor::registerNotifications();
}

void GXCurrencyTableViewController::synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node)
{
    GXSideBarControlledViewAncestor::synchronizeWithItemFromSuperview(node);
    controlledView();
    if (node && !node->getName().empty()) mHeading->setTitle(QString::fromStdString(node->getName()));
    CDocAccounting* books = document() ? document()->books().accounting() : nullptr;
    const CNamedListArray* list =
        books && books->mCurrencyList
            ? books->mCurrencyList->Get_SubList(mShares ? CCurrencyArray::kShares : CCurrencyArray::kCurrencies)
            : nullptr;
    if (list && document()) {
        const CNonVisualDataItem* selected = selectedShare().get();
        mController.setContent(std::make_shared<ModelListSource>(list, document()->books().dataItemController()));
        if (selected) selectItem(selected);
    }
}

QWidget* GXCurrencyTableViewController::firstKeyView()
{
    controlledView();
    return mTable;
}

std::shared_ptr<CCurRItem> GXCurrencyTableViewController::selectedShare() const
{
    if (!mTable || !mTable->selectionModel()) return nullptr;
    const QModelIndexList rows = mTable->selectionModel()->selectedRows();
    if (rows.isEmpty()) return nullptr;
    auto share = std::dynamic_pointer_cast<CCurRItem>(mModel->itemAt(rows.first().row()));
    return share && share->getSourceItem() ? share : nullptr;
}

void GXCurrencyTableViewController::selectItem(const CNonVisualDataItem* item)
{
    controlledView();
    const std::optional<std::size_t> row = mController.arrangedRowOf(item);
    if (row)
        mTable->selectRow(static_cast<int>(*row));
    else
        mTable->clearSelection();
}

void GXCurrencyTableViewController::selectionChanged()
{
    const std::shared_ptr<CCurRItem> share = selectedShare();
    setMSelectedItem(share);
    for (QPushButton* button : mSelectionButtons)
        button->setEnabled(share != nullptr);
}

void GXCurrencyTableViewController::accountChanged(const Notification&)
{
    synchronizeWithItemFromSuperview(mSelectedMasterItem());
}

void GXCurrencyTableViewController::accountDeleted(const Notification&)
{
    setMSelectedItem(nullptr);
    if (mTable) mTable->clearSelection();
    synchronizeWithItemFromSuperview(mSelectedMasterItem());
}

void GXCurrencyTableViewController::priceUpdated(const Notification&)
{
    mController.rearrangeObjects();
}

void GXCurrencyTableViewController::searchContents(const std::string& text)
{
    mController.search(text);
}

void GXCurrencyTableViewController::newObject(const CommandSender&)
{
    if (document()) document()->newCurrencyAsked(mShares);
}

void GXCurrencyTableViewController::executeMenuCommand(int code, const CommandSender& sender)
{
    switch (code) {
    case kNew: newObject(sender); break;
    case kDelete: deleteObject(); break;
    case kModify: modifyObject(); break;
    case kRate:
    case kCurrencyRate: changeRate(); break;
    case kBuy: buyShare(); break;
    case kSell: sellShare(); break;
    case kDividend: registerDividend(); break;
    default: GXSideBarControlledViewAncestor::executeMenuCommand(code, sender);
    }
}

MenuItemValidation GXCurrencyTableViewController::validateMenuItem(int tag)
{
    const bool selected = selectedShare() != nullptr;
    switch (tag) {
    case kBuy:
    case kSell:
    case kDividend:
        return {mShares && selected, std::nullopt};
    case kRate:
    case kDelete:
    case kModify:
        return {selected, std::nullopt};
    case kFetchPrices:
    case kBookPrices:
    case kCurrencyRate:
    case kNew:
        return {true, std::nullopt};
    default:
        return {false, std::nullopt};
    }
}

void GXCurrencyTableViewController::modifyObject()
{
    if (!document()) return;
    // The sheet edits one currency or share; without one the user is told why
    // nothing opens.
    if (auto share = selectedShare()) document()->modifyCurrency(share);
    else CErrorManager::RaiseError(250);
}

void GXCurrencyTableViewController::deleteObject()
{
    if (auto share = selectedShare(); share && document()) document()->deleteObject(share);
}

void GXCurrencyTableViewController::changeRate()
{
    if (auto share = selectedShare(); share && document()) document()->changeCurrencyRate(share);
}

void GXCurrencyTableViewController::buyShare()
{
    if (auto share = selectedShare(); mShares && share && document()) document()->registerShareTransaction(true, share);
}

void GXCurrencyTableViewController::sellShare()
{
    if (auto share = selectedShare(); mShares && share && document()) document()->registerShareTransaction(false, share);
}

void GXCurrencyTableViewController::registerDividend()
{
    if (auto share = selectedShare(); mShares && share && document()) document()->registerDividend(share);
}

} // namespace ch
