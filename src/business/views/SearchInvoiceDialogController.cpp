#include "business/views/SearchInvoiceDialogController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

#include "bridge/CAcoWItem.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessOfDocument.h"
#include "business/BusinessSheetChecks.h"
#include "business/GXInvoice.h"
#include "business/GXVATRate.h"
#include "business/InvoiceBooking.h"
#include "business/InvoiceNumbers.h"
#include "business/VATRates.h"
#include "business/views/BusinessSheetParts.h"
#include "document/MyDocument.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/foundation/CDate.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CDateEditField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetForm.h"

namespace ch::business {

using namespace sheet_parts;

SearchInvoiceDialogController::SearchInvoiceDialogController(QWidget* parent) : BusinessSheet(parent)
{
    setObjectName(QStringLiteral("SearchPaymentDialog"));
    setWindowTitle(sheetText("SEARCHINVOICESHEETTITLE"));
    invoiceTable = new QTableWidget(0, 3, this);
    invoiceTable->setObjectName(QStringLiteral("transactionTableView"));
    invoiceTable->setHorizontalHeaderLabels({sheetText("FIELDDATE"), sheetText("FIELDNAME"), sheetText("FIELDAMOUNT")});
    invoiceTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    invoiceTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    invoiceTable->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(invoiceTable);
    layout->addLayout(makeButtonRow());
}

void SearchInvoiceDialogController::initializeFor(const BusinessSheetContext& context,
                                                  std::vector<std::shared_ptr<CTrnSItem>> invoices)
{
    mContext = context;
    setTransactionArray(std::move(invoices));
}

void SearchInvoiceDialogController::setTransactionArray(std::vector<std::shared_ptr<CTrnSItem>> invoices)
{
    transactionArray = std::move(invoices);
    invoiceTable->setRowCount(int(transactionArray.size()));
    for (std::size_t i = 0; i < transactionArray.size(); ++i) {
        CTrnSItem& invoice = *transactionArray[i];
        invoiceTable->setItem(int(i), 0,
                              new QTableWidgetItem(QString::number(invoice.mDate().value_or(0))));
        invoiceTable->setItem(int(i), 1, new QTableWidgetItem(qs(invoice.getName())));
        invoiceTable->setItem(int(i), 2, new QTableWidgetItem(money(std::abs(invoice.mTotalAmount().value_or(0)))));
    }
}

void SearchInvoiceDialogController::dialogClosed(int returnCode, const SheetParameters& context)
{
    BusinessSheet::dialogClosed(returnCode, context);
    setTransactionArray({});
}

std::vector<std::shared_ptr<CTrnSItem>> SearchInvoiceDialogController::selectedInvoiceTransactions() const
{
    std::vector<std::shared_ptr<CTrnSItem>> chosen;
    for (const QModelIndex& row : invoiceTable->selectionModel()->selectedRows())
        if (std::size_t(row.row()) < transactionArray.size()) chosen.push_back(transactionArray[std::size_t(row.row())]);
    return chosen;
}

} // namespace ch::business
