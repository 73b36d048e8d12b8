// The sheets' amount fields take what they show: after a click into another
// field (no Tab), and when OK is clicked straight after typing. Amounts
// beyond the limit are refused where they are typed.

#include <QMenu>
#include <QVBoxLayout>

#include <functional>
#include <memory>

#include "model/CCurrency.h"
#include "model/CTransaction.h"
#include "model/foundation/AmountLimit.h"
#include "platform/core/message_format.h"
#include "sheet_test_support.h"
#include "ui/controls/CAmountField.h"
#include "ui/sheets/CAskCurrencyrateController.h"
#include "ui/sheets/CBuySharesSheetController.h"
#include "ui/sheets/CCreateTransactionPopupController.h"
#include "ui/sheets/CNewAccountController.h"
#include "ui/sheets/CRegisterDividendSheetController.h"

namespace ch::test {
namespace {

// An amount field and a field to move to, in an active window.
struct FieldWindow {
    QWidget window;
    CAmountField* field = new CAmountField;
    QLineEdit* other = new QLineEdit;
    FieldWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        window.show();
        QApplication::setActiveWindow(&window);
    }
};

// Books with a bank account, a broker and a tax office, a dividend and a tax
// category, and a share held in a portfolio account.
class AmountEntryTest : public ::testing::Test {
protected:
    BridgeEnvironment env;
    SheetTestDocument doc;
    std::shared_ptr<CCurRItem> acme;

    void SetUp() override
    {
        acme = addSharesAtTheBroker(doc);
        acme->setMComissionAccountId(21);
        acme->setMDividentAccountIdFrom(21);
        acme->setMDividentAccountIdTo(20);
        acme->setMDividentExpenseTypeId(30);
    }
    // Shows the sheet as the active window, as a user meets it.
    template <class Sheet>
    std::unique_ptr<CPopupWindowAncestor> shown(std::unique_ptr<Sheet> sheet, const SheetParameters& parameters)
    {
        sheet->openSheet(nullptr, parameters);
        EXPECT_TRUE(sheet->isVisible());
        QApplication::setActiveWindow(sheet.get());
        return sheet;
    }
    SheetParameters withDocument(SheetParameters parameters)
    {
        parameters.set(sheet_key::kDocument, static_cast<SheetDocument*>(&doc));
        return parameters;
    }
    double lastTransactionTotal()
    {
        const auto& list = doc.root().mTransactionList;
        if (list->GetCount() == 0) return -1;
        return doc.transactionItem(static_cast<CTransaction*>(list->ObjectAt(list->GetCount())))->mTotalAmount().value_or(-1);
    }

