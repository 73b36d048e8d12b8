#pragma once
// CTrnSItem: the item of a transaction ('TrnS'). Tables, sheets, exports and
// command arguments read and write a transaction only through it. It defines
// the transaction dictionary (the form in which a transaction travels through
// sheets, commands, the journal and the clipboard) and the export line of a
// transaction.
//
// Its lines are presented as three lists of line items, always in this order:
// from (debit lines), to (credit lines), for (category lines). The lists are
// built anew on every request.
//
// The registry hands its transaction items the document's notifications
// about transactions about to be deleted and references to be cleared; an
// item that holds an invoice observes the invoice notifications itself.
// Getters give none (or the value named) without a transaction.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/AccountAncestor.h"
#include "bridge/CNonVisualDataItem.h"
#include "platform/core/observable.h"

namespace ch {

class CAcnTItem;
class CCurRItem;
class CDebetItem;
class CExpTItem;
class CNamedListArray;
class CNonVisual;
class CTransaction;
class GXInvoice;
class InvoiceHooks;
struct Notification;
struct SimpleTransactionArguments;

// Keys of the transaction dictionary (the misspelling is part of the format).
namespace transaction_key {
inline constexpr std::string_view kDate = "TransactionDate";
inline constexpr std::string_view kName = "TransactionName";
inline constexpr std::string_view kDescription = "TransactionDescription";
inline constexpr std::string_view kCurrencyId = "CurrencyId";
inline constexpr std::string_view kCurrencySymbol = "CurrencySymbol";
inline constexpr std::string_view kAmount = "TransacionAmount";
inline constexpr std::string_view kDocumentReference = "DocumentReference";
inline constexpr std::string_view kIsApproved = "IsApproved";
inline constexpr std::string_view kVATNr = "VATNr";
inline constexpr std::string_view kBudgetOneOff = "BudgetOneOff";
inline constexpr std::string_view kReferenceObjectId = "ReferenceObjectId";
inline constexpr std::string_view kSpecialType = "SpecialType";
inline constexpr std::string_view kDocumentId = "DocumentId";
inline constexpr std::string_view kTransactionType = "TransactionType";
inline constexpr std::string_view kFromList = "FromList";
inline constexpr std::string_view kToList = "ToList";
inline constexpr std::string_view kForList = "ForList";
} // namespace transaction_key

// What stands in an unaccounted-for amount when no payment is linked, and
// when a credit note is linked.
inline constexpr double kNoLinkedTransactionMarker = 999099912.12;
inline constexpr double kCreditNoteLinkedMarker = 999099913.13;

class CTrnSItem : public CNonVisualDataItem {
public:
    CTrnSItem();
    explicit CTrnSItem(CNonVisual* transaction, const Ptr& parent = nullptr);
    ~CTrnSItem() override;

    void setParentDocument(BridgeDocument* document) override;

    // Posts "transactionChanged" with the item.
    void notifyChange();
    // A payment of this invoice is about to be deleted: it is unlinked.
    void transactionWillBeDeleted(const Notification& notification);
    // Clears the reference when it names the notification's transaction id;
    // a share's trade keeps its share, whatever the share's number.
    void nullifyReferenceTransactionId(const Notification& notification);
    // Detaches the payments of an invoice, or asks the payments that refer to
    // this transaction to drop their reference.
    void unlinkLinkedTransactions();
    // The same detachment, taken while the transaction is still bound and
    // done by calling the answer once it is gone: a deletion the model
    // refuses then keeps every link.
    std::function<void()> unlinkLinkedTransactionsLater();

    // --- the invoice of an invoice transaction (types 4 and 5)
    std::shared_ptr<GXInvoice> invoiceExtension();
    void invoiceExtensionDeleted(const Notification& notification);
    void unlinkPayment(CTrnSItem& payment);
    bool linkPaymentToInvoice(CTrnSItem& payment);
    std::optional<DateT> dueDate();
    std::optional<std::string> paymentReference();

