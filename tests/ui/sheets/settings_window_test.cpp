#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>

#include "bridge/CPrfRItem.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CAccount.h"
#include "model/CPreference.h"
#include "platform/core/localized_strings.h"
#include "sheet_test_support.h"
#include "ui/controls/CPopupList.h"
#include "document/arguments/BooksLinkArguments.h"
#include "ui/sheets/CFilePreferenceController.h"

namespace ch::test {
namespace {

class SettingsWindowTest : public ::testing::Test {
protected:
    BridgeEnvironment env;
    SheetTestDocument doc;
    std::shared_ptr<CPrfRItem> settings;
    CFilePreferenceController* sheet = nullptr;

    void SetUp() override
    {
        doc.addAccount(20, 1, "Bank");
        doc.addAccount(21, 3, "Broker");
        doc.addCategory(30, 0, "Dividends");
        doc.addCategory(31, 1, "Withholding tax");
        doc.addCurrency(8, "USD", 1, 0.9);
        settings = std::make_shared<CPrfRItem>(doc.root().mPreference);
        sheet = CFilePreferenceController::showFor(nullptr, doc, settings);
        ASSERT_TRUE(sheet->isVisible());
        QApplication::setActiveWindow(sheet);
    }
    void TearDown() override { delete sheet; }

    void choosePage(const char* identifier)
    {
        QAction* item = sheet->toolbar()->findChild<QAction*>(QString::fromLatin1(identifier));
        ASSERT_NE(item, nullptr) << identifier;
        QTest::mouseClick(sheet->toolbar()->widgetForAction(item), Qt::LeftButton);
        EXPECT_EQ(sheet->shownPage(), identifier);
    }
    // The names a pop-up offers.
    QStringList offered(const char* outletName)
    {
        QStringList names;
        auto* popup = outlet<CPopupList>(*sheet, outletName);
        for (int i = 0; popup && i < popup->count(); ++i)
            names << popup->itemText(i);
        return names;
    }
};

// Each choice is sent at once as the books' setting command, which the
// journal keeps; the window changes nothing behind the executor's back.
TEST_F(SettingsWindowTest, ChoicesMadeWithTheKeyboardAreSentAtOnceAsTheSettingCommand)
{
    EXPECT_EQ(sheet->shownPage(), "general");
    struct Case {
        const char* page;
        const char* popup;
        const char* name;
        const char* setting;
        long id;
    };
    for (const Case& c : {
             Case{"general", "mPrefInputCurrency", "USD", "InputCurrency", 8},
             Case{"defaultAccounts2", "mPrefDefOwnPropertyAcnt", "Bank", "DefAccntOwnProperty", 20},
             Case{"defaultAccounts2", "mCreditCardPopupList", "Bank", "DefaultCreditCardAccount", 20},
             Case{"defaultCategories2", "mPrefDefExptUnspecifiedIncome", "Dividends", "DefExpTUnspecifiedIncome", 30},
             Case{"portfolioDefaults", "mPrefPortCommissionAcnt", "Broker", "DefAccntStockCommission", 21},
             Case{"portfolioDefaults", "mPrefPortTaxesExpt", "Withholding tax", "DefExptStockTax", 31},
         }) {
        choosePage(c.page);
        const std::size_t sentBefore = doc.sent().size();
        typeInto(outlet(*sheet, c.popup), c.name);
        QTest::keyClick(outlet(*sheet, c.popup)->findChild<QLineEdit*>(), Qt::Key_Tab);
        // This stand-in applies nothing, so the choice and the Tab after it
        // may both send it; books that apply it find it set the second time.
        ASSERT_GT(doc.sent().size(), sentBefore) << c.popup;
        for (std::size_t i = sentBefore; i < doc.sent().size(); ++i) {
            const SentCommand& sent = doc.sent()[i];
            EXPECT_EQ(sent.command, kBookSettingCommand) << c.popup;
            EXPECT_EQ(sent.target, nullptr) << c.popup;
            const auto& values = sent.args<arguments::BookSettingArguments>();
            EXPECT_EQ(values.name, c.setting) << c.popup;
            EXPECT_EQ(values.value, c.id) << c.popup;
        }
    }
    const std::size_t sent = doc.sent().size();
    click(*sheet, "OKButton");
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(doc.sent().size(), sent);
    EXPECT_TRUE(env.alerts().numbers().empty());
}

TEST_F(SettingsWindowTest, PopupsOfferTheListsTheirSettingNeeds)
{
    EXPECT_TRUE(offered("mCreditCardPopupList").contains("Bank"));
    EXPECT_FALSE(offered("mCreditCardPopupList").contains("Broker"));
    EXPECT_TRUE(offered("mPrefPortCommissionAcnt").contains("Broker"));
    EXPECT_FALSE(offered("mPrefPortCommissionAcnt").contains("Bank"));
    for (const char* popup : {"mCustomerInvoiceCategoryPopup", "mSupplierPaymentCategoryPopup"}) {
        EXPECT_FALSE(offered(popup).contains("Dividends")) << popup;
        EXPECT_FALSE(offered(popup).isEmpty()) << popup;
    }
}

TEST_F(SettingsWindowTest, AConfirmedPasswordProtectsTheBooks)
{
    choosePage("password");
    typeInto(outlet(*sheet, "mPassword"), "secret");
    typeInto(outlet(*sheet, "mOtherPasword"), "secret");
    QTest::keyClick(outlet(*sheet, "mOtherPasword"), Qt::Key_Tab);
    EXPECT_EQ(settings->mPassword(), "secret");
    EXPECT_TRUE(settings->mPasswordYes());
}

// Stored, a password the file cannot hold would be cut or converted, and
// then texts never typed would open the file: it is refused when set (292).
// The page says what the password is not.
TEST_F(SettingsWindowTest, APasswordTheFileCannotHoldIsRefusedWhenSet)
{
    choosePage("password");
    EXPECT_TRUE(outlet(*sheet, "passwordNotEncryptionLabel")->isVisible());
    EXPECT_EQ(qobject_cast<QLabel*>(outlet(*sheet, "passwordNotEncryptionLabel"))->text().toStdString(),
              localized("PASSWORDNOTENCRYPTION"));
    const std::string longest(34, 'k');
    struct Case {
        std::string typed;
        bool storable;
    };
    for (const Case& c : {Case{"Geheim-Жук", false}, Case{longest + "k", false}, Case{longest, true},
                          Case{"Geheim-äöü", true}}) {
        env.alerts().clear();
        const std::optional<std::string> before = settings->mPassword();
        auto* field = qobject_cast<QLineEdit*>(outlet(*sheet, "mPassword"));
        field->setFocus();
        field->selectAll();
        // Typed character by character, as a keyboard of any script sends them.
        for (const QChar typed : QString::fromStdString(c.typed)) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(typed));
            QApplication::sendEvent(field, &press);
        }
        QTest::keyClick(field, Qt::Key_Tab);
        if (c.storable) {
            EXPECT_TRUE(env.alerts().numbers().empty()) << c.typed;
            EXPECT_EQ(settings->mPassword(), c.typed);
        } else {
            EXPECT_EQ(env.alerts().numbers(), std::vector<long>{292}) << c.typed;
            EXPECT_EQ(settings->mPassword(), before) << c.typed;
            EXPECT_EQ(field->text().toStdString(), before.value_or("")) << "the stored password shows again";
        }
    }
}

