#include "document/arguments/CAcoWArguments.h"
#include "model/CAccountOwner.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "sheet_test_support.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CPopupList.h"
#include "ui/sheets/CNewCurrencyController.h"
#include "ui/sheets/CNewOwnerController.h"
#include "ui/sheets/CNewShareController.h"

#include <QCheckBox>

namespace ch::test {
namespace {

class MoneyObjectSheetTest : public ::testing::Test {
protected:
    BridgeEnvironment env;
    SheetTestDocument doc;

    void open(CPopupWindowAncestor& sheet, SheetParameters parameters)
    {
        parameters.set(sheet_key::kDocument, static_cast<SheetDocument*>(&doc));
        if (!parameters.contains(sheet_key::kCurrencyId))
            parameters.set(sheet_key::kCurrencyId, 1L);
        sheet.openSheet(nullptr, parameters);
        ASSERT_TRUE(sheet.isVisible());
    }
    // Fills what a share needs that the default books do not preset.
    void completeShare(CNewShareController& sheet)
    {
        for (const char* popup : {"comissionPLAccountPopup", "dividendSourceAccountPopup"})
            typeInto(outlet(sheet, popup), "2");
        for (const char* popup : {"comissionReasonCodePopup", "dividendReasonCodePopup"})
            typeInto(outlet(sheet, popup), "1");
        typeInto(outlet(sheet, "dividendDestinationPLAccountPopup"), "4");
    }
};

TEST_F(MoneyObjectSheetTest, CreatingACurrencySendsCommand6WithWhatWasTyped)
{
    CNewCurrencyController sheet;
    open(sheet, {});
    EXPECT_EQ(outlet<CAmountField>(sheet, "conversionQuantityField")->value(), 1.0);
    typeInto(outlet(sheet, "symbolField"), "USD");
    typeInto(outlet(sheet, "fullNameField"), "US dollar");
    typeInto(outlet(sheet, "conversionQuantityField"), "100");
    typeInto(outlet(sheet, "conversionFactorField"), "92.5");
    typeInto(outlet(sheet, "internetSymbol"), "USDEUR=X");
    click(sheet, "OKButton");

    EXPECT_FALSE(sheet.isVisible());
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewCurrency});
    EXPECT_EQ(doc.sent()[0].target, nullptr);
    const auto& args = doc.sent()[0].args<arguments::CurrencyArguments>();
    EXPECT_EQ(args.symbol, "USD");
    EXPECT_EQ(args.description, "US dollar");
    EXPECT_EQ(args.baseCurrencyId, 1);
    EXPECT_EQ(args.conversionQuantity, 100);
    EXPECT_EQ(args.conversionFactor, 92.5);
    EXPECT_EQ(args.fluctuationPlAccountId, CurrencySheetLogic::kNewFluctuationAccount);
    EXPECT_EQ(args.fluctuationsReasonCodeId, CurrencySheetLogic::kNewFluctuationCategory);
    EXPECT_EQ(args.internetSymbol, "USDEUR=X");
    EXPECT_EQ(args.actionToPerform, kActionCreate);
    EXPECT_GE(doc.changes, 1);
    EXPECT_TRUE(env.alerts().numbers().empty());
}

TEST_F(MoneyObjectSheetTest, CreatingAShareSendsCommand8WithItsAccounts)
{
    CNewShareController sheet;
    open(sheet, {});
    typeInto(outlet(sheet, "symbolField"), "ACME");
    typeInto(outlet(sheet, "fullNameField"), "Acme Corporation");
    // The share's portfolio account is made with it: nothing to choose.
    auto* portfolio = outlet<CPopupList>(sheet, "portfolioAccountPopup");
    EXPECT_FALSE(portfolio->isEnabled());
    EXPECT_TRUE(portfolio->currentText().isEmpty());
    EXPECT_EQ(portfolio->lineEdit()->placeholderText().toStdString(), localized("PORTFOLIONEWACCOUNT"));
    completeShare(sheet);
    click(sheet, "OKButton");

    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewShare});
    const auto& args = doc.sent()[0].args<arguments::CShareArguments>();
    EXPECT_EQ(args.symbol, "ACME");
    EXPECT_EQ(args.conversionQuantity, 1);
    EXPECT_EQ(args.conversionFactor, 1.0);
    EXPECT_EQ(args.portfolioAccountId, std::nullopt);
    EXPECT_EQ(args.comissionPLAccountId, 2);
    EXPECT_EQ(args.comissionReasonCodeId, 1);
    EXPECT_EQ(args.dividendSourcePLAccountId, 2);
    EXPECT_EQ(args.dividendDestinationPropertyAccountId, 4);
    EXPECT_EQ(args.dividendReasonCodId, 1);
}

