#include "ui/pages/GXCreditCardViewController.h"

#include <QBrush>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "bridge/CAcnTItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "document/DocumentNotifications.h"
#include "platform/core/notification_center.h"
#include "platform/gui/localized_text.h"
#include "platform/gui/pasteboard_types.h"
#include "ui/ChartSinkViews.h"
#include "ui/GXGradientPainting.h"
#include "ui/GXSplitView.h"
#include "ui/NamedIcons.h"
#include "ui/WindowDocument.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/HeadingClickSort.h"
#include "ui/lists/ItemListSource.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/lists/TransactionColumns.h"
#include "ui/pages/CCreditCardTransactionTableView.h"
#include "ui/pages/CreditCardBook.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

namespace {

constexpr int kNew = 1100;
constexpr int kDelete = 1104;
constexpr int kModify = 1114;
constexpr int kFlag = 1121;

QString amount(std::optional<double> value)
{
    return value ? QString::fromStdString(CNumericTransformer().stringForObjectValue(*value)) : QString();
}

// The flag images: a round mark in the colour of the state.
QIcon flagIcon(const std::string& name)
{
    QColor colour(200, 40, 40);
    if (name == "flaggedgreen") colour = QColor(40, 160, 60);
    if (name == "flaggedgreenPlus") colour = QColor(20, 110, 40);
    if (name == "flaggedblue") colour = QColor(40, 90, 200);
    if (name == "flaggedCredited") colour = QColor(140, 70, 170);
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(colour.darker(130));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(2, 2, 10, 10));
    if (name == "flaggedgreenPlus") {
        painter.setPen(QPen(Qt::white, 1.5));
        painter.drawLine(QPointF(4.5, 7), QPointF(9.5, 7));
        painter.drawLine(QPointF(7, 4.5), QPointF(7, 9.5));
    }
    return QIcon(pixmap);
}

const CAcnTItem* cardOf(const CNonVisualDataItem& item)
{
    return dynamic_cast<const CAcnTItem*>(&item);
}

const CDebetItem* lineOf(const CNonVisualDataItem& item)
{
    return dynamic_cast<const CDebetItem*>(&item);
}

// A column of one kind of item, shown as text (right-aligned amounts) and
// sorted by that text; an icon column when `icon` is given.
template <class Item>
ItemColumn column(const char* identifier, const char* headingKey, std::function<QString(const Item&)> show,
                  bool isAmount, std::function<QIcon(const Item&)> icon = {})
{
    ItemColumn c;
    c.identifier = QString::fromLatin1(identifier);
    c.heading = headingKey ? localizedText(headingKey) : QString();
    c.imageOnly = !show;
    c.value = [show, isAmount, icon](const CNonVisualDataItem& item, int role) -> QVariant {
        const Item* shown = dynamic_cast<const Item*>(&item);
        if (!shown) return {};
        if (role == Qt::DisplayRole && show) return show(*shown);
        if (role == Qt::DecorationRole && icon) return icon(*shown);
        if (role == Qt::TextAlignmentRole && isAmount) return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    };
    if (show)
        c.sortValue = [show](const CNonVisualDataItem& item) -> SortValue {
            const Item* shown = dynamic_cast<const Item*>(&item);
            return shown ? SortValue(show(*shown).toStdString()) : SortValue();
        };
    return c;
}

// The balance's colour is the card's own description's: red while something
// is owed (0 or more), green for a credit in the owner's favour.
QVariant balanceColour(const CAcnTItem& card)
{
    const StyledText description = card.creditCardDescription();
    if (description.runs.empty() || !description.runs.back().colour) return {};
    return QBrush(toQColor(*description.runs.back().colour));
}

