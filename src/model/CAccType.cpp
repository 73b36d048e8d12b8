#include "model/CAccType.h"

#include <cstring>
#include <unordered_set>

#include "model/BookingLookups.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/ModelComparators.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LStream.h"
#include "platform/core/localized_strings.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

// The home-currency balance of an account of the type's account list.
double LocalBalanceOf(const CNonVisual* account)
{
    if (!account || account->Get_ObjectType() != type::kAccount) return 0.0;
    return static_cast<const CAccount*>(account)->Get_mLocalBalance();
}

} // namespace

// --- construction

CAccType::CAccType(CDocAccounting* document)
    : CNonVisual(-1, document)
{
    CreateLists();
    mDocument = document;
    SetDefaults();
}

CAccType::CAccType(ObjectIdT id, CDocAccounting* document) : CNonVisual(id, document)
{
    CreateLists();
    mDocument = document;
    SetDefaults();
}

CAccType::CAccType(const CAccType& source, CDocAccounting* document)
    : CNonVisual(-1, document)
{
    CreateLists();
    mDocument = document;
    SetDefaults();
    char name[kNameSize];
    source.CNonVisual::Get_Name(name);
    Put_Name(name);
    Put_StringrefName(source.CNonVisual::Get_StringrefName());
    Put_StringrefDesc(source.Get_StringrefDesc());
    Put_mb_IsOpen(source.Get_mb_IsOpen());
    mMasterType = source.mMasterType;
    std::memcpy(mDescription, source.mDescription, sizeof mDescription);
}

CAccType::CAccType(LStream* stream, FourCharCode version, CDocAccounting* document)
    : CNonVisual(stream, version, document)
{
    CreateLists();
    mDocument = document;
    SetObjectType(type::kAccountType);
    mParentType = Get_Id();

    if (version::AtLeast(version, version::k1_01)) stream->ReadCString(mAccountNumber);
    ObjectIdT masterType = 1;
    stream->ReadObjectIdT(masterType);
    mMasterType = masterType;
    stream->ReadCString(mDescription);
    AmountT storedBalance = 0.0;   // balances come from the accounts, never from the file
    stream->ReadAmountT(storedBalance);
    ObjectIdT parent = Get_Id();   // records before '0.80' name no parent: top level
    if (version::AtLeast(version, version::k0_80)) stream->ReadObjectIdT(parent);
    if (version::AtLeast(version, version::k1_10)) {
        mAccountingNumberText = stream->ReadCFString();
    } else {
        mAccountingNumberText = MacRomanToUnicode(mAccountNumber);
        Put_StringrefDesc(MacRomanToUnicode(mDescription));
    }
    // Joined last, once every read that could throw is done: a half-read type
    // must not be left in a parent's list. The parent's record came first.
    if (parent != Get_Id()) Put_mParentType(parent);
}

CAccType::~CAccType()
{
    if (mParentTypePtr && mParentTypePtr->mDetailFolders) {
        mParentTypePtr->mDetailFolders->StopBroadcasting();
        mParentTypePtr->mDetailFolders->RemoveObject(this);
        mParentTypePtr->mDetailFolders->StartBroadcasting();
    }
    if (mDetailFolders) {
        auto count = static_cast<ArrayIndexT>(mDetailFolders->GetCount());
        for (ArrayIndexT i = 1; i <= count; ++i) {
            auto* child = static_cast<CAccType*>(mDetailFolders->ObjectAt(i));
            if (child && child->mParentTypePtr == this) child->mParentTypePtr = nullptr;
        }
    }
}

void CAccType::CreateLists()
{
    mDetails = std::make_unique<CNamedListArray>(new LNamedlistArrayComparator, false);
    mDetailFolders = std::make_unique<CNamedListArray>(new LNamedlistArrayComparator, false);
}

void CAccType::SetDefaults()
{
    Put_Name("Name");
    mMasterType = 1;
    mDescription[0] = '\0';
    mAccountNumber[0] = '\0';
    mAccountingNumberText.clear();
    SetObjectType(type::kAccountType);
    mParentType = Get_Id();
    mParentTypePtr = nullptr;
    mBalance = 0.0;
}

// --- fields

bool CAccType::Put_mMasterType(long masterType)
{
    mMasterType = masterType;
    return true;
}

void CAccType::Get_mDescription(char (&out)[kDescriptionSize]) const
{
    std::memcpy(out, mDescription, kDescriptionSize);
}

bool CAccType::Put_mDescription(const char* description)
{
    CopyToField(mDescription, kMaxDescriptionLength + 1, description);
    return true;
}

void CAccType::Get_mAccountNumber(char (&out)[kAccountNumberSize]) const
{
    std::memcpy(out, mAccountNumber, kAccountNumberSize);
}

bool CAccType::Put_mAccountNumber(const char* number)
{
    if (!number) {
        mAccountNumber[0] = '\0';
        mAccountingNumberText.clear();
        return true;
    }
    CopyToField(mAccountNumber, number);
    mAccountingNumberText = MacRomanToUnicode(mAccountNumber);
    BroadcastMessage(msg::kNameChanged);
    return true;
}

