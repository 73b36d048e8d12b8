#include "business/views/GXDoubleTransactionDetailTableSynchronizer.h"

#include <QColor>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>

#include "bridge/CDebetItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessOfDocument.h"
#include "business/PaymentDrop.h"
#include "business/Payments.h"
#include "document/MyDocument.h"
#include "platform/core/alerts.h"
#include "platform/gui/localized_text.h"
#include "platform/gui/pasteboard_types.h"
#include "ui/sheets/SheetForm.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"

namespace ch::business {

namespace {

// A table of booking lines whose drags and drops the synchronizer decides.
class LineTable : public GXTableAncestor {
public:
    LineTable(GXDoubleTransactionDetailTableSynchronizer& owner, bool left, QWidget* parent)
        : GXTableAncestor(parent), mOwner(owner), mLeft(left)
    {
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setDragEnabled(!left);
        setAcceptDrops(left);
        viewport()->setAcceptDrops(left);
        setDropIndicatorShown(left);
    }

protected:
    void startDrag(Qt::DropActions) override
    {
        const QModelIndexList rows = selectionModel()->selectedRows();
        if (mLeft || rows.isEmpty()) return;
        QMimeData* data = mOwner.mimeDataForPaymentRow(rows.front().row());
        if (!data) return;
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::LinkAction | Qt::CopyAction | Qt::MoveAction);
    }
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (mLeft && event->mimeData()->hasFormat(kNonvisualPboardType)) event->acceptProposedAction();
        else event->ignore();
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        if (mLeft && mOwner.validateDrop(event->mimeData(), rowAt(event->position().toPoint().y())))
            event->acceptProposedAction();
        else event->ignore();
    }
    void dropEvent(QDropEvent* event) override
    {
        if (mLeft && mOwner.acceptDrop(event->mimeData(), rowAt(event->position().toPoint().y())))
            event->acceptProposedAction();
        else event->ignore();
    }

private:
    GXDoubleTransactionDetailTableSynchronizer& mOwner;
    bool mLeft;
};

// The payment rows may be dragged: a view starts a drag only from rows its
// model lets go.
class DraggableRowsModel : public ItemTableModel {
public:
    using ItemTableModel::ItemTableModel;
    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return ItemTableModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
    }
};

CDebetItem* lineOf(const CNonVisualDataItem& item)
{
    return dynamic_cast<CDebetItem*>(const_cast<CNonVisualDataItem*>(&item));
}

std::vector<ItemColumn> lineColumns(GXDoubleTransactionDetailTableSynchronizer& owner, bool left,
                                    CNonVisualDataItemArrayController& controller)
{
    auto background = [&owner, left, &controller](const CNonVisualDataItem& item) -> QVariant {
        const auto row = controller.arrangedRowOf(&item);
        if (row && owner.isHighlighted(left, static_cast<int>(*row))) return QColor(Qt::yellow);
        return {};
    };
    auto cell = [background](std::function<QVariant(CDebetItem&)> text) {
        return [text, background](const CNonVisualDataItem& item, int role) -> QVariant {
            CDebetItem* line = lineOf(item);
            if (!line) return {};
            if (role == Qt::DisplayRole) return text(*line);
            if (role == Qt::BackgroundRole) return background(item);
            if (role == Qt::ToolTipRole) return QString::fromStdString(line->fullDescription());
            return {};
        };
    };
    auto dateSort = [](const CNonVisualDataItem& item) -> SortValue {
        CDebetItem* line = lineOf(item);
        return line ? SortValue(double(line->transactionDateAsNumber().value_or(0))) : SortValue();
    };
    return {
        {"date", localizedText("FIELDDATE"),
         // In the user's date format; the column still sorts by date.
         cell([](CDebetItem& line) { return QString::fromStdString(line.transactionDateAsString()); }),
         dateSort},
        {"name", localizedText("FIELDNAME"),
         cell([](CDebetItem& line) { return QString::fromStdString(line.getName()); }), nullptr},
        {"amount", localizedText("FIELDAMOUNT"),
         cell([](CDebetItem& line) {
             return QString::fromStdString(CNSNumberAmountTBridge::NSNumberToNSString(std::abs(line.getLocalAmount().value_or(0))));
         }),
         nullptr},
    };
}

