#include "analysis/CParagraph.h"

#include <algorithm>

#include "analysis/CPrintStyle.h"
#include "analysis/ReportCanvas.h"

namespace ch {

CParagraph::CParagraph(const CPrintStyle* style, CReportColumn column) : mStyle(style)
{
    mColumns.push_back(std::move(column));
}

void CParagraph::insertReportColumn(CReportColumn column, std::size_t index)
{
    mColumns.insert(mColumns.begin() + static_cast<std::ptrdiff_t>(std::min(index, mColumns.size())),
                    std::move(column));
}

void CParagraph::removeReportColumAtIndex(std::size_t index)
{
    if (index < mColumns.size()) mColumns.erase(mColumns.begin() + static_cast<std::ptrdiff_t>(index));
}

void CParagraph::replaceReportColumnAtIndex(std::size_t index, CReportColumn column)
{
    if (index < mColumns.size()) mColumns[index] = std::move(column);
}

float CParagraph::getTotalColumWeight() const
{
    float total = 0.0f;
    for (const CReportColumn& column : mColumns) total += static_cast<float>(column.relativeWidth());
    return total;
}

ReportSize CParagraph::paragraphSizeForScreenDisplay(bool onScreen, float displayWidth,
                                                     const ReportTextMeasurer& measurer)
{
    if (mIsPageBreak) {
        mTopMargin = mBottomMargin = 0.0f;
        mFrameSize = ReportSize{displayWidth, kPageBreakHeight};
    } else {
        const float total = getTotalColumWeight();
        float width = 0.0f, tallest = 0.0f;
        for (CReportColumn& column : mColumns) {
            column.calculateForcedWidhtForReportWidth(displayWidth, total);
            const ReportSize size = column.columnSizeForScreenDisplay(onScreen, displayWidth, measurer);
            width += size.width;
            tallest = std::max(tallest, size.height);
        }
        mTopMargin = mStyle ? mStyle->pctAbove() * tallest / 100.0f : 0.0f;
        mBottomMargin = mStyle ? mStyle->pctBelow() * tallest / 100.0f : 0.0f;
        mFrameSize = ReportSize{width, mTopMargin + tallest + mBottomMargin};
    }
    if (mForcedHeight > 0.0f) mFrameSize.height = mForcedHeight;
    return mFrameSize;
}

float CParagraph::neededWidth(bool onScreen, const ReportTextMeasurer& measurer, float gap) const
{
    if (mIsPageBreak) return 0.0f;
    const float total = getTotalColumWeight();
    float needed = 0.0f;
    for (const CReportColumn& column : mColumns) {
        const float text = column.neededWidth(onScreen, measurer);
        if (text <= 0.0f) continue;
        needed = std::max(needed, (text + gap) * total / static_cast<float>(column.relativeWidth()));
    }
    return needed;
}

void CParagraph::printAtBottomLine(float bottom, const ReportRect& rect, bool onScreen,
                                   ReportCanvas& canvas) const
{
    if (mIsPageBreak) return;
    const float left = mStyle ? mStyle->leftMargin() : 0.0f;
    if (mStyle)
        mStyle->applyBackgroundAttributesToRect(
            ReportRect{left, bottom - mFrameSize.height, mFrameSize.width, mFrameSize.height}, canvas);
    float x = 0.0f;
    for (const CReportColumn& column : mColumns)
        x = column.printAtBottomLine(bottom - mBottomMargin, x, rect, onScreen, canvas);
}

} // namespace ch
