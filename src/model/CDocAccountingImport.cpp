// The model root's insertions for what comes from outside: shares with their
// portfolio accounts, and transactions from statement lines.

#include <optional>
#include <string>

#include "model/BookingLookups.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CTransaction.h"
#include "model/CTransactionArray.h"
#include "model/foundation/CLocalize.h"

namespace ch {

namespace {

bool Given(TextRef text)
{
    return text && !text->empty();
}

// The name of one of a share's accounts: the localized label with the
// share's name. The C name follows the label directly and is cut to the
// field; the Unicode name puts a space between, and exists only when the
// share has one.
struct ShareAccountName {
    char name[kNameSize] = {};
    std::optional<std::string> text;

    ShareAccountName(const char* labelKey, const char* shareName, TextRef shareText)
    {
        char label[kNameSize];
        const std::string labelText = CLocalize::LocalizedName(labelKey, label);
        CopyToField(name, (std::string(label) + (shareName ? shareName : "")).c_str());
        if (shareText) text = labelText + " " + std::string(*shareText);
    }
    TextRef Text() const { return text ? TextRef(*text) : std::nullopt; }
};

} // namespace

CCurrency* CDocAccounting::InsertStockCurrency(ObjectIdT id, const char* name, TextRef cfName)
{
    const ShareAccountName portfolioName("porfolioAcntName", name, cfName);
    const ShareAccountName resultName("porfolioPLAcntName", name, cfName);
    char description[kDescriptionSize];
    const std::string descriptionText = CLocalize::LocalizedDesc("porfolioAcntDesc", description);

    CCurrency* share = InsertCurrency(id, name, cfName, nullptr, std::nullopt, 0, currency_type::kShare, 1,
                                      1.0, 0, 0, -1, -1);
    if (!share) return nullptr;

    const booking::Defaults defaults = booking::DefaultsOf(this);
    CAccount* portfolio = InsertAccount(-1, portfolioName.name, portfolioName.Text(), description,
                                        descriptionText, defaults.portfolioAccountType, share->Get_Id(),
                                        nullptr);
    CAccount* result = InsertAccount(-1, resultName.name, resultName.Text(), description, descriptionText,
                                     defaults.portfolioResultAccountType, booking::HomeCurrencyId(this),
                                     nullptr);
    if (portfolio) share->Put_mPortfolioAccountId(portfolio->Get_Id());
    if (result) share->Put_mDiffAccount(result->Get_Id());
    share->Put_mDiffExpType(defaults.portfolioCategory);
    return share;
}

CTransaction* CDocAccounting::ImportTransaction(const char* name, TextRef cfName, const char* description,
                                                TextRef cfDescription, DateT date, double amount,
                                                ObjectIdT currencyId, ObjectIdT fromAccountId,
                                                ObjectIdT toAccountId, ObjectIdT categoryId, bool,
                                                EnumT transactionType, const LVariableArray* debits,
                                                const LVariableArray* credits,
                                                const LVariableArray* categories)
{
    if (amount == 0.0 && !debits && !credits && !categories) return nullptr;
    auto setTexts = [&](CTransaction* transaction) {
        if (Given(cfName)) transaction->Put_StringrefName(cfName);
        if (Given(cfDescription)) transaction->Put_StringrefDesc(cfDescription);
    };

    if (transactionType == transaction_type::kTransfer) {
        CTransaction* duplicate = nullptr;
        std::uint32_t position = 0;
        const ObjectIdT found = Get_TransactionArray()->GetDuplicateTransaction(
            date, amount, fromAccountId, toAccountId, duplicate, position);
        if (found != -1) {
            duplicate->Update(name, description, debits, credits, categories);
            setTexts(duplicate);
            return duplicate;
        }
    }

    CTransaction* transaction = InsertTransaction(0, 0, transactionType);
    const bool booked = transaction->Import(name, description, date, amount, fromAccountId, toAccountId,
                                            categoryId, currencyId, debits, credits, categories);
    setTexts(transaction);
    if (!booked) UnlinkTrans(transaction);
    return transaction;
}

} // namespace ch
