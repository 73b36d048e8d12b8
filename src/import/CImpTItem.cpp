#include "import/CImpTItem.h"

#include <cmath>

#include "bridge/CNSNumberAmountTBridge.h"
#include "import/ImportDocument.h"
#include "import/ImportLookups.h"
#include "import/ImportText.h"
#include "import/StatementAmount.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/foundation/AmountLimit.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

// Question numbers.
constexpr long kRenameAccountQuestion = 206;
constexpr long kAccountNumberQuestion = 207;
constexpr long kOwnAccountForAllQuestion = 260;
constexpr long kCurrencyCodeQuestion = 390;

// Days the duplicate search looks before and after the line's dates.
constexpr long kDuplicateWindowDays = 4;

bool isBalanceSheetAccount(const CAccount& account)
{
    return account.thisIsAPropretyAccount() || account.thisIsADebtAccount();
}

// The model's field holds the first 19 characters; the account keeps the
// whole number beside it (an IBAN has up to 34), so the next statement that
// names it finds the account without asking again.
void storeBankAccountNumber(CDocAccounting& books, CAccount& account, std::string_view number)
{
    books.setBankAccountNumberT(modelText(number).c_str(), &account);
    account.Put_StringRefBankAccountNumber(number);
}

DateT validOrNone(DateT date)
{
    return CDate::IsValidDate(date) ? date : 0;
}

// The statement's description as booked: none when the title already says
// it (a title made of the memo, or of the type and the memo), so that the
// transaction is not named "Coffee Coffee".
std::string descriptionBeyondTitle(std::string_view title, std::string_view description)
{
    const std::string_view said = trimmedText(description);
    if (said.empty() || toUpperCase(title).find(toUpperCase(said)) != std::string::npos) return {};
    return std::string(description);
}

} // namespace

CImpTItem::CImpTItem()
{
    setObjectType(0);
}

template <typename T>
void CImpTItem::store(T& field, T value, std::string_view key)
{
    field = std::move(value);
    announce(key);
}

// --- plain setters

void CImpTItem::setMTitle(std::string_view title)
{
    store(mTitleText, capitalizedText(title), "mTitle");
}

void CImpTItem::setMOurAccountNumber(std::string_view number)
{
    store(mOurAccountNumberText, std::string(number), "mOurAccountNumber");
}

void CImpTItem::setMForeignAccountNumber(std::string_view number)
{
    store(mForeignAccountNumberText, std::string(number), "mForeignAccountNumber");
}

void CImpTItem::setMAmount(double amount)
{
    mAmountUnread = false;
    store(mAmountValue, std::isfinite(amount) ? amount : 0.0, "mAmount");
}

void CImpTItem::setAmountUnread(std::string_view text)
{
    mAmountUnread = true;
    mUnreadAmountText = text;
}

void CImpTItem::setMBookingDate(DateT date)
{
    store(mBookingDateValue, date, "mBookingDate");
}

void CImpTItem::setMValueDate(DateT date)
{
    store(mValueDateValue, date, "mValueDate");
}

void CImpTItem::setMTransactionDescription(std::string_view description)
{
    store(mDescriptionText, std::string(description), "mTransactionDescription");
}

void CImpTItem::setMPartnerName(std::string_view name)
{
    store(mPartnerNameText, std::string(name), "mPartnerName");
}

void CImpTItem::setMPartnerAdress(std::string_view address)
{
    store(mPartnerAddressText, std::string(address), "mPartnerAdress");
}

void CImpTItem::setMPartnerCity(std::string_view city)
{
    store(mPartnerCityText, std::string(city), "mPartnerCity");
}

void CImpTItem::setMCurrency(std::string_view code)
{
    // "EUR " found as EUR must not later rename EUR to "EUR ".
    store(mCurrencyText, std::string(trimmedText(code)), "mCurrency");
}

void CImpTItem::setMDocumentRef(std::string_view reference)
{
    store(mDocumentRefText, std::string(reference), "mDocumentRef");
}

