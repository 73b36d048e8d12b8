// The side bar's quick entry typed as a user does, and objects dragged onto
// the side bar's tree.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>

#include "document/arguments/BooksLinkArguments.h"
#include "bridge/CAcnTItem.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "document/arguments/CDragAndDropRelocationArgument.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/SimpleTransactionArguments.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CTransaction.h"
#include "model/CTransactionArray.h"
#include "platform/core/message_format.h"
#include "platform/gui/pasteboard_types.h"
#include "ui/QuickEntryPane.h"
#include "ui/SideBarDragAndDrop.h"
#include "ui/sheets/BookLists.h"
#include "window_fixture.h"

namespace ch::test {
namespace {

class QuickEntryPaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        open.open();
        pane = open.window->v2Layout().sideBarView()->quickEntryPane();
        ASSERT_NE(pane, nullptr);
        open.window->activateWindow();
    }
    template <class T = QWidget>
    T* field(const char* name)
    {
        T* found = pane->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Replaces the field's text with the keys, as typed.
    void type(const char* name, const QString& keys)
    {
        QWidget* widget = field(name);
        QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
        if (!edit) edit = widget->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr) << name;
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, keys);
    }
    std::string accountName(ObjectIdT id) { return open.books.getAccountItemForId(id)->getName(); }
    const std::vector<RecordingSheetDocument::Command>& sent() { return open.document.booking.sent; }

    UiEnvironment environment;
    OpenDocument open;
    QuickEntryPane* pane = nullptr;
};

// The transaction dictionary the entry's values make, as booking expects it.
Dictionary expectedDictionary(RecordingSheetDocument& sheets, const QuickEntryFields& fields)
{
    arguments::SimpleTransactionArguments entry(fields.date, fields.ourAccount);
    entry.setParentDocument(&sheets.bridge());
    entry.setOtherAccountId(fields.otherAccount);
    entry.setAmount(fields.amount);
    entry.setName(fields.name);
    auto item = sheets.makeEmptyTransactionOfType(3);
    const auto values = entry.transactionValues(sheets.bridge());
    EXPECT_TRUE(values && item->setEqualToSimpleTransactionArguments(*values));
    // Through the text form, as the recorded command's arguments were.
    arguments::CTransactionArguments booked;
    booked.mTransactionDictionary = item->dictionaryRepresentation();
    auto copy = CArgumentAncestor::fromText(booked.toText());
    return *dynamic_cast<arguments::CTransactionArguments&>(*copy).mTransactionDictionary;
}

TEST_F(QuickEntryPaneTest, ATypedEntryIsBookedWithCommand23AndThePaneStartsAgain)
{
    // Our account starts as the document's own-property account, the date as today.
    EXPECT_EQ(pane->fields().ourAccount,
              std::optional<long>(book_defaults::ownPropertyAccount(open.books.accounting())));
    EXPECT_EQ(pane->fields().date, std::optional<long>(20250915));

    const std::string expenses = accountName(FixtureBooks::kExpenseAccount);
    type("mTransactionDateField", "03.09.2025");
    type("mOtherAccountPopup", QString::fromStdString(expenses));
    type("mOurAccountPopup", "Checking Account");
    type("mTransactionAmountField", "-12.50");
    type("mTransactionNameField", "Lunch");
    const QuickEntryFields typed = pane->fields();
    ASSERT_TRUE(typed.ourAccount);
    EXPECT_EQ(accountName(static_cast<ObjectIdT>(*typed.ourAccount)), "Checking Account");
    EXPECT_EQ(typed.otherAccount, std::optional<long>(FixtureBooks::kExpenseAccount));
    EXPECT_EQ(field<QPushButton>("mFastTransactionButton")->text().toStdString(), "Book Expenses");

    QTest::mouseClick(field<QPushButton>("mFastTransactionButton"), Qt::LeftButton);
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(sent()[0].number, command::kNewTransaction);
    EXPECT_EQ(sent()[0].target, nullptr);
    const auto* booked = dynamic_cast<const arguments::CTransactionArguments*>(sent()[0].arguments.get());
    ASSERT_TRUE(booked && booked->mTransactionDictionary);
    const QuickEntryFields values{20250903, FixtureBooks::kExpenseAccount, typed.ourAccount, -12.5, "Lunch"};
    EXPECT_EQ(*booked->mTransactionDictionary, expectedDictionary(open.document.booking, values));
    auto made = open.document.booking.makeEmptyTransactionOfType(3);
    made->initWithDictionaryRepresentation(*booked->mTransactionDictionary);
    EXPECT_EQ(made->getName(), "Lunch");
    EXPECT_EQ(made->mTotalAmount(), 12.5);
    EXPECT_EQ(made->mDate(), 20250903);
    EXPECT_TRUE(environment.alerts().numbers().empty());

    // Ready for the next entry: date and our account stay, the rest is empty.
    const QuickEntryFields next = pane->fields();
    EXPECT_EQ(next.date, std::optional<long>(20250903));
    EXPECT_EQ(next.ourAccount, typed.ourAccount);
    EXPECT_EQ(next.otherAccount, std::nullopt);
    EXPECT_EQ(next.amount, std::nullopt);
    EXPECT_EQ(next.name, std::optional<std::string>(""));
    EXPECT_EQ(QApplication::focusWidget(), field("mTransactionDateField"));
}

