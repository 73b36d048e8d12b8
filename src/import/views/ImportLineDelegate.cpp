#include "import/views/ImportLineDelegate.h"

#include <QComboBox>
#include <QLineEdit>

#include <functional>
#include <utility>

#include "import/views/CImportedTransactionArrayController.h"
#include "platform/core/alerts.h"
#include "ui/controls/CNumericTransformer.h"

namespace ch {

namespace {

// An entry taken from the opened list is the user's choice: it is set at
// once. The list closes before the box takes the entry (a click closes it
// first), so the choice is committed on activated, which follows the entry
// being set; only the activation that closes an opened list chooses, so
// stepping through the entries with the arrow keys asks nothing yet.
class ChoiceBox : public QComboBox {
public:
    explicit ChoiceBox(QWidget* parent) : QComboBox(parent)
    {
        connect(this, &QComboBox::activated, this, [this] {
            if (std::exchange(mFromList, false) && chosen) chosen();
        });
    }
    std::function<void()> chosen;

    void showPopup() override
    {
        mFromList = true;
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        QComboBox::hidePopup();
        // A list closed without a choice (Escape, a click outside) chooses
        // nothing: the activation of a choice comes before this runs.
        QMetaObject::invokeMethod(this, [this] { mFromList = false; }, Qt::QueuedConnection);
    }

private:
    bool mFromList = false;
};

const CImportedTransactionArrayController* tableOf(const QModelIndex& index)
{
    return qobject_cast<const CImportedTransactionArrayController*>(index.model());
}

bool isAmount(const QModelIndex& index)
{
    return tableOf(index) && index.column() == CImportedTransactionArrayController::Amount;
}

} // namespace

QWidget* ImportLineDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const
{
    const CImportedTransactionArrayController* table = tableOf(index);
    if (isAmount(index)) {
        auto* field = new QLineEdit(parent);
        field->setObjectName(QStringLiteral("importLineAmount"));
        field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return field;
    }
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
    if (isAmount(index)) {
        auto* field = static_cast<QLineEdit*>(editor);
        const QVariant amount = index.data(Qt::EditRole);
        field->setText(amount.isValid()
                           ? QString::fromStdString(CNumericTransformer().stringForObjectValue(amount.toDouble()))
                           : QString());
        return;
    }
    auto* box = qobject_cast<QComboBox*>(editor);
    if (!box) return QStyledItemDelegate::setEditorData(editor, index);
    box->setCurrentIndex(box->findData(index.data(Qt::EditRole)));
}

void ImportLineDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (isAmount(index)) {
        const CNumericTransformer::Conversion amount =
            CNumericTransformer().getObjectValue(static_cast<QLineEdit*>(editor)->text().toStdString());
        // Text that is no amount is refused with the reason, as an amount
        // field refuses it; the line keeps what it had.
        if (!amount.ok) return showErrorText(amount.errorDescription);
        // Emptied: the line keeps its amount.
        if (amount.value) model->setData(index, *amount.value, Qt::EditRole);
        return;
    }
    auto* box = qobject_cast<QComboBox*>(editor);
    if (!box) return QStyledItemDelegate::setModelData(editor, model, index);
    // Nothing chosen leaves the line as it is.
    if (box->currentIndex() >= 0) model->setData(index, box->currentData(), Qt::EditRole);
}

} // namespace ch
