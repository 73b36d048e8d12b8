#include "model/CMasterExpenseType.h"

#include <unordered_set>

#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/ModelComparators.h"
#include "model/SettledSum.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LStream.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"

namespace ch {


namespace {

// The version from which group records carry their colour.
constexpr FourCharCode kColourVersion = fourCC("1.04");

CMasterExpenseType* GroupWithId(const CDocAccounting* document, ObjectIdT id)
{
    return document ? document->GetMasterExpenseTypeForId(id) : nullptr;
}

const CExpenseType* CategoryOf(const CNonVisual* object)
{
    if (!object || object->Get_ObjectType() != type::kExpenseType) return nullptr;
    return static_cast<const CExpenseType*>(object);
}

MasterExpenseTypeT KindForId(ObjectIdT id)
{
    return id >= 0 && id <= group_kind::kCorrection ? static_cast<MasterExpenseTypeT>(id)
                                                     : group_kind::kExpense;
}

} // namespace

RGBColor ReadColor(LStream* stream)
{
    std::int16_t red = -1, green = -1, blue = -1;
    stream->ReadShort(red);
    stream->ReadShort(green);
    stream->ReadShort(blue);
    return {static_cast<std::uint16_t>(red), static_cast<std::uint16_t>(green),
            static_cast<std::uint16_t>(blue)};
}

void WriteColor(LStream* stream, RGBColor color)
{
    stream->WriteShort(static_cast<std::int16_t>(color.red));
    stream->WriteShort(static_cast<std::int16_t>(color.green));
    stream->WriteShort(static_cast<std::int16_t>(color.blue));
}

double MonthlyAverage(const CDocAccounting* document, double total, long yearsBack)
{
    double portion = 1.0;
    if (document && document->mPreference)
        portion = document->mPreference->Get_YearPortion(yearsBack, yearsBack != 0);
    return total / (portion * 12.0);
}

// --- construction

// The base takes the temporary id, so that groups use no general object id.
CMasterExpenseType::CMasterExpenseType(CDocAccounting* document) : CNonVisual(kTemporaryId)
{
    CreateLists();
    mDocument = document;
    Put_MxptId(-1);
    SetDefaults();
    mMasterExpenseType = group_kind::kExpense;
}

CMasterExpenseType::CMasterExpenseType(ObjectIdT id, CDocAccounting* document)
    : CNonVisual(kTemporaryId)
{
    CreateLists();
    mDocument = document;
    Put_MxptId(id);
    SetDefaults();
    mMasterExpenseType = KindForId(id);
}

CMasterExpenseType::CMasterExpenseType(const CMasterExpenseType& source, CDocAccounting* document)
    : CNonVisual(kTemporaryId)
{
    CreateLists();
    mDocument = document;
    Put_MxptId(-1);
    SetDefaults();
    char name[kNameSize];
    source.Get_Name(name);
    Put_Name(name);
    Put_StringrefName(source.Get_StringrefName());
    Put_StringrefDesc(source.Get_StringrefDesc());
    Put_mb_IsOpen(source.Get_mb_IsOpen());
    mMasterExpenseType = source.mMasterExpenseType;
}

CMasterExpenseType::CMasterExpenseType(LStream* stream, FourCharCode version, CDocAccounting* document)
    : CNonVisual(stream, version, document)
{
    CreateLists();
    mDocument = document;
    SetObjectType(type::kMasterExpenseType);
    const ObjectIdT storedId = Get_Id();

    AmountT storedBalance = 0.0;   // totals come from the bookings, never from the file
    stream->ReadAmountT(storedBalance);
    ObjectIdT parent = storedId;
    stream->ReadObjectIdT(parent);
    mMasterExpenseType = static_cast<MasterExpenseTypeT>(storedId & 0xFF);
    if (version::AtLeast(version, version::k0_90)) stream->ReadEnumT(mMasterExpenseType);
    if (version::AtLeast(version, kColourVersion)) mColor = ReadColor(stream);

    Put_MxptId(storedId);
    // Old files numbered their own income group 7; it becomes the predefined
    // group 0, unless the document has that one already.
    if (storedId == kLowestNewId && equalsCaseInsensitive(Get_StringrefName(), "Income") &&
        !GroupWithId(document, group_kind::kIncome))
        Put_MxptId(group_kind::kIncome);
    mParentId = Get_Id();
    // The parent's record came first; joined last, once every read is done.
    if (parent != storedId) Put_mParentId(parent);
}

CMasterExpenseType::~CMasterExpenseType()
{
    if (mParentPtr && mParentPtr->mDetailFolders) {
        mParentPtr->mDetailFolders->StopBroadcasting();
        mParentPtr->mDetailFolders->RemoveObject(this);
        mParentPtr->mDetailFolders->StartBroadcasting();
    }
    if (mDetailFolders) {
        auto count = static_cast<ArrayIndexT>(mDetailFolders->GetCount());
        for (ArrayIndexT i = 1; i <= count; ++i) {
            auto* sub = static_cast<CMasterExpenseType*>(mDetailFolders->ObjectAt(i));
            if (sub && sub->mParentPtr == this) sub->mParentPtr = nullptr;
        }
    }
    // Categories cache their group whether or not they are filed in it.
    CNamedListArray* documentList = mDocument ? mDocument->mExpenseTypeList.get() : nullptr;
    for (CNamedListArray* categories : {mDetails.get(), documentList}) {
        auto count = categories ? static_cast<ArrayIndexT>(categories->GetCount()) : 0;
        for (ArrayIndexT i = 1; i <= count; ++i) {
            CNonVisual* object = categories->ObjectAt(i);
            if (object && object->Get_ObjectType() == type::kExpenseType)
                static_cast<CExpenseType*>(object)->ForgetGroup(this);
        }
    }
}

void CMasterExpenseType::CreateLists()
{
    mDetailFolders = std::make_unique<CNamedListArray>(new LNamedlistArrayComparator, false);
    mDetails = std::make_unique<CNamedListArray>(new LNamedlistArrayComparator, false);
}

void CMasterExpenseType::SetDefaults()
{
    mColor = RGBColor();
    Put_Name("Name");
    SetObjectType(type::kMasterExpenseType);
    mBalance = 0.0;
    mParentPtr = nullptr;
    mParentId = Get_Id();
}

bool CMasterExpenseType::Put_MxptId(ObjectIdT id)
{
    const bool wasTopLevel = mParentId == Get_Id();
    if (id >= 0) {
        StoreId(id);
        RaiseCounter(Ids().mi_MxptNr, id);
    } else {
        if (Ids().mi_MxptNr < kLowestNewId - 1) Ids().mi_MxptNr = kLowestNewId - 1;
        StoreId(NewGroupId());
    }
    if (wasTopLevel) mParentId = Get_Id();
    return true;
}

ObjectIdT CMasterExpenseType::NewGroupId() const
{
    ObjectIdT& counter = Ids().mi_MxptNr;
    if (counter < kMaxCategoryGroupId) return NextId(counter);
    // The counter has passed what a category can name: the
    // lowest id this document does not use serves instead.
    const CNamedListArray* groups = mDocument ? mDocument->mMasterExpenseTypeList.get() : nullptr;
    for (ObjectIdT id = kLowestNewId; groups && id <= kMaxCategoryGroupId; ++id) {
        if (!groups->GetValueForId(id)) return id;
    }
    return NextId(counter);
}

// --- totals

double CMasterExpenseType::Get_thisYearsAverageMonth() const
{
    return MonthlyAverage(mDocument, mThisYearsBalance, 0);
}

double CMasterExpenseType::Get_PreviousYearsAverageMonth() const
{
    return MonthlyAverage(mDocument, mLastYearsBalance, 1);
}

double CMasterExpenseType::AddTo(double total, double thisYear, double lastYear, double lastYearToDate)
{
    mBalance = SettledSum(mBalance + total);
    mThisYearsBalance = SettledSum(mThisYearsBalance + thisYear);
    mLastYearsBalance = SettledSum(mLastYearsBalance + lastYear);
    mLastYearsBalanceYTD = SettledSum(mLastYearsBalanceYTD + lastYearToDate);
    if (CMasterExpenseType* parent = ResolveParent()) parent->AddTo(total, thisYear, lastYear, lastYearToDate);
    BroadcastMessage(msg::kBalanceChanged, this);
    return mBalance;
}

bool CMasterExpenseType::SetNewHomeCurrency(CCurrency*, CCurrency*, double rate)
{
    mBalance = SettledSum(mBalance * rate);
    mThisYearsBalance = SettledSum(mThisYearsBalance * rate);
    mLastYearsBalance = SettledSum(mLastYearsBalance * rate);
    mLastYearsBalanceYTD = SettledSum(mLastYearsBalanceYTD * rate);
    return true;
}

// --- kind

bool CMasterExpenseType::Put_mMasterExpenseType(MasterExpenseTypeT kind)
{
    if (kind == mMasterExpenseType) return false;
    if (!IsRootItem()) {
        CErrorManager::RaiseError(164);
        return false;
    }
    if (mDetails->GetCount() > 0) {
        CErrorManager::RaiseError(145);
        return false;
    }
    if (mDetailFolders->GetCount() > 0) {
        CErrorManager::RaiseError(146);
        return false;
    }
    mMasterExpenseType = kind;
    return true;
}

unsigned char CMasterExpenseType::IsExpense(bool strict) const
{
    if (mMasterExpenseType == group_kind::kExpense) return 1;
    if (strict) return 0;
    return IsOpeningBalance() || IsCorrection() ? 2 : 0;
}

unsigned char CMasterExpenseType::IsIncome(bool strict) const
{
    if (mMasterExpenseType == group_kind::kIncome) return 1;
    if (strict) return 0;
    return IsOpeningBalance() || IsCorrection() ? 2 : 0;
}

long CMasterExpenseType::Get_WarningLevel(unsigned char) const
{
    switch (mMasterExpenseType) {
    case group_kind::kIncome:
    case group_kind::kOpeningBalance:
    case group_kind::kCorrection:
        return 1;
    case group_kind::kExpense:
        return 0;
    default:
        return 3;
    }
}

void CMasterExpenseType::GetObjectDescription(std::string& first, std::string& second,
                                              std::string& third, unsigned char& flag) const
{
    const std::string category = localized("ExpType");
    first += category;
    second += localized("MexpType");
    third += category;
    flag = 1;
}

// --- colour

RGBColor CMasterExpenseType::Get_Color() const
{
    if (mColor.IsWhite()) {
        if (const CMasterExpenseType* parent = ResolveParent()) return parent->Get_Color();
    }
    return mColor;
}

bool CMasterExpenseType::Put_Color(RGBColor color)
{
    mColor = color;
    return true;
}

// --- tree

CMasterExpenseType* CMasterExpenseType::ResolveParent() const
{
    if (mParentId == Get_Id()) return nullptr;
    if (!mParentPtr) mParentPtr = GroupWithId(mDocument, mParentId);
    return mParentPtr;
}

void CMasterExpenseType::BecomeTopLevel()
{
    mParentId = Get_Id();
    mParentPtr = nullptr;
}

CMasterExpenseType* CMasterExpenseType::Get_mParentTypePtr() const
{
    return ResolveParent();
}

bool CMasterExpenseType::IsRootItem()
{
    if (mParentId == Get_Id()) return true;
    if (!ResolveParent()) {
        BecomeTopLevel();
        return true;
    }
    return false;
}

bool CMasterExpenseType::isSupertypeOfThis(const CMasterExpenseType* other) const
{
    if (!other) return false;
    // A damaged tree could loop; each group is visited once.
    std::unordered_set<const CMasterExpenseType*> seen{this};
    for (const CMasterExpenseType* ancestor = ResolveParent(); ancestor;
         ancestor = ancestor->ResolveParent()) {
        if (ancestor == other) return true;
        if (!seen.insert(ancestor).second) break;
    }
    return false;
}

bool CMasterExpenseType::IsSubItemAcceptable(FourCharCode typeCode, CNonVisual* candidate) const
{
    if (typeCode == type::kExpenseType) {
        const CExpenseType* category = CategoryOf(candidate);
        if (!category) return false;
        switch (mMasterExpenseType) {
        case group_kind::kTransfer:
            return category->IsTransfer();
        case group_kind::kOpeningBalance:
            return category->IsOpeningBalance();
        case group_kind::kCorrection:
            return category->IsCorrection();
        case group_kind::kExpense:
            return category->IsExpense(true) != 0;
        case group_kind::kIncome:
            return category->IsIncome(true);
        default:
            return false;
        }
    }
    if (typeCode != type::kMasterExpenseType || !candidate ||
        candidate->Get_ObjectType() != type::kMasterExpenseType)
        return false;
    auto* group = static_cast<CMasterExpenseType*>(candidate);
    if (isSupertypeOfThis(group)) return false;
    if (mDetailFolders->FetchIndexOfObject(group) > 0) return false;
    return group->mMasterExpenseType == mMasterExpenseType;
}

bool CMasterExpenseType::Put_mParentId(ObjectIdT id)
{
    CMasterExpenseType* newParent = GroupWithId(mDocument, id);
    // A refused move leaves the group where it was: parent, lists and totals.
    if (!newParent || !newParent->IsSubItemAcceptable(type::kMasterExpenseType, this)) return false;

    if (CMasterExpenseType* oldParent = ResolveParent()) oldParent->RemoveMasterExpenseType(this);
    if (id == Get_Id()) {
        BecomeTopLevel();
        return true;
    }
    mParentId = id;
    mParentPtr = newParent;
    newParent->AddMasterExpenseType(this, 0);
    return true;
}

bool CMasterExpenseType::AddMasterExpenseType(CMasterExpenseType* subGroup, unsigned char)
{
    // A listed sub-group is counted already; adding it again would count it twice.
    if (!subGroup || mDetailFolders->FetchIndexOfObject(subGroup) > 0) return true;
    AddTo(subGroup->mBalance, subGroup->mThisYearsBalance, subGroup->mLastYearsBalance,
          subGroup->mLastYearsBalanceYTD);
    mDetailFolders->AppendObject(subGroup);
    mDetailFolders->SetNotSorted();
    mDetailFolders->Sort();
    BroadcastMessage(msg::kChildTypesChanged);
    return true;
}

bool CMasterExpenseType::RemoveMasterExpenseType(CMasterExpenseType* subGroup)
{
    if (!subGroup || mDetailFolders->FetchIndexOfObject(subGroup) == 0) return false;
    AddTo(-subGroup->mBalance, -subGroup->mThisYearsBalance, -subGroup->mLastYearsBalance,
          -subGroup->mLastYearsBalanceYTD);
    mDetailFolders->RemoveObject(subGroup);
    BroadcastMessage(msg::kChildTypesChanged);
    return true;
}

bool CMasterExpenseType::AddAccount(CNonVisual* category, bool addTotals)
{
    if (!category) return false;
    if (mDetails->FetchIndexOfObject(category) > 0) return true;
    mDetails->AppendObject(category);
    if (addTotals) {
        if (const CExpenseType* detail = CategoryOf(category))
            AddTo(detail->Get_Amount(), detail->Get_thisYearsBalance(), detail->Get_lastYearsBalance(),
                  detail->Get_lastYearsBalanceYTD());
    }
    return true;
}

bool CMasterExpenseType::RemoveAccount(CNonVisual* category)
{
    if (!category || !mDetails->RemoveObject(category)) return false;
    if (const CExpenseType* detail = CategoryOf(category))
        AddTo(-detail->Get_Amount(), -detail->Get_thisYearsBalance(), -detail->Get_lastYearsBalance(),
              -detail->Get_lastYearsBalanceYTD());
    return true;
}

// --- deletion and persistence

bool CMasterExpenseType::BeforeDelete()
{
    if (mDetailFolders->GetCount() > 0) {
        CErrorManager::RaiseError(177);
        return false;
    }
    if (mDetails->GetCount() > 0) {
        CErrorManager::RaiseError(176);
        return false;
    }
    if (Get_Id() >= group_kind::kIncome && Get_Id() <= group_kind::kCorrection) {
        CErrorManager::RaiseError(187);
        return false;
    }
    if (CMasterExpenseType* parent = ResolveParent()) parent->RemoveMasterExpenseType(this);
    mParentPtr = nullptr;
    return true;
}

void CMasterExpenseType::PutStream(LStream* stream)
{
    CNonVisual::PutStream(stream);
    stream->WriteAmountTT(mBalance);
    stream->WriteObjectIdT(mParentId);
    stream->WriteEnumT(mMasterExpenseType);
    WriteColor(stream, mColor);
    // The sub-groups follow, depth first, so that every parent precedes its children.
    auto count = static_cast<ArrayIndexT>(mDetailFolders->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) mDetailFolders->ObjectAt(i)->PutStream(stream);
}

bool CMasterExpenseType::Export(LStream* stream, char separator) const
{
    CNonVisual::Export(stream, separator);
    char parentName[kNameSize];
    if (const CMasterExpenseType* parent = ResolveParent())
        parent->Get_Name(parentName);
    else
        Get_Name(parentName);
    std::string line = CDecimal::DoubleToString(mBalance);
    line += '\t';
    line += std::to_string(mParentId);
    line += '\t';
    line += parentName;
    line += '\t';
    line += std::to_string(mMasterExpenseType);
    line += '\r';
    stream->WriteBlock(line.data(), static_cast<std::int32_t>(line.size()));
    return true;
}

} // namespace ch