    struct SheetCase {
        const char* what;
        std::function<std::unique_ptr<CPopupWindowAncestor>()> open;   // shown, all but the amount filled in
        const char* amountField;
        const char* otherField;   // a line edit to click into
        std::function<double()> booked;
    };
    std::vector<SheetCase> sheets()
    {
        namespace trn = transaction_sheet_key;
        return {
            {"transaction",
             [this] {
                 auto sheet = shown(std::make_unique<CCreateTransactionPopupController>(nullptr, false),
                                    {{std::string(trn::kDocument), static_cast<SheetDocument*>(&doc)},
                                     {std::string(trn::kAction), 1L},
                                     {std::string(trn::kTransactionType), 3L},
                                     {std::string(trn::kFromAccount), doc.getAccountItemForId(20)},
                                     {std::string(trn::kToAccount), doc.getAccountItemForId(21)}});
                 typeInto(outlet(*sheet, "mNameField"), "Fees");
                 return sheet;
             },
             "mAmountField", "mNameField", [this] { return lastTransactionTotal(); }},
            {"opening balance of a new account",
             [this] {
                 auto sheet = shown(std::make_unique<CNewAccountController>(),
                                    withDocument({{std::string(sheet_key::kAccountType), 1L}}));
                 typeInto(outlet(*sheet, "nameField"), "Savings");
                 return sheet;
             },
             "newBalanceField", "nameField",
             [this] { return doc.sent().back().args<arguments::AccountArguments>().newBalance.value_or(-1); }},
            {"share trade",
             [this] {
                 auto sheet = shown(std::make_unique<CBuySharesSheetController>(), shareDealParameters(doc, acme, true));
                 typeInto(outlet(*sheet, "nrOfShares"), "1");
                 return sheet;
             },
             "pricePaid", "mDescription",
             [this] { return doc.sent().back().args<arguments::BuySellSharesParameters>().price.value_or(-1); }},
            {"dividend",
             [this] {
                 auto sheet = shown(std::make_unique<CRegisterDividendSheetController>(), dividendParameters(doc, acme));
                 typeInto(outlet(*sheet, "mTaxesToAccount"), "Tax office");
                 typeInto(outlet(*sheet, "mTaxesForExpenseType"), "Withholding tax");
                 return sheet;
             },
             "mTotalDividend", "mTaxes",
             [this] { return doc.sent().back().args<arguments::RegisterDividendParameters>().dividend.value_or(-1); }},
            {"currency rate",
             [this] {
                 auto sheet = std::make_unique<CAskCurrencyrateController>();
                 sheet->setCurrency(doc.dataItemController().currencyItemForCurrency(
                     doc.addCurrency(8, "USD", 1, 0.9)));
                 return shown(std::move(sheet), withDocument({{std::string(rate_sheet_key::kShortName), std::string("USD")},
                                                              {std::string(rate_sheet_key::kBaseShortName), std::string("EUR")},
                                                              {std::string(rate_sheet_key::kConversionQuantity), 1L},
                                                              {std::string(rate_sheet_key::kConversionFactor), 0.9}}));
             },
             "amountField", "quantityField",
             [this] { return doc.sent().back().args<arguments::CurrencyRateParameters>().factor.value_or(-1); }},
        };
    }
};

// The field alone: whatever takes the focus away, its value is what it shows.
// A pop-up or another window leaves the text as typed (the user is still in
// the field); unreadable text waits for the end of editing to be refused.
TEST_F(AmountEntryTest, TheFieldTakesReadableTextWhateverTakesTheFocusAway)
{
    struct Case {
        const char* what;
        std::function<void(CAmountField&, QLineEdit&)> leave;
        const char* shown;
    };
    const Case cases[] = {
        {"a click into another field", [](CAmountField&, QLineEdit& other) { QTest::mouseClick(&other, Qt::LeftButton); },
         "99.00"},
        {"Tab", [](CAmountField& field, QLineEdit&) { QTest::keyClick(&field, Qt::Key_Tab); }, "99.00"},
        {"another window",
         [](CAmountField& field, QLineEdit&) {
             QWidget elsewhere;
             elsewhere.show();
             QApplication::setActiveWindow(&elsewhere);
             EXPECT_FALSE(field.hasFocus());
         },
         "90+9"},
        {"a pop-up menu",
         [](CAmountField& field, QLineEdit&) {
             QMenu menu(&field);
             menu.addAction(QStringLiteral("Paste"));
             menu.popup(field.mapToGlobal(QPoint(2, 2)));
             // The field stays the focus widget, but is told it lost the focus.
             QCoreApplication::processEvents();
             menu.close();
         },
         "90+9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FieldWindow shown;
        CAmountField* field = shown.field;
        QLineEdit* other = shown.other;
        int changes = 0;
        QObject::connect(field, &CAmountField::valueChanged, [&changes] { ++changes; });

        typeInto(field, "42");
        QTest::keyClick(field, Qt::Key_Tab);
        ASSERT_EQ(field->value(), 42.0);
        typeInto(field, "90+9");
        c.leave(*field, *other);
        EXPECT_EQ(field->value(), 99.0);
        EXPECT_EQ(field->text().toStdString(), c.shown);
        EXPECT_EQ(changes, 2);
        EXPECT_TRUE(env.alerts().records().empty());
    }

    // Unreadable text left with the mouse: no alert in the click, the last
    // value stays, and the end of editing (OK, Book) refuses the text.
    FieldWindow shown;
    CAmountField* field = shown.field;
    QLineEdit* other = shown.other;
    typeInto(field, "12");
    QTest::keyClick(field, Qt::Key_Tab);
    typeInto(field, "abc");
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_TRUE(env.alerts().records().empty());
    EXPECT_EQ(field->value(), 12.0);
    EXPECT_EQ(field->text().toStdString(), "abc");
    EXPECT_FALSE(field->endEditing());
    ASSERT_EQ(env.alerts().records().size(), 1u);
    EXPECT_EQ(env.alerts().records()[0].alert.message, localized("CONVFL"));
}

TEST_F(AmountEntryTest, EverySheetTakesTheAmountShownAfterAClickElsewhereAndOnOK)
{
    for (const SheetCase& c : sheets()) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<CPopupWindowAncestor> sheet = c.open();
        auto* amount = outlet<CAmountField>(*sheet, c.amountField);
        auto* other = outlet<QLineEdit>(*sheet, c.otherField);
        ASSERT_TRUE(amount && other);

        // Taken with Tab, then typed over and left with the mouse.
        typeInto(amount, "42");
        QTest::keyClick(amount, Qt::Key_Tab);
        ASSERT_EQ(amount->value(), 42.0);
        typeInto(amount, "90+9");
        QTest::mouseClick(other, Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), other);
        EXPECT_EQ(amount->value(), 99.0);
        EXPECT_EQ(amount->text().toStdString(), "99.00");

        // Typed over, and OK clicked at once: what shows is booked.
        typeInto(amount, "77");
        click(*sheet, "OKButton");
        EXPECT_FALSE(sheet->isVisible());
        ASSERT_FALSE(doc.sent().empty());
        EXPECT_EQ(c.booked(), 77.0);
        EXPECT_TRUE(env.alerts().records().empty());
    }
}

TEST_F(AmountEntryTest, EverySheetRefusesAnAmountBeyondTheLimitAndTakesTheLimitItself)
{
    const std::string refusal = formatMessage(localized("AMOUNTLIMIT"), {"1,000,000,000,000.00"});
    for (const SheetCase& c : sheets()) {
        SCOPED_TRACE(c.what);
        const std::size_t sentBefore = doc.sent().size();
        const std::unique_ptr<CPopupWindowAncestor> sheet = c.open();
        auto* amount = outlet<CAmountField>(*sheet, c.amountField);
        ASSERT_NE(amount, nullptr);
        for (const char* text : {"1000000000000.01", "1,000,000,000,000,000", "999999999999*2"}) {
            env.alerts().clear();
            typeInto(amount, text);
            click(*sheet, "OKButton");
            ASSERT_EQ(env.alerts().records().size(), 1u) << text;
            EXPECT_EQ(env.alerts().records()[0].alert.message, refusal) << text;
            EXPECT_EQ(amount->text().toStdString(), text);
            EXPECT_TRUE(sheet->isVisible()) << text;
            EXPECT_EQ(doc.sent().size(), sentBefore) << text;
        }
        env.alerts().clear();
        typeInto(amount, "1000000000000");
        click(*sheet, "OKButton");
        EXPECT_TRUE(env.alerts().records().empty());
        EXPECT_FALSE(sheet->isVisible());
        ASSERT_EQ(doc.sent().size(), sentBefore + 1);
        EXPECT_EQ(c.booked(), kAmountLimit);
    }
}

} // namespace
} // namespace ch::test
