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
    // The VAT settings start as a new document has them: the making of the
    // first VAT rate, a VAT setting chosen or a VAT declaration moves one.
    if (const CPreference* settings = books.mPreference) {
        if (settings->Get_mVatInvoicedNotYetReceivedExpT() != 1 || settings->Get_mVATReceivedAccT() != 2 ||
            settings->Get_mVatPaidAccT() != 3 || settings->Get_mVatBalanceAcnt() != 2 ||
            settings->Get_mVatInvoicedNotYetPaidExpt() != -1 || settings->Get_mDateLastVAT() != 0)
            return true;
    }
    // The model's own types end at "other"; the business bookkeeping books its
    // invoices and payments with the types after it. A transaction that
    // balances VAT closed a VAT period: the periods were changed.
    const CTransactionArray* transactions = books.Get_TransactionArray();
    for (ArrayIndexT i = 1; transactions && i <= static_cast<ArrayIndexT>(transactions->GetCount()); ++i) {
        const auto* transaction = static_cast<const CTransaction*>(transactions->ObjectAt(i));
        if (transaction && (transaction->Get_mTransactionType() > transaction_type::kOther ||
                            transaction->Get_mSpecialTypeT() == special_type::kVATBalancing))
            return true;
    }
    return false;
}

} // namespace ch