void CImpTItem::setMOriginalBookingDate(std::string_view text)
{
    store(mOriginalBookingDateText, std::string(text), "mOriginalBookingDate");
}

void CImpTItem::setMOriginalValueDate(std::string_view text)
{
    store(mOriginalValueDateText, std::string(text), "mOriginalValueDate");
}

void CImpTItem::setMOriginalAmount(std::string_view text)
{
    store(mOriginalAmountText, std::string(text), "mOriginalAmount");
}

void CImpTItem::setMFromAccountId(ObjectIdT id)
{
    store(mFromAccountIdValue, id, "mFromAccountId");
}

void CImpTItem::setMToAccountId(ObjectIdT id)
{
    store(mToAccountIdValue, id, "mToAccountId");
}

void CImpTItem::setMExpenseTypeId(ObjectIdT id)
{
    store(mExpenseTypeIdValue, id, "mExpenseTypeId");
}

void CImpTItem::setMDoubleTransactionId(ObjectIdT id)
{
    store(mDoubleTransactionIdValue, id, "mDoubleTransactionId");
}

void CImpTItem::setMRemark(std::string_view remark)
{
    store(mRemarkText, std::string(remark), "mRemark");
}

void CImpTItem::setMComplete(bool complete)
{
    store(mCompleteFlag, complete, "mComplete");
}

void CImpTItem::setMAccept(bool accept)
{
    store(mAcceptFlag, accept, "mAccept");
}

void CImpTItem::setMMasterTypeT(std::uint8_t masterType)
{
    store(mMasterType, masterType, "mMasterTypeT");
}

// --- setters that act

void CImpTItem::completeAllLines()
{
    if (mDocument) mDocument->completeBankImport();
}

void CImpTItem::setMOurAccountId(ObjectIdT id)
{
    if (id < 0 || id == mOurAccountIdValue || !mDocument) return;
    store(mOurAccountIdValue, id, "mOurAccountId");
    CDocAccounting& books = mDocument->books();
    CAccount* account = accountForId(books, id);
    autoComplete();
    if (!account || mBatchFlag) return;
    if (characterCount(mOurAccountNumberText) < 2) {
        if (CErrorManager::AskQuestion(kOwnAccountForAllQuestion))
            mDocument->setOwnAccountIdForImport(id);
        return;
    }
    if (sameBankAccountNumber(account->Get_StringRefBankAccountNumber(), mOurAccountNumberText) ||
        equalsCaseInsensitive(mOurAccountNumberText, account->Get_StringRefNameOnly()))
        return;
    const std::string number = modelText(mOurAccountNumberText);
    const std::string name = modelText(account->Get_StringRefNameOnly());
    if (CErrorManager::AskQuestion(kAccountNumberQuestion, number.c_str(), name.c_str())) {
        storeBankAccountNumber(books, *account, mOurAccountNumberText);
        books.SetModified(true);
        completeAllLines();
    }
}

void CImpTItem::setMOtherAccountId(ObjectIdT id)
{
    if (id <= 0 || id == mOtherAccountIdValue || !mDocument) return;
    mOtherAccountLost = false;
    store(mOtherAccountIdValue, id, "mOtherAccountId");
    CDocAccounting& books = mDocument->books();
    CAccount* account = accountForId(books, id);
    if (account && !mBatchFlag) {
        if (characterCount(mForeignAccountNumberText) < 12) {
            if (characterCount(mPartnerNameText) >= 6 &&
                !equalsCaseInsensitive(mPartnerNameText, account->Get_StringRefNameOnly())) {
                const std::string accountName = modelText(account->Get_StringRefNameOnly());
                const std::string partnerName = modelText(mPartnerNameText);
                // No is the default: a renamed account changes the books.
                if (CErrorManager::AskQuestion(kRenameAccountQuestion, ButtonKey("NO"), ButtonKey("YES"),
                                               accountName.c_str(), partnerName.c_str())) {
                    account->Put_Name(modelText(mPartnerNameText, kNameSize - 1).c_str());
                    account->Put_StringrefName(firstCharacters(mPartnerNameText, kNameSize - 1));
                    books.SetModified(true);
                    completeAllLines();
                }
            }
        } else if (!sameBankAccountNumber(account->Get_StringRefBankAccountNumber(), mForeignAccountNumberText)) {
            const std::string number = modelText(mForeignAccountNumberText);
            const std::string name = modelText(account->Get_StringRefNameOnly());
            if (CErrorManager::AskQuestion(kAccountNumberQuestion, number.c_str(), name.c_str())) {
                storeBankAccountNumber(books, *account, mForeignAccountNumberText);
                books.SetModified(true);
                completeAllLines();
            }
        }
    }
    autoComplete();
}

