// Recurring transactions in the application's window, as a person keeps
// them: made and changed through the recurring sheet from the Recurring
// page, what has fallen due is made as soon as OK is clicked, on the dates
// the sheet shows, booked or left waiting on the Generated page as the sheet
// says; the Recurring list shows each one's next date and how often it comes.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "app_test_steps.h"
#include "../ui/popup_clicks.h"
#include "../ui/sheets/sheet_test_support.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "document/MyDocument.h"
#include "document/arguments/CategoryParameters.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "platform/core/localized_strings.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/GXTransactionViewController.h"
#include "ui/sheets/CCreateRecurringTrnsPopupController.h"
#include "ui/sheets/CTransactionDetailTableView.h"

namespace ch {
namespace {

using namespace ch::test;
using Tab = GXTransactionViewController::Tab;

class RecurringWindowTest : public ApplicationFixture {
protected:
    RecurringWindowTest()
    {
        environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
        // Thursday 10 December 2026.
        environment.clock().set(CalendarDate{2026, 12, 10}, 0);
        controller.makeNewDocument(false);
        settle();
        checking = makeAccount(books(), "Checking", 1, nullptr, 2000.0);
        makeAccount(books(), "Landlord", 3);
        arguments::CategoryParameters rent;
        rent.name = "Rent";
        rent.mParentId = 1;
        rent.mMasterTypeId = 1;
        books().commandExecutor().executeCommand(15, nullptr, rent);
        books().clearChangeCount();
    }

    GXTransactionViewController* recurringPage()
    {
        return showPage<GXTransactionViewController>(localized("RECURRINGBUTTON"), 2);
    }

    // The button under the tab's list with the title of the key.
    static void clickButton(GXTransactionViewController& page, Tab tab, const char* titleKey)
    {
        QWidget* list = page.table(tab)->parentWidget();
        for (QPushButton* button : list->findChildren<QPushButton*>())
            if (button->text() == QString::fromStdString(localized(titleKey))) {
                QTest::mouseClick(button, Qt::LeftButton);
                settleEvents();
                return;
            }
        ADD_FAILURE() << "no button " << titleKey;
    }

    CCreateRecurringTrnsPopupController* recurringSheet()
    {
        auto* sheet = dynamic_cast<CCreateRecurringTrnsPopupController*>(window().books().lastSheet());
        EXPECT_TRUE(sheet && sheet->isVisible());
        return sheet && sheet->isVisible() ? sheet : nullptr;
    }

    // Types into the cell being edited and leaves it with Tab.
    static void typeCell(CTransactionDetailTableView* view, const QString& text)
    {
        QWidget* editor = view->editor();
        ASSERT_NE(editor, nullptr) << view->objectName().toStdString();
        if (auto* popup = qobject_cast<QComboBox*>(editor)) editor = popup->lineEdit();
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) edit->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Tab);
    }

    // Rent of 750 from the checking account to the landlord, counted from the date.
    void fillRent(CCreateRecurringTrnsPopupController& sheet, const char* date)
    {
        typeInto(outlet(sheet, "mNameField"), "Rent");
        typeInto(outlet(sheet, "mDateField"), date);
        typeInto(outlet(sheet, "mAmountField"), "750");
        QTest::keyClick(outlet(sheet, "mAmountField"), Qt::Key_Tab);
        auto* from = outlet<CTransactionDetailTableView>(sheet, "mFromTable");
        from->setFocus(Qt::TabFocusReason);
        typeCell(from, "Checking");
        auto* to = outlet<CTransactionDetailTableView>(sheet, "mToTable");
        to->setFocus(Qt::TabFocusReason);
        typeCell(to, "Landlord");
        auto* forTable = outlet<CTransactionDetailTableView>(sheet, "mForTable");
        forTable->setFocus(Qt::TabFocusReason);
        typeCell(forTable, "Rent");
    }

    template <class Button>
    static bool checked(QWidget& sheet, const char* name)
    {
        const auto* button = outlet<Button>(sheet, name);
        return button && button->isChecked();
    }

    // The Recurring page's "+", the rent filled in and Monthly chosen from the
    // Repeat pop-up; the sheet, still open.
    CCreateRecurringTrnsPopupController* newMonthlyRent(const char* date)
    {
        page = recurringPage();
        if (!page) return nullptr;
        clickButton(*page, Tab::Recurring, "PAGEADD");
        CCreateRecurringTrnsPopupController* sheet = recurringSheet();
        if (!sheet) return nullptr;
        fillRent(*sheet, date);
        chooseMonthly(*sheet);
        return sheet;
    }

