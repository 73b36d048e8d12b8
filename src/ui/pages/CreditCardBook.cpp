#include "ui/pages/CreditCardBook.h"

#include <array>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "bridge/CTrnSItem.h"
#include "document/arguments/BooksLinkArguments.h"
#include "ui/sheets/CommandSink.h"
#include "model/CAccountArray.h"
#include "model/CDocAccounting.h"

namespace ch {

namespace {

// A payment with nothing linked, and one settled by a credit note.
constexpr double kNothingLinked = 999099912.12;
constexpr double kCreditNoteLinked = 999099913.13;
constexpr double kTolerance = 0.005;

// Whether the main line of the side books on the card.
bool mainLineOn(const LineItemArray& side, const CAcnTItem& card)
{
    const std::shared_ptr<CDebetItem> main = CTrnSItem::getMostImportantDebetItem(side);
    return main && main->accountObject() && main->accountObject() == card.getSourceItem();
}

} // namespace

std::vector<std::shared_ptr<CAcnTItem>> creditCardAccounts(BridgeDocument& books)
{
    std::vector<std::shared_ptr<CAcnTItem>> cards;
    CDocAccounting* root = books.accounting();
    const CNamedListArray* debts = root && root->mAccountList ? root->mAccountList->Get_SubList(CAccountArray::kDebt)
                                                              : nullptr;
    for (ArrayIndexT i = 1; debts && i <= static_cast<ArrayIndexT>(debts->GetCount()); ++i) {
        std::shared_ptr<CAcnTItem> item = books.dataItemController().accountItemForAccount(debts->ObjectAt(i));
        if (item && item->isCreditCard()) cards.push_back(item);
    }
    return cards;
}

CardLines cardLines(CAcnTItem& card)
{
    CardLines lines;
    for (const std::shared_ptr<CDebetItem>& line : card.fromTransactionDetails()) {
        const std::shared_ptr<CTrnSItem> transaction = line ? line->parentTransaction() : nullptr;
        if (transaction && mainLineOn(transaction->mFromList(), card)) lines.spendings.push_back(line);
    }
    for (const std::shared_ptr<CDebetItem>& line : card.toTransactionDetails()) {
        const std::shared_ptr<CTrnSItem> transaction = line ? line->parentTransaction() : nullptr;
        if (transaction && mainLineOn(transaction->mToList(), card)) lines.payments.push_back(line);
    }
    return lines;
}

std::string spendingFlagImage(std::optional<long> referenceId)
{
    if (!referenceId) return "flaggedred";
    if (*referenceId == -2) return "flaggedCredited";
    return *referenceId < 1 ? "flaggedred" : "flaggedgreen";
}

std::string paymentFlagImage(std::optional<double> unaccountedAmount)
{
    if (!unaccountedAmount || *unaccountedAmount == kNothingLinked) return "flaggedred";
    if (*unaccountedAmount == kCreditNoteLinked) return "flaggedCredited";
    if (*unaccountedAmount > kTolerance) return "flaggedblue";
    if (*unaccountedAmount >= -kTolerance) return "flaggedgreen";
    return "flaggedgreenPlus";
}

std::optional<std::string> creditCardSubtypeImage(int subType)
{
    static constexpr std::array<const char*, 10> kImages = {"generic", "amex",     "visa", "diners", "master",
                                                            "delta",   "discover", "jcb",  "solo",   "switch"};
    const int kind = subType & 0xFF;
    if (kind > 9) return std::nullopt;
    return std::string(kImages[static_cast<std::size_t>(kind)]);
}

bool isLinkedRow(std::optional<long> tableReferenceId, std::optional<long> rowId)
{
    return tableReferenceId && rowId && *tableReferenceId == *rowId;
}

bool linkSpendingToPayment(CommandSink& commands, const std::shared_ptr<CTrnSItem>& spending,
                           const CDebetItem& paymentLine)
{
    const std::shared_ptr<CTrnSItem> payment = paymentLine.parentTransaction();
    if (!spending || !payment || !payment->getId()) return false;
    arguments::TransactionLinkArguments link;
    link.name = spending->getName();
    link.linkedId = *payment->getId();
    link.linkedName = payment->getName();
    return commands.executeCommand(kLinkCardSpendingCommand, spending, &link) >= 0;
}

} // namespace ch