bool CAccType::Put_StringRefAccountingNumber(TextRef text)
{
    std::string_view value = text.value_or(std::string_view());
    if (equalsCaseInsensitive(mAccountingNumberText, value)) return true;
    mAccountingNumberText = std::string(value);
    return true;
}

bool CAccType::Import(const char* description, long, long)
{
    if (!description) return false;
    Put_mDescription(description);
    return true;
}

// --- names

void CAccType::Get_Name(char (&out)[kNameSize]) const
{
    char name[kNameSize];
    CNonVisual::Get_Name(name);
    if (mAccountNumber[0] == '\0') {
        std::memcpy(out, name, kNameSize);
        return;
    }
    std::string text = std::string(mAccountNumber) + ":" + name;
    CopyToField(out, text.c_str());
}

void CAccType::Get_NameOnly(char (&out)[kNameSize]) const
{
    CNonVisual::Get_Name(out);
}

const std::string& CAccType::Get_StringrefName() const
{
    if (mAccountingNumberText.empty()) return CNonVisual::Get_StringrefName();
    return KeepMadeName(mDisplayName, mAccountingNumberText + " : " + CNonVisual::Get_StringrefName());
}

const std::string& CAccType::Get_StringRefNameOnly() const
{
    return CNonVisual::Get_StringrefName();
}

long CAccType::Get_WarningLevel(unsigned char) const
{
    if (thisIsADebtAccount()) return 0;
    if (thisIsAProfitAndLossAccount()) return 3;
    return 1;
}

void CAccType::GetObjectDescription(std::string& first, std::string& second, std::string& third,
                                    unsigned char& flag) const
{
    first += localized("AccountType");
    second += localized("Account");
    third += localized("AccountType");
    flag = 1;
}

// --- tree

CAccType* CAccType::ResolveParent() const
{
    if (mParentType == Get_Id()) return nullptr;
    if (!mParentTypePtr) mParentTypePtr = booking::FindAccountType(mDocument, mParentType);
    return mParentTypePtr;
}

bool CAccType::IsRootItem()
{
    if (mParentType == Get_Id()) return true;
    CAccType* parent = ResolveParent();
    if (!parent) {
        mParentType = Get_Id();
        mParentTypePtr = nullptr;
        return true;
    }
    mParentType = parent->Get_Id();
    return false;
}

bool CAccType::isSupertypeOfThis(const CAccType* type) const
{
    if (!type) return false;
    // A damaged tree could loop; each type is visited once.
    std::unordered_set<const CAccType*> seen{this};
    for (const CAccType* ancestor = ResolveParent(); ancestor; ancestor = ancestor->ResolveParent()) {
        if (ancestor == type) return true;
        if (!seen.insert(ancestor).second) break;
    }
    return false;
}

bool CAccType::IsSubItemAcceptable(FourCharCode typeCode, CNonVisual* candidate) const
{
    if (typeCode == type::kAccount) {
        if (!candidate || candidate->Get_ObjectType() != type::kAccount) return false;
        // An account is judged by its current type, so one already here is refused.
        CAccType* current = static_cast<CAccount*>(candidate)->Get_mAccountTypePtr();
        if (!current || current == this) return false;
        return current->mMasterType == mMasterType;
    }
    if (typeCode != type::kAccountType) return false;
    if (!candidate || candidate == this || candidate->Get_ObjectType() != type::kAccountType)
        return false;
    auto* child = static_cast<CAccType*>(candidate);
    if (child->mParentType == Get_Id() && child->mParentType != child->Get_Id()) return false;
    if (isSupertypeOfThis(child)) return false;
    return child->mMasterType == mMasterType;
}

bool CAccType::Put_mParentId(ObjectIdT parentId)
{
    return Put_mParentType(parentId);
}

bool CAccType::Put_mParentType(ObjectIdT id)
{
    CAccType* newParent = booking::FindAccountType(mDocument, id);
    // A refused move leaves the type where it was: parent, lists and balances.
    if (!newParent || !newParent->IsSubItemAcceptable(type::kAccountType, this)) return false;

    if (mParentType != Get_Id() && mParentType != -1) {
        if (CAccType* oldParent = ResolveParent()) oldParent->removeAccountType(this);
    }
    mParentType = id;
    if (id != Get_Id()) {
        mParentTypePtr = newParent;
        newParent->addAccountType(this);
    } else {
        mParentTypePtr = nullptr;
    }
    return true;
}

bool CAccType::addAccountType(CAccType* child)
{
    if (!child) return false;
    // A child already listed is counted already: adding it again would count
    // its balance twice up the chain.
    if (mDetailFolders->FetchIndexOfObject(child) > 0) return true;
    PostJoining(child->mBalance);
    mDetailFolders->AppendObject(child);
    mDetailFolders->SetNotSorted();
    mDetailFolders->Sort();
    BroadcastMessage(msg::kChildTypesChanged);
    return true;
}

bool CAccType::removeAccountType(CAccType* child)
{
    if (!child || mDetailFolders->FetchIndexOfObject(child) == 0) return false;
    PostLeaving(child->mBalance);
    mDetailFolders->RemoveObject(child);
    BroadcastMessage(msg::kChildTypesChanged);
    return true;
}

