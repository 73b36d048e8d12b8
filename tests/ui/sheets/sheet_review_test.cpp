// Writes a picture of each sheet into the build folder (review/sheets/) for
// looking at; asserts only that a picture was made.

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>

#include <functional>

#include "sheet_test_support.h"
#include "ui/sheets/CAskCurrencyrateController.h"
#include "ui/sheets/CBuySharesSheetController.h"
#include "ui/sheets/CRegisterDividendSheetController.h"
#include "ui/sheets/CCreateRecurringTrnsPopupController.h"
#include "ui/sheets/CCreateTransactionPopupController.h"
#include "ui/sheets/CNewAccountController.h"
#include "ui/sheets/CNewAccountTypeController.h"
#include "ui/sheets/CNewExpenseTypeController.h"
#include "ui/sheets/CNewCurrencyController.h"
#include "ui/sheets/CNewMasterExpenseTypeController.h"
#include "ui/sheets/CNewOwnerController.h"
#include "ui/sheets/CNewShareController.h"

namespace ch::test {
namespace {

TEST(SheetReview, EachSheetIsDrawn)
{
    BridgeEnvironment env;
    LocalizedStrings strings;
    strings.loadFile(LocalizedStrings::defaultPath());
    ScopedLocalizedStrings scope(strings);
    SheetTestDocument doc;
    doc.addAccount(20, 1, "Bank");
    const QString folder = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../review/sheets"));
    QDir().mkpath(folder);
    auto draw = [&](CPopupWindowAncestor& sheet, SheetParameters parameters, const char* name,
                    std::string_view documentKey = sheet_key::kDocument,
                    const std::function<void()>& prepare = {}) {
        parameters.set(documentKey, static_cast<SheetDocument*>(&doc));
        sheet.openSheet(nullptr, parameters);
        if (prepare) prepare();
        sheet.adjustSize();
        const QPixmap picture = sheet.grab();
        EXPECT_FALSE(picture.isNull()) << name;
        EXPECT_TRUE(picture.save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"))) << name;
        sheet.cancelClicked();
    };
    CNewAccountController account;
    draw(account, {{std::string(sheet_key::kAccountType), 1L}, {std::string(sheet_key::kName), std::string("Savings")}},
         "account");
    CNewAccountTypeController type;
    draw(type, {{std::string(sheet_key::kMasterAccountType), 1L}}, "account-type");
    CNewExpenseTypeController category;
    draw(category, {}, "category");
    CNewMasterExpenseTypeController group;
    draw(group, {{std::string(sheet_key::kSystemExpenseType), 1L}}, "category-group");
    CCreateTransactionPopupController transaction;
    draw(transaction,
         {{std::string(transaction_sheet_key::kAction), 1L},
          {std::string(transaction_sheet_key::kFromAccount), doc.getAccountItemForId(20)}},
         "transaction", transaction_sheet_key::kDocument);
    CCreateRecurringTrnsPopupController recurring;
    draw(recurring,
         {{std::string(transaction_sheet_key::kAction), 1L},
          {std::string(transaction_sheet_key::kFromAccount), doc.getAccountItemForId(20)}},
         "recurring-transaction", transaction_sheet_key::kDocument);
    draw(recurring,
         {{std::string(transaction_sheet_key::kAction), 1L},
          {std::string(transaction_sheet_key::kFromAccount), doc.getAccountItemForId(20)}},
         "recurring-transaction-monthly", transaction_sheet_key::kDocument,
         [&] { recurring.setPeriodicity(4); });
    CNewCurrencyController currency;
    draw(currency, {{std::string(sheet_key::kCurrencyId), 1L}}, "currency");
    CNewShareController share;
    draw(share, {{std::string(sheet_key::kCurrencyId), 1L}}, "share");
    CAskCurrencyrateController rate;
    draw(rate,
         {{std::string(rate_sheet_key::kShortName), std::string("USD")},
          {std::string(rate_sheet_key::kBaseShortName), std::string("EUR")},
          {std::string(rate_sheet_key::kConversionQuantity), 1L},
          {std::string(rate_sheet_key::kConversionFactor), 0.92}},
         "rate");
    auto acme = doc.dataItemController().currencyItemForCurrency(
        doc.addCurrency(7, "ACME", 1, 12.5, currency_type::kShare));
    CBuySharesSheetController buy;
    draw(buy, shareDealParameters(doc, acme, true), "share-buy", share_deal_key::kDocument);
    CBuySharesSheetController sell;
    draw(sell, shareDealParameters(doc, acme, false), "share-sell", share_deal_key::kDocument);
    CRegisterDividendSheetController dividend;
    draw(dividend, dividendParameters(doc, acme), "dividend", share_deal_key::kDocument);
    CNewOwnerController owner;
    draw(owner, {{std::string(sheet_key::kPartnerName), std::string("Baker & Sons")}}, "owner");
}

} // namespace
} // namespace ch::test
