#pragma once
// Draws a cell's background colour as a swatch inset in the cell, over the
// row's own background, so that the colour still shows on a selected row.

#include <QStyledItemDelegate>

namespace ch {

class ColourSwatchDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace ch
