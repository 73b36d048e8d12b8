#pragma once
// CExpenseType ('ExpT'): a category, the reason of a booking (groceries,
// salary, an opening balance). It belongs to one category group, whose kind
// decides whether it counts as income, expense, transfer, opening balance or
// correction. It keeps the category lines booked on it, its balance and its
// totals for this accounting year, the previous one and the previous one up
// to today's date one year ago, and passes every change of them up to its
// group. Without the strict flag its income or expense standing follows the
// sign of its balance, so the document's category list moves it between its
// sub-lists as bookings change it.
//
// Ids come from the books' category counter (IdCounters::mi_ExptNr); new
// categories start at 7.
// The group id is one byte wide, in memory and in the record.
//
// The category caches its group object; its bookings list holds the lines
// (CExptypeDetail, owned by their transactions). Main thread only.

#include <memory>
#include <string>
#include <vector>

#include "model/CMasterExpenseType.h"
#include "model/CNonVisual.h"

namespace ch {

class CCurrency;
class CDebit;

class CExpenseType : public CNonVisual {
public:
    static constexpr std::size_t kMaxDescriptionLength = 255;

    // A new id; the defaults, filed into group 1.
    explicit CExpenseType(CDocAccounting* document);
    // The id (negative: a new one); the defaults, filed into group 1.
    CExpenseType(ObjectIdT id, CDocAccounting* document);
    // The common fields, the group (the copy is filed there), the description
    // and the tax-deductible percentage; a new id, no bookings, no totals.
    CExpenseType(const CExpenseType& source, CDocAccounting* document);
    // Reads the record and files the category into its group (read before).
    // The stored balance is skipped: it is rebuilt as the lines link.
    CExpenseType(LStream* stream, FourCharCode version, CDocAccounting* document);
    // Leaves its group's list, so that no pointer to it survives.
    ~CExpenseType() override;

    CExpenseType(const CExpenseType&) = delete;
    CExpenseType& operator=(const CExpenseType&) = delete;

    // Name "Name", tax-deductible 100%, balance 0, group 1, no description, white.
    void SetDefaults();

    // Ids of 0 or more are kept (raising the counter); a negative id takes the next one.
    bool Put_ExptId(ObjectIdT id);
    bool Put_Id(ObjectIdT id) override { return Put_ExptId(id); }

    // --- group
    MasterExpenseTypeT Get_mMasterType() const { return mMasterType; }
    CMasterExpenseType* Get_mMasterExpensetypePtr() const;
    // Moves the category, with its totals, into the group with the id (5 is
    // taken as 1). Refused, changing nothing: a group that does not exist or
    // that a one-byte group field can't name (186); with bookings, a group
    // that differs in strict income or expense standing (147).
    bool Put_mMasterType(long id);
    // Put_mMasterType.
    bool Put_mParentId(ObjectIdT id) override;
    // Looks the group up and keeps it when found; true.
    bool Search_MasterType(MasterExpenseTypeT id);

    // --- fields
    // Cut to 255 characters; the description text from it (Mac Roman); null
    // empties both. No broadcast.
    bool Put_mDescription(const char* description);
    void Get_mDescription(char (&out)[kDescriptionSize]) const;
    bool Put_mTaxDeductiblePct(double percentage);
    double Get_mTaxDeductiblePct() const { return mTaxDeductiblePct; }
    bool Put_Color(RGBColor color);
    // The category's colour, or its group's when it is white.
    virtual RGBColor Get_Color() const;

