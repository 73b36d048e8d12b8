#include "business/views/SearchInvoiceDialogController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

#include "bridge/CAcoWItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNSStringDateTBridge.h"
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
#include "platform/gui/localized_text.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CDateEditField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetForm.h"

namespace ch::business {

using namespace sheet_parts;

namespace {
constexpr int kNameColumnWidth = 220;
constexpr long kNoInvoiceChosenError = 564;
} // namespace

SearchInvoiceDialogController::SearchInvoiceDialogController(QWidget* parent) : BusinessSheet(parent)
{
    setObjectName(QStringLiteral("SearchPaymentDialog"));
    setWindowTitle(localizedText("SEARCHINVOICESHEETTITLE"));
    invoiceTable = new QTableWidget(0, 3, this);
    invoiceTable->setObjectName(QStringLiteral("transactionTableView"));
    invoiceTable->setHorizontalHeaderLabels({localizedText("FIELDDATE"), localizedText("FIELDNAME"), localizedText("FIELDAMOUNT")});
    invoiceTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    invoiceTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    invoiceTable->verticalHeader()->hide();
    // The name takes what the date and the amount leave; those two show whole.
    QHeaderView* header = invoiceTable->horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    header->setMinimumSectionSize(60);
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
                              new QTableWidgetItem(qs(CNSStringDateTBridge::dateTToNSString(
                                  static_cast<DateT>(invoice.mDate().value_or(0))))));
        invoiceTable->setItem(int(i), 1, new QTableWidgetItem(qs(invoice.getName())));
        // As the invoice table beside shows amounts.
        auto* amount = new QTableWidgetItem(
            qs(CNSNumberAmountTBridge::NSNumberToNSString(std::abs(invoice.mTotalAmount().value_or(0)))));
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        invoiceTable->setItem(int(i), 2, amount);
    }
    // Wide enough for the date, a name and the amount side by side.
    invoiceTable->resizeColumnsToContents();
    QHeaderView* header = invoiceTable->horizontalHeader();
    invoiceTable->setMinimumWidth(header->sectionSize(0) + header->sectionSize(2) + kNameColumnWidth +
                                  2 * invoiceTable->frameWidth() + invoiceTable->verticalScrollBar()->sizeHint().width());
}

bool SearchInvoiceDialogController::checkContents()
{
    return !(selectedInvoiceTransactions().empty() && refuse(kNoInvoiceChosenError));
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
