#pragma once
// ImportLineDelegate: the editors of the import page's table. A column that
// chooses from the books (own account, counter account, category,
// counterparty) is edited with a list of the books' objects by name: typing
// a name's first letters finds it, Return or a choice in the opened list
// sets it on the line. The other editable columns (the date) get Qt's usual
// editors.

#include <QStyledItemDelegate>

namespace ch {

class ImportLineDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

} // namespace ch
