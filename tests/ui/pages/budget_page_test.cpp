// The budget page offscreen: budgets made, spread, transferred and
// cross-referenced through its sheets, and every cell of both sides read
// against the budget model afterwards.

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <functional>

#include "../../document/budget_fixture.h"
#include "ui/pages/CBudgetPageController.h"
#include "document/arguments/BudgetArguments.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNSStringDateTBridge.h"
#include "model/CAccount.h"
#include "model/CExpenseType.h"
#include "model/foundation/AmountLimit.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "ui/outlines/CNonVisualOutlineView.h"
#include "ui/outlines/CNonVisualOutlineViewController.h"

namespace ch::test {
namespace {

class BudgetPageTest : public BudgetBooksTest {
protected:
    BudgetPageTest()
    {
        page.resize(1100, 700);
        page.setParentDocument(document.get());
        page.setContent();
    }

    template <class SheetType>
    SheetType* openSheet()
    {
        auto* sheet = dynamic_cast<SheetType*>(page.openSheet());
        EXPECT_NE(sheet, nullptr);
        return sheet;
    }

    std::shared_ptr<CBuDhItem> showNewBudget()
    {
        makeBudget();
        page.setContent();
        return page.selectedBudget();
    }

    // Every cell of the side's tables shows what the model holds.
    void expectSideAgreesWithModel(bool accounts, FourCharCode type, ObjectIdT id)
    {
        SCOPED_TRACE(accounts ? "accounts" : "categories");
        ASSERT_TRUE(page.selectObject(accounts, type, id));
        QTableWidget* table = page.budgetTable(accounts);
        const auto& rows = budget_page::rows(accounts);
        ASSERT_EQ(table->rowCount(), static_cast<int>(rows.size()));
        const CNonVisualDataItem::Ptr& current = page.outlineController(accounts).currentItem();
        ASSERT_TRUE(current && current->getSourceItem());
        const CNonVisual& object = *current->getSourceItem();
        EXPECT_EQ(object.Get_ObjectType(), type);
        EXPECT_EQ(object.Get_Id(), id);
        for (int row = 0; row < table->rowCount(); ++row)
            for (int month = 0; month < 12; ++month) {
                const std::optional<double> amount =
                    budget_page::cellAmount(*page.selectedBudget(), object, rows[row].figure, month);
                EXPECT_EQ(table->item(row, month + 1)->text().toStdString(),
                          amount ? CNSNumberAmountTBridge::NSNumberToNSString(*amount) : std::string())
                    << "row " << row << " month " << month;
            }
        QTableWidget* xrefs = page.xrefTable(accounts);
        const auto* list = page.xrefList(accounts);
        ASSERT_EQ(xrefs->rowCount(), list ? static_cast<int>(list->size()) : 0);
        for (int row = 0; row < xrefs->rowCount(); ++row) {
            const CBuDxItem& xref = *(*list)[row];
            EXPECT_NE(xref.getSourceItem(), nullptr);
            EXPECT_EQ(xrefs->item(row, 0)->text().toStdString(), accounts ? xref.reasonName() : xref.accountName());
            EXPECT_EQ(xrefs->item(row, 1)->text().toStdString(),
                      CNSNumberAmountTBridge::NSNumberToNSString(xref.mBudgetFrom().value_or(0)));
            EXPECT_EQ(xrefs->item(row, 3)->text().toStdString(),
                      CNSNumberAmountTBridge::NSNumberToNSString(xref.mBudgetTo().value_or(0)));
        }
    }

    // The outline row of the object; invalid when the outline does not list it.
    QModelIndex rowOf(bool accounts, FourCharCode type, ObjectIdT id, const QModelIndex& parent = {})
    {
        NamedListOutlineModel& model = page.outlineController(accounts).model();
        for (int row = 0; row < model.rowCount(parent); ++row) {
            const QModelIndex index = model.index(row, 0, parent);
            const CNonVisual* object = model.itemAt(index)->getSourceItem();
            if (object && object->Get_ObjectType() == type && object->Get_Id() == id) return index;
            if (const QModelIndex below = rowOf(accounts, type, id, index); below.isValid()) return below;
        }
        return {};
    }

    // A click on the row, its folders opened first as the user would.
    void click(bool accounts, const QModelIndex& row)
    {
        CNonVisualOutlineView* outline = page.outlineView(accounts);
        for (QModelIndex up = row.parent(); up.isValid(); up = up.parent()) outline->expand(up);
        outline->scrollTo(row);
        QTest::mouseClick(outline->viewport(), Qt::LeftButton, {}, outline->visualRect(row).center());
    }