// The help says which way the amount's sign books, and names the button's
// title for it as the pane shows it: a positive amount is money coming into
// our account.
TEST_F(QuickEntryPaneTest, EveryLabelIsReadWholeWhateverTheSideBarsWidth)
{
    // Beside their fields while both fit, above them when not: never cut.
    // A field that cannot shrink below 150 points, however the side bar narrows.
    field("mOtherAccountPopup")->setMinimumWidth(150);
    for (int width = 160; width <= 420; width += 5) {
        pane->resize(width, pane->height());
        pane->layout()->activate();
        for (QLabel* label : pane->findChildren<QLabel*>())
            if (label->isVisible())
                EXPECT_GE(label->width(), label->sizeHint().width())
                    << label->text().toStdString() << " at a width of " << width;
    }
}

TEST_F(QuickEntryPaneTest, TheOpenListShowsWholeNamesWhereTheBoxIsNarrow)
{
    auto* popup = field<QComboBox>("mOtherAccountPopup");
    popup->setFixedWidth(50);
    processEvents();
    // A click on the box's arrow opens its list.
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(popup->width() - 6, popup->height() / 2));
    processEvents();
    QAbstractItemView* list = popup->view();
    ASSERT_TRUE(list->isVisible());
    EXPECT_GT(list->sizeHintForColumn(0), popup->width()) << "the fixture has a name longer than the box";
    EXPECT_GE(list->viewport()->width(), list->sizeHintForColumn(0));
    popup->hidePopup();
}

TEST_F(QuickEntryPaneTest, TheHelpSaysWhatTheSignOfTheAmountBooks)
{
    std::ifstream file(std::filesystem::path(COUNTINGHOUSE_RESOURCES) / "help" / "quickentry.html");
    const std::string page((std::istreambuf_iterator<char>(file)), {});
    ASSERT_FALSE(page.empty());
    // The page's text as a browser shows it: no tags, white space as one blank.
    const std::string help =
        std::regex_replace(std::regex_replace(page, std::regex("<[^>]*>"), ""), std::regex("\\s+"), " ");
    // The help's sentence about a positive amount, and about a negative one.
    auto sentenceWith = [&](const std::string& word) {
        const std::size_t at = help.find(word);
        if (at == std::string::npos) return std::string();
        const std::size_t start = help.rfind('.', at);
        return help.substr(start == std::string::npos ? 0 : start, help.find('.', at) - start);
    };
    type("mOtherAccountPopup", QString::fromStdString(accountName(FixtureBooks::kIncomeAccount)));
    type("mOurAccountPopup", "Checking Account");
    struct Case {
        const char* amount;
        const char* word;
        bool incoming;
    };
    for (const Case& c : {Case{"3150", "positive", true}, Case{"-86.40", "negative", false}}) {
        type("mTransactionAmountField", c.amount);
        QTest::keyClick(field("mTransactionAmountField"), Qt::Key_Tab);
        const std::string title = field<QPushButton>("mFastTransactionButton")->text().toStdString();
        const std::string sentence = sentenceWith(c.word);
        EXPECT_NE(sentence.find(title), std::string::npos) << title << " not in: " << sentence;
        EXPECT_NE(sentence.find(c.incoming ? "coming into" : "leaving"), std::string::npos) << sentence;
    }
}

