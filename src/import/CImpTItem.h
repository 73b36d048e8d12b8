#pragma once
// CImpTItem: one statement line on its way into the books. A statement reader
// makes one per entry, fills in what the file says and asks it to complete
// itself against the document's books: it finds the own account, the counter
// account, the counterparty, the currency and the category, decides which way
// the money goes, looks for a booked transaction it would duplicate, and
// writes a remark for everything it cannot settle. The document keeps the
// lines of a pending import as its statement lines; each complete, accepted
// line that duplicates nothing books itself as one transaction (command 31).
//
// Ids: 0 (or less) means none, except the duplicate id: above 0 the
// transaction this line duplicates, 0 none found, -1 "the user says this is
// no duplicate".
//
// The setters of the own and counter account, the category, the currency and
// the counterparty act on the books and the other pending lines (see each);
// while the batch flag is set they ask no question. Every setter announces
// its key. Main thread only.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/CNonVisualDataItem.h"
#include "document/StatementReader.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

class CCurrency;
class CDocAccounting;
class ImportDocument;

class CImpTItem : public CNonVisualDataItem, public StatementLine {
public:
    using Ptr = std::shared_ptr<CImpTItem>;

    // Master types of the import account.
    static constexpr std::uint8_t kOrdinaryAccount = 1;
    static constexpr std::uint8_t kDebtAccount = 2;
    // The transaction type of imported lines.
    static constexpr int kImportTransactionType = 3;
    // Remarks never grow beyond this many characters.
    static constexpr std::size_t kRemarkLimit = 254;
    // The title given to a line that names nothing to find a counter account by.
    static constexpr std::string_view kUnknownTitle = "***UNKNOWN***";

    // Empty remark, accepted, not in batch mode, on an ordinary account.
    CImpTItem();

    // --- what the statement says (plain setters: they only store)
    const std::string& mTitle() const { return mTitleText; }
    // Stored capitalised ("SHOP NORTH" -> "Shop North").
    void setMTitle(std::string_view title);
    const std::string& mOurAccountNumber() const { return mOurAccountNumberText; }
    void setMOurAccountNumber(std::string_view number);
    const std::string& mForeignAccountNumber() const { return mForeignAccountNumberText; }
    void setMForeignAccountNumber(std::string_view number);
    double mAmount() const { return mAmountValue; }
    // An amount set here replaces one the statement's text could not give.
    void setMAmount(double amount);
    // The statement's amount text did not read as a number: the line holds 0,
    // stays incomplete with remark 316 and is never booked until an amount
    // is set. Readers call this after setMAmount.
    void setAmountUnread(std::string_view text);
    bool amountUnread() const { return mAmountUnread; }
    // The statement's text of an amount that did not read.
    const std::string& unreadAmountText() const { return mUnreadAmountText; }
    DateT mBookingDate() const { return mBookingDateValue; }
    void setMBookingDate(DateT date);
    DateT mValueDate() const { return mValueDateValue; }
    void setMValueDate(DateT date);
    const std::string& mTransactionDescription() const { return mDescriptionText; }
    void setMTransactionDescription(std::string_view description);
    const std::string& mPartnerName() const { return mPartnerNameText; }
    void setMPartnerName(std::string_view name);
    const std::string& mPartnerAdress() const { return mPartnerAddressText; }
    void setMPartnerAdress(std::string_view address);
    const std::string& mPartnerCity() const { return mPartnerCityText; }
    void setMPartnerCity(std::string_view city);
    // The statement's currency code, without blanks at either end.
    const std::string& mCurrency() const { return mCurrencyText; }
    void setMCurrency(std::string_view code);
    const std::string& mDocumentRef() const { return mDocumentRefText; }
    void setMDocumentRef(std::string_view reference);
    const std::string& mOriginalBookingDate() const { return mOriginalBookingDateText; }
    void setMOriginalBookingDate(std::string_view text);
    const std::string& mOriginalValueDate() const { return mOriginalValueDateText; }
    void setMOriginalValueDate(std::string_view text);
    const std::string& mOriginalAmount() const { return mOriginalAmountText; }
    void setMOriginalAmount(std::string_view text);

    ImportDocument* getDocument() const { return mDocument; }
    void setDocument(ImportDocument* document) { mDocument = document; }

