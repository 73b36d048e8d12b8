#include "model/budget/CBudgetHierarchyRoot.h"

#include "model/CNamedListArray.h"
#include "model/ModelComparators.h"

namespace ch {

CBudgetHierarchyRoot::CBudgetHierarchyRoot()
{
    SetDefaults();
}

CBudgetHierarchyRoot::CBudgetHierarchyRoot(ObjectIdT id, CDocAccounting* document)
    : CNonVisual(id, document)
{
    SetDefaults();
}

CBudgetHierarchyRoot::CBudgetHierarchyRoot(LStream* stream, CDocAccounting* document,
                                           FourCharCode version)
    : CNonVisual(stream, version, document)
{
    Put_Document(document);
    SetObjectType(type::kBudgetHierarchyRoot);
    mOwnContents = std::make_unique<CNamedListArray>(new LNamedlistArrayComparator, false);
    mContents = mOwnContents.get();
}

CBudgetHierarchyRoot::~CBudgetHierarchyRoot() = default;

void CBudgetHierarchyRoot::SetDefaults()
{
    Put_Name("Name");
    SetObjectType(type::kBudgetHierarchyRoot);
    if (!mOwnContents)
        mOwnContents = std::make_unique<CNamedListArray>(new LNamedlistArrayComparator, false);
    mContents = mOwnContents.get();
}

void CBudgetHierarchyRoot::PutContents(CNamedListArray* contents)
{
    mContents = contents;
}

void CBudgetHierarchyRoot::PutContentsType(FourCharCode contentsType)
{
    mContentsType = contentsType;
    Put_Name(contentsType == type::kMasterExpenseType ? "Expense Types" : "Account Types");
}

void CBudgetHierarchyRoot::AddContentsElement(CNonVisual* object)
{
    if (!object || !mContents) return;
    mContents->InsertObjectAt(object, 1);
    if (mContents != mOwnContents.get()) return;
    object->AddListener(this);
    mFollowed.emplace_back(object, object);
}

bool CBudgetHierarchyRoot::OnlyGroupsBelow() const
{
    return mContentsType == type::kAccountType || mContentsType == type::kMasterExpenseType;
}

void CBudgetHierarchyRoot::GetObjectDescription(std::string& first, std::string& /*second*/,
                                                std::string& third, unsigned char& flag) const
{
    // The second text only ever gets an empty text appended.
    flag = 0;
    if (mContentsType == type::kAccountType || mContentsType == type::kMasterExpenseType) {
        const char* label =
            mContentsType == type::kAccountType ? "Account Type " : "Master Expense Type ";
        first += label;
        third += label;
    } else {
        first += "Non Visual";
    }
}

void CBudgetHierarchyRoot::ListenToMessage(MessageT message, void* param)
{
    // A listed object is going away: forget every entry of it.
    if (message != msg::kBroadcasterDied || !mOwnContents) return;
    auto* dying = static_cast<LBroadcaster*>(param);
    for (auto entry = mFollowed.begin(); entry != mFollowed.end();) {
        if (entry->first != dying) {
            ++entry;
            continue;
        }
        // Only the pointer values are compared: the object is no longer whole.
        for (auto i = static_cast<ArrayIndexT>(mOwnContents->GetCount()); i >= 1; --i) {
            if (mOwnContents->ObjectAt(i) == entry->second) mOwnContents->RemoveItemsAt(1, i);
        }
        entry = mFollowed.erase(entry);
    }
}

} // namespace ch
