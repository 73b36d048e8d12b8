// The application as a person uses it, offscreen: new books through the
// assistant, an account through its sheet, a transaction, Save As, Close,
// opening the file as the command line does, the "save changes?" question,
// and a password-protected file.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "../ui/sheets/sheet_test_support.h"
#include "../ui/ui_test_support.h"
#include "app_test_steps.h"
#include "bridge/ArgumentRecords.h"
#include "analysis/views/CReportingController.h"
#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/NewDocumentAssistantDialog.h"
#include "app/PasswordQuestion.h"
#include "app/RollForwardSheet.h"
#include "bridge/CBuDdItem.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessDefaults.h"
#include "document/DocumentFile.h"
#include "document/MyDocument.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/arguments/BudgetArguments.h"
#include "document/app/GXApplicationDelegate.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "model/CAccount.h"
#include "model/CAccountArray.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/ModelCodes.h"
#include "model/budget/BudgetTypes.h"
#include "platform/core/localized_strings.h"
#include "platform/gui/qt_alert_presenter.h"
#include "platform/gui/qt_dispatcher.h"
#include "ui/ApplicationShell.h"
#include "ui/DocumentWindowFrame.h"
#include "ui/GXAboutScreenController.h"
#include "ui/pages/CBudgetPageController.h"
#include "ui/sheets/CNewAccountController.h"
#include "ui/sheets/CNewOwnerController.h"

namespace ch {
namespace {

using namespace ch::test;

class ApplicationTest : public ::testing::Test {
protected:
    // Runs `work` in a child process, which then waits to be killed; answers
    // the child (negative when none) and the character `work` answered.
    static std::pair<pid_t, char> childThatWaits(const std::function<char()>& work)
    {
        int ready[2];
        if (::pipe(ready) != 0) return {-1, 0};
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            const char answer = work();
            (void)!::write(ready[1], &answer, 1);
            for (;;) ::pause();
        }
        ::close(ready[1]);
        char answer = 0;
        if (child > 0 && ::read(ready[0], &answer, 1) != 1) answer = 0;
        ::close(ready[0]);
        return {child, answer};
    }

    ApplicationTest()
    {
        setFirstStartDefaults(environment.defaults());
        controller.setUntitledJournalFolder(folder.path().toStdString());
        controller.setFileChooser([this](QWidget*, bool, const QString& suggested) -> std::optional<QString> {
            ++chooserCalls;
            suggestedPath = suggested;
            return chosenPath;
        });
        shell.setDocumentHost(&controller);
        QObject::connect(&controller, &DocumentController::documentsChanged, &shell,
                         &ApplicationShell::documentsChanged);
    }

    static void settle()
    {
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }

    DocumentWindow& onlyWindow()
    {
        EXPECT_EQ(controller.windows().size(), 1u);
        return *controller.windows().front();
    }

    void trigger(DocumentWindow& window, const char* action)
    {
        QAction* found = window.fileAction(QString::fromLatin1(action));
        ASSERT_NE(found, nullptr) << action;
        found->trigger();
        settle();
    }

    // Answers the open "save changes?" question with the button.
    void answer(const char* button)
    {
        QTRY_VERIFY(controller.openQuestion() != nullptr);
        QMessageBox* box = controller.openQuestion();
        EXPECT_EQ(box->objectName(), "saveChangesQuestion");
        auto* pushed = box->findChild<QPushButton*>(QString::fromLatin1(button));
        ASSERT_NE(pushed, nullptr) << button;
        QTest::mouseClick(pushed, Qt::LeftButton);
        settle();
    }

    void book(MyDocument& document, long from, long to, double amount, const std::string& name)
    {
        bookTransaction(document, from, to, document.get_mDefExpTUnspecifiedExpense(), amount, name, 20250910);
    }

    void addCategory(MyDocument& document, const std::string& name)
    {
        arguments::CategoryParameters values;
        values.name = name;
        values.mParentId = 1;
        values.mMasterTypeId = 1;
        document.commandExecutor().executeCommand(15, nullptr, values);
    }