// The message names the field to fill, and only that one.
TEST_F(MoneyObjectSheetTest, BadInputIsRefusedNamingTheFieldAndTheSheetStaysOpenWithTheText)
{
    struct Case {
        bool share;
        const char* field;
        const char* text;
        const char* label;
    };
    const Case cases[] = {
        {false, "symbolField", "", "FIELDSYMBOL"},
        {false, "fullNameField", "", "FIELDFULLNAME"},
        {false, "baseCurrencyPopup", "", "FIELDBASECURRENCY"},
        {false, "conversionQuantityField", "0", "FIELDQUANTITY"},     // amounts are divided by the quantity
        {false, "conversionQuantityField", "0.5", "FIELDQUANTITY"},
        {false, "conversionFactorField", "0", "FIELDFACTOR"},
        {false, "conversionFactorField", "-2", "FIELDFACTOR"},
        {false, "fluctuationsPLAccountPopup", "", "FIELDFLUCTUATIONACCOUNT"},
        {false, "fluctuationsReasonsPopup", "99", "FIELDFLUCTUATIONCATEGORY"},   // no category has that id
        {true, "symbolField", "", "FIELDSYMBOL"},
        {true, "conversionQuantityField", "0", "FIELDQUANTITY"},
        {true, "conversionFactorField", "0", "FIELDFACTOR"},
        {true, "comissionPLAccountPopup", "", "FIELDCOMMISSIONACCOUNT"},
        {true, "dividendReasonCodePopup", "", "FIELDDIVIDENDCATEGORY"},
        {true, "dividendDestinationPLAccountPopup", "", "FIELDDIVIDENDDESTINATION"},
    };
    CNewCurrencyController currency;
    CNewShareController share;
    for (const Case& c : cases) {
        CPopupWindowAncestor& sheet = c.share ? static_cast<CPopupWindowAncestor&>(share) : currency;
        open(sheet, {});
        if (c.share)
            completeShare(share);
        env.alerts().clear();
        typeInto(outlet(sheet, c.field), c.text);
        click(sheet, "OKButton");
        EXPECT_EQ(env.alerts().numbers(), std::vector<long>{361}) << c.field << "=" << c.text;
        std::string label = localized(c.label);
        label.pop_back();   // the colon
        if (!env.alerts().records().empty())
            EXPECT_EQ(env.alerts().records().back().alert.message,
                      formatMessage(localized("361"), {label})) << c.field;
        EXPECT_TRUE(sheet.isVisible());
        QWidget* field = outlet(sheet, c.field);
        if (auto* amount = qobject_cast<CAmountField*>(field))
            EXPECT_EQ(amount->value(), QString::fromLatin1(c.text).toDouble()) << c.field;
        else if (auto* text = qobject_cast<QLineEdit*>(field))
            EXPECT_EQ(text->text(), c.text);
        else
            EXPECT_EQ(qobject_cast<QComboBox*>(field)->currentText(), c.text);
        sheet.cancelClicked();
    }
    EXPECT_TRUE(doc.sent().empty());

    // A share's exchange differences account may stay empty.
    open(share, {});
    completeShare(share);
    typeInto(outlet(share, "fluctuationsPLAccountPopup"), "");
    click(share, "OKButton");
    EXPECT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewShare});
}

TEST_F(MoneyObjectSheetTest, ModifyingAShareSendsCommand9AndKeepsItsRate)
{
    auto acme = addSharesAtTheBroker(doc);
    CNewShareController sheet;
    open(sheet, {{std::string(sheet_key::kDialogAction), 2L}, {std::string(sheet_key::kCurrencyToModify), acme}});
    EXPECT_EQ(outlet<QLineEdit>(sheet, "symbolField")->text(), "ACME");
    EXPECT_FALSE(outlet(sheet, "conversionFactorField")->isEnabled());
    EXPECT_FALSE(outlet(sheet, "conversionQuantityField")->isEnabled());
    // The account the share is held in is shown and kept.
    auto* portfolio = outlet<CPopupList>(sheet, "portfolioAccountPopup");
    EXPECT_EQ(portfolio->currentText(), "ACME shares");
    EXPECT_FALSE(portfolio->isEnabled());
    typeInto(outlet(sheet, "fullNameField"), "Acme Inc.");
    typeInto(outlet(sheet, "baseCurrencyPopup"), "1");
    typeInto(outlet(sheet, "fluctuationsReasonsPopup"), "5");
    completeShare(sheet);
    click(sheet, "OKButton");
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kModifyShare});
    EXPECT_EQ(doc.sent()[0].target, acme);
    const auto& args = doc.sent()[0].args<arguments::CShareArguments>();
    EXPECT_EQ(args.description, "Acme Inc.");
    EXPECT_EQ(args.conversionFactor, 12.5);
    EXPECT_EQ(args.portfolioAccountId, 23);
    EXPECT_EQ(args.actionToPerform, kActionModify);
}

TEST_F(MoneyObjectSheetTest, CancelChangesNothing)
{
    CNewCurrencyController currency;
    CNewShareController share;
    CNewOwnerController owner;
    for (CPopupWindowAncestor* sheet : std::initializer_list<CPopupWindowAncestor*>{&currency, &share, &owner}) {
        open(*sheet, {});
        const char* name = sheet == &owner ? "nameField" : "symbolField";
        typeInto(outlet(*sheet, name), "Typed");
        click(*sheet, "CancelButton");
        EXPECT_FALSE(sheet->isVisible());
    }
    EXPECT_TRUE(doc.sent().empty());
    EXPECT_EQ(doc.changes, 0);
}