    // --- scalar properties
    std::optional<long> mDate() const;
    // Only a different date is written.
    virtual void setMDate(std::optional<long> date);
    std::string mDateAsString() const;
    // "-Deleted-" without a transaction.
    std::string mDescription() const;
    // None writes the empty text.
    void setMDescription(std::optional<std::string_view> description);
    std::string namePlusDescription() const;
    std::string fullDescription() const;
    std::string fullDetails() const;
    std::optional<double> mTotalAmount() const;
    void setMTotalAmount(std::optional<double> amount);
    std::optional<double> mLocalAmount() const;
    void setMLocalAmount(std::optional<double> amount);
    // "0.00" without a transaction.
    std::string ForeignAmountAsString() const;
    std::string LocalAmountAsString() const;
    std::optional<long> mCurrencyId() const;
    void setMCurrencyId(std::optional<long> currencyId);
    // The registry's item of the transaction's currency (a new item without
    // a document); null without a transaction or currency.
    std::shared_ptr<CCurRItem> mCurrencyPtr() const;
    // "" without a transaction.
    std::string mCurrencyName() const;
    std::optional<long> mDocumentId() const;
    void setMDocumentId(std::optional<long> id);
    bool mbApproved() const;
    void setMbApproved(bool approved);
    bool mbBudgetOneOff() const;
    void setMbBudgetOneOff(bool oneOff);
    // None writes the empty text.
    std::optional<std::string> mVatNR() const;
    void setMVatNR(std::optional<std::string_view> number);
    std::optional<std::string> mDocumentRef() const;
    void setMDocumentRef(std::optional<std::string_view> reference);
    std::optional<std::string> externalReference() const;
    void setExternalReferene(std::optional<std::string_view> reference);
    // 3 without a transaction.
    int mTransactionType() const;
    void setMTransactionType(int type);
    std::optional<int> mSpecialTypeT() const;
    void setMSpecialTypeT(int type);
    // The linked invoice or payment transaction; -1 without a transaction.
    std::optional<long> mReferenceObjectId() const;
    // Writes the id (none counts as 0) when it differs; none while the stored
    // id is 0 writes -1. Announces a change when it wrote.
    void setMReferenceObjectId(std::optional<long> id);
    LineItemArray mFromList() const;
    LineItemArray mToList() const;
    LineItemArray mForList() const;
    // Change announcements only: the lists are built from the model.
    void setMFromList() { announceDisplayState("mFromList"); }
    void setMToList() { announceDisplayState("mToList"); }
    void setMForList() { announceDisplayState("mForList"); }
    // A schedule's flags; none here (the recurring item has them).
    virtual std::optional<bool> mAutomaticApproval() const { return false; }
    virtual void setMAutomaticApproval(std::optional<bool>) {}
    virtual std::optional<bool> mOnOff() const { return std::nullopt; }
    virtual void setMOnOff(std::optional<bool>) {}
    // Green when every line adds to the owner's property, red when every
    // line takes from it, black otherwise.
    std::optional<Colour> sureColor() const;
    // The share count the transaction moves for the base share (or its own
    // currency when none is set).
    std::optional<int> investmentQuantity() const;
    void setTheBaseShare(CNonVisual* share) { theBaseShare = share; }
    bool isVATBalancingTransaction() const;
    // Blocked (status 4), or a line in a foreign currency whose rate changed
    // after the transaction; true without a transaction.
    bool isBlocked() const;
    bool isUnlinked() const;
    virtual bool isOnModifiedForeignCurrency() const;

    // --- linked payments (cached until cleared by the setters below)
    std::optional<double> amountNotCoveredByLinkedTransactions(bool debtSide);
    std::optional<double> unaccountedForAmount() { return amountNotCoveredByLinkedTransactions(false); }
    std::optional<double> amountOfDebtNotYetReplenishedByUs() { return amountNotCoveredByLinkedTransactions(true); }
    void setUnaccountedForAmount() { setAmountNotCoveredByLinkedTransactions(false); }
    void setAmountOfDebtNotYetReplenishedByUs() { setAmountNotCoveredByLinkedTransactions(true); }
    void setAmountNotCoveredByLinkedTransactions(bool debtSide);
    // The lines changed (amount, account or currency of one, or lines added
    // or removed): what is left to pay of this transaction and of the one
    // it refers to (the invoice a payment settles) is worked out anew.
    void linesChanged();
    // The unaccounted amount lies within half a cent of 0.
    bool isPaid();
    bool hasPayments();
    // The reference id of a payment; -2 for an invoice; none when not linked.
    std::optional<long> isLinkedToTransactionAsPayment();

    // --- lines by row (1-based); false when the row does not exist
    bool setFromAccountId(long accountId, int row);
    bool setToAccountId(long accountId, int row);
    bool setExpenseTypeId(long categoryId, int row);
    bool setFromCurrencyId(long currencyId, int row);
    bool setToCurrencyId(long currencyId, int row);
    bool setForCurrencyId(long currencyId, int row);
    bool setFromAccount(const CNonVisualDataItem& account, int row);
    bool setToAccount(const CNonVisualDataItem& account, int row);
    bool setExpenseType(const CNonVisualDataItem& category, int row);
    // 0-based index.
    void balanceDebet(int index);
    void balanceCredit(int index);
    void balanceExpTypeDetail(int index);
    void balanceExpenseTypes();
    bool validate();
    // Row 1 of the own list; for a property or debt account (an income or
    // expense category) the other rows 1 from the settings' defaults.
    bool setInitialFromAccount(const CAcnTItem& account);
    bool setInitialToAccount(const CAcnTItem& account);
    bool setInitialExpenseType(const CExpTItem& category);