    static RollForwardSheet* rollForwardSheet()
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* sheet = qobject_cast<RollForwardSheet*>(widget); sheet && sheet->isVisible()) return sheet;
        for (QWidget* widget : QApplication::allWidgets())
            if (auto* sheet = qobject_cast<RollForwardSheet*>(widget); sheet && sheet->isVisible()) return sheet;
        return nullptr;
    }

    // Saved books, then changes that only the journal holds (as after a crash).
    QString booksWithJournal(const char* name, const char* password)
    {
        const QString path = folder.filePath(QString::fromLatin1(name));
        DocumentWindow& window = controller.makeNewDocument(false);
        if (password) {
            window.document().mPreference()->setMPassword(std::string(password));
            window.document().mPreference()->setMPasswordYes(true);
        }
        chosenPath = path;
        EXPECT_TRUE(controller.saveAs(window));
        addCategory(window.document(), "Garden");
        addCategory(window.document(), "Pond");
        controller.discard(window);
        settle();
        return path;
    }

    bool anyBooksOnScreen() const
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<DocumentWindowFrame*>(widget) && widget->isVisible()) return true;
        return false;
    }

    UiEnvironment environment;
    QTemporaryDir folder;
    QtDispatcher dispatcher;
    DocumentController controller{environment.defaults(), dispatcher};
    ApplicationShell shell{environment.defaults(), dispatcher};
    std::optional<QString> chosenPath;
    int chooserCalls = 0;
    QString suggestedPath;
};

TEST_F(ApplicationTest, NewBooksThroughTheAssistantAreSavedClosedAndOpenedAgainFromTheCommandLine)
{
    ASSERT_TRUE(controller.windows().empty());
    // The start-up choice's "New Document".
    shell.delegate().sheetDidEnd(static_cast<int>(StartupChoice::NewDocument));
    DocumentWindow& window = onlyWindow();
    ASSERT_TRUE(window.booksShown());
    EXPECT_TRUE(window.frame()->windowTitle().startsWith("Untitled"));

    // The assistant: every page taken as proposed, the property account renamed.
    QTRY_VERIFY(controller.assistant() != nullptr);
    EXPECT_TRUE(window.document().assistantRunning());
    ASSERT_TRUE(finishAssistantNamingTheFirstAccount(controller, "Household Checking"));
    EXPECT_EQ(controller.assistant(), nullptr);
    MyDocument& books = window.document();
    // The renamed account took its place in the name order when the assistant ended.
    EXPECT_FALSE(books.assistantRunning());
    EXPECT_TRUE(books.accounting()->mAccountList->IsSorted());
    CAccount* checking = books.getAccountForName("Household Checking");
    ASSERT_NE(checking, nullptr);
    EXPECT_EQ(static_cast<long>(checking->Get_Id()), books.getDefaultOwnPropertyAccount());

    // An account through its sheet, then a transaction.
    window.books().initiateAccountCreationWithMasterType(1);
    settle();
    auto* sheet = dynamic_cast<CNewAccountController*>(window.books().lastSheet());
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(sheet->isVisible());
    typeInto(outlet(*sheet, "nameField"), "Cash box");
    click(*sheet, "OKButton");
    settle();
    CAccount* cash = books.getAccountForName("Cash box");
    ASSERT_NE(cash, nullptr);
    book(books, checking->Get_Id(), cash->Get_Id(), 120.0, "To the cash box");
    ASSERT_EQ(books.mTransactionArray().size(), 1u);
    EXPECT_TRUE(books.isDocumentEdited());

    // Save As, then Close: nothing to ask.
    const QString path = folder.filePath("Household.books");
    chosenPath = path;
    trigger(window, "saveAs");
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_FALSE(window.document().isDocumentEdited());
    EXPECT_TRUE(window.frame()->windowTitle().startsWith("Household.books"));
    trigger(window, "close");
    EXPECT_EQ(controller.openQuestion(), nullptr);
    EXPECT_TRUE(controller.windows().empty());

    // `countinghouse Household.books`: the same books.
    shell.launch({path});
    settle();
    DocumentWindow& reopened = onlyWindow();
    ASSERT_TRUE(reopened.booksShown());
    MyDocument& again = reopened.document();
    ASSERT_NE(again.getAccountForName("Household Checking"), nullptr);
    ASSERT_NE(again.getAccountForName("Cash box"), nullptr);
    ASSERT_EQ(again.mTransactionArray().size(), 1u);
    EXPECT_EQ(again.mTransactionArray().front()->getName(), "To the cash box");
    EXPECT_FALSE(again.isDocumentEdited());
    // One window per document: opening it again brings the same window forward.
    EXPECT_TRUE(controller.openDocumentFile(path.toStdString()));
    EXPECT_EQ(controller.windows().size(), 1u);

    // A change, then Close: asked; Cancel keeps it open, Don't Save loses
    // only what was not saved.
    addCategory(again, "Garden");
    ASSERT_TRUE(again.isDocumentEdited());
    trigger(reopened, "close");
    answer("cancel");
    ASSERT_EQ(controller.windows().size(), 1u);
    EXPECT_NE(controller.windows().front()->document().getExpenseTypeForName("Garden"), nullptr);
    trigger(reopened, "close");
    answer("dontSave");
    settle();
    EXPECT_TRUE(controller.windows().empty());

    ASSERT_TRUE(controller.openDocumentFile(path.toStdString()));
    MyDocument& third = onlyWindow().document();
    EXPECT_EQ(third.getExpenseTypeForName("Garden"), nullptr);
    EXPECT_NE(third.getAccountForName("Cash box"), nullptr);
    EXPECT_EQ(third.mTransactionArray().size(), 1u);
    EXPECT_EQ(controller.recentFiles().value(0), QFileInfo(path).canonicalFilePath());
}

