#include "ui/controls/CPopupListDataSource.h"

#include <algorithm>

#include "bridge/TextColours.h"
#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"
#include "model/CNonvisualExaminator.h"

namespace ch {

CPopupListDataSource::~CPopupListDataSource() = default;

void CPopupListDataSource::setArray(CNamedListArray* list, FourCharCode shownType, long subType)
{
    mArray = list;
    mShownType = shownType;
    mSubType = subType;
    mArrayListener = std::make_unique<CListenerBridge>();
    mArrayListener->LinkObjectiveCObjectToBroadcaster(this, list);
    listenToObjects();
    collectOffered();
}

void CPopupListDataSource::setOffered(std::function<bool(const CNonVisual& object)> offers)
{
    mOffers = std::move(offers);
    collectOffered();
}

void CPopupListDataSource::collectOffered()
{
    mOffered.clear();
    if (!mOffers)
        return;
    for (ArrayIndexT i = 1; i <= CountOf(mArray); ++i)
        if (CNonVisual* object = mArray->ObjectAt(i); offered(object)) mOffered.push_back(object);
}

void CPopupListDataSource::listenToObjects()
{
    mObjectsListener = std::make_unique<CListenerBridge>();
    mObjectsListener->SetObjectToInform(this);
    for (ArrayIndexT i = 1; i <= CountOf(mArray); ++i)
        if (auto* object = static_cast<CNonVisual*>(mArray->ObjectAt(i))) object->AddListener(mObjectsListener.get());
}

void CPopupListDataSource::setType(FourCharCode shownType, long subType)
{
    mShownType = shownType;
    mSubType = subType;
}

int CPopupListDataSource::numberOfItems() const
{
    return static_cast<int>(mOffers ? mOffered.size() : CountOf(mArray));
}

CNonVisual* CPopupListDataSource::objectAtIndex(int index) const
{
    if (!mArray || index < 0 || index >= numberOfItems())
        return nullptr;
    return mOffers ? mOffered[static_cast<std::size_t>(index)] : mArray->ObjectAt(index + 1);
}

std::optional<std::string> CPopupListDataSource::objectValueAtIndex(int index) const
{
    const CNonVisual* object = objectAtIndex(index);
    if (!object)
        return std::nullopt;
    return object->Get_StringrefName();
}

std::optional<Colour> CPopupListDataSource::adornmentFor(const CNonVisual* object)
{
    if (CNonvisualExaminator::isAccount(object)) {
        if (CNonvisualExaminator::isPropertyAccount(object))
            return getGreenColor();
        if (CNonvisualExaminator::isDebtAccount(object))
            return getRedColor();
        return getBlueColor();
    }
    if (CNonvisualExaminator::isExpenseType(object)) {
        if (CNonvisualExaminator::isIncome(object))
            return getGreenColor();
        if (CNonvisualExaminator::isExpense(object))
            return getRedColor();
        return getBlueColor();
    }
    return std::nullopt;
}

std::optional<Colour> CPopupListDataSource::colourAtIndex(int index) const
{
    const CNonVisual* object = objectAtIndex(index);
    return object ? adornmentFor(object) : std::nullopt;
}

std::optional<std::string> CPopupListDataSource::getDescriptionForId(long id) const
{
    const CNonVisual* object = mArray ? mArray->GetValueForId(static_cast<ObjectIdT>(id)) : nullptr;
    if (!offered(object))
        return std::nullopt;
    return object->Get_StringrefName();
}

int CPopupListDataSource::getIndexOfId(long id) const
{
    if (!mArray)
        return -1;
    CNonVisual* object = nullptr;
    ArrayIndexT position = CNamedListArray::kNoPosition;
    mArray->GetValueForId(static_cast<ObjectIdT>(id), object, position);
    if (!offered(object))
        return -1;
    return mOffers ? positionAmongOffered(object) : static_cast<int>(position);
}

int CPopupListDataSource::positionAmongOffered(const CNonVisual* object) const
{
    const auto at = std::find(mOffered.begin(), mOffered.end(), object);
    return at == mOffered.end() ? -1 : static_cast<int>(at - mOffered.begin()) + 1;
}

CNonVisual* CPopupListDataSource::findByName(std::string_view name, int* position) const
{
    if (!mArray || name.empty())
        return nullptr;
    ArrayIndexT at = 0;
    CNonVisual* object = mArray->FindObjectByName(name, at);
    if (!offered(object))
        return nullptr;
    if (position)
        *position = mOffers ? positionAmongOffered(object) : static_cast<int>(at);
    return object;
}

long CPopupListDataSource::doesItemExist(std::string_view name) const
{
    const CNonVisual* object = findByName(name, nullptr);
    return object ? static_cast<long>(object->Get_Id()) : -1;
}

std::optional<int> CPopupListDataSource::indexOfItemWithStringValue(std::string_view name) const
{
    int position = 0;
    if (!findByName(name, &position))
        return std::nullopt;
    return position - 1;
}

std::string CPopupListDataSource::completedString(std::string_view typed) const
{
    if (!mArray || typed.empty())
        return std::string(typed);
    ArrayIndexT at = 0;
    const CNonVisual* object = mArray->FindObjectStartingWithName(typed, at);
    return offered(object) ? object->Get_StringrefName() : std::string(typed);
}

bool CPopupListDataSource::supportsCreation() const
{
    return creationHandler && mShownType != 0 && mShownType != kNoType;
}

void CPopupListDataSource::createNewObject()
{
    if (!creationHandler)
        return;
    if (mShownType == fourCC("ExpT") || mShownType == fourCC("AcnT")) {
        mObjectCreationIntiated = true;
        creationHandler(mShownType, mSubType);
    }
}

void CPopupListDataSource::ListenToMessage(MessageT message, void*)
{
    const bool listed = message == msg::kItemInserted || message == msg::kItemsRemoved;
    if (listed) {
        listenToObjects();
        collectOffered();
    }
    if ((listed || message == msg::kNameChanged) && listChanged) listChanged();
}

} // namespace ch
