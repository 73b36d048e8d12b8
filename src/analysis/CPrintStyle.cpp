#include "analysis/CPrintStyle.h"

#include "analysis/ReportCanvas.h"

namespace ch {

TextAttributes defaultTextAttributes()
{
    return TextAttributes{ReportFont{"Helvetica", false, 12.0f}, Colour::black(), std::nullopt,
                          TextAlignment::Left};
}

void CPrintStyle::setStyleAttributesPrint(const TextAttributes& attributes, int smallerSize)
{
    mPrint = attributes;
    if (smallerSize >= 1 && smallerSize != 100)
        mPrint.font.size = attributes.font.size * static_cast<float>(smallerSize) / 100.0f;
}

void CPrintStyle::applyBackgroundAttributesToRect(const ReportRect& rect, ReportCanvas& canvas) const
{
    if (mFillColor) canvas.fillRect(rect, *mFillColor);
    if (mStrokeAll) canvas.strokeRect(rect, mStrokeColor);
    const float left = rect.x, right = rect.right(), top = rect.y, bottom = rect.bottom();
    if (mStrokeAbove) canvas.drawLine({left, top}, {right, top}, mStrokeColor);
    if (mStrokeBelow) canvas.drawLine({left, bottom}, {right, bottom}, mStrokeColor);
    if (mStrokeLeft) canvas.drawLine({left, bottom}, {left, top}, mStrokeColor);
    if (mStrokeRight) canvas.drawLine({right, bottom}, {right, top}, mStrokeColor);
}

} // namespace ch
