#include "import/views/CExportTransactionController.h"

#include <QButtonGroup>
#include <QDate>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "bridge/CNonVisualDataItem.h"
#include "bridge/DeveloperLog.h"
#include "import/views/PeriodFormatControls.h"
#include "model/CNonVisual.h"
#include "model/ModelCodes.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CDateEditField.h"

namespace ch {

namespace {

constexpr std::string_view kAccountName = "ACNTNAME";
// The format choice that names the account the export is limited to.
constexpr int kAccountTextFormat = 1;

} // namespace

SheetParameters exportSheetParameters(const std::shared_ptr<CNonVisualDataItem>& item)
{
    SheetParameters parameters;
    const CNonVisual* object = item ? item->getSourceItem() : nullptr;
    if (!object) return parameters;
    switch (object->Get_ObjectType()) {
    case type::kAccount:
    case type::kExpenseType:
    case type::kAccountType:
    case type::kMasterExpenseType:
        parameters.set(kAccountName, item->getName());
        parameters.set(sheet_key::kAccountType, item);
        break;
    default: break;
    }
    return parameters;
}

CExportTransactionController::CExportTransactionController(Exporter exporter, QWidget* parent)
    : CPopupWindowAncestor(parent), mExporter(std::move(exporter))
{
    setObjectName(QStringLiteral("ExportTransactions"));
    setWindowTitle(localizedText("EXPORTSHEETTITLE"));
    const PeriodFormatControls controls = makePeriodFormatControls(this);
    dateFromField = controls.from;
    dateToField = controls.to;
    exportFormatMatrix = controls.formats;
    limitingAccountText = new QLabel(this);
    limitingAccountText->setObjectName(QStringLiteral("limitingAccountText"));
    auto* form = new QFormLayout;
    form->addRow(localizedText("EXPORTFROM"), dateFromField);
    form->addRow(localizedText("EXPORTTO"), dateToField);
    form->addRow(localizedText("EXPORTLIMIT"), limitingAccountText);
    form->addRow(localizedText("EXPORTFORMAT"), controls.formatLayout);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(makeButtonRow());
}

std::pair<DateT, DateT> CExportTransactionController::lastCompleteMonth(CalendarDate today)
{
    const QDate first = QDate(today.year, today.month, 1).addMonths(-1);
    const QDate last = first.addDays(first.daysInMonth() - 1);
    auto dateT = [](QDate d) { return DateT(d.year() * 10000 + d.month() * 100 + d.day()); };
    return {dateT(first), dateT(last)};
}

void CExportTransactionController::initialize(const SheetParameters& parameters)
{
    CPopupWindowAncestor::initialize(parameters);
    if (!parameters.contains("DOCUMENT")) return;
    const auto [from, to] = lastCompleteMonth(today());
    dateFromField->setDateT(from);
    dateToField->setDateT(to);
    const std::string name = parameters.text(kAccountName).value_or(std::string());
    limitingAccountText->setText(QString::fromStdString(name));
    // Without an account the choice of its text means nothing.
    exportFormatMatrix->button(kAccountTextFormat)->setEnabled(!name.empty());
    exportFormatMatrix->button(name.empty() ? 0 : kAccountTextFormat)->setChecked(true);
}

void CExportTransactionController::dialogClosed(int returnCode, const SheetParameters& context)
{
    developerLog("dialogClosed");
    if (returnCode <= 0 || !mExporter) return;
    // An empty field sets no limit.
    const DateT from = dateFromField->getDateT();
    DateT to = dateToField->getDateT();
    if (to == 0) to = 99999999;
    mExporter(context.item(sheet_key::kAccountType), from, to, exportFormatMatrix->checkedId() == 2);
}

} // namespace ch
