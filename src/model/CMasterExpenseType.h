#pragma once
// CMasterExpenseType ('MxpT'): a category group, a node of the category tree
// with one kind (income, expense, transfer, opening balance or correction),
// its sub-groups, its categories and a chart colour. Its running totals (the
// balance and the totals of this year, last year and last year up to today's
// date one year ago, in the home currency) always equal the sums of its
// categories and sub-groups: every booking on a category climbs through its
// group and all the group's ancestors.
//
// Ids come from the books' group counter (IdCounters::mi_MxptNr): ids 0 to 4 are the five
// predefined top-level groups (the id is their kind); new groups start at 7.
// A category stores its group id in one byte, so only groups with ids up to
// kMaxCategoryGroupId can hold categories: once the counter passes that, a
// new group takes the lowest id its document has free, and the model root
// refuses a group for which none is left.
//
// The group refers to its parent by id and caches the object; its two lists
// hold pointers and own nothing (the model root owns every group and
// category). Main thread only.

#include <cstdint>
#include <memory>
#include <string>

#include "model/CNonVisual.h"

namespace ch {

class CCurrency;

using MasterExpenseTypeT = EnumT;

namespace group_kind {
inline constexpr MasterExpenseTypeT kIncome = 0;
inline constexpr MasterExpenseTypeT kExpense = 1;
inline constexpr MasterExpenseTypeT kTransfer = 2;
inline constexpr MasterExpenseTypeT kOpeningBalance = 3;
inline constexpr MasterExpenseTypeT kCorrection = 4;
} // namespace group_kind

// A chart colour, 16 bits per channel. White means "the parent's colour".
struct RGBColor {
    std::uint16_t red = 65535;
    std::uint16_t green = 65535;
    std::uint16_t blue = 65535;
    bool IsWhite() const { return red == 65535 && green == 65535 && blue == 65535; }
    friend bool operator==(const RGBColor&, const RGBColor&) = default;
};

// The colour field of the category and group records: three shorts, red
// first. A short the stream cannot give reads as 65535.
RGBColor ReadColor(LStream* stream);
void WriteColor(LStream* stream, RGBColor color);

// A year's total per month of the elapsed accounting year: yearsBack 0 this
// year, 1 the previous one; a whole year without settings.
double MonthlyAverage(const CDocAccounting* document, double total, long yearsBack);

class CMasterExpenseType : public CNonVisual {
public:
    // The largest group id a category's one-byte group field can name.
    static constexpr ObjectIdT kMaxCategoryGroupId = 255;
    // New groups are numbered above the predefined ids (0 to 4) and 5, 6.
    static constexpr ObjectIdT kLowestNewId = 7;
    // The error that refuses a group a category could not name.
    static constexpr long kErrorGroupIdTooLarge = 188;


    // A new id; kind expense.
    explicit CMasterExpenseType(CDocAccounting* document);
    // The id (negative: a new one); ids 0 to 4 take their own kind, others expense.
    CMasterExpenseType(ObjectIdT id, CDocAccounting* document);
    // The common fields and the source's kind; a new id, top level, white,
    // no totals, no children.
    CMasterExpenseType(const CMasterExpenseType& source, CDocAccounting* document);
    // Reads the record; the stored balance is skipped and the stored parent
    // (read before) is joined.
    CMasterExpenseType(LStream* stream, FourCharCode version, CDocAccounting* document);
    // Leaves the parent's list and lets sub-groups and categories forget this
    // group, so that no pointer to it survives, whatever order the root
    // deletes in.
    ~CMasterExpenseType() override;

    CMasterExpenseType(const CMasterExpenseType&) = delete;
    CMasterExpenseType& operator=(const CMasterExpenseType&) = delete;

    // White, name "Name", totals 0, top level.
    void SetDefaults();

    // Ids of 0 or more are kept (raising the counter); a negative id takes the next one.
    bool Put_MxptId(ObjectIdT id);
    bool Put_Id(ObjectIdT id) override { return Put_MxptId(id); }

    // --- totals
    double Get_mBalance() const { return mBalance; }
    double Get_Amount() const override { return mBalance; }
    double Get_thisYearsBalance() const { return mThisYearsBalance; }
    double Get_lastYearsBalance() const { return mLastYearsBalance; }
    double Get_lastYearsBalanceYTD() const { return mLastYearsBalanceYTD; }
    // This year's (last year's) total per month of the elapsed accounting year.
    double Get_thisYearsAverageMonth() const;
    double Get_PreviousYearsAverageMonth() const;
    // Adds the four amounts to the totals of this group and of every
    // ancestor; 2004 (with the group) from each. The new balance.
    double AddTo(double total, double thisYear, double lastYear, double lastYearToDate);
    // Multiplies the four totals by rate.
    virtual bool SetNewHomeCurrency(CCurrency* oldHome, CCurrency* newHome, double rate);

