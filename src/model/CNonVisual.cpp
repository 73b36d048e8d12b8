#include "model/CNonVisual.h"

#include <array>
#include <cstring>
#include <limits>

#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/ObjectPool.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LException.h"
#include "model/foundation/LStream.h"
#include "platform/core/text_encoding.h"
#include "platform/core/unicode.h"

namespace ch {

IdCounters CNonVisual::sDetachedIds;
std::uint64_t CNonVisual::mSortDateChanges = 0;
std::uint64_t CNonVisual::mNameChanges = 0;

std::string MacRomanToUnicode(std::string_view text)
{
    return decode(text, encoding::macRoman).value_or(std::string());
}

void CopyToField(char* field, std::size_t fieldSize, const char* text)
{
    if (fieldSize == 0) return;
    std::size_t length = text ? strnlen(text, fieldSize - 1) : 0;
    if (length > 0) std::memcpy(field, text, length);
    field[length] = '\0';
}

// --- texts

const std::array<CNonVisual::Texts*, 2>& CNonVisual::Texts::All()
{
    auto make = [](const char* name) {
        auto* texts = new Texts;
        CopyToField(texts->name, name);
        texts->unicodeName = name;
        return texts;
    };
    // Never destroyed: objects in static storage may outlive them at exit.
    static const std::array<Texts*, 2> common = {make("Name"), make("NoName")};
    return common;
}

CNonVisual::Texts* CNonVisual::Texts::Common(const Texts& texts)
{
    if (!texts.description.empty()) return nullptr;
    for (Texts* common : All()) {
        if (std::strcmp(common->name, texts.name) == 0 && common->unicodeName == texts.unicodeName)
            return common;
    }
    return nullptr;
}

bool CNonVisual::Texts::IsCommon(const Texts* texts)
{
    const auto& common = All();
    return texts == common[0] || texts == common[1];
}

CNonVisual::Texts* CNonVisual::Texts::Initial()
{
    return All()[0];
}

// --- construction

CNonVisual::CNonVisual()
{
    Initialize();
    Put_Id(-1);
}

CNonVisual::CNonVisual(ObjectIdT id, CDocAccounting* document) : mDocument(document)
{
    Initialize();
    Put_Id(id);
}

void CNonVisual::Initialize()
{
    Put_Name("Name");
    SetObjectType(type::kNone);
    mStatus = status::kNew;
    mIsOpen = false;
}

CNonVisual::CNonVisual(LStream* stream, FourCharCode version, CDocAccounting* document) : mDocument(document)
{
    // Nothing can listen to an object still being read: the fields are set
    // directly, without the broadcasts and conversions of the setters.
    FourCharCode typeCode = 0;
    ObjectIdT id = 0;
    {
        LStream::FieldRun fields(*stream, 4 + 4);
        fields.ReadBigOsType(typeCode);
        fields.ReadObjectIdT(id);
    }
    SetObjectType(typeCode);
    // The object counter goes up to the id read only for the kinds it
    // numbers: transactions, their lines and the categories and their groups
    // count on their own counters (each class raises its own after reading),
    // so that books read give the counters the run that saved them had.
    StoreId(id);
    if (NumberedByObjectCounter(typeCode)) RaiseCounter(Ids().mi_MaxId, id);

    // The texts are gathered first and taken in one step: booking lines
    // share theirs.
    Texts texts;
    stream->ReadCString(texts.name);
    NoteNameChanged();

    const bool withOpenFlag = version::AtLeast(version, version::k1_01);
    LStream::FieldRun fields(*stream, withOpenFlag ? 2 : 1);
    fields.ReadEnumT(mStatus);
    if (withOpenFlag) {
        EnumT open = 0;
        fields.ReadEnumT(open);
        // Written as 0 or 1: any other byte means the reading has lost its
        // place among the records.
        if (open > 1) LException::Throw(err::kReadErr);
        mIsOpen = open != 0;
    }
    if (version::AtLeast(version, version::k1_10)) {
        // Kept as stored, byte for byte.
        stream->ReadCFString(texts.unicodeName);
        stream->ReadCFString(texts.description);
    } else {
        // Older files: the Unicode name comes from the 8-bit name, no description.
        texts.unicodeName = MacRomanToUnicode(texts.name);
    }
    // Read into a pool, the object keeps its own texts there too.
    mTexts.Assign(std::move(texts), ObjectPool::Making(this));
}

CNonVisual::~CNonVisual()
{
    BroadcastMessage(msg::kObjectDestroyed);
}

void* CNonVisual::operator new(std::size_t bytes)
{
    return ::operator new(bytes);
}

void CNonVisual::operator delete(void* memory, std::size_t bytes)
{
    // Unsized: clang before 19 declares the sized form only with -fsized-deallocation.
    if (ObjectPool::Holds(memory)) ObjectPool::Abandon(memory, bytes);
    else ::operator delete(memory);
}

void CNonVisual::Destroy(CNonVisual* object)
{
    if (!object) return;
    if (object->mPooled) {
        object->~CNonVisual();
        return;
    }
    delete object;
}

// --- names

void CNonVisual::Get_Name(char (&out)[kNameSize]) const
{
    std::memcpy(out, mTexts->name, kNameSize);
}

void CNonVisual::Get_NameOnly(char (&out)[kNameSize]) const
{
    Get_Name(out);
}

bool CNonVisual::Put_Name(const char* name)
{
    char cut[kNameSize] = {};
    CopyToField(cut, name);
    // The name and its Unicode form change one after the other: texts that
    // were common may pass through texts of their own on the way to other
    // common ones (a line's "Name" to "NoName").
    const bool wasCommon = mTexts.IsCommon();
    mTexts.Change([&](Texts& texts) { std::memcpy(texts.name, cut, kNameSize); });
    NoteNameChanged();
    Put_StringrefName(MacRomanToUnicode(cut));
    if (wasCommon) mTexts.ShareIfCommon();
    BroadcastMessage(msg::kNameChanged);
    return true;
}

bool CNonVisual::Put_StringrefName(TextRef name)
{
    if (!name) return false;
    if (compareLocalized(mTexts->unicodeName, *name) == 0) return true;
    mTexts.Change([&](Texts& texts) { texts.unicodeName = std::string(*name); });
    NoteNameChanged();
    BroadcastMessage(msg::kNameChanged);
    return true;
}

bool CNonVisual::Put_StringrefDesc(TextRef description)
{
    if (!description) {
        if (!mTexts->description.empty()) mTexts.Change([](Texts& texts) { texts.description.clear(); });
        return true;
    }
    if (compareLocalized(mTexts->description, *description) != 0)
        mTexts.Change([&](Texts& texts) { texts.description = std::string(*description); });
    return true;
}

const std::string& CNonVisual::Get_StringrefName() const
{
    return mTexts->unicodeName;
}

const std::string& CNonVisual::KeepMadeName(std::string& cache, std::string made)
{
    if (cache != made) cache = std::move(made);
    return cache;
}

const std::string& CNonVisual::CalculateKey() const
{
    if (!mKey) mKey = std::make_unique<std::string>(fourCCToString(mObjectType) + std::to_string(mId));
    return *mKey;
}

// --- state

bool CNonVisual::Validate()
{
    mStatus = status::kNormal;
    return true;
}

bool CNonVisual::Put_Status(ObjectStatusT newStatus)
{
    mStatus = newStatus;
    return true;
}

bool CNonVisual::Put_Document(CDocAccounting* document)
{
    mDocument = document;
    return true;
}

bool CNonVisual::Put_mb_IsOpen(bool isOpen)
{
    mIsOpen = isOpen;
    return true;
}

bool CNonVisual::Put_mParentId(ObjectIdT)
{
    CErrorManager::RaiseError(163);
    return false;
}

// --- ids

IdCounters& CNonVisual::Ids() const
{
    return mDocument ? mDocument->Ids() : sDetachedIds;
}

ObjectIdT CNonVisual::NextId(ObjectIdT& counter)
{
    if (counter < std::numeric_limits<ObjectIdT>::max()) ++counter;
    return counter;
}

void CNonVisual::RaiseCounter(ObjectIdT& counter, ObjectIdT id)
{
    if (id > counter && std::int64_t(id) - counter <= kMaxIdJump) counter = id;
}

bool CNonVisual::NumberedByObjectCounter(FourCharCode typeCode)
{
    switch (typeCode) {
    case type::kTransaction:
    case type::kRecurring:
    case type::kDebit:
    case type::kCredit:
    case type::kExpenseTypeDetail:
    case type::kExpenseType:
    case type::kMasterExpenseType:
        return false;
    default:
        return true;
    }
}

bool CNonVisual::Put_Id(ObjectIdT id)
{
    if (id == kTemporaryId) {
        StoreId(1);
    } else if (id < 0) {
        StoreId(NextId(Ids().mi_MaxId));
    } else {
        StoreId(id);
        RaiseCounter(Ids().mi_MaxId, id);
    }
    return true;
}

void CNonVisual::StoreId(ObjectIdT id)
{
    if (id == mId) return;
    mId = id;
    if (mInIdIndex) CNamedListArray::NoteIdChanged(this);
}

void CNonVisual::CopyFromObject(const CNonVisual* source)
{
    Put_Id(-1);
    Put_Name(source->mTexts->name);
    Put_Status(status::kNew);
}

// --- deletion

bool CNonVisual::BeforeDelete()
{
    CErrorManager::RaiseError(136);
    return false;
}

bool CNonVisual::DeleteSelf()
{
    if (!BeforeDelete()) return false;
    delete this;
    return true;
}

// --- streams

std::size_t CNonVisual::HeaderBytes() const
{
    // The name counted at its longest: cheaper than measuring it twice.
    const std::size_t common = 4 + 4 + 4 + (kNameSize - 1) + 1;
    if (mObjectType == type::kPreference) return common;
    // Each Unicode text: its count, the mark and at most one unit per byte.
    return common + 1 + 2 * (4 + 2) + 2 * (CNonVisual::Get_StringrefName().size() + mTexts->description.size());
}

void CNonVisual::PutStream(LStream* stream)
{
    LStream::WriteRoom room(*stream, HeaderBytes());
    WriteHeader(stream);
}

void CNonVisual::WriteHeader(LStream* stream) const
{
    stream->WriteBigOsType(mObjectType);
    stream->WriteObjectIdT(mId);
    stream->WriteCString(mTexts->name);
    stream->WriteEnumT(mStatus);
    if (mObjectType == type::kPreference) return;
    stream->WriteEnumT(mIsOpen ? 1 : 0);
    // The plain name: subclasses may display more ("4000 : Bank"), which is not the name.
    stream->WriteCFString(CNonVisual::Get_StringrefName());
    stream->WriteCFString(mTexts->description);
}

bool CNonVisual::Export(LStream* stream, char) const
{
    std::string line = fourCCToString(mObjectType);
    line += '\t';
    line += std::to_string(mId);
    line += '\t';
    line += mTexts->name;
    line += '\t';
    stream->WriteBlock(line.data(), static_cast<std::int32_t>(line.size()));
    return true;
}

} // namespace ch