bool CAccType::AddAccount(CNonVisual* account, bool post)
{
    if (!account) return false;
    if (mDetails->FetchIndexOfObject(account) > 0) return true;
    auto count = static_cast<ArrayIndexT>(mDetails->GetCount());
    mDetails->InsertObjectAt(account, count > 0 ? count : 1);
    if (post) PostJoining(LocalBalanceOf(account));
    return true;
}

bool CAccType::RemoveAccount(CNonVisual* account)
{
    ArrayIndexT position = account ? mDetails->FetchIndexOfObject(account) : 0;
    if (position == 0) return false;
    mDetails->RemoveItemsAt(1, position);
    PostLeaving(LocalBalanceOf(account));
    return true;
}

// --- balances

bool CAccType::Post(double amount, bool debit)
{
    switch (mMasterType) {
    case 1:
    case 4:
    case 6:
        mBalance += debit ? -amount : amount;
        break;
    case 2:
    case 3:
    case 5:
        mBalance += debit ? amount : -amount;
        break;
    default:
        break;
    }
    if (CAccType* parent = ResolveParent()) parent->Post(amount, debit);
    if (mMasterType != 3) BroadcastMessage(msg::kBalanceChanged);
    return true;
}

bool CAccType::Debiteer(double amount)
{
    return Post(amount, true);
}

bool CAccType::Crediteer(double amount)
{
    return Post(amount, false);
}

bool CAccType::AdjustLocalBalance(double delta)
{
    // Every ancestor holds this type's balance, so each takes the delta too.
    std::unordered_set<const CAccType*> seen;
    for (CAccType* type = this; type && seen.insert(type).second; type = type->ResolveParent())
        type->mBalance += delta;
    return true;
}

double CAccType::RecalculateLocalBalance()
{
    double balance = 0.0;
    auto accounts = static_cast<ArrayIndexT>(mDetails->GetCount());
    for (ArrayIndexT i = 1; i <= accounts; ++i) balance += LocalBalanceOf(mDetails->ObjectAt(i));
    auto children = static_cast<ArrayIndexT>(mDetailFolders->GetCount());
    for (ArrayIndexT i = 1; i <= children; ++i)
        balance += static_cast<CAccType*>(mDetailFolders->ObjectAt(i))->RecalculateLocalBalance();
    mBalance = balance;
    return mBalance;
}

bool CAccType::Repair() const
{
    double sum = 0.0;
    auto accounts = static_cast<ArrayIndexT>(mDetails->GetCount());
    for (ArrayIndexT i = 1; i <= accounts; ++i) sum += LocalBalanceOf(mDetails->ObjectAt(i));
    return sum == mBalance;
}

// --- deletion and persistence

bool CAccType::BeforeDelete()
{
    if (mDetailFolders->GetCount() > 0) {
        CErrorManager::RaiseError(175);
        return false;
    }
    if (mDetails->GetCount() > 0) {
        CErrorManager::RaiseError(174);
        return false;
    }
    if (const CPreference* settings = mDocument ? mDocument->mPreference : nullptr) {
        const ObjectIdT id = Get_Id();
        if (id == settings->Get_mCustomerTurnoverAccT() || id == settings->Get_mCustomerOpenInvoiceAccT() ||
            id == settings->Get_mSupplierTurnoverAccT() || id == settings->Get_mSupplierOpenInvoicAccT() ||
            id == settings->Get_mVATReceivedAccT() || id == settings->Get_mVatPaidAccT() ||
            id == settings->Get_mDefPortfolioAccountType() || id == settings->Get_mDefPortfolioPLAccountType() ||
            id == settings->Get_mCreditCardAccountType()) {
            CErrorManager::RaiseError(233);
            return false;
        }
    }
    if (CAccType* parent = ResolveParent()) parent->removeAccountType(this);
    mParentTypePtr = nullptr;
    return true;
}

void CAccType::PutStream(LStream* stream)
{
    CNonVisual::PutStream(stream);
    stream->WriteCString(mAccountNumber);
    stream->WriteObjectIdT(static_cast<ObjectIdT>(mMasterType));
    stream->WriteCString(mDescription);
    stream->WriteAmountTT(mBalance);
    stream->WriteObjectIdT(mParentType);
    stream->WriteCFString(mAccountingNumberText);
    // The subtree follows its root, so that every parent precedes its children.
    auto children = static_cast<ArrayIndexT>(mDetailFolders->GetCount());
    for (ArrayIndexT i = 1; i <= children; ++i) mDetailFolders->ObjectAt(i)->PutStream(stream);
}

bool CAccType::Export(LStream* stream, char separator) const
{
    CNonVisual::Export(stream, separator);
    std::string line = std::to_string(mMasterType);
    line += '\t';
    line += mDescription;
    line += '\t';
    line += CDecimal::DoubleToString(mBalance);
    line += '\t';
    line += std::to_string(mParentType);
    line += '\r';
    stream->WriteBlock(line.data(), static_cast<std::int32_t>(line.size()));
    return true;
}

} // namespace ch
