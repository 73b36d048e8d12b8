#include "analysis/ReportPages.h"

#include <algorithm>

#include "analysis/CReportContents.h"
#include "analysis/ReportCanvas.h"

namespace ch {

float printPage(CReportContents& contents, unsigned page, ReportSize pageSize, bool onScreen,
                ReportCanvas& canvas)
{
    const ReportLayout layout = contents.layout(onScreen, pageSize.width, pageSize.height, canvas);
    const bool paged = pageSize.height > 0.0f;
    if (page < 1 || (!paged && page > 1)) return layout.size.height;
    const float top = paged ? static_cast<float>(page - 1) * pageSize.height : 0.0f;
    const ReportRect rect{0.0f, 0.0f, pageSize.width, pageSize.height};
    for (std::size_t i = 0; i < layout.placements.size(); ++i) {
        const ParagraphPlacement& placement = layout.placements[i];
        const bool onThisPage =
            placement.start >= top && (!paged || placement.start < top + pageSize.height);
        if (onThisPage) contents.objectAtIndex(i).printAtBottomLine(placement.end - top, rect, onScreen, canvas);
    }
    return layout.size.height;
}

void ReportPaging::setNumberOfPages(unsigned count)
{
    mNumberOfPages = count;
    mCurrentPage = std::clamp(mCurrentPage, 1u, lastAllowed());
}

unsigned ReportPaging::firstPage()
{
    mCurrentPage = 1;
    return mCurrentPage;
}

unsigned ReportPaging::lastPage()
{
    mCurrentPage = lastAllowed();
    return mCurrentPage;
}

unsigned ReportPaging::nextPage()
{
    if (mCurrentPage < lastAllowed()) ++mCurrentPage;
    return mCurrentPage;
}

unsigned ReportPaging::previousPage()
{
    if (mCurrentPage > 1) --mCurrentPage;
    return mCurrentPage;
}

std::string ReportPaging::pageDescription() const
{
    return std::to_string(mCurrentPage) + "/" + std::to_string(mNumberOfPages);
}

} // namespace ch