TEST_F(ApplicationTest, ClosingAnUntitledChangedDocumentWithSaveAsksForItsFileFirst)
{
    DocumentWindow& window = controller.makeNewDocument(false);
    addCategory(window.document(), "Garden");
    chosenPath = std::nullopt;   // the save panel is cancelled: the window stays
    trigger(window, "close");
    answer("save");
    settle();
    EXPECT_EQ(chooserCalls, 1);
    ASSERT_EQ(controller.windows().size(), 1u);

    const QString path = folder.filePath("Garden");
    chosenPath = path;
    trigger(window, "close");
    answer("save");
    QTRY_VERIFY(controller.windows().empty());
    EXPECT_TRUE(QFileInfo::exists(path + ".books"));
}

TEST_F(ApplicationTest, AProtectedFileShowsNothingOfItsBooksBeforeTheRightPassword)
{
    const QString path = folder.filePath("Secret.books");
    {
        DocumentWindow& window = controller.makeNewDocument(false);
        window.document().mPreference()->setMPassword(std::string("Open Sesame"));
        window.document().mPreference()->setMPasswordYes(true);
        addCategory(window.document(), "Hidden treasure");
        chosenPath = path;
        ASSERT_TRUE(controller.saveAs(window));
        controller.discard(window);
        settle();
    }
    ASSERT_TRUE(controller.windows().empty());

    auto typePassword = [&](const char* typed) {
        PasswordQuestion* question = controller.passwordQuestion();
        ASSERT_NE(question, nullptr);
        question->passwordField()->setText(QString::fromLatin1(typed));
        click(*question, "OKButton");
        settle();
    };

    // A wrong password keeps the question open and the books out of sight;
    // Cancel closes the document without a question.
    ASSERT_TRUE(controller.openDocumentFile(path.toStdString()));
    settle();
    ASSERT_NE(controller.passwordQuestion(), nullptr);
    EXPECT_TRUE(controller.passwordQuestion()->isVisible());
    EXPECT_FALSE(onlyWindow().booksShown());
    EXPECT_FALSE(anyBooksOnScreen());
    auto* wrong = controller.passwordQuestion()->findChild<QLabel*>("wrongPasswordLabel");
    ASSERT_NE(wrong, nullptr);
    EXPECT_FALSE(wrong->isVisible());
    auto* notEncryption = controller.passwordQuestion()->findChild<QLabel*>("passwordNotEncryptionLabel");
    ASSERT_NE(notEncryption, nullptr);
    EXPECT_TRUE(notEncryption->isVisible());
    EXPECT_EQ(notEncryption->text().toStdString(), localized("PASSWORDNOTENCRYPTION"));
    typePassword("open sesame");
    ASSERT_NE(controller.passwordQuestion(), nullptr);
    EXPECT_TRUE(controller.passwordQuestion()->isVisible());
    EXPECT_FALSE(anyBooksOnScreen());
    // ... and says why.
    EXPECT_TRUE(wrong->isVisible());
    EXPECT_EQ(wrong->text().toStdString(), localized("PASSWORDWRONG"));
    EXPECT_TRUE(controller.passwordQuestion()->passwordField()->text().isEmpty());
    click(*controller.passwordQuestion(), "CancelButton");
    settle();
    EXPECT_TRUE(controller.windows().empty());
    EXPECT_EQ(controller.openQuestion(), nullptr);
    EXPECT_FALSE(anyBooksOnScreen());

    // The right one shows them.
    ASSERT_TRUE(controller.openDocumentFile(path.toStdString()));
    settle();
    typePassword("Open Sesame");
    QTRY_VERIFY(controller.passwordQuestion() == nullptr);
    DocumentWindow& shown = onlyWindow();
    EXPECT_TRUE(shown.booksShown());
    EXPECT_TRUE(anyBooksOnScreen());
    EXPECT_NE(shown.document().getExpenseTypeForName("Hidden treasure"), nullptr);
}