void CImpTItem::setMExpenseTypeId(ObjectIdT id, bool recalculate)
{
    if (id < 0 || id == mExpenseTypeIdValue) return;
    store(mExpenseTypeIdValue, id, "mExpenseTypeId");
    if (recalculate) completeAllLines();
}

void CImpTItem::setMCurrencyId(ObjectIdT id)
{
    if (id < 0 || id == mCurrencyIdValue || !mDocument) return;
    store(mCurrencyIdValue, id, "mCurrencyId");
    CDocAccounting& books = mDocument->books();
    CCurrency* currency = currencyForId(books, id);
    if (!currency) return;
    // A statement without code is in its account's currency unless the user says otherwise.
    if (mCurrencyText.empty()) {
        mCurrencyChosen = currency != unnamedCurrency(books);
        return;
    }
    // "eur" for EUR is the same code: nothing to learn, and the line is
    // back on the currency of its code.
    if (equalsCaseInsensitive(mCurrencyText, currency->Get_ShortStringRefName())) {
        mCurrencyChosen = false;
        return;
    }
    // The code the statement writes may name the chosen currency from now
    // on, but only when the user says so: a symbol changed in silence by one
    // click would rename a currency the whole books show (the home currency
    // too) and keep the next statement from finding it by its own code.
    const bool fits = characterCount(mCurrencyText) <= CCurrency::kShortNameLength;
    const std::string code = modelText(mCurrencyText);
    const std::string symbol = modelText(currency->Get_ShortStringRefName());
    if (!mBatchFlag && fits && CErrorManager::AskQuestion(kCurrencyCodeQuestion, code.c_str(), symbol.c_str())) {
        mCurrencyChosen = false;
        currency->Put_Name(code.c_str());
        books.SetModified(true);
        completeAllLines();
        return;
    }
    // Otherwise the choice holds for this line alone, whatever its code.
    mCurrencyChosen = true;
}

CCurrency* CImpTItem::unnamedCurrency(const CDocAccounting& books) const
{
    CAccount* own = mOurAccountIdValue > 0 ? accountForId(books, mOurAccountIdValue) : nullptr;
    CCurrency* currency = own ? own->Get_mCurrencyPtr() : nullptr;
    return currency ? currency : homeCurrencyOf(books);
}

void CImpTItem::setMCounterPartyId(ObjectIdT id)
{
    if (id < 0 || id == mCounterPartyIdValue || !mDocument) return;
    store(mCounterPartyIdValue, id, "mCounterPartyId");
    CDocAccounting& books = mDocument->books();
    CAccount* counter = mOtherAccountIdValue > 0 ? accountForId(books, mOtherAccountIdValue) : nullptr;
    if (!counter || counter->Get_mAccountOwnerId() == id) return;
    counter->Put_mAccountOwnerId(id);
    books.SetModified(true);
    completeAllLines();
}

void CImpTItem::setHasDuplicate(bool duplicate)
{
    // "No duplicate" is the user's word; clearing it lets the search decide again.
    setMDoubleTransactionId(duplicate ? 0 : -1);
    completeAllLines();
}

