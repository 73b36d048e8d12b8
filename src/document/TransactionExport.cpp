#include "document/TransactionExport.h"

#include <set>
#include <utility>

#include "bridge/CAnalysisArrayEncaplusator.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/DeveloperLog.h"
#include "document/MyDocument.h"
#include "document/QifExport.h"
#include "model/CAccount.h"
#include "model/ModelCodes.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/atomic_file.h"

namespace ch {
namespace {

// The error shown when the exported file cannot be written.
constexpr long kExportNotWritten = 283;

bool within(long date, DateT from, DateT to)
{
    return date >= from && date <= to;
}

} // namespace

std::string_view TransactionExport::extension(bool asQif)
{
    return asQif ? "qif" : "tsv";
}

bool TransactionExport::exportTransactionsForObject(CNonVisualDataItem& object, DateT from, DateT to, bool asQif,
                                                    const std::string& path)
{
    if (path.empty()) return true;
    std::string text;
    QifExport qif(mDocument.accounting());
    // A transaction goes into an account's register once, however many of
    // its lines the object lists.
    std::set<std::pair<ObjectIdT, ObjectIdT>> added;
    if (std::shared_ptr<CAnalysisArrayEncaplusator> lines = object.getAnalysisArray()) {
        const std::uint32_t count = lines->count();
        const int first = lines->mbZeroBasedCalled() ? 0 : 1;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::shared_ptr<CDebetItem> line = lines->getObjectAtIndex(first + static_cast<int>(i));
            if (!line) continue;
            if (!line->parentDocument()) line->setParentDocument(&mDocument);
            if (!within(line->getTransactionDate(), from, to)) continue;
            if (asQif) {
                const std::shared_ptr<CTrnSItem> transaction = line->parentTransaction();
                if (!transaction) continue;
                CNonVisual* owner = line->accountObject();
                const CAccount* account = owner && owner->Get_ObjectType() == type::kAccount
                                              ? static_cast<const CAccount*>(owner)
                                              : nullptr;
                if (added.emplace(line->getTransactionId(), account ? account->Get_Id() : 0).second)
                    qif.add(*transaction, account);
                continue;
            }
            text += line->exportItsTransactionAsTSV(asQif);
            text += "\r\n";
        }
    }
    return write(path, asQif ? qif.text() : text);
}

bool TransactionExport::exportTransactionsFromDate(DateT from, DateT to, bool asQif, const std::string& path)
{
    if (path.empty()) return true;
    std::string text;
    QifExport qif(mDocument.accounting());
    for (const std::shared_ptr<CTrnSItem>& transaction : mDocument.mTransactionArray()) {
        if (!transaction || !within(transaction->mDate().value_or(0), from, to)) continue;
        if (asQif) {
            qif.add(*transaction);
            continue;
        }
        text += transaction->exportAsTSV(nullptr, asQif);
        text += "\r\n";
    }
    return write(path, asQif ? qif.text() : text);
}

bool TransactionExport::write(const std::string& path, const std::string& text)
{
    std::string failure;
    // Readable by others, as any exported document.
    if (writeFileAtomically(path, text, &failure, 0644)) return true;
    developerLog("Export of transactions failed: " + failure);
    CErrorManager::RaiseError(kExportNotWritten);
    return false;
}

} // namespace ch
