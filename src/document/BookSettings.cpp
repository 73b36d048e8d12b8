#include "document/BookSettings.h"

#include "bridge/CPrfRItem.h"

namespace ch::book_settings {

#define SETTING(name)                                                           \
    Setting                                                                     \
    {                                                                           \
        #name, [](const CPrfRItem& s) -> long { return s.m##name(); },          \
            [](CPrfRItem& s, long value) { s.setM##name(value); }               \
    }

const std::vector<Setting>& all()
{
    static const std::vector<Setting> settings = {
        SETTING(HomeCurrency),
        SETTING(InputCurrency),
        SETTING(CurrentYearStart),
        SETTING(DefAccntOwnProperty),
        SETTING(DefAccntCurrencyFluctuations),
        SETTING(DefAccntOpeningBalance),
        SETTING(DefAccntUnspecifiedExpense),
        SETTING(DefAccntUnspecifiedIncome),
        SETTING(DefaultCreditCardAccount),
        SETTING(DefExpTUnspecifiedCorrection),
        SETTING(DefExpTUnspecifiedCurrencyFluctuation),
        SETTING(DefExpTUnspecifiedOpeningBalance),
        SETTING(DefExpTUnspecifiedExpense),
        SETTING(DefExpTUnspecifiedIncome),
        SETTING(DefExpTUnspecifiedTransfer),
        SETTING(DefPortfolioAccountType),
        SETTING(DefPortfolioPLAccountType),
        SETTING(DefPortfolioExpenseType),
        SETTING(DefAccntStockCommission),
        SETTING(DefExpTStockCommission),
        SETTING(DefAccntStockTax),
        SETTING(DefExptStockTax),
        SETTING(CustomerTurnoverAccT),
        SETTING(CustomerOpenInvoiceAccT),
        SETTING(CustomerInvoiceCategory),
        SETTING(SupplierTurnoverAccT),
        SETTING(SupplierOpenInvoicAccT),
        SETTING(SupplierPaymentsCategory),
    };
    return settings;
}

#undef SETTING

const Setting* named(std::string_view name)
{
    for (const Setting& setting : all())
        if (name == setting.name) return &setting;
    return nullptr;
}

CommandOutcome change(CPrfRItem& settings, std::string_view name, long value)
{
    const Setting* setting = named(name);
    if (!setting || setting->read(settings) == value) return CommandOutcome::unchanged();
    setting->write(settings, value);
    if (setting->read(settings) != value) return CommandOutcome::unchanged();
    return CommandOutcome::changed(1);
}

} // namespace ch::book_settings
