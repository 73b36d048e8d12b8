#include "ui/lists/CTransactionArrayController.h"

#include <cmath>

#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CTrnSItem.h"
#include "model/CTransaction.h"
#include "model/ModelCodes.h"
#include "model/foundation/CDate.h"

namespace ch {

void CTransactionArrayController::setFlagSelectionType(std::uint8_t type)
{
    mFlag = type;
    arrange();
}

void CTransactionArrayController::setPeriodSelectionType(std::uint8_t type)
{
    mPeriod = type;
    arrange();
}

void CTransactionArrayController::setFlagSelectionType(std::uint8_t flagType, std::uint8_t periodType)
{
    mFlag = flagType;
    mPeriod = periodType;
    arrange();
}

bool CTransactionArrayController::passesFlagFilter(std::uint8_t type, int status)
{
    status &= 0xFF;
    switch (type) {
    case 1: return status == kFlagged;
    case 2: return status != kFlagged;
    case 3: return status == kChecked;
    case 4: return status != kChecked;
    default: return true;
    }
}

bool CTransactionArrayController::passesPeriodFilter(std::uint8_t type, long date, bool newThisSession, long today)
{
    switch (type) {
    case 1: return newThisSession;
    case 2: {
        // Seven calendar days back, across the start of a month or year.
        const DateT weekAgo = CDate::SequenceToDateT(CDate::ConvertToSequence(today) - 7 * kSecondsPerDay);
        return date >= weekAgo;
    }
    case 3:
        return CDate::GetYearFromDateT(date) == CDate::GetYearFromDateT(today) &&
               CDate::GetMonthFromDateT(date) == CDate::GetMonthFromDateT(today);
    case 4: return CDate::GetYearFromDateT(date) == CDate::GetYearFromDateT(today);
    default: return true;
    }
}

bool CTransactionArrayController::filtering() const
{
    return mFlag != 0 || mPeriod != 0 || CNonVisualDataItemArrayController::filtering();
}

bool CTransactionArrayController::accepts(const CNonVisualDataItem& item) const
{
    if (mFlag != 0 || mPeriod != 0) {
        const auto* transaction = dynamic_cast<const CTrnSItem*>(&item);
        if (!transaction || !item.getSourceItem()) return false;
        if (!passesFlagFilter(mFlag, item.objectStatus())) return false;
        if (mPeriod != 0 &&
            !passesPeriodFilter(mPeriod, transaction->mDate().value_or(0), item.newThisSession(),
                                CDate::GetNowAsDateT()))
            return false;
    }
    return CNonVisualDataItemArrayController::accepts(item);
}

void CTransactionArrayController::willFilter()
{
    mSearchNumber = searchString().empty() ? 0.0 : CNSNumberAmountTBridge::NSStringToNSNumber(searchString());
    mToday = CDate::GetNowAsDateT();
}

std::optional<bool> CTransactionArrayController::acceptsObject(const CNonVisual& object) const
{
    // Only the objects whose items are transaction items, as accepts() asks.
    if (object.Get_ObjectType() != type::kTransaction && object.Get_ObjectType() != type::kRecurring)
        return std::nullopt;
    if (mPeriod == 1) return std::nullopt;
    const auto& transaction = static_cast<const CTransaction&>(object);
    if (!passesFlagFilter(mFlag, object.Get_ObjectStatus())) return false;
    if (mPeriod != 0 && !passesPeriodFilter(mPeriod, transaction.Get_mDate(), false, mToday)) return false;
    return searchString().empty() || CTrnSItem::transactionMatches(transaction, searchString(), mSearchNumber);
}

bool CTransactionArrayController::searchNarrows(const std::string& previous, const std::string& text) const
{
    if (text.find(previous) == std::string::npos) return false;
    const double number = CNSNumberAmountTBridge::NSStringToNSNumber(text);
    return number == 0.0 || !std::isfinite(number);
}

} // namespace ch
