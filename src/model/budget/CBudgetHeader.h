#pragma once
// CBudgetHeader ('BuDh'): a budget - one year of twelve monthly periods that
// plans how much money flows into and out of every balance-sheet account and
// what every category brings in or costs, with the booked figure beside each
// planned one. It carries the dates, the opening and closing totals, a
// comment, a blocked flag, the id of the budget it continues, the category
// details and the account details (CBudgetDetail), and two folder roots for
// the budget page's outline.
//
// A budget is made in three steps: Initialize makes the account details and
// fills the planned figures from past bookings (AddTransactionToBudget turns
// one transaction into period figures and cross-references), UpdateActuals
// books the actual figures, and Finalize chains the periods into positions.
//
// The header owns its details and, through them, their periods and
// cross-references; a blocked header blocks everything below it. The budget
// it continues is always looked up by id, so deleting that budget leaves
// nothing dangling. Figure changes are announced with message 2015 and a
// BudgetChangeRecord (not a model object) as parameter.

#include <cstddef>
#include <memory>
#include <optional>

#include "model/CNonVisual.h"
#include "model/budget/BudgetTypes.h"
#include "model/budget/CUnallocatedBudget.h"

namespace ch {

class CBudgetDetail;
class CBudgetHierarchyRoot;
class CDebit;
class CExptypeDetail;
class CTransaction;

class CBudgetHeader : public CNonVisual {
public:
    // A new budget with the defaults (and a new id for id -1).
    explicit CBudgetHeader(CDocAccounting* document);
    CBudgetHeader(ObjectIdT id, CDocAccounting* document);
    // The common model-object fields of the source (a new id).
    CBudgetHeader(const CBudgetHeader& source, CDocAccounting* document);
    // Reads the record and the detail records behind it.
    CBudgetHeader(LStream* stream, CDocAccounting* document, FourCharCode version);
    // Releases every detail and cross-reference it still holds.
    ~CBudgetHeader() override;

    // Unblocked, no details, dated 0, made/calculated/modified today, totals
    // 0, the system comment, no base budget, and the two folder roots built
    // from the document's top-level balance-sheet account types and category groups.
    void SetDefaults();

    // Fills a new budget: its dates from the period kind (or the base
    // budget), an account detail for every balance-sheet account, the planned
    // figures from the bookings the base kind names, then the actual figures.
    // A budget whose kinds give it no dates takes them from the base budget
    // when there is one, else the current accounting year.
    void Initialize(BudgetBaseT base, DateT baseMonth, BudgetPeriodT period, long nrOfYears,
                    long nrOfMonths, CBudgetHeader* baseBudget);

    // --- plain fields (setters return true)
    DateT Get_mStartDate() const { return mStartDate; }
    DateT Get_mEndDate() const { return mEndDate; }
    DateT Get_mAangemaaktOp() const { return mAangemaaktOp; }   // made on
    DateT Get_mBerekendOp() const { return mBerekendOp; }       // actuals calculated on
    DateT Get_mAangepastOp() const { return mAangepastOp; }     // modified on
    double Get_mBeginBudget() const { return mBeginBudget; }
    double Get_mEndBudget() const { return mEndBudget; }
    double Get_mBeginActual() const { return mBeginActual; }
    double Get_mEndActual() const { return mEndActual; }
    void Get_mComment(char (&out)[kDescriptionSize]) const;
    bool Get_mBlocked() const { return mBlocked; }
    ObjectIdT Get_mBaseBudgetId() const { return mBaseBudgetId; }
    // Lines read with the budget that name nothing it holds: details of no
    // kind a budget has and cross-references of no period or detail of it
    // (not kept), and cross-references of no account detail (kept, but in
    // no account's figures).
    std::size_t Get_LinesNotKept() const { return mLinesNotKept; }
    bool Put_mStartDate(DateT date);
    bool Put_mEndDate(DateT date);
    bool Put_mBerekendOp(DateT date);
    // Stamps today.
    bool Put_mAangepastOp();
    bool Put_mBeginBudget(double amount);
    bool Put_mEndBudget(double amount);
    bool Put_mBeginActual(double amount);
    bool Put_mEndActual(double amount);
    // Cut to 255 characters; null is the empty comment.
    bool Put_mComment(const char* comment);
    bool Put_mBlocked(unsigned char blocked);
    bool Put_mBaseBudgetId(ObjectIdT id);
    CNamedListArray* Get_mExpenseTypeDetails() const { return mExpenseTypeDetails.get(); }
    CNamedListArray* Get_mAccountDetails() const { return mAccountDetails.get(); }

