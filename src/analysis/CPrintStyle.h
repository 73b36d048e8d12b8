#pragma once
// CPrintStyle: how a report line or cell looks. Text attributes for the
// screen and for paper (paper uses smaller fonts), the space above and below
// a line as a percentage of its tallest cell, a background fill and the
// edges drawn around the line's rectangle.

#include <optional>
#include <string>

#include "analysis/ReportGeometry.h"
#include "bridge/Colour.h"

namespace ch {

class ReportCanvas;

enum class TextAlignment { Left, Right, Centre };

struct ReportFont {
    std::string family;   // "Helvetica", "Verdana"
    bool bold = false;
    float size = 0.0f;    // points
    friend bool operator==(const ReportFont&, const ReportFont&) = default;
};

struct TextAttributes {
    ReportFont font;
    Colour foreground = Colour::black();
    // Carried with the named styles; no stroke width is ever set, so text is
    // drawn filled.
    std::optional<Colour> strokeColour;
    TextAlignment alignment = TextAlignment::Left;
    friend bool operator==(const TextAttributes&, const TextAttributes&) = default;
};

// What a cell without a style is drawn with.
TextAttributes defaultTextAttributes();

class CPrintStyle {
public:
    CPrintStyle() = default;

    const TextAttributes& styleAttributesScreen() const { return mScreen; }
    void setStyleAttributesScreen(const TextAttributes& attributes) { mScreen = attributes; }
    const TextAttributes& styleAttributesPrint() const { return mPrint; }
    // Stores the attributes for paper; with a percentage of 1 or more other
    // than 100 their font takes that share of its size. Any other percentage
    // stores them as they are.
    void setStyleAttributesPrint(const TextAttributes& attributes, int smallerSize);
    const TextAttributes& getDisplayStyleAttributes() const { return mScreen; }
    const TextAttributes& getPrintStyleAttributes() const { return mPrint; }

    float pctAbove() const { return mPctAbove; }
    void setPctAbove(float pct) { mPctAbove = pct; }
    float pctBelow() const { return mPctBelow; }
    void setPctBelow(float pct) { mPctBelow = pct; }
    // Shifts the background rectangle to the right.
    float leftMargin() const { return mLeftMargin; }
    void setLeftMargin(float margin) { mLeftMargin = margin; }
    // Not used by layout or drawing.
    float rightMargin() const { return mRightMargin; }
    void setRightMargin(float margin) { mRightMargin = margin; }

    const std::optional<Colour>& fillColor() const { return mFillColor; }
    void setFillColor(std::optional<Colour> colour) { mFillColor = colour; }
    const Colour& strokeColor() const { return mStrokeColor; }
    void setStrokeColor(const Colour& colour) { mStrokeColor = colour; }

    bool strokeAbove() const { return mStrokeAbove; }
    void setStrokeAbove(bool on) { mStrokeAbove = on; }
    bool strokeBelow() const { return mStrokeBelow; }
    void setStrokeBelow(bool on) { mStrokeBelow = on; }
    bool strokeLeft() const { return mStrokeLeft; }
    void setStrokeLeft(bool on) { mStrokeLeft = on; }
    bool strokeRight() const { return mStrokeRight; }
    void setStrokeRight(bool on) { mStrokeRight = on; }
    bool strokeAll() const { return mStrokeAll; }
    void setStrokeAll(bool on) { mStrokeAll = on; }

    // Fills the rectangle with the fill colour (when there is one), outlines
    // it when strokeAll is set, then draws the single edges that are set:
    // top, bottom, left, right.
    void applyBackgroundAttributesToRect(const ReportRect& rect, ReportCanvas& canvas) const;

private:
    TextAttributes mScreen = defaultTextAttributes();
    TextAttributes mPrint = defaultTextAttributes();
    float mPctAbove = 0.0f;
    float mPctBelow = 0.0f;
    float mLeftMargin = 0.0f;
    float mRightMargin = 0.0f;
    bool mStrokeAbove = false;
    bool mStrokeBelow = false;
    bool mStrokeLeft = false;
    bool mStrokeRight = false;
    bool mStrokeAll = false;
    std::optional<Colour> mFillColor;
    Colour mStrokeColor = Colour::black();
};

} // namespace ch