    // --- what completion settles
    ObjectIdT mOurAccountId() const { return mOurAccountIdValue; }
    ObjectIdT mOtherAccountId() const { return mOtherAccountIdValue; }
    ObjectIdT mFromAccountId() const { return mFromAccountIdValue; }
    void setMFromAccountId(ObjectIdT id);
    ObjectIdT mToAccountId() const { return mToAccountIdValue; }
    void setMToAccountId(ObjectIdT id);
    ObjectIdT mExpenseTypeId() const { return mExpenseTypeIdValue; }
    // Only stores.
    void setMExpenseTypeId(ObjectIdT id);
    ObjectIdT mCurrencyId() const { return mCurrencyIdValue; }
    ObjectIdT mCounterPartyId() const { return mCounterPartyIdValue; }
    ObjectIdT mDoubleTransactionId() const { return mDoubleTransactionIdValue; }
    void setMDoubleTransactionId(ObjectIdT id);
    // Remarks separated by carriage returns, in the localized texts of
    // "IMPDATA", "316" or "316STOP" (an amount text that does not read; the
    // second names the character that stopped it), "IMPAMOUNTLIMIT"
    // (an amount beyond kAmountLimit either way: the line is incomplete and
    // never booked), "IMPOWNACC",
    // "IMPWRONGOWNACC", "IMPOTHACC", "IMPOWN", "IMPCUR", "IMPEXPTTRANS",
    // "IMPWRONGEXP", "IMPEXP" and "IMPDUPL".
    const std::string& mRemark() const { return mRemarkText; }
    void setMRemark(std::string_view remark);
    bool isComplete() const { return mCompleteFlag; }
    // "Ok" when complete, "-" otherwise.
    std::string mComplete() const { return mCompleteFlag ? "Ok" : "-"; }
    void setMComplete(bool complete);
    bool mAccept() const { return mAcceptFlag; }
    void setMAccept(bool accept);
    // +1 or -1: whether the category's direction agrees with the money's
    // (a profit-and-loss counter account only); 0 until then.
    int mSign() const { return mSignValue; }
    bool mBatch() const { return mBatchFlag; }
    void setMBatch(bool batch) { mBatchFlag = batch; }
    std::uint8_t mMasterTypeT() const { return mMasterType; }
    void setMMasterTypeT(std::uint8_t masterType);
    bool isOnDebtAccount() const { return mMasterType == kDebtAccount; }
    void setIsOnDebtAccount() { setMMasterTypeT(kDebtAccount); }
    int getTransactionTypeT() const { return kImportTransactionType; }

    // --- setters that act (each only when the id differs from the stored one)
    // An own or counter account deleted after the line took it is
    // forgotten at the next completion: the line looks again by what the
    // statement names (a counter account not by an earlier booking's name
    // nor by its category) and, finding none, stays incomplete
    // ("IMPOWNACC", "IMPOTHACC") and books nothing until the user chooses.
    //
    // Id 0 or more. Looks the account up and completes this line; then, not
    // in batch mode: a statement without own account number asks question
    // 260 and, on OK, gives this account to every pending line without one;
    // a number that is neither the account's bank account number nor its
    // name asks question 207 and, on OK, makes it the account's number and
    // completes all pending lines.
    void setMOurAccountId(ObjectIdT id);
    // Id above 0. Not in batch mode: with a counterparty number shorter than
    // 12 characters, a partner name of 6 or more characters that is not the
    // account's name asks question 206 and, on yes, renames the account; with
    // a longer number that differs from the account's number, question 207
    // and, on OK, the number becomes the account's. After either change all
    // pending lines are completed. Then this line is completed.
    void setMOtherAccountId(ObjectIdT id);
    // Id 0 or more; with recalculate, all pending lines are completed.
    void setMExpenseTypeId(ObjectIdT id, bool recalculate);
    // Id 0 or more. When the statement's code differs from the currency's
    // symbol (ignoring case): not in batch mode, and when the code fits a
    // symbol, question 390 asks whether the currency takes the code as its
    // symbol; on OK it does and all pending lines are completed. Otherwise
    // the line keeps this currency for its code (completion takes it when no
    // currency has the code).
    void setMCurrencyId(ObjectIdT id);
    // The user chose the line's currency for a code no currency has.
    bool currencyChosenForCode() const { return mCurrencyChosen; }
    // Id 0 or more. The counter account gets this owner; when that changed
    // it, all pending lines are completed.
    void setMCounterPartyId(ObjectIdT id);