TEST_F(SettingsWindowTest, ATallerPageGrowsTheWindowDownwards)
{
    const QRect general = sheet->geometry();
    choosePage("businessDefaults");
    EXPECT_GT(sheet->geometry().height(), general.height());
    EXPECT_EQ(sheet->geometry().top(), general.top());
}

// Shares count as the balance of own property: the portfolio type offers
// own-property types only, the own-property account no holding of a share.
TEST_F(SettingsWindowTest, PortfolioDefaultsOfferOnlyWhatKeepsSharesOwnProperty)
{
    doc.addAccountType(50, 2, "Loans");
    doc.addAccountType(51, 3, "Results");
    doc.addAccountType(52, 1, "Savings");
    CCurrency* acme = doc.addCurrency(7, "ACME", 1, 12.5, currency_type::kShare);
    doc.addAccount(23, 1, "ACME shares")->Put_mCurrency(7);
    acme->Put_mPortfolioAccountId(23);
    delete sheet;
    sheet = CFilePreferenceController::showFor(nullptr, doc, settings);
    const QStringList types = offered("mPrefPortAcctPortfolio");
    EXPECT_TRUE(types.contains("Savings"));
    EXPECT_FALSE(types.contains("Loans"));
    EXPECT_FALSE(types.contains("Results"));
    EXPECT_TRUE(offered("mPrefDefOwnPropertyAcnt").contains("Bank"));
    EXPECT_FALSE(offered("mPrefDefOwnPropertyAcnt").contains("ACME shares"));
    // Typed in all the same, it is no choice.
    choosePage("defaultAccounts2");
    const std::size_t sent = doc.sent().size();
    typeInto(outlet(*sheet, "mPrefDefOwnPropertyAcnt"), "ACME shares");
    QTest::keyClick(outlet(*sheet, "mPrefDefOwnPropertyAcnt")->findChild<QLineEdit*>(), Qt::Key_Tab);
    EXPECT_EQ(doc.sent().size(), sent);
}

} // namespace
} // namespace ch::test
