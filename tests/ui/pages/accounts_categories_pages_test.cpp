// The accounts and categories pages in an open window: they list exactly the
// model's objects below the selected node and the booking lines of the
// selected one, their figures add up in double precision, and the charts
// follow the selection.

#include <QPushButton>

#include <algorithm>
#include <set>

#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "model/CDocAccounting.h"
#include "ui/ChartSinkViews.h"
#include "ui/lists/GXTableAncestor.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/GXAccountTableViewController.h"
#include "ui/pages/GXCategoryTableViewController.h"
#include "../window_fixture.h"

namespace ch::test {
namespace {

std::set<CNonVisual*> objectsOf(const ItemTableModel& model)
{
    std::set<CNonVisual*> objects;
    for (int row = 0; row < model.rowCount(); ++row) objects.insert(model.itemAt(row)->getSourceItem());
    return objects;
}

template <class Items>
std::set<CNonVisual*> objectsOf(const Items& items)
{
    std::set<CNonVisual*> objects;
    for (const auto& item : items) objects.insert(item->getSourceItem());
    return objects;
}

void expectNewestFirst(const ItemTableModel& model)
{
    for (int row = 1; row < model.rowCount(); ++row)
        EXPECT_GE(std::static_pointer_cast<CDebetItem>(model.itemAt(row - 1))->transactionDateAsNumber().value_or(0),
                  std::static_pointer_cast<CDebetItem>(model.itemAt(row))->transactionDateAsNumber().value_or(0));
}

class AccountsCategoriesPagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture = buildFixtureBooks(open.books, 0);
        // Large amounts with cents: single precision would lose the cents.
        open.books.addTransaction(20240105, FixtureBooks::kIncomeAccount, fixture.checking, fixture.salary,
                                  1234567.89);
        open.books.addTransaction(20240210, FixtureBooks::kIncomeAccount, fixture.savings, fixture.interest,
                                  2345678.91);
        open.books.addTransaction(20240315, fixture.checking, FixtureBooks::kExpenseAccount, fixture.groceries,
                                  104321.17);
        open.books.addTransaction(20240320, fixture.checking, fixture.savings, FixtureBooks::kTransferCategory,
                                  100000.03);
        open.open();
    }
    template <class Page>
    Page* showPage(const std::string& title, int level = 0)
    {
        open.select(title, level);
        processEvents();
        auto* page = dynamic_cast<Page*>(open.sideBar().currentController());
        EXPECT_NE(page, nullptr) << title;
        return page;
    }

    UiEnvironment environment;
    OpenDocument open{0};
    FixtureBooks fixture;
};

TEST_F(AccountsCategoriesPagesTest, AccountTypeListsItsAccountsAndTheSelectedAccountsLines)
{
    auto* page = showPage<GXAccountTableViewController>("Bank Accounts");
    ASSERT_NE(page, nullptr);
    std::set<CNonVisual*> expected;
    for (const auto& account : open.books.allAccounts())
        if (account->getAccountTypeId() == fixture.bankTypes) expected.insert(account->getSourceItem());
    EXPECT_EQ(objectsOf(*page->upperModel()), expected);
    EXPECT_TRUE(page->addAccountButton()->isEnabled());
    EXPECT_EQ(page->chartTabIdentifier(), "bar");

    // The type's lines are those of its accounts.
    const auto type = open.books.getAccountTypeItemForId(fixture.bankTypes);
    EXPECT_EQ(objectsOf(*page->lowerModel()), objectsOf(type->allTransactionDetails()));
    EXPECT_EQ(page->barChart()->chart().dataItem(), type);

    for (ObjectIdT id : {fixture.checking, fixture.dollarAccount}) {
        const auto account = open.books.getAccountItemForId(id);
        page->selectUpperItem(account);
        EXPECT_EQ(page->mSelectedItem(), account);
        EXPECT_EQ(objectsOf(*page->lowerModel()), objectsOf(account->allTransactionDetails()));
        EXPECT_EQ(static_cast<std::size_t>(page->lowerModel()->rowCount()), account->allTransactionDetails().size());
        expectNewestFirst(*page->lowerModel());
        EXPECT_EQ(page->barChart()->chart().dataItem(), account);
        EXPECT_EQ(page->chartTabIdentifier(), "bar");
    }

    // Without a selection a refresh shows the type's lines with the pie of
    // its accounts.
    page->upperTable()->selectionModel()->clearSelection();
    page->refreshTransactionListAfterModification(true);
    EXPECT_EQ(page->chartTabIdentifier(), "pie");
    EXPECT_EQ(objectsOf(page->pieChart()->items()), objectsOf(type->pieChartChildrenArray()));
}

