#include "model/CHierarchyRoot.h"

namespace ch {

CHierarchyRoot::CHierarchyRoot()
{
    SetDefaults();
}

CHierarchyRoot::CHierarchyRoot(ObjectIdT id, CDocAccounting* document)
    : CNonVisual(id, document)
{
    SetDefaults();
}

CHierarchyRoot::CHierarchyRoot(LStream* stream, CDocAccounting* document, FourCharCode version)
    : CNonVisual(stream, version, document)
{
    Put_Document(document);
}

void CHierarchyRoot::SetDefaults()
{
    SetObjectType(type::kHierarchyRoot);
}

void CHierarchyRoot::PutContents(CNamedListArray* contents, FourCharCode contentsType)
{
    mContents = contents;
    mContentsType = contentsType;
}

bool CHierarchyRoot::OnlyGroupsBelow() const
{
    return mContentsType == type::kAccountType || mContentsType == type::kMasterExpenseType;
}

void CHierarchyRoot::GetObjectDescription(std::string& title, std::string& subtitle,
                                          std::string& kind, unsigned char& flag) const
{
    flag = 0;
    const char* label = mContentsType == type::kAccountType         ? "Account Type "
                        : mContentsType == type::kMasterExpenseType ? "Master Expense Type "
                                                                    : "Non Visual";
    title += label;
    kind += label;
    subtitle += "";
}

} // namespace ch