TEST_F(QuickEntryPaneTest, BadInputRaisesItsErrorKeepsTheTextAndBooksNothing)
{
    struct Case {
        const char* date;
        const char* other;   // "": empty
        const char* amount;
        const char* name;
        long error;
        const char* focus;
    };
    const std::string expenses = accountName(FixtureBooks::kExpenseAccount);
    const Case cases[] = {
        {"03.09.2025", expenses.c_str(), "12.50", "", 202, "mTransactionNameField"},
        {"03.09.2025", expenses.c_str(), "0", "Lunch", 238, "mTransactionAmountField"},
        {"03.09.2025", "", "12.50", "Lunch", 129, "mOtherAccountPopup"},
        {"", expenses.c_str(), "12.50", "Lunch", 129, "mTransactionDateField"},
    };
    for (const Case& c : cases) {
        environment.alerts().clear();
        type("mTransactionDateField", c.date);
        type("mOtherAccountPopup", c.other);
        type("mTransactionAmountField", c.amount);
        type("mTransactionNameField", c.name);
        QTest::mouseClick(field<QPushButton>("mFastTransactionButton"), Qt::LeftButton);
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{c.error}) << c.error << c.focus;
        EXPECT_TRUE(sent().empty()) << c.focus;
        EXPECT_EQ(field<QLineEdit>("mTransactionNameField")->text().toStdString(), c.name);
        EXPECT_EQ(field<QComboBox>("mOtherAccountPopup")->currentText().toStdString(), c.other);
        EXPECT_EQ(field<QLineEdit>("mTransactionAmountField")->text().isEmpty(), std::string(c.amount).empty());
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus && (focus == field(c.focus) || field(c.focus)->isAncestorOf(focus))) << c.focus;
    }
}

TEST_F(QuickEntryPaneTest, BookTakesTheAmountShownWhateverMovedTheFocus)
{
    struct Case {
        const char* what;
        std::function<void()> enter;   // other account chosen, date today
        std::optional<double> booked;  // none: refused with the limit's message
    };
    QLineEdit* amount = field<QLineEdit>("mTransactionAmountField");
    QLineEdit* name = field<QLineEdit>("mTransactionNameField");
    auto book = [&] { QTest::mouseClick(field<QPushButton>("mFastTransactionButton"), Qt::LeftButton); };
    const Case cases[] = {
        {"taken with Tab, typed over, the name clicked with the mouse",
         [&] {
             type("mTransactionAmountField", "-42");
             QTest::keyClick(amount, Qt::Key_Tab);
             type("mTransactionAmountField", "-99");
             QTest::mouseClick(name, Qt::LeftButton);
             EXPECT_EQ(QApplication::focusWidget(), name);
             QTest::keyClicks(name, "Lunch");
             book();
         },
         99.0},
        {"typed last, Book clicked at once",
         [&] {
             type("mTransactionNameField", "Lunch");
             type("mTransactionAmountField", "-99");
             book();
         },
         99.0},
        {"beyond the limit",
         [&] {
             type("mTransactionNameField", "Lunch");
             type("mTransactionAmountField", "-1000000000000.01");
             book();
         },
         std::nullopt},
    };
    const std::string expenses = accountName(FixtureBooks::kExpenseAccount);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        environment.alerts().clear();
        const std::size_t before = sent().size();
        type("mOtherAccountPopup", QString::fromStdString(expenses));
        c.enter();
        if (!c.booked) {
            ASSERT_EQ(environment.alerts().records().size(), 1u);
            EXPECT_EQ(environment.alerts().records()[0].alert.message,
                      formatMessage(localized("AMOUNTLIMIT"), {"1,000,000,000,000.00"}));
            EXPECT_EQ(sent().size(), before);
            EXPECT_EQ(amount->text().toStdString(), "-1000000000000.01");
            EXPECT_EQ(QApplication::focusWidget(), amount);
            continue;
        }
        EXPECT_TRUE(environment.alerts().records().empty());
        ASSERT_EQ(sent().size(), before + 1);
        const auto* booked = dynamic_cast<const arguments::CTransactionArguments*>(sent().back().arguments.get());
        ASSERT_TRUE(booked && booked->mTransactionDictionary);
        auto made = open.document.booking.makeEmptyTransactionOfType(3);
        made->initWithDictionaryRepresentation(*booked->mTransactionDictionary);
        EXPECT_EQ(made->mTotalAmount(), *c.booked);
        EXPECT_EQ(made->getName(), "Lunch");
    }
}

