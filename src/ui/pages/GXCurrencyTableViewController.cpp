#include "ui/pages/GXCurrencyTableViewController.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "model/CCurrency.h"
#include "bridge/CCcoNItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "document/DocumentNotifications.h"
#include "model/CCurrencyArray.h"
#include "model/CDocAccounting.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/notification_center.h"
#include "platform/gui/localized_text.h"
#include "ui/ChartSinkViews.h"
#include "ui/GXSplitView.h"
#include "ui/NamedIcons.h"
#include "ui/PageHeading.h"
#include "ui/WindowDocument.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemListSource.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/lists/TransactionColumns.h"
#include "ui/pages/CStockTableController.h"

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
constexpr int kFlag = 1121;

// The chart tabs in the order the arrows step through them, with the key of
// the label that names each.
constexpr std::array<std::pair<const char*, const char*>, 3> kChartTabs = {
    {{"bar", "BAR"}, {"hist", "HIST"}, {"real", "REAL"}}};

QString amount(double value)
{
    return QString::fromStdString(CNumericTransformer().stringForObjectValue(value));
}

QString percentage(double value)
{
    return amount(value) + QStringLiteral(" %");
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
    c.heading = localizedText(headingKey);
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
        columns.push_back(column("value", "LISTCOLSHARESVALUE",
                                 [](const CCurRItem& c) {
                                     return amount(c.convertAmountToLocal(c.numberOfShares(), CDate::GetNowAsDateT()));
                                 },
                                 true));
        columns.push_back(
            column("result", "LISTCOLRESULT", [](const CCurRItem& c) { return amount(c.bruttoResultaat()); }, true));
        columns.push_back(column("resultPercentage", "LISTCOLRESULTPCT",
                                 [](const CCurRItem& c) { return percentage(c.bruttoPercentage()); }, true));
        columns.push_back(column("netResultPercentage", "LISTCOLNETRESULTPCT",
                                 [](const CCurRItem& c) { return percentage(c.nettoPercentage()); }, true));
    } else {
        // Where the differences a new rate makes are booked.
        columns.push_back(column("fluctuationsAccount", "LISTCOLFLUCTUATIONSACCOUNT",
                                 [](const CCurRItem& c) {
                                     return QString::fromStdString(c.fluctuationsAccountName().value_or(""));
                                 },
                                 false));
    }
    return columns;
}

// The booking lines of a share's portfolio account, and how many shares the
// transaction of each line bought (positive) or sold; the counts come from
// the share's transactions, by transaction id.
std::vector<ItemColumn> shareLineColumns(std::shared_ptr<const std::map<ObjectIdT, int>> sharesTraded,
                                         const LineBalance& balanceOf)
{
    std::vector<ItemColumn> columns = bookingLineColumns(balanceOf);
    auto shown = [sharesTraded](const CNonVisualDataItem& item) -> std::optional<int> {
        const auto* line = dynamic_cast<const CDebetItem*>(&item);
        if (!line) return std::nullopt;
        const auto found = sharesTraded->find(line->getTransactionId());
        if (found == sharesTraded->end() || found->second == 0) return std::nullopt;
        return found->second;
    };
    ItemColumn quantity;
    quantity.identifier = QStringLiteral("quantity");
    quantity.heading = localizedText("LISTCOLQUANTITY");
    quantity.value = [shown](const CNonVisualDataItem& item, int role) -> QVariant {
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole) return {};
        const std::optional<int> count = shown(item);
        return count ? QVariant(QString::number(*count)) : QVariant();
    };
    quantity.sortValue = [shown](const CNonVisualDataItem& item) -> SortValue {
        return SortValue(double(shown(item).value_or(0)));
    };
    columns.push_back(std::move(quantity));
    return columns;
}

