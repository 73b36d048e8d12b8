#include "bridge/CNonVisualDataItem.h"

#include <utility>

#include "bridge/BridgeDocument.h"
#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/ModelText.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"
#include "platform/core/localized_strings.h"
#include "platform/core/notification_center.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"
#include "model/foundation/CNSStringToCString.h"

namespace ch {

namespace {

// A text of more than 254 characters does not fit the model's description.
constexpr std::size_t kDescriptionCharacters = 254;
// Top-level folders below this id are the fixed folders of every set of books.
constexpr ObjectIdT kFirstMovableRootId = 6;

} // namespace

CNonVisualDataItem::CNonVisualDataItem() = default;

CNonVisualDataItem::CNonVisualDataItem(CNonVisual* source, const Ptr& parent, WithoutKeptName)
    : mSourceItem(source), mParentItem(parent)
{
    if (!source) return;
    mKeptId = source->Get_Id();
    theListenerBridge.emplace();
    theListenerBridge->LinkObjectiveCObjectToBroadcaster(this, source);
}

CNonVisualDataItem::CNonVisualDataItem(CNonVisual* source, const Ptr& parent)
    : CNonVisualDataItem(source, parent, WithoutKeptName{})
{
    if (!source) return;
    char name[kNameSize] = {};
    source->Get_Name(name);
    mKeptName = MacRomanToUnicode(name);
}

CNonVisualDataItem::~CNonVisualDataItem()
{
    // The bridge goes first, so that deleting an owned object sends nothing here.
    theListenerBridge.reset();
    if (mOwnsSource && mSourceItem) delete mSourceItem;
    mSourceItem = nullptr;
}

// --- identity

CDocAccounting* CNonVisualDataItem::getCPPDocument() const
{
    return mSourceItem ? mSourceItem->Get_Document() : nullptr;
}

FourCharCode CNonVisualDataItem::getObjectType() const
{
    return mSourceItem ? mSourceItem->Get_ObjectType() : 0;
}

FourCharCode CNonVisualDataItem::objectType() const
{
    return mSourceItem ? getObjectType() : mObjectType;
}

void CNonVisualDataItem::setObjectType(FourCharCode type)
{
    if (mSourceItem) return;
    mObjectType = type;
    announceDisplayState("objectType");
}

std::string CNonVisualDataItem::getObjectTypeAsString() const
{
    return fourCCToString(getObjectType());
}

bool CNonVisualDataItem::isTransaction() const
{
    return getObjectTypeAsString() == "TrnS";
}

std::optional<ObjectIdT> CNonVisualDataItem::getId() const
{
    if (mSourceItem) return mSourceItem->Get_Id();
    return mKeptId;
}

void CNonVisualDataItem::setGetId(std::optional<ObjectIdT> id)
{
    if (mSourceItem) mSourceItem->Put_Id(id.value_or(0));
    mKeptId = id;
    announce("getId");
}

std::string CNonVisualDataItem::calculateKey() const
{
    return mSourceItem ? mSourceItem->CalculateKey() : std::string();
}

void CNonVisualDataItem::setParentDocument(BridgeDocument* document)
{
    mParentDocument = document;
    if (mAnalysisArray) mAnalysisArray->setParentDocument(document);
}

void CNonVisualDataItem::setNewThisSession(bool value)
{
    mNewThisSession = value;
    announceDisplayState("newThisSession");
}

void CNonVisualDataItem::setModifiedThisSession(bool value)
{
    mModifiedThisSession = value;
    announceDisplayState("modifiedThisSession");
}

void CNonVisualDataItem::setImportTimeStamp(std::optional<std::int64_t> stamp)
{
    mImportTimeStamp = stamp;
    announceDisplayState("importTimeStamp");
}

// --- name and description

std::string CNonVisualDataItem::getName() const
{
    if (mSourceItem) return unicodeOrMacRoman(*mSourceItem, &CNonVisual::Get_StringrefName, &CNonVisual::Get_Name);
    return mKeptName.value_or(std::string());
}

void CNonVisualDataItem::setGetName(std::optional<std::string_view> name)
{
    if (!name) return;
    if (mSourceItem) {
        char cName[kNameSize] = {};
        CNSStringToCString::convertStringToNameT(*name, cName);
        mSourceItem->Put_Name(cName);
        mSourceItem->Put_StringrefName(*name);
    }
    if (mKeptName != *name) mKeptName = std::string(*name);
    announce("getName");
}

std::string CNonVisualDataItem::description() const
{
    return mSourceItem ? getName() : localized("DELETEDITEM");
}

std::string CNonVisualDataItem::descriptionSelf() const
{
    if (mSourceItem) return mSourceItem->Get_StringrefDesc();
    return mKeptDescription.value_or(std::string());
}

void CNonVisualDataItem::setDescriptionSelf(std::optional<std::string_view> text)
{
    std::optional<std::string> cut;
    if (text) cut = truncateToUtf16Units(*text, kDescriptionCharacters);
    if (mSourceItem) {
        if (cut) mSourceItem->Put_StringrefDesc(*cut);
        else mSourceItem->Put_StringrefDesc(std::nullopt);
    }
    if (mKeptDescription != cut) mKeptDescription = std::move(cut);
    announce("descriptionSelf");
}

bool CNonVisualDataItem::matches(std::string_view text) const
{
    return containsCaseInsensitive(getName(), text);
}

void CNonVisualDataItem::synchronizeWithObject(const CNonVisualDataItem& other)
{
    setGetName(other.getName());
    const std::optional<ObjectIdT> ownId = getId();
    if (!mSourceItem || (ownId && *ownId < 0)) setGetId(other.getId());
}

// --- status

int CNonVisualDataItem::objectStatus() const
{
    return mSourceItem ? mSourceItem->Get_ObjectStatus() : 0;
}

void CNonVisualDataItem::setObjectStatus(int status)
{
    if (!mSourceItem) return;
    mSourceItem->Put_Status(static_cast<ObjectStatusT>(status));
    announce("objectStatus");
}

void CNonVisualDataItem::toggleStatus()
{
    if (!mSourceItem) return;
    switch (objectStatus()) {
    case status::kChecked: setObjectStatus(status::kFlagged); break;
    case status::kFlagged: setObjectStatus(status::kNormal); break;
    default: setObjectStatus(status::kChecked); break;
    }
}

void CNonVisualDataItem::toggleFlag()
{
    if (!mSourceItem) return;
    setObjectStatus(objectStatus() == status::kFlagged ? status::kNormal : status::kFlagged);
}

// --- outline and display

CNonVisualDataItem::ItemArray CNonVisualDataItem::children()
{
    return mChildren.value_or(ItemArray());
}

void CNonVisualDataItem::setChildren(std::optional<ItemArray> children)
{
    mChildren = std::move(children);
    announceDisplayState("children");
}

std::size_t CNonVisualDataItem::childrenCount()
{
    return mChildren ? mChildren->size() : 0;
}

CNonVisualDataItem::ItemArray CNonVisualDataItem::leafArray()
{
    ItemArray leaves;
    if (!mChildren) return leaves;
    const ItemArray kids = *mChildren;   // a child may change our list while we walk
    for (const Ptr& child : kids) {
        if (!child) continue;
        ItemArray below = child->leafArray();
        leaves.insert(leaves.end(), below.begin(), below.end());
    }
    return leaves;
}

bool CNonVisualDataItem::sourceIsRootItem() const
{
    return mSourceItem && mSourceItem->IsRootItem();
}

std::size_t CNonVisualDataItem::folderChildrenCount() const
{
    const CNamedListArray* folders = mSourceItem ? mSourceItem->Get_DetailFolders() : nullptr;
    return folders ? folders->GetCount() : 0;
}

bool CNonVisualDataItem::folderCanBeRelocated() const
{
    if (!mSourceItem) return false;
    return !mSourceItem->IsRootItem() || mSourceItem->Get_Id() >= kFirstMovableRootId;
}

CNonVisualDataItem::ItemArray CNonVisualDataItem::folderLeafArray(const ItemArray& inside)
{
    ItemArray leaves;
    if (UserDefaults::standard().boolForKey("GXCShowFoldersInSequentialObjectList"))
        if (Ptr self = weak_from_this().lock()) leaves.push_back(self);
    if (mChildren && childrenCount() != mChildren->size()) mChildren.reset();
    for (const Ptr& child : children()) {
        if (!child) continue;
        ItemArray below = child->leafArray();
        leaves.insert(leaves.end(), below.begin(), below.end());
    }
    leaves.insert(leaves.end(), inside.begin(), inside.end());
    return leaves;
}

bool CNonVisualDataItem::relayFolderChange(MessageT message)
{
    switch (message) {
    case msg::kChildTypesChanged:
        mChildren.reset();
        postNotification("CHILDFOLDERSCHANGEDNOTIFICATION");
        return true;
    case msg::kChildObjectsChanged:
        postNotification("CHILDOBJECTSCHANGEDNOTIFICATION");
        return true;
    default:
        return false;
    }
}

CNonVisualDataItem::ItemArray CNonVisualDataItem::pieChartChildrenArray()
{
    return children();
}

CNonVisualDataItem::ItemArray CNonVisualDataItem::pieChartChildren()
{
    return {};
}

CNonVisualDataItem::ItemArray CNonVisualDataItem::transactionArray()
{
    return {};
}

std::string CNonVisualDataItem::outlineBalance() const
{
    return {};
}

std::string CNonVisualDataItem::outlineCurrency() const
{
    return {};
}

std::optional<CLevelCounters> CNonVisualDataItem::getBalanceInPeriod(DateT, DateT, DateT, DateT,
                                                                     DateT, DateT, DateT, DateT)
{
    return std::nullopt;
}

void CNonVisualDataItem::setHeaderLevel(int level)
{
    mHeaderLevel = level;
    announceDisplayState("headerLevel");
}

double CNonVisualDataItem::objectRowHeight() const
{
    const double height = mObjectRowHeight > 0.0 ? mObjectRowHeight : kDefaultRowHeight;
    return isLevel1Header() ? 2.0 * height : height;
}

void CNonVisualDataItem::setObjectRowHeight(double height)
{
    mObjectRowHeight = height;
    announceDisplayState("objectRowHeight");
}

StyleAttributes CNonVisualDataItem::getStyleAttributesForObject() const
{
    StyleAttributes attributes;
    attributes.foregroundColour = textColor();
    if (isLevel1Header()) attributes.paragraphSpacingBefore = 17.0;
    return attributes;
}

StyledText CNonVisualDataItem::outlineName() const
{
    const StyleAttributes attributes = getStyleAttributesForObject();
    StyledText text;
    text.runs.push_back({getName(), attributes.foregroundColour, 0.0});
    text.paragraphSpacingBefore = attributes.paragraphSpacingBefore;
    return text;
}

Colour CNonVisualDataItem::objectColor() const
{
    return Colour::white();
}

Colour CNonVisualDataItem::textColor() const
{
    return Colour::black();
}

Colour CNonVisualDataItem::chartColor() const
{
    return Colour::cyan();
}

void CNonVisualDataItem::setIconName(std::string name)
{
    mIconName = std::move(name);
    announceDisplayState("iconName");
}

std::string CNonVisualDataItem::getIconName() const
{
    if (!mSourceItem) return mIconName;
    const auto iconId = static_cast<std::int16_t>(mSourceItem->GetIconId());
    return "Image" + std::to_string(iconId) + ".tiff";
}

std::optional<double> CNonVisualDataItem::getLocalBalance() const
{
    if (!mSourceItem) return 0.0;
    switch (mSourceItem->Get_ObjectType()) {
    case type::kAccountType: return static_cast<const CAccType*>(mSourceItem)->Get_mBalance();
    case type::kAccount: return static_cast<const CAccount*>(mSourceItem)->Get_mLocalBalance();
    case type::kExpenseType: return static_cast<const CExpenseType*>(mSourceItem)->Get_thisYearsBalance();
    case type::kMasterExpenseType: return static_cast<const CMasterExpenseType*>(mSourceItem)->Get_mBalance();
    default: return 0.0;
    }
}

std::shared_ptr<CAnalysisArrayEncaplusator> CNonVisualDataItem::getAnalysisArray()
{
    if (!mSourceItem) return nullptr;
    if (!mAnalysisArray) {
        // The wrapper follows the object's lines itself and rebuilds its list
        // when they change, so it may be kept.
        mAnalysisArray = std::make_shared<CAnalysisArrayEncaplusator>(mSourceItem);
        mAnalysisArray->setParentDocument(mParentDocument);
    }
    return mAnalysisArray;
}

void CNonVisualDataItem::releaseAnalysisArray()
{
    mAnalysisArray.reset();
}

// --- menus

GXObjectDescriptionStrings CNonVisualDataItem::getObjectDescription() const
{
    GXObjectDescriptionStrings strings;
    strings.objectTypeName = localized("NonVisual");
    strings.canBeDeleted = true;
    return strings;
}

GXMenuCommands CNonVisualDataItem::getHierarchyCommandInfo() const
{
    const std::string ellipsis = localized("ELIPSE");
    const std::string newText = localized("New");
    const std::string inside = localized("Inside");
    const std::string deleteText = localized("Delete");
    const std::string name = getName();
    const GXObjectDescriptionStrings strings = getObjectDescription();

    GXMenuCommands commands;
    commands.newObjectInd = true;
    commands.newObjectTitle = newText + strings.objectTypeName + ellipsis;
    if (!strings.childObjectTypeName.empty()) {
        commands.newObjectBelowInd = true;
        commands.newObjectBelowTitle =
            newText + strings.childObjectTypeName + inside + name + "'" + ellipsis;
    } else {
        commands.newObjectBelowTitle = localized("NoNestedObjects");
    }
    if (!strings.childGroupTypeName.empty()) {
        commands.groupBelowInd = true;
        commands.newgroupBelowTitle =
            newText + strings.childGroupTypeName + inside + name + "'" + ellipsis;
    } else {
        commands.newgroupBelowTitle = localized("NoNestedFolders");
    }
    commands.deleteObjectTitle = deleteText + name + "'";
    commands.deleteObjectInd = strings.canBeDeleted;
    return commands;
}

MenuItemValidation CNonVisualDataItem::validateMenuItem(int tag) const
{
    if (tag == menu_tag::kNewTransaction) return {true, std::nullopt};
    if (!mSourceItem) return {false, std::nullopt};
    if (tag == menu_tag::kCut) return {true, std::nullopt};
    if (tag < menu_tag::kNewObject) return {false, std::nullopt};

    const FourCharCode type = getObjectType();
    const bool isAccount = type == fourCC("AcnT");
    const bool isCategory = type == fourCC("ExpT");
    switch (tag) {
    case menu_tag::kNewObject: {
        const GXMenuCommands commands = getHierarchyCommandInfo();
        return {commands.newObjectInd, commands.newObjectTitle};
    }
    case menu_tag::kDelete: {
        const GXMenuCommands commands = getHierarchyCommandInfo();
        return {commands.deleteObjectInd, commands.deleteObjectTitle};
    }
    case menu_tag::kNewObjectInside: {
        const GXMenuCommands commands = getHierarchyCommandInfo();
        return {commands.newObjectBelowInd, commands.newObjectBelowTitle};
    }
    case menu_tag::kNewGroupInside: {
        const GXMenuCommands commands = getHierarchyCommandInfo();
        return {commands.groupBelowInd, commands.newgroupBelowTitle};
    }
    case menu_tag::kTransferFrom:
        return {isAccount, localized("TransFrom") + " " + getName()};
    case menu_tag::kTransferTo:
        return {isAccount, localized("TransTo") + " " + getName()};
    case menu_tag::kBookFor:
        return {isCategory, localized("TransFor") + " " + getName()};
    case menu_tag::kModify:
        return {true, localized("Modify") + " '" + getName() + "'"};
    default:
        return {false, std::nullopt};
    }
}

// --- dictionary form

Dictionary CNonVisualDataItem::dictionaryRepresentation() const
{
    Dictionary dictionary;
    dictionary.set(std::string(kPropertyObjectType), getObjectTypeAsString());
    dictionary.set(std::string(kPropertyObjectName), getName());
    const std::string text = descriptionSelf();
    if (!text.empty()) dictionary.set(std::string(kPropertyObjectDescription), text);
    return dictionary;
}

bool CNonVisualDataItem::initWithDictionaryRepresentation(const Dictionary&)
{
    return false;
}

Array CNonVisualDataItem::detailsAsDictionaryArray(const ItemArray& items)
{
    Array details;
    details.reserve(items.size());
    for (const Ptr& item : items)
        details.emplace_back(item ? item->dictionaryRepresentation() : Dictionary());
    return details;
}

// --- messages

void CNonVisualDataItem::ListenToMessage(MessageT message, void*)
{
    switch (message) {
    case msg::kObjectDestroyed:
        detachFromSource();
        break;
    case msg::kNameChanged:
        announce("getName");
        break;
    default:
        break;
    }
}

void CNonVisualDataItem::announce(std::string_view key)
{
    Observable::announce(key);
    if (!belongsToBooks()) return;
    if (CDocAccounting* books = getCPPDocument()) books->SetModified(true);
}

void CNonVisualDataItem::detachFromSource()
{
    // Called from the object's destructor: only forget it, never read it.
    mSourceItem = nullptr;
    mOwnsSource = false;
    theListenerBridge.reset();
}

CNonVisualDataItemController* CNonVisualDataItem::registry() const
{
    return mParentDocument ? &mParentDocument->dataItemController() : nullptr;
}

void CNonVisualDataItem::postNotification(std::string name)
{
    if (!mParentDocument) return;
    NotificationObject object;
    if (Ptr self = weak_from_this().lock()) object = std::shared_ptr<Observable>(self);
    mParentDocument->notificationCenter().post(std::move(name), std::move(object));
}

} // namespace ch
