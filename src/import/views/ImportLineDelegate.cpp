#include "import/views/ImportLineDelegate.h"

#include <QComboBox>

#include <functional>
#include <utility>

#include "import/views/CImportedTransactionArrayController.h"

namespace ch {

namespace {

// Closing the opened list on an entry is the user's choice: it is set at once.
class ChoiceBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> chosen;

    void showPopup() override
    {
        mOpen = true;
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        // Qt also hides the list when the editor itself closes (Return, a
        // click elsewhere): only a list closed in an editor still open chooses.
        const bool wasOpen = std::exchange(mOpen, false);
        QComboBox::hidePopup();
        if (wasOpen && isVisible() && chosen) chosen();
    }

private:
    bool mOpen = false;
};

const CImportedTransactionArrayController* tableOf(const QModelIndex& index)
{
    return qobject_cast<const CImportedTransactionArrayController*>(index.model());
}

} // namespace

QWidget* ImportLineDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const
{
    const CImportedTransactionArrayController* table = tableOf(index);
    if (!table || !CImportedTransactionArrayController::choiceOf(index.column()))
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto* box = new ChoiceBox(parent);
    box->setObjectName(QStringLiteral("importLineChoice"));
    for (const ChoiceEntry& entry : table->choicesFor(index.column()))
        box->addItem(QString::fromStdString(entry.name), QVariant::fromValue(qlonglong(entry.id)));
    box->chosen = [this, box] {
        auto* self = const_cast<ImportLineDelegate*>(this);
        emit self->commitData(box);
        emit self->closeEditor(box);
    };
    return box;
}

void ImportLineDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* box = qobject_cast<QComboBox*>(editor);
    if (!box) return QStyledItemDelegate::setEditorData(editor, index);
    box->setCurrentIndex(box->findData(index.data(Qt::EditRole)));
}

void ImportLineDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* box = qobject_cast<QComboBox*>(editor);
    if (!box) return QStyledItemDelegate::setModelData(editor, model, index);
    // Nothing chosen leaves the line as it is.
    if (box->currentIndex() >= 0) model->setData(index, box->currentData(), Qt::EditRole);
}

} // namespace ch
