#pragma once
// CBudgetMonth: one period of one budget detail - its planned and booked
// figures, a number the page stores with it, its blocked flag and comment.
// Its record is the common header (type 'NoNe') followed by the twelve
// figures, the number, the flag and the comment; CBudgetDetail writes its
// twelve periods one after the other.

#include <array>
#include <cstdint>

#include "model/CNonVisual.h"
#include "model/budget/BudgetTypes.h"

namespace ch {

class CBudgetMonth : public CNonVisual {
public:
    // The figures a period record holds: BudgetStart to ActualEnd.
    static constexpr long kFigureCount = 12;

    // A new id from the books' counter, all figures 0: numbered by a counter
    // of no books, its id would raise the books' counter when read back, and
    // the books would number what follows above what the saving run gave.
    explicit CBudgetMonth(CDocAccounting* document = nullptr);
    CBudgetMonth(LStream* stream, CDocAccounting* document, FourCharCode version);

    void PutStream(LStream* stream) override;

    // Unblocks the period; clears the booked figures, and the planned ones
    // too unless actualsOnly is set.
    void InitializeNumbers(unsigned char actualsOnly);

    // Figure 0 to 11 of budget_item; 0.0 for any other.
    double Get_Figure(BudgetItemTypeT figure) const;
    // Stores figure 0 to 11; any other is ignored.
    void Put_Figure(BudgetItemTypeT figure, double value);

    double Get_BudgetStart() const { return mFigures[budget_item::kBudgetStart]; }
    double Get_BudgetIn() const { return mFigures[budget_item::kBudgetIn]; }
    double Get_BudgetExtraIn() const { return mFigures[budget_item::kBudgetExtraIn]; }
    double Get_BudgetOut() const { return mFigures[budget_item::kBudgetOut]; }
    double Get_BudgetExtraOut() const { return mFigures[budget_item::kBudgetExtraOut]; }
    double Get_BudgetEnd() const { return mFigures[budget_item::kBudgetEnd]; }
    double Get_ActualStart() const { return mFigures[budget_item::kActualStart]; }
    double Get_ActualIn() const { return mFigures[budget_item::kActualIn]; }
    double Get_ActualOut() const { return mFigures[budget_item::kActualOut]; }
    double Get_XtraActualIn() const { return mFigures[budget_item::kXtraActualIn]; }
    double Get_XtraActualOut() const { return mFigures[budget_item::kXtraActualOut]; }
    double Get_ActualEnd() const { return mFigures[budget_item::kActualEnd]; }
    std::uint32_t Get_newRow() const { return mNewRow; }
    bool Get_mBlocked() const { return mBlocked; }
    void Get_mComment(char (&out)[kDescriptionSize]) const;

    // Each stores and returns true; the byte of the four planned movements is not used.
    bool Put_BudgetStart(double value);
    bool Put_BudgetIn(double value, unsigned char = 0);
    bool Put_BudgetExtraIn(double value, unsigned char = 0);
    bool Put_BudgetOut(double value, unsigned char = 0);
    bool Put_BudgetExtraOut(double value, unsigned char = 0);
    bool Put_BudgetEnd(double value);
    bool Put_ActualStart(double value);
    bool Put_ActualIn(double value);
    bool Put_ActualOut(double value);
    bool Put_XtraActualIn(double value);
    bool Put_XtraActualOut(double value);
    bool Put_ActualEnd(double value);
    bool Put_newRow(std::uint32_t value);
    bool Put_mBlocked(bool blocked);
    // Cut to 255 characters; null is the empty comment.
    bool Put_mComment(const char* comment);

private:
    std::array<double, kFigureCount> mFigures{};
    std::uint32_t mNewRow = 0;
    bool mBlocked = false;
    char mComment[kDescriptionSize] = {};
};

} // namespace ch