    // Whether the line duplicates a booked transaction; false declares it
    // none (-1), true forgets a declaration. Then all pending lines are
    // completed.
    bool hasDuplicate() const { return mDoubleTransactionIdValue > 0; }
    ObjectIdT duplicatedTransactionId() const override { return hasDuplicate() ? mDoubleTransactionIdValue : 0; }
    void setHasDuplicate(bool duplicate);

    // --- operations
    std::optional<std::int64_t> importTimeStamp() const override { return CNonVisualDataItem::importTimeStamp(); }
    using CNonVisualDataItem::setImportTimeStamp;
    void setImportTimeStamp(std::int64_t stamp) override { CNonVisualDataItem::setImportTimeStamp(stamp); }
    // Completes the line against the books (always true). A completion
    // asked for while this line completes (by its own setters) is the running
    // one: it goes on with what the setter changed.
    bool autoComplete() override;
    // Runs fill, whose setters store and act but leave the completing to the
    // one completion that follows: a reader filling a new line completes it
    // once, not once for each setter.
    void fillThenComplete(const std::function<void()>& fill);
    // When the statement names no own account number (shorter than 2
    // characters): the own account, in batch mode, so nothing is asked.
    void setOwnAccountIdForImport(ObjectIdT accountId) override;
    // Books the line (command 31) when it is complete, accepted and no
    // duplicate; the new transaction gets the line's import time stamp.
    // False when nothing was booked.
    bool import() override;

    // --- a split statement line
    // The parts of a split line, each a line of its own with its amount and
    // its category or other account. The line then books one transaction:
    // its own account for the whole amount, each part's counter account for
    // the part's amount (on the side the part's money comes from or goes
    // to) and each part's category. A part that cannot complete leaves the
    // whole incomplete, with the part's remark.
    const std::vector<Ptr>& splitParts() const { return mSplitParts; }
    void setSplitParts(std::vector<Ptr> parts) { mSplitParts = std::move(parts); }

    // --- a transfer between accounts of two currencies
    // The counter account's amount in its own currency, signed as its own
    // statement gives it (the other half of a transfer that the statement
    // writes under each account). The line (or this part of a split) then
    // books the counter account's line in that currency for that amount,
    // and the transaction changes it at the rate the two amounts give.
    std::optional<double> otherAccountAmount() const { return mOtherAccountAmount; }
    void setOtherAccountAmount(double amount) { mOtherAccountAmount = amount; }

    // Appends one comment to a remark, after a carriage return, so that the
    // remark never holds more than kRemarkLimit characters.
    static void addComment(std::string_view comment, std::string& remark);

private:
    // The currency of a line whose statement names none: its own account's,
    // the home currency while the line has no own account.
    CCurrency* unnamedCurrency(const CDocAccounting& books) const;
    void completeOnce();
    void completeAllLines();
    template <typename T>
    void store(T& field, T value, std::string_view key);

    std::string mTitleText;
    std::string mOurAccountNumberText;
    std::string mForeignAccountNumberText;
    double mAmountValue = 0.0;
    bool mAmountUnread = false;
    std::string mUnreadAmountText;
    DateT mBookingDateValue = 0;
    DateT mValueDateValue = 0;
    std::string mDescriptionText;
    std::string mPartnerNameText;
    std::string mPartnerAddressText;
    std::string mPartnerCityText;
    std::string mCurrencyText;
    std::string mDocumentRefText;
    ObjectIdT mOurAccountIdValue = 0;
    ObjectIdT mOtherAccountIdValue = 0;
    ObjectIdT mFromAccountIdValue = 0;
    ObjectIdT mToAccountIdValue = 0;
    ObjectIdT mExpenseTypeIdValue = 0;
    ObjectIdT mCurrencyIdValue = 0;
    ObjectIdT mCounterPartyIdValue = 0;
    std::string mOriginalBookingDateText;
    std::string mOriginalValueDateText;
    std::string mOriginalAmountText;
    std::string mRemarkText;
    bool mCompleteFlag = false;
    bool mAcceptFlag = true;
    int mSignValue = 0;
    ObjectIdT mDoubleTransactionIdValue = 0;
    ImportDocument* mDocument = nullptr;
    bool mBatchFlag = false;
    std::uint8_t mMasterType = kOrdinaryAccount;

    bool mCurrencyChosen = false;
    bool mCompleting = false;
    // The counter account the line had was deleted: completion takes one
    // only by what the statement names, or by the user's choice.
    bool mOtherAccountLost = false;
    std::vector<Ptr> mSplitParts;
    std::optional<double> mOtherAccountAmount;
};

} // namespace ch