    // --- look-ups
    // 'ExpT' searches the category details, 'AcnT' the account details, by the
    // budgeted object's id; null for another type or when absent.
    CBudgetDetail* Get_BudgetDetailForOsTypeAndId(FourCharCode type, ObjectIdT id) const;
    // The detail of an account or category; made (at position 1) when absent
    // and create is set. Null for other objects.
    CBudgetDetail* Get_BudgetDetail(CNonVisual* object, bool create);
    bool BudgetExistsForObject(CNonVisual* object, bool) const;
    // The budget this one continues, looked up in the document by id; null
    // when there is none (any more).
    CBudgetHeader* GetBaseBudget() const;
    // The period of a date by its month alone (the year plays no part); a
    // value below 12 is a month number, one of 1000000 or more a full date,
    // anything else YYYYMM. Callers check the result against 0 to 11.
    long getIndexForDate(long date) const;
    // The start date plus the period's months.
    DateT getDateForIndex(long period) const;
    CNamedListArray* Get_DetailFolders() const override { return mDetailFolders.get(); }
    // The contents of the folder root for account types, resp. category groups.
    CNamedListArray* Get_BudgettedRootAccT() const;
    CNamedListArray* Get_BudgettedRootMxpT() const;

    // --- edits
    // Clears and books again every actual figure (cross-references included),
    // then Finalize; true.
    bool UpdateActuals();
    // Budgets a transfer between two accounts for a category in the date's
    // period, raising the from and to amounts so that both grow by the amount
    // and end equal. 192 (blocked) or 193 (outside the budget) and false.
    bool AddNewTransfer(double amount, DateT date, ObjectIdT fromAccountId, ObjectIdT toAccountId,
                        ObjectIdT categoryId);
    bool AddNewTransfer(double amount, DateT date, CAccount* from, CAccount* to,
                        CExpenseType* category);
    // Sets the four planned amounts (kKeepBudgetAmount leaves one) and the
    // comment of the account-category cross-reference in every period from
    // first to last, making what is missing. 192 blocked, 193 a period
    // outside the budget; false.
    bool AddNewXRef(double budgetFrom, double xtraBudgetFrom, double budgetTo, double xtraBudgetTo,
                    DateT date, ObjectIdT accountId, ObjectIdT categoryId, const char* comment,
                    int firstPeriod, int lastPeriod);

    // --- building blocks
    // Adds every transaction of the input date's month to the target's period
    // (one-offs only with actuals).
    bool MakeBudgetFromInputMonth(DateT inputDate, DateT targetDate, unsigned char actuals);
    // One transaction as period figures and cross-references; -1 for a
    // transaction whose single category line has no category, else 1.
    long AddTransactionToBudget(CTransaction* transaction, DateT targetDate, unsigned char actuals,
                                unsigned char oneOff);
    // A debit ('F') or credit ('T') line on its account's detail; the record
    // of what waits to be tied to a category, none for a profit-and-loss account.
    std::optional<CUnallocatedBudget> AddAccount(CDebit* line, char direction, DateT targetDate,
                                                 unsigned char actuals, unsigned char oneOff);
    bool AddExpenseType(CExptypeDetail* line, DateT targetDate, unsigned char actuals,
                        unsigned char oneOff);
    bool AllocateUnallocated(CExptypeDetail* line, CTransaction* transaction, DateT targetDate,
                             unsigned char actuals, UnallocatedBudgets& records,
                             unsigned char oneOff);
    // Opening positions (from the accounts' balances before the start, or
    // from the base budget) and the chaining of every detail.
    bool Finalize();
    void LinkAccountDetailsToXRefs();

    // --- lifecycle
    // A blocked budget refuses (192). Otherwise every detail's cross-references
    // are deleted when none is blocked; the deletion is allowed either way.
    bool BeforeDelete() override;
    void PutStream(LStream* stream) override;
    // The base export; false.
    bool Export(LStream* stream, char separator) const override;
    bool Import() { return true; }

private:
    // Files a detail read or made into the list of its kind (appended).
    bool FileDetail(CBudgetDetail* detail);
    void BuildFolderRoots();
    CNamedListArray* RootContents(FourCharCode contentsType) const;
    void ReleaseDetails();
    DateT CurrentPeriodStart() const;

    DateT mStartDate = 0;
    DateT mEndDate = 0;
    DateT mAangemaaktOp = 0;
    DateT mBerekendOp = 0;
    DateT mAangepastOp = 0;
    double mBeginBudget = 0.0;
    double mEndBudget = 0.0;
    double mBeginActual = 0.0;
    double mEndActual = 0.0;
    char mComment[kDescriptionSize] = {};
    std::unique_ptr<CNamedListArray> mExpenseTypeDetails;
    std::unique_ptr<CNamedListArray> mAccountDetails;
    bool mBlocked = false;
    ObjectIdT mBaseBudgetId = 0;
    std::unique_ptr<CNamedListArray> mDetailFolders;
    std::size_t mLinesNotKept = 0;
};

} // namespace ch
