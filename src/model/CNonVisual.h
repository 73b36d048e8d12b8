#pragma once
// CNonVisual: the base of every model object. It carries the owning root, the
// type code, the id, the 8-bit and the Unicode name, the Unicode description,
// the status, the open flag and the object key; it reads and writes the common
// header of every record of the model stream, broadcasts name changes, and
// defines the protocol that lists, trees and deletion rely on.
//
// Texts: the 8-bit name is the model's C text (Mac Roman unless converted
// otherwise); Unicode texts are UTF-8 in memory. A Unicode text that may be
// absent travels as a TextRef (std::nullopt = none).
//
// Objects live on the heap, or in the root's pool when read from a file
// (ObjectPool), owned by the model root's lists, and are deleted through
// DeleteSelf (which lets them refuse first). Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/CommonOrOwn.h"
#include "model/IdCounters.h"
#include "model/ModelCodes.h"
#include "model/foundation/LBroadcaster.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

class CAccount;
class CDocAccounting;
class CExpenseType;
class CNamedListArray;
class LStream;

using TextRef = std::optional<std::string_view>;

inline constexpr std::size_t kNameSize = 35;          // 34 characters and a terminator
inline constexpr std::size_t kDescriptionSize = 256;

using ObjectStatusT = EnumT;

namespace status {
inline constexpr ObjectStatusT kNormal = 0;      // set by Validate and the load clean-up
inline constexpr ObjectStatusT kNew = 2;         // every object starts so
inline constexpr ObjectStatusT kBlocked = 4;     // a transaction that can't be edited
inline constexpr ObjectStatusT kBalancing = 5;   // balancing transaction made by the model
inline constexpr ObjectStatusT kUnlinked = 6;    // transaction not posted; in the unlinked list
inline constexpr ObjectStatusT kFlagged = 7;
inline constexpr ObjectStatusT kChecked = 9;
} // namespace status

class CNonVisual : public LBroadcaster {
public:
    // The temporary id: Put_Id gives the object id 1 and leaves the counter alone.
    static constexpr ObjectIdT kTemporaryId = -9999;
    // An id more than this above the counter does not raise it, so that one
    // damaged id can't exhaust the id space.
    static constexpr ObjectIdT kMaxIdJump = 99999;

    // Name "Name", a new id, type 'NoNe', status new, closed. The id comes
    // from the document's counters (those of objects without books when none).
    CNonVisual();
    explicit CNonVisual(ObjectIdT id, CDocAccounting* document = nullptr);
    // Reads the common record header; version gates the open flag ('1.01') and
    // the Unicode texts ('1.10'); version::kNone reads neither. An open flag
    // other than 0 or 1 was never written: LException -19.
    CNonVisual(LStream* stream, FourCharCode version, CDocAccounting* document = nullptr);
    // Broadcasts 2008 (object destroyed), then the broadcaster part sends 202.
    ~CNonVisual() override;

    CNonVisual(const CNonVisual&) = delete;
    CNonVisual& operator=(const CNonVisual&) = delete;

    // Memory of objects made in a document's pool (ObjectPool) stays with
    // the pool when they are deleted; the pool gives it back with the rest.
    static void* operator new(std::size_t bytes);
    static void operator delete(void* memory, std::size_t bytes);
    // Deletes the object; one made in a pool is only destroyed, without the
    // look-up of its memory (many objects going at once).
    static void Destroy(CNonVisual* object);

    // --- the object protocol
    virtual bool Validate();                                   // status 0; true
    virtual void Get_Name(char (&out)[kNameSize]) const;
    virtual void Get_NameOnly(char (&out)[kNameSize]) const;
    virtual ObjectIdT Get_Id() const { return mId; }
    virtual FourCharCode Get_ObjectType() const { return mObjectType; }
    virtual ObjectStatusT Get_ObjectStatus() const { return mStatus; }
    // Cuts to 34 characters, makes the Unicode name from it (Mac Roman) and
    // broadcasts 2001; true.
    virtual bool Put_Name(const char* name);
    // Absent: false. Equal under the localized comparison: true, no change.
    // Else stores it and broadcasts 2001; true. The 8-bit name is not touched.
    virtual bool Put_StringrefName(TextRef name);
    // Absent: the description becomes empty; no broadcast; true.
    virtual bool Put_StringrefDesc(TextRef description);
    virtual const std::string& Get_StringrefName() const;
    virtual const std::string& Get_StringrefDesc() const { return mTexts->description; }
    // Type code and decimal id ("AcnT15"); made on first request and kept.
    virtual const std::string& CalculateKey() const;
    virtual bool Put_Status(ObjectStatusT status);
    virtual bool Put_Document(CDocAccounting* document);
    virtual bool Put_Id(ObjectIdT id);
    // BeforeDelete, and when it allows, the object destroys itself (true).
    // Never touch the object after a true answer.
    virtual bool DeleteSelf();
    virtual double Get_Amount() const { return 0.0; }
    virtual CNamedListArray* Get_Details() const { return nullptr; }
    virtual CNamedListArray* Get_DetailFolders() const { return nullptr; }
    virtual long Get_WarningLevel(unsigned char) const { return 3; }
    // Plain objects can't be deleted: error 136, false.
    virtual bool BeforeDelete();
    // Writes "type\tid\tname\t"; subclasses append their columns. The
    // separator is not used (the tab is fixed).
    virtual bool Export(LStream* stream, char separator) const;
    virtual long GetIconId() const { return 0; }
    virtual bool Get_mb_IsOpen() const { return mIsOpen; }
    virtual bool Put_mb_IsOpen(bool isOpen);
    virtual bool IsRootItem() { return true; }
    virtual bool OnlyGroupsBelow() const { return false; }
    virtual bool IsSubItemAcceptable(FourCharCode, CNonVisual*) const { return false; }
    // The object has no parent: error 163, false.
    virtual bool Put_mParentId(ObjectIdT parentId);

