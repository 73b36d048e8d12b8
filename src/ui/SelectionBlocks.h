#pragma once
// How the gradient outline paints its selection, as numbers: which selected
// rows form one block, and the three bands (top line, gradient, bottom
// line) of a block's rectangle. Runs without a window.

#include <vector>

namespace ch {

struct RowBlock {
    int firstRow = 0;
    int lastRow = 0;
    friend bool operator==(const RowBlock&, const RowBlock&) = default;
};

// Blocks in ascending row order. Contiguous: each maximal run of
// consecutive selected rows is one block; otherwise every row is a block.
std::vector<RowBlock> selectionBlocks(std::vector<int> selectedRows, bool contiguous);

// The bands of a block whose rectangle starts at top and is height tall
// (y grows downwards). With a break under each block, the block is one
// point shorter.
struct BlockBands {
    double topLineY = 0.0, topLineHeight = 0.0;
    double gradientY = 0.0, gradientHeight = 0.0;
    double bottomLineY = 0.0, bottomLineHeight = 0.0;
};
BlockBands blockBands(double top, double height, bool breakBetweenBlocks);

} // namespace ch
