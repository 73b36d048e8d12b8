#pragma once
// CReportContents: the page model of a report: a title and an ordered list
// of lines (CParagraph). A builder fills it once; layout passes only rewrite
// the computed sizes, so the same contents can be laid out for the screen and
// again for paper.
//
// Pagination: lines are never split. A line that would cross the bottom of
// the page on which it starts moves to the top of the next page (one that
// ends exactly on the bottom stays); a page-break line moves what follows to
// the top of the next page, unless the position already is the top of a page,
// so that no page is left empty by it.

#include <cstddef>
#include <string>
#include <vector>

#include "analysis/CParagraph.h"
#include "analysis/ReportGeometry.h"

namespace ch {

class ReportTextMeasurer;

// Where one line lies after layout, from the top of the report.
struct ParagraphPlacement {
    float start = 0.0f;
    float end = 0.0f;
    friend bool operator==(const ParagraphPlacement&, const ParagraphPlacement&) = default;
};

struct ReportLayout {
    std::vector<ParagraphPlacement> placements;   // one per line, in order
    ReportSize size;                              // widest line, end of the last
};

class CReportContents {
public:
    CReportContents() = default;

    const std::string& title() const { return mTitle; }
    void setTitle(std::string title) { mTitle = std::move(title); }

    // --- lines
    std::size_t count() const { return mImplementation.size(); }
    CParagraph& objectAtIndex(std::size_t index) { return mImplementation.at(index); }
    const CParagraph& objectAtIndex(std::size_t index) const { return mImplementation.at(index); }
    void addObject(CParagraph paragraph) { mImplementation.push_back(std::move(paragraph)); }
    // An index past the end appends.
    void insertObject(CParagraph paragraph, std::size_t index);
    void removeLastObject();
    void removeObjectAtIndex(std::size_t index);
    void replaceObjectAtIndex(std::size_t index, CParagraph paragraph);

    // Lays every line out at the page width and places it on the pages.
    // A page height of 0 or less makes one endless page.
    ReportLayout layout(bool onScreen, float pageWidth, float pageHeight, const ReportTextMeasurer& measurer);
    // The widest line and the end position of the last; (0, 0) without lines.
    ReportSize reportSizeForScreenDisplay(bool onScreen, float pageWidth, float pageHeight,
                                          const ReportTextMeasurer& measurer);

    // The narrowest page width at which every line's cells hold their texts
    // and a gap after each (CParagraph::neededWidth); 0 without lines.
    float neededWidth(bool onScreen, const ReportTextMeasurer& measurer, float gap) const;

    // The page holding a position, 1 for the first: a position exactly on
    // a boundary k × height belongs to page k + 1.
    static unsigned getPageForPosition(float position, float pageHeight);
    // The bottom of the page holding the position.
    static float getNextPageBottomAfter(float position, float pageHeight);
    // The number of pages a report of the height fills: a report exactly k
    // pages high has k pages; an empty one none.
    static unsigned pageCountForHeight(float height, float pageHeight);

private:
    std::string mTitle;
    std::vector<CParagraph> mImplementation;
};

} // namespace ch