std::vector<ItemColumn> cardColumns()
{
    std::vector<ItemColumn> columns = {
        column<CAcnTItem>("image", nullptr, {}, false,
                          [](const CAcnTItem& card) {
                              const auto image = creditCardSubtypeImage(card.specialSubType().value_or(0));
                              return image ? makeNamedIcon(*image) : QIcon();
                          }),
        column<CAcnTItem>("name", "LISTCOLNAME",
                          [](const CAcnTItem& card) { return QString::fromStdString(card.getName()); }, false),
        column<CAcnTItem>("number", "CARDCOLNUMBER",
                          [](const CAcnTItem& card) { return QString::fromStdString(card.getBankAccountNumber()); },
                          false),
        column<CAcnTItem>("description", "LISTCOLDESCRIPTION",
                          [](const CAcnTItem& card) { return QString::fromStdString(card.getDescription()); }, false),
        column<CAcnTItem>("balance", "LISTCOLBALANCE",
                          [](const CAcnTItem& card) { return amount(card.getBalance()); }, true),
        column<CAcnTItem>("currency", "LISTCOLCURRENCY",
                          [](const CAcnTItem& card) { return QString::fromStdString(card.currencySymbol()); }, false),
    };
    ItemColumn& balance = columns[4];
    balance.value = [shown = balance.value](const CNonVisualDataItem& item, int role) -> QVariant {
        const CAcnTItem* card = cardOf(item);
        if (card && role == Qt::ForegroundRole) return balanceColour(*card);
        return shown(item, role);
    };
    // By the amount, not its text ("1,200.00" after "300.00").
    balance.sortValue = [](const CNonVisualDataItem& item) -> SortValue {
        const CAcnTItem* card = cardOf(item);
        const std::optional<double> value = card ? card->getBalance() : std::nullopt;
        return value ? SortValue(*value) : SortValue();
    };
    // The whole description, as the card list shows it elsewhere.
    ItemColumn& name = columns[1];
    name.value = [shown = name.value](const CNonVisualDataItem& item, int role) -> QVariant {
        const CAcnTItem* card = cardOf(item);
        if (card && role == Qt::ToolTipRole)
            return QString::fromStdString(card->creditCardDescription().plainText());
        return shown(item, role);
    };
    return columns;
}

std::vector<ItemColumn> lineColumns(bool spendings)
{
    std::function<QIcon(const CDebetItem&)> flag;
    if (spendings)
        flag = [](const CDebetItem& line) { return flagIcon(spendingFlagImage(line.referenceObjectId())); };
    else
        flag = [](const CDebetItem& line) {
            const std::shared_ptr<CTrnSItem> payment = line.parentTransaction();
            return flagIcon(paymentFlagImage(payment ? payment->unaccountedForAmount() : std::nullopt));
        };
    // Date, description and amount as in the other lists of booking lines.
    std::vector<ItemColumn> columns = {column<CDebetItem>("flag", nullptr, {}, false, flag)};
    for (ItemColumn& c : bookingLineColumns())
        if (c.identifier == QLatin1String("date") || c.identifier == QLatin1String("description") ||
            c.identifier == QLatin1String("amount"))
            columns.push_back(std::move(c));
    return columns;
}

std::vector<SortDescriptor> newestFirst()
{
    return {{"transactionDateAsNumber", false,
             [](const CNonVisualDataItem& item) -> SortValue {
                 const CDebetItem* line = lineOf(item);
                 const auto date = line ? line->transactionDateAsNumber() : std::nullopt;
                 return date ? SortValue(static_cast<double>(*date)) : SortValue();
             },
             {}}};
}

// The id the highlight compares: a payment's transaction id, a spending's
// reference to its payment.
std::optional<long> paymentId(const CNonVisualDataItem& item)
{
    const CDebetItem* line = lineOf(item);
    const std::shared_ptr<CTrnSItem> payment = line ? line->parentTransaction() : nullptr;
    if (!payment || !payment->getId()) return std::nullopt;
    return static_cast<long>(*payment->getId());
}

std::optional<long> spendingReference(const CNonVisualDataItem& item)
{
    const CDebetItem* line = lineOf(item);
    return line ? line->referenceObjectId() : std::nullopt;
}

std::shared_ptr<CTrnSItem> transactionOfRow(const GXTableAncestor* table, const ItemTableModel* model, int row)
{
    if (!table || row < 0) return nullptr;
    const auto line = std::dynamic_pointer_cast<CDebetItem>(model->itemAt(row));
    return line ? line->parentTransaction() : nullptr;
}