std::vector<SortDescriptor> newestFirst()
{
    return {{"transactionDateAsNumber", false, [](const CNonVisualDataItem& item) -> SortValue {
                 const auto* line = dynamic_cast<const CDebetItem*>(&item);
                 return line ? SortValue(double(line->transactionDateAsNumber().value_or(0))) : SortValue();
             }, nullptr}};
}

} // namespace

GXDoubleTransactionDetailTableSynchronizer::GXDoubleTransactionDetailTableSynchronizer(bool customers, QWidget* parent)
    : QObject(parent), mCustomers(customers)
{
    mLeft.setSortDescriptors(newestFirst());
    mRight.setSortDescriptors(newestFirst());
    mLeftTable = new LineTable(*this, true, parent);
    mRightTable = new LineTable(*this, false, parent);
    mLeftModel = new ItemTableModel(mLeft, lineColumns(*this, true, mLeft), this);
    mRightModel = new DraggableRowsModel(mRight, lineColumns(*this, false, mRight), this);
    mLeftTable->setModel(mLeftModel);
    mRightTable->setModel(mRightModel);
    // Date and amount as wide as they read, the name on one line in the rest.
    for (QTableView* table : {static_cast<QTableView*>(mLeftTable), static_cast<QTableView*>(mRightTable)}) {
        QHeaderView* header = table->horizontalHeader();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(1, QHeaderView::Stretch);
    }
    const char* side = customers ? "customer" : "supplier";
    mLeftTable->setObjectName(QString::fromLatin1(side) + "InvoiceTableView");
    mRightTable->setObjectName(QString::fromLatin1(side) + "PaymnetTableView");
    connect(mLeftTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { leftSelectionChanged(); });
    connect(mRightTable->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { rightSelectionChanged(); });
}

GXDoubleTransactionDetailTableSynchronizer::~GXDoubleTransactionDetailTableSynchronizer()
{
    // The models read the controllers, which go before the children do.
    delete mLeftModel;
    delete mRightModel;
}

void GXDoubleTransactionDetailTableSynchronizer::setLines(CNonVisualDataItem::ItemArray invoices,
                                                          CNonVisualDataItem::ItemArray payments)
{
    mLeft.setContent(std::make_shared<VectorListSource>(std::move(invoices)));
    mRight.setContent(std::make_shared<VectorListSource>(std::move(payments)));
}

std::shared_ptr<CTrnSItem> GXDoubleTransactionDetailTableSynchronizer::selectedTransaction(
    const QTableView* table, const CNonVisualDataItemArrayController& controller) const
{
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    if (rows.isEmpty()) return nullptr;
    auto line = std::dynamic_pointer_cast<CDebetItem>(controller.arrangedObjectAt(std::size_t(rows.front().row())));
    return line ? line->parentTransaction() : nullptr;
}

std::shared_ptr<CTrnSItem> GXDoubleTransactionDetailTableSynchronizer::selectedLeftTableTransaction() const
{
    return selectedTransaction(mLeftTable, mLeft);
}

std::shared_ptr<CTrnSItem> GXDoubleTransactionDetailTableSynchronizer::selectedRightTableTransaction() const
{
    return selectedTransaction(mRightTable, mRight);
}

QString GXDoubleTransactionDetailTableSynchronizer::documentToken(const MyDocument* document)
{
    return QString::number(reinterpret_cast<quintptr>(document));
}

