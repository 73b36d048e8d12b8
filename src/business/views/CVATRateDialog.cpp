#include "business/views/CVATRateDialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "business/BusinessOfDocument.h"
#include "business/GXVATRate.h"
#include "document/MyDocument.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/user_defaults.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CPopupList.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetForm.h"

namespace ch::business {

namespace {

// The application default that files VAT paid under property (the header that
// declares it clashes with the command executor's).
constexpr std::string_view kVATPaidIsProperty = "VATPaidIsProperty";
// "Some required information is missing or invalid": said of one field here.
constexpr long kValueMissingOrInvalid = 129;
// "Please enter a percentage from 0 to 100": said of the field it concerns.
constexpr long kPercentageOutOfRange = 272;

std::optional<double> numberIn(const QLineEdit* field)
{
    QString text = field->text().trimmed();
    // "20%" and "20 %" are a percentage as people write one.
    if (text.endsWith(QLatin1Char('%'))) text.chop(1);
    text = text.trimmed();
    if (text.isEmpty()) return std::nullopt;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

QString numberText(const std::optional<double>& value)
{
    return value ? QString::number(*value, 'g', 12) : QString();
}

void showId(CPopupList* popup, const std::optional<long>& id)
{
    if (!id || !popup->setId(*id)) popup->clearValue();
}

} // namespace

CVATRateDialog::CVATRateDialog(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("VATRateDialog"));
    setWindowTitle(localizedText("VATRATESHEETTITLE"));
    auto* form = mForm = makeSheetForm();
    nameField = addSheetRow(form, "FIELDNAME", new QLineEdit(this), "nameField");
    rateField = addSheetRow(form, "FIELDVATPERCENTAGE", new QLineEdit(this), "rateField");
    fiscalField = addSheetRow(form, "FIELDFISCALPERCENTAGE", new QLineEdit(this), "fiscalField");
    createAccountsBox = new QCheckBox(localizedText("VATCREATEACCOUNTS"), this);
    createAccountsBox->setObjectName(QStringLiteral("createAccounts"));
    form->addRow(QString(), createAccountsBox);
    VATPaidAccountId = addSheetRow(form, "FIELDVATPAIDACCOUNT", new CPopupList(this), "VATPaidAccountId");
    VATReceivedAccountId = addSheetRow(form, "FIELDVATRECEIVEDACCOUNT", new CPopupList(this), "VATReceivedAccountId");
    createAccountReconciledBox = new QCheckBox(localizedText("VATCREATERECONCILED"), this);
    createAccountReconciledBox->setObjectName(QStringLiteral("createAccountReconciled"));
    form->addRow(QString(), createAccountReconciledBox);
    VATReconciledAccountId =
        addSheetRow(form, "FIELDVATRECONCILEDACCOUNT", new CPopupList(this), "VATReconciledAccountId");
    createCategoryBox = new QCheckBox(localizedText("VATCREATECATEGORY"), this);
    createCategoryBox->setObjectName(QStringLiteral("createCategoryInvoicedNotReceived"));
    form->addRow(QString(), createCategoryBox);
    VATInvoicedNotYetReceivedCategory =
        addSheetRow(form, "FIELDVATNOTRECEIVEDCATEGORY", new CPopupList(this), "VATInvoicedNotYetReceivedCategory");
    VATInvoicedNotYetReceivedCategory->setEditable(false);
    for (CPopupList* popup : {VATPaidAccountId, VATReceivedAccountId, VATReconciledAccountId,
                              VATInvoicedNotYetReceivedCategory})
        watchPopup(popup);
    nameField->setMinimumWidth(280);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(makeButtonRow());