TEST_F(ApplicationTest, EveryDocumentWindowsHelpMenuOpensTheAboutWindow)
{
    // As the program wires it.
    QObject::connect(&controller, &DocumentController::aboutRequested, &shell, &ApplicationShell::doSplash);
    for (int i = 0; i < 2; ++i) {
        DocumentWindow& window = controller.makeNewDocument(false);
        trigger(window, "doSplash");
        ASSERT_NE(shell.aboutWindow(), nullptr) << i;
        EXPECT_TRUE(shell.aboutWindow()->isVisible()) << i;
        shell.aboutWindow()->hide();
    }
}

TEST_F(ApplicationTest, SeveralDocumentsOpenAtOnceEachRevertsToItsOwnFile)
{
    DocumentWindow& first = controller.makeNewDocument(false);
    DocumentWindow& second = controller.makeNewDocument(false);
    EXPECT_NE(first.frame(), second.frame());
    EXPECT_EQ(second.frame()->windowTitle().left(10), "Untitled 2");
    chosenPath = folder.filePath("First.books");
    ASSERT_TRUE(controller.saveAs(first));
    chosenPath = folder.filePath("Second.books");
    addCategory(second.document(), "Kept");
    ASSERT_TRUE(controller.saveAs(second));

    addCategory(first.document(), "Thrown away");
    addCategory(second.document(), "Also kept");
    trigger(first, "revert");
    QTRY_VERIFY(controller.openQuestion() != nullptr);
    EXPECT_EQ(controller.openQuestion()->objectName(), "revertQuestion");
    QTest::mouseClick(controller.openQuestion()->findChild<QPushButton*>("revert"), Qt::LeftButton);
    settle();
    EXPECT_EQ(first.document().getExpenseTypeForName("Thrown away"), nullptr);
    EXPECT_FALSE(first.document().isDocumentEdited());
    EXPECT_NE(second.document().getExpenseTypeForName("Also kept"), nullptr);
    EXPECT_TRUE(second.document().isDocumentEdited());
    EXPECT_EQ(controller.windows().size(), 2u);
}