// The booking lines of a currency's accounts: the amount is in the home
// currency, the running balance in the currency of the line's account, and
// each cell says which.
std::vector<ItemColumn> currencyLineColumns(const LineBalance& balanceOf)
{
    std::vector<ItemColumn> columns = bookingLineColumns(balanceOf);
    auto symbolOf = [](const CNonVisualDataItem& item, bool home) -> QString {
        const auto* line = dynamic_cast<const CDebetItem*>(&item);
        BridgeDocument* document = line ? line->parentDocument() : nullptr;
        if (!document) return {};
        if (home) {
            const std::shared_ptr<CCurRItem> currency = document->getHomeCurrency();
            return currency ? QString::fromStdString(currency->mShortName()) : QString();
        }
        // The running balance is the account's, in its currency.
        const std::shared_ptr<CAcnTItem> account =
            line->account() ? document->getAccountItemForId(static_cast<ObjectIdT>(*line->account())) : nullptr;
        const std::optional<long> currencyId = account ? account->getCurrencyId() : std::nullopt;
        const CCurrency* currency = currencyId && document->accounting()
                                        ? document->accounting()->GetCurrencyForId(static_cast<ObjectIdT>(*currencyId))
                                        : nullptr;
        return currency ? QString::fromStdString(std::string(currency->Get_ShortStringRefName())) : QString();
    };
    for (ItemColumn& column : columns) {
        const bool amount = column.identifier == QLatin1String("amount");
        if (!amount && column.identifier != QLatin1String("balance")) continue;
        column.value = [shown = column.value, symbolOf, amount](const CNonVisualDataItem& item, int role) -> QVariant {
            QVariant value = shown(item, role);
            if (role != Qt::DisplayRole || value.toString().isEmpty()) return value;
            const QString symbol = symbolOf(item, amount);
            return symbol.isEmpty() ? value : QVariant(value.toString() + u' ' + symbol);
        };
    }
    return columns;
}

const CCcoNItem* rateOf(const CNonVisualDataItem& item)
{
    return dynamic_cast<const CCcoNItem*>(&item);
}

// The dated rates: valid from, quantity and factor.
std::vector<ItemColumn> rateColumns()
{
    auto rateColumn = [](const char* identifier, const char* headingKey,
                         std::function<QString(const CCcoNItem&)> show, bool isAmount) {
        ItemColumn c;
        c.identifier = QString::fromLatin1(identifier);
        c.heading = localizedText(headingKey);
        c.value = [show, isAmount](const CNonVisualDataItem& item, int role) -> QVariant {
            const CCcoNItem* rate = rateOf(item);
            if (!rate) return {};
            if (role == Qt::DisplayRole) return show(*rate);
            if (role == Qt::TextAlignmentRole && isAmount) return int(Qt::AlignRight | Qt::AlignVCenter);
            return {};
        };
        return c;
    };
    return {
        rateColumn("validFrom", "LISTCOLVALIDFROM",
                   [](const CCcoNItem& r) { return QString::fromStdString(r.mValidFromAsString()); }, false),
        rateColumn("quantity", "LISTCOLQUANTITY",
                   [](const CCcoNItem& r) { return QString::number(r.mConversionQuantity().value_or(1)); }, true),
        rateColumn("factor", "LISTCOLRATE", [](const CCcoNItem& r) { return amount(r.mConversionFactor().value_or(0.0)); },
                   true),
    };
}

// Newest first.
SortDescriptor byValidFrom()
{
    return {"mValidFrom", false,
            [](const CNonVisualDataItem& item) -> SortValue {
                const CCcoNItem* rate = rateOf(item);
                return rate ? SortValue(double(rate->mValidFrom().value_or(0))) : SortValue();
            },
            {}};
}

SortDescriptor byLineDate()
{
    SortDescriptor descriptor = sortByLineDate(false);
    descriptor.key = "mDate";
    return descriptor;
}

void styleTable(GXTableAncestor* table)
{
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->setAlternatingRowColors(true);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(22);
    table->horizontalHeader()->setHighlightSections(false);
}

} // namespace

