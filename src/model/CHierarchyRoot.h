#pragma once
// CHierarchyRoot: the object that stands above the account-type tree and the
// category-group tree. It points at the list it stands above (not owned) and
// knows the type code of the objects in it. Its record is the common header
// alone.

#include <string>

#include "model/CNonVisual.h"

namespace ch {

class CHierarchyRoot : public CNonVisual {
public:
    // Name "Name", type 'HirR', no contents.
    CHierarchyRoot();
    explicit CHierarchyRoot(ObjectIdT id, CDocAccounting* document = nullptr);
    // Reads the header only.
    CHierarchyRoot(LStream* stream, CDocAccounting* document, FourCharCode version);

    void SetDefaults();
    void PutContents(CNamedListArray* contents, FourCharCode contentsType);
    FourCharCode Get_ContentsType() const { return mContentsType; }

    // The contents list.
    CNamedListArray* Get_DetailFolders() const override { return mContents; }
    // True above account types and category groups.
    bool OnlyGroupsBelow() const override;

    // flag 0; the kind label is appended to title and kind, an empty text to subtitle.
    void GetObjectDescription(std::string& title, std::string& subtitle, std::string& kind,
                              unsigned char& flag) const;

private:
    CNamedListArray* mContents = nullptr;
    FourCharCode mContentsType = 0;
};

} // namespace ch
