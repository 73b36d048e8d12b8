#include <QComboBox>
#include <QSpinBox>
#include <QStackedWidget>

#include "sheet_test_support.h"
#include "ui/controls/CDateEditField.h"
#include "ui/sheets/CCreateRecurringTrnsPopupController.h"
#include "ui/sheets/CTransactionDetailTableView.h"

namespace ch::test {
namespace {

namespace key = transaction_sheet_key;

class RecurringSheetTest : public ::testing::Test {
protected:
    BridgeEnvironment env;
    SheetTestDocument doc;
    CCreateRecurringTrnsPopupController sheet;

    void SetUp() override
    {
        doc.addAccount(20, 1, "Bank");
        doc.addAccount(21, 3, "Landlord");
        doc.addCategory(40, 1, "Rent");
    }
    void openNew()
    {
        sheet.openSheet(nullptr, {{std::string(key::kDocument), static_cast<SheetDocument*>(&doc)},
                                  {std::string(key::kAction), 1L},
                                  {std::string(key::kTransactionType), 3L},
                                  {std::string(key::kFromAccount), doc.getAccountItemForId(20)},
                                  {std::string(key::kToAccount), doc.getAccountItemForId(21)}});
        QApplication::setActiveWindow(&sheet);
        ASSERT_TRUE(sheet.isVisible());
    }
    void chooseKind(int kind)
    {
        auto* popup = outlet<QComboBox>(sheet, "periodicityPopup");
        popup->setFocus(Qt::TabFocusReason);
        while (popup->currentIndex() < kind)
            QTest::keyClick(popup, Qt::Key_Down);
        while (popup->currentIndex() > kind)
            QTest::keyClick(popup, Qt::Key_Up);
    }
    void typeNumber(const char* field, int value)
    {
        auto* spin = outlet<QSpinBox>(sheet, field);
        spin->setFocus(Qt::TabFocusReason);
        spin->selectAll();
        QTest::keyClicks(spin, QString::number(value));
    }
    std::vector<bool> enabledDates()
    {
        std::vector<bool> enabled;
        for (int i = 1; i <= 12; ++i)
            enabled.push_back(outlet(sheet, QStringLiteral("dateOfYear%1").arg(i).toLatin1().constData())->isEnabled());
        return enabled;
    }
    std::shared_ptr<CRcrTItem> booked()
    {
        auto* made = static_cast<CRecurringTransaction*>(
            doc.root().mRecurringList->ObjectAt(doc.root().mRecurringList->GetCount()));
        return doc.dataItemController().transactionItemForRcrT(made);
    }
    void fillRent()
    {
        typeInto(outlet(sheet, "mNameField"), "Rent");
        typeInto(outlet(sheet, "mAmountField"), "750");
        QTest::keyClick(outlet(sheet, "mAmountField"), Qt::Key_Tab);
        auto* forTable = outlet<CTransactionDetailTableView>(sheet, "mForTable");
        forTable->setFocus(Qt::TabFocusReason);
        QWidget* editor = forTable->editor();
        ASSERT_NE(editor, nullptr);
        if (auto* popup = qobject_cast<QComboBox*>(editor))
            editor = popup->lineEdit();
        QTest::keyClicks(editor, "Rent");
        QTest::keyClick(editor, Qt::Key_Tab);
    }
};

TEST_F(RecurringSheetTest, TheNumberOfTimesAYearEnablesAsManyDates)
{
    openNew();
    chooseKind(7);
    EXPECT_EQ(outlet<QStackedWidget>(sheet, "recurringDetailsTab")->currentWidget()->objectName(), "7");
    for (int times : {12, 0, 3}) {
        typeNumber("numberOfTimesPerYearField", times);
        std::vector<bool> expected(12, false);
        std::fill_n(expected.begin(), times, true);
        EXPECT_EQ(enabledDates(), expected) << times;
    }
}

TEST_F(RecurringSheetTest, AMonthlyScheduleIsCreatedWithCommand25)
{
    openNew();
    fillRent();
    chooseKind(4);
    typeNumber("dayOfMonthField", 28);
    click(sheet, "OKButton");

    EXPECT_FALSE(sheet.isVisible()) << ::testing::PrintToString(env.alerts().numbers());
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewRecurringTransaction});
    auto made = booked();
    EXPECT_EQ(made->getName(), "Rent");
    EXPECT_EQ(made->mTotalAmount(), 750.0);
    EXPECT_EQ(made->mRecurringType(), 4);
    // What the sheet shows is what is booked: the day of the month.
    EXPECT_EQ(made->mMonthlyType(), 0);
    EXPECT_EQ(made->mDayOfMonth(), 28);
    EXPECT_EQ(made->mAutomaticApproval(), true);
}

TEST_F(RecurringSheetTest, SeveralDatesAYearAreKeptAndCancelBooksNothing)
{
    openNew();
    typeInto(outlet(sheet, "mNameField"), "Insurance");
    chooseKind(7);
    typeNumber("numberOfTimesPerYearField", 2);
    typeInto(outlet(sheet, "dateOfYear1"), "15.01.2025");
    click(sheet, "CancelButton");
    EXPECT_TRUE(doc.sent().empty());

    openNew();
    fillRent();
    chooseKind(7);
    typeNumber("numberOfTimesPerYearField", 2);
    typeInto(outlet(sheet, "dateOfYear1"), "15.01.2025");
    typeInto(outlet(sheet, "dateOfYear2"), "15.07.2025");
    click(sheet, "OKButton");
    EXPECT_FALSE(sheet.isVisible()) << (env.alerts().records().empty() ? std::string() : env.alerts().records()[0].alert.message);
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewRecurringTransaction});
    auto made = booked();
    EXPECT_EQ(made->mRecurringType(), 7);
    EXPECT_EQ(made->mNumberOfTimesPerYear(), 2);
    EXPECT_EQ(made->mDateOfYear(1), 20250115);
    EXPECT_EQ(made->mDateOfYear(2), 20250715);
    EXPECT_EQ(made->mDateOfYear(3), 0);
}

} // namespace
} // namespace ch::test
