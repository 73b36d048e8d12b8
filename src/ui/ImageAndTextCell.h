#pragma once
// ImageAndTextCell: the name cell of the side bar, an icon before the text.
// The icon keeps a 3-point margin on its left, shrinks (keeping its shape)
// to the row when it is taller, and is centred in the row; on rows taller
// than 17 points the text stays in a 16-point band 8 points below the top.
// The geometry is plain arithmetic (iconTextLayout) that runs without a
// window.

#include <QRectF>
#include <QSizeF>
#include <QStyledItemDelegate>

namespace ch {

// Where icon and text go in a cell.
struct IconTextLayout {
    QRectF image;   // empty without an image
    QRectF text;
};

inline constexpr double kIconMargin = 3.0;
inline constexpr double kTallRow = 17.0;
inline constexpr double kTextBandHeight = 16.0;
inline constexpr double kTextBandOffset = 8.0;

// The layout of an image of that size (empty: no image) in the cell.
IconTextLayout iconTextLayout(const QRectF& cell, const QSizeF& imageSize);
// The image's frame unscaled: 3 points in, centred vertically.
QRectF imageFrameForCellFrame(const QRectF& cell, const QSizeF& imageSize);
// The cell widened by the image's width and the margin.
QSizeF cellSize(const QSizeF& textSize, const QSizeF& imageSize);

class ImageAndTextCell : public QStyledItemDelegate {
    Q_OBJECT

public:
    // Icons are looked up at this size before being fitted to the row.
    static constexpr int kIconSize = 32;

    explicit ImageAndTextCell(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The editor covers only the text.
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
};

} // namespace ch
