// The kind of a category group (income, expense, transfer) chosen again in
// its sheet: a top-level group that holds nothing yet takes the new kind and
// moves under it in the side bar; once it holds a category its kind stays,
// and the sheet no longer offers the choice.

#include <QRadioButton>

#include "../ui/sheets/sheet_test_support.h"
#include "app_test_steps.h"
#include "document/MyDocument.h"
#include "document/arguments/CategoryParameters.h"
#include "model/CDocAccounting.h"
#include "model/CMasterExpenseType.h"
#include "platform/core/localized_strings.h"
#include "ui/GXGradientOutlineView.h"
#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch {
namespace {

using namespace ch::test;

class CategoryKindsWindowTest : public ApplicationFixture {
protected:
    CategoryKindsWindowTest()
    {
        environment.defaults().set("GXShowNewDocumentAssistant", Value(false));
        booksPath = folder.filePath("kinds.books");
    }

    // The title of the side bar's row above the group's.
    std::string headerAbove(const std::string& group)
    {
        SideBarOutlineModel& rows = frame().sideBarController().outlineModel();
        const QModelIndex row = openAndFindSideBarRow(rows, group);
        if (!row.isValid()) return {};
        return rows.itemAt(row.parent())->getName();
    }
    // The group's sheet, opened by a double click on its row in the side bar.
    CPopupWindowAncestor* modifyInItsSheet(const std::string& group)
    {
        showPage(group);
        SideBarOutlineModel& rows = frame().sideBarController().outlineModel();
        GXGradientOutlineView& outline = *frame().v2Layout().sideBarView()->outline();
        const QModelIndex row = openAndFindSideBarRow(rows, group);
        if (!row.isValid()) return nullptr;
        outline.scrollTo(row);
        const QPoint at = outline.visualRect(row).center();
        QTest::mouseClick(outline.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(outline.viewport(), Qt::LeftButton, {}, at);
        settle();
        CPopupWindowAncestor* sheet = window().books().lastSheet();
        return sheet && sheet->isVisible() ? sheet : nullptr;
    }
    const CMasterExpenseType* group(const char* name)
    {
        return books().accounting()->GetMasterExpenseTypeForName(std::string_view(name));
    }
};

TEST_F(CategoryKindsWindowTest, AnEmptyTopLevelGroupTakesTheKindChosenInItsSheetAndKeepsItOnceItHoldsACategory)
{
    controller.newDocument();
    settle();
    // A new top-level expense group, as the side bar's New under Expenses makes it.
    arguments::CategoryGroupParameters hobbies;
    hobbies.idKey = -1;
    hobbies.name = "Hobbies";
    hobbies.mMasterType = 1;
    ASSERT_GT(books().commandExecutor().executeCommand(17, nullptr, hobbies), 0);
    ASSERT_TRUE(controller.save(window()));
    settle();
    ASSERT_EQ(headerAbove("Hobbies"), localized("expenseMxpTName"));

    CPopupWindowAncestor* sheet = modifyInItsSheet("Hobbies");
    ASSERT_NE(sheet, nullptr);
    auto* income = outlet<QRadioButton>(*sheet, "systemType0");
    ASSERT_TRUE(income->isEnabled());
    QTest::mouseClick(income, Qt::LeftButton);
    click(*sheet, "OKButton");
    settle();
    EXPECT_EQ(group("Hobbies")->Get_mMasterExpenseType(), 0);
    EXPECT_EQ(headerAbove("Hobbies"), localized("incomeMxpTName"));
    EXPECT_TRUE(books().isDocumentEdited());

    // With a category in it, the kind is shown but not offered.
    arguments::CategoryParameters lessons;
    lessons.idKey = -1;
    lessons.name = "Piano lessons";
    lessons.mMasterTypeId = group("Hobbies")->Get_Id();
    lessons.mParentId = lessons.mMasterTypeId;
    ASSERT_GT(books().commandExecutor().executeCommand(15, nullptr, lessons), 0);
    sheet = modifyInItsSheet("Hobbies");
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(outlet<QRadioButton>(*sheet, "systemType0")->isChecked());
    auto* expense = outlet<QRadioButton>(*sheet, "systemType1");
    EXPECT_FALSE(expense->isEnabled());
    QTest::mouseClick(expense, Qt::LeftButton);
    click(*sheet, "OKButton");
    settle();
    EXPECT_EQ(group("Hobbies")->Get_mMasterExpenseType(), 0);
    EXPECT_EQ(headerAbove("Hobbies"), localized("incomeMxpTName"));
}

} // namespace
} // namespace ch