    static bool listHas(const std::vector<std::shared_ptr<CBuDxItem>>* list, ObjectIdT accountId, ObjectIdT categoryId)
    {
        if (!list) return false;
        for (const auto& xref : *list)
            if (xref->accountId() == accountId && xref->reasonId() == categoryId) return true;
        return false;
    }

    CBudgetPageController page;
};

TEST_F(BudgetPageTest, NewBudgetFromPastBookingsThroughTheSheet)
{
    page.createBudget();
    auto* sheet = openSheet<CNewBudgetController>();
    ASSERT_NE(sheet, nullptr);
    // No name: refused with 202, the sheet stays open.
    sheet->ok();
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{202});
    EXPECT_EQ(page.openSheet(), sheet);
    sheet->budgetNameField->setText("Household");
    sheet->budgetPeriodMatrix->button(budget_period::kCurrentYear)->setChecked(true);
    sheet->ok();
    ASSERT_EQ(page.openSheet(), nullptr);
    ASSERT_EQ(document->mBudgetArray().size(), 1u);
    ASSERT_NE(page.selectedBudget(), nullptr);
    EXPECT_EQ(page.budgetSelectionMenu()->currentText(), "Household");
    EXPECT_EQ(page.selectedBudget()->mStartDate(), 20090101);
    expectSideAgreesWithModel(true, type::kAccount, books::kDefaultAccount);
    expectSideAgreesWithModel(false, type::kExpenseType, books::kExpenseCategory);
    // January planned last January's pay.
    EXPECT_EQ(page.budgetTable(true)->item(1, 1)->text().toStdString(), CNSNumberAmountTBridge::NSNumberToNSString(500.0));
}

TEST_F(BudgetPageTest, SpreadTransferAndCrossReferencesThroughTheSheets)
{
    std::shared_ptr<CBuDhItem> budget = showNewBudget();
    ASSERT_NE(budget, nullptr);
    page.showSide(true);
    ASSERT_TRUE(page.selectObject(true, type::kAccount, books::kDefaultAccount));
    page.budgetTableClicked(true, 4);   // April

    // A new cross-reference from April to June: the account is the line's own.
    page.createBudgetXRef();
    auto* create = openSheet<CCreateBudgetXRefSheetController>();
    ASSERT_NE(create, nullptr);
    EXPECT_FALSE(create->accountPopupField->isEnabled());
    EXPECT_TRUE(create->reasonCodePopupField->isEnabled());
    chooseId(create->reasonCodePopupField, books::kExpenseCategory);
    create->budgetFromField->setText("40");
    create->copyXRefButton->setChecked(true);
    create->periodFromField->setValue(4);
    create->periodToField->setValue(6);
    create->ok();
    EXPECT_TRUE(listHas(page.xrefList(true), books::kDefaultAccount, books::kExpenseCategory));
    EXPECT_DOUBLE_EQ(accountLine(*budget, books::kDefaultAccount)->getBudgettedAmountWithType(budget_item::kBudgetOut, 5).value_or(0),
                     40.0);

    // Spread: April's planned outgoings of the account become 90.
    page.modifyBudgetDetail();
    auto* detail = openSheet<CModifyBudgetDetailController>();
    ASSERT_NE(detail, nullptr);
    detail->budgetFromField()->setText("90");
    detail->ok();
    EXPECT_DOUBLE_EQ(accountLine(*budget, books::kDefaultAccount)->getBudgettedAmountWithType(budget_item::kBudgetOut, 3).value_or(0),
                     90.0);

    // The modify sheet shows the pair but does not let it be changed.
    page.chooseXRef(true, 0);
    page.modifyBudgetXRef();
    auto* modify = openSheet<CBudgetXRefSheetController>();
    ASSERT_NE(modify, nullptr);
    EXPECT_FALSE(modify->accountPopupField->isEnabled());
    EXPECT_FALSE(modify->reasonCodePopupField->isEnabled());
    modify->endSheet(Sheet::kCancelled);

    // Transfer 250 to the savings account in April.
    const double savingsBefore =
        accountLine(*budget, savingsId)->getBudgettedAmountWithType(budget_item::kBudgetIn, 3).value_or(0);
    page.editTransferXRef();
    auto* transfer = openSheet<CTransferBudgetXRefSheetController>();
    ASSERT_NE(transfer, nullptr);
    chooseId(transfer->toAccountPopupField, savingsId);
    chooseId(transfer->reasonCodePopupField, kTransferCategory);
    transfer->budgetToField->setText("250");
    transfer->ok();
    EXPECT_DOUBLE_EQ(accountLine(*budget, savingsId)->getBudgettedAmountWithType(budget_item::kBudgetIn, 3).value_or(0) -
                         savingsBefore,
                     250.0);
    EXPECT_TRUE(environment.alerts().numbers().empty());
    expectSideAgreesWithModel(true, type::kAccount, books::kDefaultAccount);
    expectSideAgreesWithModel(true, type::kAccount, savingsId);

    // June's cross-reference shown on both sides, deleted from the category side.
    ASSERT_TRUE(page.selectObject(true, type::kAccount, books::kDefaultAccount));
    page.budgetTableClicked(true, 6);
    ASSERT_TRUE(page.selectObject(false, type::kExpenseType, books::kExpenseCategory));
    page.budgetTableClicked(false, 6);
    ASSERT_TRUE(listHas(page.xrefList(true), books::kDefaultAccount, books::kExpenseCategory));
    ASSERT_TRUE(listHas(page.xrefList(false), books::kDefaultAccount, books::kExpenseCategory));
    page.showSide(false);
    page.chooseXRef(false, 0);
    page.deleteBudgetXRef();
    EXPECT_TRUE(environment.alerts().numbers().empty());
    EXPECT_FALSE(listHas(page.xrefList(true), books::kDefaultAccount, books::kExpenseCategory));
    EXPECT_FALSE(listHas(page.xrefList(false), books::kDefaultAccount, books::kExpenseCategory));
    expectSideAgreesWithModel(true, type::kAccount, books::kDefaultAccount);
    expectSideAgreesWithModel(false, type::kExpenseType, books::kExpenseCategory);
    EXPECT_TRUE(document->isDocumentEdited());

    // For review: the account side as a person would see it (review/ beside tests/).
    page.showSide(true);
    ASSERT_TRUE(page.selectObject(true, type::kAccount, books::kDefaultAccount));
    page.budgetTableClicked(true, 5);
    const QString review = QCoreApplication::applicationDirPath() + "/../review";
    QDir().mkpath(review);
    page.show();
    page.grab().save(review + "/budget-page.png");
}

TEST_F(BudgetPageTest, AmountsBeyondTheLimitAreRefusedWhereTheyAreTyped)
{
    std::shared_ptr<CBuDhItem> budget = showNewBudget();
    ASSERT_NE(budget, nullptr);
    page.showSide(true);
    ASSERT_TRUE(page.selectObject(true, type::kAccount, books::kDefaultAccount));
    page.budgetTableClicked(true, 4);   // April
    const std::string refusal =
        formatMessage(localized("AMOUNTLIMIT"), {CNSNumberAmountTBridge::NSNumberToNSString(kAmountLimit)});
    auto planned = [&] {
        return accountLine(*budget, books::kDefaultAccount)->getBudgettedAmountWithType(budget_item::kBudgetOut, 3);
    };
    const struct {
        const char* what;
        std::function<BudgetSheet*()> open;
        std::function<QLineEdit*(BudgetSheet*)> field;
    } cases[] = {
        {"a new cross-reference",
         [&]() -> BudgetSheet* {
             page.createBudgetXRef();
             auto* sheet = openSheet<CCreateBudgetXRefSheetController>();
             chooseId(sheet->reasonCodePopupField, books::kExpenseCategory);
             return sheet;
         },
         [](BudgetSheet* sheet) { return static_cast<CCreateBudgetXRefSheetController*>(sheet)->budgetFromField; }},
        {"one month of a line",
         [&]() -> BudgetSheet* {
             page.modifyBudgetDetail();
             return openSheet<CModifyBudgetDetailController>();
         },
         [](BudgetSheet* sheet) { return static_cast<CModifyBudgetDetailController*>(sheet)->budgetFromField(); }},
        {"a transfer",
         [&]() -> BudgetSheet* {
             page.editTransferXRef();
             auto* sheet = openSheet<CTransferBudgetXRefSheetController>();
             chooseId(sheet->toAccountPopupField, savingsId);
             chooseId(sheet->reasonCodePopupField, kTransferCategory);
             return sheet;
         },
         [](BudgetSheet* sheet) { return static_cast<CTransferBudgetXRefSheetController*>(sheet)->budgetToField; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<double> before = planned();
        BudgetSheet* sheet = c.open();
        ASSERT_NE(sheet, nullptr);
        for (const char* text : {"1000000000000.01", "-2000000000000"}) {
            environment.alerts().clear();
            c.field(sheet)->setText(text);
            sheet->ok();
            ASSERT_EQ(environment.alerts().records().size(), 1u) << text;
            EXPECT_EQ(environment.alerts().records()[0].alert.message, refusal) << text;
            EXPECT_EQ(page.openSheet(), sheet) << text;
            EXPECT_EQ(planned(), before) << text;
        }
        environment.alerts().clear();
        c.field(sheet)->setText("1000000000000");
        sheet->ok();
        EXPECT_TRUE(environment.alerts().records().empty());
        EXPECT_EQ(page.openSheet(), nullptr);
        if (&c == &cases[1]) {
            EXPECT_DOUBLE_EQ(planned().value_or(0), kAmountLimit);
        }
    }
}

// Text that does not read as an amount is refused where it is typed, as
// every other sheet refuses it: the plan and its cross-references stay as
// they were, and the sheet stays open for the amount.
TEST_F(BudgetPageTest, AnUnreadablePlannedAmountIsRefusedAndThePlanStays)
{
    std::shared_ptr<CBuDhItem> budget = showNewBudget();
    ASSERT_NE(budget, nullptr);
    page.show();
    page.showSide(false);
    click(false, rowOf(false, type::kExpenseType, books::kExpenseCategory));
    QCoreApplication::processEvents();
    const int january = 0;
    auto planned = [&] {
        return categoryLine(*budget, books::kExpenseCategory)->getBudgettedAmountWithType(budget_item::kBudgetIn, january);
    };
    auto xrefPlans = [&] {
        std::vector<double> plans;
        const std::shared_ptr<CBuDdItem> line = categoryLine(*budget, books::kExpenseCategory);
        // A copy: reading a cross-reference may rebuild the line's lists.
        const CBuDdItem::XRefList xrefs = line->xRefForPeriod(january);
        for (const auto& xref : xrefs)
            plans.push_back(xref->mBudgetTo().value_or(0) - xref->mBudgetFrom().value_or(0));
        return plans;
    };
    const std::optional<double> before = planned();
    ASSERT_TRUE(before && *before != 0.0);
    const std::vector<double> xrefsBefore = xrefPlans();
    ASSERT_FALSE(xrefsBefore.empty());

    // A double click on January's planned cell opens the line's sheet.
    QTableWidget* table = page.budgetTable(false);
    const QRect cell = table->visualItemRect(table->item(0, january + 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    auto* sheet = dynamic_cast<CModifyBudgetDetailController*>(page.openSheet());
    ASSERT_NE(sheet, nullptr);
    QPushButton* ok = sheet->findChild<QPushButton*>("OKButton");
    ASSERT_NE(ok, nullptr);
    for (const char* text : {"1x5", "12..5", "abc"}) {
        environment.alerts().clear();
        sheet->budgetToField()->selectAll();
        QTest::keyClicks(sheet->budgetToField(), text);
        QTest::mouseClick(ok, Qt::LeftButton);
        ASSERT_EQ(environment.alerts().records().size(), 1u) << text;
        EXPECT_EQ(environment.alerts().records()[0].alert.message, localized("CONVFL")) << text;
        EXPECT_EQ(page.openSheet(), sheet) << text;
        EXPECT_EQ(planned(), before) << text;
        EXPECT_EQ(xrefPlans(), xrefsBefore) << text;
    }
    // Arithmetic reads as in the other sheets.
    environment.alerts().clear();
    sheet->budgetToField()->selectAll();
    QTest::keyClicks(sheet->budgetToField(), "100+50");
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(environment.alerts().records().empty());
    EXPECT_EQ(page.openSheet(), nullptr);
    EXPECT_DOUBLE_EQ(planned().value_or(0), 150.0);
}

TEST_F(BudgetPageTest, RefusalsShowTheirNumbersAndAFailedCommandRefreshesThePage)
{
    std::shared_ptr<CBuDhItem> budget = showNewBudget();
    ASSERT_TRUE(page.selectObject(true, type::kAccount, books::kDefaultAccount));
    // No month chosen yet.
    page.createBudgetXRef();
    page.budgetTableClicked(true, 4);
    // No cross-reference chosen.
    page.deleteBudgetXRef();
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{241, 243}));
    environment.alerts().clear();

    // A blocked budget refuses the new cross-reference: the failure is shown
    // and the page shows the unchanged model.
    executor().executeCommand(5, budget, arguments::ModifyBudgetHeaderArguments("Household", "", true));
    page.createBudgetXRef();
    auto* create = openSheet<CCreateBudgetXRefSheetController>();
    ASSERT_NE(create, nullptr);
    chooseId(create->reasonCodePopupField, books::kExpenseCategory);
    create->budgetFromField->setText("40");
    create->ok();
    const std::vector<long> shown = environment.alerts().numbers();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), 320);
    expectSideAgreesWithModel(true, type::kAccount, books::kDefaultAccount);

    // Updating the actual figures marks the document changed.
    document->clearChangeCount();
    page.updateActuals();
    EXPECT_TRUE(document->isDocumentEdited());
}

TEST_F(BudgetPageTest, TheTablesShowTheOutlineRowLastChosen)
{
    std::shared_ptr<CBuDhItem> budget = showNewBudget();
    ASSERT_NE(budget, nullptr);
    page.show();
    struct Side {
        bool accounts;
        FourCharCode type;
        ObjectIdT id;
    };
    for (const Side& side : {Side{true, type::kAccount, books::kDefaultAccount},
                             Side{false, type::kExpenseType, books::kExpenseCategory}}) {
        SCOPED_TRACE(side.accounts ? "accounts" : "categories");
        page.showSide(side.accounts);
        CNonVisualOutlineViewController& outline = page.outlineController(side.accounts);
        QTableWidget* table = page.budgetTable(side.accounts);
        EXPECT_EQ(outline.currentItem(), nullptr);
        EXPECT_EQ(table->rowCount(), 0);

        const QModelIndex row = rowOf(side.accounts, side.type, side.id);
        ASSERT_TRUE(row.isValid());
        click(side.accounts, row);
        ASSERT_NE(outline.currentItem(), nullptr);
        EXPECT_EQ(outline.currentItem()->getSourceItem()->Get_Id(), side.id);
        EXPECT_EQ(table->rowCount(), static_cast<int>(budget_page::rows(side.accounts).size()));
        page.budgetTableClicked(side.accounts, 3);
        EXPECT_EQ(page.selectedMonth(side.accounts), 2);

        // The folder above: its sums, and the months forgotten.
        click(side.accounts, row.parent());
        const CNonVisual* folder = outline.currentItem()->getSourceItem();
        ASSERT_TRUE(folder && budget_page::isFolder(*folder));
        EXPECT_EQ(page.selectedMonth(side.accounts), -1);
        const std::optional<double> planned = budget_page::cellAmount(*budget, *folder, budget_item::kBudgetIn, 0);
        EXPECT_EQ(table->item(1, 1)->text().toStdString(), CNSNumberAmountTBridge::NSNumberToNSString(planned.value_or(0)));

        // No row chosen: the folder stays shown.
        page.outlineView(side.accounts)->clearSelection();
        EXPECT_EQ(outline.currentItem()->getSourceItem(), folder);
        EXPECT_EQ(table->rowCount(), static_cast<int>(budget_page::rows(side.accounts).size()));
    }

    // The budget shown anew: nothing chosen on either side.
    page.setSelectedBudget(budget);
    for (bool accounts : {true, false}) {
        EXPECT_EQ(page.outlineController(accounts).currentItem(), nullptr);
        EXPECT_EQ(page.budgetTable(accounts)->rowCount(), 0);
    }
    // No budget: no rows of the one shown before.
    page.setSelectedBudget(nullptr);
    for (bool accounts : {true, false}) EXPECT_EQ(page.outlineController(accounts).model().rowCount(), 0);
}

TEST(BudgetPageColours, FavourableAndUnfavourableAmounts)
{
    using budget_page::Kind;
    using budget_page::Tint;
    using namespace budget_item;
    struct Case {
        Kind kind;
        BudgetItemTypeT figure;
        double amount;
        Tint tint;
    };
    const Case cases[] = {
        {Kind::Account, kBudgetIn, 10, Tint::Favourable},         {Kind::Account, kBudgetOut, 10, Tint::Unfavourable},
        {Kind::ExpenseCategory, kActualIn, -10, Tint::Favourable}, {Kind::IncomeCategory, kActualIn, 10, Tint::Favourable},
        {Kind::OtherCategory, kBudgetIn, 10, Tint::Unfavourable},  {Kind::Account, kBudgetStart, 10, Tint::None},
        {Kind::Account, kBudgetIn, 0, Tint::None},
        // The difference row: spending below plan and income above it are favourable.
        {Kind::ExpenseCategory, kMovementDifference, -5, Tint::Favourable},
        {Kind::ExpenseCategory, kMovementDifference, 5, Tint::Unfavourable},
        {Kind::IncomeCategory, kMovementDifference, 5, Tint::Favourable},
        {Kind::Account, kMovementDifference, -5, Tint::Unfavourable},
    };
    for (const Case& c : cases)
        EXPECT_EQ(budget_page::tintFor(c.kind, c.figure, c.amount), c.tint)
            << static_cast<int>(c.kind) << " " << c.figure << " " << c.amount;
}

TEST(BudgetSheetChecks, OrderOfTheChecksAndTheCopyRange)
{
    EXPECT_EQ(budget_page::checkNewBudget("", budget_base::kBaseBudget, 0, 0, std::nullopt), 202);
    EXPECT_EQ(budget_page::checkNewBudget("B", budget_base::kOneMonth, 0, 0, std::nullopt), 239);
    EXPECT_EQ(budget_page::checkNewBudget("B", budget_base::kLastYear, budget_period::kFollowBase, 0, std::nullopt), 184);
    EXPECT_EQ(budget_page::checkNewBudget("B", budget_base::kBaseBudget, 0, 0, 3L), 0);
    EXPECT_EQ(budget_page::checkXRef(std::nullopt, 1L, false, true), 244);
    EXPECT_EQ(budget_page::checkXRef(1L, 1L, false, true), 242);
    EXPECT_EQ(budget_page::checkXRef(1L, 1L, true, true), 248);
    EXPECT_EQ(budget_page::checkTransfer(std::nullopt, std::nullopt, 1L, 1L, false, false, false), 242);
    EXPECT_EQ(budget_page::checkTransfer(1.0, std::nullopt, 1L, 1L, false, false, false), 244);
    EXPECT_EQ(budget_page::checkTransfer(1.0, 1L, 2L, 3L, false, false, false), 245);
    EXPECT_EQ(budget_page::checkTransfer(1.0, 1L, 2L, 3L, true, false, false), 246);
    EXPECT_EQ(budget_page::checkTransfer(1.0, 1L, 2L, 3L, true, true, false), 247);
    EXPECT_EQ(budget_page::checkTransfer(1.0, 1L, 2L, 3L, true, true, true), 0);
    EXPECT_EQ(budget_page::xrefRange(7, true, 3, 5), std::make_pair(2, 4));
    for (auto [from, to] : {std::pair{5, 3}, std::pair{0, 4}, std::pair{3, 13}})
        EXPECT_EQ(budget_page::xrefRange(7, true, from, to), std::make_pair(7, 7));
    EXPECT_EQ(budget_page::xrefRange(7, false, 3, 5), std::make_pair(7, 7));
}

// The totals are what the budget's accounts hold together: 230 on the own
// account and 50 put aside when 2009 begins, and last year's movements
// (+230 and +50) planned on top.
TEST_F(BudgetPageTest, TheBudgetSheetShowsThePeriodTheThreeDatesAndTheFourTotalsEachInItsField)
{
    std::shared_ptr<CBuDhItem> budget = showNewBudget();
    ASSERT_NE(budget, nullptr);
    page.updateActuals();
    page.modifyBudget();
    auto* sheet = openSheet<CModifyBudgetController>();
    ASSERT_NE(sheet, nullptr);
    auto date = [](std::optional<long> value) {
        return value && *value > 0 ? CNSStringDateTBridge::dateTToNSString(static_cast<DateT>(*value)) : std::string();
    };
    auto amount = [](double value) { return CNSNumberAmountTBridge::NSNumberToNSString(value); };
    struct Case {
        const char* field;
        QLineEdit* shown;
        std::string expected;
    };
    for (const Case& c : std::vector<Case>{{"from", sheet->periodFromField, date(budget->mStartDate())},
                                           {"to", sheet->periodToField, date(budget->mEndDate())},
                                           {"created", sheet->createdOnField, date(budget->mAangemaaktOp())},
                                           {"modified", sheet->modifiedOnField, date(budget->mAangepastOp())},
                                           {"actuals", sheet->actualsUpdatedOnField, date(budget->mBerekendOp())},
                                           {"opening budget", sheet->openingBudgetField, amount(280)},
                                           {"closing budget", sheet->closingBudgetField, amount(560)},
                                           {"opening actuals", sheet->openingActualsField, amount(280)},
                                           {"closing actuals", sheet->closingActualsField, amount(280)}}) {
        ASSERT_NE(c.shown, nullptr) << c.field;
        EXPECT_EQ(c.shown->text().toStdString(), c.expected) << c.field;
        // Shown, not offered for typing.
        EXPECT_TRUE(c.shown->isReadOnly()) << c.field;
        EXPECT_FALSE(c.shown->hasFrame()) << c.field;
        EXPECT_EQ(c.shown->focusPolicy(), Qt::NoFocus) << c.field;
    }
    // A budget whose actuals were just calculated shows when.
    EXPECT_FALSE(sheet->actualsUpdatedOnField->text().isEmpty());
    EXPECT_FALSE(sheet->createdOnField->text().isEmpty());
    EXPECT_NE(sheet->periodFromField->text(), sheet->periodToField->text());

    // The shown figures do not hold OK back; name and comment go to command 5.
    sheet->nameField->setText("Household 2");
    sheet->ok();
    EXPECT_EQ(page.openSheet(), nullptr);
    EXPECT_EQ(budget->getName(), "Household 2");
}

// An empty budget, as a person starts one: each message says what to do
// next, in the order it is done (the line, its month, a cross-reference),
// and New Cross-reference works for a category that has no budget yet.
TEST_F(BudgetPageTest, AnEmptyBudgetSaysWhatToDoNextInTheOrderItIsDone)
{
    page.show();
    page.createBudget();
    auto* sheet = openSheet<CNewBudgetController>();
    ASSERT_NE(sheet, nullptr);
    sheet->budgetNameField->setText("Empty");
    sheet->budgetBaseMatrix->button(budget_base::kEmpty)->setChecked(true);
    sheet->budgetPeriodMatrix->button(budget_period::kCurrentYear)->setChecked(true);
    sheet->ok();
    ASSERT_NE(page.selectedBudget(), nullptr);
    auto newCrossReference = [&] {
        for (QPushButton* button : page.findChildren<QPushButton*>())
            if (button->isVisible() && button->text() == QString::fromStdString(localized("BUDGETNEWXREF")))
                QTest::mouseClick(button, Qt::LeftButton);
    };
    auto doubleClickMonth = [&](bool accounts, int month) {
        QTableWidget* table = page.budgetTable(accounts);
        ASSERT_GT(table->rowCount(), 1);
        const QPoint at = table->visualRect(table->model()->index(1, month + 1)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    };
    for (bool accounts : {true, false}) {
        SCOPED_TRACE(accounts ? "accounts" : "categories");
        page.showSide(accounts);
        environment.alerts().clear();
        newCrossReference();
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{240});   // first the line
        click(accounts, accounts ? rowOf(true, type::kAccount, books::kDefaultAccount)
                                 : rowOf(false, type::kExpenseType, books::kExpenseCategory));
        environment.alerts().clear();
        newCrossReference();
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{241});   // then its month
        EXPECT_EQ(page.openSheet(), nullptr);
        environment.alerts().clear();
        doubleClickMonth(accounts, 2);
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{189});   // then a cross-reference
        EXPECT_EQ(page.openSheet(), nullptr);
        newCrossReference();
        auto* xref = openSheet<CCreateBudgetXRefSheetController>();
        ASSERT_NE(xref, nullptr);
        EXPECT_EQ(chosenId(accounts ? xref->accountPopupField : xref->reasonCodePopupField),
                  accounts ? books::kDefaultAccount : books::kExpenseCategory);
        if (!accounts) {
            chooseId(xref->accountPopupField, books::kDefaultAccount);
            xref->budgetFromField->selectAll();
            QTest::keyClicks(xref->budgetFromField, "75");
            xref->ok();
            EXPECT_EQ(page.openSheet(), nullptr) << ::testing::PrintToString(environment.alerts().numbers());
            EXPECT_TRUE(listHas(page.xrefList(false), books::kDefaultAccount, books::kExpenseCategory));
        } else {
            xref->reject();
        }
    }
}

} // namespace
} // namespace ch::test
