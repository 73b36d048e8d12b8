#pragma once
// The document's operations of commands 6 to 17: currencies, account types,
// accounts, categories and category groups are made in the model and changed
// through their items; the cached arrays follow, and the creations are
// announced with the new item.
// A new share comes with its portfolio and result accounts, made by the model.

#include "document/DocumentOperations.h"

namespace ch {

class CCurRItem;
class MyDocument;

class ChartOperationsOfDocument : public ChartOperations {
public:
    explicit ChartOperationsOfDocument(MyDocument& document) : mDocument(document) {}

    CommandOutcome createCurrency(const arguments::CurrencyArguments& args) override;
    CommandOutcome modifyCurrency(CCurRItem& currency, const arguments::CurrencyArguments& args) override;
    CommandOutcome createShare(const arguments::CShareArguments& args) override;
    CommandOutcome modifyShare(CCurRItem& share, const arguments::CShareArguments& args) override;
    CommandOutcome modifyAccountType(CAccTItem& type, const arguments::AccountTypeArguments& args) override;
    CommandOutcome createAccountType(const arguments::AccountTypeArguments& args) override;
    CommandOutcome modifyAccount(CAcnTItem& account, const arguments::AccountArguments& args) override;
    CommandOutcome createAccount(const arguments::AccountArguments& args) override;
    CommandOutcome modifyCategory(CExpTItem& category, const arguments::CategoryParameters& args) override;
    CommandOutcome createCategory(const arguments::CategoryParameters& args) override;
    CommandOutcome modifyCategoryGroup(CMxpTItem& group, const arguments::CategoryGroupParameters& args) override;
    CommandOutcome createCategoryGroup(const arguments::CategoryGroupParameters& args) override;

    // A placeholder currency ("????"), made in the model; null when none was made.
    std::shared_ptr<CCurRItem> insertCurrency();
    // A placeholder share ("NEW"); null when none was made.
    std::shared_ptr<CCurRItem> insertShare();

private:
    void setCurrencyValues(CCurRItem& currency, const arguments::CurrencyArguments& args);
    // Every share value but the base currency.
    void setShareValues(CCurRItem& share, const arguments::CShareArguments& args);

    MyDocument& mDocument;
};

} // namespace ch