    // --- totals
    double Get_Amount() const override { return mBalance; }
    double Get_thisYearsBalance() const { return mThisYearsBalance; }
    double Get_lastYearsBalance() const { return mLastYearsBalance; }
    double Get_lastYearsBalanceYTD() const { return mLastYearsBalanceYTD; }
    double Get_thisYearsAverageMonth() const;
    double Get_PreviousYearsAverageMonth() const;
    // The home-currency amounts of the bookings dated within each range (both
    // ends inclusive); a line counts in every range that holds its date.
    bool Get_BalanceInPeriod(double& total1, double& total2, double& total3, double& total4,
                             DateT from1, DateT to1, DateT from2, DateT to2, DateT from3, DateT to3,
                             DateT from4, DateT to4) const;
    // A line's amount added (positive) or taken out (negative), dated `date`
    // (0: the balance only): the balance and the year totals change, the
    // group's branch follows, and a change of standing re-files the category
    // in the document's category list. The second argument plays no part.
    bool AddTo(double amount, double other, DateT date);
    // The year totals made again from the bookings, for periods that moved
    // (another first month of the accounting year, or a new year begun);
    // the group's branch follows.
    void RefigureYears();
    // Multiplies the balance and the three year totals by rate.
    virtual bool SetNewHomeCurrency(CCurrency* oldHome, CCurrency* newHome, double rate);
    // Whether the bookings add up to the balance; when not, the balance
    // becomes their sum.
    bool Repair();

    // --- bookings (called by the category lines)
    CNamedListArray* Get_mBookings() const { return mBookings.get(); }
    CNamedListArray* Get_Bookings() const { return mBookings.get(); }
    // A listed line changes nothing (1); otherwise it joins, 2027, and 0.
    unsigned char AddDetail(CDebit* line);
    // A listed line leaves, 2026, true; otherwise false.
    bool RemoveDetail(CDebit* line);
    // While a file's lines post: the line waits aside, and ListHeldDetails
    // lists every waiting line as AddDetail one by one would have, in one
    // insertion when nobody listens.
    void HoldDetail(CDebit* line);
    void ListHeldDetails();

    // --- standing (from the group's kind; without strict also from the sign
    // of the balance)
    bool IsIncome(bool strict) const;
    // strict: the group's IsExpense(false) (1 expense, 2 opening balance or correction).
    unsigned char IsExpense(bool strict) const;
    bool IsTransfer() const;
    bool IsOpeningBalance() const;
    bool IsCorrection() const;
    // Opening-balance and correction categories may be negative.
    bool CanBeNegative() const;
    // 1 for strict income, 0 for strict expense, else 3.
    long Get_WarningLevel(unsigned char) const override;
    long GetIconId() const override { return 134; }
    bool IsRootItem() override { return false; }
    CNamedListArray* Get_Details() const override { return nullptr; }
    // Appends the localized "ExpType" to the first text; flag 1.
    virtual void GetObjectDescription(std::string& first, std::string& second, std::string& third,
                                      unsigned char& flag) const;

    // --- deletion and persistence
    // 237 used by a recurring transaction, 168 with bookings or lines of
    // unlinked transactions, 199 used by a budget, 234 a default category of
    // the settings; otherwise it leaves its group.
    bool BeforeDelete() override;
    void PutStream(LStream* stream) override;
    bool Export(LStream* stream, char separator) const override;

private:
    friend class CMasterExpenseType;
    // The group is going away.
    void ForgetGroup(const CMasterExpenseType* group);
    void CreateBookings();
    // The group object, looked up when not yet known.
    CMasterExpenseType* Group() const;
    // Tells the document's category list that the standing may have changed.
    void Refile(bool wasExpense, bool wasIncome);
    // Adds the amount, dated `date`, to the year totals it belongs to.
    void YearShares(DateT date, double amount, double& thisYear, double& lastYear, double& lastYearToDate) const;

    MasterExpenseTypeT mMasterType = group_kind::kExpense;
    char mDescription[kDescriptionSize] = {};
    double mTaxDeductiblePct = 100.0;
    double mBalance = 0.0;
    std::unique_ptr<CNamedListArray> mBookings;
    std::vector<CDebit*> mHeldBookings;   // see HoldDetail
    mutable CMasterExpenseType* mMasterExpensetypePtr = nullptr;
    RGBColor mColor;
    double mLastYearsBalance = 0.0;
    double mLastYearsBalanceYTD = 0.0;
    double mThisYearsBalance = 0.0;
};

} // namespace ch