TEST_F(ApplicationTest, ChangesLeftInTheJournalAreOfferedInASheetOnTheWindowWithEntriesToLeaveOut)
{
    const QString path = booksWithJournal("Crashed.books", nullptr);
    ASSERT_TRUE(controller.openDocumentFile(path.toStdString()));
    QTRY_VERIFY(rollForwardSheet() != nullptr);
    RollForwardSheet* sheet = rollForwardSheet();
    DocumentWindow& window = onlyWindow();
    EXPECT_EQ(sheet->parentWidget(), window.frame());
    EXPECT_TRUE(sheet->isModal() || sheet->windowModality() == Qt::WindowModal);
    ASSERT_EQ(sheet->entriesTable()->rowCount(), 2);
    EXPECT_EQ(sheet->entriesTable()->item(1, 2)->text(), "Pond");
    // The change is told in words, not by its short code.
    const QString change = sheet->entriesTable()->item(1, 1)->text();
    EXPECT_EQ(change.toStdString(), localized("ROLLFORWARDCOMMAND15"));
    EXPECT_NE(change, "Catr+");
    sheet->entriesTable()->item(1, 0)->setCheckState(Qt::Checked);   // leave the pond out
    click(*sheet, "replayButton");
    settle();
    EXPECT_NE(window.document().getExpenseTypeForName("Garden"), nullptr);
    EXPECT_EQ(window.document().getExpenseTypeForName("Pond"), nullptr);
    EXPECT_TRUE(window.document().isDocumentEdited());
}

// A run killed after it made a budget and changed a line of it: the books
// opened again replay both, and the Budgets page lists the budget made.
TEST_F(ApplicationTest, ABudgetEditOfAKilledRunIsReplayedAndTheBudgetsPageListsIt)
{
    const QString path = folder.filePath("Killed.books");
    {
        DocumentWindow& window = controller.makeNewDocument(false);
        // Last year's spending the budget is made from.
        bookTransaction(window.document(), 4, 3, window.document().get_mDefExpTUnspecifiedExpense(), 40.0, "Bakery",
                        20240910);
        chosenPath = path;
        ASSERT_TRUE(controller.saveAs(window));
        controller.discard(window);
        settle();
    }
    const auto [child, answer] = childThatWaits([&] {
        // The killed run: the books without a window, changed through the
        // commands and held open until the kill.
        MyDocument& books = *new MyDocument(dispatcher);
        char reached = readFromFile(books, path.toStdString()).ok() ? 'm' : 'r';
        arguments::NewBudgetArguments made;
        made.name = "Plan";
        made.base = budget_base::kLastYear;
        made.period = budget_period::kCurrentYear;
        if (reached == 'm' && books.commandExecutor().executeCommand(kNewBudgetCommand, nullptr, made) > 0) reached = 'l';
        std::shared_ptr<CBuDdItem> line =
            reached == 'l' ? books.mBudgetArray().back()->getDetailForType(type::kExpenseType,
                                                                           books.get_mDefExpTUnspecifiedExpense())
                          : nullptr;
        // September's planned movement of the category to 1200.
        if (line && books.commandExecutor().executeCommand(
                        0, line, arguments::ModifyBudgetDetailArguments(1200.0, 0, 0, 0, "", false, 8)) == 1)
            reached = '1';
        return reached;
    });
    ASSERT_GE(child, 0);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    ASSERT_EQ(answer, '1') << "the killed run made its changes";

    ASSERT_TRUE(controller.openDocumentFile(path.toStdString()));
    QTRY_VERIFY(rollForwardSheet() != nullptr);
    ASSERT_EQ(rollForwardSheet()->entriesTable()->rowCount(), 2);
    EXPECT_NE(rollForwardSheet()->entriesTable()->item(1, 2)->text(), "Name");
    click(*rollForwardSheet(), "replayButton");
    settle();
    MyDocument& books = onlyWindow().document();
    EXPECT_TRUE(books.commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(books.commandExecutor().lastReplayReport());
    ASSERT_EQ(books.mBudgetArray().size(), 1u);
    std::shared_ptr<CBuDdItem> line =
        books.mBudgetArray().front()->getDetailForType(type::kExpenseType, books.get_mDefExpTUnspecifiedExpense());
    ASSERT_NE(line, nullptr);
    EXPECT_DOUBLE_EQ(std::fabs(line->getBudgettedAmountWithType(budget_item::kBudgetIn, 8).value_or(0)), 1200.0);

    DocumentWindowFrame& frame = *onlyWindow().frame();
    frame.showMainTab("budg");
    settle();
    auto* budgets = dynamic_cast<CBudgetPageController*>(frame.mainTab("budg"));
    ASSERT_NE(budgets, nullptr);
    EXPECT_GT(budgets->yearMenu()->count(), 0);
    EXPECT_EQ(budgets->budgetSelectionMenu()->currentText(), "Plan");
}

// Books open in another running instance: opening them here says so, opens
// nothing and never offers that instance's live journal; once it has ended
// (killed), its journal is offered.
TEST_F(ApplicationTest, BooksOpenInAnotherInstanceAreRefusedWithoutOfferingItsJournal)
{
    const QString path = booksWithJournal("Shared.books", nullptr);
    // The window closed here is gone before the other instance starts.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const auto [child, answer] = childThatWaits([&] {
        // The other instance: the books open, and held open until the kill.
        MyDocument& books = *new MyDocument(dispatcher);
        return readFromFile(books, path.toStdString()).ok() ? '1' : '0';
    });
    ASSERT_GE(child, 0);
    ASSERT_EQ(answer, '1') << "the other instance opened the books";

    environment.alerts().clear();
    EXPECT_FALSE(controller.openDocumentFile(path.toStdString()));
    QTest::qWait(400);   // well past the offer's delay
    EXPECT_EQ(rollForwardSheet(), nullptr);
    EXPECT_TRUE(controller.windows().empty());
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{337});

    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(controller.openDocumentFile(path.toStdString()));
    QTRY_VERIFY(rollForwardSheet() != nullptr);
    EXPECT_EQ(rollForwardSheet()->entriesTable()->rowCount(), 2);
}