    // --- adding and removing lines
    // A new zero line of the type ('DebT', 'CreT', 'ExtD'); null otherwise.
    std::shared_ptr<CDebetItem> addDetailWithType(FourCharCode type);
    // A new line with the other line's type, account, currency and amount.
    bool addDetailAsCopyOfItem(const CDebetItem& line);
    // The same from a line dictionary.
    bool addDetailAsCopyOfDictionary(const Dictionary& line);
    // Posts the line-deleted notification with the line's key when the model
    // deleted it.
    bool removeDetail(const CDebetItem& line);

    // --- copying
    virtual bool setEqualToTransaction(CTrnSItem& other);
    bool setEqualToSimpleTransactionArguments(const SimpleTransactionArguments& arguments);
    // The lines of a list become copies of the new lines (added first, then
    // the old ones removed, so the list never runs empty).
    bool updateDetails(const LineItemArray& oldLines, const LineItemArray& newLines);
    // Line i takes dictionary i; surplus lines go from the end, missing ones
    // are added. None or no dictionaries change nothing (false). A line left
    // as it was keeps its home amount unless the transaction was redated.
    bool updateDetailsWithDictionaries(const LineItemArray& oldLines, const Array* dictionaries,
                                       bool redated = false);
    // The total, and the category lines when there are two or more, times
    // the factor, each in whole cents; the largest category line takes the
    // cent that rounding leaves.
    void applyFactor(double factor);
    // The largest category line takes the difference of no more than a cent
    // a line between the category lines and the accounts' lines that
    // rounding each line to whole cents leaves. True when they agree.
    bool categoryLinesTakeRoundingCent();

    // --- dictionary form
    Dictionary dictionaryRepresentation() const override;
    // Fills the wrapped transaction (and its lines) from the dictionary.
    // Scalars may arrive as text (a replayed journal gives them so).
    bool initWithDictionaryRepresentation(const Dictionary& dictionary) override;
    bool updateWithDictionaryRepresentation(const Dictionary& dictionary);
    // The same for a copy about to be booked anew: every line is read again
    // and converted at the rate of the dictionary's date, even when the copy
    // keeps its transaction's date, as the new transaction will be.
    bool initAsNewBookingFromDictionary(const Dictionary& dictionary);

    // --- search and export
    // Typed amount or transaction number, else the text in the name,
    // description or document reference (ignoring case).
    bool matches(std::string_view text) const override;
    // The same for the model transaction, with the text read as a number
    // (NSStringToNSNumber) beforehand: a list searches every row at once.
    static bool transactionMatches(const CTransaction& transaction, std::string_view text, double number);
    // The line with the largest absolute home-currency amount (the first on a tie).
    static std::shared_ptr<CDebetItem> getMostImportantDebetItem(const LineItemArray& lines);
    // One tab-separated record of the transaction (no line given), or the
    // account texts of the other two lists' main lines (a line given).
    // "-Deleted-" without a transaction.
    std::string exportAsTSV(const CDebetItem* line, bool asQif) const;
    std::string exportOtherDetailsAsTSV(const LineItemArray& lines, const CDebetItem* except,
                                        bool amountAsWell, bool asQif) const;

protected:
    CTransaction* transaction() const;
    InvoiceHooks& invoiceHooks() const;

    CNonVisual* theBaseShare = nullptr;

private:
    LineItemArray lineItems(const CNamedListArray* list) const;
    std::shared_ptr<CDebetItem> lineItem(CNonVisual* line) const;
    // Observes the deletion of the invoice it holds (nothing without one).
    void followInvoice();
    // The cached unaccounted amount of the transaction with the id goes stale.
    void forgetUnaccountedAmountOf(long transactionId) const;
    // Fills the transaction from the dictionary; with convertAgain every line
    // is read as if the transaction had moved to another date.
    bool readDictionary(const Dictionary& dictionary, bool convertAgain);

    std::optional<double> mUnaccountedForAmount;
    std::optional<double> mAmountOfDebtNotYetReplenishedByUs;
    std::shared_ptr<GXInvoice> mInvoiceExtension;
    std::vector<Subscription> mInvoiceSubscriptions;
};

} // namespace ch
