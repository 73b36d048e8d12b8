#include "bridge/CExpTItem.h"

#include "bridge/ArgumentRecords.h"
#include "bridge/CDebetItem.h"
#include "bridge/ModelText.h"
#include "bridge/TextColours.h"
#include "model/CDebit.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/foundation/CNSStringToCString.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

CExpenseType* categoryOf(const CNonVisualDataItem& item)
{
    return static_cast<CExpenseType*>(item.getSourceItem());
}

std::optional<long> groupIdOf(const CExpenseType& category)
{
    const CMasterExpenseType* group = category.Get_mMasterExpensetypePtr();
    return group ? std::optional<long>(group->Get_Id()) : std::nullopt;
}

} // namespace

CExpTItem::CExpTItem() = default;

CExpTItem::CExpTItem(CNonVisual* category, const Ptr& parent) : CategoryAncestor(category, parent) {}

CExpTItem::~CExpTItem() = default;

// --- properties

std::string CExpTItem::description() const
{
    const CExpenseType* category = categoryOf(*this);
    if (!category) return mDescription.value_or(std::string());
    return unicodeOrMacRoman(*category, &CExpenseType::Get_StringrefDesc, &CExpenseType::Get_mDescription);
}

void CExpTItem::setDescription(std::optional<std::string_view> text)
{
    if (CExpenseType* category = categoryOf(*this)) {
        char cText[kDescriptionSize] = {};
        if (text) CNSStringToCString::convertStringToDescriptionT(*text, cText);
        category->Put_mDescription(cText);
        // A cleared description is cleared in the Unicode copy too: the
        // getter prefers it.
        category->Put_StringrefDesc(text.value_or(std::string_view()));
    }
    const std::string kept(text.value_or(std::string_view()));
    if (mDescription != kept) mDescription = kept;
    announce("description");
}

std::optional<double> CExpTItem::getBalance() const
{
    const CExpenseType* category = categoryOf(*this);
    return category ? std::optional<double>(category->Get_Amount()) : mBalance;
}

void CExpTItem::setBalance(std::optional<double> balance)
{
    if (!isBound() && mBalance != balance) mBalance = balance;
    announceDisplayState("getBalance");
}

std::optional<long> CExpTItem::getMasterExpenseTypeId() const
{
    const CExpenseType* category = categoryOf(*this);
    return category ? groupIdOf(*category) : mMasterExpenseTypeId;
}

void CExpTItem::setMasterExpenseTypeId(std::optional<long> groupId)
{
    CExpenseType* category = categoryOf(*this);
    if (category && groupId && groupId != groupIdOf(*category)) category->Put_mMasterType(*groupId);
    // A move the model refused leaves the category where it was; the item
    // keeps the request only when it differs from the group read back.
    if (getMasterExpenseTypeId() != groupId) mMasterExpenseTypeId = groupId;
    announce("getMasterExpenseTypeId");
}

std::optional<double> CExpTItem::getTaxDeductiblePct() const
{
    const CExpenseType* category = categoryOf(*this);
    return category ? std::optional<double>(category->Get_mTaxDeductiblePct()) : mTaxDeductiblePct;
}

void CExpTItem::setTaxDeductiblePct(std::optional<double> percentage)
{
    CExpenseType* category = categoryOf(*this);
    if (category && percentage) category->Put_mTaxDeductiblePct(*percentage);
    mTaxDeductiblePct = percentage;
    announce("getTaxDeductiblePct");
}

Colour CExpTItem::getColor() const
{
    const CExpenseType* category = categoryOf(*this);
    return category ? colourOf(category->Get_Color()) : mChartColor.value_or(Colour::white());
}

void CExpTItem::setGetColor(std::optional<Colour> colour)
{
    CExpenseType* category = categoryOf(*this);
    if (category && colour) category->Put_Color(modelColour(*colour));
    mChartColor = colour;
    announce("getColor");
}

Colour CExpTItem::objectColor() const
{
    const Colour own = getColor();
    if (!own.isWhite()) return own;
    if (const CExpenseType* category = categoryOf(*this)) {
        if (category->IsIncome(true)) return getGreenColor();
        if (category->IsExpense(true) != 0) return getRedColor();
        return getBlueColor();
    }
    return sourceItemColor().value_or(getBlueColor());
}

std::optional<bool> CExpTItem::isExpense() const
{
    const CExpenseType* category = categoryOf(*this);
    return category && category->IsExpense(false) != 0;
}