int firstSelectedRow(const GXTableAncestor* table)
{
    if (!table || !table->selectionModel()) return -1;
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// A spendings table whose rows can be dragged: the spending's key with the
// marker of its document, so that the side bar (its VAT titles) takes it
// too, and a payment table that takes such a drop on a row of the list.
class SpendingDragModel : public ItemTableModel {
public:
    SpendingDragModel(CNonVisualDataItemArrayController& controller, std::vector<ItemColumn> columns,
                      std::function<const void*()> document)
        : ItemTableModel(controller, std::move(columns)), mDocument(std::move(document))
    {
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return ItemTableModel::flags(index) | Qt::ItemIsDragEnabled;
    }
    QStringList mimeTypes() const override { return {kNonvisualPboardType, QStringLiteral("text/plain")}; }
    QMimeData* mimeData(const QModelIndexList& indexes) const override
    {
        if (indexes.isEmpty()) return nullptr;
        const auto line = std::dynamic_pointer_cast<CDebetItem>(itemAt(indexes.first().row()));
        const std::shared_ptr<CTrnSItem> transaction = line ? line->parentTransaction() : nullptr;
        const std::string key = transaction ? transaction->calculateKey() : std::string();
        if (key.empty()) return nullptr;
        return objectDragData(key, transaction->getName(), mDocument());
    }

private:
    std::function<const void*()> mDocument;
};

class PaymentDropModel : public ItemTableModel {
public:
    using Link = std::function<bool(const std::string& spendingKey, int paymentRow)>;
    PaymentDropModel(CNonVisualDataItemArrayController& controller, std::vector<ItemColumn> columns,
                     std::function<const void*()> document, Link link)
        : ItemTableModel(controller, std::move(columns)), mDocument(std::move(document)), mLink(std::move(link))
    {
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return ItemTableModel::flags(index) | (index.isValid() ? Qt::ItemIsDropEnabled : Qt::NoItemFlags);
    }
    QStringList mimeTypes() const override { return {kNonvisualPboardType}; }
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction | Qt::MoveAction; }
    bool canDropMimeData(const QMimeData* data, Qt::DropAction, int row, int, const QModelIndex& parent) const override
    {
        // Only onto a row of the list, never between rows, and only what
        // this document's window dragged: a key names another transaction
        // in another document.
        return data && data->hasFormat(kNonvisualPboardType) &&
               data->data(kDocumentPboardType) == documentMarker(mDocument()) && row < 0 && parent.isValid() &&
               parent.row() < rowCount();
    }
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override
    {
        if (!canDropMimeData(data, action, row, column, parent)) return false;
        return mLink(data->data(kNonvisualPboardType).toStdString(), parent.row());
    }

private:
    std::function<const void*()> mDocument;
    Link mLink;
};

} // namespace

GXCreditCardViewController::GXCreditCardViewController(QObject* parent) : GXSideBarControlledViewAncestor(parent)
{
    mCards.setSortDescriptors({{"getName", true,
                                [](const CNonVisualDataItem& item) -> SortValue {
                                    const CAcnTItem* card = cardOf(item);
                                    return card ? SortValue(card->getName()) : SortValue();
                                },
                                {}}});
    mSpendings.setSortDescriptors(newestFirst());
    mPayments.setSortDescriptors(newestFirst());
    mCardModel = std::make_unique<ItemTableModel>(mCards, cardColumns());
    showsFiguresIn(mCardModel.get());
    // Drags carry the marker of the page's document as the side bar knows it.
    auto documentOf = [this]() -> const void* { return document(); };
    mSpendingModel = std::make_unique<SpendingDragModel>(mSpendings, lineColumns(true), documentOf);
    mPaymentModel = std::make_unique<PaymentDropModel>(
        mPayments, lineColumns(false), documentOf,
        [this](const std::string& spending, int payment) { return linkSpendingToPaymentRow(spending, payment); });
}

GXCreditCardViewController::~GXCreditCardViewController() = default;

