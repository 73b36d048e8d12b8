// The review's pictures of a few ways into the books: the export sheet as
// File > Export Transactions… opens it over a chosen account, the new-owner
// sheet on the people of the contacts, the VAT periods with the choice of
// their length, and the accounts' figures on their balance bar.

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QItemSelectionModel>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/app_test_steps.h"
#include "business/VATRateArguments.h"
#include "business/views/GXBusinessSetupViewController.h"
#include "document/MyDocument.h"
#include "document/arguments/CategoryParameters.h"
#include "platform/core/contacts_provider.h"
#include "platform/core/localized_strings.h"
#include "review_support.h"
#include "ui/CSideBarController.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/pages/AccountCategoryPage.h"
#include "ui/side_bar_rows.h"
#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch::review {

namespace {

constexpr const char* kCards[] = {
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:PEETERS-0001\r\nN:Peeters;Jan;;;\r\nORG:Peeters Bouw\r\n"
    "ADR;TYPE=work:;;Meir 1;Antwerpen;;2000;Belgium\r\nEND:VCARD\r\n",
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:LEMAIRE-0002\r\nN:Lemaire;Sophie;;;\r\n"
    "ADR;TYPE=home:;;Rue Haute 5;Namur;;5000;Belgium\r\nEND:VCARD\r\n",
    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:HARBOUR-0003\r\nORG:Harbour Ltd\r\nX-ABShowAs:COMPANY\r\n"
    "ADR;TYPE=work:;;12 Quay Street;Bristol;;BS1 4DJ;United Kingdom\r\nEND:VCARD\r\n",
};

} // namespace

GXSideBarControlledViewAncestor* selectRow(DocumentWindowFrame& frame, const std::string& title, int level)
{
    frame.showMainTab("V2");
    CSideBarController& sideBar = frame.sideBarController();
    const QModelIndex row = test::openAndFindSideBarRow(sideBar.outlineModel(), title, level);
    if (!row.isValid()) return nullptr;
    sideBar.selectionModel().select(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    settle();
    return sideBar.currentController();
}

int reviewWaysIn(const ReviewContext& context)
{
    int failures = 0;
    QTemporaryDir folder;
    const std::filesystem::path cards(folder.filePath("contacts").toStdString());
    std::filesystem::create_directories(cards);
    int number = 0;
    for (const char* card : kCards)
        std::ofstream(cards / ("card" + std::to_string(++number) + ".vcf"), std::ios::binary) << card;
    VCardFolderContacts contacts(cards);

    DocumentWindow& window = context.controller.makeNewDocument(false);
    settle();
    DocumentWindowFrame* frame = window.frame();
    if (!frame) return 1;
    frame->resize(1280, 800);
    frame->show();
    MyDocument& books = window.document();
    books.setContacts(&contacts);
    const long checking = test::makeAccount(books, "Checking Account", 1, nullptr, 1250.0);
    const long shop = test::makeAccount(books, "Corner Shop", 3);
    arguments::CategoryParameters groceries;
    groceries.name = "Groceries";
    groceries.mParentId = 1;
    groceries.mMasterTypeId = 1;
    const long category = books.commandExecutor().executeCommand(15, nullptr, groceries);
    test::bookTransaction(books, checking, shop, category, 42.30, "Weekly shopping", 20250805);
    arguments::VATRateArguments standard;
    standard.name = "Standard";
    standard.rate = 21.0;
    books.commandExecutor().executeCommand(33, nullptr, standard);
    settle();

    // The accounts with their balance bar, then the export over the account.
    if (auto* page = dynamic_cast<AccountCategoryPage*>(selectRow(*frame, localized("OwnProperty"), -1))) {
        page->selectUpperItem(books.getAccountItemForId(static_cast<ObjectIdT>(checking)));
        settle();
        failures += !save(*frame, context.output, "ways-balance-bar.png");
    } else {
        ++failures;
    }
    window.books().exportTransactions(frame->sideBarController().deepCurrentItem());
    settle();
    if (CPopupWindowAncestor* sheet = window.books().lastSheet(); sheet && sheet->isVisible()) {
        failures += !save(*sheet, context.output, "ways-export-sheet.png");
        sheet->reject();
    } else {
        ++failures;
    }
    settle();

    // A new owner from the contacts, the second person picked.
    selectRow(*frame, localized("OWNERBUTTON"), 1);
    window.books().newAccountOwner(OpenDocument::kFromContactsSender);
    settle();
    if (CPopupWindowAncestor* sheet = window.books().lastSheet(); sheet && sheet->isVisible()) {
        if (auto* picker = sheet->findChild<QAbstractItemView*>("peoplePicker")) picker->selectionModel()->select(
            picker->model()->index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        settle();
        failures += !save(*sheet, context.output, "ways-owner-from-contacts.png");
        sheet->reject();
    } else {
        ++failures;
    }
    settle();

    // The VAT periods, their length open for a choice.
    if (auto* setup = dynamic_cast<business::GXBusinessSetupViewController*>(
            selectRow(*frame, localized("VATPERIODTITLE"), 2))) {
        if (auto* period = setup->VATPeriodTable(); period && period->rowCount() > 0) period->selectRow(0);
        settle();
        failures += !save(*frame, context.output, "ways-vat-periods.png");
    } else {
        ++failures;
    }

    closeBooks(context, window);
    return failures;
}

} // namespace ch::review
