#include "sheet_test_support.h"
#include "ui/controls/CAmountField.h"
#include "ui/sheets/CAskCurrencyrateController.h"

namespace ch::test {
namespace {

class RateSheetTest : public ::testing::Test {
protected:
    BridgeEnvironment env;
    SheetTestDocument doc;
    CAskCurrencyrateController sheet;
    std::shared_ptr<CCurRItem> usd;

    void SetUp() override
    {
        doc.addCurrency(7, "USD", 1, 0.9);
        usd = doc.dataItemController().currencyItemForCurrency(doc.root().mCurrencyList->GetValueForId(7));
    }
    void open()
    {
        sheet.setCurrency(usd);
        sheet.openSheet(nullptr, {{std::string(sheet_key::kDocument), static_cast<SheetDocument*>(&doc)},
                                  {std::string(rate_sheet_key::kShortName), std::string("USD")},
                                  {std::string(rate_sheet_key::kBaseShortName), std::string("EUR")},
                                  {std::string(rate_sheet_key::kConversionQuantity), 1L},
                                  {std::string(rate_sheet_key::kConversionFactor), 0.9}});
        ASSERT_TRUE(sheet.isVisible());
    }
};

TEST_F(RateSheetTest, ARateIsRecordedWithCommand18OnTheCurrency)
{
    open();
    typeInto(outlet(sheet, "quantityField"), "100");
    typeInto(outlet(sheet, "amountField"), "92.15");
    typeInto(outlet(sheet, "dateField"), "01.02.2025");
    click(sheet, "OKButton");
    EXPECT_FALSE(sheet.isVisible());
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kChangeRate});
    EXPECT_EQ(doc.sent()[0].target, usd);
    const auto& rate = doc.sent()[0].args<arguments::CurrencyRateParameters>();
    EXPECT_EQ(rate.quantity, 100);
    EXPECT_EQ(rate.factor, 92.15);
    EXPECT_EQ(rate.dateStart, 20250201);
}

TEST_F(RateSheetTest, BadInputGetsItsMessageAndCancelChangesNothing)
{
    struct Case {
        const char* field;
        const char* text;
        long error;
    };
    for (const Case& c : {Case{"quantityField", "0", 215}, Case{"quantityField", "-3", 215},
                          Case{"quantityField", "", 215}, Case{"amountField", "0", 216},
                          Case{"amountField", "-1.5", 216}, Case{"dateField", "someday", 151},
                          Case{"dateField", "", 217}}) {
        open();
        env.alerts().clear();
        typeInto(outlet(sheet, c.field), c.text);
        click(sheet, "OKButton");
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{c.error}) << c.field << "=" << c.text;
        EXPECT_TRUE(sheet.isVisible());
        if (std::string_view(c.field) == "dateField") {
            EXPECT_EQ(outlet<QLineEdit>(sheet, c.field)->text(), c.text);
        }
        click(sheet, "CancelButton");
    }
    EXPECT_TRUE(doc.sent().empty());
}

} // namespace
} // namespace ch::test
