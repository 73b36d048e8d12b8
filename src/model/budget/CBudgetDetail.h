#pragma once
// CBudgetDetail ('BuDd'): the budget line of one account or one category
// inside a budget. It holds twelve period records of planned and booked
// figures and, per period, the cross-references that tie this account to the
// categories it pays or receives for, or this category to the accounts that
// carry it. It keeps its planned figures equal to the sums of its
// cross-references, spreads a changed figure over them, takes in the amounts
// of booked transactions and chains its periods into start and end positions.
//
// The detail's id is the id of the budgeted account or category; it records
// 'AcnT' for an account and 'ExtD' for a category, and looks the object up by
// id on each use. It owns its period records; the cross-references belong to
// the pair of details that lists them (the category detail writes them).
// Its header owns the detail; figure changes are announced by the header
// (message 2015 with a BudgetChangeRecord).

#include <array>
#include <memory>

#include "model/CNonVisual.h"
#include "model/budget/BudgetTypes.h"
#include "model/budget/CUnallocatedBudget.h"

namespace ch {

class CBudgetHeader;
class CBudgetMonth;
class CBudgetXRef;
class CDebit;
class CTransaction;

class CBudgetDetail : public CNonVisual {
public:
    // What a detail budgets.
    static constexpr FourCharCode kAccountDetail = type::kAccount;               // 'AcnT'
    static constexpr FourCharCode kCategoryDetail = type::kExpenseTypeDetail;    // 'ExtD'

    // Twelve empty periods, no object.
    explicit CBudgetDetail(CDocAccounting* document);
    // The detail of an account or category: its id, type and header. The
    // date is not used, and a detail always has its twelve periods.
    CBudgetDetail(CNonVisual* object, DateT date, CBudgetHeader* header, CDocAccounting* document,
                  bool withMonths = true);
    // The same (used for the unspecified-transfer category).
    CBudgetDetail(CNonVisual* object, char kind, DateT date, CBudgetHeader* header,
                  CDocAccounting* document, unsigned char actuals, unsigned char oneOff);
    // The detail of the account or category the line books on, which then
    // takes the line's home-currency amount (AddAmount).
    CBudgetDetail(ObjectIdT id, CDebit* line, char direction, DateT date, CBudgetHeader* header,
                  CDocAccounting* document, unsigned char actuals, unsigned char oneOff);
    // The common model-object fields of the source (a new id) and twelve empty periods.
    CBudgetDetail(const CBudgetDetail& source, CDocAccounting* document);
    // Reads the record, its periods and (for a category) its cross-references.
    CBudgetDetail(LStream* stream, CDocAccounting* document, FourCharCode version);
    // Deletes the periods and the lists, not the cross-references (DeleteDetail does).
    ~CBudgetDetail() override;

    // Type 'BuDd', no comment, unblocked, twelve empty cross-reference lists;
    // with withMonths twelve period records with all figures 0.
    void SetDefaults(bool withMonths);

    // --- what it budgets
    // 'AcnT' or 'ExtD' (or an unknown code read from a damaged file).
    FourCharCode Get_BudgettedObjectType() const { return mBudgettedType; }
    ObjectIdT Get_BudgettedId() const { return mBudgettedId; }
    bool IsAccountDetail() const { return mBudgettedType == kAccountDetail; }
    bool IsCategoryDetail() const { return mBudgettedType == kCategoryDetail; }
    // The budgeted object looked up by id; null when it is gone.
    CNonVisual* GetObject() const;
    // A category detail whose category is a transfer category.
    bool isTransferReasonBudget() const;

    // --- the header
    CBudgetHeader* GetHeader() const;
    void Put_Header(CBudgetHeader* header);
    ObjectIdT Get_HeaderId() const { return mHeaderId; }
    long getIndexForDate(long date) const;
    DateT getDateForIndex(long period) const;

    // --- figures
    // Figure 0 to 13 of period 0 to 11; -1.0 otherwise.
    double GetBudgettedNumber(BudgetItemTypeT figure, long period) const;
    // The period record (null outside 0 to 11).
    CBudgetMonth* GetMonth(long period) const;
    // Clears the booked figures (and unless actualsOnly the planned ones) and
    // the blocked flag of every period.
    void InitializeNumbers(unsigned char actualsOnly);
    // Books an amount in the date's period: a category that counts as income
    // or expense takes it as money in; an account as money out ('F') or in
    // ('T'). Booked with actuals, planned without; one-offs apart.
    bool AddAmount(DateT date, double amount, char direction, unsigned char actuals,
                   unsigned char oneOff);
    // Chains the periods: each start is the previous end; each end follows
    // from start, in and out (reversed for a debt account).
    bool Finalize();

    // --- state
    // The own flag, else the header's.
    bool Get_mBlocked() const;
    // The period's flag, else Get_mBlocked(); true for a period outside 0 to 11.
    bool Get_mBlocked(long period) const;
    bool Put_mBlocked(unsigned char blocked);
    void Get_mComment(char (&out)[kDescriptionSize]) const;
    // Cut to 255 characters; false (nothing changes) for null.
    bool Put_mComment(const char* comment);