std::optional<bool> CExpTItem::isIncome() const
{
    const CExpenseType* category = categoryOf(*this);
    return category && category->IsIncome(false);
}

std::optional<double> CExpTItem::YTDThisYear() const
{
    const CExpenseType* category = categoryOf(*this);
    return category ? category->Get_thisYearsBalance() : 0.0;
}

std::optional<double> CExpTItem::YTDLastYear() const
{
    const CExpenseType* category = categoryOf(*this);
    return category ? category->Get_lastYearsBalanceYTD() : 0.0;
}

std::optional<double> CExpTItem::AvgMonthThisYear() const
{
    const CExpenseType* category = categoryOf(*this);
    return category ? category->Get_thisYearsAverageMonth() : 0.0;
}

std::optional<double> CExpTItem::AvgMonthLastYear() const
{
    const CExpenseType* category = categoryOf(*this);
    return category ? category->Get_PreviousYearsAverageMonth() : 0.0;
}

std::optional<double> CExpTItem::TotalLastYear() const
{
    const CExpenseType* category = categoryOf(*this);
    return category ? category->Get_lastYearsBalance() : 0.0;
}

void CExpTItem::setAskMasterType(bool ask)
{
    mAskMasterType = ask;
    announceDisplayState("askMasterType");
}

// --- operations

std::optional<CLevelCounters> CExpTItem::getBalanceInPeriod(DateT p1Start, DateT p1End, DateT p2Start,
                                                            DateT p2End, DateT p3Start, DateT p3End,
                                                            DateT p4Start, DateT p4End)
{
    CLevelCounters counters;
    const CExpenseType* category = categoryOf(*this);
    if (!category) return counters;
    double t1 = 0.0, t2 = 0.0, t3 = 0.0, t4 = 0.0;
    category->Get_BalanceInPeriod(t1, t2, t3, t4, p1Start, p1End, p2Start, p2End, p3Start, p3End,
                                  p4Start, p4End);
    counters.setResultAtIndex(0, t1);
    counters.setResultAtIndex(1, t2);
    counters.setResultAtIndex(2, t3);
    counters.setResultAtIndex(3, t4);
    return counters;
}

void CExpTItem::appendModelLines(std::vector<CNonVisual*>& lines) const
{
    const CExpenseType* category = categoryOf(*this);
    ch::appendModelLines(lines, category ? category->Get_mBookings() : nullptr);
}

LineItemArray CExpTItem::forTransactionDetails()
{
    if (!mForTransactionDetails) {
        const CExpenseType* category = categoryOf(*this);
        mForTransactionDetails =
            std::make_unique<LineItemList>(category ? category->Get_mBookings() : nullptr, registry());
    }
    return mForTransactionDetails->items();
}

GXObjectDescriptionStrings CExpTItem::getObjectDescription() const
{
    GXObjectDescriptionStrings strings;
    strings.objectTypeName = localized("ExpType");
    strings.canBeDeleted = true;
    return strings;
}

void CExpTItem::synchronizeWithParameters(const CategoryParameters& parameters)
{
    setGetName(parameters.name);
    setDescription(parameters.description);
    setBalance(parameters.mBalance);
    setGetColor(parameters.mColor);
    setMasterExpenseTypeId(parameters.mMasterTypeId);
    setTaxDeductiblePct(parameters.mTaxDeductiblePct);
}

void CExpTItem::synchronizeWithObject(const CNonVisualDataItem& other)
{
    CNonVisualDataItem::synchronizeWithObject(other);
    const auto* source = dynamic_cast<const CExpTItem*>(&other);
    if (!source) return;
    setDescription(source->description());
    setBalance(source->getBalance());
    setGetColor(source->getColor());
    setSourceItemColor(source->objectColor());
    setMasterExpenseTypeId(source->getMasterExpenseTypeId());
    setTaxDeductiblePct(source->getTaxDeductiblePct());
}

void CExpTItem::ListenToMessage(MessageT message, void* param)
{
    switch (message) {
    case msg::kCategoryLineRemoved:
        if (mForTransactionDetails) mForTransactionDetails->remove(static_cast<CDebit*>(param));
        break;
    case msg::kCategoryLineAdded:
        if (mForTransactionDetails) mForTransactionDetails->append(static_cast<CDebit*>(param), registry());
        break;
    default:
        CNonVisualDataItem::ListenToMessage(message, param);
        break;
    }
}

} // namespace ch
