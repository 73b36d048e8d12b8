#pragma once
// The entries of an object pop-up as a Qt list model: names, coloured by
// kind. Reset whenever the data source's list gains or loses objects.

#include <QAbstractListModel>

namespace ch {

class CPopupListDataSource;

class PopupListModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit PopupListModel(const CPopupListDataSource& source, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void reload();

private:
    const CPopupListDataSource& mSource;
};

} // namespace ch