GXCurrencyTableViewController::GXCurrencyTableViewController(QObject* parent)
    : GXCurrencyTableViewController(false, parent)
{
}

GXCurrencyTableViewController::GXCurrencyTableViewController(bool shares, QObject* parent)
    : GXSideBarControlledViewAncestor(parent), mShares(shares),
      mAlive(std::make_shared<GXCurrencyTableViewController*>(this))
{
    mController.setSortDescriptors({{"getName", true,
                                     [](const CNonVisualDataItem& item) -> SortValue {
                                         const CCurRItem* c = currencyOf(item);
                                         return c ? SortValue(c->mShortName()) : SortValue();
                                     },
                                     {}}});
    mLines.setSortDescriptors({byLineDate()});
    mRates.setSortDescriptors({byValidFrom()});
    mModel = std::make_unique<ItemTableModel>(mController, columnsFor(shares));
    showsFiguresIn(mModel.get());
    // The running balances of the lines shown are this page's own: the
    // same lines run up other balances in their accounts' and types' lists.
    const LineBalance balanceOf = [balances = mLineBalances](const CNonVisualDataItem& line) -> std::optional<double> {
        const auto found = balances->find(line.getSourceItem());
        if (found == balances->end()) return std::nullopt;
        return found->second;
    };
    mLineModel = std::make_unique<ItemTableModel>(mLines, shares ? shareLineColumns(mSharesTraded, balanceOf)
                                                                 : currencyLineColumns(balanceOf));
    mRateModel = std::make_unique<ItemTableModel>(mRates, rateColumns());
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
    mHeading->setTitle(localizedText(mShares ? "SHAREBUTTON" : "CURRENCYBUTTON"));
    layout->addWidget(mHeading);

    mMainSplitView = new GXSplitView(false, view);
    mMainSplitView->setObjectName(QStringLiteral("mainSplitView"));
    mMainSplitView->setChildrenCollapsible(false);
    mMainSplitView->addWidget(makeUpperView(mMainSplitView));
    mTableGraphSplitView = new GXSplitView(false, mMainSplitView);
    mTableGraphSplitView->setObjectName(QStringLiteral("tableGraphSplitView"));
    mTableGraphSplitView->setChildrenCollapsible(false);
    mTableGraphSplitView->addWidget(makeLowerView(mTableGraphSplitView));
    mTableGraphSplitView->addWidget(makeChartArea(mTableGraphSplitView));
    mMainSplitView->setStretchFactor(0, 2);
    mMainSplitView->setStretchFactor(1, 3);
    mTableGraphSplitView->setStretchFactor(0, 1);
    mTableGraphSplitView->setStretchFactor(1, 1);
    mMainSplitView->setPositionAutosaveName(
        QString::fromLatin1(mShares ? "mainPortfolioSplitView" : "mainCurrencySplitView"));
    mTableGraphSplitView->setPositionAutosaveName(
        QString::fromLatin1(mShares ? "PortfolioTransactionGraphSplitView" : "CurrencyTransactionGraphSplitView"));
    layout->addWidget(mMainSplitView, 1);
    setLabel();
    selectionChanged();
    return view;
}

