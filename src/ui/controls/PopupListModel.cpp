#include "ui/controls/PopupListModel.h"

#include <QBrush>
#include <QColor>

#include "ui/controls/CPopupListDataSource.h"

namespace ch {

PopupListModel::PopupListModel(const CPopupListDataSource& source, QObject* parent)
    : QAbstractListModel(parent), mSource(source)
{
}

int PopupListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mSource.numberOfItems();
}

QVariant PopupListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const auto name = mSource.objectValueAtIndex(index.row());
        return name ? QString::fromStdString(*name) : QVariant();
    }
    if (role == Qt::ForegroundRole) {
        if (const auto colour = mSource.colourAtIndex(index.row()))
            return QBrush(QColor::fromRgbF(float(colour->red), float(colour->green), float(colour->blue)));
    }
    return {};
}

void PopupListModel::reload()
{
    beginResetModel();
    endResetModel();
}

} // namespace ch
