#include "ui/sheets/CRegisterDividendSheetController.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "bridge/CCurRItem.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CDateEditField.h"
#include "ui/controls/CPopupList.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

namespace {

void fill(CPopupList* popup, CNamedListArray* list, std::optional<long> id)
{
    popup->setArray(list);
    popup->clearValue();
    if (id && *id > 0)
        popup->setId(*id);
}

} // namespace

CRegisterDividendSheetController::CRegisterDividendSheetController(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("RegisterDevidendsPopup"));
    setWindowTitle(localizedText("DIVIDENDSHEETTITLE"));
    auto* form = makeSheetForm();
    mTransactionDate = addSheetRow(form, "FIELDDATE", new CDateEditField(this), "mTransactionDate");
    mTransactionDate->setMaximumWidth(140);
    mTotalDividend = new CAmountField(this);
    mTotalDividend->setObjectName(QStringLiteral("mTotalDividend"));
    mLocalCurrencyLabel1 = new QLabel(this);
    mLocalCurrencyLabel1->setObjectName(QStringLiteral("mLocalCurrencyLabel1"));
    form->addRow(localizedText("FIELDDIVIDEND"), makeAmountWithCurrency(this, mTotalDividend, mLocalCurrencyLabel1));
    mFromAccount = addSheetRow(form, "FIELDDIVIDENDSOURCE", new CPopupList(this), "mFromAccount");
    mToAccount = addSheetRow(form, "FIELDDIVIDENDDESTINATION", new CPopupList(this), "mToAccount");
    mForExpenseType = addSheetRow(form, "FIELDDIVIDENDCATEGORY", new CPopupList(this), "mForExpenseType");
    mTaxes = new CAmountField(this);
    mTaxes->setObjectName(QStringLiteral("mTaxes"));
    mLocalCurrencyLabel2 = new QLabel(this);
    mLocalCurrencyLabel2->setObjectName(QStringLiteral("mLocalCurrencyLabel2"));
    form->addRow(localizedText("FIELDTAXWITHHELD"), makeAmountWithCurrency(this, mTaxes, mLocalCurrencyLabel2));
    mTaxesToAccount = addSheetRow(form, "FIELDTAXACCOUNT", new CPopupList(this), "mTaxesToAccount");
    mTaxesForExpenseType = addSheetRow(form, "FIELDTAXCATEGORY", new CPopupList(this), "mTaxesForExpenseType");
    mComment = addSheetRow(form, "FIELDDESCRIPTION", new QLineEdit(this), "mComment");
    for (CPopupList* popup : {mFromAccount, mToAccount, mForExpenseType, mTaxesToAccount, mTaxesForExpenseType}) {
        watchPopup(popup);
        swallowReturnIn(popup);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(makeButtonRow(5));
    setMinimumWidth(420);
}

void CRegisterDividendSheetController::initialize(const SheetParameters& parameters)
{
    namespace key = share_deal_key;
    CPopupWindowAncestor::initialize(parameters);
    mLogic.initialize(parameters);
    SheetDocument* document = parameters.document(key::kDocument);
    CDocAccounting* books = document ? document->books() : nullptr;
    const std::string shareName = mLogic.share() ? mLogic.share()->mShortName() : std::string();
    mComment->setText(QStringLiteral("%1 %2").arg(localizedText("DIVIDENDCOMMENT"), QString::fromStdString(shareName)));
    const QString home = QString::fromStdString(parameters.text(key::kHomeCurrency).value_or(""));
    mLocalCurrencyLabel1->setText(home);
    mLocalCurrencyLabel2->setText(home);
    mTransactionDate->setToday();
    fill(mFromAccount, book_lists::profitAndLossAccounts(books), parameters.number(key::kDividendFrom));
    mToAccount->dataSource().setOffered([books](const CNonVisual& account) { return carriesMoney(books, account); });
    fill(mToAccount, book_lists::propertyAccounts(books), parameters.number(key::kDividendTo));
    fill(mForExpenseType, book_lists::incomeCategories(books), parameters.number(key::kDividendExpenseType));
    fill(mTaxesForExpenseType, book_lists::expenseCategories(books), parameters.number(key::kStockTaxExpenseType));
    fill(mTaxesToAccount, book_lists::profitAndLossAccounts(books), parameters.number(key::kStockTaxAccount));
    mTotalDividend->setValue(0.0);
    mTaxes->setValue(0.0);
    mTransactionDate->setFocus(Qt::OtherFocusReason);
}

bool CRegisterDividendSheetController::checkContents()
{
    DividendEntry entry;
    entry.dividend = mTotalDividend->value();
    entry.tax = mTaxes->value();
    entry.date = mTransactionDate->getDateT();
    entry.fromAccount = mFromAccount->objectValue();
    entry.toAccount = mToAccount->objectValue();
    entry.category = mForExpenseType->objectValue();
    entry.taxAccount = mTaxesToAccount->objectValue();
    entry.taxCategory = mTaxesForExpenseType->objectValue();
    entry.description = mComment->text().toStdString();
    return mLogic.checkContents(entry);
}

void CRegisterDividendSheetController::dialogClosed(int returnCode, const SheetParameters&)
{
    mLogic.dialogClosed(returnCode);
}

} // namespace ch
