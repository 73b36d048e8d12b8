// The credit-card page in an open window: it lists exactly the books' card
// accounts with their figures, splits the selected card's transactions into
// spendings and payments, paints the rows linked to the other table's
// selection, links a spending dropped on a payment and hands its commands
// to the document.

#include <QAction>
#include <QBrush>
#include <QHeaderView>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <set>
#include <tuple>

#include "bridge/CAcnTItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/TextColours.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CTransaction.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/ChartSinkViews.h"
#include "ui/GXGradientPainting.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/CCreditCardTransactionTableView.h"
#include "ui/pages/CreditCardBook.h"
#include "ui/pages/GXCreditCardViewController.h"
#include "../window_fixture.h"

namespace ch::test {
namespace {

class CreditCardPageTest : public ::testing::Test {
protected:
    UiEnvironment environment;
    OpenDocument open{0};
    CAccount* visa = nullptr;
    CAccount* master = nullptr;

    void SetUp() override
    {
        CDocAccounting& root = open.books.root();
        const ObjectIdT checking = named(root.mAccountList.get(), "Checking Account")->Get_Id();
        const ObjectIdT restaurants = named(root.mExpenseTypeList.get(), "Restaurants")->Get_Id();
        const ObjectIdT groceries = named(root.mExpenseTypeList.get(), "Groceries")->Get_Id();
        const ObjectIdT fuel = named(root.mExpenseTypeList.get(), "Fuel")->Get_Id();
        visa = static_cast<CAccount*>(named(root.mAccountList.get(), "Visa Card"));
        const ObjectIdT cardType = visa->Get_mAccountTypeId();
        visa->Put_mAccountSpecialType(CAccount::kCreditCard);
        visa->Put_mCreditCardSubType(2);
        master = open.books.addAccount(80, cardType, "Master Card");
        master->Put_mAccountSpecialType(CAccount::kCreditCard);
        open.books.addAccount(81, cardType, "Car Loan"); // a debt, no card
        // Two spendings and two payments on the Visa card, one spending on
        // the other card, and a transfer that only touches the Visa card on
        // a lesser line.
        open.books.addTransaction(20250102, visa->Get_Id(), FixtureBooks::kExpenseAccount, restaurants, 47.80);
        open.books.addTransaction(20250110, visa->Get_Id(), FixtureBooks::kExpenseAccount, groceries, 120.15);
        open.books.addTransaction(20250105, checking, visa->Get_Id(), FixtureBooks::kTransferCategory, 100.00);
        open.books.addTransaction(20250201, checking, visa->Get_Id(), FixtureBooks::kTransferCategory, 67.95);
        open.books.addTransaction(20250103, 80, FixtureBooks::kExpenseAccount, fuel, 30.00);
        addToBooks(checking, cardType);
        open.open();
    }
    virtual void addToBooks(ObjectIdT /*checking*/, ObjectIdT /*cardType*/) {}
    static std::string nameOf(const CNonVisual* object)
    {
        char name[kNameSize];
        object->Get_Name(name);
        return name;
    }
    static CNonVisual* named(const CNamedListArray* list, const std::string& name)
    {
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
            if (nameOf(list->ObjectAt(i)) == name) return list->ObjectAt(i);
        ADD_FAILURE() << "no " << name;
        return nullptr;
    }
    GXCreditCardViewController* page()
    {
        open.select(localized("CREDITCARDBUTTON"), 1);
        processEvents();
        auto* shown = dynamic_cast<GXCreditCardViewController*>(open.sideBar().currentController());
        EXPECT_NE(shown, nullptr);
        return shown;
    }
    static QString cell(ItemTableModel& model, int row, const char* column)
    {
        return model.data(model.index(row, model.columnOf(QString::fromLatin1(column)))).toString();
    }
    static std::shared_ptr<CTrnSItem> transactionAt(ItemTableModel& model, int row)
    {
        return std::dynamic_pointer_cast<CDebetItem>(model.itemAt(row))->parentTransaction();
    }
    void selectVisa(GXCreditCardViewController& card)
    {
        for (int row = 0; row < card.cardModel()->rowCount(); ++row)
            if (card.cardModel()->itemAt(row)->getSourceItem() == visa) card.topTableView()->selectRow(row);
        processEvents();
    }
    static std::vector<DateT> dates(ItemTableModel& model)
    {
        std::vector<DateT> shown;
        for (int row = 0; row < model.rowCount(); ++row) shown.push_back(static_cast<DateT>(transactionAt(model, row)->mDate().value_or(0)));
        return shown;
    }
};

TEST_F(CreditCardPageTest, ListsExactlyTheBooksCardsWithTheirFigures)
{
    GXCreditCardViewController* card = page();
    ASSERT_NE(card, nullptr);
    ItemTableModel& cards = *card->cardModel();
    std::set<CNonVisual*> shown;
    for (int row = 0; row < cards.rowCount(); ++row) {
        CNonVisual* object = cards.itemAt(row)->getSourceItem();
        shown.insert(object);
        const auto* account = static_cast<const CAccount*>(object);
        EXPECT_EQ(cell(cards, row, "name").toStdString(), nameOf(account));
        EXPECT_EQ(cell(cards, row, "balance").toStdString(),
                  CNumericTransformer().stringForObjectValue(account->Get_mBalance()));
    }
    EXPECT_EQ(shown, (std::set<CNonVisual*>{visa, master}));
    EXPECT_NE(cell(cards, 0, "balance"), CNumericTransformer().stringForObjectValue(0.0).c_str());
}

// Three more cards: two owing amounts of three and four digits, whose texts
// sort the other way round ("1,200.00" before "300.00"), and one paid in
// advance. A spending raises what a card owes; a payment lowers it.
class CreditCardTableTest : public CreditCardPageTest {
protected:
    void addToBooks(ObjectIdT checking, ObjectIdT cardType) override
    {
        const ObjectIdT groceries = named(open.books.root().mExpenseTypeList.get(), "Groceries")->Get_Id();
        for (const auto& [id, name, spent] :
             {std::tuple{82, "Amex Gold", 1200.0}, std::tuple{83, "Diners", 300.0}, std::tuple{84, "Discover", -50.0}}) {
            CAccount* card = open.books.addAccount(id, cardType, name);
            card->Put_mAccountSpecialType(CAccount::kCreditCard);
            if (spent > 0)
                open.books.addTransaction(20250301, id, FixtureBooks::kExpenseAccount, groceries, spent);
            else
                open.books.addTransaction(20250301, checking, id, FixtureBooks::kTransferCategory, -spent);
        }
        visa->Put_mDescription("Travel and fuel");
        visa->Put_StringrefDesc("Travel and fuel");
    }
    std::vector<std::string> cardNames(ItemTableModel& cards)
    {
        std::vector<std::string> names;
        for (int row = 0; row < cards.rowCount(); ++row) names.push_back(cell(cards, row, "name").toStdString());
        return names;
    }
};

TEST_F(CreditCardTableTest, ShowsTheDescriptionColoursTheBalanceAndSortsItByAmount)
{
    GXCreditCardViewController* card = page();
    ASSERT_NE(card, nullptr);
    ItemTableModel& cards = *card->cardModel();
    QTableView& table = *card->topTableView();
    const int balance = cards.columnOf("balance");
    ASSERT_GE(balance, 0);
    ASSERT_GE(cards.columnOf("description"), 0);
    ASSERT_FALSE(table.isColumnHidden(cards.columnOf("description")));

    QHeaderView* heading = table.horizontalHeader();
    auto clickBalanceHeading = [&] {
        QTest::mouseClick(heading->viewport(), Qt::LeftButton, {},
                          QPoint(heading->sectionViewportPosition(balance) + 8, heading->height() / 2));
        processEvents();
    };
    // Discover -50.00, Visa 0.00, Master 30.00, Diners 300.00, Amex 1,200.00.
    clickBalanceHeading();
    EXPECT_EQ(cardNames(cards), (std::vector<std::string>{"Discover", "Visa Card", "Master Card", "Diners", "Amex Gold"}))
        << "by the amount, not its text";
    clickBalanceHeading();
    EXPECT_EQ(cardNames(cards), (std::vector<std::string>{"Amex Gold", "Diners", "Master Card", "Visa Card", "Discover"}));

    const QColor red = toQColor(getRedColor()), green = toQColor(getGreenColor());
    for (int row = 0; row < cards.rowCount(); ++row) {
        const std::string name = cell(cards, row, "name").toStdString();
        const QVariant colour = cards.data(cards.index(row, balance), Qt::ForegroundRole);
        ASSERT_TRUE(colour.canConvert<QBrush>()) << name;
        // Red while something is owed or nothing (Visa is paid off), green
        // for the card paid in advance.
        EXPECT_EQ(colour.value<QBrush>().color(), name == "Discover" ? green : red) << name;
        EXPECT_EQ(cell(cards, row, "description").toStdString(), name == "Visa Card" ? "Travel and fuel" : "") << name;
    }
}

TEST_F(CreditCardPageTest, TheSelectedCardsSpendingsAndPaymentsNewestFirst)
{
    GXCreditCardViewController* card = page();
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->spendingModel()->rowCount(), 0);
    selectVisa(*card);
    EXPECT_EQ(dates(*card->spendingModel()), (std::vector<DateT>{20250110, 20250102}));
    EXPECT_EQ(dates(*card->paymentModel()), (std::vector<DateT>{20250201, 20250105}));
    EXPECT_EQ(cell(*card->spendingModel(), 0, "amount").toStdString(),
              CNumericTransformer().stringForObjectValue(120.15));
}

TEST_F(CreditCardPageTest, FlagImagesFollowLinksAndAmounts)
{
    struct Spending {
        std::optional<long> reference;
        const char* image;
    };
    for (const Spending& c : {Spending{std::nullopt, "flaggedred"}, Spending{-2, "flaggedCredited"},
                              Spending{-1, "flaggedred"}, Spending{0, "flaggedred"}, Spending{1, "flaggedgreen"},
                              Spending{412, "flaggedgreen"}})
        EXPECT_EQ(spendingFlagImage(c.reference), c.image) << c.reference.value_or(-99);
    struct Payment {
        std::optional<double> unaccounted;
        const char* image;
    };
    for (const Payment& c :
         {Payment{std::nullopt, "flaggedred"}, Payment{999099912.12, "flaggedred"},
          Payment{999099913.13, "flaggedCredited"}, Payment{0.0051, "flaggedblue"}, Payment{0.005, "flaggedgreen"},
          Payment{0.0, "flaggedgreen"}, Payment{-0.005, "flaggedgreen"}, Payment{-0.0051, "flaggedgreenPlus"},
          Payment{250.0, "flaggedblue"}})
        EXPECT_EQ(paymentFlagImage(c.unaccounted), c.image) << c.unaccounted.value_or(-99);
    struct Card {
        int subType;
        std::optional<std::string> image;
    };
    for (const Card& c : {Card{0, "generic"}, Card{1, "amex"}, Card{2, "visa"}, Card{9, "switch"},
                          Card{10, std::nullopt}, Card{0x104, "master"}})
        EXPECT_EQ(creditCardSubtypeImage(c.subType), c.image) << c.subType;
}

TEST_F(CreditCardPageTest, SelectingInOneTablePaintsTheLinkedRowsOfTheOther)
{
    GXCreditCardViewController* card = page();
    ASSERT_NE(card, nullptr);
    selectVisa(*card);
    ItemTableModel& spendings = *card->spendingModel();
    ItemTableModel& payments = *card->paymentModel();
    CCreditCardTransactionTableView& spendingTable = *card->spendingsTableView();
    CCreditCardTransactionTableView& paymentTable = *card->paymentTableView();
    // Nothing selected: no reference, nothing painted, although no spending
    // is linked yet.
    EXPECT_FALSE(paymentTable.referenceId());
    EXPECT_FALSE(spendingTable.referenceId());
    for (int row = 0; row < spendings.rowCount(); ++row) EXPECT_FALSE(spendingTable.isRowHighlighted(row)) << row;
    for (int row = 0; row < payments.rowCount(); ++row) EXPECT_FALSE(paymentTable.isRowHighlighted(row)) << row;

    // The older spending is paid by the older payment.
    ASSERT_TRUE(card->linkSpendingRowToPaymentRow(1, 1));
    paymentTable.selectRow(1);
    processEvents();
    EXPECT_EQ(spendingTable.referenceId(), transactionAt(payments, 1)->getId());
    EXPECT_TRUE(spendingTable.isRowHighlighted(1));
    EXPECT_FALSE(spendingTable.isRowHighlighted(0));

    spendingTable.selectRow(1);
    processEvents();
    EXPECT_TRUE(paymentTable.selectionModel()->selectedRows().isEmpty());
    EXPECT_TRUE(paymentTable.isRowHighlighted(1));
    EXPECT_FALSE(paymentTable.isRowHighlighted(0));
    spendingTable.selectRow(0);
    processEvents();
    EXPECT_TRUE(spendingTable.selectionModel()->selectedRows().size() == 1);
    EXPECT_FALSE(paymentTable.isRowHighlighted(0));
    EXPECT_FALSE(paymentTable.isRowHighlighted(1));
    spendingTable.clearSelection();
    processEvents();
    EXPECT_FALSE(paymentTable.referenceId());
}

TEST_F(CreditCardPageTest, ASpendingDroppedOnAPaymentIsLinkedToIt)
{
    GXCreditCardViewController* card = page();
    ASSERT_NE(card, nullptr);
    selectVisa(*card);
    ItemTableModel& spendings = *card->spendingModel();
    ItemTableModel& payments = *card->paymentModel();
    const std::shared_ptr<CTrnSItem> spending = transactionAt(spendings, 1); // 47.80
    const std::shared_ptr<CTrnSItem> paymentA = transactionAt(payments, 1);  // 100.00
    const std::shared_ptr<CTrnSItem> paymentB = transactionAt(payments, 0);  // 67.95
    EXPECT_EQ(paymentFlagImage(paymentA->unaccountedForAmount()), "flaggedred");

    std::unique_ptr<QMimeData> dragged(spendings.mimeData({spendings.index(1, 1)}));
    ASSERT_TRUE(dragged);
    // Between rows: refused.
    EXPECT_FALSE(payments.dropMimeData(dragged.get(), Qt::CopyAction, 1, 0, {}));
    EXPECT_FALSE(spending->mReferenceObjectId() > 0);
    EXPECT_TRUE(payments.dropMimeData(dragged.get(), Qt::CopyAction, -1, -1, payments.index(1, 0)));
    EXPECT_EQ(spending->mReferenceObjectId(), paymentA->getId());
    EXPECT_EQ(spendingFlagImage(spending->mReferenceObjectId()), "flaggedgreen");
    EXPECT_EQ(paymentFlagImage(paymentA->unaccountedForAmount()), "flaggedblue");

    // Moving the link: both payments recompute.
    EXPECT_TRUE(payments.dropMimeData(dragged.get(), Qt::CopyAction, -1, -1, payments.index(0, 0)));
    EXPECT_EQ(spending->mReferenceObjectId(), paymentB->getId());
    EXPECT_EQ(paymentFlagImage(paymentA->unaccountedForAmount()), "flaggedred");
    EXPECT_EQ(paymentFlagImage(paymentB->unaccountedForAmount()), "flaggedblue");
    // 47.80 and 120.15 against 67.95: more than paid.
    std::unique_ptr<QMimeData> second(spendings.mimeData({spendings.index(0, 1)}));
    EXPECT_TRUE(payments.dropMimeData(second.get(), Qt::CopyAction, -1, -1, payments.index(0, 0)));
    EXPECT_EQ(paymentFlagImage(paymentB->unaccountedForAmount()), "flaggedgreenPlus");
}

TEST_F(CreditCardPageTest, ButtonsHandTheCardAndItsLinesToTheDocument)
{
    GXCreditCardViewController* card = page();
    ASSERT_NE(card, nullptr);
    // No card chosen yet: a spending or a payment has no card to be made on.
    ASSERT_EQ(card->topTableView()->selectionModel()->selectedRows().size(), 0);
    for (const char* add : {"addSpendingButton", "addPaymentButton"}) {
        auto* button = card->controlledView()->findChild<QPushButton*>(QString::fromLatin1(add));
        ASSERT_NE(button, nullptr) << add;
        EXPECT_FALSE(button->isEnabled()) << add;
    }
    selectVisa(*card);
    card->spendingsTableView()->selectRow(0);
    processEvents();
    struct Case {
        const char* button;
        const char* operation;
        CNonVisual* from;
        CNonVisual* to;
    };
    for (const Case& c : {Case{"addAccountButton", "initiateCreditCardAccountCreation", nullptr, nullptr},
                          Case{"modifyAccountButton", "modifyObject", nullptr, nullptr},
                          Case{"addSpendingButton", "askTransactionInput", visa, nullptr},
                          Case{"addPaymentButton", "askTransactionInput", nullptr, visa},
                          Case{"deleteSpendingButton", "deleteObject", nullptr, nullptr}}) {
        open.document.calls.clear();
        open.document.sheets.clear();
        auto* button = card->controlledView()->findChild<QPushButton*>(QString::fromLatin1(c.button));
        ASSERT_NE(button, nullptr) << c.button;
        ASSERT_TRUE(button->isEnabled()) << c.button;
        button->click();
        ASSERT_EQ(open.document.operations(), std::vector<std::string>{c.operation}) << c.button;
        if (!open.document.sheets.empty()) {
            EXPECT_EQ(open.document.sheets[0].fromAccount, c.from) << c.button;
            EXPECT_EQ(open.document.sheets[0].toAccount, c.to) << c.button;
            EXPECT_EQ(open.document.sheets[0].action, 1);
        }
    }
    EXPECT_EQ(open.document.calls.back().item, transactionAt(*card->spendingModel(), 0));
}

TEST_F(CreditCardPageTest, EveryCardShowsTheImageOfItsKindAndTheChartFollowsTheClickedCard)
{
    GXCreditCardViewController* card = page();
    ASSERT_NE(card, nullptr);
    ItemTableModel& cards = *card->cardModel();
    const int image = cards.columnOf("image");
    auto imageOf = [&](CNonVisual* account) {
        for (int row = 0; row < cards.rowCount(); ++row)
            if (cards.itemAt(row)->getSourceItem() == account)
                return cards.data(cards.index(row, image), Qt::DecorationRole).value<QIcon>();
        return QIcon();
    };
    // Visa (kind 2) and the generic card (kind 0) each have a picture of
    // their own; a kind above 9 has none.
    const QIcon visaImage = imageOf(visa);
    const QIcon genericImage = imageOf(master);
    ASSERT_FALSE(visaImage.isNull());
    ASSERT_FALSE(genericImage.isNull());
    EXPECT_NE(visaImage.pixmap(QSize(32, 20)).toImage(), genericImage.pixmap(QSize(32, 20)).toImage());
    master->Put_mCreditCardSubType(10);
    EXPECT_TRUE(imageOf(master).isNull());

    // A click on the Visa card's row: its lines month by month in the chart.
    int row = 0;
    while (cards.itemAt(row)->getSourceItem() != visa) ++row;
    QTest::mouseClick(card->topTableView()->viewport(), Qt::LeftButton, {},
                      card->topTableView()->visualRect(cards.index(row, 1)).center());
    processEvents();
    auto visaItem = std::dynamic_pointer_cast<CAcnTItem>(cards.itemAt(row));
    ASSERT_EQ(card->selectedCard(), visaItem);
    EXPECT_EQ(card->barChart()->lineCount(), visaItem->allTransactionDetails().size());
    EXPECT_GT(card->barChart()->lineCount(), 0u);
}

TEST_F(CreditCardPageTest, EveryTableHasTheCornerMenuAndExportsWhatItShows)
{
    GXCreditCardViewController* card = page();
    ASSERT_NE(card, nullptr);
    selectVisa(*card);
    for (GXTableAncestor* table : {card->topTableView(), static_cast<GXTableAncestor*>(card->spendingsTableView()),
                                   static_cast<GXTableAncestor*>(card->paymentTableView())}) {
        ASSERT_TRUE(table->cornerButton() && table->tableMenu()) << table->objectName().toStdString();
        EXPECT_EQ(table->tableMenu()->actions()[0]->text(), "Print");
        // An image column has no heading: it is neither listed nor exported.
        for (QAction* item : table->tableMenu()->actions()) EXPECT_FALSE(item->isCheckable() && item->text().isEmpty());
    }
    // "Export" from the spendings table's menu writes its rows as shown.
    QTemporaryDir folder;
    const QString path = folder.filePath("spendings.TSV");
    GXTableAncestor& spendings = *card->spendingsTableView();
    spendings.tableMenu()->actions()[1]->trigger();
    processEvents();
    auto* panel = spendings.window()->findChild<QFileDialog*>();
    ASSERT_NE(panel, nullptr);
    panel->setDirectory(folder.path());
    auto* name = panel->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText("spendings.TSV");
    QMetaObject::invokeMethod(panel, "accept");
    processEvents();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << "the heading and the two spendings";
    EXPECT_TRUE(lines[1].endsWith(QString::fromStdString(CNumericTransformer().stringForObjectValue(120.15))))
        << lines[1].toStdString();
}

} // namespace
} // namespace ch::test
