#include "ui/SelectionBlocks.h"

#include <algorithm>

namespace ch {

std::vector<RowBlock> selectionBlocks(std::vector<int> selectedRows, bool contiguous)
{
    std::sort(selectedRows.begin(), selectedRows.end());
    selectedRows.erase(std::unique(selectedRows.begin(), selectedRows.end()), selectedRows.end());
    std::vector<RowBlock> blocks;
    for (int row : selectedRows) {
        if (contiguous && !blocks.empty() && blocks.back().lastRow + 1 == row)
            blocks.back().lastRow = row;
        else
            blocks.push_back({row, row});
    }
    return blocks;
}

BlockBands blockBands(double top, double height, bool breakBetweenBlocks)
{
    // The block is filled with the top-line colour, then from one point down
    // with the bottom-line colour, then the gradient stops one point short
    // of the bottom: what stays visible is line, gradient, line.
    if (breakBetweenBlocks) height -= 1.0;
    BlockBands bands;
    bands.topLineY = top;
    bands.topLineHeight = 1.0;
    bands.gradientY = top + 1.0;
    bands.gradientHeight = std::max(0.0, height - 2.0);
    bands.bottomLineY = top + height - 1.0;
    bands.bottomLineHeight = 1.0;
    return bands;
}

} // namespace ch