    // --- kind
    MasterExpenseTypeT Get_mMasterExpenseType() const { return mMasterExpenseType; }
    // Only a top-level group without categories or sub-groups changes kind
    // (164, 145, 146 otherwise); the same kind changes nothing. Both refusals
    // and no change answer false.
    bool Put_mMasterExpenseType(MasterExpenseTypeT kind);
    bool IsTransfer() const { return mMasterExpenseType == group_kind::kTransfer; }
    bool IsOpeningBalance() const { return mMasterExpenseType == group_kind::kOpeningBalance; }
    bool IsCorrection() const { return mMasterExpenseType == group_kind::kCorrection; }
    // 1 for an expense (income) group; strict: 0 otherwise; without strict 2
    // for opening-balance and correction groups, else 0.
    unsigned char IsExpense(bool strict) const;
    unsigned char IsIncome(bool strict) const;
    // 1 for income, opening balance and correction, 0 for expense, 3 for transfer.
    long Get_WarningLevel(unsigned char) const override;
    long GetIconId() const override { return 133; }
    // Appends the localized "ExpType" to the first and third texts and
    // "MexpType" to the second; flag 1.
    virtual void GetObjectDescription(std::string& first, std::string& second, std::string& third,
                                      unsigned char& flag) const;

    // --- colour
    // The group's colour, or the parent's when it is white.
    virtual RGBColor Get_Color() const;
    bool Put_Color(RGBColor color);

    // --- tree
    CNamedListArray* Get_Details() const override { return mDetails.get(); }          // categories
    CNamedListArray* Get_DetailFolders() const override { return mDetailFolders.get(); } // sub-groups
    ObjectIdT Get_mParentId() const { return mParentId; }
    // Null for a top-level group.
    CMasterExpenseType* Get_mParentTypePtr() const;
    // True for a top-level group; a parent id that names no group makes the
    // group top level.
    bool IsRootItem() override;
    // Whether the given group is an ancestor of this one.
    bool isSupertypeOfThis(const CMasterExpenseType* other) const;
    // A category ('ExpT') that fits the group's kind; a group ('MxpT') of the
    // same kind that is neither an ancestor nor already a sub-group.
    bool IsSubItemAcceptable(FourCharCode typeCode, CNonVisual* candidate) const override;
    // Moves the group, with its totals, below the group with the id (its own
    // id: to the top level). Refused (false) when no group has the id or it
    // does not accept this one; a refused move changes nothing.
    bool Put_mParentId(ObjectIdT id) override;
    // Adds a sub-group and its totals to this branch; 2020. A listed one
    // changes nothing.
    bool AddMasterExpenseType(CMasterExpenseType* subGroup, unsigned char flag);
    // Takes a listed sub-group and its totals out of this branch; 2020.
    bool RemoveMasterExpenseType(CMasterExpenseType* subGroup);
    // A category joins (with addTotals, with its totals); a listed one changes nothing.
    bool AddAccount(CNonVisual* category, bool addTotals);
    // A listed category leaves with its totals (true); otherwise false.
    bool RemoveAccount(CNonVisual* category);

    // --- deletion and persistence
    // 177 with sub-groups, 176 with categories, 187 for a predefined group;
    // otherwise it leaves its parent.
    bool BeforeDelete() override;
    // Writes the record, then the records of the sub-groups (depth first).
    void PutStream(LStream* stream) override;
    bool Export(LStream* stream, char separator) const override;

private:
    void CreateLists();
    // The next id of the counter while it fits a category's group field;
    // after that the lowest id (7 or more) the document has free.
    ObjectIdT NewGroupId() const;
    CMasterExpenseType* ResolveParent() const;
    void BecomeTopLevel();

    double mBalance = 0.0;
    mutable CMasterExpenseType* mParentPtr = nullptr;
    ObjectIdT mParentId = 0;
    MasterExpenseTypeT mMasterExpenseType = group_kind::kExpense;
    std::unique_ptr<CNamedListArray> mDetailFolders;   // sub-groups, by name
    std::unique_ptr<CNamedListArray> mDetails;         // categories
    double mLastYearsBalance = 0.0;
    double mThisYearsBalance = 0.0;
    double mLastYearsBalanceYTD = 0.0;
    RGBColor mColor;
};

} // namespace ch
