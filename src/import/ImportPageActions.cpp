#include "import/ImportPageActions.h"

#include <algorithm>
#include <cmath>

#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CTrnSItem.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "import/CImpTItem.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CCurrency.h"
#include "model/CCurrencyArray.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/ModelCodes.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {
constexpr long kOwnPropertyType = 1;
constexpr long kDebtType = 2;

// Messages after booking.
constexpr long kNothingBooked = 301;
constexpr long kSomeBooked = 302;

// The objects of that kind in a model list, by name.
template <typename Take>
std::vector<ChoiceEntry> listed(const CNamedListArray* list, FourCharCode type, Take take)
{
    std::vector<ChoiceEntry> out;
    const auto count = list ? static_cast<ArrayIndexT>(list->GetCount()) : 0;
    for (ArrayIndexT i = 1; i <= count; ++i) {
        CNonVisual* object = list->ObjectAt(i);
        if (!object || object->Get_ObjectType() != type) continue;
        if (std::optional<std::string> name = take(object)) out.push_back({object->Get_Id(), std::move(*name)});
    }
    std::stable_sort(out.begin(), out.end(), [](const ChoiceEntry& a, const ChoiceEntry& b) {
        return compareLocalized(a.name, b.name, true) < 0;
    });
    return out;
}

std::optional<std::string> currencyName(const CNonVisual* object)
{
    const auto* currency = static_cast<const CCurrency*>(object);
    if (currency->Get_mCurrencyType() != currency_type::kCurrency) return std::nullopt;
    return currency->Get_StringrefName();
}

std::optional<std::string> accountName(const CNonVisual* object, bool ownOnly)
{
    const auto* account = static_cast<const CAccount*>(object);
    if (ownOnly && !account->thisIsAPropretyAccount() && !account->thisIsADebtAccount()) return std::nullopt;
    return account->Get_StringRefNameOnly();
}

} // namespace

std::vector<std::shared_ptr<CImpTItem>> ImportPageActions::lines() const
{
    std::vector<std::shared_ptr<CImpTItem>> out;
    for (const auto& line : mDocument.statementImport().mImportedTransactionArray())
        if (auto item = std::dynamic_pointer_cast<CImpTItem>(line)) out.push_back(std::move(item));
    return out;
}

ObjectIdT ImportPageActions::homeCurrencyId() const
{
    const auto home = mDocument.getHomeCurrency();
    return home ? home->getId().value_or(0) : 0;
}

bool ImportPageActions::createOwnAccount(CImpTItem& line)
{
    const std::string number = line.mOurAccountNumber();
    if (number.empty()) return false;
    if (CAccount* existing = mDocument.getAccountForAccountNr(number)) {
        line.setMOurAccountId(existing->Get_Id());
        return true;
    }
    arguments::AccountArguments args(-1, number, number, line.isOnDebtAccount() ? kDebtType : kOwnPropertyType,
                                     line.mCurrencyId() > 0 ? line.mCurrencyId() : homeCurrencyId(), std::nullopt,
                                     std::nullopt, std::nullopt, number, 100.0, std::nullopt);
    const int id = mDocument.commandExecutor().executeCommand(13, nullptr, args);
    if (id <= 0) return false;
    line.setMOurAccountId(id);
    mDocument.statementImport().completeBankImport();
    return true;
}

AccountFromLine ImportPageActions::accountFromLine(const CImpTItem* line) const
{
    AccountFromLine values;
    values.currencyId = homeCurrencyId();
    if (!line) return values;
    if (!line->mForeignAccountNumber().empty()) values.bankAccountNumber = line->mForeignAccountNumber();
    if (!line->mPartnerName().empty()) values.name = line->mPartnerName();
    if (line->mCounterPartyId() > 0) values.ownerId = line->mCounterPartyId();
    else if (CAccountOwner* me = mDocument.getMe()) values.ownerId = me->Get_Id();
    if (line->mCurrencyId() > 0) values.currencyId = line->mCurrencyId();
    return values;
}

bool ImportPageActions::setExpenseTypeInAccount(ObjectIdT accountId, ObjectIdT categoryId)
{
    CDocAccounting& books = *mDocument.accounting();
    if (!books.GetAccountForID(accountId) || !books.GetExpenseTypeForID(categoryId)) return false;
    const std::shared_ptr<CAcnTItem> account = mDocument.getAccountItemForId(accountId);
    if (!account) return false;
    // The account as it is, but for its default category: command 12
    // rewrites every value, and the balance given is the one it has, so
    // nothing is booked.
    arguments::AccountArguments args(account->getId(), account->getNameOnly(), account->getDescription(),
                                     account->getAccountTypeId(), account->getCurrencyId(),
                                     account->getAccountNumber(), account->getAccountOwnerId(), categoryId,
                                     account->getBankAccountNumber(), account->getFiscalPct(), account->getBalance());
    args.specialType = account->specialType();
    args.specialSubType = account->specialSubType();
    mDocument.commandExecutor().executeCommand(12, account, args);
    mDocument.statementImport().completeBankImport();
    return true;
}

