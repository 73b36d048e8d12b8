#include <QRadioButton>

#include "sheet_test_support.h"
#include "ui/controls/CPopupList.h"
#include "ui/sheets/CNewAccountTypeController.h"
#include "ui/sheets/CNewExpenseTypeController.h"
#include "ui/sheets/CNewMasterExpenseTypeController.h"

namespace ch::test {
namespace {

class ChartSheetsTest : public ::testing::Test {
protected:
    BridgeEnvironment env;
    SheetTestDocument doc;

    void open(CPopupWindowAncestor& sheet, SheetParameters parameters)
    {
        parameters.set(sheet_key::kDocument, static_cast<SheetDocument*>(&doc));
        sheet.openSheet(nullptr, parameters);
        ASSERT_TRUE(sheet.isVisible());
    }
    std::string groupName(ObjectIdT id)
    {
        return doc.root().GetMasterExpenseTypeForId(id)->Get_StringrefName();
    }
};

struct FakeImportLine : ImportLine {
    std::optional<long> other;
    std::optional<long> category;
    std::optional<long> mOtherAccountId() const override { return other; }
    void setMOtherAccountId(long id) override { other = id; }
    void setMCounterPartyId(long) override {}
    void setMExpenseTypeId(long id, bool) override { category = id; }
};

TEST_F(ChartSheetsTest, CategoryIsCreatedInTheTypedGroupAndReportedBack)
{
    CNewExpenseTypeController sheet;
    open(sheet, {{std::string(sheet_key::kCallbackSelectorName), std::string("setForAccountId:")}});
    typeInto(outlet(sheet, "nameField"), "Groceries");
    typeInto(outlet(sheet, "masterTypeField"), QString::fromStdString(groupName(1)));
    typeInto(outlet(sheet, "taxDeductiblePctField"), "50");
    click(sheet, "OKButton");
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewCategory});
    const auto& args = doc.sent()[0].args<arguments::CategoryParameters>();
    EXPECT_EQ(args.mParentId, 1);
    EXPECT_EQ(args.mMasterTypeId, 1);
    EXPECT_EQ(args.mTaxDeductiblePct, 50.0);
    CExpenseType* made = doc.root().GetExpenseTypeForName(std::string_view("Groceries"));
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(doc.callbacks.size(), 1u);
    EXPECT_EQ(doc.callbacks[0].selector, "setForAccountId:");
    EXPECT_EQ(doc.callbacks[0].arguments["NEWKEY"].toLong(), made->Get_Id());
}

TEST_F(ChartSheetsTest, CategoryChecksKeepTheSheetOpen)
{
    doc.addAccount(30, 1, "Bank");       // a property account
    doc.addAccount(31, 3, "Shop");       // profit and loss
    doc.addCategory(40, 1, "Rent");
    const std::string expense = groupName(1), transfer = groupName(2);
    struct Case {
        const char* name;
        std::string group;
        std::optional<long> counterAccount;
        long error;
    };
    const Case cases[] = {
        {"Food", "", std::nullopt, 204},
        {"Food", "12345", std::nullopt, 204},
        {"", expense, std::nullopt, 202},
        {"rent", expense, std::nullopt, 266},
        {"Food", expense, 30, 208},
        {"Food", transfer, 31, 231},
    };
    for (const Case& c : cases) {
        CNewExpenseTypeController sheet;
        auto line = std::make_shared<FakeImportLine>();
        line->other = c.counterAccount;
        open(sheet, {{std::string(sheet_key::kImportRecord), std::shared_ptr<ImportLine>(line)}});
        env.alerts().clear();
        typeInto(outlet(sheet, "nameField"), c.name);
        typeInto(outlet(sheet, "masterTypeField"), QString::fromStdString(c.group));
        click(sheet, "OKButton");
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{c.error}) << c.name << "/" << c.group;
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(outlet<QLineEdit>(sheet, "nameField")->text(), c.name);
    }
    EXPECT_TRUE(doc.sent().empty());

    // The same import line with a transfer group is completed with the new category.
    CNewExpenseTypeController sheet;
    auto line = std::make_shared<FakeImportLine>();
    line->other = 30;
    open(sheet, {{std::string(sheet_key::kImportRecord), std::shared_ptr<ImportLine>(line)}});
    typeInto(outlet(sheet, "nameField"), "Savings transfer");
    typeInto(outlet(sheet, "masterTypeField"), QString::fromStdString(transfer));
    click(sheet, "OKButton");
    EXPECT_EQ(line->category, doc.root().GetExpenseTypeForName(std::string_view("Savings transfer"))->Get_Id());
    EXPECT_EQ(doc.importsCompleted, 1);
}