TEST_F(AccountsCategoriesPagesTest, ALinesAmountShowsMoneyInAndOutByColourNotBySign)
{
    auto* page = showPage<GXAccountTableViewController>("Bank Accounts");
    ASSERT_NE(page, nullptr);
    page->selectUpperItem(open.books.getAccountItemForId(fixture.checking));
    const ItemTableModel& lines = *page->lowerModel();
    const int amount = lines.columnOf("amount");
    std::set<long> in, out;
    for (int row = 0; row < lines.rowCount(); ++row) {
        const auto line = std::static_pointer_cast<CDebetItem>(lines.itemAt(row));
        const QColor shown = lines.data(lines.index(row, amount), Qt::ForegroundRole).value<QColor>();
        EXPECT_FALSE(lines.data(lines.index(row, amount)).toString().startsWith('-')) << row;
        const long date = line->transactionDateAsNumber().value_or(0);
        if (shown.green() > shown.red()) in.insert(date);
        if (shown.red() > shown.green()) out.insert(date);
    }
    EXPECT_TRUE(in.count(20240105)) << "the salary arrives";
    EXPECT_TRUE(out.count(20240315)) << "the groceries leave";
    EXPECT_TRUE(out.count(20240320)) << "the transfer to savings leaves";
}

TEST_F(AccountsCategoriesPagesTest, ModifyAndDeleteReachTheSelectedAccountFromItsList)
{
    auto* page = showPage<GXAccountTableViewController>("Bank Accounts");
    ASSERT_NE(page, nullptr);
    const auto account = open.books.getAccountItemForId(fixture.checking);
    page->selectUpperItem(account);
    page->upperTable()->setFocus();
    processEvents();
    ASSERT_TRUE(page->upperTable()->hasFocus());
    open.document.calls.clear();
    page->executeMenuCommand(1114, CommandSender::menuItem(1114));
    page->executeMenuCommand(1104, CommandSender::menuItem(1104));
    // A double click on the account's row opens its sheet too.
    emit page->upperTable()->doubleClicked(page->upperTable()->selectionModel()->selectedRows().value(0));
    EXPECT_EQ(open.document.operations(), (std::vector<std::string>{"modifyObject", "deleteObject", "modifyObject"}));
    for (const auto& call : open.document.calls) EXPECT_EQ(call.item, account) << call.operation;
}

TEST_F(AccountsCategoriesPagesTest, HeaderShowsAllItsAccountsAndItsTypeWithTheLowestId)
{
    auto* page = showPage<GXAccountTableViewController>(localized("OwnProperty"), 2);
    ASSERT_NE(page, nullptr);
    // The header's types, read from the model: the own-property type and
    // those below it.
    std::set<ObjectIdT> types{FixtureBooks::kOwnProperty};
    const CNamedListArray* typeList = open.books.root().mAccountTypeList.get();
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(typeList->GetCount()); ++i) {
        const auto type = open.books.getAccountTypeItemForId(typeList->ObjectAt(i)->Get_Id());
        if (type->getParentType() == static_cast<long>(FixtureBooks::kOwnProperty))
            types.insert(*type->getId());
    }
    ASSERT_GE(types.size(), 3u);
    EXPECT_EQ(page->mSelectedMasterItem()->getId(), *types.begin());
    std::set<CNonVisual*> expected;
    for (const auto& account : open.books.allAccounts())
        if (types.count(account->getAccountTypeId().value_or(-1))) expected.insert(account->getSourceItem());
    EXPECT_EQ(objectsOf(*page->upperModel()), expected);
    EXPECT_TRUE(page->addAccountButton()->isEnabled());
}