// Drops on the tree, as the tree's rows receive them.
class SideBarDropTest : public QuickEntryPaneTest {
protected:
    QMimeData* drag(const std::string& key, const void* document)
    {
        auto* data = new QMimeData;
        data->setData(kNonvisualPboardType, QByteArray::fromStdString(key));
        data->setText("dragged");
        data->setData(kDocumentPboardType, documentMarker(document));
        return data;
    }
    // The row titled so (a header when asked).
    QPoint rowCentre(const std::string& title, bool header)
    {
        SideBarOutlineModel& model = open.sideBar().outlineModel();
        for (const QModelIndex& row : model.shownRows())
            if (model.itemAt(row)->getName() == title && (!header || model.itemAt(row)->headerLevel() > 0)) {
                const QModelIndex shown = model.index(row.row(), 0, row.parent());
                open.outline().scrollTo(shown);
                return open.outline().visualRect(shown).center();
            }
        ADD_FAILURE() << "no row " << title;
        return {};
    }
    // Moves the drag over the row, then drops; whether the tree took it.
    std::pair<bool, bool> dropOn(const std::string& title, QMimeData* data, bool header = false)
    {
        std::unique_ptr<QMimeData> owned(data);
        return dragAndDrop(open.outline().viewport(), rowCentre(title, header), data);
    }
    std::string key(const std::string& accountName)
    {
        // Found by name: ids depend on what earlier tests made.
        if (const CAccount* account = open.books.root().GetAccountForName(std::string_view(accountName)))
            return open.books.getAccountItemForId(account->Get_Id())->calculateKey();
        ADD_FAILURE() << "no account " << accountName;
        return {};
    }
};

TEST_F(SideBarDropTest, AnAccountDroppedOnAnotherAccountTypeMovesThroughCommand30)
{
    open.select("Savings");   // the tree shows every folder
    const std::string checking = key("Checking Account");
    const auto [moving, moved] = dropOn("Savings", drag(checking, &open.document));
    EXPECT_TRUE(moving);
    EXPECT_TRUE(moved);
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(sent()[0].number, command::kRelocate);
    const auto* args = dynamic_cast<const arguments::CDragAndDropRelocationArgument*>(sent()[0].arguments.get());
    ASSERT_NE(args, nullptr);
    EXPECT_EQ(args->idDroppedObject, std::stol(checking.substr(4)));
    EXPECT_EQ(args->droppedObjectType, fourCC("AcnT"));
    EXPECT_EQ(args->receivingObjectType, fourCC("AccT"));
    EXPECT_EQ(open.books.getAccountTypeItemForId(static_cast<ObjectIdT>(args->idReceivingObject))->getName(),
              "Savings");

    // A move the document refuses is refused.
    open.document.booking.commandResult = 0;
    EXPECT_FALSE(dropOn("Savings", drag(checking, &open.document)).second);
}

