#pragma once
// The list behind an object pop-up (a combo box or a table cell): one model
// list of the document, shown by name. It maps typed names to ids and back,
// completes typed text with the first listed name that begins with it
// (ignoring case), colours the entries by kind and tells its pop-up when the
// list gains or loses objects or a listed object is renamed. It can also ask
// for a missing account or category to be created (through the creation
// handler its owner sets).
//
// Entries are addressed 0-based; positions in the model list are 1-based.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/CListenerBridge.h"
#include "bridge/Colour.h"
#include "platform/core/four_char_code.h"

namespace ch {

class CNamedListArray;
class CNonVisual;

class CPopupListDataSource : public MessageReceiver {
public:
    static constexpr FourCharCode kNoType = fourCC("NoNe");

    CPopupListDataSource() = default;
    ~CPopupListDataSource() override;
    CPopupListDataSource(const CPopupListDataSource&) = delete;
    CPopupListDataSource& operator=(const CPopupListDataSource&) = delete;

    // The list (not owned; may be null), the type of its objects ('AcnT',
    // 'ExpT', 'CurR' or kNoType) and the account type or category group of a
    // new object (-1: none). Listens to the list from now on.
    void setArray(CNamedListArray* list, FourCharCode shownType = kNoType, long subType = -1);
    void setType(FourCharCode shownType, long subType);
    CNamedListArray* array() const { return mArray; }
    FourCharCode shownType() const { return mShownType; }
    long subType() const { return mSubType; }

    // Leaves out of the pop-up the listed objects it does not take: they are
    // neither shown nor found by name or id. Set before the list.
    void setOffered(std::function<bool(const CNonVisual& object)> offers);

    // Called when objects were inserted into or removed from the list, or a
    // listed object's name changed.
    std::function<void()> listChanged;
    // Asked to start creating an object of the type below the sub-type;
    // without it nothing can be created.
    std::function<void(FourCharCode type, long subType)> creationHandler;

    int numberOfItems() const;
    // The name of entry i; none outside the list.
    std::optional<std::string> objectValueAtIndex(int index) const;
    CNonVisual* objectAtIndex(int index) const;
    // The colour of entry i: accounts green (property), red (debt), blue;
    // categories green (income), red (expense), blue; none for other objects.
    std::optional<Colour> colourAtIndex(int index) const;
    static std::optional<Colour> adornmentFor(const CNonVisual* object);

    // The name of the listed object with the id; none when it is not listed.
    std::optional<std::string> getDescriptionForId(long id) const;
    // Its 1-based position; -1 when not listed.
    int getIndexOfId(long id) const;
    // The id of the first listed object whose name is or begins with the
    // text, ignoring case; -1 for empty text or none.
    long doesItemExist(std::string_view name) const;
    // The 0-based entry of that object; none.
    std::optional<int> indexOfItemWithStringValue(std::string_view name) const;
    // That object's full name; the text unchanged when there is none.
    std::string completedString(std::string_view typed) const;

    bool supportsCreation() const;
    // Accounts and categories only.
    void createNewObject();
    bool objectCreationInitiated() const { return mObjectCreationIntiated; }

    void ListenToMessage(MessageT message, void* param) override;

private:
    CNonVisual* findByName(std::string_view name, int* position) const;
    bool offered(const CNonVisual* object) const { return object && (!mOffers || mOffers(*object)); }
    // The objects shown, when some are left out.
    void collectOffered();
    // Its 1-based place among them; -1 when not offered.
    int positionAmongOffered(const CNonVisual* object) const;
    // Hears each listed object's renaming, the objects listed now.
    void listenToObjects();

    CNamedListArray* mArray = nullptr;
    std::unique_ptr<CListenerBridge> mArrayListener;
    std::unique_ptr<CListenerBridge> mObjectsListener;
    std::function<bool(const CNonVisual&)> mOffers;
    std::vector<CNonVisual*> mOffered;
    FourCharCode mShownType = kNoType;
    long mSubType = -1;
    bool mObjectCreationIntiated = false;
};

} // namespace ch