QWidget* GXCreditCardViewController::makeControlledView()
{
    auto* view = new QWidget;
    view->setObjectName(QStringLiteral("creditCardTableSubview"));
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto buttonRow = [this](QWidget* parent, std::vector<QPushButton*>* needingSelection,
                            std::initializer_list<std::pair<const char*, std::function<void()>>> buttons,
                            std::initializer_list<const char*> names) {
        auto* row = new QHBoxLayout;
        row->setContentsMargins(6, 4, 6, 4);
        auto name = names.begin();
        bool first = true;
        for (const auto& [key, action] : buttons) {
            auto* button = new QPushButton(localizedText(key), parent);
            button->setObjectName(QString::fromLatin1(*name++));
            connect(button, &QPushButton::clicked, this, action);
            row->addWidget(button);
            if (!first && needingSelection) needingSelection->push_back(button);
            if (first && needingSelection == &mCardButtons) mAddAccountButton = button;
            if (first && needingSelection == &mSpendingButtons) mAddSpendingButton = button;
            if (first && needingSelection == &mPaymentButtons) mAddPaymentButton = button;
            first = false;
        }
        row->addStretch(1);
        return row;
    };
    auto makeTable = [](GXTableAncestor* table, QAbstractItemModel* model, const char* name, const char* autosave,
                        int stretchColumn) {
        table->setObjectName(QString::fromLatin1(name));
        table->setAutosaveName(autosave);
        table->setModel(model);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->verticalHeader()->hide();
        table->verticalHeader()->setDefaultSectionSize(22);
        table->setAlternatingRowColors(true);
        // Images narrow, the texts take the room.
        auto* header = table->horizontalHeader();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Fixed);
        header->resizeSection(0, 40);
        header->setSectionResizeMode(stretchColumn, QHeaderView::Stretch);
        // Corner menu, column choices kept under the autosave name, export.
        table->awakeFromNib();
    };

    mMainSplitView = new GXSplitView(false, view);
    mMainSplitView->setObjectName(QStringLiteral("mainSplitView"));

    auto* upper = new QWidget(mMainSplitView);
    auto* upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->setSpacing(0);
    mCardTable = new GXTableAncestor(upper);
    makeTable(mCardTable, mCardModel.get(), "topTableView", "creditCardTableView", 1);
    sortOnHeadingClick(*mCardTable);
    mCardTable->setIconSize(QSize(32, 20));
    upperLayout->addWidget(mCardTable, 1);
    upperLayout->addLayout(buttonRow(upper, &mCardButtons,
                                     {{"PAGEADD", [this] { newObject(CommandSender::menuItem(kNew)); }},
                                      {"PAGEMODIFY", [this] { modifyObject(); }},
                                      {"PAGEDELETE", [this] { deleteObject(); }}},
                                     {"addAccountButton", "modifyAccountButton", "deleteAccountButton"}));

    mTableSplitView = new GXSplitView(true, mMainSplitView);
    mTableSplitView->setObjectName(QStringLiteral("tableGraphSplitView"));
    auto lineTable = [&](bool spendings) {
        auto* pane = new QWidget(mTableSplitView);
        auto* paneLayout = new QVBoxLayout(pane);
        paneLayout->setContentsMargins(0, 0, 0, 0);
        paneLayout->setSpacing(0);
        auto* title = new QLabel(localizedText(spendings ? "CARDSPENDINGS" : "CARDPAYMENTS"), pane);
        title->setContentsMargins(6, 4, 6, 2);
        QFont font = title->font();
        font.setBold(true);
        title->setFont(font);
        paneLayout->addWidget(title);
        auto* table = new CCreditCardTransactionTableView(spendings ? spendingReference : paymentId, pane);
        makeTable(table, spendings ? mSpendingModel.get() : mPaymentModel.get(),
                  spendings ? "spendingsTableView" : "paymentTableView",
                  spendings ? "spendingsTableView" : "paymentTableView", 2);
        if (spendings) {
            table->setDragEnabled(true);
            table->setDragDropMode(QAbstractItemView::DragOnly);
        } else {
            table->setAcceptDrops(true);
            table->setDropIndicatorShown(true);
            table->setDragDropMode(QAbstractItemView::DropOnly);
        }
        paneLayout->addWidget(table, 1);
        if (spendings)
            paneLayout->addLayout(buttonRow(pane, &mSpendingButtons,
                                            {{"PAGEADD", [this] { addSpending(); }},
                                             {"PAGEMODIFY", [this] { modifySpending(); }},
                                             {"PAGEDELETE", [this] { deleteSpending(); }}},
                                            {"addSpendingButton", "modifySpendingButton", "deleteSpendingButton"}));
        else
            paneLayout->addLayout(buttonRow(pane, &mPaymentButtons,
                                            {{"PAGEADD", [this] { addPayment(); }},
                                             {"PAGEMODIFY", [this] { modifyPayment(); }},
                                             {"PAGEDELETE", [this] { deletePayment(); }}},
                                            {"addPaymentButton", "modifyPaymentButton", "deletePaymentButton"}));
        return table;
    };
    mSpendingsTable = lineTable(true);
    mPaymentTable = lineTable(false);
    // The selected card's lines month by month.
    mChartTab = new QStackedWidget(mMainSplitView);
    mChartTab->setObjectName(QStringLiteral("chartTab"));
    mBarChart = new BarChartSinkView(mChartTab);
    mBarChart->setObjectName(QStringLiteral("bar"));
    mBarChart->setBorderAbove(true, false, true, false);
    mChartTab->addWidget(mBarChart);
    mChartTab->setMinimumHeight(120);
    mMainSplitView->setStretchFactor(0, 1);
    mMainSplitView->setStretchFactor(1, 2);
    mMainSplitView->setStretchFactor(2, 1);
    mMainSplitView->setPositionAutosaveName(QStringLiteral("mainCreditCardSplitView"));
    mTableSplitView->setPositionAutosaveName(QStringLiteral("CreditCardTransactionSplitView"));
    layout->addWidget(mMainSplitView, 1);

    connect(mCardTable, &QAbstractItemView::doubleClicked, this, [this] { modifyObject(); });
    connect(mSpendingsTable, &QAbstractItemView::doubleClicked, this, [this] { modifySpending(); });
    connect(mPaymentTable, &QAbstractItemView::doubleClicked, this, [this] { modifyPayment(); });
    connect(mCardTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { cardSelectionChanged(); });
    connect(mSpendingsTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { spendingSelectionChanged(); });
    connect(mPaymentTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { paymentSelectionChanged(); });
    cardSelectionChanged();
    return view;
}