    static void chooseMonthly(QWidget& sheet)
    {
        clickPopupEntry(outlet<QComboBox>(sheet, "periodicityPopup"), QString::fromStdString(localized("TypeMonthly")));
    }

    static void typeNumber(QWidget& sheet, const char* field, int value)
    {
        auto* spin = outlet<QSpinBox>(sheet, field);
        spin->setFocus(Qt::TabFocusReason);
        spin->selectAll();
        QTest::keyClicks(spin, QString::number(value));
    }

    // A click on the round button of the radio button.
    static void clickRadio(QWidget& sheet, const char* name)
    {
        auto* radio = outlet<QRadioButton>(sheet, name);
        ASSERT_NE(radio, nullptr);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(radio->height() / 2, radio->height() / 2));
        settleEvents();
    }

    // A click into the day of the month, everything chosen, the day typed.
    static void typeDay(QWidget& sheet, const char* day)
    {
        auto* spin = outlet<QSpinBox>(sheet, "dayOfMonthField");
        ASSERT_NE(spin, nullptr);
        QLineEdit* text = spin->findChild<QLineEdit*>();
        ASSERT_NE(text, nullptr);
        QTest::mouseClick(text, Qt::LeftButton);
        QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(text, QString::fromLatin1(day));
        settleEvents();
    }

    // The one template of the Recurring list.
    std::shared_ptr<CRcrTItem> onlyTemplate()
    {
        if (page->tableModel(Tab::Recurring)->rowCount() != 1) return nullptr;
        return std::dynamic_pointer_cast<CRcrTItem>(page->tableModel(Tab::Recurring)->itemAt(0));
    }

    // The template's sheet, opened by a double click on its row.
    CCreateRecurringTrnsPopupController* reopen(CRcrTItem& item)
    {
        page->selectItem(Tab::Recurring, &item);
        doubleClickSelectedRow(page->table(Tab::Recurring));
        return recurringSheet();
    }

    void ok(QWidget& sheet)
    {
        click(sheet, "OKButton");
        settle();
        EXPECT_FALSE(sheet.isVisible()) << ::testing::PrintToString(environment.alerts().numbers());
    }

    // The dates of the transactions named so in the model list.
    static std::vector<DateT> datesIn(const CNamedListArray* list, const std::string& name)
    {
        std::vector<DateT> dates;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
            const auto* transaction = static_cast<const CTransaction*>(list->ObjectAt(i));
            if (transaction->Get_StringrefName() == name) dates.push_back(transaction->Get_mDate());
        }
        std::sort(dates.begin(), dates.end());
        return dates;
    }

    // The texts a tab's list shows in a column, row by row.
    static std::vector<std::string> column(GXTransactionViewController& page, Tab tab, const char* id)
    {
        ItemTableModel& model = *page.tableModel(tab);
        std::vector<std::string> texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts.push_back(model.index(row, model.columnOf(id)).data().toString().toStdString());
        return texts;
    }

    double checkingBalance() { return books().accounting()->GetAccountForID(checking)->Get_mLocalBalance(); }

    long checking = 0;
    GXTransactionViewController* page = nullptr;
};

TEST_F(RecurringWindowTest, MonthlyOnTheTenthIsBookedOnTheTenthAsSoonAsItIsMade)
{
    CCreateRecurringTrnsPopupController* sheet = newMonthlyRent("15.09.2026");
    ASSERT_NE(sheet, nullptr);
    typeNumber(*sheet, "dayOfMonthField", 10);
    EXPECT_TRUE(checked<QRadioButton>(*sheet, "onDayOfMonth"));
    EXPECT_TRUE(checked<QCheckBox>(*sheet, "automaticApprovalCheck"));
    ok(*sheet);

    // Booked at once, on the tenth of each month since the date, today's included.
    EXPECT_EQ(datesIn(books().accounting()->Get_TransactionArray(), "Rent"),
              (std::vector<DateT>{20261010, 20261110, 20261210}));
    EXPECT_TRUE(datesIn(books().accounting()->mUnlinkedList.get(), "Rent").empty());
    EXPECT_DOUBLE_EQ(checkingBalance(), 2000.0 - 3 * 750.0);
    EXPECT_EQ(page->controller(Tab::Transactions).arrangedCount(),
              books().accounting()->Get_TransactionArray()->GetCount());
    EXPECT_TRUE(books().isDocumentEdited());

    // The list shows when it comes next and how often.
    EXPECT_EQ(column(*page, Tab::Recurring, "nextDate"), std::vector<std::string>{"10.01.2027"});
    EXPECT_EQ(column(*page, Tab::Recurring, "recurringType"), std::vector<std::string>{localized("TypeMonthly")});
}