QWidget* GXCurrencyTableViewController::makeUpperView(QWidget* parent)
{
    auto* upper = new QWidget(parent);
    upper->setObjectName(QStringLiteral("upperView"));
    auto* layout = new QVBoxLayout(upper);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mTable = new GXTableAncestor(upper);
    mTable->setObjectName(QStringLiteral("accountTableView"));
    mTable->setModel(mModel.get());
    styleTable(mTable);
    mTable->setSelectionMode(QAbstractItemView::SingleSelection);
    // The name takes the room that is left, the figures as much as their
    // headings need.
    QHeaderView* header = mTable->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    QFont headingFont = header->font();
    headingFont.setBold(true);
    const QFontMetrics headingMetrics(headingFont);
    const int name = mModel->columnOf("name");
    for (int column = 0; column < mModel->columnCount(); ++column) {
        const QString heading = mModel->headerData(column, Qt::Horizontal).toString();
        const QString identifier = mModel->columns()[std::size_t(column)].identifier;
        // The rate reads "1 ACME = 41.20 EUR"; a percentage needs little room.
        const int least = identifier == QLatin1String("symbol")               ? 80
                          : identifier == QLatin1String("rate")               ? 190
                          : identifier.endsWith(QLatin1String("Percentage")) ? 0
                                                                              : 100;
        mTable->setColumnWidth(column, std::max(least, headingMetrics.horizontalAdvance(heading) + 40));
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
        auto* button = new QPushButton(localizedText(key), upper);
        button->setObjectName(QString::fromLatin1(name));
        connect(button, &QPushButton::clicked, this, action);
        buttons->addWidget(button);
        if (needsSelection) mSelectionButtons.push_back(button);
    };
    auto* addButton = new QPushButton(localizedText("PAGEADD"), upper);
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

    // The page's menu: every command by its tag, validated when it opens.
    auto* action = new QToolButton(upper);
    action->setObjectName(QStringLiteral("accountActionButton"));
    action->setIcon(makeNamedIcon("general"));
    action->setPopupMode(QToolButton::InstantPopup);
    mActionMenu = new QMenu(action);
    mActionMenu->setObjectName(QStringLiteral("accountActionMenu"));
    struct Item {
        const char* key;
        int tag;
    };
    std::vector<Item> items = {{"MODIFYMENUITEM", kModify}, {"DELETEMENUITEM", kDelete}, {nullptr, 0},
                               {"PAGERATE", kRate}};
    if (mShares) items.insert(items.end(), {{"BUY", kBuy}, {"SELL", kSell}, {"PAGEDIVIDEND", kDividend}});
    items.push_back({nullptr, 0});
    items.push_back({mShares ? "FETCHPRICES" : "FETCHRATES", kFetchPrices});
    if (mShares) items.push_back({"BOOKPRICES", kBookPrices});
    for (const Item& item : items) {
        if (!item.key) {
            mActionMenu->addSeparator();
            continue;
        }
        QAction* entry = mActionMenu->addAction(localizedText(item.key));
        entry->setProperty("tag", item.tag);
        entry->setProperty("baseTitle", entry->text());
        const int tag = item.tag;
        connect(entry, &QAction::triggered, this, [this, tag] { executeMenuCommand(tag, CommandSender::menuItem(tag)); });
    }
    connect(mActionMenu, &QMenu::aboutToShow, this, [this] {
        for (QAction* entry : mActionMenu->actions()) {
            if (entry->isSeparator()) continue;
            const MenuItemValidation validation = validateMenuItem(entry->property("tag").toInt());
            entry->setEnabled(validation.enabled);
            entry->setText(validation.title ? QString::fromStdString(*validation.title)
                                            : entry->property("baseTitle").toString());
        }
    });
    action->setMenu(mActionMenu);
    buttons->addWidget(action);
    layout->addLayout(buttons);
    return upper;
}

