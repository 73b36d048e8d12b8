#include "ui/sheets/FilePreferenceLogic.h"

#include "bridge/CPrfRItem.h"
#include "document/BookSettings.h"
#include "model/CAccountArray.h"
#include "model/CAccountTypeArray.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseTypeArray.h"
#include "model/CNonVisual.h"
#include "ui/sheets/BookLists.h"

namespace ch {

namespace {

CNamedListArray* notProfitAndLossAccounts(CDocAccounting* books)
{
    return books && books->mAccountList ? books->mAccountList->Get_SubList(CAccountArray::kNotProfitAndLoss)
                                        : nullptr;
}

CNamedListArray* profitAndLossAccountTypes(CDocAccounting* books)
{
    return books && books->mAccountTypeList
               ? books->mAccountTypeList->Get_SubList(CAccountTypeArray::kAllProfitAndLoss)
               : nullptr;
}

CNamedListArray* debtAccountTypes(CDocAccounting* books)
{
    return books && books->mAccountTypeList ? books->mAccountTypeList->Get_SubList(CAccountTypeArray::kAllDebt)
                                            : nullptr;
}

CNamedListArray* transferCategories(CDocAccounting* books)
{
    return books && books->mExpenseTypeList ? books->mExpenseTypeList->GetTransfers() : nullptr;
}

} // namespace

#define SETTING(name) #name

const std::vector<SettingsPage>& settingsPages()
{
    static const std::vector<SettingsPage> pages = {
        {settings_page::kGeneral, "GENERALBUTTON", "general"},
        {settings_page::kPassword, "PASSWORDBUTTON", "password"},
        {settings_page::kDefaultAccounts, "DEFACCOUNTBUTTON", "accounts"},
        {settings_page::kDefaultCategories, "DEFREASONBUTTON", "categories"},
        {settings_page::kPortfolio, "PORFORLIODEFAULSBUTTON", "stocks"},
        {settings_page::kBusiness, "BUSINESSDEFBUTTON", "budget"},
    };
    return pages;
}

const std::vector<SettingsPopup>& settingsPopups()
{
    namespace page = settings_page;
    using namespace book_lists;
    static const std::vector<SettingsPopup> popups = {
        {"mPrefHomeCurrency", page::kGeneral, "PREFHOMECURRENCY", moneyCurrencies, SETTING(HomeCurrency)},
        {"mPrefInputCurrency", page::kGeneral, "PREFINPUTCURRENCY", moneyCurrencies, SETTING(InputCurrency)},

        {"mPrefDefOwnPropertyAcnt", page::kDefaultAccounts, "PREFOWNPROPERTY", propertyAccounts,
         SETTING(DefAccntOwnProperty)},
        {"mPrefDefPLCurrencyFluctuations", page::kDefaultAccounts, "PREFCURRENCYFLUCTUATIONS",
         profitAndLossAccounts, SETTING(DefAccntCurrencyFluctuations)},
        {"mPrefDefPLOpeningBalance", page::kDefaultAccounts, "PREFOPENINGBALANCE", profitAndLossAccounts,
         SETTING(DefAccntOpeningBalance)},
        {"mPrefDefPLUnspecifiedExpense", page::kDefaultAccounts, "PREFUNSPECIFIEDEXPENSE", profitAndLossAccounts,
         SETTING(DefAccntUnspecifiedExpense)},
        {"mPrefDefPLUnspecifiedIncome", page::kDefaultAccounts, "PREFUNSPECIFIEDINCOME", profitAndLossAccounts,
         SETTING(DefAccntUnspecifiedIncome)},
        {"mCreditCardPopupList", page::kDefaultAccounts, "PREFCREDITCARD", notProfitAndLossAccounts,
         SETTING(DefaultCreditCardAccount)},

        {"mPrefDefExptCorrections", page::kDefaultCategories, "PREFCORRECTIONS", categories,
         SETTING(DefExpTUnspecifiedCorrection)},
        {"mPrefDefExptCurrencyFluctuations", page::kDefaultCategories, "PREFCURRENCYFLUCTUATIONS", categories,
         SETTING(DefExpTUnspecifiedCurrencyFluctuation)},
        {"mPrefDefExptOpeningBalance", page::kDefaultCategories, "PREFOPENINGBALANCE", categories,
         SETTING(DefExpTUnspecifiedOpeningBalance)},
        {"mPrefDefExptUnspecifiedExpense", page::kDefaultCategories, "PREFUNSPECIFIEDEXPENSE", categories,
         SETTING(DefExpTUnspecifiedExpense)},
        {"mPrefDefExptUnspecifiedIncome", page::kDefaultCategories, "PREFUNSPECIFIEDINCOME", categories,
         SETTING(DefExpTUnspecifiedIncome)},
        {"mPrefDefExptUnspecifiedTransfer", page::kDefaultCategories, "PREFUNSPECIFIEDTRANSFER", categories,
         SETTING(DefExpTUnspecifiedTransfer)},

        {"mPrefPortAcctPortfolio", page::kPortfolio, "PREFPORTFOLIOTYPE", accountTypes,
         SETTING(DefPortfolioAccountType)},
        {"mPrefPortAcctFluctuations", page::kPortfolio, "PREFPORTFOLIOFLUCTUATIONTYPE", accountTypes,
         SETTING(DefPortfolioPLAccountType)},
        {"mPrefPortExptStockFluctuations", page::kPortfolio, "PREFSTOCKFLUCTUATIONS", categories,
         SETTING(DefPortfolioExpenseType)},
        {"mPrefPortCommissionAcnt", page::kPortfolio, "FIELDCOMMISSIONACCOUNT", profitAndLossAccounts,
         SETTING(DefAccntStockCommission)},
        {"mPrefPortCommissionExpt", page::kPortfolio, "PREFCOMMISSIONCATEGORY", categories,
         SETTING(DefExpTStockCommission)},
        {"mPrefPortTaxesAcnt", page::kPortfolio, "FIELDTAXACCOUNT", profitAndLossAccounts, SETTING(DefAccntStockTax)},
        {"mPrefPortTaxesExpt", page::kPortfolio, "FIELDTAXCATEGORY", categories, SETTING(DefExptStockTax)},

        {"mCustomerTurnoverAccTPopup", page::kBusiness, "PREFCUSTOMERTURNOVER", profitAndLossAccountTypes,
         SETTING(CustomerTurnoverAccT)},
        {"mCustomerOpenInvoiceAccTPopup", page::kBusiness, "PREFCUSTOMEROPENINVOICES", profitAndLossAccountTypes,
         SETTING(CustomerOpenInvoiceAccT)},
        {"mCustomerInvoiceCategoryPopup", page::kBusiness, "PREFCUSTOMERINVOICECATEGORY", transferCategories,
         SETTING(CustomerInvoiceCategory)},
        {"mSupplierTurnoverAccTPopup", page::kBusiness, "PREFSUPPLIERTURNOVER", profitAndLossAccountTypes,
         SETTING(SupplierTurnoverAccT)},
        {"mSupplierOpenInvoicAccTPopup", page::kBusiness, "PREFSUPPLIEROPENINVOICES", debtAccountTypes,
         SETTING(SupplierOpenInvoicAccT)},
        {"mSupplierPaymentCategoryPopup", page::kBusiness, "PREFSUPPLIERPAYMENTCATEGORY", transferCategories,
         SETTING(SupplierPaymentsCategory)},
    };
    return popups;
}

#undef SETTING

long SettingsPopup::read(const CPrfRItem& settings) const
{
    const book_settings::Setting* named = book_settings::named(setting);
    return named ? named->read(settings) : 0;
}

bool SettingsPopup::offers(const CDocAccounting* books, const CNonVisual& object) const
{
    const book_settings::Setting* named = book_settings::named(setting);
    return !named || named->accepts(books, object.Get_Id());
}

} // namespace ch
