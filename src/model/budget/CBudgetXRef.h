#pragma once
// CBudgetXRef ('BuDx'): ties one account detail to one category detail of the
// same budget in one period - how much of the category's planned movement is
// expected to leave or reach the account, and how much actually did. It sits
// in the period's list of both details; the category detail writes it to the
// file. The period figures of both details are the sums of their
// cross-references, so every change of a planned amount is pushed to both
// (except to the detail that made the change, which keeps its own figure).
//
// The account and the category are held by id and looked up in the document
// on each use, so deleting either never leaves a dangling pointer.

#include <cstddef>

#include "model/CNonVisual.h"
#include "model/budget/BudgetTypes.h"

namespace ch {

class CBudgetDetail;
class CBudgetHeader;

class CBudgetXRef : public CNonVisual {
public:
    // All amounts 0, type 'BuDx'; the account and category (when given) and
    // both details with their ids, in the period.
    CBudgetXRef(CDocAccounting* document, CAccount* account, CExpenseType* category,
                CBudgetDetail* accountDetail, CBudgetDetail* categoryDetail, long period);
    // The defaults with the id; no objects, no details.
    CBudgetXRef(ObjectIdT id, CDocAccounting* document);
    // The common model-object fields of the source (a new id).
    CBudgetXRef(const CBudgetXRef& source, CDocAccounting* document);
    // Reads the record; both detail pointers stay null (the details link it).
    CBudgetXRef(LStream* stream, CDocAccounting* document, FourCharCode version);

    // Unblocked, no details, the eight amounts 0, no comment, type 'BuDx'.
    void SetDefaults();

    // --- amounts
    double Get_mBudgetFrom() const { return mBudgetFrom; }
    double Get_mBudgetTo() const { return mBudgetTo; }
    double Get_mXtraBudgetFrom() const { return mXtraBudgetFrom; }
    double Get_mXtraBudgetTo() const { return mXtraBudgetTo; }
    double Get_mActualFrom() const { return mActualFrom; }
    double Get_mActualTo() const { return mActualTo; }
    double Get_mXtraActualFrom() const { return mXtraActualFrom; }
    double Get_mXtraActualTo() const { return mXtraActualTo; }
    // Each stores the planned amount and has both details, except the
    // caller, recompute the matching figure (out, in, extra out, extra in).
    bool Put_mBudgetFrom(double amount, CBudgetDetail* caller);
    bool Put_mBudgetTo(double amount, CBudgetDetail* caller);
    bool Put_mBudgetXtraFrom(double amount, CBudgetDetail* caller);
    bool Put_mBudgetXtraTo(double amount, CBudgetDetail* caller);
    // Adds booked amounts: planned (neither flag), planned one-off (oneOff),
    // booked (actuals) or booked one-off (both). The details are not touched.
    bool AddAmounts(double from, double to, unsigned char actuals, unsigned char oneOff);
    // Sets the four booked amounts to 0 (before the budget books them again).
    void ClearActuals();
    // Has the account detail, then the category detail, recompute `figure`
    // from their cross-references; a null caller means both.
    bool SynchroUp(BudgetItemTypeT figure, long, CBudgetDetail* caller);

    // For every period from firstPeriod to lastPeriod (0 to 11, else nothing
    // and false): the account detail's cross-reference of that period with
    // this one's category detail, unless blocked, takes each amount that
    // differs (in as to, out as from) and both details recompute; this
    // cross-reference takes the comment (when given) and, with blocked, its
    // own flag. Without an account detail nothing happens.
    bool modify(double in, double extraIn, double out, double extraOut, const char* comment, int,
                bool blocked, int firstPeriod, int lastPeriod);

    // --- state
    // The own flag, else the period's flag in the category detail, else in the account detail.
    bool Get_mBlocked() const;
    bool Put_mBlocked(unsigned char blocked);
    void Get_mComment(char (&out)[kDescriptionSize]) const;
    // Cut to 255 characters; false (nothing changes) for null.
    bool Put_mComment(const char* comment);
    long Get_mPeriod() const { return mPeriod; }
    // The header's start date plus the period.
    DateT Get_StartDate() const;
    bool CanBeModified() const { return true; }
    // Whether the category is a transfer category.
    bool isTransferBudget() const;

    // --- what it ties
    ObjectIdT Get_mAccountId() const { return mAccountId; }
    ObjectIdT Get_mExpenseTypeId() const { return mExpenseTypeId; }
    CAccount* Get_mAccount() const;
    CExpenseType* Get_mExpenseType() const;
    // The names, or empty texts when the object is gone.
    void Get_mAccountName(char (&out)[kNameSize]) const;
    void Get_mReasonName(char (&out)[kNameSize]) const;
    ObjectIdT Get_AccountDetailId() const { return mAccountDetailId; }
    ObjectIdT Get_ExpenseTypeDetailId() const { return mExpenseTypeDetailId; }
    CBudgetDetail* Get_AccountDetailPointer() const { return mAccountDetail; }
    CBudgetDetail* Get_ExpenseTypeDetailPointer() const { return mExpenseTypeDetail; }
    // Take the detail (null: forget it) only when its id is the stored
    // detail id; false otherwise.
    bool PutAccountDetailPointer(CBudgetDetail* detail);
    bool PutExpenseTypeDetailPointer(CBudgetDetail* detail);

    // --- deletion
    // 192 blocked, 197 a transfer category, 196 a booked amount; else true.
    bool CanBeDeleted() const;
    // CanBeDeleted, and every planned amount 0 (else 195).
    bool BeforeDelete() override;

    // --- persistence
    void PutStream(LStream* stream) override;
    // The base export; false.
    bool Export(LStream* stream, char separator) const override;
    bool Import() { return true; }

private:
    CBudgetHeader* Header() const;

    ObjectIdT mAccountId = 0;
    ObjectIdT mExpenseTypeId = 0;
    CBudgetDetail* mAccountDetail = nullptr;
    ObjectIdT mAccountDetailId = 0;
    CBudgetDetail* mExpenseTypeDetail = nullptr;
    ObjectIdT mExpenseTypeDetailId = 0;
    double mBudgetFrom = 0.0;
    double mBudgetTo = 0.0;
    double mXtraBudgetFrom = 0.0;
    double mXtraBudgetTo = 0.0;
    double mActualFrom = 0.0;
    double mActualTo = 0.0;
    double mXtraActualFrom = 0.0;
    double mXtraActualTo = 0.0;
    char mComment[kDescriptionSize] = {};
    bool mBlocked = false;
    long mPeriod = 0;
};

} // namespace ch
