// The review's pictures of a small business's books: the VAT listing of a
// period on its page and as printed (pages 1 and 2, on the printer's own
// layout), the currencies page with the lines of a dollar account, the
// owner sheet of an owner linked to a contact, and the own-property pie with
// two small slices.

#include <QCoreApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QPageLayout>
#include <QPrinter>
#include <QTableView>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "analysis/views/CReportPrintView.h"
#include "analysis/views/CReportView.h"
#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/app_test_steps.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CCurRItem.h"
#include "business/BusinessOfDocument.h"
#include "business/InvoiceArguments.h"
#include "business/VATPeriods.h"
#include "business/VATRateArguments.h"
#include "business/views/GXBusinessSetupViewController.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CAcoWArguments.h"
#include "document/arguments/CurrencyArguments.h"
#include "model/foundation/CDate.h"
#include "platform/core/contacts_provider.h"
#include "platform/core/localized_strings.h"
#include "review_support.h"
#include "ui/CSideBarController.h"
#include "ui/CSideBarView.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/V2SplitLayout.h"
#include "ui/pages/GXCurrencyTableViewController.h"
#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch::review {

int reviewBusinessDay(const ReviewContext& context)
{
    int failures = 0;
    QTemporaryDir folder;
    const std::filesystem::path cards(folder.filePath("contacts").toStdString());
    std::filesystem::create_directories(cards);
    // A card written without UID, as many address books write them.
    std::ofstream(cards / "bolt.vcf", std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nFN:Bolt Supplies Ltd\r\nORG:Bolt Supplies Ltd\r\n"
           "TEL;TYPE=work:+44 20 7946 0000\r\nADR;TYPE=work:;;1 Dock Road;London;;E16 1AA;United Kingdom\r\n"
           "END:VCARD\r\n";
    VCardFolderContacts contacts(cards);

    DocumentWindow& window = context.controller.makeNewDocument(false);
    settle();
    DocumentWindowFrame* frame = window.frame();
    if (!frame) return 1;
    frame->resize(1280, 800);
    frame->show();
    MyDocument& books = window.document();
    books.setContacts(&contacts);

    // Own property: a large account and two small ones.
    test::makeAccount(books, "Business Current", 1, nullptr, 18250.0);
    test::makeAccount(books, "Petty Cash", 1, nullptr, 42.0);
    test::makeAccount(books, "Stamp Float", 1, nullptr, 35.0);

    // A rate, a customer and a quarter of invoices, booked out of date order.
    arguments::VATRateArguments standard;
    standard.name = "Standard";
    standard.rate = 21.0;
    books.commandExecutor().executeCommand(33, nullptr, standard);
    arguments::CAcoWArguments customer;
    customer.name = "Harbour Ltd";
    customer.VATNr = "BE0123456749";
    customer.createCustomerOpenInvoices = true;
    const long customerId = books.commandExecutor().executeCommand(26, nullptr, customer);
    auto* business = dynamic_cast<business::BusinessOfDocument*>(books.business());
    const auto period = business ? business::VATPeriodAtDate(*business, CDate::GetNowAsDateT()) : nullptr;
    if (!business || !period || business->businessArrays().VATRateArray.empty()) return failures + 1;
    const DateT first = static_cast<DateT>(*period->startDate());
    int number = 0;
    for (DateT day : {19, 4, 25, 11, 2, 27, 8, 15}) {
        arguments::InvoiceArguments invoice;
        invoice.invoiceName = "Consulting";
        invoice.thirdPartyId = customerId;
        invoice.invoiceNumber = "Q-" + std::to_string(++number);
        invoice.invoiceDate = first + day;
        invoice.dueDate = first + day;
        invoice.amountWithoutVAT = 250.0 * number;
        invoice.firstVATRateId = long(*business->businessArrays().VATRateArray.front()->idKey());
        books.commandExecutor().executeCommand(38, nullptr, invoice);
    }

    // A dollar account and a booking in it.
    arguments::CurrencyArguments dollar;
    dollar.actionToPerform = 1;
    dollar.symbol = "USD";
    dollar.description = "US dollar";
    dollar.conversionQuantity = 1;
    dollar.conversionFactor = 0.91;
    books.commandExecutor().executeCommand(6, nullptr, dollar);
    std::shared_ptr<CCurRItem> usd;
    for (const auto& currency : books.mCurrencyArray())
        if (currency->mShortName() == "USD") usd = currency;
    if (usd) {
        arguments::AccountArguments account(-1, std::string("Dollar Account"), std::string(), 1, *usd->getId(),
                                            std::nullopt, std::nullopt, std::nullopt, std::nullopt, 100.0, 500.0);
        const long dollars = books.commandExecutor().executeCommand(13, nullptr, account);
        const long shop = test::makeAccount(books, "Airline", 3);
        test::bookTransaction(books, dollars, shop, test::makeExpenseCategory(books, "Travel"), 182.0, "Flight",
                              first + 6);
    }
    settle();

    // The listing of the period, and as printed on the printer's layout.
    if (auto* setup = dynamic_cast<business::GXBusinessSetupViewController*>(
            selectRow(*frame, localized("VATPERIODTITLE"), 2))) {
        setup->selectVATPeriod(period.get());
        settle();
        failures += !save(*frame, context.output, "day-vat-listing.png");
        const auto contents = setup->VATReportView() ? setup->VATReportView()->mReportContents() : nullptr;
        QPrinter printer(QPrinter::HighResolution);
        for (unsigned page : {1u, 2u}) {
            const QImage printed = renderReportPage(contents, printer.pageLayout(), page, 1.5);
            failures += !save(QPixmap::fromImage(printed), context.output,
                              QStringLiteral("day-vat-listing-printed-page%1.png").arg(page));
        }
    } else {
        ++failures;
    }

    // The currencies page on the dollar.
    if (auto* page = dynamic_cast<GXCurrencyTableViewController*>(selectRow(*frame, localized("CURRENCYBUTTON"), 1));
        page && usd) {
        if (const auto row = page->controller().arrangedRowOf(usd.get())) page->table()->selectRow(int(*row));
        settle();
        failures += !save(*frame, context.output, "day-currencies.png");
    } else {
        ++failures;
    }

    // The own-property pie of the side bar.
    selectRow(*frame, localized("OwnProperty"), -1);
    settle();
    failures += !save(*frame->v2Layout().sideBarView(), context.output, "day-own-property-pie.png");

    // The owner made from the card without UID, in its sheet.
    arguments::CAcoWArguments fromCard;
    fromCard.UID = "file:bolt.vcf";
    books.commandExecutor().executeCommand(26, nullptr, fromCard);
    if (const auto owner = books.getAccountOwnerForUID("file:bolt.vcf")) {
        window.books().modifyObject(owner);
        settle();
        if (CPopupWindowAncestor* sheet = window.books().lastSheet(); sheet && sheet->isVisible()) {
            failures += !save(*sheet, context.output, "day-owner-sheet-from-contact.png");
            sheet->reject();
        } else {
            ++failures;
        }
    } else {
        ++failures;
    }

    closeBooks(context, window);
    return failures;
}

} // namespace ch::review
