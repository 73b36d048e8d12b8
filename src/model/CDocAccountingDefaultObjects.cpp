// The model root's single default objects: a category or a category group
// named from the localized texts.

#include <memory>

#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/CLocalize.h"

namespace ch {

CExpenseType* CDocAccounting::insertDefaultExpenseType(const char* nameKey, const char* descriptionKey,
                                                       ObjectIdT groupId)
{
    auto category = std::make_unique<CExpenseType>(this);
    char name[kNameSize];
    CLocalize::LocalizedName(nameKey, name);
    category->Put_Name(name);
    char description[kDescriptionSize];
    CLocalize::LocalizedDesc(descriptionKey, description);
    category->Put_mDescription(description);
    category->Put_mMasterType(groupId);
    if (mExpenseTypeList->InsertObjectAt(category.get(), 1) <= 0) return nullptr;
    return category.release();
}

CMasterExpenseType* CDocAccounting::insertDefaultMasterExpenseType(const char* nameKey,
                                                                   MasterExpenseTypeT kind, ObjectIdT parentId)
{
    auto group = std::make_unique<CMasterExpenseType>(this);
    // A category stores its group id in one byte: it could never name this group.
    if (group->Get_Id() > CMasterExpenseType::kMaxCategoryGroupId) {
        CErrorManager::RaiseError(CMasterExpenseType::kErrorGroupIdTooLarge);
        return nullptr;
    }
    char name[kNameSize];
    CLocalize::LocalizedName(nameKey, name);
    group->Put_Name(name);
    group->Put_mMasterExpenseType(kind);
    if (parentId >= 0) group->Put_mParentId(parentId);
    if (mMasterExpenseTypeList->InsertObjectAt(group.get(), 1) <= 0) return nullptr;
    return group.release();
}

} // namespace ch
