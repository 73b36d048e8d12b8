// An owner made with New Owner from Contacts from a card that carries no
// UID, as many address books write them: it is linked, shows so, and
// follows the card on disk, while the picker is open and after the books are
// opened again.

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "../ui/sheets/sheet_test_support.h"
#include "app_test_steps.h"
#include "bridge/CAcoWItem.h"
#include "business/views/GXOwnerViewController.h"
#include "business/views/OwnerContactsSynchronizer.h"
#include "document/MyDocument.h"
#include "document/arguments/CAcoWArguments.h"
#include "ui/DocumentWindowFrame.h"
#include "platform/core/contacts_provider.h"
#include "platform/core/localized_strings.h"
#include "ui/CSideBarController.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch {
namespace {

using namespace ch::test;
using Owners = business::GXOwnerViewController;

constexpr const char* kIdentity = "file:bolt.vcf";

std::string boltCard(const char* phone)
{
    return std::string("BEGIN:VCARD\r\nVERSION:3.0\r\nN:;;;;\r\nFN:Bolt Supplies Ltd\r\nORG:Bolt Supplies Ltd\r\n"
                       "TEL;TYPE=work:") +
           phone + "\r\nEND:VCARD\r\n";
}

class ContactWithoutUIDTest : public ApplicationFixture {
protected:
    ContactWithoutUIDTest() { environment.defaults().set("GXShowNewDocumentAssistant", Value(false)); }

    std::filesystem::path cards() const { return desktopContacts.folder(); }
    void writeCard(const char* phone)
    {
        std::filesystem::create_directories(cards());
        std::ofstream(cards() / "bolt.vcf", std::ios::trunc | std::ios::binary) << boltCard(phone);
    }

    // New Owner from Contacts in the owners row's menu: the picker.
    CPopupWindowAncestor* openPicker()
    {
        showPage(localized("OWNERBUTTON"), 1);
        frame().v2Layout().sideBarView()->outline()->setFocus();
        chooseSideBarItem(CSideBarController::menuForNode(frame().sideBarController().currentItem().get()), 1118);
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        return sheet && sheet->isVisible() ? sheet : nullptr;
    }

    // The window follows the contacts without its delay.
    void followAtOnce()
    {
        for (auto* follower : frame().sideBarController().findChildren<business::OwnerContactsSynchronizer*>())
            follower->setDelay(0);
    }
};

TEST_F(ContactWithoutUIDTest, AnOwnerFromACardWithoutUIDIsLinkedAndFollowsTheCard)
{
    writeCard("+44 20 7946 0000");
    ASSERT_TRUE(desktopContacts.reload());
    controller.makeNewDocument(false);
    settle();
    followAtOnce();

    CPopupWindowAncestor* sheet = openPicker();
    ASSERT_NE(sheet, nullptr);
    auto* picker = sheet->findChild<QTableWidget*>("peoplePicker");
    ASSERT_TRUE(picker && picker->rowCount() == 1);
    EXPECT_EQ(picker->item(0, 0)->text(), QStringLiteral("Bolt Supplies Ltd"));
    EXPECT_EQ(picker->item(0, 1)->text(), QStringLiteral("Bolt Supplies Ltd")) << "the card's company";
    QTest::mouseClick(picker->viewport(), Qt::LeftButton, {}, picker->visualItemRect(picker->item(0, 0)).center());
    click(*sheet, "OKButton");
    settle();
    ASSERT_FALSE(sheet->isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    const auto owner = books().getAccountOwnerForUID(kIdentity);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner->phone(), "+44 20 7946 0000");

    // The owners table marks it as linked to a contact.
    auto* page = showPage<Owners>(localized("OWNERBUTTON"), 1);
    ASSERT_NE(page, nullptr);
    const auto row = page->ownerController(Owners::Tab::Owners).arrangedRowOf(owner.get());
    ASSERT_TRUE(row);
    QTableView* owners = page->ownerTable(Owners::Tab::Owners);
    EXPECT_FALSE(owners->model()->index(int(*row), 1).data().toString().isEmpty()) << "the Contact column";

    // The card changed on disk reaches the owner when the picker opens.
    writeCard("+44 20 7946 1111");
    sheet = openPicker();
    ASSERT_NE(sheet, nullptr);
    click(*sheet, "CancelButton");
    settle();
    QTRY_COMPARE(QString::fromStdString(owner->phone().value_or("")), QStringLiteral("+44 20 7946 1111"));

    // Changed while the books are closed: it reaches the owner when they
    // are opened again.
    booksPath = folder.filePath("Bolt.books");
    ASSERT_TRUE(controller.saveAs(window()));
    controller.discard(window());
    settle();
    writeCard("+44 20 7946 2222");
    ASSERT_TRUE(desktopContacts.reload());
    ASSERT_TRUE(controller.openDocumentFile(booksPath.toStdString()));
    settle();
    const auto reopened = books().getAccountOwnerForUID(kIdentity);
    ASSERT_NE(reopened, nullptr);
    QTRY_COMPARE(QString::fromStdString(reopened->phone().value_or("")), QStringLiteral("+44 20 7946 2222"));
    EXPECT_TRUE(books().isDocumentEdited());
}

// The owner sheet of a linked owner says in full which fields come from the
// contact.
TEST_F(ContactWithoutUIDTest, TheOwnerSheetsNoteOnTheContactShowsWhole)
{
    writeCard("+44 20 7946 0000");
    ASSERT_TRUE(desktopContacts.reload());
    controller.makeNewDocument(false);
    settle();
    arguments::CAcoWArguments fromCard;
    fromCard.UID = kIdentity;
    books().commandExecutor().executeCommand(26, nullptr, fromCard);
    const auto owner = books().getAccountOwnerForUID(kIdentity);
    ASSERT_NE(owner, nullptr);
    window().books().modifyObject(owner);
    settle();
    CPopupWindowAncestor* sheet = window().books().lastSheet();
    ASSERT_TRUE(sheet && sheet->isVisible());
    auto* note = sheet->findChild<QLabel*>("fromContactNote");
    ASSERT_TRUE(note && note->isVisible());
    EXPECT_NE(note->text().toStdString().find("categories are this sheet's"), std::string::npos);
    // Tall enough for every line of its text at its width.
    EXPECT_GE(note->height(), note->heightForWidth(note->width()));
    EXPECT_GE(note->geometry().bottom(), 0);
    click(*sheet, "CancelButton");
    settle();
}

} // namespace
} // namespace ch
