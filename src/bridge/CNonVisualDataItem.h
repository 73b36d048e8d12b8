#pragma once
// CNonVisualDataItem: the observable face of one model object for the
// interface. Pages, sheets and charts read and write a model object only
// through its item; the model's numbered messages reach the item through a
// CListenerBridge.
//
// An item is bound (it wraps a model object: getters read the object, setters
// write it and keep a copy) or detached (no object: a temporary item of a
// create sheet, a header row of an outline, or an item whose object was
// destroyed; getters answer the kept values, setters only keep them).
//
// Items of model objects come from the document's item registry, which holds
// them (std::shared_ptr); everyone else holds them weakly or for a while.
// Setters announce their key to observers (Observable). An announcement is a
// change to the books unless it says otherwise: announce() also marks the
// document changed when the item's object belongs to the books, so that no
// caller of a setter has to remember the change count; what an item keeps
// for the display alone goes through announceDisplayState(). Main thread only.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/CListenerBridge.h"
#include "bridge/CLevelCounters.h"
#include "bridge/Colour.h"
#include "bridge/GXMenuCommands.h"
#include "bridge/GXObjectDescriptionStrings.h"
#include "bridge/StyledText.h"
#include "model/foundation/ModelTypes.h"
#include "platform/core/four_char_code.h"
#include "platform/core/observable.h"
#include "platform/core/value.h"