struct OwnerImportLine : ImportLine {
    std::optional<long> counterParty;
    std::optional<long> mOtherAccountId() const override { return std::nullopt; }
    void setMOtherAccountId(long) override {}
    void setMCounterPartyId(long id) override { counterParty = id; }
    void setMExpenseTypeId(long, bool) override {}
};

TEST_F(MoneyObjectSheetTest, CreatingAnOwnerSendsCommand26AndOnlyAMadeOneCompletesTheImportLine)
{
    CNewOwnerController sheet;
    for (bool refused : {false, true}) {
        doc.refuseAll = refused;
        auto line = std::make_shared<OwnerImportLine>();
        open(sheet, {{std::string(sheet_key::kPartnerName), std::string("Baker & Sons")},
                     {std::string(sheet_key::kPartnerAddress), std::string("1 Mill Lane")},
                     {std::string(sheet_key::kImportRecord), std::shared_ptr<ImportLine>(line)}});
        EXPECT_EQ(outlet<QLineEdit>(sheet, "nameField")->text(), "Baker & Sons");
        EXPECT_FALSE(outlet(sheet, "selectSupplierAccountsCheck")->isEnabled());
        EXPECT_FALSE(outlet(sheet, "supplierInvoiceCategoryPopup")->isEnabled());
        typeInto(outlet(sheet, "phoneField"), "555-0100");
        QTest::mouseClick(outlet<QCheckBox>(sheet, "createSupplierAccountsCheck"), Qt::LeftButton);
        EXPECT_TRUE(outlet(sheet, "supplierInvoiceCategoryPopup")->isEnabled());
        typeInto(outlet(sheet, "supplierInvoiceCategoryPopup"), "1");
        click(sheet, "OKButton");
        EXPECT_FALSE(sheet.isVisible());
        const auto& args = doc.sent().back().args<arguments::CAcoWArguments>();
        EXPECT_EQ(doc.sent().back().command, command::kNewOwner);
        EXPECT_EQ(args.idKey, -1);
        EXPECT_EQ(args.name, "Baker & Sons");
        EXPECT_EQ(args.address, "1 Mill Lane");
        EXPECT_EQ(args.phone, "555-0100");
        EXPECT_EQ(args.supplierInvoiceCategoryId, 1);
        EXPECT_EQ(args.createSupplierOpenInvoices, true);
        EXPECT_EQ(args.createCustomerOpenInvoices, false);
        EXPECT_EQ(line->counterParty, refused ? std::nullopt : std::optional<long>(1));
    }
    EXPECT_EQ(doc.importsCompleted, 1);
}

TEST_F(MoneyObjectSheetTest, AnOwnerNeedsANameAndMayOnlyChooseItsOwnAccounts)
{
    auto* ownerOfTwo = new CAccountOwner(2);
    ownerOfTwo->Put_Name("Miller");
    doc.root().mAccountOwnerList->AppendObject(ownerOfTwo);
    auto miller = doc.getAccountOwnerItemForId(2);
    doc.addAccount(30, 3, "Miller payable")->Put_mAccountOwnerId(2);
    doc.addAccount(31, 3, "Someone else's")->Put_mAccountOwnerId(1);

    CNewOwnerController sheet;
    open(sheet, {});
    click(sheet, "OKButton");
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{202});
    EXPECT_TRUE(sheet.isVisible());
    sheet.cancelClicked();

    struct Case {
        const char* creditor;
        std::vector<long> errors;
    };
    for (const Case& c : {Case{"31", {265}}, Case{"30", {}}}) {
        env.alerts().clear();
        open(sheet, {{std::string(sheet_key::kDialogAction), 2L}, {std::string(sheet_key::kOwnerToModify), miller}});
        EXPECT_TRUE(outlet(sheet, "createSupplierAccountsCheck")->isEnabled());
        QTest::mouseClick(outlet<QCheckBox>(sheet, "selectSupplierAccountsCheck"), Qt::LeftButton);
        typeInto(outlet(sheet, "creditorAccountPopup"), c.creditor);
        click(sheet, "OKButton");
        EXPECT_EQ(env.alerts().numbers(), c.errors) << c.creditor;
        EXPECT_EQ(sheet.isVisible(), !c.errors.empty());
        if (!c.errors.empty()) {
            EXPECT_EQ(outlet<QComboBox>(sheet, "creditorAccountPopup")->currentText(), c.creditor);
        }
        sheet.cancelClicked();
    }
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kModifyOwner});
    EXPECT_EQ(doc.sent()[0].target, miller);
    EXPECT_EQ(doc.sent()[0].args<arguments::CAcoWArguments>().creditorAccount, 30);
}

} // namespace
} // namespace ch::test