TEST_F(SideBarDropTest, RefusedDropsChangeNothing)
{
    OpenDocument other;   // another document with the same books
    open.select("Savings");
    std::string cardType;   // an account type of the debt kind
    if (const CAccType* type = open.books.root().GetAccountTypeForName(std::string_view("Credit Cards")))
        cardType = open.books.getAccountTypeItemForId(type->Get_Id())->calculateKey();
    ASSERT_FALSE(cardType.empty());
    struct Case {
        const char* what;
        std::string key;
        const void* document;
        const char* row;
        bool header;
    };
    const Case cases[] = {
        {"another document's account", key("Checking Account"), &other.document, "Savings", false},
        {"a key that names nothing", "AcnT999", &open.document, "Savings", false},
        {"an own account on the cards", key("Checking Account"), &open.document, "Credit Cards", true},
        {"the card account type itself", cardType, &open.document, "Credit Cards", true},
    };
    for (const Case& c : cases) {
        const auto [moving, moved] = dropOn(c.row, drag(c.key, c.document), c.header);
        EXPECT_FALSE(moving) << c.what;
        EXPECT_FALSE(moved) << c.what;
    }
    EXPECT_TRUE(sent().empty());
}

TEST_F(SideBarDropTest, ADebtAccountOnTheCardRootBecomesACardThroughItsCommand)
{
    open.select("Savings");
    const std::string visa = key("Visa Card");
    auto card = open.books.getAccountItemForId(static_cast<ObjectIdT>(std::stol(visa.substr(4))));
    ASSERT_FALSE(card->isCreditCard());
    EXPECT_TRUE(dropOn(localized("CREDITCARDBUTTON"), drag(visa, &open.document), true).second);
    EXPECT_TRUE(card->isCreditCard());
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(sent()[0].number, kCreditCardCommand);
    EXPECT_EQ(sent()[0].target, card);
    const auto* state = dynamic_cast<const arguments::ObjectStateArguments*>(sent()[0].arguments.get());
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->isCreditCard, true);
}

TEST_F(SideBarDropTest, ATransactionOnTheVATPeriodsIsOfferedAsTheVATPayment)
{
    open.select("Savings");
    std::shared_ptr<CTrnSItem> transaction;
    if (const CTransactionArray* list = open.books.root().Get_TransactionArray(); list && list->GetCount() > 0)
        transaction = open.books.transactionItem(static_cast<CTransaction*>(list->ObjectAt(1)));
    ASSERT_NE(transaction, nullptr);
    const std::string vatPeriods = localized("VATPERIODTITLE");
    // No earlier period to pay: the document says no, and so does the drop.
    EXPECT_FALSE(dropOn(vatPeriods, drag(transaction->calculateKey(), &open.document), true).second);
    open.document.vatPaymentAnswer = true;
    EXPECT_TRUE(dropOn(vatPeriods, drag(transaction->calculateKey(), &open.document), true).second);
    EXPECT_EQ(open.document.operations(),
              std::vector<std::string>(2, "tryToSetTransactionAsVATBalancePaymentTransaction"));
    EXPECT_EQ(open.document.calls.back().item, transaction);
    EXPECT_TRUE(sent().empty());
}

TEST_F(SideBarDropTest, AFolderDraggedFromTheTreeMovesUnderAnotherFolder)
{
    open.select("Savings");
    std::unique_ptr<QMimeData> dragged(
        open.window->v2Layout().sideBarView()->findChild<SideBarDragAndDrop*>()->dragData());
    ASSERT_NE(dragged, nullptr);
    const std::string savings = dragged->data(kNonvisualPboardType).toStdString();
    EXPECT_EQ(savings.substr(0, 4), "AccT");
    EXPECT_EQ(dragged->text().toStdString(), "Savings");
    EXPECT_TRUE(dropOn("Bank Accounts", dragged.release()).second);
    ASSERT_EQ(sent().size(), 1u);
    const auto* args = dynamic_cast<const arguments::CDragAndDropRelocationArgument*>(sent()[0].arguments.get());
    ASSERT_NE(args, nullptr);
    EXPECT_EQ(args->idDroppedObject, std::stol(savings.substr(4)));
    EXPECT_EQ(args->droppedObjectType, fourCC("AccT"));

    open.select("Transactions", 2);   // a page's node does not move
    EXPECT_EQ(open.sideBar().dragKey(), std::nullopt);
}

} // namespace
} // namespace ch::test