QWidget* GXCurrencyTableViewController::makeLowerView(QWidget* parent)
{
    auto* lower = new QWidget(parent);
    lower->setObjectName(QStringLiteral("lowerView"));
    auto* layout = new QVBoxLayout(lower);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    mLineTable = new GXTableAncestor(lower);
    mLineTable->setObjectName(QStringLiteral("transactionTableView"));
    mLineTable->setModel(mLineModel.get());
    styleTable(mLineTable);
    mLineTable->setSelectionMode(QAbstractItemView::SingleSelection);
    mLineTable->horizontalHeader()->setStretchLastSection(false);
    const int description = mLineModel->columnOf("description");
    if (description >= 0) mLineTable->horizontalHeader()->setSectionResizeMode(description, QHeaderView::Stretch);
    const std::pair<const char*, int> widths[] = {{"status", 52}, {"date", 90}, {"account", 150}, {"amount", 110},
                                                  {"balance", 110}};
    for (const auto& [id, width] : widths)
        if (mLineModel->columnOf(id) >= 0) mLineTable->setColumnWidth(mLineModel->columnOf(id), width);
    mLineTable->setAutosaveName(mShares ? "portfolioTransactionTableView" : "currencyTransactionTableView");
    mLineTable->awakeFromNib();
    // A booking line opens its transaction.
    connect(mLineTable, &QAbstractItemView::doubleClicked, this, [this] {
        if (auto transaction = selectedTransaction(); transaction && document())
            document()->books().doModifyTransactionDialog(transaction);
    });
    layout->addWidget(mLineTable, 1);
    if (mShares) {
        auto* buttons = new QHBoxLayout;
        buttons->setContentsMargins(6, 4, 6, 4);
        auto* buy = new QPushButton(QStringLiteral("+"), lower);
        buy->setObjectName(QStringLiteral("addTransactionButton"));
        buy->setToolTip(localizedText("BUY"));
        buy->setFixedWidth(32);
        connect(buy, &QPushButton::clicked, this, [this] { buyShare(); });
        mSelectionButtons.push_back(buy);
        buttons->addWidget(buy);
        auto* deals = new QToolButton(lower);
        deals->setObjectName(QStringLiteral("transactionActionButton"));
        deals->setIcon(makeNamedIcon("general"));
        deals->setPopupMode(QToolButton::InstantPopup);
        auto* menu = new QMenu(deals);
        menu->addAction(localizedText("BUY"), this, [this] { buyShare(); });
        menu->addAction(localizedText("SELL"), this, [this] { sellShare(); });
        menu->addAction(localizedText("PAGEDIVIDEND"), this, [this] { registerDividend(); });
        deals->setMenu(menu);
        buttons->addWidget(deals);
        buttons->addStretch(1);
        layout->addLayout(buttons);
    }
    return lower;
}

