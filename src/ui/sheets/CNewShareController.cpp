#include "ui/sheets/CNewShareController.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "bridge/CCurRItem.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/controls/CPopupList.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

namespace {

void showId(CPopupList* popup, const std::optional<long>& id)
{
    popup->clearValue();
    if (id)
        popup->setId(*id);
}

QString amountText(double amount)
{
    return QString::fromStdString(CNumericTransformer().stringForObjectValue(amount));
}

} // namespace

CNewShareController::CNewShareController(QWidget* parent) : CNewCurrencyController(parent, true)
{
    auto* form = makeSheetForm();
    portfolioAccountPopup = addSheetRow(form, "FIELDPORTFOLIOACCOUNT", new CPopupList(this), "portfolioAccountPopup");
    comissionPLAccountPopup =
        addSheetRow(form, "FIELDCOMMISSIONACCOUNT", new CPopupList(this), "comissionPLAccountPopup");
    comissionReasonCodePopup =
        addSheetRow(form, "FIELDCOMMISSIONCATEGORY", new CPopupList(this), "comissionReasonCodePopup");
    dividendSourceAccountPopup =
        addSheetRow(form, "FIELDDIVIDENDSOURCE", new CPopupList(this), "dividendSourceAccountPopup");
    dividendDestinationPLAccountPopup =
        addSheetRow(form, "FIELDDIVIDENDDESTINATION", new CPopupList(this), "dividendDestinationPLAccountPopup");
    dividendReasonCodePopup =
        addSheetRow(form, "FIELDDIVIDENDCATEGORY", new CPopupList(this), "dividendReasonCodePopup");
    bruttoResultField = addSheetRow(form, "FIELDGROSSRESULT", makeValueLabel(this), "bruttoResultField");
    nettoResultField = addSheetRow(form, "FIELDNETRESULT", makeValueLabel(this), "nettoResultField");
    // The portfolio account comes with the share, made when the share is:
    // it is shown, not chosen.
    portfolioAccountPopup->setEnabled(false);
    form->setContentsMargins(0, 10, 0, 0);
    for (CPopupList* popup : {comissionPLAccountPopup, comissionReasonCodePopup, dividendSourceAccountPopup,
                              dividendDestinationPLAccountPopup, dividendReasonCodePopup}) {
        watchPopup(popup);
        swallowReturnIn(popup);
    }
    addForm(form);
}

void CNewShareController::fillPopups()
{
    CNewCurrencyController::fillPopups();
    CDocAccounting* books = mLogic.document()->books();
    portfolioAccountPopup->setArray(book_lists::propertyAccounts(books));
    comissionPLAccountPopup->setArray(book_lists::profitAndLossAccounts(books));
    comissionReasonCodePopup->setArray(book_lists::categories(books));
    dividendSourceAccountPopup->setArray(book_lists::profitAndLossAccounts(books));
    dividendDestinationPLAccountPopup->setArray(book_lists::propertyAccounts(books));
    dividendReasonCodePopup->setArray(book_lists::categories(books));
}

void CNewShareController::loadFields()
{
    CNewCurrencyController::loadFields();
    const CurrencySheetValues& v = mLogic.values();
    showId(portfolioAccountPopup, v.portfolioAccountId);
    portfolioAccountPopup->lineEdit()->setPlaceholderText(v.portfolioAccountId ? QString()
                                                                               : localizedText("PORTFOLIONEWACCOUNT"));
    showId(comissionPLAccountPopup, v.commissionAccountId);
    showId(comissionReasonCodePopup, v.commissionCategoryId);
    showId(dividendSourceAccountPopup, v.dividendSourceAccountId);
    showId(dividendDestinationPLAccountPopup, v.dividendDestinationAccountId);
    showId(dividendReasonCodePopup, v.dividendCategoryId);
    bruttoResultField->setText(amountText(v.grossResult));
    nettoResultField->setText(amountText(v.netResult));
}

void CNewShareController::storeFields()
{
    CNewCurrencyController::storeFields();
    CurrencySheetValues& v = mLogic.values();
    v.commissionAccountId = comissionPLAccountPopup->objectValue();
    v.commissionCategoryId = comissionReasonCodePopup->objectValue();
    v.dividendSourceAccountId = dividendSourceAccountPopup->objectValue();
    v.dividendDestinationAccountId = dividendDestinationPLAccountPopup->objectValue();
    v.dividendCategoryId = dividendReasonCodePopup->objectValue();
}

} // namespace ch
