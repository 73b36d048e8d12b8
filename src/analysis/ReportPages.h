#pragma once
// A report page by page: drawing the lines that start on one page, and the
// page a viewer shows with its moves. The page shown always lies within
// 1..max(1, page count), whatever the count becomes.

#include <string>

#include "analysis/ReportGeometry.h"

namespace ch {

class CReportContents;
class ReportCanvas;

// Lays the report out at the page size and draws, in the canvas, the lines
// whose start lies on the page (page 1 at the top), each with its bottom line
// shifted up by the pages above it. Answers the layout's total height.
float printPage(CReportContents& contents, unsigned page, ReportSize pageSize, bool onScreen,
                ReportCanvas& canvas);

class ReportPaging {
public:
    unsigned currentPage() const { return mCurrentPage; }
    unsigned numberOfPages() const { return mNumberOfPages; }
    // Takes a new count (after a layout) and keeps the current page within it.
    void setNumberOfPages(unsigned count);

    // Each answers the current page after the move; none goes past the
    // first or the last page.
    unsigned firstPage();
    unsigned lastPage();
    unsigned nextPage();
    unsigned previousPage();

    // "current/count".
    std::string pageDescription() const;

private:
    unsigned lastAllowed() const { return mNumberOfPages > 0 ? mNumberOfPages : 1; }

    unsigned mCurrentPage = 1;
    unsigned mNumberOfPages = 0;
};

} // namespace ch
