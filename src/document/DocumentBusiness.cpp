#include "document/DocumentBusiness.h"

#include <vector>

#include "model/CDocAccounting.h"
#include "model/CPreference.h"
#include "model/CTransaction.h"
#include "model/CTransactionArray.h"
#include "platform/core/keyed_archive.h"

namespace ch {

DocumentBusiness::~DocumentBusiness() = default;

PlistOutput emptyBusinessArchive()
{
    KeyedArchiver archiver;
    for (std::string_view key : kBusinessArchiveKeys)
        archiver.encodeObjectArray(std::vector<std::shared_ptr<const Archivable>>{}, key);
    return archiver.finish();
}

long readEmptyBusinessArchive(std::string_view bytes, std::string* problem)
{
    if (bytes.empty()) return 0;
    // No class is known: any archived object fails the archive.
    static const ArchiveClassRegistry noClasses;
    KeyedUnarchiver unarchiver(bytes, noClasses);
    for (std::string_view key : kBusinessArchiveKeys) unarchiver.decodeObjectArray(key);
    if (!unarchiver.failed()) return 0;
    if (problem) *problem = unarchiver.error();
    return kIncompleteBusinessArchiveWarning;
}

bool booksNeedBusinessArchive(const CDocAccounting& books)
{
    // Only the making of the first VAT rate moves this setting off its start.
    if (books.mPreference && books.mPreference->Get_mVatInvoicedNotYetReceivedExpT() != 1) return true;
    // The model's own types end at "other"; the business bookkeeping books its
    // invoices and payments with the types after it.
    const CTransactionArray* transactions = books.Get_TransactionArray();
    for (ArrayIndexT i = 1; transactions && i <= static_cast<ArrayIndexT>(transactions->GetCount()); ++i) {
        const auto* transaction = static_cast<const CTransaction*>(transactions->ObjectAt(i));
        if (transaction && transaction->Get_mTransactionType() > transaction_type::kOther) return true;
    }
    return false;
}

} // namespace ch
