#pragma once
// CExpTItem: the item of a category ('ExpT'). It keeps the category's booking
// lines as a list of line items, built on first request and kept in step with
// the model's line messages (2026, 2027).

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/AccountAncestor.h"
#include "bridge/CategoryAncestor.h"

namespace ch {

class CNamedListArray;
struct CategoryParameters;

class CExpTItem : public CategoryAncestor {
public:
    CExpTItem();
    explicit CExpTItem(CNonVisual* category, const Ptr& parent = nullptr);
    ~CExpTItem() override;

    // --- properties (bound: the model; detached: the stored values)
    // The category's description (not the name).
    std::string description() const override;
    // Cut to 254 characters; none stores the empty text.
    void setDescription(std::optional<std::string_view> description);
    std::optional<double> getBalance() const override;
    // Changes no model; a detached item keeps the value.
    void setBalance(std::optional<double> balance);
    std::optional<long> getMasterExpenseTypeId() const;
    // Moves the category to the group when the id differs (the model may refuse).
    void setMasterExpenseTypeId(std::optional<long> groupId);
    std::optional<double> getTaxDeductiblePct() const;
    void setTaxDeductiblePct(std::optional<double> percentage);
    Colour getColor() const override;
    void setGetColor(std::optional<Colour> colour);
    // Changes nothing.
    void setChartColor(std::optional<Colour>) {}
    Colour textColor() const override { return getColor(); }
    // The own colour unless white; else the text colour of the kind (bound)
    // or the colour copied from (detached).
    Colour objectColor() const override;
    std::optional<bool> isExpense() const override;
    std::optional<bool> isIncome() const override;
    std::optional<double> YTDThisYear() const override;
    std::optional<double> YTDLastYear() const override;
    std::optional<double> AvgMonthThisYear() const override;
    std::optional<double> AvgMonthLastYear() const override;
    std::optional<double> TotalLastYear() const override;
    bool isRootItem() const override { return sourceIsRootItem(); }
    bool askMasterType() const { return mAskMasterType; }
    void setAskMasterType(bool ask);

    // --- operations
    // The totals of the four periods (start and end dates included).
    std::optional<CLevelCounters> getBalanceInPeriod(DateT p1Start, DateT p1End, DateT p2Start,
                                                     DateT p2End, DateT p3Start, DateT p3End,
                                                     DateT p4Start, DateT p4End) override;
    LineItemArray forTransactionDetails();
    // The model lines of forTransactionDetails, no item made.
    void appendModelLines(std::vector<CNonVisual*>& lines) const;
    void initializeArray(LineItemArray& items, const CNamedListArray* lines) const
    {
        appendLineItems(items, lines, registry());
    }
    GXObjectDescriptionStrings getObjectDescription() const override;
    void synchronizeWithParameters(const CategoryParameters& parameters);
    void synchronizeWithObject(const CNonVisualDataItem& other) override;

    // 2026 and 2027 keep the line list; the rest as the base.
    void ListenToMessage(MessageT message, void* param) override;

private:
    std::optional<std::string> mDescription;
    std::optional<double> mBalance;
    std::optional<Colour> mChartColor;
    std::optional<long> mMasterExpenseTypeId;
    std::optional<double> mTaxDeductiblePct;
    bool mAskMasterType = false;
    std::unique_ptr<LineItemList> mForTransactionDetails;
};

} // namespace ch