TEST_F(AccountsCategoriesPagesTest, FiguresAddChildrenInDoublePrecision)
{
    auto* accounts = showPage<GXAccountTableViewController>("Bank Accounts");
    ASSERT_NE(accounts, nullptr);
    const auto bank = open.books.getAccountTypeItemForId(fixture.bankTypes);
    const auto savings = open.books.getAccountTypeItemForId(fixture.savingsTypes);

    // A type's balance is the sum of its accounts.
    double accountSum = 0;
    for (const auto& account : bank->accountArray()) accountSum += account->getLocalBalance().value_or(0);
    EXPECT_EQ(accounts->selectedMasterItemBalance().toStdString(), CNSNumberAmountTBridge::NSNumberToNSString(accountSum));

    // A header adds its children's figures as doubles.
    auto header = std::make_shared<CNonVisualDataItem>();
    header->setHeaderLevel(1);
    header->setChildren(CNonVisualDataItem::ItemArray{bank, savings});
    accounts->synchronizeWithItemFromSuperview(header);
    const double sum = bank->getLocalBalance().value_or(0) + savings->getLocalBalance().value_or(0);
    const double singleSum = double(float(bank->getLocalBalance().value_or(0))) +
                             double(float(savings->getLocalBalance().value_or(0)));
    ASSERT_NE(CNSNumberAmountTBridge::NSNumberToNSString(sum), CNSNumberAmountTBridge::NSNumberToNSString(singleSum));
    EXPECT_EQ(accounts->selectedMasterItemBalance().toStdString(), CNSNumberAmountTBridge::NSNumberToNSString(sum));
    EXPECT_FALSE(accounts->newAllowed());

    auto* categories = showPage<GXCategoryTableViewController>("Household");
    ASSERT_NE(categories, nullptr);
    auto groups = std::make_shared<CNonVisualDataItem>();
    groups->setHeaderLevel(1);
    CNonVisualDataItem::ItemArray children = categories->mSelectedMasterItem()->children();
    children.push_back(categories->mSelectedMasterItem());
    groups->setChildren(children);
    categories->synchronizeWithItemFromSuperview(groups);
    double ytd = 0;
    for (const auto& child : children) ytd += std::dynamic_pointer_cast<CategoryAncestor>(child)->YTDThisYear().value_or(0);
    EXPECT_EQ(categories->selectedKPI(1).toStdString(), CNSNumberAmountTBridge::NSNumberToNSString(ytd));
    EXPECT_EQ(categories->selectedKPI(0), QString());
}

TEST_F(AccountsCategoriesPagesTest, GroupListsItsCategoriesAndTheSelectedCategorysLines)
{
    auto* page = showPage<GXCategoryTableViewController>("Household");
    ASSERT_NE(page, nullptr);
    const auto group = std::dynamic_pointer_cast<CMxpTItem>(page->mSelectedMasterItem());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(objectsOf(*page->upperModel()), objectsOf(group->leafArray()));
    EXPECT_EQ(page->upperModel()->rowCount(), 2);
    EXPECT_EQ(page->barChart()->chart().dataItem(), group);

    for (int row = 0; row < page->upperModel()->rowCount(); ++row) {
        const auto category = std::dynamic_pointer_cast<CExpTItem>(page->upperModel()->itemAt(row));
        ASSERT_NE(category, nullptr);
        page->selectUpperItem(category);
        EXPECT_EQ(objectsOf(*page->lowerModel()), objectsOf(category->forTransactionDetails()));
        expectNewestFirst(*page->lowerModel());
        EXPECT_EQ(page->barChart()->chart().dataItem(), category);
    }
    // Groceries has the large purchase.
    EXPECT_EQ(page->keyFigureTexts().front().toStdString(),
              CNSNumberAmountTBridge::NSNumberToNSString(group->YTDThisYear()));
}

TEST_F(AccountsCategoriesPagesTest, NewLineAppearsAfterTheTransactionNotification)
{
    auto* page = showPage<GXAccountTableViewController>("Savings");
    ASSERT_NE(page, nullptr);
    const auto account = open.books.getAccountItemForId(fixture.savings);
    page->selectUpperItem(account);
    const int before = page->lowerModel()->rowCount();
    open.books.addTransaction(20240401, fixture.checking, fixture.savings, FixtureBooks::kTransferCategory, 50.0);
    page->refreshTransactionListAfterModification(true);
    EXPECT_EQ(page->lowerModel()->rowCount(), before + 1);
    EXPECT_EQ(objectsOf(*page->lowerModel()), objectsOf(account->allTransactionDetails()));
}

} // namespace
} // namespace ch::test