ImportPageActions::DefaultCategoryOutcome ImportPageActions::setDefaultCategoryFromLine(const CImpTItem& line)
{
    const ObjectIdT accountId = line.mOtherAccountId();
    const ObjectIdT categoryId = line.mExpenseTypeId();
    const std::string account = chosenName(line, LineChoice::CounterAccount);
    const std::string category = chosenName(line, LineChoice::Category);
    if (account.empty() || category.empty()) return {false, localized("IMPDEFAULTCATEGORYMISSING")};
    // The lines other than this one that have another category now.
    std::vector<std::pair<std::shared_ptr<CImpTItem>, ObjectIdT>> before;
    for (auto& each : lines())
        if (each.get() != &line) before.emplace_back(each, each->mExpenseTypeId());
    if (!setExpenseTypeInAccount(accountId, categoryId)) return {false, localized("IMPDEFAULTCATEGORYMISSING")};
    const long took = static_cast<long>(std::count_if(before.begin(), before.end(), [categoryId](const auto& was) {
        return was.second != categoryId && was.first->mExpenseTypeId() == categoryId;
    }));
    std::string message = formatMessage(localized("IMPDEFAULTCATEGORYSET"), {category, account});
    if (took > 0) message += "\n" + formatMessage(localized("IMPDEFAULTCATEGORYTOOK"), {took});
    return {true, message};
}

void ImportPageActions::setSelectionNotDouble(CImpTItem& line)
{
    line.setMDoubleTransactionId(-1);
}

std::string ImportPageActions::duplicateDescription(const CImpTItem& line) const
{
    if (line.mDoubleTransactionId() <= 0) return {};
    const auto transaction = mDocument.getTransactionForId(line.mDoubleTransactionId());
    return transaction ? transaction->fullDescription() : std::string();
}

std::vector<ChoiceEntry> ImportPageActions::choices(LineChoice kind) const
{
    const CDocAccounting* books = mDocument.accounting();
    if (!books) return {};
    auto plainName = [](const CNonVisual* object) -> std::optional<std::string> {
        return object->Get_StringrefName();
    };
    switch (kind) {
    case LineChoice::OwnAccount:
        return listed(books->mAccountList.get(), type::kAccount,
                      [](const CNonVisual* object) { return accountName(object, true); });
    case LineChoice::CounterAccount:
        return listed(books->mAccountList.get(), type::kAccount,
                      [](const CNonVisual* object) { return accountName(object, false); });
    case LineChoice::Category: return listed(books->mExpenseTypeList.get(), type::kExpenseType, plainName);
    case LineChoice::Counterparty: return listed(books->mAccountOwnerList.get(), type::kAccountOwner, plainName);
    case LineChoice::Currency: return listed(books->mCurrencyList.get(), type::kCurrency, currencyName);
    }
    return {};
}

std::string ImportPageActions::chosenName(const CImpTItem& line, LineChoice kind) const
{
    const CDocAccounting* books = mDocument.accounting();
    if (!books) return {};
    switch (kind) {
    case LineChoice::OwnAccount:
    case LineChoice::CounterAccount: {
        const ObjectIdT id = kind == LineChoice::OwnAccount ? line.mOurAccountId() : line.mOtherAccountId();
        const CAccount* account = id > 0 ? books->GetAccountForID(id) : nullptr;
        return account ? account->Get_StringRefNameOnly() : std::string();
    }
    case LineChoice::Category: {
        const CExpenseType* category =
            line.mExpenseTypeId() > 0 ? books->GetExpenseTypeForID(line.mExpenseTypeId()) : nullptr;
        return category ? category->Get_StringrefName() : std::string();
    }
    case LineChoice::Counterparty: {
        const CAccountOwner* owner =
            line.mCounterPartyId() > 0 ? books->GetAccountOwnerForId(line.mCounterPartyId()) : nullptr;
        return owner ? owner->Get_StringrefName() : std::string();
    }
    case LineChoice::Currency: {
        const CCurrency* currency = line.mCurrencyId() > 0 ? books->GetCurrencyForId(line.mCurrencyId()) : nullptr;
        return currency ? currency->Get_ShortStringRefName() : std::string();
    }
    }
    return {};
}

