#include "ui/sheets/CurrencySheetLogic.h"

#include <string>
#include <vector>

#include "bridge/CCurRItem.h"
#include "document/arguments/CurrencyArguments.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LString.h"
#include "platform/core/localized_strings.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

namespace {

template <class T>
std::optional<long> idOf(const std::optional<T>& id)
{
    return id && *id >= 1 ? std::optional<long>(*id) : std::nullopt;
}

std::optional<long> idOf(long id)
{
    return idOf(std::optional<long>(id));
}

bool given(const std::optional<long>& id)
{
    return id && *id >= 1;
}

constexpr long kErrorFieldsMissing = 361;

} // namespace

void CurrencySheetLogic::initialize(const SheetParameters& parameters)
{
    mDocument = parameters.document();
    if (!mDocument)
        return;
    CDocAccounting* books = mDocument->books();
    mItemToModify = parameters.itemAs<CCurRItem>(sheet_key::kCurrencyToModify);
    mHomeCurrencyId = parameters.number(sheet_key::kCurrencyId);
    mValues = {};
    CurrencySheetValues& v = mValues;
    if (const auto& item = mItemToModify) {
        v.symbol = item->mShortName();
        v.fullName = item->mDescription();
        v.baseCurrencyId = idOf(item->mBaseCurrency());
        v.quantity = item->mConversionQuantity();
        v.factor = item->mConversionFactor();
        v.fluctuationAccountId = idOf(item->mDiffAccount());
        v.fluctuationCategoryId = idOf(item->mDiffExpType());
        v.internetSymbol = item->internetSymbol();
        if (mShare) {
            v.grossResult = item->bruttoResultaat();
            v.netResult = item->nettoResultaat();
            v.portfolioAccountId = idOf(item->mPortfolioAccountId());
            v.commissionAccountId = idOf(item->mComissionAccountId());
            v.commissionCategoryId = idOf(item->mComissionExpenseTypeId());
            v.dividendSourceAccountId = idOf(item->mDividentAccountIdFrom());
            v.dividendDestinationAccountId = idOf(item->mDividentAccountIdTo());
            v.dividendCategoryId = idOf(item->mDividentExpenseTypeId());
        }
        return;
    }
    v.quantity = 1;
    v.factor = 1.0;
    v.baseCurrencyId = idOf(mHomeCurrencyId);
    v.fluctuationCategoryId = kNewFluctuationCategory;
    if (!mShare) {
        v.symbol = localized("NEWCURRENCYSYMBOL");
        v.fullName = localized("NEWCURRENCYNAME");
        v.fluctuationAccountId = kNewFluctuationAccount;
        return;
    }
    v.symbol = localized("NEWSHAREYSYMBOL");
    v.fullName = localized("NEWSHARENAME");
    v.commissionAccountId = idOf(book_defaults::stockCommissionAccount(books));
    v.commissionCategoryId = idOf(book_defaults::stockCommissionCategory(books));
    // A dividend is income: it comes from the books' income account and is
    // booked on their income category (the dividend sheet offers income
    // categories only), not on the currency differences.
    v.dividendSourceAccountId = idOf(book_defaults::unspecifiedIncomeAccount(books));
    v.dividendDestinationAccountId = idOf(book_defaults::ownPropertyAccount(books));
    v.dividendCategoryId = idOf(book_defaults::unspecifiedIncomeCategory(books));
}

bool CurrencySheetLogic::isHomeCurrency() const
{
    return mItemToModify && mHomeCurrencyId && mItemToModify->getId() == mHomeCurrencyId;
}

bool CurrencySheetLogic::checkContents() const
{
    const CurrencySheetValues& v = mValues;
    // The labels of the fields still to fill, in the sheet's order.
    std::vector<std::string> missing;
    auto need = [&](bool filled, const char* labelKey) {
        if (filled) return;
        std::string label = localized(labelKey);
        if (!label.empty() && label.back() == ':') label.pop_back();
        missing.push_back(std::move(label));
    };
    need(!v.symbol.empty(), "FIELDSYMBOL");
    need(!v.fullName.empty(), "FIELDFULLNAME");
    need(given(v.baseCurrencyId), "FIELDBASECURRENCY");
    need(v.quantity && *v.quantity >= 1, "FIELDQUANTITY");
    need(v.factor && *v.factor > 0.0, "FIELDFACTOR");
    if (!mShare) need(given(v.fluctuationAccountId), "FIELDFLUCTUATIONACCOUNT");
    need(given(v.fluctuationCategoryId), "FIELDFLUCTUATIONCATEGORY");
    if (mShare) {
        need(given(v.commissionAccountId), "FIELDCOMMISSIONACCOUNT");
        need(given(v.commissionCategoryId), "FIELDCOMMISSIONCATEGORY");
        need(given(v.dividendSourceAccountId), "FIELDDIVIDENDSOURCE");
        need(given(v.dividendDestinationAccountId), "FIELDDIVIDENDDESTINATION");
        need(given(v.dividendCategoryId), "FIELDDIVIDENDCATEGORY");
    }
    if (missing.empty()) return true;
    std::string list;
    for (const std::string& label : missing) list += (list.empty() ? "" : ", ") + label;
    Str255 text;
    TCLctopstrcpy(text, list.c_str());
    CErrorManager::RaiseError(kErrorFieldsMissing, text, nullptr);
    return false;
}

void CurrencySheetLogic::fillCommandArguments(arguments::CurrencyArguments& arguments) const
{
    const CurrencySheetValues& v = mValues;
    arguments.symbol = v.symbol;
    arguments.description = v.fullName;
    arguments.baseCurrencyId = v.baseCurrencyId;
    arguments.conversionFactor = v.factor;
    arguments.conversionQuantity = v.quantity;
    arguments.fluctuationPlAccountId = v.fluctuationAccountId;
    arguments.fluctuationsReasonCodeId = v.fluctuationCategoryId;
    arguments.internetSymbol = v.internetSymbol;
    if (auto* share = dynamic_cast<arguments::CShareArguments*>(&arguments)) {
        share->portfolioAccountId = v.portfolioAccountId;
        share->comissionPLAccountId = v.commissionAccountId;
        share->comissionReasonCodeId = v.commissionCategoryId;
        share->dividendSourcePLAccountId = v.dividendSourceAccountId;
        share->dividendDestinationPropertyAccountId = v.dividendDestinationAccountId;
        share->dividendReasonCodId = v.dividendCategoryId;
    }
}

void CurrencySheetLogic::dialogClosed(int returnCode, const SheetParameters& context)
{
    if (returnCode <= 0 || !mDocument)
        return;
    std::unique_ptr<arguments::CurrencyArguments> arguments;
    if (mShare)
        arguments = std::make_unique<arguments::CShareArguments>();
    else
        arguments = std::make_unique<arguments::CurrencyArguments>();
    fillCommandArguments(*arguments);
    const int action = static_cast<int>(context.number(sheet_key::kDialogAction).value_or(kActionCreate));
    arguments->actionToPerform = static_cast<std::uint8_t>(action);
    if (action == kActionModify && mItemToModify)
        mDocument->commands().executeCommand(mShare ? command::kModifyShare : command::kModifyCurrency,
                                             mItemToModify, arguments.get());
    else if (action == kActionCreate)
        mDocument->commands().executeCommand(mShare ? command::kNewShare : command::kNewCurrency, nullptr,
                                             arguments.get());
    mDocument->updateChangeCount();
}

} // namespace ch
