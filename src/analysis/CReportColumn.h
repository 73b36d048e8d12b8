#pragma once
// CReportColumn: one cell of a report line: a text in a print style, its
// share of the line's width and its hierarchy level (levels above 1 indent
// the text by 10 points per level).

#include <string>

#include "analysis/ReportGeometry.h"

namespace ch {

class CPrintStyle;
class ReportCanvas;
class ReportTextMeasurer;
struct TextAttributes;

class CReportColumn {
public:
    static constexpr float kNone = -1.0f;
    static constexpr float kIndentPerLevel = 10.0f;

    CReportColumn() = default;
    CReportColumn(const CPrintStyle* style, std::string value);

    const CPrintStyle* mColumnStyle() const { return mStyle; }
    void setMColumnStyle(const CPrintStyle* style) { mStyle = style; }
    const std::string& mValue() const { return mText; }
    void setMValue(std::string value) { mText = std::move(value); }
    // Carried with the cell; layout and drawing do not use it.
    const std::string& mFormatString() const { return mFormat; }
    void setMFormatString(std::string format) { mFormat = std::move(format); }
    // 1.0 when the stored weight is 0 or less.
    double relativeWidth() const { return mRelativeWidth > 0.0 ? mRelativeWidth : 1.0; }
    void setRelativeWidth(double weight) { mRelativeWidth = weight; }
    double relativeHeight() const { return mRelativeHeight; }
    void setRelativeHeight(double weight) { mRelativeHeight = weight; }
    // Above 0 they replace the measured size; -1: none.
    float forcedHeight() const { return mForcedHeight; }
    void setForcedHeight(float height) { mForcedHeight = height; }
    float forcedWidth() const { return mForcedWidth; }
    void setForcedWidth(float width) { mForcedWidth = width; }
    int level() const { return mLevel; }
    void setLevel(int level) { mLevel = level; }

    // The measured text, unless a forced width or height replaces it. The
    // display width plays no part.
    ReportSize columnSizeForScreenDisplay(bool onScreen, float displayWidth,
                                          const ReportTextMeasurer& measurer) const;
    // How wide its text needs to be shown whole: the measured text and the
    // indentation of its level.
    float neededWidth(bool onScreen, const ReportTextMeasurer& measurer) const;
    // The column's share of the report width: width ÷ total weight × the
    // stored weight. A stored weight of 0 or less gives no forced width.
    void calculateForcedWidhtForReportWidth(float reportWidth, float totalWeight);
    // Draws the text with its bottom at the bottom line, from x (indented by
    // its level); answers where the next column starts (the indentation does
    // not push it).
    float printAtBottomLine(float bottomLine, float x, const ReportRect& rect, bool onScreen,
                            ReportCanvas& canvas) const;
    // The text rectangle of a cell of the size whose bottom sits on the
    // bottom line at x.
    static ReportRect switchTextRect(float x, float bottomLine, ReportSize size);
    // The style's screen or paper attributes; the default ones without a style.
    const TextAttributes& getStyleAttributes(bool onScreen) const;

private:
    const CPrintStyle* mStyle = nullptr;
    std::string mText;
    std::string mFormat;
    double mRelativeWidth = 1.0;
    double mRelativeHeight = 1.0;
    float mForcedHeight = kNone;
    float mForcedWidth = kNone;
    int mLevel = 1;
};

} // namespace ch
