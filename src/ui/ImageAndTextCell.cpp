#include "ui/ImageAndTextCell.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>

#include <cmath>

namespace ch {

IconTextLayout iconTextLayout(const QRectF& cell, const QSizeF& imageSize)
{
    IconTextLayout layout;
    QSizeF image = imageSize;
    if (!image.isEmpty() && image.height() > cell.height()) {
        const double ratio = cell.height() / image.height();
        image = QSizeF(image.width() * ratio, image.height() * ratio);
    }
    const double strip = (image.isEmpty() ? 0.0 : image.width()) + kIconMargin;
    if (!image.isEmpty()) {
        const double y = cell.y() + std::ceil((cell.height() - image.height()) / 2.0);
        layout.image = QRectF(QPointF(cell.x() + kIconMargin, y), image);
    }
    layout.text = QRectF(cell.x() + strip, cell.y(), std::max(0.0, cell.width() - strip), cell.height());
    if (layout.text.height() > kTallRow) {
        layout.text.setTop(cell.y() + kTextBandOffset);
        layout.text.setHeight(kTextBandHeight);
    }
    return layout;
}

QRectF imageFrameForCellFrame(const QRectF& cell, const QSizeF& imageSize)
{
    if (imageSize.isEmpty()) return {};
    return QRectF(QPointF(cell.x() + kIconMargin, cell.y() + std::ceil((cell.height() - imageSize.height()) / 2.0)),
                  imageSize);
}

QSizeF cellSize(const QSizeF& textSize, const QSizeF& imageSize)
{
    const double extra = (imageSize.isEmpty() ? 0.0 : imageSize.width()) + kIconMargin;
    return {textSize.width() + extra, textSize.height()};
}

ImageAndTextCell::ImageAndTextCell(QObject* parent) : QStyledItemDelegate(parent) {}

void ImageAndTextCell::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QIcon icon = qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
    const QSizeF iconSize = icon.isNull() ? QSizeF() : QSizeF(kIconSize, kIconSize);
    const IconTextLayout layout = iconTextLayout(opt.rect, iconSize);

    painter->save();
    if (!icon.isNull()) {
        const QRect target = layout.image.toAlignedRect();
        icon.paint(painter, target, Qt::AlignCenter,
                   (opt.state & QStyle::State_Enabled) ? QIcon::Normal : QIcon::Disabled);
    }
    const bool selected = opt.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = (opt.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    QColor textColour = opt.palette.color(group, QPalette::Text);
    const QVariant foreground = index.data(Qt::ForegroundRole);
    if (foreground.isValid()) textColour = qvariant_cast<QBrush>(foreground).color();
    if (selected) textColour = opt.palette.color(group, QPalette::HighlightedText);
    painter->setPen(textColour);
    painter->setFont(opt.font);
    const QRectF textArea = layout.text.adjusted(2.0, 0.0, -2.0, 0.0);
    const QString text = opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, static_cast<int>(textArea.width()));
    painter->drawText(textArea, Qt::AlignVCenter | Qt::AlignLeft, text);
    painter->restore();
}

QSize ImageAndTextCell::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize base = QStyledItemDelegate::sizeHint(option, index);
    const QVariant hint = index.data(Qt::SizeHintRole);
    if (hint.isValid()) base.setHeight(hint.toSize().height());
    const QSizeF widened = cellSize(QSizeF(option.fontMetrics.horizontalAdvance(index.data().toString()) + 4,
                                           base.height()),
                                    QSizeF(base.height(), base.height()));
    return QSize(static_cast<int>(std::ceil(widened.width())), base.height());
}

void ImageAndTextCell::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex& index) const
{
    const bool hasIcon = !qvariant_cast<QIcon>(index.data(Qt::DecorationRole)).isNull();
    const IconTextLayout layout = iconTextLayout(option.rect, hasIcon ? QSizeF(kIconSize, kIconSize) : QSizeF());
    QRect area = option.rect;
    area.setLeft(static_cast<int>(layout.text.left()));
    editor->setGeometry(area);
}

} // namespace ch
