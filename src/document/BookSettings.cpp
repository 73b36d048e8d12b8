#include "document/BookSettings.h"

#include "bridge/CPrfRItem.h"
#include "model/BookingLookups.h"
#include "model/CAccType.h"

namespace ch::book_settings {

namespace {

// A holding counts as the balance of own property: under a debt type it
// would read negated, under profit and loss as a result.
bool ownPropertyType(const CDocAccounting& books, long id)
{
    const CAccType* type = booking::FindAccountType(&books, static_cast<ObjectIdT>(id));
    return type && type->thisIsAPropretyAccount();
}

// Deals pay from the own-property account: paid from a holding, the price
// would leave as shares.
bool holdsNoShare(const CDocAccounting& books, long id)
{
    return !booking::ShareCountedInAccount(&books, static_cast<ObjectIdT>(id));
}

} // namespace

#define SETTING(name)                                                           \
    Setting                                                                     \
    {                                                                           \
        #name, [](const CPrfRItem& s) -> long { return s.m##name(); },          \
            [](CPrfRItem& s, long value) { s.setM##name(value); }               \
    }

#define SETTING_TAKING(name, takes)                                             \
    Setting                                                                     \
    {                                                                           \
        #name, [](const CPrfRItem& s) -> long { return s.m##name(); },          \
            [](CPrfRItem& s, long value) { s.setM##name(value); }, takes        \
    }

const std::vector<Setting>& all()
{
    static const std::vector<Setting> settings = {
        SETTING(HomeCurrency),
        SETTING(InputCurrency),
        SETTING(CurrentYearStart),
        SETTING_TAKING(DefAccntOwnProperty, holdsNoShare),
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
        SETTING_TAKING(DefPortfolioAccountType, ownPropertyType),
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

#undef SETTING_TAKING
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
    const CNonVisual* record = settings.getSourceItem();
    if (!setting->accepts(record ? record->Get_Document() : nullptr, value)) return CommandOutcome::unchanged();
    setting->write(settings, value);
    if (setting->read(settings) != value) return CommandOutcome::unchanged();
    return CommandOutcome::changed(1);
}

} // namespace ch::book_settings
