#include "model/CExpenseType.h"

#include <cstring>

#include "model/BookingLookups.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseTypeArray.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/SettledSum.h"
#include "model/CTransactionDetailComparator.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LStream.h"
#include "model/foundation/LString.h"
#include "platform/core/localized_strings.h"

namespace ch {


namespace {

// Refused: a currency or share books on the category.
constexpr long kErrorCategoryOfCurrency = 332;

// The version from which category records carry their colour.
constexpr FourCharCode kColourVersion = fourCC("1.03");

CMasterExpenseType* GroupWithId(const CDocAccounting* document, ObjectIdT id)
{
    return document ? document->GetMasterExpenseTypeForId(id) : nullptr;
}

CExpenseTypeArray* CategoryListOf(const CDocAccounting* document)
{
    return document ? dynamic_cast<CExpenseTypeArray*>(document->mExpenseTypeList.get()) : nullptr;
}

// Group 5 does not exist; it stands for the expense group.
ObjectIdT GroupIdFor(long id)
{
    return id == 5 ? group_kind::kExpense : static_cast<ObjectIdT>(id);
}

} // namespace

// --- construction

// The base takes the temporary id, so that categories use no general object id.
CExpenseType::CExpenseType(CDocAccounting* document) : CNonVisual(kTemporaryId)
{
    CreateBookings();
    mDocument = document;
    Put_ExptId(-1);
    SetDefaults();
}

CExpenseType::CExpenseType(ObjectIdT id, CDocAccounting* document) : CNonVisual(kTemporaryId)
{
    CreateBookings();
    mDocument = document;
    Put_ExptId(id);
    SetDefaults();
}

CExpenseType::CExpenseType(const CExpenseType& source, CDocAccounting* document)
    : CNonVisual(kTemporaryId)
{
    CreateBookings();
    mDocument = document;
    Put_ExptId(-1);
    char name[kNameSize];
    source.Get_Name(name);
    Put_Name(name);
    Put_StringrefName(source.Get_StringrefName());
    Put_StringrefDesc(source.Get_StringrefDesc());
    Put_mb_IsOpen(source.Get_mb_IsOpen());
    SetObjectType(type::kExpenseType);
    std::memcpy(mDescription, source.mDescription, sizeof mDescription);
    mTaxDeductiblePct = source.mTaxDeductiblePct;
    Put_mMasterType(source.mMasterType);
}

CExpenseType::CExpenseType(LStream* stream, FourCharCode version, CDocAccounting* document)
    : CNonVisual(stream, version, document)
{
    CreateBookings();
    mDocument = document;
    SetObjectType(type::kExpenseType);

    EnumT groupId = group_kind::kExpense;
    stream->ReadEnumT(groupId);
    stream->ReadCString(mDescription);
    stream->ReadAmountT(mTaxDeductiblePct);
    AmountT storedBalance = 0.0;   // rebuilt as the lines link
    stream->ReadAmountT(storedBalance);
    if (version::AtLeast(version, kColourVersion)) mColor = ReadColor(stream);

    Put_ExptId(Get_Id());
    if (!version::AtLeast(version, version::k1_10)) Put_StringrefDesc(MacRomanToUnicode(mDescription));
    // The groups precede the categories in the stream. A category whose group
    // is missing keeps the stored id, so that the file is written back as
    // read; the check of the books tells of it.
    mMasterType = static_cast<MasterExpenseTypeT>(GroupIdFor(groupId));
    if (CMasterExpenseType* group = GroupWithId(document, mMasterType)) {
        mMasterExpensetypePtr = group;
        group->AddAccount(this, true);
    }
}

CExpenseType::~CExpenseType()
{
    if (mMasterExpensetypePtr) {
        CNamedListArray* categories = mMasterExpensetypePtr->Get_Details();
        categories->StopBroadcasting();
        categories->RemoveObject(this);
        categories->StartBroadcasting();
    }
}

void CExpenseType::CreateBookings()
{
    mBookings = std::make_unique<CNamedListArray>(new CTransactionDetailComparator, false);
}

void CExpenseType::SetDefaults()
{
    Put_Name("Name");
    mTaxDeductiblePct = 100.0;
    mBalance = 0.0;
    mMasterExpensetypePtr = nullptr;
    SetObjectType(type::kExpenseType);
    Put_mMasterType(group_kind::kExpense);
    mDescription[0] = '\0';
    Put_StringrefDesc(std::nullopt);
    mColor = RGBColor();
}

bool CExpenseType::Put_ExptId(ObjectIdT id)
{
    if (id >= 0) {
        StoreId(id);
        RaiseCounter(Ids().mi_ExptNr, id);
    } else {
        ObjectIdT& counter = Ids().mi_ExptNr;
        if (counter < CMasterExpenseType::kLowestNewId - 1) counter = CMasterExpenseType::kLowestNewId - 1;
        StoreId(NextId(counter));
    }
    return true;
}

void CExpenseType::ForgetGroup(const CMasterExpenseType* group)
{
    if (mMasterExpensetypePtr == group) mMasterExpensetypePtr = nullptr;
}

// --- group

CMasterExpenseType* CExpenseType::Group() const
{
    if (!mMasterExpensetypePtr) mMasterExpensetypePtr = GroupWithId(mDocument, mMasterType);
    return mMasterExpensetypePtr;
}

CMasterExpenseType* CExpenseType::Get_mMasterExpensetypePtr() const
{
    return Group();
}

bool CExpenseType::Search_MasterType(MasterExpenseTypeT id)
{
    if (CMasterExpenseType* group = GroupWithId(mDocument, id)) mMasterExpensetypePtr = group;
    return true;
}

bool CExpenseType::Put_mMasterType(long id)
{
    const long groupId = GroupIdFor(id);
    // The group id is one byte wide in memory and in the file.
    if (groupId < 0 || groupId > CMasterExpenseType::kMaxCategoryGroupId) {
        CErrorManager::RaiseError(CMasterExpenseType::kErrorGroupIdTooLarge);
        return false;
    }
    // The new group is looked up first: a refused move changes nothing.
    CMasterExpenseType* newGroup = GroupWithId(mDocument, static_cast<ObjectIdT>(groupId));
    if (!newGroup) {
        CErrorManager::RaiseError(186);
        return false;
    }
    CMasterExpenseType* oldGroup = Group();
    if (mBookings->GetCount() > 0 && oldGroup &&
        (oldGroup->IsIncome(true) != newGroup->IsIncome(true) ||
         oldGroup->IsExpense(true) != newGroup->IsExpense(true))) {
        CErrorManager::RaiseError(147);
        return false;
    }

    if (oldGroup) oldGroup->RemoveAccount(this);
    mMasterType = static_cast<MasterExpenseTypeT>(groupId);
    mMasterExpensetypePtr = newGroup;
    newGroup->AddAccount(this, true);
    // The group decides the standing: the category list files it anew.
    if (CExpenseTypeArray* list = CategoryListOf(mDocument)) list->Refile(this);
    return true;
}

bool CExpenseType::Put_mParentId(ObjectIdT id)
{
    return Put_mMasterType(id);
}

// --- fields

bool CExpenseType::Put_mDescription(const char* description)
{
    CopyToField(mDescription, kMaxDescriptionLength + 1, description);
    if (description)
        Put_StringrefDesc(MacRomanToUnicode(mDescription));
    else
        Put_StringrefDesc(std::nullopt);
    return true;
}

void CExpenseType::Get_mDescription(char (&out)[kDescriptionSize]) const
{
    std::memcpy(out, mDescription, kDescriptionSize);
}

bool CExpenseType::Put_mTaxDeductiblePct(double percentage)
{
    mTaxDeductiblePct = percentage;
    return true;
}

bool CExpenseType::Put_Color(RGBColor color)
{
    mColor = color;
    return true;
}

RGBColor CExpenseType::Get_Color() const
{
    if (mColor.IsWhite()) {
        if (const CMasterExpenseType* group = Group()) return group->Get_Color();
    }
    return mColor;
}

// --- totals

double CExpenseType::Get_thisYearsAverageMonth() const
{
    return MonthlyAverage(mDocument, mThisYearsBalance, 0);
}

double CExpenseType::Get_PreviousYearsAverageMonth() const
{
    return MonthlyAverage(mDocument, mLastYearsBalance, 1);
}

bool CExpenseType::Get_BalanceInPeriod(double& total1, double& total2, double& total3, double& total4,
                                       DateT from1, DateT to1, DateT from2, DateT to2, DateT from3,
                                       DateT to3, DateT from4, DateT to4) const
{
    total1 = total2 = total3 = total4 = 0.0;
    auto count = static_cast<ArrayIndexT>(mBookings->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        const CNonVisual* line = mBookings->ObjectAt(i);
        const DateT date = line->Get_SortDate();   // the line's transaction date
        const double amount = line->Get_Amount();  // its home-currency amount
        if (date >= from1 && date <= to1) total1 += amount;
        if (date >= from2 && date <= to2) total2 += amount;
        if (date >= from3 && date <= to3) total3 += amount;
        if (date >= from4 && date <= to4) total4 += amount;
    }
    return true;
}

void CExpenseType::YearShares(DateT date, double amount, double& thisYear, double& lastYear,
                              double& lastYearToDate) const
{
    if (date == 0 || !mDocument) return;
    if (mDocument->DateIsFromThisYear(date)) {
        thisYear += amount;
    } else if (mDocument->DateIsFromPreviousYear(date)) {
        lastYear += amount;
        // Today's date one year ago, as the DateT arithmetic of the file format has it.
        if (date <= CDate::GetNowAsDateT() - 10000) lastYearToDate += amount;
    }
}

bool CExpenseType::AddTo(double amount, double, DateT date)
{
    const bool wasIncome = IsIncome(false);
    const bool wasExpense = IsExpense(false) != 0;

    mBalance = SettledSum(mBalance + amount);
    double thisYear = 0.0, lastYear = 0.0, lastYearToDate = 0.0;
    YearShares(date, amount, thisYear, lastYear, lastYearToDate);
    mThisYearsBalance = SettledSum(mThisYearsBalance + thisYear);
    mLastYearsBalance = SettledSum(mLastYearsBalance + lastYear);
    mLastYearsBalanceYTD = SettledSum(mLastYearsBalanceYTD + lastYearToDate);
    if (CMasterExpenseType* group = Group()) group->AddTo(amount, thisYear, lastYear, lastYearToDate);

    if (IsIncome(false) != wasIncome || (IsExpense(false) != 0) != wasExpense)
        Refile(wasExpense, wasIncome);
    return true;
}

void CExpenseType::RefigureYears()
{
    double thisYear = 0.0, lastYear = 0.0, lastYearToDate = 0.0;
    const auto count = static_cast<ArrayIndexT>(mBookings->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        const CNonVisual* line = mBookings->ObjectAt(i);
        YearShares(line->Get_SortDate(), line->Get_Amount(), thisYear, lastYear, lastYearToDate);
    }
    thisYear = SettledSum(thisYear);
    lastYear = SettledSum(lastYear);
    lastYearToDate = SettledSum(lastYearToDate);
    const double thisYearChange = thisYear - mThisYearsBalance;
    const double lastYearChange = lastYear - mLastYearsBalance;
    const double toDateChange = lastYearToDate - mLastYearsBalanceYTD;
    if (thisYearChange == 0.0 && lastYearChange == 0.0 && toDateChange == 0.0) return;
    mThisYearsBalance = thisYear;
    mLastYearsBalance = lastYear;
    mLastYearsBalanceYTD = lastYearToDate;
    if (CMasterExpenseType* group = Group()) group->AddTo(0.0, thisYearChange, lastYearChange, toDateChange);
    BroadcastMessage(msg::kBalanceChanged);
}

void CExpenseType::Refile(bool wasExpense, bool wasIncome)
{
    if (CExpenseTypeArray* list = CategoryListOf(mDocument)) list->SwitchList(this, wasExpense, wasIncome);
}

bool CExpenseType::SetNewHomeCurrency(CCurrency*, CCurrency*, double rate)
{
    mBalance = SettledSum(mBalance * rate);
    mThisYearsBalance = SettledSum(mThisYearsBalance * rate);
    mLastYearsBalance = SettledSum(mLastYearsBalance * rate);
    mLastYearsBalanceYTD = SettledSum(mLastYearsBalanceYTD * rate);
    return true;
}

bool CExpenseType::Repair()
{
    double sum = 0.0;
    auto count = static_cast<ArrayIndexT>(mBookings->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) sum += mBookings->ObjectAt(i)->Get_Amount();
    sum = SettledSum(sum);
    if (sum == mBalance) return true;
    mBalance = sum;
    return false;
}

// --- bookings

unsigned char CExpenseType::AddDetail(CDebit* line)
{
    if (!line) return 0;
    // The line knows whether it is listed here (as an account's lines do):
    // no search of a long list for every line that books.
    if (line->IsRegisteredWith(this)) return 1;
    mBookings->AppendObject(line);
    BroadcastMessage(msg::kCategoryLineAdded, line);
    return 0;
}

void CExpenseType::HoldDetail(CDebit* line)
{
    mHeldBookings.push_back(line);
}

void CExpenseType::ListHeldDetails()
{
    std::vector<CDebit*> held;
    held.swap(mHeldBookings);
    if (held.empty()) return;
    if (HasListeners() || mBookings->HasListeners()) {
        for (CDebit* line : held) {
            mBookings->AppendObject(line);
            BroadcastMessage(msg::kCategoryLineAdded, line);
        }
        return;
    }
    std::vector<CNonVisual*> objects(held.begin(), held.end());
    mBookings->InsertObjectsAt(objects.data(), static_cast<std::uint32_t>(objects.size()), LArray::kLastIndex,
                               type::kExpenseTypeDetail);
}

bool CExpenseType::RemoveDetail(CDebit* line)
{
    if (!line) return false;
    // Already taken out with the rest of a batch (an account's deletion).
    if (mBookings->ForgetTakenOut(line)) {
        BroadcastMessage(msg::kCategoryLineRemoved, line);
        return true;
    }
    // By identity, from the end, reading the line pointers in place: no id
    // index is kept for the bookings (see AddDetail).
    const auto count = static_cast<ArrayIndexT>(mBookings->GetCount());
    CNonVisual* const* block = count > 0 ? static_cast<CNonVisual* const*>(mBookings->GetItemPtr(1)) : nullptr;
    ArrayIndexT position = count;
    while (position >= 1 && block[position - 1] != line) --position;
    if (position == 0) return false;
    mBookings->RemoveItemsAt(1, position);
    BroadcastMessage(msg::kCategoryLineRemoved, line);
    return true;
}

// --- standing

bool CExpenseType::IsIncome(bool strict) const
{
    const CMasterExpenseType* group = Group();
    if (!group) return false;
    if (strict) return group->IsIncome(false) != 0;
    switch (group->Get_mMasterExpenseType()) {
    case group_kind::kIncome:
    case group_kind::kOpeningBalance:
    case group_kind::kCorrection:
        return mBalance >= 0.0;
    case group_kind::kExpense:
        return mBalance < 0.0;
    default:
        return false;
    }
}

unsigned char CExpenseType::IsExpense(bool strict) const
{
    const CMasterExpenseType* group = Group();
    if (!group) return 0;
    if (strict) return group->IsExpense(false);
    switch (group->Get_mMasterExpenseType()) {
    case group_kind::kIncome:
    case group_kind::kOpeningBalance:
    case group_kind::kCorrection:
        return mBalance < 0.0 ? 1 : 0;
    case group_kind::kExpense:
        return mBalance >= 0.0 ? 1 : 0;
    default:
        return 0;
    }
}

bool CExpenseType::IsTransfer() const
{
    const CMasterExpenseType* group = Group();
    return group && group->IsTransfer();
}

bool CExpenseType::IsOpeningBalance() const
{
    const CMasterExpenseType* group = Group();
    return group && group->IsOpeningBalance();
}

bool CExpenseType::IsCorrection() const
{
    const CMasterExpenseType* group = Group();
    return group && group->IsCorrection();
}

bool CExpenseType::CanBeNegative() const
{
    return IsOpeningBalance() || IsCorrection();
}

long CExpenseType::Get_WarningLevel(unsigned char) const
{
    if (IsIncome(true)) return 1;
    if (IsExpense(true) == 1) return 0;
    return 3;
}

void CExpenseType::GetObjectDescription(std::string& first, std::string&, std::string&,
                                        unsigned char& flag) const
{
    first += localized("ExpType");
    flag = 1;
}

// --- deletion and persistence

bool CExpenseType::BeforeDelete()
{
    if (mDocument && mDocument->RecurringTransactionExistsForExpenseType(this)) {
        CErrorManager::RaiseError(237);
        return false;
    }
    // Lines of unlinked transactions are not among the bookings, yet they use
    // the category as much: they would lose it when linked again.
    if (mBookings->GetCount() > 0 ||
        (mDocument && mDocument->UnlinkedTransactionExistsForExpenseType(this))) {
        CErrorManager::RaiseError(168);
        return false;
    }
    if (mDocument && mDocument->BudgetExistsForObject(this, false)) {
        CErrorManager::RaiseError(199);
        return false;
    }
    if (const CPreference* settings = mDocument ? mDocument->mPreference : nullptr) {
        const ObjectIdT id = Get_Id();
        const ObjectIdT defaults[] = {settings->Get_mDefExpTStockCommission(),
                                      settings->Get_mDefExptStockTax(),
                                      settings->Get_mDefExpTUnspecifiedCorrection(),
                                      settings->Get_mDefExpTUnspecifiedCurrencyFluctuation(),
                                      settings->Get_mDefExpTUnspecifiedExpense(),
                                      settings->Get_mDefExpTUnspecifiedIncome(),
                                      settings->Get_mDefExpTUnspecifiedOpeningBalance(),
                                      settings->Get_mDefExpTUnspecifiedTransfer(),
                                      settings->Get_mVatInvoicedNotYetReceivedExpT(),
                                      settings->Get_mVatInvoicedNotYetPaidExpt(),
                                      settings->Get_mDefPortfolioExpenseType(),
                                      settings->Get_mDefaultCategoryCustomerInvoices(),
                                      settings->Get_mDefaultCategorySupplierPayments()};
        for (ObjectIdT used : defaults) {
            if (used == id) {
                CErrorManager::RaiseError(234);
                return false;
            }
        }
    }
    // A trade, dividend or rate change of the currency would book on it.
    if (const CCurrency* user = booking::CurrencyBookingOnCategory(mDocument, Get_Id())) {
        char name[kNameSize] = {};
        user->Get_ShortName(name);
        CErrorManager::RaiseError(kErrorCategoryOfCurrency, LStr255(name), LStr255());
        return false;
    }
    if (CMasterExpenseType* group = Group()) group->RemoveAccount(this);
    mMasterExpensetypePtr = nullptr;
    return true;
}

void CExpenseType::PutStream(LStream* stream)
{
    CNonVisual::PutStream(stream);
    stream->WriteEnumT(mMasterType);
    stream->WriteCString(mDescription);
    stream->WriteAmountTT(mTaxDeductiblePct);
    stream->WriteAmountTT(mBalance);
    WriteColor(stream, mColor);
}

bool CExpenseType::Export(LStream* stream, char separator) const
{
    CNonVisual::Export(stream, separator);
    char groupName[kNameSize] = {};
    if (const CMasterExpenseType* group = Group()) group->Get_Name(groupName);
    std::string line = std::to_string(mMasterType);
    line += '\t';
    line += groupName;
    line += '\t';
    line += mDescription;
    line += '\t';
    line += CDecimal::DoubleToString(mTaxDeductiblePct);
    line += '\t';
    line += CDecimal::DoubleToString(mBalance);
    line += '\r';
    stream->WriteBlock(line.data(), static_cast<std::int32_t>(line.size()));
    return true;
}

} // namespace ch