    connect(createAccountsBox, &QCheckBox::toggled, this, [this](bool on) { setCreateAccounts(on); });
    connect(createAccountReconciledBox, &QCheckBox::toggled, this,
            [this](bool on) { setCreateAccountReconciled(on); });
    connect(createCategoryBox, &QCheckBox::toggled, this,
            [this](bool on) { setCreateCategoryInvoicedNotReceived(on); });
}

void CVATRateDialog::initializeFor(const VATRateSheetContext& context)
{
    mContext = context;
    if (!mContext.arguments) mContext.arguments = std::make_shared<arguments::VATRateArguments>();
    if (!mContext.document) return;
    fillPopups();
    showArguments();
    nameField->setFocus();
}

void CVATRateDialog::fillPopups()
{
    if (!mContext.document) return;
    CDocAccounting* books = mContext.document->accounting();
    const bool paidIsProperty = UserDefaults::standard().boolForKey(kVATPaidIsProperty);
    VATPaidAccountId->setArray(paidIsProperty ? book_lists::propertyAccounts(books)
                                              : book_lists::profitAndLossAccounts(books));
    VATReceivedAccountId->setArray(book_lists::debtAccounts(books));
    VATReconciledAccountId->setArray(book_lists::debtAccounts(books));
    VATInvoicedNotYetReceivedCategory->setArray(book_lists::expenseCategories(books));
}

bool CVATRateDialog::isCombobox(const QWidget* control) const
{
    return control == VATPaidAccountId || control == VATReceivedAccountId || control == VATReconciledAccountId;
}

void CVATRateDialog::showArguments()
{
    const arguments::VATRateArguments& values = *mContext.arguments;
    nameField->setText(QString::fromStdString(values.name.value_or("")));
    rateField->setText(numberText(values.rate));
    fiscalField->setText(numberText(values.fiscalPCT));
    showId(VATPaidAccountId, values.accountIdPaid);
    showId(VATReceivedAccountId, values.accountIdReceived);
    showId(VATReconciledAccountId, values.accountIdReconciled);
    showId(VATInvoicedNotYetReceivedCategory, values.categoryInvoicedNotReceivedId);
    const QSignalBlocker a(createAccountsBox), b(createAccountReconciledBox), c(createCategoryBox);
    createAccountsBox->setChecked(values.createAccounts.value_or(false));
    createAccountReconciledBox->setChecked(values.createAccountReconciled.value_or(false));
    createCategoryBox->setChecked(values.createCategoryInvoicedNotReceived.value_or(false));
    refreshEnabledStates();
}

VATRateSheetChoices CVATRateDialog::choices() const
{
    return mContext.arguments ? VATRateSheetChoicesFor(*mContext.arguments) : VATRateSheetChoices();
}

void CVATRateDialog::refreshEnabledStates()
{
    const VATRateSheetChoices open = choices();
    createAccountsBox->setEnabled(open.createAccountsPossible);
    createAccountReconciledBox->setEnabled(open.createReconciliationAccountPossible);
    createCategoryBox->setEnabled(open.createCategoryInvoicedNotReceivedPossible);
    VATPaidAccountId->setEnabled(open.selectAccountsPossible);
    VATReceivedAccountId->setEnabled(open.selectAccountsPossible);
    VATReconciledAccountId->setEnabled(open.selectReconciliationAccountPossible);
    VATInvoicedNotYetReceivedCategory->setEnabled(open.selectCategoryInvoicedNotReceivedPossible);
}

void CVATRateDialog::setCreateAccounts(bool create)
{
    if (!mContext.arguments) return;
    mContext.arguments->createAccounts = create;
    const QSignalBlocker quiet(createAccountsBox);
    createAccountsBox->setChecked(create);
    refreshEnabledStates();
}

void CVATRateDialog::setCreateAccountReconciled(bool create)
{
    if (!mContext.arguments) return;
    mContext.arguments->createAccountReconciled = create;
    const QSignalBlocker quiet(createAccountReconciledBox);
    createAccountReconciledBox->setChecked(create);
    refreshEnabledStates();
}

void CVATRateDialog::setCreateCategoryInvoicedNotReceived(bool create)
{
    if (!mContext.arguments) return;
    mContext.arguments->createCategoryInvoicedNotReceived = create;
    const QSignalBlocker quiet(createCategoryBox);
    createCategoryBox->setChecked(create);
    refreshEnabledStates();
}

void CVATRateDialog::takeControls()
{
    arguments::VATRateArguments& values = *mContext.arguments;
    const QString name = nameField->text().trimmed();
    values.name = name.isEmpty() ? std::nullopt : std::optional<std::string>(name.toStdString());
    values.rate = numberIn(rateField);
    values.fiscalPCT = numberIn(fiscalField);
    values.accountIdPaid = VATPaidAccountId->objectValue();
    values.accountIdReceived = VATReceivedAccountId->objectValue();
    values.accountIdReconciled = VATReconciledAccountId->objectValue();
    // The popup lists the categories that stand as expenses now; the rate's
    // own category may stand otherwise (a credit note turned its balance)
    // and then is kept, not dropped.
    if (const std::optional<long> category = VATInvoicedNotYetReceivedCategory->objectValue())
        values.categoryInvoicedNotReceivedId = category;
}

QWidget* CVATRateDialog::controlFor(VATRateSheetField field) const
{
    switch (field) {
    case VATRateSheetField::Name: return nameField;
    case VATRateSheetField::Percentage: return fiscalField;
    case VATRateSheetField::Rate: return rateField;
    case VATRateSheetField::PaidAccount: return VATPaidAccountId;
    case VATRateSheetField::ReceivedAccount: return VATReceivedAccountId;
    case VATRateSheetField::None: break;
    }
    return nullptr;
}

bool CVATRateDialog::checkContents()
{
    if (!mContext.document || !mContext.arguments) return false;
    auto* business = dynamic_cast<BusinessOfDocument*>(mContext.document->business());
    if (!business) return false;
    takeControls();
    const VATRateSheetCheck check = checkVATRateSheet(*business, *mContext.arguments, mContext.objectToModify.get());
    if (check.accepted()) return true;
    QWidget* control = controlFor(check.focus);
    raiseError(check.error, control);
    if (control) control->setFocus();
    return false;
}

void CVATRateDialog::raiseError(long number, QWidget* control) const
{
    auto* label = control ? qobject_cast<QLabel*>(mForm->labelForField(control)) : nullptr;
    const bool named = number == kValueMissingOrInvalid || number == kPercentageOutOfRange;
    if (!named || !label) return CErrorManager::RaiseError(number);
    QString name = label->text().trimmed();
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    Alert alert;
    alert.number = number;
    alert.title = localized("ERROR");
    alert.message = formatMessage(
        localized(number == kValueMissingOrInvalid ? "FIELDMISSINGORINVALID" : "FIELDPERCENTAGEOUTOFRANGE"),
        {name.toStdString()});
    alert.defaultButton = localized("OK");
    alertPresenter().showError(alert);
}

void CVATRateDialog::dialogClosed(int returnCode, const SheetParameters& context)
{
    CPopupWindowAncestor::dialogClosed(returnCode, context);
    emit closedWithReturn(returnCode);
}

} // namespace ch::business
