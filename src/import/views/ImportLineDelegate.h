#pragma once
// ImportLineDelegate: the editors of the import page's table. A column that
// chooses from the books (own account, counter account, category,
// counterparty, currency) is edited with a list of the books' objects by
// name: typing a name's first letters finds it, Return or a click on an
// entry of the opened list sets it on the line. The amount is typed in the
// user's number settings (arithmetic included); text that is no amount is
// refused with the reason. The date gets Qt's usual editor.

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
