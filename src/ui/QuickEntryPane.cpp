#include "ui/QuickEntryPane.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "document/arguments/SimpleTransactionArguments.h"
#include "platform/gui/localized_text.h"
#include "ui/CSideBarController.h"
#include "ui/WindowDocument.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CDateEditField.h"
#include "ui/controls/CPopupList.h"
#include "ui/controls/CTextField.h"
#include "ui/sheets/BookLists.h"

namespace ch {

namespace {

void showId(CPopupList* popup, std::optional<long> id)
{
    if (popup->objectValue() == id) return;
    if (!id || !popup->setId(*id)) popup->clearValue();
}

} // namespace

QuickEntryPane::QuickEntryPane(CSideBarController& controller, QWidget* parent)
    : QWidget(parent), mController(controller), mDate(new CDateEditField), mOtherAccount(new CPopupList),
      mOurAccount(new CPopupList), mAmount(new CAmountField), mName(new CTextField), mBook(new QPushButton)
{
    setObjectName("mFastTransactionEntryView");
    mDate->setObjectName("mTransactionDateField");
    mOtherAccount->setObjectName("mOtherAccountPopup");
    mOurAccount->setObjectName("mOurAccountPopup");
    mAmount->setObjectName("mTransactionAmountField");
    mName->setObjectName("mTransactionNameField");
    mBook->setObjectName("mFastTransactionButton");

    CDocAccounting* books = controller.document().books().accounting();
    mOtherAccount->setArray(book_lists::profitAndLossAccounts(books));
    mOurAccount->setArray(book_lists::propertyAccounts(books));
    // The side bar is narrow: a long account name is read in the open list,
    // the box need not be as wide as it.
    for (CPopupList* popup : {mOtherAccount, mOurAccount}) {
        popup->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        popup->setMinimumContentsLength(8);
    }

    auto* title = new QLabel(localizedText("QUICKENTRYTITLE"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto* form = new QFormLayout;
    form->setContentsMargins(0, 0, 0, 0);
    form->setHorizontalSpacing(6);
    form->setVerticalSpacing(4);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    mForm = form;
    form->addRow(localizedText("FIELDDATE"), mDate);
    form->addRow(localizedText("FIELDOTHERACCOUNT"), mOtherAccount);
    form->addRow(localizedText("FIELDOURACCOUNT"), mOurAccount);
    form->addRow(localizedText("FIELDAMOUNT"), mAmount);
    form->addRow(localizedText("FIELDNAME"), mName);
    mBook->setAutoDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(6);
    layout->addWidget(title);
    layout->addLayout(form);
    layout->addWidget(mBook, 0, Qt::AlignRight);
    layout->addStretch(1);
    setTabOrder(mDate, mOtherAccount);
    setTabOrder(mOtherAccount, mOurAccount);
    setTabOrder(mOurAccount, mAmount);
    setTabOrder(mAmount, mName);
    setTabOrder(mName, mBook);

    // The fields write what the user enters into the arguments...
    arguments::SimpleTransactionArguments& entry = controller.quickEntry();
    connect(mDate, &QLineEdit::editingFinished, this, [this, &entry] {
        const DateT date = mDate->getDateT();
        entry.setDate(date ? std::optional<long>(date) : std::nullopt);
    });
    connect(mOtherAccount, &QComboBox::currentTextChanged, this,
            [this, &entry] { entry.setOtherAccountId(mOtherAccount->objectValue()); });
    connect(mOurAccount, &QComboBox::currentTextChanged, this,
            [this, &entry] { entry.setOurAccountId(mOurAccount->objectValue()); });
    connect(mAmount, &CAmountField::valueChanged, this, [this, &entry] { entry.setAmount(mAmount->value()); });
    connect(mName, &QLineEdit::textEdited, this, [&entry](const QString& name) { entry.setName(name.toStdString()); });
    connect(mName, &QLineEdit::returnPressed, this, [this] { newFastTransactionPressed(); });
    connect(mBook, &QPushButton::clicked, this, [this] { newFastTransactionPressed(); });
    // ...and show what the arguments hold (a new entry after booking).
    mSubscriptions.push_back(entry.observe([this](Observable&, const std::string&) { showArguments(); }));
    showArguments();
}

QuickEntryPane::~QuickEntryPane() = default;

void QuickEntryPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrangeRows();
}

void QuickEntryPane::arrangeRows()
{
    // Room enough for a date or a short name beside the widest label, and
    // never less than a field can shrink to: the form would cut the labels.
    int fieldWidth = 100;
    int widestLabel = 0;
    for (int row = 0; row < mForm->rowCount(); ++row) {
        if (QLayoutItem* label = mForm->itemAt(row, QFormLayout::LabelRole))
            widestLabel = std::max(widestLabel, label->sizeHint().width());
        if (QLayoutItem* field = mForm->itemAt(row, QFormLayout::FieldRole))
            fieldWidth = std::max(fieldWidth, field->minimumSize().width());
    }
    const QMargins margins = contentsMargins() + layout()->contentsMargins();
    const bool beside =
        margins.left() + widestLabel + mForm->horizontalSpacing() + fieldWidth + margins.right() <= width();
    const QFormLayout::RowWrapPolicy policy = beside ? QFormLayout::DontWrapRows : QFormLayout::WrapAllRows;
    if (mForm->rowWrapPolicy() == policy) return;
    mForm->setRowWrapPolicy(policy);
    mForm->setLabelAlignment((beside ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

void QuickEntryPane::showArguments()
{
    const arguments::SimpleTransactionArguments& entry = mController.quickEntry();
    const long date = entry.date().value_or(0);
    if (mDate->getDateT() != date && !(date && mDate->setDateT(static_cast<DateT>(date)))) mDate->clear();
    showId(mOtherAccount, entry.otherAccountId());
    showId(mOurAccount, entry.ourAccountId());
    // A new entry shows an empty amount rather than a zero to type over; a
    // zero the user typed stays.
    if (mAmount->value() != entry.amount())
        mAmount->setValue(entry.amount() && *entry.amount() != 0.0 ? entry.amount() : std::nullopt);
    const QString name = QString::fromStdString(entry.name().value_or(""));
    if (mName->text() != name) mName->setText(name);
    mBook->setText(QString::fromStdString(entry.actionTitle()));
}

QuickEntryFields QuickEntryPane::fields() const
{
    QuickEntryFields fields;
    if (const DateT date = mDate->getDateT()) fields.date = date;
    fields.otherAccount = mOtherAccount->objectValue();
    fields.ourAccount = mOurAccount->objectValue();
    fields.amount = mAmount->value();
    fields.name = mName->text().toStdString();
    return fields;
}

void QuickEntryPane::newFastTransactionPressed()
{
    // What every field shows counts, taken or still being typed (the Book
    // button may hold the focus by now); a field that refuses its text keeps
    // the focus.
    for (QWidget* child : findChildren<QWidget*>())
        if (auto* editing = dynamic_cast<EditingField*>(child); editing && child->isEnabled() && !editing->endEditing())
            return;
    const QuickEntryOutcome outcome = mController.newFastTransactionPressed(fields());
    if (QWidget* field = fieldFor(outcome.focus)) field->setFocus(Qt::OtherFocusReason);
}

QWidget* QuickEntryPane::fieldFor(QuickEntryField field) const
{
    switch (field) {
    case QuickEntryField::None: return nullptr;
    case QuickEntryField::Name: return mName;
    case QuickEntryField::Amount: return mAmount;
    case QuickEntryField::Date: return mDate;
    case QuickEntryField::OtherAccount: return mOtherAccount;
    case QuickEntryField::OurAccount: return mOurAccount;
    }
    return nullptr;
}

} // namespace ch
