#pragma once
// The invoices and payments of one customer (or supplier) side by side:
// the left table lists invoice lines, the right one payment lines. A payment
// dragged onto an invoice row is linked to that invoice; selecting a line in
// one table shows the lines of the other that belong with it in yellow.
//
// A drag carries the payment's object key ("CNonvisualPboardType"), the
// line's key ("CTransactionDetailPboardType"), the payment's name as text,
// and the document it came from, so that a payment of another document's
// window is refused.

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

#include "bridge/CNonVisualDataItem.h"
#include "ui/lists/CNonVisualDataItemArrayController.h"

class QMimeData;
class QTableView;
class QWidget;

namespace ch {
class CTrnSItem;
class GXTableAncestor;
class ItemTableModel;
class MyDocument;
} // namespace ch

namespace ch::business {

inline const QString kTransactionDetailPboardType = QStringLiteral("CTransactionDetailPboardType");
// The document a drag came from.
inline const QString kDocumentPboardType = QStringLiteral("application/x-countinghouse-document");

class GXDoubleTransactionDetailTableSynchronizer : public QObject {
    Q_OBJECT

public:
    // `customers`: the pair of a customer (else of a supplier).
    GXDoubleTransactionDetailTableSynchronizer(bool customers, QWidget* parent);
    ~GXDoubleTransactionDetailTableSynchronizer() override;

    void setParentDocument(MyDocument* document) { mDocument = document; }
    MyDocument* parentDocument() const { return mDocument; }
    // The lines shown (none: empty tables).
    void setLines(CNonVisualDataItem::ItemArray invoices, CNonVisualDataItem::ItemArray payments);

    GXTableAncestor* leftTable() const { return mLeftTable; }
    GXTableAncestor* rightTable() const { return mRightTable; }
    CNonVisualDataItemArrayController& leftTableArrayController() { return mLeft; }
    CNonVisualDataItemArrayController& rightTableArrayController() { return mRight; }

    std::shared_ptr<CTrnSItem> selectedLeftTableTransaction() const;
    std::shared_ptr<CTrnSItem> selectedRightTableTransaction() const;
    std::optional<long> selectedReferenceIdFromRightTable() const { return mReferenceFromRight; }
    std::optional<long> selectedTransactionIdFromLeftTable() const { return mTransactionFromLeft; }

    // The drag of a payment row; none for a row without a payment.
    QMimeData* mimeDataForPaymentRow(int row) const;
    // Whether a drop of the data onto the invoice row would be taken.
    bool validateDrop(const QMimeData* data, int row) const;
    // Links the dropped payment to the invoice of the row; false when refused.
    bool acceptDrop(const QMimeData* data, int row);
    // Whether the row is shown in yellow.
    bool isHighlighted(bool left, int row) const;
    // The token of the document a drag names.
    static QString documentToken(const MyDocument* document);

signals:
    // A payment was linked by a drop.
    void paymentLinked();

private:
    void leftSelectionChanged();
    void rightSelectionChanged();
    std::shared_ptr<CTrnSItem> selectedTransaction(const QTableView* table,
                                                   const CNonVisualDataItemArrayController& controller) const;

    bool mCustomers;
    MyDocument* mDocument = nullptr;
    CNonVisualDataItemArrayController mLeft;
    CNonVisualDataItemArrayController mRight;
    GXTableAncestor* mLeftTable = nullptr;
    GXTableAncestor* mRightTable = nullptr;
    ItemTableModel* mLeftModel = nullptr;
    ItemTableModel* mRightModel = nullptr;
    std::optional<long> mReferenceFromRight;
    std::optional<long> mTransactionFromLeft;
};

} // namespace ch::business
