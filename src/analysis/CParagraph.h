#pragma once
// CParagraph: one report line, a row of cells (CReportColumn) in a print
// style that gives the space above and below it, its background and edges.
// Layout shares the width among the cells by their weights and stores the
// line's size and margins; a page-break line draws nothing and sends what
// follows to the next page.

#include <cstddef>
#include <vector>

#include "analysis/CReportColumn.h"
#include "analysis/ReportGeometry.h"

namespace ch {

class CPrintStyle;
class ReportCanvas;
class ReportTextMeasurer;

class CParagraph {
public:
    static constexpr float kPageBreakHeight = 15.0f;

    CParagraph() = default;
    // The style and one cell at index 0.
    CParagraph(const CPrintStyle* style, CReportColumn column);

    const CPrintStyle* styleToUse() const { return mStyle; }
    void setStyleToUse(const CPrintStyle* style) { mStyle = style; }
    bool isPageBreak() const { return mIsPageBreak; }
    void setIsPageBreak(bool pageBreak) { mIsPageBreak = pageBreak; }
    // Above 0 it replaces the computed height.
    float forcedHeight() const { return mForcedHeight; }
    void setForcedHeight(float height) { mForcedHeight = height; }

    // Computed by each layout pass.
    float topMargin() const { return mTopMargin; }
    float bottomMargin() const { return mBottomMargin; }
    ReportSize frameSize() const { return mFrameSize; }

    // --- cells
    const std::vector<CReportColumn>& reportColumns() const { return mColumns; }
    std::size_t countOfReportColumns() const { return mColumns.size(); }
    CReportColumn& reportColumnAtIndex(std::size_t index) { return mColumns.at(index); }
    const CReportColumn& reportColumnAtIndex(std::size_t index) const { return mColumns.at(index); }
    // An index past the end appends.
    void insertReportColumn(CReportColumn column, std::size_t index);
    void removeReportColumAtIndex(std::size_t index);
    void replaceReportColumnAtIndex(std::size_t index, CReportColumn column);

    // The sum of the cells' weights; 0 without cells.
    float getTotalColumWeight() const;

    // Lays the line out in the width: a page break is (width, 15); otherwise
    // each cell gets its share of the width, the height is the tallest cell
    // plus the style's space above and below (percentages of it), unless a
    // forced height replaces it. Stores and answers the size.
    ReportSize paragraphSizeForScreenDisplay(bool onScreen, float displayWidth,
                                             const ReportTextMeasurer& measurer);

    // The narrowest line width at which every cell's share holds its text
    // and a gap after it; 0 for a page break.
    float neededWidth(bool onScreen, const ReportTextMeasurer& measurer, float gap) const;

    // Draws the line (laid out before) whose bottom edge lies at `bottom`
    // inside the rectangle: the background, then the cells left to right
    // with their text above the space below.
    void printAtBottomLine(float bottom, const ReportRect& rect, bool onScreen, ReportCanvas& canvas) const;

private:
    const CPrintStyle* mStyle = nullptr;
    std::vector<CReportColumn> mColumns;
    float mTopMargin = 0.0f;
    float mBottomMargin = 0.0f;
    ReportSize mFrameSize;
    bool mIsPageBreak = false;
    float mForcedHeight = 0.0f;
};

} // namespace ch
