// The rows under a customer on the owners page, double-clicked as a person
// does: a plain booking on the customer's open-invoice account is no invoice
// and opens in the transaction sheet; OK there unchanged leaves the books as
// they were.

#include <QCheckBox>
#include <QTest>

#include "../document/commands/books_listing.h"
#include "../ui/sheets/sheet_test_support.h"
#include "app_test_steps.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "business/views/GXDoubleTransactionDetailTableSynchronizer.h"
#include "business/VATRateArguments.h"
#include "business/views/GXOwnerViewController.h"
#include "document/MyDocument.h"
#include "model/CDocAccounting.h"
#include "platform/core/localized_strings.h"
#include "ui/sheets/CCreateTransactionPopupController.h"

namespace ch {
namespace {

using namespace ch::test;
using Tab = business::GXOwnerViewController::Tab;

class OwnerInvoiceRowsWindowTest : public ApplicationFixture {
protected:
    OwnerInvoiceRowsWindowTest()
    {
        environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
        booksPath = folder.filePath("Owners.books");
        controller.makeNewDocument(false);
        settle();
    }

    CPopupWindowAncestor& openSheet()
    {
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        EXPECT_TRUE(sheet && sheet->isVisible());
        return *sheet;
    }
    void finishSheet(QWidget& sheet)
    {
        click(sheet, "OKButton");
        settle();
        EXPECT_FALSE(sheet.isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    }
};

TEST_F(OwnerInvoiceRowsWindowTest, APlainBookingOnTheOpenInvoiceAccountOpensInTheTransactionSheet)
{
    auto* owners = showPage<business::GXOwnerViewController>(localized("OWNERBUTTON"), 1);
    ASSERT_NE(owners, nullptr);
    owners->selectSubPage(fourCC("AcoW"));
    choose("NEWOBJECTMENUITEM");
    {
        CPopupWindowAncestor& sheet = openSheet();
        typeInto(outlet(sheet, "nameField"), "Brightwater");
        QTest::mouseClick(outlet<QCheckBox>(sheet, "createCustomerAccountsCheck"), Qt::LeftButton);
        finishSheet(sheet);
    }
    const auto customer = books().getAccountOwnerItemForName("Brightwater");
    ASSERT_NE(customer, nullptr);
    const std::optional<long> receivable = customer->openDebitInvoiceAccount();
    ASSERT_TRUE(receivable);
    // Books that invoice have a VAT rate, so the invoice sheet would take the booking.
    arguments::VATRateArguments standard;
    standard.name = "Standard";
    standard.rate = 21.0;
    ASSERT_EQ(books().commandExecutor().executeCommand(33, nullptr, standard), 1);
    const long bank = makeAccount(books(), "Business Bank", 1, nullptr, 500.0);
    bookTransaction(books(), bank, *receivable, makeExpenseCategory(books(), "Fees"), 80.0, "Advance", 20250905);
    settle();

    owners->selectSubPage(fourCC("CusT"));
    owners->selectOwner(Tab::Customers, customer.get());
    settle();
    auto& rows = owners->pair(true).leftTableArrayController();
    int advance = -1;
    for (std::size_t i = 0; i < rows.arrangedCount(); ++i)
        if (std::dynamic_pointer_cast<CDebetItem>(rows.arrangedObjectAt(i))->parentTransaction()->getName() ==
            "Advance")
            advance = int(i);
    ASSERT_GE(advance, 0) << "the booking is listed beside the invoices";
    owners->pair(true).leftTable()->selectRow(advance);
    const std::vector<std::string> before = listBooks(*books().accounting());

    doubleClickSelectedRow(owners->pair(true).leftTable());
    ASSERT_FALSE(owners->invoiceSheet() && owners->invoiceSheet()->isVisible()) << "it would be booked as an invoice";
    auto* sheet = dynamic_cast<CCreateTransactionPopupController*>(window().books().lastSheet());
    ASSERT_TRUE(sheet && sheet->isVisible());
    finishSheet(*sheet);

    EXPECT_EQ(listBooks(*books().accounting()), before);
}

} // namespace
} // namespace ch