void GXCreditCardViewController::registerNotifications()
{
    using Page = GXCreditCardViewController;
    observe<Page>(GXCAccountCreatedNotification, &Page::accountChanged);
    observe<Page>(GXCAccountModifiedNotification, &Page::accountChanged);
    observe<Page>(GXCAccountDeletedNotification, &Page::accountDeleted);
    GXSideBarControlledViewAncestor::registerNotifications();
}

void GXCreditCardViewController::synchronizeWithItemFromSuperview(const CNonVisualDataItem::Ptr& node)
{
    GXSideBarControlledViewAncestor::synchronizeWithItemFromSuperview(node);
    controlledView();
    refreshCards();
    if (mAddAccountButton) mAddAccountButton->setEnabled(true);
}

void GXCreditCardViewController::refreshCards()
{
    if (!document()) return;
    const CNonVisualDataItem::Ptr selected = selectedCard();
    const std::vector<std::shared_ptr<CAcnTItem>> cards = creditCardAccounts(document()->books());
    setTopLevelArray(CNonVisualDataItem::ItemArray(cards.begin(), cards.end()));
    mCards.setContent(std::make_shared<VectorListSource>(cards));
    if (selected) selectCard(selected.get());
    showLinesOfSelectedCard();
}

void GXCreditCardViewController::showLinesOfSelectedCard()
{
    const std::shared_ptr<CAcnTItem> card = selectedCard();
    CardLines lines;
    if (card) {
        card->setFromTransactionDetails();
        card->setToTransactionDetails();
        lines = cardLines(*card);
    }
    if (mBarChart) {
        mChartTab->setCurrentWidget(mBarChart);
        mBarChart->synchronizeWithArray(card ? card->allTransactionDetails() : LineItemArray{});
    }
    mSpendings.setContent(std::make_shared<VectorListSource>(std::move(lines.spendings)));
    mPayments.setContent(std::make_shared<VectorListSource>(std::move(lines.payments)));
    // A spending or payment is made on the chosen card: without one, Add has nothing to act on.
    for (QPushButton* add : {mAddSpendingButton, mAddPaymentButton})
        if (add) add->setEnabled(card != nullptr);
    spendingSelectionChanged();
    paymentSelectionChanged();
}