TEST_F(ApplicationTest, ThePasswordComesBeforeTheRollForwardOffer)
{
    const QString path = booksWithJournal("Locked.books", "pw");
    ASSERT_TRUE(controller.openDocumentFile(path.toStdString()));
    ASSERT_NE(controller.passwordQuestion(), nullptr);
    QTest::qWait(400);   // well past the offer's delay
    EXPECT_EQ(rollForwardSheet(), nullptr);
    EXPECT_FALSE(anyBooksOnScreen());
    controller.passwordQuestion()->passwordField()->setText("pw");
    click(*controller.passwordQuestion(), "OKButton");
    QTRY_VERIFY(rollForwardSheet() != nullptr);
    EXPECT_TRUE(anyBooksOnScreen());
    EXPECT_EQ(rollForwardSheet()->entriesTable()->rowCount(), 2);
}

TEST_F(ApplicationTest, DontSaveDiscardsTheJournalOfTheChangesItThrewAway)
{
    const QString path = booksWithJournal("Discarded.books", nullptr);
    ASSERT_TRUE(controller.openDocumentFile(path.toStdString()));
    QTRY_VERIFY(rollForwardSheet() != nullptr);
    click(*rollForwardSheet(), "replayButton");
    settle();
    trigger(onlyWindow(), "close");
    answer("dontSave");
    ASSERT_TRUE(controller.windows().empty());

    ASSERT_TRUE(controller.openDocumentFile(path.toStdString()));
    QTest::qWait(400);
    EXPECT_EQ(rollForwardSheet(), nullptr);
    EXPECT_EQ(onlyWindow().document().getExpenseTypeForName("Garden"), nullptr);
}

