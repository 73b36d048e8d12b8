// Review pictures of the import page: a statement whose counter accounts the
// books do not know, as it arrives, and after one line is finished in its
// table cells (the counter account's list open on another line).

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>

#include <fstream>

#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/app_test_steps.h"
#include "business/BusinessDefaults.h"
#include "document/MyDocument.h"
#include "document/app/GXApplicationDelegate.h"
#include "import/CImpTItem.h"
#include "import/views/CImportedTransactionArrayController.h"
#include "import/views/ColumnDragging.h"
#include "import/views/ImportPage.h"
#include "import/views/fileImportAssistantWindowController.h"
#include "model/CAccount.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/qt_dispatcher.h"
#include "review_support.h"
#include "ui/DocumentWindowFrame.h"

namespace {

using namespace ch;
using test::makeAccount;

const std::string kStatement = test::ofxStatement(
    "<OFX><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STMTRS><CURDEF>EUR\n"
    "<BANKACCTFROM><BANKID>111<ACCTID>111-2223334-55<ACCTTYPE>CHECKING</BANKACCTFROM>\n"
    "<BANKTRANLIST><DTSTART>20250901<DTEND>20250930\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250910<TRNAMT>-42.50<FITID>1<NAME>FM STORE 0412<MEMO>Food</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250912<TRNAMT>-800.00<FITID>2<NAME>RENT SEPTEMBER</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>CREDIT<DTPOSTED>20250915<TRNAMT>2500.00<FITID>3<NAME>ACME PAYROLL</STMTTRN>\n"
    "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250920<TRNAMT>-12.00<FITID>4<NAME>Corner Shop</STMTTRN>\n"
    "</BANKTRANLIST></STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n");

} // namespace

// Writes review-import-arrived.png, review-import-choosing.png and
// review-import-definition.png (the definition assistant's last page); the
// number of pictures that could not be written.
int reviewImportPage(const QString& output, ch::UserDefaults& defaults)
{
    GXApplicationDelegate::initialize(defaults);
    business::registerBusinessDefaults(defaults);
    defaults.set("GXShowNewDocumentAssistant", Value(false));
    QTemporaryDir folder;
    QtDispatcher dispatcher;
    DocumentController controller(defaults, dispatcher);
    controller.setUntitledJournalFolder(folder.path().toStdString());
    const QString statement = folder.filePath("september.ofx");
    std::ofstream(statement.toStdString(), std::ios::binary) << kStatement;
    controller.setStatementChooser(
        [statement](QWidget*, const QString&, const QStringList&) { return std::optional<QString>(statement); });

    DocumentWindow& window = controller.makeNewDocument(false);
    window.frame()->resize(1280, 800);
    review::settle();
    MyDocument& books = window.document();
    makeAccount(books, "Checking", 1, "111-2223334-55");
    makeAccount(books, "Fresh Market", 3, nullptr);
    makeAccount(books, "Landlord", 3, nullptr);
    makeAccount(books, "Corner Shop", 3, nullptr);
    for (QAction* action : window.frame()->findChildren<QAction*>("importOFX")) action->trigger();
    review::settle();
    auto* page = dynamic_cast<ImportPage*>(window.frame()->mainTab("Import"));
    if (!page) return 2;
    window.frame()->showMainTab("Import");
    review::settle();
    int failures = !review::save(*window.frame(), output, "review-import-arrived.png");

    using Columns = CImportedTransactionArrayController;
    QTableView* table = page->table();
    page->model().setData(page->model().index(0, Columns::CounterAccount),
                          QVariant::fromValue(qlonglong(books.getAccountForName("Fresh Market")->Get_Id())));
    const QModelIndex cell = page->model().index(1, Columns::CounterAccount);
    table->setCurrentIndex(cell);
    table->edit(cell);
    review::settle();
    if (auto* box = table->viewport()->findChild<QComboBox*>("importLineChoice")) box->showPopup();
    review::settle();
    failures += !review::save(*window.frame(), output, "review-import-choosing.png");

    // The definition assistant's last page: the definition in words.
    const QString example = folder.filePath("march.csv");
    std::ofstream(example.toStdString(), std::ios::binary)
        << "Account;Date;Amount;Counterparty;Name;Text\r\n"
           "111-1111111-11;02.03.2009;-12,00;222-2222222-22;Shop North;bread\r\n"
           "111-1111111-11;03.03.2009;-45,80;333-3333333-33;Petrol Station Ring Road;fuel card 0412\r\n"
           "111-1111111-11;05.03.2009;2.500,00;444-4444444-44;ACME Payroll;salary March\r\n"
           "111-1111111-11;09.03.2009;-800,00;555-5555555-55;Mr Fenwick;rent March flat 2\r\n";
    fileImportAssistantWindowController assistant(window.frame());
    assistant.setDefinitionFolder(folder.filePath("definitions").toStdString());
    assistant.begin(window.frame(), [](int) {});
    assistant.findChild<QLineEdit*>("exampleFileField")->setText(example);
    assistant.goNext();
    assistant.findChild<QSpinBox*>("numberOfLinesToSkipField")->setValue(1);
    assistant.findChild<QSpinBox*>("minNumberOfColumsField")->setValue(6);
    assistant.goNext();
    const std::pair<AssistantRole, const char*> roles[] = {
        {AssistantRole::OwnAccountNumber, "COL0"}, {AssistantRole::BookingDate, "COL1"},
        {AssistantRole::Amount, "COL2"},           {AssistantRole::CounterpartyAccountNumber, "COL3"},
        {AssistantRole::CounterpartyName, "COL4"}, {AssistantRole::Communication, "COL5"}};
    for (const auto& [role, column] : roles) assistant.roleField(role)->addToken(QString::fromLatin1(column));
    assistant.findChild<QLineEdit*>("dateFormatField")->setText("dd.MM.yyyy");
    review::settle();
    // The columns page: the file's columns above the roles they are given.
    failures += !review::save(assistant, output, "review-import-definition-columns.png");
    assistant.goNext();
    review::settle();
    failures += !review::save(assistant, output, "review-import-definition.png");
    assistant.close();
    return failures;
}
