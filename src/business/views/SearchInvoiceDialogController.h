#pragma once
// The sheet that offers the invoices a payment may settle; the chosen ones
// are linked to it.

#include <memory>
#include <vector>

#include "business/views/BusinessSheet.h"

class QTableWidget;

namespace ch::business {

class SearchInvoiceDialogController : public BusinessSheet {
    Q_OBJECT
public:
    explicit SearchInvoiceDialogController(QWidget* parent = nullptr);
    void initializeFor(const BusinessSheetContext& context, std::vector<std::shared_ptr<CTrnSItem>> invoices);
    // OK links the payment to the invoices chosen: with none chosen it would
    // do nothing, so the sheet says so (564) and stays open.
    bool checkContents() override;
    std::vector<std::shared_ptr<CTrnSItem>> selectedInvoiceTransactions() const;
    std::shared_ptr<CTrnSItem> paymentToSearchInvoiceFor() const { return mContext.objectToModify; }
    void setTransactionArray(std::vector<std::shared_ptr<CTrnSItem>> invoices);
    // After the opener's work the candidates are let go, whatever the answer.
    void dialogClosed(int returnCode, const SheetParameters& context) override;

private:
    std::vector<std::shared_ptr<CTrnSItem>> transactionArray;
    QTableWidget* invoiceTable;
};

} // namespace ch::business
