#include "import/views/ImportRecord.h"

#include "import/CImpTItem.h"

namespace ch {

std::optional<long> ImportRecord::mOtherAccountId() const
{
    const auto line = mLine.lock();
    if (!line || line->mOtherAccountId() <= 0) return std::nullopt;
    return static_cast<long>(line->mOtherAccountId());
}

void ImportRecord::setMOtherAccountId(long accountId)
{
    if (const auto line = mLine.lock()) line->setMOtherAccountId(static_cast<ObjectIdT>(accountId));
}

void ImportRecord::setMCounterPartyId(long ownerId)
{
    if (const auto line = mLine.lock()) line->setMCounterPartyId(static_cast<ObjectIdT>(ownerId));
}

void ImportRecord::setMExpenseTypeId(long categoryId, bool recalculate)
{
    if (const auto line = mLine.lock()) line->setMExpenseTypeId(static_cast<ObjectIdT>(categoryId), recalculate);
}

bool ImportRecord::performCallback(std::string_view selectorName, const std::shared_ptr<Dictionary>& arguments)
{
    if (selectorName != "setMOtherAccountId:" || !arguments) return false;
    const Value* id = arguments->find(std::string(sheet_key::kNewKey));
    if (!id) return false;
    if (const auto number = id->asInteger()) setMOtherAccountId(static_cast<long>(*number));
    return true;
}

} // namespace ch