QWidget* GXCreditCardViewController::firstKeyView()
{
    controlledView();
    return mCardTable;
}

bool GXCreditCardViewController::doesPageShowTransaction(const std::shared_ptr<CTrnSItem>& transaction)
{
    return transaction != nullptr;
}

std::shared_ptr<CAcnTItem> GXCreditCardViewController::selectedCard() const
{
    const int row = firstSelectedRow(mCardTable);
    if (row < 0) return nullptr;
    auto card = std::dynamic_pointer_cast<CAcnTItem>(mCardModel->itemAt(row));
    return card && card->getSourceItem() ? card : nullptr;
}

void GXCreditCardViewController::selectCard(const CNonVisualDataItem* card)
{
    controlledView();
    const std::optional<std::size_t> row = mCards.arrangedRowOf(card);
    if (row)
        mCardTable->selectRow(static_cast<int>(*row));
    else
        mCardTable->clearSelection();
}

std::shared_ptr<CTrnSItem> GXCreditCardViewController::selectedSpendingTransaction() const
{
    return transactionOfRow(mSpendingsTable, mSpendingModel.get(), firstSelectedRow(mSpendingsTable));
}

std::shared_ptr<CTrnSItem> GXCreditCardViewController::selectedPaymentTransaction() const
{
    return transactionOfRow(mPaymentTable, mPaymentModel.get(), firstSelectedRow(mPaymentTable));
}

void GXCreditCardViewController::cardSelectionChanged()
{
    const std::shared_ptr<CAcnTItem> card = selectedCard();
    setMSelectedItem(card);
    if (card) setMSelectedMasterItem(card);
    for (QPushButton* button : mCardButtons) button->setEnabled(card != nullptr);
    showLinesOfSelectedCard();
}

void GXCreditCardViewController::spendingSelectionChanged()
{
    if (!mPaymentTable) return;
    const std::shared_ptr<CTrnSItem> spending = selectedSpendingTransaction();
    if (spending) {
        mPaymentTable->setReferenceId(spending->mReferenceObjectId());
        mPaymentTable->clearSelection();
    } else {
        mPaymentTable->setReferenceId(std::nullopt);
    }
    for (QPushButton* button : mSpendingButtons) button->setEnabled(spending != nullptr);
}

void GXCreditCardViewController::paymentSelectionChanged()
{
    if (!mSpendingsTable) return;
    const std::shared_ptr<CTrnSItem> payment = selectedPaymentTransaction();
    if (payment && payment->getId()) {
        mSpendingsTable->setReferenceId(static_cast<long>(*payment->getId()));
        mSpendingsTable->clearSelection();
    } else {
        mSpendingsTable->setReferenceId(std::nullopt);
    }
    for (QPushButton* button : mPaymentButtons) button->setEnabled(payment != nullptr);
}

bool GXCreditCardViewController::linkSpendingRowToPaymentRow(int spendingRow, int paymentRow)
{
    const auto spendingLine = std::dynamic_pointer_cast<CDebetItem>(mSpendingModel->itemAt(spendingRow));
    const std::shared_ptr<CTrnSItem> spending = spendingLine ? spendingLine->parentTransaction() : nullptr;
    return spending && linkSpendingToPaymentRow(spending->calculateKey(), paymentRow);
}

bool GXCreditCardViewController::linkSpendingToPaymentRow(const std::string& spendingKey, int paymentRow)
{
    if (!document() || paymentRow < 0) return false;
    // Only a spending of the card shown: any other transaction's key is no
    // spending to settle.
    std::shared_ptr<CTrnSItem> spending;
    for (std::size_t row = 0; row < mSpendings.arrangedCount() && !spending; ++row) {
        const auto line = std::dynamic_pointer_cast<CDebetItem>(mSpendings.arrangedObjectAt(row));
        const std::shared_ptr<CTrnSItem> transaction = line ? line->parentTransaction() : nullptr;
        if (transaction && transaction->calculateKey() == spendingKey) spending = transaction;
    }
    const auto paymentLine = std::dynamic_pointer_cast<CDebetItem>(mPaymentModel->itemAt(paymentRow));
    if (!spending || !paymentLine) return false;
    if (!linkSpendingToPayment(document()->sheetDocument().commands(), spending, *paymentLine)) return false;
    mSpendings.rearrangeObjects();
    mPayments.rearrangeObjects();
    return true;
}

