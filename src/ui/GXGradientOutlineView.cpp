#include "ui/GXGradientOutlineView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

#include <map>

#include "ui/GXGradientPainting.h"
#include "ui/SelectionBlocks.h"

namespace ch {

namespace {

QColor rgb(int red, int green, int blue)
{
    return QColor(red, green, blue);
}

} // namespace

GXGradientOutlineView::SelectionColours GXGradientOutlineView::activeColours()
{
    return {rgb(145, 160, 192), rgb(110, 129, 169), rgb(162, 177, 207), rgb(115, 134, 173)};
}

GXGradientOutlineView::SelectionColours GXGradientOutlineView::inactiveColours()
{
    return {rgb(173, 187, 209), rgb(150, 161, 183), rgb(168, 183, 205), rgb(157, 174, 199)};
}

GXGradientOutlineView::GXGradientOutlineView(QWidget* parent) : QTreeView(parent), mPlainPalette(palette()) {}

void GXGradientOutlineView::setUsesGradientSelection(bool on)
{
    mUsesGradientSelection = on;
    applySelectionPalette();
    viewport()->update();
}

void GXGradientOutlineView::setSelectionGradientIsContiguous(bool on)
{
    mContiguous = on;
    viewport()->update();
}

void GXGradientOutlineView::setUsesDisabledGradientSelectionOnly(bool on)
{
    mDisabledOnly = on;
    viewport()->update();
}

void GXGradientOutlineView::setHasBreakBetweenGradientSelectedRows(bool on)
{
    mBreaks = on;
    viewport()->update();
}

void GXGradientOutlineView::applySelectionPalette()
{
    // The rows draw no highlight of their own while the blocks are painted.
    QPalette adjusted = mPlainPalette;
    if (mUsesGradientSelection) {
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            adjusted.setColor(group, QPalette::Highlight, Qt::transparent);
            adjusted.setColor(group, QPalette::HighlightedText, Qt::white);
        }
    }
    setPalette(adjusted);
}

bool GXGradientOutlineView::usesActiveColours() const
{
    if (mDisabledOnly) return false;
    const QWidget* focus = window()->focusWidget();
    const bool focusHere = focus && (focus == this || isAncestorOf(focus));
    return focusHere && window()->isActiveWindow();
}

void GXGradientOutlineView::paintSelectionBlocks(QPainter& painter)
{
    if (!selectionModel() || !model()) return;
    // Visible rows in order, so that blocks follow what the eye sees.
    std::map<int, QRect> rowRects;
    std::vector<int> selected;
    int ordinal = 0;
    for (QModelIndex index = model()->index(0, 0, rootIndex()); index.isValid(); index = indexBelow(index)) {
        if (selectionModel()->isSelected(index)) {
            const QRect cell = visualRect(index);
            rowRects[ordinal] = QRect(0, cell.top(), viewport()->width(), cell.height());
            selected.push_back(ordinal);
        }
        ++ordinal;
    }
    const SelectionColours colours = usesActiveColours() ? activeColours() : inactiveColours();
    for (const RowBlock& block : selectionBlocks(selected, mContiguous)) {
        const QRect first = rowRects[block.firstRow];
        const QRect last = rowRects[block.lastRow];
        const double top = first.top();
        const double height = last.bottom() + 1 - first.top();
        const BlockBands bands = blockBands(top, height, mBreaks);
        const double width = viewport()->width();
        painter.fillRect(QRectF(0.0, bands.topLineY, width, bands.topLineHeight), colours.topLine);
        painter.fillRect(QRectF(0.0, bands.bottomLineY, width, bands.bottomLineHeight), colours.bottomLine);
        QPainterPath gradientArea;
        gradientArea.addRect(QRectF(0.0, bands.gradientY, width, bands.gradientHeight));
        linearGradientFill(painter, gradientArea, colours.gradientStart, colours.gradientEnd);
    }
}

void GXGradientOutlineView::paintEvent(QPaintEvent* event)
{
    if (mUsesGradientSelection) {
        QPainter painter(viewport());
        paintSelectionBlocks(painter);
    }
    QTreeView::paintEvent(event);
    QPainter painter(viewport());
    painter.setPen(QColor(0xC8, 0xC8, 0xC8));
    const int x = viewport()->width() - 1;
    painter.drawLine(x, 0, x, viewport()->height());
}

void GXGradientOutlineView::contextMenuEvent(QContextMenuEvent* event)
{
    if (!mMenuProvider) {
        QTreeView::contextMenuEvent(event);
        return;
    }
    if (QMenu* menu = mMenuProvider(event->pos())) menu->popup(event->globalPos());
    event->accept();
}

void GXGradientOutlineView::changeEvent(QEvent* event)
{
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) viewport()->update();
    if (event->type() == QEvent::PaletteChange && !mUsesGradientSelection) mPlainPalette = palette();
}

void GXGradientOutlineView::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    viewport()->update();
}

void GXGradientOutlineView::focusOutEvent(QFocusEvent* event)
{
    QTreeView::focusOutEvent(event);
    viewport()->update();
}

void GXGradientOutlineView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTreeView::selectionChanged(selected, deselected);
    // Blocks span several rows: repaint them whole.
    viewport()->update();
}

} // namespace ch
