#include "analysis/CReportContents.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ch {

void CReportContents::insertObject(CParagraph paragraph, std::size_t index)
{
    index = std::min(index, mImplementation.size());
    mImplementation.insert(mImplementation.begin() + static_cast<std::ptrdiff_t>(index), std::move(paragraph));
}

void CReportContents::removeLastObject()
{
    if (!mImplementation.empty()) mImplementation.pop_back();
}

void CReportContents::removeObjectAtIndex(std::size_t index)
{
    if (index < mImplementation.size())
        mImplementation.erase(mImplementation.begin() + static_cast<std::ptrdiff_t>(index));
}

void CReportContents::replaceObjectAtIndex(std::size_t index, CParagraph paragraph)
{
    if (index < mImplementation.size()) mImplementation[index] = std::move(paragraph);
}

unsigned CReportContents::getPageForPosition(float position, float pageHeight)
{
    if (pageHeight <= 0.0f || position < 0.0f) return 1;
    const float pages = std::floor(position / pageHeight);
    if (pages >= static_cast<float>(std::numeric_limits<unsigned>::max() - 1))
        return std::numeric_limits<unsigned>::max();
    return static_cast<unsigned>(pages) + 1;
}

float CReportContents::getNextPageBottomAfter(float position, float pageHeight)
{
    if (pageHeight <= 0.0f) return std::numeric_limits<float>::infinity();
    return static_cast<float>(getPageForPosition(position, pageHeight)) * pageHeight;
}

unsigned CReportContents::pageCountForHeight(float height, float pageHeight)
{
    if (height <= 0.0f) return 0;
    if (pageHeight <= 0.0f) return 1;
    const float pages = std::ceil(height / pageHeight);
    if (pages >= static_cast<float>(std::numeric_limits<unsigned>::max()))
        return std::numeric_limits<unsigned>::max();
    return static_cast<unsigned>(pages);
}

ReportLayout CReportContents::layout(bool onScreen, float pageWidth, float pageHeight,
                                     const ReportTextMeasurer& measurer)
{
    ReportLayout result;
    result.placements.reserve(mImplementation.size());
    float y = 0.0f;
    for (CParagraph& paragraph : mImplementation) {
        const float bottom = getNextPageBottomAfter(y, pageHeight);
        const ReportSize size = paragraph.paragraphSizeForScreenDisplay(onScreen, pageWidth, measurer);
        float start = y;
        float height = size.height;
        if (paragraph.isPageBreak()) {
            // At the top of a page (or on one endless page) there is nothing
            // to break away from.
            const bool atPageTop = pageHeight <= 0.0f || bottom - pageHeight == y;
            start = atPageTop ? y : bottom;
            height = 0.0f;
        } else if (y + height > bottom) {
            start = bottom;
        }
        y = start + height;
        result.placements.push_back({start, y});
        result.size.width = std::max(result.size.width, size.width);
    }
    result.size.height = y;
    return result;
}

ReportSize CReportContents::reportSizeForScreenDisplay(bool onScreen, float pageWidth, float pageHeight,
                                                       const ReportTextMeasurer& measurer)
{
    return layout(onScreen, pageWidth, pageHeight, measurer).size;
}

float CReportContents::neededWidth(bool onScreen, const ReportTextMeasurer& measurer, float gap) const
{
    float needed = 0.0f;
    for (const CParagraph& paragraph : mImplementation)
        needed = std::max(needed, paragraph.neededWidth(onScreen, measurer, gap));
    return needed;
}

} // namespace ch