TEST_F(RecurringWindowTest, AChangedScheduleMakesWhatIsDueAtOnceAndLeavesItUnderGeneratedWhenAsked)
{
    CCreateRecurringTrnsPopupController* sheet = newMonthlyRent("15.11.2026");
    ASSERT_NE(sheet, nullptr);
    clickPopupEntry(outlet<QComboBox>(*sheet, "periodicityPopup"), QString::fromStdString(localized("TypeManual")));
    ok(*sheet);
    // Manual: nothing is made, and there is no next date.
    EXPECT_TRUE(datesIn(books().accounting()->Get_TransactionArray(), "Rent").empty());
    EXPECT_EQ(column(*page, Tab::Recurring, "nextDate"), std::vector<std::string>{""});

    // Monthly on the first Monday, to be booked by hand.
    ASSERT_EQ(page->tableModel(Tab::Recurring)->rowCount(), 1);
    page->selectItem(Tab::Recurring, page->tableModel(Tab::Recurring)->itemAt(0).get());
    doubleClickSelectedRow(page->table(Tab::Recurring));
    sheet = recurringSheet();
    ASSERT_NE(sheet, nullptr);
    chooseMonthly(*sheet);
    clickRadio(*sheet, "onWeekdayOfMonth");
    clickPopupEntry(outlet<QComboBox>(*sheet, "weekdayOfMonthPopup"), QString::fromStdString(localized("WEEKDAYMONDAY")));
    EXPECT_TRUE(checked<QRadioButton>(*sheet, "onWeekdayOfMonth"));
    clickPopupEntry(outlet<QComboBox>(*sheet, "weekOfMonthPopup"), QString::fromStdString(localized("WEEKOFMONTHFIRST")));
    if (auto* approval = outlet<QCheckBox>(*sheet, "automaticApprovalCheck"))
        QTest::mouseClick(approval, Qt::LeftButton);
    ok(*sheet);

    // Made at once, dated on the first Monday of December, and waiting.
    EXPECT_EQ(datesIn(books().accounting()->mUnlinkedList.get(), "Rent"), std::vector<DateT>{20261207});
    EXPECT_TRUE(datesIn(books().accounting()->Get_TransactionArray(), "Rent").empty());
    EXPECT_DOUBLE_EQ(checkingBalance(), 2000.0);
    EXPECT_EQ(column(*page, Tab::Recurring, "nextDate"), std::vector<std::string>{"04.01.2027"});
    page = showPage<GXTransactionViewController>(localized("GENERATEDBUTTON"), 2);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->selectedTab(), Tab::Unlinked);
    EXPECT_EQ(column(*page, Tab::Unlinked, "date"), std::vector<std::string>{"07.12.2026"});
    EXPECT_TRUE(books().isDocumentEdited());
}