    // Writes the common record header; a settings record ('PrFr') stops after
    // the status. Subclasses write their body after it.
    virtual void PutStream(LStream* stream);

    // --- what the root's lists ask of transactions and rates; neutral here
    // The date that orders the object in a dated list (a transaction's date,
    // the day from which a rate holds); 0 for undated objects.
    virtual DateT Get_SortDate() const { return 0; }
    // Counts every change of a sort date anywhere (a transaction's date, the
    // transaction a booking line belongs to), so that look-ups by date kept
    // beside a list can tell that they went stale.
    static std::uint64_t SortDateChanges() { return mSortDateChanges; }
    static void NoteSortDateChanged() { ++mSortDateChanges; }
    // Counts every change of an 8-bit name anywhere, for look-ups by name
    // kept beside a list (a booking line's name is its transaction's).
    static std::uint64_t NameChanges() { return mNameChanges; }
    static void NoteNameChanged() { ++mNameChanges; }
    // Whether a line of the object (a transaction) books on the account or category.
    virtual bool IsOnAccount(CAccount*) const { return false; }
    virtual bool IsOnExpenseType(CExpenseType*) const { return false; }

    // A new id, the source's 8-bit name, status new.
    void CopyFromObject(const CNonVisual* source);

    CDocAccounting* Get_Document() const { return mDocument; }

    // The counters of objects that belong to no books.
    static IdCounters& DetachedIds() { return sDetachedIds; }

protected:
    // A name made of parts, kept in cache: written only when the parts made
    // another text, so that a reference handed out before (a sorted search
    // holds one while it asks the same object again) stays readable.
    static const std::string& KeepMadeName(std::string& cache, std::string made);
    // The most bytes PutStream writes for the common record header: the
    // room a record's writer asks for, its body's bytes added.
    std::size_t HeaderBytes() const;
    // Writes the common record header into whatever room is open (PutStream
    // without a room of its own).
    void WriteHeader(LStream* stream) const;
    // Every change of the id goes through here (the lists' id look-ups follow it).
    void StoreId(ObjectIdT id);
    void SetObjectType(FourCharCode type) { mObjectType = type; }
    // The counters the object takes its ids from: its document's, or those
    // of objects without books.
    IdCounters& Ids() const;
    // The next id of a counter (never past the largest id).
    static ObjectIdT NextId(ObjectIdT& counter);
    // Raises a counter to id, unless id lies more than kMaxIdJump above it.
    static void RaiseCounter(ObjectIdT& counter, ObjectIdT id);
    // Whether objects of the type take their ids from the object counter
    // (not transactions, lines, categories and category groups).
    static bool NumberedByObjectCounter(FourCharCode typeCode);

private:
    // The texts of an object. Booking lines all carry the same ones, and
    // every object starts with "Name": those are kept once.
    struct Texts {
        char name[kNameSize] = {};
        std::string unicodeName;
        std::string description;

        static Texts* Common(const Texts& texts);
        static bool IsCommon(const Texts* texts);
        // The texts every object starts with.
        static Texts* Initial();
        // The common texts: "Name", which every object starts with, and
        // "NoName", which booking lines carry.
        static const std::array<Texts*, 2>& All();
    };
    void Initialize();

    // The small fields first: they fill the space the broadcaster leaves.
    ObjectStatusT mStatus = status::kNew;
    bool mIsOpen = false;
    // Set when a list's id index first holds the object; until then no index
    // can be stale, so a change of id (every construction) costs nothing.
    mutable bool mInIdIndex = false;
    bool mPooled = false;             // made in an ObjectPool
    bool mMarked = false;             // met already by a walk that must meet each object once
    ObjectIdT mId = 0;
    FourCharCode mObjectType = type::kNone;

protected:
    CDocAccounting* mDocument = nullptr;

private:
    CommonOrOwn<Texts> mTexts{Texts::Initial()};
    // Type code and id as first asked for; kept, so that a key never changes.
    mutable std::unique_ptr<std::string> mKey;
    friend class CNamedListArray;
    friend class ObjectPool;
    friend class CDocAccounting;
    void MarkPooled() { mPooled = true; }

    static IdCounters sDetachedIds;
    static std::uint64_t mSortDateChanges;
    static std::uint64_t mNameChanges;
};

// The 8-bit model text as Unicode (Mac Roman).
std::string MacRomanToUnicode(std::string_view text);

// Copies text into a fixed C field, cut to the field's size minus one.
void CopyToField(char* field, std::size_t fieldSize, const char* text);
template <std::size_t N>
void CopyToField(char (&field)[N], const char* text) { CopyToField(field, N, text); }

} // namespace ch