TEST_F(ApplicationTest, TheWindowModifiesAnAccountInItsSheetAndMakesANewOwnerInTheOwnerSheet)
{
    DocumentWindow& window = controller.makeNewDocument(false);
    MyDocument& books = window.document();
    window.books().initiateAccountCreationWithMasterType(1);
    settle();
    auto* made = dynamic_cast<CNewAccountController*>(window.books().lastSheet());
    ASSERT_NE(made, nullptr);
    typeInto(outlet(*made, "nameField"), "Cash box");
    click(*made, "OKButton");
    settle();
    CAccount* cash = books.getAccountForName("Cash box");
    ASSERT_NE(cash, nullptr);

    // Modifying renames the account in place: a new one would leave the old name.
    window.books().modifyObject(books.dataItemController().accountItemForAccount(cash));
    settle();
    auto* sheet = dynamic_cast<CNewAccountController*>(window.books().lastSheet());
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(sheet->isVisible());
    EXPECT_EQ(outlet<QLineEdit>(*sheet, "nameField")->text(), "Cash box");
    typeInto(outlet(*sheet, "nameField"), "Petty cash");
    click(*sheet, "OKButton");
    settle();
    EXPECT_EQ(books.getAccountForName("Cash box"), nullptr);
    ASSERT_EQ(books.getAccountForName("Petty cash"), cash);

    const std::size_t owners = books.mOwnerArray().size();
    window.books().newAccountOwner(1101);
    settle();
    auto* ownerSheet = dynamic_cast<CNewOwnerController*>(window.books().lastSheet());
    ASSERT_NE(ownerSheet, nullptr);
    ASSERT_TRUE(ownerSheet->isVisible());
    typeInto(outlet(*ownerSheet, "nameField"), "Peeters");
    click(*ownerSheet, "OKButton");
    settle();
    EXPECT_EQ(books.mOwnerArray().size(), owners + 1);
    EXPECT_NE(books.getAccountOwnerForName("Peeters"), nullptr);
}

// Damage found while books are read is told on their own window, once it
// shows: not on the window that was active (another document's) nor under the
// new window.
TEST_F(ApplicationTest, DamageFoundWhileOpeningIsToldOnTheOpenedBooksWindow)
{
    DocumentWindow& first = controller.makeNewDocument(false);
    MyDocument& books = first.document();
    const long savings = makeAccount(books, "Savings", 1);
    book(books, savings, makeAccount(books, "Corner Shop", 3), 42.0, "Bread");
    const QString saved = folder.filePath("Saved.books");
    chosenPath = saved;
    trigger(first, "saveAs");

    // One byte of the account's id changed, in a copy of the file.
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    QByteArray record("AcnT");
    for (const std::uint32_t value : {std::uint32_t(savings), std::uint32_t(7)})
        for (int shift = 24; shift >= 0; shift -= 8) record.append(char(value >> shift));
    record.append("Savings");
    const qsizetype at = bytes.indexOf(record);
    ASSERT_GE(at, 0);
    bytes[at + 5] = char(bytes[at + 5] ^ 0x10);
    const QString damaged = folder.filePath("Damaged.books");
    QFile copy(damaged);
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.write(bytes);
    copy.close();

    QtAlertPresenter boxes;
    ScopedAlertPresenter shown(boxes);
    first.frame()->activateWindow();
    settle();
    chosenPath = damaged;
    trigger(first, "open");
    ASSERT_EQ(controller.windows().size(), 2u);
    DocumentWindow& opened = *controller.windows().back();
    ASSERT_TRUE(opened.booksShown());
    const auto told = [](QWidget* window) {
        QStringList texts;
        for (QMessageBox* box : window->findChildren<QMessageBox*>())
            if (box->isVisible()) texts << box->text();
        return texts;
    };
    const QStringList onOpened = told(opened.frame());
    ASSERT_EQ(onOpened.size(), 1);
    EXPECT_TRUE(onOpened.front().contains("damaged")) << onOpened.front().toStdString();
    EXPECT_TRUE(told(first.frame()).isEmpty());
    for (QMessageBox* box : opened.frame()->findChildren<QMessageBox*>()) box->close();
    settle();

    // Save goes to Save As, which offers a name beside the file that no file has.
    QFile(folder.filePath("Damaged (2).books")).open(QIODevice::WriteOnly);
    chosenPath.reset();
    trigger(opened, "save");
    EXPECT_EQ(suggestedPath.toStdString(), folder.filePath("Damaged (3).books").toStdString());
    chosenPath = suggestedPath;
    trigger(opened, "save");
    EXPECT_TRUE(QFileInfo::exists(folder.filePath("Damaged (3).books")));
    EXPECT_EQ(opened.document().fileName(), folder.filePath("Damaged (3).books").toStdString());
    QFile unchanged(damaged);
    ASSERT_TRUE(unchanged.open(QIODevice::ReadOnly));
    EXPECT_EQ(unchanged.readAll(), bytes) << "the damaged file stays as it was";
}

