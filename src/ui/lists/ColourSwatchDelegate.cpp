#include "ui/lists/ColourSwatchDelegate.h"

#include <QPainter>

namespace ch {

void ColourSwatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem plain(option);
    initStyleOption(&plain, index);
    plain.backgroundBrush = QBrush();
    const QWidget* view = option.widget;
    QStyle* style = view ? view->style() : nullptr;
    if (style)
        style->drawControl(QStyle::CE_ItemViewItem, &plain, painter, view);
    else
        QStyledItemDelegate::paint(painter, option, index);
    const QVariant colour = index.data(Qt::BackgroundRole);
    if (!colour.canConvert<QColor>() || !colour.value<QColor>().isValid()) return;
    const QRect swatch = option.rect.adjusted(4, 3, -4, -3);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(colour.value<QColor>().darker(140), 1.0));
    painter->setBrush(colour.value<QColor>());
    painter->drawRoundedRect(QRectF(swatch).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter->restore();
}

} // namespace ch
