#pragma once
// CategoryAncestor: the common base of category-like rows (categories and
// category groups), with the colour rules they share. Model colours are three
// 16-bit components; see Colour.

#include <optional>

#include "bridge/CNonVisualDataItem.h"

namespace ch {

struct RGBColor;

class CategoryAncestor : public CNonVisualDataItem {
public:
    using CNonVisualDataItem::CNonVisualDataItem;

    // Kind and period figures: none here.
    virtual std::optional<bool> isExpense() const;
    virtual std::optional<bool> isIncome() const;
    virtual std::optional<double> YTDThisYear() const;
    virtual std::optional<double> YTDLastYear() const;
    virtual std::optional<double> AvgMonthThisYear() const;
    virtual std::optional<double> AvgMonthLastYear() const;
    virtual std::optional<double> TotalLastYear() const;
    virtual std::optional<double> getBalance() const;
    virtual bool isBold() const { return false; }
    // White here.
    virtual Colour getColor() const;

    Colour textColor() const override { return objectColor(); }
    // Detached: black. Bound: the green text colour for income, the red one
    // for expense, else the blue one.
    Colour objectColor() const override;
    // getColor, unless it is white: then objectColor.
    Colour chartColor() const override;

    // The colour of the item this one was copied from.
    const std::optional<Colour>& sourceItemColor() const { return mSourceItemColor; }
    void setSourceItemColor(std::optional<Colour> colour);

protected:
    // A model colour as the interface sees it, and back.
    static Colour colourOf(const RGBColor& colour);
    static RGBColor modelColour(const Colour& colour);

private:
    std::optional<Colour> mSourceItemColor;
};

} // namespace ch