QMimeData* GXDoubleTransactionDetailTableSynchronizer::mimeDataForPaymentRow(int row) const
{
    if (row < 0) return nullptr;
    auto line = std::dynamic_pointer_cast<CDebetItem>(mRight.arrangedObjectAt(std::size_t(row)));
    if (!line) return nullptr;
    const std::shared_ptr<CTrnSItem> payment = line->parentTransaction();
    if (!payment) return nullptr;
    const std::string key = payment->calculateKey();
    if (key.empty()) return nullptr;
    auto* data = new QMimeData;
    data->setData(kNonvisualPboardType, QByteArray::fromStdString(key));
    data->setData(kTransactionDetailPboardType, QByteArray::fromStdString(line->calculateKey()));
    data->setData(kDocumentPboardType, documentToken(mDocument).toUtf8());
    data->setText(QString::fromStdString(payment->getName()));
    return data;
}

bool GXDoubleTransactionDetailTableSynchronizer::validateDrop(const QMimeData* data, int row) const
{
    if (!mDocument || !data || row < 0 || !data->hasFormat(kNonvisualPboardType)) return false;
    auto line = std::dynamic_pointer_cast<CDebetItem>(mLeft.arrangedObjectAt(std::size_t(row)));
    if (!line || !line->parentTransaction()) return false;
    const bool fromHere = data->data(kDocumentPboardType) == documentToken(mDocument).toUtf8();
    return paymentForDrop(*mDocument, fromHere, data->data(kNonvisualPboardType).toStdString(), mCustomers) != nullptr;
}

bool GXDoubleTransactionDetailTableSynchronizer::acceptDrop(const QMimeData* data, int row)
{
    if (!validateDrop(data, row)) return false;
    auto line = std::dynamic_pointer_cast<CDebetItem>(mLeft.arrangedObjectAt(std::size_t(row)));
    const std::shared_ptr<CTrnSItem> invoice = line->parentTransaction();
    const std::shared_ptr<CTrnSItem> payment =
        paymentForDrop(*mDocument, true, data->data(kNonvisualPboardType).toStdString(), mCustomers);
    auto* business = dynamic_cast<BusinessOfDocument*>(mDocument->business());
    // A drop that links nothing says why, rather than seeming to be lost.
    if (business)
        if (const auto why = whyPaymentCannotSettle(*business, *invoice, *payment)) {
            showInfoText(*why);
            return false;
        }
    if (!linkDroppedPayment(*mDocument, *invoice, *payment)) return false;
    if (business)
        if (const auto notice = overpaymentNotice(*business, *invoice, *payment)) showInfoText(*notice);
    mLeft.rearrangeObjects();
    mRight.rearrangeObjects();
    emit paymentLinked();
    return true;
}

void GXDoubleTransactionDetailTableSynchronizer::rightSelectionChanged()
{
    const std::shared_ptr<CTrnSItem> payment = selectedRightTableTransaction();
    const std::optional<long> reference = payment ? payment->mReferenceObjectId() : std::nullopt;
    mReferenceFromRight.reset();
    if (reference && *reference != -1) {
        mReferenceFromRight = reference;
        mLeftTable->selectionModel()->clearSelection();
    }
    mLeftTable->viewport()->update();
}

void GXDoubleTransactionDetailTableSynchronizer::leftSelectionChanged()
{
    const std::shared_ptr<CTrnSItem> invoice = selectedLeftTableTransaction();
    mTransactionFromLeft.reset();
    if (invoice) {
        mRightTable->selectionModel()->clearSelection();
        if (const auto id = invoice->getId()) mTransactionFromLeft = long(*id);
    }
    mRightTable->viewport()->update();
}

bool GXDoubleTransactionDetailTableSynchronizer::isHighlighted(bool left, int row) const
{
    auto line = std::dynamic_pointer_cast<CDebetItem>((left ? mLeft : mRight).arrangedObjectAt(std::size_t(row)));
    if (!line) return false;
    if (left) return mReferenceFromRight && long(line->getTransactionId()) == *mReferenceFromRight;
    const std::optional<long> reference = line->referenceObjectId();
    return mTransactionFromLeft && reference && *reference != -1 && *reference == *mTransactionFromLeft;
}

} // namespace ch::business
