// The currencies page lists the booking lines of a currency's accounts: each
// amount and running balance says its currency, for they are not the same.

#include <QTableView>
#include <QTest>

#include "app_test_steps.h"
#include "bridge/CCurRItem.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CurrencyArguments.h"
#include "platform/core/localized_strings.h"
#include "ui/lists/ItemTableModel.h"
#include "ui/pages/GXCurrencyTableViewController.h"

namespace ch {
namespace {

using namespace ch::test;

class CurrencyLinesTest : public ApplicationFixture {
protected:
    CurrencyLinesTest() { environment.defaults().set("GXShowNewDocumentAssistant", Value(false)); }
};

TEST_F(CurrencyLinesTest, TheLinesOfACurrencySayTheCurrencyOfTheirAmountAndBalance)
{
    controller.makeNewDocument(false);
    settle();
    arguments::CurrencyArguments dollar;
    dollar.actionToPerform = 1;
    dollar.symbol = "USD";
    dollar.description = "US dollar";
    dollar.conversionQuantity = 1;
    dollar.conversionFactor = 0.5;
    books().commandExecutor().executeCommand(6, nullptr, dollar);
    std::shared_ptr<CCurRItem> usd;
    for (const auto& currency : books().mCurrencyArray())
        if (currency->mShortName() == "USD") usd = currency;
    ASSERT_NE(usd, nullptr);
    arguments::AccountArguments account(-1, std::string("Dollar Account"), std::string(), 1, *usd->getId(),
                                        std::nullopt, std::nullopt, std::nullopt, std::nullopt, 100.0, std::nullopt);
    const long dollars = books().commandExecutor().executeCommand(13, nullptr, account);
    const long shop = makeAccount(books(), "Shop", 3);
    ASSERT_GT(dollars, 0);
    bookTransaction(books(), dollars, shop, makeExpenseCategory(books(), "Travel"), 20.0, "Taxi", 20250805);

    auto* page = showPage<GXCurrencyTableViewController>(localized("CURRENCYBUTTON"), 1);
    ASSERT_NE(page, nullptr);
    const std::optional<std::size_t> row = page->controller().arrangedRowOf(usd.get());
    ASSERT_TRUE(row);
    const QModelIndex index = page->tableModel()->index(int(*row), 0);
    QTest::mouseClick(page->table()->viewport(), Qt::LeftButton, {}, page->table()->visualRect(index).center());
    settle();
    auto& lines = *static_cast<ItemTableModel*>(page->transactionTableView()->model());
    ASSERT_GE(lines.rowCount(), 1);
    const QString amount = lines.data(lines.index(0, lines.columnOf("amount"))).toString();
    const QString balance = lines.data(lines.index(0, lines.columnOf("balance"))).toString();
    EXPECT_TRUE(amount.endsWith(QStringLiteral(" EUR"))) << amount.toStdString();
    EXPECT_TRUE(balance.endsWith(QStringLiteral(" USD"))) << balance.toStdString();
}

} // namespace
} // namespace ch