// --- remarks

void CImpTItem::addComment(std::string_view comment, std::string& remark)
{
    if (remark.empty()) {
        remark = firstCharacters(comment, kRemarkLimit);
        return;
    }
    const std::size_t length = characterCount(remark);
    // The carriage return counts: a full remark takes nothing more.
    if (length + 1 >= kRemarkLimit) return;
    remark += '\r';
    remark += firstCharacters(comment, kRemarkLimit - length - 1);
}

// --- completion

bool CImpTItem::autoComplete()
{
    // A setter of the running completion asks for one more: the running one
    // goes on with what the setter changed, and ends in the same state.
    if (mCompleting || !mDocument) return true;
    struct Running {
        bool& flag;
        ~Running() { flag = false; }
    } running{mCompleting = true};
    completeOnce();
    return true;
}

void CImpTItem::fillThenComplete(const std::function<void()>& fill)
{
    if (!mCompleting) {
        struct Held {
            bool& flag;
            ~Held() { flag = false; }
        } held{mCompleting = true};
        fill();
    } else {
        fill();
    }
    autoComplete();
}

void CImpTItem::completeOnce()
{
    CDocAccounting& books = mDocument->books();
    const ImportDefaults defaults = importDefaultsOf(books);
    std::string remark;
    bool complete = true;
    auto fail = [&](const char* key) {
        complete = false;
        addComment(localized(key), remark);
    };

    // 1. Data: a line is booked on its value date, so that must be a real date.
    if ((mAmountValue == 0.0 && (mBookingDateValue == 0 || mValueDateValue == 0)) ||
        !CDate::IsValidDate(mValueDateValue))
        fail("IMPDATA");
    // An amount text that did not read is no amount of 0: the line waits for one.
    if (mAmountUnread) {
        complete = false;
        // Said with the character that stopped it, where one did.
        const std::string text(trimmedText(mUnreadAmountText));
        const std::string stop = characterStoppingAmount(text);
        addComment(stop.empty() ? formatMessage(localized("316"), {text})
                                : formatMessage(localized("316STOP"), {text, stop}),
                   remark);
    }
    // An amount beyond what the books hold to the cent is never booked.
    if (!amountWithinLimit(mAmountValue)) {
        complete = false;
        addComment(formatMessage(localized("IMPAMOUNTLIMIT"),
                                 {CNSNumberAmountTBridge::NSNumberToNSString(kAmountLimit)}),
                   remark);
    }

    // 2. Own account.
    CAccount* own = nullptr;
    if (mOurAccountIdValue > 0) {
        own = accountForId(books, mOurAccountIdValue);
        // Deleted since it was chosen or found: the line forgets the id (a
        // new account may take it) and looks by the statement's number, as
        // a new line would.
        if (!own) store(mOurAccountIdValue, ObjectIdT{0}, "mOurAccountId");
    }
    if (!own) {
        own = accountForAccountNr(books, mOurAccountNumberText);
        if (!own) own = accountForName(books, mOurAccountNumberText);
    }
    if (!own) {
        fail("IMPOWNACC");
    } else if (!isBalanceSheetAccount(*own)) {
        fail("IMPWRONGOWNACC");
    } else {
        setMOurAccountId(own->Get_Id());
    }

    // 3. Counter account.
    CAccount* counter = nullptr;
    if (mOtherAccountIdValue > 0) {
        counter = accountForId(books, mOtherAccountIdValue);
        // Deleted since it was chosen or found: the line forgets the id (a
        // new account may take it) and looks by what the statement names;
        // not by the guesses below, which would book it quietly on a
        // stand-in (the category the lost account gave it names one).
        if (!counter) {
            mOtherAccountLost = true;
            store(mOtherAccountIdValue, ObjectIdT{0}, "mOtherAccountId");
        }
    }
    if (!counter) {
        if (!mForeignAccountNumberText.empty())
            counter = accountForAccountNr(books, mForeignAccountNumberText);
        else if (characterCount(mPartnerNameText) >= 2)
            counter = accountForName(books, mPartnerNameText);
        else if (!mDescriptionText.empty())
            counter = accountForTransactionDescription(books, mDescriptionText);

        if (counter) {
            setMOtherAccountId(counter->Get_Id());
        } else if (own && !mOtherAccountLost) {
            if (mTitleText.empty()) store(mTitleText, std::string(kUnknownTitle), "mTitle");
            // An earlier booking of the same name on the own account names the other side.
            const std::string title = modelText(mTitleText, 30);
            counter = own->giveOtherAccountForDescription(title.c_str(), mAmountValue < 0);
            if (!counter && mExpenseTypeIdValue > 0 && !defaults.isUnspecifiedCategory(mExpenseTypeIdValue)) {
                if (const CExpenseType* category = categoryForId(books, mExpenseTypeIdValue)) {
                    if (category->IsIncome(false))
                        counter = accountForId(books, defaults.unspecifiedIncomeAccount);
                    else if (category->IsExpense(false))
                        counter = accountForId(books, defaults.unspecifiedExpenseAccount);
                }
            }
            if (counter) store(mOtherAccountIdValue, counter->Get_Id(), "mOtherAccountId");
        }
    }
    if (!counter) fail("IMPOTHACC");
    // A direction settled by an earlier run may name an account deleted
    // since; step 7 sets it again from the accounts found now.
    if (!own || !counter) {
        setMFromAccountId(0);
        setMToAccountId(0);
    }

    // 4. Counterparty.
    const CAccountOwner* me = books.Get_Me();
    const ObjectIdT meId = me ? me->Get_Id() : 1;
    if (counter) {
        if ((mCounterPartyIdValue <= 0 || mCounterPartyIdValue == meId) && counter->Get_mAccountOwnerId() != meId)
            setMCounterPartyId(counter->Get_mAccountOwnerId());
    } else if (!mPartnerNameText.empty()) {
        if (const CAccountOwner* owner = ownerForName(books, mPartnerNameText))
            setMCounterPartyId(owner->Get_Id());
        else
            addComment(localized("IMPOWN"), remark);
    }

    // 5. Currency. The one the user chose for the line stands, whether or
    // not another currency has the statement's code as its symbol.
    const CCurrency* currency = mCurrencyChosen ? currencyForId(books, mCurrencyIdValue) : nullptr;
    if (!currency) currency = currencyForSymbol(books, mCurrencyText);
    // A statement that names no currency is in the currency of the account it
    // is booked on (its amounts are that account's); taken by id, as books
    // made before every home currency had a symbol hold it without one.
    if (!currency && mCurrencyText.empty()) currency = unnamedCurrency(books);
    if (currency) {
        setMCurrencyId(currency->Get_Id());
    } else {
        // A currency taken by an earlier run is not the one the line names now.
        store(mCurrencyIdValue, ObjectIdT{0}, "mCurrencyId");
        fail("IMPCUR");
    }

    // 6. Category.
    CExpenseType* category = nullptr;
    if (mExpenseTypeIdValue <= 0 || defaults.isUnspecifiedCategory(mExpenseTypeIdValue))
        category = counter ? counter->Get_mDefaultExpenseType() : nullptr;
    else
        category = categoryForId(books, mExpenseTypeIdValue);

    // 7. Direction, and whether the category suits it.
    if (own && counter) {
        const bool moneyIn = mAmountValue >= 0;
        if (isBalanceSheetAccount(*counter)) {
            const ObjectIdT id = category ? category->Get_Id() : 0;
            if (!category || id == defaults.unspecifiedIncomeCategory || id == defaults.unspecifiedExpenseCategory)
                category = categoryForId(books, defaults.unspecifiedTransferCategory);
            else if (!category->IsTransfer())
                fail("IMPEXPTTRANS");
            setMFromAccountId(moneyIn ? counter->Get_Id() : own->Get_Id());
            setMToAccountId(moneyIn ? own->Get_Id() : counter->Get_Id());
        } else if (counter->thisIsAProfitAndLossAccount()) {
            setMFromAccountId(moneyIn ? counter->Get_Id() : own->Get_Id());
            setMToAccountId(moneyIn ? own->Get_Id() : counter->Get_Id());
            if (!category)
                category = categoryForId(books, moneyIn ? defaults.unspecifiedIncomeCategory
                                                        : defaults.unspecifiedExpenseCategory);
            if (category) {
                if (category->IsIncome(false))
                    store(mSignValue, moneyIn ? 1 : -1, "mSign");
                else if (category->IsExpense(false))
                    store(mSignValue, moneyIn ? -1 : 1, "mSign");
                else
                    fail("IMPWRONGEXP");
            }
        }
    }

    // 8. Category.
    if (!category) {
        fail("IMPEXP");
    } else {
        setMExpenseTypeId(category->Get_Id(), false);

        // 9. Duplicate: a booked transaction between the same accounts, of the
        // same amount, within a few days of the line's dates, that no other
        // pending line is matched with already: one line, one booking.
        if (own && counter && mDoubleTransactionIdValue != -1) {
            const DateT booking = validOrNone(mBookingDateValue);
            const DateT value = validOrNone(mValueDateValue);
            ObjectIdT found = 0;
            if (booking != 0 || value != 0) {
                DateT first = booking != 0 && value != 0 ? std::min(booking, value) : (booking ? booking : value);
                DateT last = booking != 0 && value != 0 ? std::max(booking, value) : first;
                first = CDate::AddDaysTo(first, -kDuplicateWindowDays);
                last = CDate::AddDaysTo(last, kDuplicateWindowDays);
                // A transaction booked from this very list is no duplicate of it.
                const std::optional<std::int64_t> lineStamp = importTimeStamp();
                // A split line's whole amount is on its own account's line.
                const CAccount* searched = mSplitParts.empty() ? counter : own;
                for (ObjectIdT candidate : searched->DuplicateTransactionCandidates(
                         mFromAccountIdValue, mToAccountIdValue, std::fabs(mAmountValue), first, last,
                         mCurrencyIdValue)) {
                    if (lineStamp && *lineStamp != 0 &&
                        mDocument->importTimeStampOfTransaction(candidate) == lineStamp)
                        break;
                    if (!mDocument->duplicateTakenByOtherLine(candidate, this)) {
                        found = candidate;
                        break;
                    }
                }
            }
            if (found > 0) {
                setMDoubleTransactionId(found);
                fail("IMPDUPL");
            } else {
                setMDoubleTransactionId(0);
            }
        }
    }

    // A split line is as complete as its parts, which book on its own account.
    for (const Ptr& part : mSplitParts) {
        if (part->mOurAccountIdValue != mOurAccountIdValue) {
            const bool batch = part->mBatchFlag;
            part->mBatchFlag = true;
            part->setMOurAccountId(mOurAccountIdValue);
            part->mBatchFlag = batch;
        }
        // The whole is looked for among the booked transactions, not each part.
        part->mDoubleTransactionIdValue = -1;
        part->autoComplete();
        if (!part->mCompleteFlag) {
            complete = false;
            addComment(part->mRemarkText, remark);
        }
    }

    // 10.
    setMComplete(complete);
    setMRemark(remark);
}