namespace ch {

class BridgeDocument;
class CAnalysisArrayEncaplusator;
class CDocAccounting;
class CNonVisual;
class CNonVisualDataItemController;

// Keys of the dictionary form shared by every item.
inline constexpr std::string_view kPropertyObjectType = "ObjectType";
inline constexpr std::string_view kPropertyObjectName = "ObjectName";
inline constexpr std::string_view kPropertyObjectDescription = "ObjectDescription";

// Menu tags the items answer for.
namespace menu_tag {
inline constexpr int kCut = 12;
inline constexpr int kNewObject = 1100;
inline constexpr int kDelete = 1104;
inline constexpr int kNewObjectInside = 1105;
inline constexpr int kNewGroupInside = 1106;
inline constexpr int kNewTransaction = 1110;
inline constexpr int kTransferFrom = 1111;
inline constexpr int kTransferTo = 1112;
inline constexpr int kBookFor = 1113;
inline constexpr int kModify = 1114;
} // namespace menu_tag

// The answer of validateMenuItem: whether the command is enabled, and the
// title to show when the item gives one.
struct MenuItemValidation {
    bool enabled = false;
    std::optional<std::string> title;
};

// The text attributes of an outline row.
struct StyleAttributes {
    std::optional<Colour> foregroundColour;
    double paragraphSpacingBefore = 0.0;
};

class CNonVisualDataItem : public Observable,
                           public MessageReceiver,
                           public std::enable_shared_from_this<CNonVisualDataItem> {
public:
    using Ptr = std::shared_ptr<CNonVisualDataItem>;
    using ItemArray = std::vector<Ptr>;

    static constexpr double kDefaultRowHeight = 17.0;

    // A detached item (header rows, temporary items): no object, header level
    // -1, row height 17.
    CNonVisualDataItem();
    // An item bound to the object (null: detached). Takes the object's id and
    // name (at most 34 characters of its 8-bit name) as kept values and links
    // a listener bridge to the object.
    explicit CNonVisualDataItem(CNonVisual* source, const Ptr& parent = nullptr);
    // As above without the kept name, for items whose name is always read
    // from elsewhere (a booking line names its transaction): made by the tens
    // of thousands, they skip the copy.
    struct WithoutKeptName {};
    CNonVisualDataItem(CNonVisual* source, const Ptr& parent, WithoutKeptName);
    // Deletes the bridge, and the object when the item owns it.
    ~CNonVisualDataItem() override;

    CNonVisualDataItem(const CNonVisualDataItem&) = delete;
    CNonVisualDataItem& operator=(const CNonVisualDataItem&) = delete;

    // --- identity
    CNonVisual* getSourceItem() const { return mSourceItem; }
    bool mOwnsSourceItem() const { return mOwnsSource; }
    void setMOwnsSourceItem(bool owns) { mOwnsSource = owns; }
    // The model root that owns the object; null when detached.
    CDocAccounting* getCPPDocument() const;
    // The object's type code; 0 when detached.
    FourCharCode getObjectType() const;
    // Bound: getObjectType; detached: the kept code.
    FourCharCode objectType() const;
    // Keeps the code, only when detached.
    void setObjectType(FourCharCode type);
    std::string getObjectTypeAsString() const;
    bool isTransaction() const;
    // Bound: the object's id; detached: the kept id (none for a header row).
    std::optional<ObjectIdT> getId() const;
    // Bound: gives the object the id (0 for none); keeps the value.
    void setGetId(std::optional<ObjectIdT> id);
    // The object key (type code and decimal id); empty when detached.
    std::string calculateKey() const;

    BridgeDocument* parentDocument() const { return mParentDocument; }
    virtual void setParentDocument(BridgeDocument* document);
    Ptr mParent() const { return mParentItem.lock(); }
    void setMParent(const Ptr& parent) { mParentItem = parent; }
    bool newThisSession() const { return mNewThisSession; }
    void setNewThisSession(bool value);
    bool modifiedThisSession() const { return mModifiedThisSession; }
    void setModifiedThisSession(bool value);
    std::optional<std::int64_t> importTimeStamp() const { return mImportTimeStamp; }
    void setImportTimeStamp(std::optional<std::int64_t> stamp);

    // --- name and description
    // Bound: the object's Unicode name, else its 8-bit name; detached: the
    // kept name or "".
    virtual std::string getName() const;
    // Ignores none. Bound: the 8-bit name gets the text cut to 34 characters,
    // the Unicode name the whole text. Then keeps the text.
    virtual void setGetName(std::optional<std::string_view> name);
    // Bound: getName; detached: the localized "DELETEDITEM".
    virtual std::string description() const;
    // Bound: the object's Unicode description; detached: the kept one.
    virtual std::string descriptionSelf() const;
    // Bound: a text of 255 characters or more is cut to 254 before it goes to
    // the object. Keeps the (cut) text.
    virtual void setDescriptionSelf(std::optional<std::string_view> description);
    // The name contains the text, ignoring case.
    virtual bool matches(std::string_view text) const;
    // Copies the other item's name, and its id when this item is detached or
    // has a negative id.
    virtual void synchronizeWithObject(const CNonVisualDataItem& other);

    // --- status (status bytes of the model)
    // Bound: the object's status; detached: 0.
    virtual int objectStatus() const;
    // Bound: gives the object the status; detached: nothing.
    virtual void setObjectStatus(int status);
    // Checked (9) -> flagged (7) -> none (0) -> checked.
    virtual void toggleStatus();
    // Flagged (7) -> none (0); anything else -> flagged.
    virtual void toggleFlag();

    // --- outline and display
    virtual ItemArray children();
    void setChildren(std::optional<ItemArray> children);
    virtual std::size_t childrenCount();
    // The leaf objects below the item: the concatenation of the children's.
    virtual ItemArray leafArray();
    virtual ItemArray pieChartChildrenArray();
    virtual ItemArray pieChartChildren();
    virtual ItemArray transactionArray();
    // Texts of the outline's balance and currency columns; empty here.
    virtual std::string outlineBalance() const;
    virtual std::string outlineCurrency() const;
    // The balances of four periods; none here.
    virtual std::optional<CLevelCounters> getBalanceInPeriod(DateT p1Start, DateT p1End,
                                                             DateT p2Start, DateT p2End,
                                                             DateT p3Start, DateT p3End,
                                                             DateT p4Start, DateT p4End);

    int headerLevel() const { return mHeaderLevel; }
    void setHeaderLevel(int level);
    bool isLevel1Header() const { return mHeaderLevel == 1; }
    bool isLevel2Header() const { return mHeaderLevel == 2; }
    // The kept height, or 17 when it is not above 0; doubled for a level-1 header.
    double objectRowHeight() const;
    void setObjectRowHeight(double height);
    StyledText outlineName() const;
    StyleAttributes getStyleAttributesForObject() const;
    virtual Colour objectColor() const;
    virtual Colour textColor() const;
    virtual Colour chartColor() const;
    const std::string& iconName() const { return mIconName; }
    void setIconName(std::string name);
    // Bound: "Image%d.tiff" with the object's icon number; detached: iconName.
    std::string getIconName() const;
    // Bound: the balance that suits the object's kind (account type, account
    // in the home currency, category this year, category group); else 0.
    virtual std::optional<double> getLocalBalance() const;

    // The item's booking-line list, made on first use and kept (none when
    // detached); releaseAnalysisArray drops it so the next request rebuilds it.
    std::shared_ptr<CAnalysisArrayEncaplusator> getAnalysisArray();
    void releaseAnalysisArray();

    // --- fixed answers, overridden by some kinds
    virtual bool objectCanBeDeleted() const { return false; }
    virtual bool canItemBeRelocated() const { return false; }
    virtual bool isRootItem() const { return true; }
    virtual bool giveFalse() const { return false; }
    virtual bool isValidRecord() const { return true; }

    // --- menus
    virtual GXObjectDescriptionStrings getObjectDescription() const;
    GXMenuCommands getHierarchyCommandInfo() const;
    MenuItemValidation validateMenuItem(int tag) const;

    // --- dictionary form
    virtual Dictionary dictionaryRepresentation() const;
    // Fills the item from a dictionary; items that travel as dictionaries
    // override it. Here: false.
    virtual bool initWithDictionaryRepresentation(const Dictionary& dictionary);
    static Array detailsAsDictionaryArray(const ItemArray& items);

    // --- model messages: 2008 detaches the item, 2001 announces "getName".
    void ListenToMessage(MessageT message, void* param) override;

    // --- change announcements
    // A change to the books through this item: tells the observers and, when
    // the object belongs to the books, tells the model root that its books
    // changed (CDocAccounting::SetModified, which reaches the document's
    // change count).
    void announce(std::string_view key);
    // Whether the object is part of the document's books: bound and not a
    // sheet's own object (one the item owns, in no list).
    virtual bool belongsToBooks() const { return isBound() && !mOwnsSource; }

protected:
    // What the item keeps for the display alone (outline state, figures
    // derived from others, a sheet's values, live quotes): observers only,
    // the books are untouched.
    void announceDisplayState(std::string_view key) { Observable::announce(key); }
    // Posts the notification with this item as object on the document's
    // centre; nothing without a document.
    void postNotification(std::string name);
    bool isBound() const { return mSourceItem != nullptr; }
    // The document's item registry; null without a document.
    CNonVisualDataItemController* registry() const;
    const std::optional<ItemArray>& keptChildren() const { return mChildren; }
    void dropKeptChildren() { mChildren.reset(); }
    // Keeps children built from the model, without announcing them.
    void keepChildren(ItemArray children) { mChildren = std::move(children); }
    const std::optional<std::string>& keptName() const { return mKeptName; }
    // Bound: the object's IsRootItem; detached: false.
    bool sourceIsRootItem() const;

    // --- shared by the folders of the chart (account types, category groups)
    // The number of the object's child folders; 0 when detached.
    std::size_t folderChildrenCount() const;
    // A folder below another, or a top-level one with id 6 or more.
    bool folderCanBeRelocated() const;
    // [this item when "GXCShowFoldersInSequentialObjectList" is on,] the
    // leaves of the children (rebuilt when their number changed), then the
    // items inside the folder.
    ItemArray folderLeafArray(const ItemArray& inside);
    // 2020 drops the kept children and posts "CHILDFOLDERSCHANGEDNOTIFICATION",
    // 2021 posts "CHILDOBJECTSCHANGEDNOTIFICATION"; false for other messages.
    bool relayFolderChange(MessageT message);

private:
    void detachFromSource();

    CNonVisual* mSourceItem = nullptr;
    // Part of the item: one allocation less for each of a document's many items.
    std::optional<CListenerBridge> theListenerBridge;
    std::weak_ptr<CNonVisualDataItem> mParentItem;
    std::shared_ptr<CAnalysisArrayEncaplusator> mAnalysisArray;
    bool mOwnsSource = false;
    std::optional<std::string> mKeptName;
    std::optional<std::string> mKeptDescription;
    std::optional<ObjectIdT> mKeptId;
    std::optional<ItemArray> mChildren;
    int mHeaderLevel = -1;
    std::string mIconName;
    FourCharCode mObjectType = 0;
    double mObjectRowHeight = kDefaultRowHeight;
    BridgeDocument* mParentDocument = nullptr;
    bool mNewThisSession = false;
    bool mModifiedThisSession = false;
    std::optional<std::int64_t> mImportTimeStamp;
};

} // namespace ch