QWidget* GXCurrencyTableViewController::makeChartArea(QWidget* parent)
{
    auto* area = new QWidget(parent);
    area->setObjectName(QStringLiteral("chartArea"));
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(6, 3, 6, 3);
    auto arrow = [&](const char* name, Qt::ArrowType type, void (GXCurrencyTableViewController::*step)()) {
        auto* button = new QToolButton(area);
        button->setObjectName(QString::fromLatin1(name));
        button->setArrowType(type);
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, step);
        return button;
    };
    bar->addWidget(arrow("arrowLeftButton", Qt::LeftArrow, &GXCurrencyTableViewController::previousTab));
    mExplainingLabel = new QLabel(area);
    mExplainingLabel->setObjectName(QStringLiteral("explainingLabel"));
    mExplainingLabel->setAlignment(Qt::AlignCenter);
    QFont bold = mExplainingLabel->font();
    bold.setBold(true);
    mExplainingLabel->setFont(bold);
    bar->addWidget(mExplainingLabel, 1);
    bar->addWidget(arrow("arrowRightButton", Qt::RightArrow, &GXCurrencyTableViewController::nextTab));
    mSpinner = new QProgressBar(area);
    mSpinner->setObjectName(QStringLiteral("quotationSpinner"));
    mSpinner->setRange(0, 0);   // busy
    mSpinner->setTextVisible(false);
    mSpinner->setFixedWidth(60);
    mSpinner->setMaximumHeight(12);
    // Keeps its room while hidden, so that the bar does not jump.
    QSizePolicy keepRoom = mSpinner->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    mSpinner->setSizePolicy(keepRoom);
    mSpinner->hide();
    bar->addWidget(mSpinner);
    auto* fetch = new QPushButton(localizedText(mShares ? "FETCHPRICES" : "FETCHRATES"), area);
    fetch->setObjectName(QStringLiteral("fetchPricesButton"));
    fetch->setProperty("tag", kFetchPrices);
    connect(fetch, &QPushButton::clicked, this, [this] { getPricesFromInternet(kFetchPrices); });
    bar->addWidget(fetch);
    if (mShares) {
        auto* book = new QPushButton(localizedText("BOOKPRICES"), area);
        book->setObjectName(QStringLiteral("bookPricesButton"));
        book->setProperty("tag", kBookPrices);
        connect(book, &QPushButton::clicked, this, [this] { bookPricesFromInternet(kBookPrices); });
        bar->addWidget(book);
    }
    layout->addLayout(bar);

    mChartTab = new QStackedWidget(area);
    mChartTab->setObjectName(QStringLiteral("chartTab"));
    mBarChart = new BarChartSinkView(mChartTab);
    mBarChart->setObjectName(QStringLiteral("bar"));
    // Frame lines above and on the left only.
    mBarChart->setBorderAbove(true, false, true, false);
    mChartTab->addWidget(mBarChart);
    mRateTable = new GXTableAncestor(mChartTab);
    mRateTable->setObjectName(QStringLiteral("hist"));
    mRateTable->setModel(mRateModel.get());
    styleTable(mRateTable);
    mRateTable->setSelectionMode(QAbstractItemView::SingleSelection);
    mRateTable->horizontalHeader()->setStretchLastSection(false);
    for (int column = 0; column < mRateModel->columnCount(); ++column) mRateTable->setColumnWidth(column, 130);
    mRateTable->setAutosaveName(mShares ? "portfolioRateHistoryTableView" : "currencyRateHistoryTableView");
    mRateTable->awakeFromNib();
    mChartTab->addWidget(mRateTable);
    mStockTable = std::make_unique<CStockTableController>(
        mShares ? "portfolioStockPriceTableView" : "currencyStockPriceTableView", mChartTab);
    mStockTable->setMotherDocument(document());
    mStockTable->awakeFromNib();
    mChartTab->addWidget(mStockTable->view());
    mChartTab->setMinimumHeight(150);
    layout->addWidget(mChartTab, 1);
    return area;
}

