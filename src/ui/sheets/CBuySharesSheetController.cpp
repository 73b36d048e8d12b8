#include "ui/sheets/CBuySharesSheetController.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/gui/localized_text.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CDateEditField.h"
#include "ui/controls/CPopupList.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

namespace {

template <class Field>
Field* named(Field* field, const char* outletName)
{
    field->setObjectName(QString::fromLatin1(outletName));
    return field;
}

void showId(CPopupList* popup, std::optional<long> id)
{
    popup->clearValue();
    if (id && *id > 0)
        popup->setId(*id);
}

} // namespace

CBuySharesSheetController::CBuySharesSheetController(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("BuySharesPopup"));
    groupBox = named(new QGroupBox(this), "groupBox");
    auto* form = makeSheetForm();
    mDate = addSheetRow(form, "FIELDDATE", new CDateEditField(groupBox), "mDate");
    mDate->setMaximumWidth(140);
    nrOfShares = addSheetRow(form, "FIELDNUMBEROFSHARES", new CAmountField(groupBox), "nrOfShares");
    pricePaid = named(new CAmountField(groupBox), "pricePaid");
    shareCurrency = named(new QLabel(groupBox), "shareCurrency");
    form->addRow(localizedText("FIELDPRICE"), makeAmountWithCurrency(groupBox, pricePaid, shareCurrency));
    commissionPayed = named(new CAmountField(groupBox), "commissionPayed");
    localCurrency1 = named(new QLabel(groupBox), "localCurrency1");
    form->addRow(localizedText("FIELDCOMMISSION"), makeAmountWithCurrency(groupBox, commissionPayed, localCurrency1));
    commissionToAccount =
        addSheetRow(form, "FIELDCOMMISSIONACCOUNT", new CPopupList(groupBox), "commissionToAccount");
    propertyAccountLabel = named(new QLabel(groupBox), "propertyAccountLabel");
    fromAccount = named(new CPopupList(groupBox), "fromAccount");
    form->addRow(propertyAccountLabel, fromAccount);
    totalLabel = named(new QLabel(groupBox), "totalLabel");
    totalPaid = named(new CAmountField(groupBox), "totalPaid");
    localCurrency2 = named(new QLabel(groupBox), "localCurrency2");
    form->addRow(totalLabel, makeAmountWithCurrency(groupBox, totalPaid, localCurrency2));
    mDescription = addSheetRow(form, "FIELDDESCRIPTION", new QLineEdit(groupBox), "mDescription");
    changeRate = named(new QCheckBox(localizedText("FIELDUPDATEPRICE"), groupBox), "changeRate");
    form->addRow(QString(), changeRate);
    groupBox->setLayout(form);
    for (CPopupList* popup : {commissionToAccount, fromAccount}) {
        watchPopup(popup);
        swallowReturnIn(popup);
    }
    // The figures the total follows; a typed total is left alone.
    for (CAmountField* field : {nrOfShares, pricePaid, commissionPayed})
        connect(field, &CAmountField::valueChanged, this, [this] { calculateTotalValue(true); });
    connect(mDate, &QLineEdit::editingFinished, this, [this] { calculateTotalValue(true); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addWidget(groupBox);
    layout->addSpacing(8);
    layout->addLayout(makeButtonRow(5));
    setMinimumWidth(420);
}

void CBuySharesSheetController::initialize(const SheetParameters& parameters)
{
    namespace key = share_deal_key;
    CPopupWindowAncestor::initialize(parameters);
    mLogic.initialize(parameters);
    SheetDocument* document = parameters.document(key::kDocument);
    CDocAccounting* books = document ? document->books() : nullptr;
    commissionToAccount->setArray(book_lists::profitAndLossAccounts(books));
    showId(commissionToAccount, parameters.number(key::kCommissionToAccount));
    fromAccount->dataSource().setOffered([books](const CNonVisual& account) { return carriesMoney(books, account); });
    fromAccount->setArray(book_lists::propertyAccounts(books));
    showId(fromAccount, parameters.number(key::kFromAccount));
    commissionPayed->setValue(0.0);
    const QString home = QString::fromStdString(parameters.text(key::kHomeCurrency).value_or(""));
    localCurrency1->setText(home);
    localCurrency2->setText(home);
    mDate->setToday();
    pricePaid->setValue(parameters.real(key::kPricePaid));
    shareCurrency->setText(QString::fromStdString(parameters.text(key::kShareCurrency).value_or("")));
    totalPaid->setValue(0.0);
    mDescription->clear();
    changeRate->setChecked(false);
    const QString shareName = QString::fromStdString(parameters.text(key::kShareName).value_or(""));
    if (mLogic.isBuy()) {
        groupBox->setTitle(QStringLiteral("%1 %2").arg(localizedText("BUY"), shareName));
        // Shown as the sell sheet shows its number: a figure, here none yet.
        nrOfShares->setValue(0.0);
        propertyAccountLabel->setText(localizedText("PAYFROM"));
        totalLabel->setText(localizedText("TOTALPAID"));
    } else {
        groupBox->setTitle(QStringLiteral("%1 %2").arg(localizedText("SELL"), shareName));
        nrOfShares->setValue(parameters.real(key::kCurrentBalance));
        propertyAccountLabel->setText(localizedText("MONEYDEST"));
        totalLabel->setText(localizedText("TOTALIN"));
    }
    setWindowTitle(groupBox->title());
    calculateTotalValue(true);
    mDate->setFocus(Qt::OtherFocusReason);
}

ShareDealEntry CBuySharesSheetController::readFields() const
{
    ShareDealEntry entry;
    entry.price = pricePaid->value();
    entry.quantity = nrOfShares->value();
    entry.commission = commissionPayed->value();
    entry.total = totalPaid->value();
    entry.fromAccount = fromAccount->objectValue();
    entry.commissionAccount = commissionToAccount->objectValue();
    entry.date = mDate->getDateT();
    entry.description = mDescription->text().toStdString();
    entry.updateRate = changeRate->isChecked();
    return entry;
}

void CBuySharesSheetController::calculateTotalValue(bool always)
{
    if (!always && !mLogic.quotedAtHome())
        return;
    const ShareDealEntry entry = readFields();
    // The total converts at the date the user sees.
    totalPaid->setValue(mLogic.total(entry.price.value_or(0.0), entry.quantity.value_or(0.0),
                                     entry.commission.value_or(0.0), entry.date));
}

bool CBuySharesSheetController::checkContents()
{
    ShareDealEntry entry = readFields();
    if (!mLogic.checkContents(entry))
        return false;
    totalPaid->setValue(entry.total);
    return true;
}

void CBuySharesSheetController::dialogClosed(int returnCode, const SheetParameters&)
{
    mLogic.dialogClosed(returnCode);
}

} // namespace ch
