#include "document/app/ApplicationDefaults.h"

#include "bridge/TextColours.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

Value colour(double red, double green, double blue)
{
    return Array{Value(red), Value(green), Value(blue), Value(1.0)};
}

} // namespace

void registerApplicationDefaults(UserDefaults& defaults)
{
    registerModelDefaults(defaults);
    defaults.registerDefaults(Dictionary{
        {std::string(kGreenTextColorKey), colour(0.1176, 0.4275, 0.1333)},
        {std::string(kRedTextColorKey), colour(0.8471, 0.1373, 0.1373)},
        {std::string(kBlueTextColorKey), colour(0.1059, 0.0314, 1.0)},
        {std::string(kTableTextSizeKey), Value(11)},
        {std::string(kOnLineSharepriceCheckKey), Value(false)},
        {std::string(kMaximumRowHeightKey), Value(11)},
        {std::string(kQifDateFormatKey), Value(0)},
        {std::string(kOnLineUpdateCheckKey), Value(true)},
        {std::string(kAutoSaveKey), Value(false)},
        {std::string(kAutoSaveIntervalKey), Value(5)},
        {std::string(kShowNewDocumentAssistantKey), Value(true)},
        {std::string(kShowLastDocumentAtStartupKey), Value(true)},
        {std::string(kLastSavedDocumentKey), Value("")},
        {std::string(kShowFoldersInSequentialObjectListKey), Value(false)},
        {std::string(kShowStartupChoiceKey), Value(true)},
        {std::string(kTableColumnsKey), Value(Dictionary{})},
        {std::string(kKeepLogFileKey), Value(true)},
        {std::string(kKeepLogFilePermanentKey), Value(false)},
        {std::string(kVATPaidIsPropertyKey), Value(false)},
        {std::string(kVATPeriodicityKey), Value(1)},
        {std::string(kVATAdvancePeriodicityKey), Value(0)},
        {std::string(kPaymentPeriodKey), Value(30)},
        {std::string(kPaymentPeriodStartsAtMonthEndKey), Value(false)},
        {std::string(kPaymentPeriodExpressedInMonthsKey), Value(false)},
        {std::string(kContiniousInvoiceNumbersKey), Value(false)},
    });
}

std::string getNumericFormatString(long long decimals)
{
    switch (decimals) {
    case 0: return "#,##0;0;[Red]-#,##0";
    case 1: return "#,##0.0;0.0;[Red]-#,##0.0";
    case 3: return "#,##0.000;0.000;-#,##0.000";
    case 4: return "#,##0.0000;0.0000;[Red]-#,##0.0000";
    default: return "#,##0.00;0.00;[Red]-#,##0.00";
    }
}

std::string getNumericFormatString(const UserDefaults& defaults)
{
    return getNumericFormatString(defaults.integerForKey(kNumberOfDecimalsKey));
}

} // namespace ch