// The monthly schedule: a new template counts by the day of its date; the
// way of counting the person touched last is the one stored, even when the
// day typed is the one shown; a monthly template reopens on the way it
// stores; the next date follows.
TEST_F(RecurringWindowTest, TheMonthlyWayLastTouchedIsStored)
{
    CCreateRecurringTrnsPopupController* sheet = newMonthlyRent("05.11.2026");
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(checked<QRadioButton>(*sheet, "onDayOfMonth")) << "a new template counts by the day";
    EXPECT_EQ(outlet<QSpinBox>(*sheet, "dayOfMonthField")->value(), 5) << "the day of the template's date";
    clickPopupEntry(outlet<QComboBox>(*sheet, "weekdayOfMonthPopup"), QString::fromStdString(localized("WEEKDAYTUESDAY")));
    ASSERT_TRUE(checked<QRadioButton>(*sheet, "onWeekdayOfMonth")) << "choosing a weekday chooses counting by it";
    typeDay(*sheet, "5");
    EXPECT_TRUE(checked<QRadioButton>(*sheet, "onDayOfMonth")) << "typing the day shown chooses the day";
    ok(*sheet);
    auto rent = onlyTemplate();
    ASSERT_NE(rent, nullptr);
    EXPECT_EQ(rent->mMonthlyType().value_or(-1), 0);
    EXPECT_EQ(rent->mDayOfMonth().value_or(-1), 5);
    EXPECT_EQ(datesIn(books().accounting()->Get_TransactionArray(), "Rent"), std::vector<DateT>{20261205});
    EXPECT_EQ(column(*page, Tab::Recurring, "nextDate"), std::vector<std::string>{"05.01.2027"});

    // Reopened on the day; the second Monday chosen instead.
    sheet = reopen(*rent);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(checked<QRadioButton>(*sheet, "onDayOfMonth"));
    clickPopupEntry(outlet<QComboBox>(*sheet, "weekOfMonthPopup"), QString::fromStdString(localized("WEEKOFMONTHSECOND")));
    EXPECT_TRUE(checked<QRadioButton>(*sheet, "onWeekdayOfMonth"));
    ok(*sheet);
    EXPECT_EQ(rent->mMonthlyType().value_or(-1), 1);
    EXPECT_EQ(rent->mWeekType().value_or(-1), 1);
    EXPECT_EQ(column(*page, Tab::Recurring, "nextDate"), std::vector<std::string>{"14.12.2026"});

    // Reopened on the second Monday; the day shown typed again.
    sheet = reopen(*rent);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(checked<QRadioButton>(*sheet, "onWeekdayOfMonth"));
    EXPECT_EQ(outlet<QComboBox>(*sheet, "weekOfMonthPopup")->currentIndex(), 1);
    EXPECT_EQ(outlet<QComboBox>(*sheet, "weekdayOfMonthPopup")->currentIndex(), 0);
    ASSERT_EQ(outlet<QSpinBox>(*sheet, "dayOfMonthField")->value(), 5);
    typeDay(*sheet, "5");
    EXPECT_TRUE(checked<QRadioButton>(*sheet, "onDayOfMonth"));
    ok(*sheet);
    EXPECT_EQ(rent->mMonthlyType().value_or(-1), 0);
    EXPECT_EQ(rent->mDayOfMonth().value_or(-1), 5);
    EXPECT_EQ(column(*page, Tab::Recurring, "nextDate"), std::vector<std::string>{"05.01.2027"});
    EXPECT_EQ(datesIn(books().accounting()->Get_TransactionArray(), "Rent"), std::vector<DateT>{20261205});
    EXPECT_TRUE(books().isDocumentEdited());
}

// A weekly schedule not booked when due makes several waiting copies at
// once: the Generated list shows every one of them straight away.
TEST_F(RecurringWindowTest, SeveralWaitingCopiesShowUnderGeneratedAtOnce)
{
    page = recurringPage();
    ASSERT_NE(page, nullptr);
    // Generated shown once before, so that its list is there to go stale.
    ASSERT_NE(showPage<GXTransactionViewController>(localized("GENERATEDBUTTON"), 2), nullptr);
    page = recurringPage();
    clickButton(*page, Tab::Recurring, "PAGEADD");
    CCreateRecurringTrnsPopupController* sheet = recurringSheet();
    ASSERT_NE(sheet, nullptr);
    fillRent(*sheet, "19.11.2026");
    clickPopupEntry(outlet<QComboBox>(*sheet, "periodicityPopup"), QString::fromStdString(localized("TypeWeekly")));
    auto* approval = outlet<QCheckBox>(*sheet, "automaticApprovalCheck");
    ASSERT_NE(approval, nullptr);
    if (approval->isChecked()) QTest::mouseClick(approval, Qt::LeftButton);
    ok(*sheet);

    const std::vector<DateT> made = datesIn(books().accounting()->mUnlinkedList.get(), "Rent");
    ASSERT_GE(made.size(), 2u) << "several copies wait";
    page = showPage<GXTransactionViewController>(localized("GENERATEDBUTTON"), 2);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->controller(Tab::Unlinked).arrangedCount(), made.size());
    EXPECT_EQ(column(*page, Tab::Unlinked, "date").size(), made.size());
}

} // namespace
} // namespace ch
