#pragma once
// CBudgetHierarchyRoot ('BhiR'): a folder root of a budget's outline, listing
// either the account types ('AccT') or the category groups ('MxpT') under
// which the budget's details are shown. Budget headers rebuild their roots
// whenever they are made or read; roots are never written to the file.
//
// The root listens to the objects it lists and drops any that is destroyed,
// so its list never holds a deleted account type or group.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/CNonVisual.h"
#include "model/foundation/LListener.h"

namespace ch {

class CBudgetHierarchyRoot : public CNonVisual, public LListener {
public:
    // A new empty list of its own; name "Name", type 'BhiR'.
    CBudgetHierarchyRoot();
    explicit CBudgetHierarchyRoot(ObjectIdT id, CDocAccounting* document = nullptr);
    // Reads the common record header only.
    CBudgetHierarchyRoot(LStream* stream, CDocAccounting* document, FourCharCode version);
    ~CBudgetHierarchyRoot() override;

    // Name "Name", type 'BhiR'.
    void SetDefaults();
    // Lists the given list instead, which the root neither owns nor follows.
    void PutContents(CNamedListArray* contents);
    // Stores the type and names the root "Expense Types" for 'MxpT', else "Account Types".
    void PutContentsType(FourCharCode contentsType);
    // Inserts the object at position 1 of the list.
    void AddContentsElement(CNonVisual* object);

    FourCharCode Get_ContentsType() const { return mContentsType; }
    CNamedListArray* Get_DetailFolders() const override { return mContents; }
    // True for account types and category groups.
    bool OnlyGroupsBelow() const override;

    // flag 0; "Account Type " or "Master Expense Type " appended to first and
    // third (an empty text to second), else "Non Visual" to first.
    void GetObjectDescription(std::string& first, std::string& second, std::string& third,
                              unsigned char& flag) const;

    void ListenToMessage(MessageT message, void* param) override;

private:
    std::unique_ptr<CNamedListArray> mOwnContents;
    CNamedListArray* mContents = nullptr;
    // The listed objects as the broadcasters they are, taken while they live:
    // a dying object can only be recognised by its broadcaster part.
    std::vector<std::pair<LBroadcaster*, CNonVisual*>> mFollowed;
    FourCharCode mContentsType = 0;
};

} // namespace ch