TEST_F(ChartSheetsTest, CategoryIsModifiedAndCancelLeavesItAlone)
{
    doc.addCategory(40, 1, "Rent");
    auto rent = doc.dataItemController().categoryItemForCategory(doc.root().GetExpenseTypeForID(40));
    for (bool confirm : {false, true}) {
        CNewExpenseTypeController sheet;
        open(sheet, {{std::string(sheet_key::kDialogAction), 2L}, {std::string(sheet_key::kExpenseTypeToModify), rent}});
        EXPECT_EQ(outlet<QLineEdit>(sheet, "nameField")->text(), "Rent");
        typeInto(outlet(sheet, "nameField"), "Housing");
        click(sheet, confirm ? "OKButton" : "CancelButton");
        EXPECT_FALSE(sheet.isVisible());
        EXPECT_EQ(rent->getName(), confirm ? "Housing" : "Rent");
    }
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kModifyCategory});
    EXPECT_EQ(doc.sent()[0].target, rent);
    EXPECT_EQ(doc.sent()[0].args<arguments::CategoryParameters>().idKey, 40);
}

TEST_F(ChartSheetsTest, AccountTypeSheetSendsItsKindAndParent)
{
    doc.addAccountType(20, 1, "Banks");
    CNewAccountTypeController sheet;
    open(sheet, {{std::string(sheet_key::kMasterAccountType), 1L}, {std::string(sheet_key::kAccountType), 1L}});
    EXPECT_FALSE(outlet(sheet, "masterTypePopup")->isEnabled());
    for (const auto& [name, error] : {std::pair{"", 202L}, std::pair{"banks", 266L}}) {
        env.alerts().clear();
        typeInto(outlet(sheet, "nameField"), name);
        click(sheet, "OKButton");
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{error}) << name;
    }
    typeInto(outlet(sheet, "nameField"), "Cash");
    typeInto(outlet(sheet, "classifiactionNumber"), "570");
    click(sheet, "OKButton");
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewAccountType});
    const auto& args = doc.sent()[0].args<arguments::AccountTypeArguments>();
    EXPECT_EQ(args.accountTypeName, "Cash");
    EXPECT_EQ(args.accountingNumber, "570");
    EXPECT_EQ(args.theMasterType, 1);
    EXPECT_EQ(args.theAccountTypeId, 1);
    EXPECT_EQ(args.accountTypeId, -1);
    EXPECT_GE(doc.changes, 1);
}

TEST_F(ChartSheetsTest, CategoryGroupNeedsAKind)
{
    CNewMasterExpenseTypeController sheet;
    open(sheet, {{std::string(sheet_key::kMasterExpenseType), 1L}});
    typeInto(outlet(sheet, "nameField"), "Leisure");
    click(sheet, "OKButton");
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{204});
    QTest::mouseClick(outlet<QRadioButton>(sheet, "systemType1"), Qt::LeftButton);
    click(sheet, "OKButton");
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewCategoryGroup});
    const auto& args = doc.sent()[0].args<arguments::CategoryGroupParameters>();
    EXPECT_EQ(args.name, "Leisure");
    EXPECT_EQ(args.mMasterType, 1);
    EXPECT_EQ(args.mParentId, 1);
}

} // namespace
} // namespace ch::test
