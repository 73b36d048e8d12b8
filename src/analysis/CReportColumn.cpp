#include "analysis/CReportColumn.h"

#include "analysis/CPrintStyle.h"
#include "analysis/ReportCanvas.h"

namespace ch {

CReportColumn::CReportColumn(const CPrintStyle* style, std::string value)
    : mStyle(style), mText(std::move(value))
{
}

const TextAttributes& CReportColumn::getStyleAttributes(bool onScreen) const
{
    static const TextAttributes fallback = defaultTextAttributes();
    if (!mStyle) return fallback;
    return onScreen ? mStyle->getDisplayStyleAttributes() : mStyle->getPrintStyleAttributes();
}

ReportSize CReportColumn::columnSizeForScreenDisplay(bool onScreen, float,
                                                     const ReportTextMeasurer& measurer) const
{
    ReportSize size = measurer.sizeOfText(mText, getStyleAttributes(onScreen));
    if (mForcedWidth > 0.0f) size.width = mForcedWidth;
    if (mForcedHeight > 0.0f) size.height = mForcedHeight;
    return size;
}

float CReportColumn::neededWidth(bool onScreen, const ReportTextMeasurer& measurer) const
{
    const float indent = mLevel >= 2 ? static_cast<float>(mLevel - 1) * kIndentPerLevel : 0.0f;
    return measurer.sizeOfText(mText, getStyleAttributes(onScreen)).width + indent;
}

void CReportColumn::calculateForcedWidhtForReportWidth(float reportWidth, float totalWeight)
{
    mForcedWidth = static_cast<float>(static_cast<double>(reportWidth / totalWeight) * mRelativeWidth);
}

ReportRect CReportColumn::switchTextRect(float x, float bottomLine, ReportSize size)
{
    return ReportRect{x, bottomLine - size.height, size.width, size.height};
}

float CReportColumn::printAtBottomLine(float bottomLine, float x, const ReportRect& rect, bool onScreen,
                                       ReportCanvas& canvas) const
{
    const ReportSize size = columnSizeForScreenDisplay(onScreen, rect.width, canvas);
    ReportRect textRect = switchTextRect(x, bottomLine, size);
    if (mLevel >= 2) textRect.x += static_cast<float>(mLevel - 1) * kIndentPerLevel;
    canvas.drawText(mText, textRect, getStyleAttributes(onScreen));
    return x + size.width;
}

} // namespace ch