    // --- cross-references
    // The list of period 0 to 11; null otherwise.
    CNamedListArray* GetXRefsForZeroBasedPeriod(int period) const;
    // The list of the date's period; null when it has none.
    CNamedListArray* GetXRefs(DateT date) const;
    // Inserts at position 1 of the period's list.
    bool AddXRef(CBudgetXRef* xref, long period);
    // Takes it out of the list of its period.
    bool RemoveXRefLink(CBudgetXRef* xref);
    // Lists it in its period and becomes its account detail.
    bool LinkAccountXRef(CBudgetXRef* xref);
    // Every cross-reference of this category detail without an account detail
    // finds it in the list by its account-detail id.
    void LinkAccountDetailsToXRefs(CNamedListArray* accountDetails);
    // Sets the booked amounts of every listed cross-reference to 0.
    void ClearXRefActuals();
    // The cross-references read with the detail that named another detail or
    // no period of the budget: they were not kept.
    std::size_t XRefsNotKept() const { return mXRefsNotKept; }

    // The period's figure (1 in, 2 extra in, 3 out, 4 extra out) becomes the
    // sum of its cross-references; then Finalize and the header announces it.
    bool SynchroXRef(CBudgetXRef* xref, bool, BudgetItemTypeT figure);
    // Sums of the period's planned to and from amounts (one-off ones with
    // extra): blocked ones (and transfers unless includeTransfers) are
    // fixed, the rest spreadable; returns the number of spreadable ones.
    long GetXRefAmounts(bool includeTransfers, long period, double& spreadTo, double& fixedTo,
                        double& spreadFrom, double& fixedFrom, unsigned char extra) const;

    // An account figure of a period: stored, and what is not fixed spread
    // over the period's spreadable cross-references in proportion to their
    // amounts (evenly when they are all 0). Error 189 and false when the
    // period has nothing to spread over.
    bool Put_BudgetIn(long period, double value);
    bool Put_BudgetExtraIn(long period, double value);
    bool Put_BudgetOut(long period, double value);
    bool Put_BudgetExtraOut(long period, double value);
    // A category's planned movement of a period, spread likewise (only for a
    // category detail; error 189 when there is nothing to spread over).
    bool Put_BudgetMove(long period, double value);
    bool Put_BudgetExtraMove(long period, double value);

    // Edits one period: its blocked flag and comment, then the planned figures
    // that differ. 1 done, 0 for a period outside 0 to 11, -1 for a detail
    // that budgets neither an account nor a category.
    long modify(double in, double extraIn, double out, double extraOut, const char* comment,
                int period, bool blocked);

    // The cross-reference of the account and category in the date's period,
    // made (with the details it needs) when there is none; null for a date
    // outside the budget or without a header.
    CBudgetXRef* SearchOrCreateXRef(CAccount* account, CExpenseType* category, DateT date,
                                     unsigned char = 0);
    // The cross-reference between this detail and the other in the date's
    // period (found or made); with store, each amount that is not
    // kKeepBudgetAmount is stored and both details recompute. Null with
    // error 192 when either detail is blocked, 194 when they are not an
    // account and a category.
    CBudgetXRef* AddOrReplaceXRef(CBudgetDetail* other, DateT date, double from, double xtraFrom,
                                  double to, double xtraTo, unsigned char store);

    // Spreads a category line of this category over the accounts of the
    // transaction's records: exact matches first, then in proportion.
    bool AllocateUnallocated(double amount, CTransaction* transaction, DateT date,
                             unsigned char actuals, UnallocatedBudgets& records,
                             unsigned char oneOff);
    // Books whatever the records still hold on this (unspecified-transfer) category.
    bool AllocateUnspecifiedTransfers(CTransaction* transaction, DateT date, unsigned char actuals,
                                      UnallocatedBudgets& records, unsigned char oneOff);

    // --- deletion
    // When the cross-reference allows it: its planned amounts become 0, it
    // leaves both details and is deleted; true. Else false.
    bool DeleteXRef(CBudgetXRef* xref);
    // False when the detail or any of its cross-references is blocked.
    virtual bool CanBeDeleted() const;
    // Deletes every cross-reference of the detail (taking each out of the
    // partner detail too); with check, nothing when CanBeDeleted refuses.
    virtual bool DeleteDetail(bool check);

    // --- persistence
    void PutStream(LStream* stream) override;
    // The base export; false.
    bool Export(LStream* stream, char separator) const override;
    bool Import() { return true; }

private:
    CAccount* Account() const;
    CExpenseType* Category() const;
    // -1.0 for an expense category (sign-dependent standing), else +1.0.
    double MovementSign() const;
    bool SpreadAccountFigure(long period, double value, BudgetItemTypeT figure);
    bool SpreadMovement(long period, double value, bool extra);
    void Announce(BudgetItemTypeT figure, long period) const;
    void ForObject(CNonVisual* object, CBudgetHeader* header);

    CBudgetHeader* mHeader = nullptr;
    ObjectIdT mHeaderId = 0;
    FourCharCode mBudgettedType = 0;
    ObjectIdT mBudgettedId = 0;
    char mComment[kDescriptionSize] = {};
    bool mBlocked = false;
    std::array<std::unique_ptr<CBudgetMonth>, kBudgetPeriods> mMonths;
    std::array<std::unique_ptr<CNamedListArray>, kBudgetPeriods> mXRefs;
    std::size_t mXRefsNotKept = 0;
};

// Kept for the budget page; there is nothing to spread outside a detail.
inline double GetSpreadableXRefAmount(long, BudgetItemTypeT) { return 0.0; }

} // namespace ch