void GXCreditCardViewController::accountChanged(const Notification&)
{
    synchronizeWithItemFromSuperview(mSelectedMasterItem());
}

void GXCreditCardViewController::accountDeleted(const Notification&)
{
    setMSelectedItem(nullptr);
    if (mCardTable) mCardTable->clearSelection();
    synchronizeWithItemFromSuperview(mSelectedMasterItem());
}

void GXCreditCardViewController::transactionCreated(const Notification& notification)
{
    // A new payment or spending of the shown card joins its list.
    const auto transaction = notification.objectAs<CTrnSItem>();
    const std::shared_ptr<CAcnTItem> card = selectedCard();
    if (transaction && card) {
        const auto onCard = [&card](const LineItemArray& side) {
            const std::shared_ptr<CDebetItem> main = CTrnSItem::getMostImportantDebetItem(side);
            return main && main->accountObject() == card->getSourceItem();
        };
        if (!onCard(transaction->mToList()) && !onCard(transaction->mFromList())) return;
    }
    showLinesOfSelectedCard();
}

void GXCreditCardViewController::transactionModified(const Notification&)
{
    refreshCards();
}

void GXCreditCardViewController::transactionDeleted(const Notification&)
{
    refreshCards();
}

void GXCreditCardViewController::searchContents(const std::string& text)
{
    mCards.search(text);
}

void GXCreditCardViewController::newObject(const CommandSender&)
{
    if (document()) document()->initiateCreditCardAccountCreation();
}

void GXCreditCardViewController::executeMenuCommand(int code, const CommandSender& sender)
{
    switch (code) {
    case kNew: newObject(sender); break;
    case kDelete: deleteObject(); break;
    case kModify: modifyObject(); break;
    default: GXSideBarControlledViewAncestor::executeMenuCommand(code, sender);
    }
}

MenuItemValidation GXCreditCardViewController::validateMenuItem(int tag)
{
    switch (tag) {
    case 1270:
    case 1271:
    case 1272:
    case 1275:
    case kDelete:
    case kModify:
        return {selectedCard() != nullptr, std::nullopt};
    case 1273:
    case 1274:
    case 1211:
    case kNew:
        return {true, std::nullopt};
    default:
        return {false, std::nullopt};
    }
}

bool GXCreditCardViewController::validateToolbarItem(const CommandSender& item)
{
    if (item.identifier == "V2Search") return true;
    if (item.tag == kFlag) return false;
    if (item.tag == kDelete || item.tag == kModify)
        return !(mCardTable && mCardTable->hasFocus() && !selectedCard());
    return true;
}

void GXCreditCardViewController::modifyObject()
{
    if (auto card = selectedCard(); card && document()) document()->modifyObject(card);
}

void GXCreditCardViewController::deleteObject()
{
    if (auto card = selectedCard(); card && document()) document()->deleteObject(card);
}

void GXCreditCardViewController::askTransaction(bool spending)
{
    const std::shared_ptr<CAcnTItem> card = selectedCard();
    if (!card || !card->getSourceItem() || !document()) return;
    TransactionSheetRequest request;
    (spending ? request.fromAccount : request.toAccount) = card->getSourceItem();
    request.action = 1;
    request.recurring = false;
    document()->askTransactionInput(request);
}

void GXCreditCardViewController::addSpending()
{
    askTransaction(true);
}

void GXCreditCardViewController::addPayment()
{
    askTransaction(false);
}

void GXCreditCardViewController::modifySpending()
{
    if (auto t = selectedSpendingTransaction(); t && document()) document()->books().doModifyTransactionDialog(t);
}

void GXCreditCardViewController::modifyPayment()
{
    if (auto t = selectedPaymentTransaction(); t && document()) document()->books().doModifyTransactionDialog(t);
}

void GXCreditCardViewController::deleteSpending()
{
    if (auto t = selectedSpendingTransaction(); t && document()) document()->deleteObject(t);
}

void GXCreditCardViewController::deletePayment()
{
    if (auto t = selectedPaymentTransaction(); t && document()) document()->deleteObject(t);
}

} // namespace ch
