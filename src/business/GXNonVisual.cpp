#include "business/GXNonVisual.h"

#include <limits>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/DeveloperLog.h"
#include "business/BusinessDocument.h"
#include "business/ArchivedFields.h"
#include "business/StoredValues.h"
#include "model/CDocAccounting.h"
#include "platform/core/unicode.h"

namespace ch::business {

namespace {

std::optional<std::int32_t> clampedId(std::optional<long> id)
{
    if (!id)
        return std::nullopt;
    return Value(*id).toInt();
}

} // namespace

GXNonVisual::GXNonVisual(BusinessDocument* document) : mParentDocument(document) {}

GXNonVisual::~GXNonVisual() = default;

void GXNonVisual::booksChanged()
{
    if (!mParentDocument) return;
    if (CDocAccounting* books = mParentDocument->bridgeDocument().accounting()) books->SetModified(true);
}

void GXNonVisual::setParentDocument(BusinessDocument* document)
{
    mParentDocument = document;
    std::int32_t* counter = document ? idCounter(document) : nullptr;
    if (counter && mIdKey && *mIdKey > *counter) *counter = *mIdKey;
}

std::int32_t* GXNonVisual::idCounter(BusinessDocument*) const
{
    return nullptr;
}

void GXNonVisual::setObjectType(std::optional<std::string> type)
{
    change(mObjectType, std::move(type), "objectType");
}

void GXNonVisual::setIdKey(std::optional<long> id)
{
    change(mIdKey, clampedId(id), "idKey");
}

void GXNonVisual::setName(std::optional<std::string> name)
{
    change(mName, std::move(name), "name");
}

void GXNonVisual::setDescription(std::optional<std::string> description)
{
    change(mDescription, std::move(description), "description");
}

void GXNonVisual::setIdKeyCountedBy(std::int32_t& counter, std::optional<long> id)
{
    // A missing number reads as 0, as the number of nothing does.
    const std::int32_t given = clampedId(id).value_or(0);
    const std::int32_t current = mIdKey.value_or(-1);
    std::optional<std::int32_t> newId;
    if (given < 0 && current < 0) {
        // The counter never wraps: at its end it stays there.
        if (counter < std::numeric_limits<std::int32_t>::max())
            ++counter;
        newId = counter;
    } else {
        newId = clampedId(id);
        if (given > counter)
            counter = given;
    }
    if (current < 1)
        change(mIdKey, newId, "idKey");
}

Dictionary GXNonVisual::dictionaryRepresentation() const
{
    Dictionary dictionary;
    stored::putPresent(dictionary, "Type", mObjectType);
    stored::putPresent(dictionary, "Name", mName);
    if (mIdKey)
        dictionary.set("Id", Value(*mIdKey));
    if (mDescription && !mDescription->empty())
        dictionary.set("Description", Value(*mDescription));
    return dictionary;
}

bool GXNonVisual::setEqualToDictionaryRepresentation(const Dictionary& dictionary)
{
    setObjectType(stored::text(dictionary["Type"]));
    setName(stored::text(dictionary["Name"]));
    setIdKey(stored::integer(dictionary["Id"]));
    setDescription(stored::text(dictionary["Description"]));
    return true;
}

bool GXNonVisual::matches(std::string_view searchText) const
{
    return (mName && containsCaseInsensitive(*mName, searchText)) ||
           (mDescription && containsCaseInsensitive(*mDescription, searchText));
}

std::optional<std::string> GXNonVisual::getAccountNameForId(std::optional<long> accountId) const
{
    if (!accountId) {
        developerLog("getAccountNameForId called with NIL");
        return std::nullopt;
    }
    if (!mParentDocument) {
        developerLog("getAccountNameForId called but no document set");
        return std::nullopt;
    }
    std::shared_ptr<CAcnTItem> account =
        mParentDocument->bridgeDocument().getAccountItemForId(static_cast<ObjectIdT>(*accountId));
    if (!account)
        return std::nullopt;
    return account->getName();
}

bool GXNonVisual::objectCanBeDeletedWithMessage(bool) const
{
    return false;
}

void GXNonVisual::encodeWithCoder(KeyedArchiver& coder) const
{
    coder.encodeValue(stored::toValue(mObjectType));
    coder.encodeValue(mIdKey ? Value(*mIdKey) : Value());
    coder.encodeValue(stored::toValue(mName));
    coder.encodeValue(stored::toValue(mDescription));
}

void GXNonVisual::decodeBaseValues(ArchivedFields& fields)
{
    setObjectType(fields.text("objectType"));
    setIdKey(fields.integer("idKey"));
    setName(fields.text("name"));
    setDescription(fields.text("description"));
}

} // namespace ch::business