TEST_F(ApplicationTest, APipeNamedLikeBooksIsRefusedAtOnceAndSaveAsLeavesNoUntitledJournalBehind)
{
    const QString pipe = folder.filePath("Pipe.books");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    environment.alerts().clear();
    EXPECT_FALSE(controller.openDocumentFile(pipe.toStdString()));
    EXPECT_TRUE(controller.windows().empty());
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{295});

    // New books with a change journaled in the untitled journals' folder,
    // then Save As: the journal is gone from there, its backup too.
    DocumentWindow& window = controller.makeNewDocument(false);
    addCategory(window.document(), "Garden");
    const QString untitled = QString::fromStdString(window.document().journalFileName());
    ASSERT_TRUE(QFileInfo::exists(untitled));
    chosenPath = folder.filePath("Garden.books");
    ASSERT_TRUE(controller.saveAs(window));
    EXPECT_FALSE(QFileInfo::exists(untitled));
    EXPECT_EQ(QDir(folder.path()).entryList(QStringList{"UntitledQVLDocument*"}, QDir::Files | QDir::Hidden),
              QStringList());
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{295});
}

TEST_F(ApplicationTest, ThePageSetupChosenInTheFileMenuIsWhatReportsPrintOn)
{
    DocumentWindow& window = controller.makeNewDocument(false);
    DocumentWindowFrame& frame = *window.frame();
    auto* reports = dynamic_cast<CReportingController*>(frame.mainTab("repo"));
    ASSERT_NE(reports, nullptr);
    EXPECT_TRUE(reports->printSettings().isEquivalentTo(frame.pageLayout()));

    // File > Page Setup opens over the window on the document's layout.
    auto* menu = frame.menuBar()->findChild<QMenu*>("FILEMENU");
    ASSERT_NE(menu, nullptr);
    QAction* pageSetup = menu->findChild<QAction*>("pageSetup");
    ASSERT_NE(pageSetup, nullptr);
    pageSetup->trigger();
    settle();
    auto* dialog = frame.findChild<QPageSetupDialog*>("pageSetupDialog");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->printer()->pageLayout().pageSize().id(), QPageSize::A4);
    // What the dialog leaves on the printer when the user confirms it.
    const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(36, 36, 36, 36),
                             QPageLayout::Point);
    dialog->printer()->setPageLayout(letter);
    dialog->accept();
    settle();
    EXPECT_EQ(frame.pageLayout().pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(reports->printSettings().pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(reports->printSettings().orientation(), QPageLayout::Landscape);

    // Cancelling keeps what was chosen.
    pageSetup->trigger();
    settle();
    dialog = frame.findChild<QPageSetupDialog*>("pageSetupDialog");
    ASSERT_NE(dialog, nullptr);
    dialog->printer()->setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF()));
    dialog->reject();
    settle();
    EXPECT_EQ(reports->printSettings().pageSize().id(), QPageSize::Letter);
}

} // namespace
} // namespace ch::test