bool ImportPageActions::choose(CImpTItem& line, LineChoice kind, ObjectIdT id)
{
    const std::vector<ChoiceEntry> offered = choices(kind);
    if (std::none_of(offered.begin(), offered.end(), [id](const ChoiceEntry& entry) { return entry.id == id; }))
        return false;
    switch (kind) {
    case LineChoice::OwnAccount: line.setMOurAccountId(id); break;
    case LineChoice::CounterAccount: line.setMOtherAccountId(id); break;
    case LineChoice::Category: line.setMExpenseTypeId(id, true); break;
    case LineChoice::Counterparty: line.setMCounterPartyId(id); break;
    case LineChoice::Currency: chooseCurrency(line, id); break;
    }
    // The other lines may settle by what this one changed (an account's
    // number, name or owner).
    mDocument.statementImport().completeBankImport();
    return true;
}

void ImportPageActions::chooseCurrency(CImpTItem& line, ObjectIdT currencyId)
{
    line.setMCurrencyId(currencyId);
    if (!line.currencyChosenForCode()) return;
    // The code stays unknown to the books: the other lines of that code take
    // the choice too, without a question each.
    for (const auto& other : lines()) {
        if (other.get() == &line || other->mCurrencyId() > 0 ||
            !equalsCaseInsensitive(other->mCurrency(), line.mCurrency()))
            continue;
        const bool batch = other->mBatch();
        other->setMBatch(true);
        other->setMCurrencyId(currencyId);
        other->setMBatch(batch);
    }
}

bool ImportPageActions::chooseOwnAccount(const std::vector<std::shared_ptr<CImpTItem>>& lines, ObjectIdT accountId)
{
    if (lines.empty() || !choose(*lines.front(), LineChoice::OwnAccount, accountId)) return false;
    // One choice asks its questions once.
    for (std::size_t i = 1; i < lines.size(); ++i) {
        CImpTItem& line = *lines[i];
        const bool batch = line.mBatch();
        line.setMBatch(true);
        line.setMOurAccountId(accountId);
        line.setMBatch(batch);
    }
    if (lines.size() > 1) mDocument.statementImport().completeBankImport();
    return true;
}

bool ImportPageActions::setDate(CImpTItem& line, DateT date)
{
    if (!CDate::IsValidDate(date)) return false;
    line.setMValueDate(date);
    if (!CDate::IsValidDate(line.mBookingDate())) line.setMBookingDate(date);
    mDocument.statementImport().completeBankImport();
    return true;
}

bool ImportPageActions::setAmount(CImpTItem& line, double amount)
{
    if (!std::isfinite(amount) || (amount == line.mAmount() && !line.amountUnread())) return false;
    line.setMAmount(amount);
    mDocument.statementImport().completeBankImport();
    return true;
}

BookingOutcome ImportPageActions::bookAcceptedLines()
{
    BookingOutcome outcome;
    outcome.booked = mDocument.statementImport().doActualImport();
    // Each line left is counted once, by the first reason that kept it.
    for (const auto& line : lines()) {
        if (!line->mAccept()) ++outcome.notAccepted;
        else if (line->hasDuplicate()) ++outcome.duplicates;
        else if (!line->isComplete()) ++outcome.incomplete;
        else ++outcome.refused;
    }
    return outcome;
}

std::string ImportPageActions::bookingMessage(const BookingOutcome& outcome)
{
    std::string message = outcome.booked == 0
                              ? localized(std::to_string(kNothingBooked))
                              : formatMessage(localized(std::to_string(kSomeBooked)),
                                              {outcome.booked, outcome.booked + outcome.left()});
    const std::pair<int, long> reasons[] = {
        {outcome.notAccepted, 303}, {outcome.duplicates, 304}, {outcome.incomplete, 305}, {outcome.refused, 306}};
    for (const auto& [count, number] : reasons)
        if (count > 0) message += "\n" + formatMessage(localized(std::to_string(number)), {count});
    return message;
}

BookingOutcome ImportPageActions::bookAcceptedLinesAndTell()
{
    const BookingOutcome outcome = bookAcceptedLines();
    // Batch mode shows nothing, as for every numbered message.
    if (CErrorManager::GetMode()) return outcome;
    Alert alert;
    alert.number = outcome.booked == 0 ? kNothingBooked : kSomeBooked;
    alert.title = localized("INFO");
    alert.message = bookingMessage(outcome);
    alert.defaultButton = localized("OK");
    alertPresenter().showInfo(alert);
    return outcome;
}

} // namespace ch