void CImpTItem::setOwnAccountIdForImport(ObjectIdT accountId)
{
    if (characterCount(mOurAccountNumberText) >= 2) return;
    const bool batch = mBatchFlag;
    mBatchFlag = true;
    setMOurAccountId(accountId);
    mBatchFlag = batch;
}

// --- booking

bool CImpTItem::import()
{
    if (!mDocument) return false;
    // An account or category deleted since the line completed (by a caller
    // that did not complete the list again) is found out before booking.
    CDocAccounting& books = mDocument->books();
    auto holdsAll = [&] {
        return accountForId(books, mFromAccountIdValue) && accountForId(books, mToAccountIdValue) &&
               categoryForId(books, mExpenseTypeIdValue) && currencyForId(books, mCurrencyIdValue);
    };
    if (!mCompleteFlag || !holdsAll()) autoComplete();
    if (!mCompleteFlag || !mAcceptFlag || mDoubleTransactionIdValue > 0 || mAmountUnread ||
        !amountWithinLimit(mAmountValue) || !holdsAll())
        return false;
    ImportedTransaction transaction;
    transaction.name = mTitleText;
    transaction.description = descriptionBeyondTitle(mTitleText, mDescriptionText);
    transaction.valueDate = mValueDateValue;
    transaction.amount = std::fabs(mAmountValue);
    transaction.currencyId = mCurrencyIdValue;
    transaction.fromAccountId = mFromAccountIdValue;
    transaction.toAccountId = mToAccountIdValue;
    transaction.categoryId = mExpenseTypeIdValue;
    using arguments::ImportedLine;
    // A counter account kept in another currency than the line's, whose
    // amount in that currency the statement gives (a transfer between
    // accounts of two currencies): its line holds that amount.
    auto counterLine = [&](const CImpTItem& line, ObjectIdT counter, double amount) {
        const CAccount* account = accountForId(books, counter);
        if (line.mOtherAccountAmount && account && account->Get_mCurrency() != mCurrencyIdValue)
            return ImportedLine{counter, account->Get_mCurrency(), std::fabs(*line.mOtherAccountAmount)};
        return ImportedLine{counter, 0, std::fabs(amount)};
    };
    if (mSplitParts.empty() && mOtherAccountAmount) {
        const ObjectIdT counter = mFromAccountIdValue == mOurAccountIdValue ? mToAccountIdValue : mFromAccountIdValue;
        auto lineOf = [&](ObjectIdT account) {
            return account == counter ? counterLine(*this, counter, mAmountValue)
                                      : ImportedLine{account, 0, std::fabs(mAmountValue)};
        };
        transaction.debitLines.push_back(lineOf(mFromAccountIdValue));
        transaction.creditLines.push_back(lineOf(mToAccountIdValue));
    }
    if (!mSplitParts.empty()) {
        // The own account on the side of the whole's money; each part's
        // counter account on the other side of the part's money, and its
        // category signed as the part's money agrees with it (a loss on
        // an income category is negative). A part that moves money
        // between own accounts has no category line of its own.
        const ImportedLine own{mOurAccountIdValue, 0, std::fabs(mAmountValue)};
        (mAmountValue >= 0 ? transaction.creditLines : transaction.debitLines).push_back(own);
        for (const Ptr& part : mSplitParts) {
            if (!part->mCompleteFlag) return false;
            const double amount = part->mAmountValue;
            const ObjectIdT counter = amount >= 0 ? part->mFromAccountIdValue : part->mToAccountIdValue;
            const CAccount* account = accountForId(books, counter);
            if (!account || !categoryForId(books, part->mExpenseTypeIdValue)) return false;
            (amount >= 0 ? transaction.debitLines : transaction.creditLines)
                .push_back(counterLine(*part, counter, amount));
            if (!account->thisIsAPropretyAccount() && !account->thisIsADebtAccount())
                transaction.categoryLines.push_back(
                    ImportedLine{part->mExpenseTypeIdValue, 0, std::fabs(amount) * (part->mSignValue < 0 ? -1.0 : 1.0)});
        }
    }
    const ObjectIdT id = mDocument->importTransaction(transaction);
    if (id <= 0) return false;
    if (const std::optional<std::int64_t> stamp = importTimeStamp())
        mDocument->setImportTimeStampOfTransaction(id, *stamp);
    return true;
}

} // namespace ch
