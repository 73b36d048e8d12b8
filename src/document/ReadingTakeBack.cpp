#include "document/ReadingTakeBack.h"

#include <memory>

#include "bridge/CNonVisualDataItem.h"
#include "document/MyDocument.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CCurrencyArray.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/ModelCodes.h"
#include "model/foundation/CErrorManager.h"

namespace ch {

namespace {

// Each object was checked to be unused before it goes: the deletion's
// question is answered yes and nothing is shown.
class QuietDeletion {
public:
    QuietDeletion() : mWasBatch(CErrorManager::GetMode()) { CErrorManager::SetMode(true); }
    ~QuietDeletion() { CErrorManager::SetMode(mWasBatch); }
    QuietDeletion(const QuietDeletion&) = delete;
    QuietDeletion& operator=(const QuietDeletion&) = delete;

private:
    bool mWasBatch;
};

template <typename Each>
void forEachObject(const CNamedListArray* list, FourCharCode type, Each each)
{
    for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
        CNonVisual* object = list->ObjectAt(i);
        if (object && object->Get_ObjectType() == type) each(*object);
    }
}

bool accountUnused(const CAccount& account)
{
    return CountOf(account.Get_mDebitlist()) + CountOf(account.Get_mCreditList()) == 0 &&
           account.CanBeDeleted(false, nullptr);
}

bool categoryUnused(const CDocAccounting& books, CExpenseType& category)
{
    if (CountOf(category.Get_mBookings()) > 0 || books.RecurringTransactionExistsForExpenseType(&category) ||
        books.UnlinkedTransactionExistsForExpenseType(&category) || books.BudgetExistsForObject(&category, false))
        return false;
    const ObjectIdT id = category.Get_Id();
    bool used = false;
    forEachObject(books.mAccountList.get(), type::kAccount, [&](CNonVisual& object) {
        used = used || static_cast<const CAccount&>(object).Get_mDefaultExpenseTypeId() == id;
    });
    forEachObject(books.mCurrencyList.get(), type::kCurrency, [&](CNonVisual& object) {
        used = used || static_cast<const CCurrency&>(object).Get_mDiffExpType() == id;
    });
    // The settings' default categories refuse the deletion themselves.
    return !used;
}

bool groupEmpty(const CMasterExpenseType& group)
{
    return CountOf(group.Get_Details()) == 0 && CountOf(group.Get_DetailFolders()) == 0;
}

bool remove(MyDocument& document, CNonVisual& object)
{
    const std::shared_ptr<CNonVisualDataItem> item = document.dataItemController().dataItemForObject(&object);
    return item && document.deleteObject(item, false);
}

} // namespace

ReadingTakeBack::ReadingTakeBack(MyDocument& document)
    : mBefore(document.accounting()->Ids()),
      mAfter(mBefore),
      mChangeCountBefore(document.changeCount()),
      mChangeCountAfter(mChangeCountBefore),
      mJournalLength(document.commandExecutor().getCommandLogger().logFileLength())
{
}

void ReadingTakeBack::readingDone(MyDocument& document)
{
    mAfter = document.accounting()->Ids();
    mChangeCountAfter = document.changeCount();
}

void ReadingTakeBack::takeBack(MyDocument& document) const
{
    if (!madeAnything()) return;
    const bool untouched = document.changeCount() == mChangeCountAfter;
    CDocAccounting& books = *document.accounting();
    bool allGone = true;
    {
        const QuietDeletion quiet;
        // Accounts first, so that a category that is only their default goes
        // too; a group once its categories and sub-groups went (a sub-group
        // was made after its parent: the newest go first).
        for (ObjectIdT id = mAfter.mi_MaxId; id > mBefore.mi_MaxId; --id)
            if (CAccount* account = books.GetAccountForID(id))
                allGone = accountUnused(*account) && remove(document, *account) && allGone;
        for (ObjectIdT id = mAfter.mi_ExptNr; id > mBefore.mi_ExptNr; --id)
            if (CExpenseType* category = books.GetExpenseTypeForID(id))
                allGone = categoryUnused(books, *category) && remove(document, *category) && allGone;
        for (ObjectIdT id = mAfter.mi_MxptNr; id > mBefore.mi_MxptNr; --id)
            if (CMasterExpenseType* group = books.GetMasterExpenseTypeForId(id))
                allGone = groupEmpty(*group) && remove(document, *group) && allGone;
    }
    if (!untouched || !allGone || mSavedSince) return;
    document.restoreChangeCount(mChangeCountBefore);
    document.commandExecutor().getCommandLogger().truncateLogFile(mJournalLength);
}

} // namespace ch