void GXCurrencyTableViewController::registerNotifications()
{
    using Page = GXCurrencyTableViewController;
    if (mShares) {
        observe<Page>(GXCShareCreatedNotification, &Page::accountChanged);
        observe<Page>(GXCShareModifiedNotification, &Page::accountChanged);
        observe<Page>(GXCSharePriceModifiedNotification, &Page::accountChanged);
        observe<Page>(GXCRealTimeSharePriceModifiedNotification, &Page::accountChanged);
        observe<Page>(GXCShareDeletedNotification, &Page::accountDeleted);
        // Deleting a share announces the deletion of a currency.
        observe<Page>(GXCCurrencyDeletedNotification, &Page::accountDeleted);
        observe<Page>(GXCSharePriceModifiedNotification, &Page::sharePriceUpdated);
        observe<Page>(GXCRealTimeSharePriceModifiedNotification, &Page::realTimeSharePriceUpdated);
    } else {
        observe<Page>(GXCCurrencyCreatedNotification, &Page::accountChanged);
        observe<Page>(GXCCurrencyModifiedNotification, &Page::accountChanged);
        observe<Page>(GXCCurrencyDeletedNotification, &Page::accountDeleted);
        observe<Page>(GXCCurrencyPriceModifiedNotification, &Page::sharePriceUpdated);
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
    if (list && document())
        reloadKeepingSelection([&] {
            mController.setContent(std::make_shared<ModelListSource>(list, document()->books().dataItemController()));
        });
    if (mStockTable) {
        mStockTable->setMotherDocument(document());
        mStockTable->awakeFromNib();
    }
    if (std::exchange(mLinesStale, false)) showLinesOfSelection();
}

QWidget* GXCurrencyTableViewController::firstKeyView()
{
    controlledView();
    return mTable;
}

bool GXCurrencyTableViewController::doesPageShowTransaction(const std::shared_ptr<CTrnSItem>& transaction)
{
    return transaction != nullptr;
}

std::shared_ptr<CCurRItem> GXCurrencyTableViewController::selectedShare() const
{
    if (!mTable || !mTable->selectionModel()) return nullptr;
    const QModelIndexList rows = mTable->selectionModel()->selectedRows();
    if (rows.isEmpty()) return nullptr;
    auto share = std::dynamic_pointer_cast<CCurRItem>(mModel->itemAt(rows.first().row()));
    return share && share->getSourceItem() ? share : nullptr;
}

std::shared_ptr<CTrnSItem> GXCurrencyTableViewController::selectedTransaction() const
{
    if (!mLineTable || !mLineTable->selectionModel()) return nullptr;
    const QModelIndexList rows = mLineTable->selectionModel()->selectedRows();
    if (rows.isEmpty()) return nullptr;
    const auto line = std::dynamic_pointer_cast<CDebetItem>(mLineModel->itemAt(rows.first().row()));
    return line ? line->parentTransaction() : nullptr;
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
    if (mSynchronizing) return;
    const std::shared_ptr<CCurRItem> share = selectedShare();
    setMSelectedItem(share);
    for (QPushButton* button : mSelectionButtons)
        button->setEnabled(share != nullptr);
    if (share != mShownShare.lock() || !share) showLinesOfSelection();
}

void GXCurrencyTableViewController::showLinesOfSelection()
{
    if (!mBarChart) return;
    const std::shared_ptr<CCurRItem> share = selectedShare();
    LineItemArray lines;
    std::vector<std::shared_ptr<CCcoNItem>> rates;
    mSharesTraded->clear();
    mLineBalances->clear();
    if (share) {
        lines = share->bookingLines(mLineBalances.get());
        // A deal's quantity counts the shares that leave the portfolio; the
        // column shows those bought as positive.
        if (mShares)
            for (const std::shared_ptr<CTrnSItem>& deal : share->mStockTransactionList())
                if (const auto id = deal->getId()) (*mSharesTraded)[*id] = -deal->investmentQuantity().value_or(0);
        rates = share->mHistoryList();
        // Without a selection the chart keeps what it showed.
        mBarChart->synchronizeWithArray(lines);
    }
    mShownShare = share;
    mLines.setContent(std::make_shared<VectorListSource>(lines));
    mRates.setContent(std::make_shared<VectorListSource>(rates));
    mStockTable->setDataItem(share);
}

void GXCurrencyTableViewController::linesMayHaveChanged()
{
    // A page out of sight reads its lines again when it is shown: a booking
    // elsewhere does not gather a currency's lines for nobody.
    if (mTable && mTable->isVisible()) showLinesOfSelection();
    else mLinesStale = true;
}

void GXCurrencyTableViewController::transactionCreated(const Notification&)
{
    linesMayHaveChanged();
}

void GXCurrencyTableViewController::transactionModified(const Notification&)
{
    linesMayHaveChanged();
}

void GXCurrencyTableViewController::transactionDeleted(const Notification&)
{
    linesMayHaveChanged();
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

bool GXCurrencyTableViewController::concernsSelection(const Notification& notification) const
{
    if (std::holds_alternative<std::monostate>(notification.object)) return true;
    const std::shared_ptr<CCurRItem> share = selectedShare();
    return share && notification.objectAs<CCurRItem>() == share;
}

void GXCurrencyTableViewController::reloadKeepingSelection(const std::function<void()>& reload)
{
    // One selection change for the whole reload: the lines of a share that
    // stays selected are not read again.
    const std::shared_ptr<CCurRItem> selected = selectedShare();
    mSynchronizing = true;
    reload();
    if (selected) selectItem(selected.get());
    mSynchronizing = false;
    selectionChanged();
}

void GXCurrencyTableViewController::sharePriceUpdated(const Notification& notification)
{
    reloadKeepingSelection([this] { mController.rearrangeObjects(); });
    if (concernsSelection(notification)) showLinesOfSelection();
}

void GXCurrencyTableViewController::realTimeSharePriceUpdated(const Notification& notification)
{
    if (concernsSelection(notification)) showLinesOfSelection();
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
    case kFetchPrices: getPricesFromInternet(sender.tag); break;
    case kBookPrices:
        if (mShares) bookPricesFromInternet(sender.tag);
        break;
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
        return {selected, std::nullopt};
    case kDelete:
    case kModify:
        // Titled with the share or currency they act on.
        if (!selected) return {false, std::nullopt};
        return selectedShare()->validateMenuItem(tag);
    case kFetchPrices:
    case kBookPrices:
    case kCurrencyRate:
        return {true, std::nullopt};
    case kNew: {
        // A new share is not what a selected booking line asks for.
        const bool lineInFocus = mLineTable && QApplication::focusWidget() == mLineTable &&
                                 mLineTable->selectionModel()->hasSelection();
        return {!(mShares && lineInFocus), std::nullopt};
    }
    default:
        return {false, std::nullopt};
    }
}

bool GXCurrencyTableViewController::validateToolbarItem(const CommandSender& item)
{
    if (item.identifier == "V2Search") return true;
    if (item.tag == kFlag) return false;
    // Delete and Edit act on the chosen currency or share only.
    if (item.tag == kDelete || item.tag == kModify) return selectedShare() != nullptr;
    return true;
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

void GXCurrencyTableViewController::getPricesFromInternet(int senderTag)
{
    if (!document()) return;
    controlledView();
    startSpinner();
    std::weak_ptr<GXCurrencyTableViewController*> alive = mAlive;
    auto finished = [alive] {
        if (const auto self = alive.lock()) {
            (*self)->stopSpinner();
            (*self)->mStockTable->tableViewSelectionDidChange(nullptr);
        }
    };
    if (mShares) document()->calculateStockPrices(senderTag, finished);
    else document()->getCurrencyConversionFromWeb(finished);
}

void GXCurrencyTableViewController::bookPricesFromInternet(int senderTag)
{
    if (mShares) getPricesFromInternet(senderTag);
}

void GXCurrencyTableViewController::startSpinner()
{
    ++mRunningFetches;
    mSpinner->show();
}

void GXCurrencyTableViewController::stopSpinner()
{
    if (mRunningFetches > 0) --mRunningFetches;
    if (mRunningFetches == 0) mSpinner->hide();
}

QString GXCurrencyTableViewController::chartTabIdentifier() const
{
    return mChartTab && mChartTab->currentWidget() ? mChartTab->currentWidget()->objectName() : QString();
}

void GXCurrencyTableViewController::showTab(int step)
{
    controlledView();
    const QString shown = chartTabIdentifier();
    for (std::size_t i = 0; i < kChartTabs.size(); ++i)
        if (shown == QLatin1String(kChartTabs[i].first)) {
            const std::size_t next = (i + kChartTabs.size() + std::size_t(step)) % kChartTabs.size();
            for (int w = 0; w < mChartTab->count(); ++w)
                if (mChartTab->widget(w)->objectName() == QLatin1String(kChartTabs[next].first))
                    mChartTab->setCurrentIndex(w);
            break;
        }
    setLabel();
}

void GXCurrencyTableViewController::nextTab()
{
    showTab(1);
}

void GXCurrencyTableViewController::previousTab()
{
    showTab(-1);
}

void GXCurrencyTableViewController::setLabel()
{
    QString label;
    const QString shown = chartTabIdentifier();
    for (const auto& [identifier, key] : kChartTabs)
        if (shown == QLatin1String(identifier)) label = localizedText(key);
    mExplainingLabel->setText(label);
}

} // namespace ch
