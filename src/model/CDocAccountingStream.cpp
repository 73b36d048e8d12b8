// The model stream: the set of books as a sequence of tagged records, written
// by CDocAccounting::DoSave and read by CDocAccounting::initFromStream, closed
// by the end tag 'FiNi'. A record has no length field: each record body is
// read by its class, so the reader must know every record it meets.

#include <memory>

#include "model/CAccountOwner.h"
#include "model/CBank.h"
#include "model/CDocAccounting.h"
#include "model/CHierarchyRoot.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LException.h"
#include "model/foundation/LStream.h"

namespace ch {

// One reading of the model stream: dispatches each record by its tag.
class CDocAccounting::StreamReader {
public:
    StreamReader(CDocAccounting& root, LStream& stream) : mRoot(root), mStream(stream) {}

    // True when the records end on 'FiNi' (left unread).
    bool Run()
    {
        FourCharCode tag = 0;
        while (mStream.PeekBigOsType(tag) == 4) {
            if (tag == type::kEndOfModel) return mRoot.mPreference != nullptr;
            if (!ReadRecord(tag)) return false;
        }
        return false;   // the data ends inside the model: truncated
    }

private:
    // False ends the reading: the record is unknown, out of place or refused.
    bool ReadRecord(FourCharCode tag)
    {
        // The settings record comes first and once: it gives the version
        // every later record is read with.
        if (tag == type::kPreference) return !mRoot.mPreference && ReadSettings();
        if (!mRoot.mPreference) return false;

        switch (tag) {
        case type::kHierarchyRoot: {
            // Only the open flag of a hierarchy root is kept; the roots themselves are fixed.
            CHierarchyRoot record(&mStream, &mRoot, mVersion);
            if (CNonVisual* root = mRoot.mRootList->GetValueForId(record.Get_Id()))
                root->Put_mb_IsOpen(record.Get_mb_IsOpen());
            return true;
        }
        case type::kAccountOwner:
            return Append(*mRoot.mAccountOwnerList, std::make_unique<CAccountOwner>(&mStream, mVersion));
        case type::kBank:
            return Append(*mRoot.mBankList, std::make_unique<CBank>(&mStream, &mRoot, mVersion));
        // A rate ('CcoN') belongs to the currency read last, a line ('DebT',
        // 'CreT', 'ExtD') to the transaction read last; one with none before
        // it is out of place. Any record not read here ends the reading.
        default:
            return false;
        }
    }

    bool ReadSettings()
    {
        auto* settings = new CPreference(&mRoot, &mStream);
        mRoot.mPreference = settings;
        mRoot.mFileVersion = settings->Get_Version();
        mVersion = mRoot.mFileVersion;

        if (mVersion == version::kStpp) {
            CErrorManager::RaiseError(172);
            return false;
        }
        if (mVersion == version::kStop) {
            CErrorManager::RaiseError(139);
            return false;
        }
        long documentDecimals = settings->Get_mNrOfDecimals();
        long applicationDecimals = CDecimal::getNrOfDecimals();
        if (documentDecimals != applicationDecimals)
            CErrorManager::RaiseError(209, documentDecimals, applicationDecimals);
        // Old files need their upgrade whatever their decimal count: without
        // it their categories have no groups.
        if (mVersion <= version::k0_60) mRoot.UpgradeOldFile();
        return true;
    }

    // Gives the object its root and appends it to its list. A list that
    // refuses it (an id taken twice) drops it.
    bool Append(CNamedListArray& list, std::unique_ptr<CNonVisual> object)
    {
        object->Put_Document(&mRoot);
        if (list.AppendObject(object.get()) > 0) object.release();
        return true;
    }

    CDocAccounting& mRoot;
    LStream& mStream;
    FourCharCode mVersion = version::kNone;
};

bool CDocAccounting::initFromStream(LStream* stream)
{
    if (!stream) return false;
    std::int32_t settingsAt = stream->positionAt(type::kPreference);
    if (settingsAt < 0 || settingsAt > kSettingsSearchLimit) return false;

    bool complete = false;
    try {
        complete = StreamReader(*this, *stream).Run();
    } catch (const LException&) {
        // A record that runs past the data or declares impossible lengths.
        return false;
    }
    if (complete) FinishLoading();
    return complete;
}

void CDocAccounting::UpgradeOldFile()
{
    auto* recuperate = new CNonVisual(4);
    recuperate->Put_Name("VAT To Recuperate");
    mAccountKindList->InsertObjectAt(recuperate, 1);
    auto* toPay = new CNonVisual(5);
    toPay->Put_Name("VAT To Pay");
    mAccountKindList->InsertObjectAt(toPay, 1);
}

void CDocAccounting::FinishLoading()
{
    // The reader appended in record order; these lists are kept by name (or
    // date). Banks, budgets, recurring, unlinked and group lists keep record order.
    for (CNamedListArray* list : {mAccountOwnerList.get(), mAccountTypeList.get(), mAccountList.get(),
                                  mCurrencyList.get(), mExpenseTypeList.get(),
                                  mTransactionList.get(), mRootList.get()})
        list->Sort();
}

namespace {

void WriteEach(const CNamedListArray& list, LStream* stream)
{
    auto count = static_cast<ArrayIndexT>(list.GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) list.ObjectAt(i)->PutStream(stream);
}

} // namespace

void CDocAccounting::DoSave(LStream* stream)
{
    // A set of books is recognised by its settings record.
    if (!mPreference) mPreference = new CPreference(this, 1);

    // Record order: settings; hierarchy roots; owners; account types (each
    // top-level type followed depth-first by its sub-types); category groups
    // likewise; currencies, then shares, each followed by its rates; banks;
    // accounts; categories; transactions, then unlinked ones, each followed by
    // its lines; recurring transactions with their lines; budgets; 'FiNi'.
    mPreference->PutStream(stream);
    WriteEach(*mRootList, stream);
    auto owners = static_cast<ArrayIndexT>(mAccountOwnerList->GetCount());
    for (ArrayIndexT i = 1; i <= owners; ++i) {
        CNonVisual* owner = mAccountOwnerList->ObjectAt(i);
        owner->Put_Document(this);
        owner->PutStream(stream);
    }
    WriteEach(*mBankList, stream);
    stream->WriteBigOsType(type::kEndOfModel);
    SetModified(false);
}

} // namespace ch
