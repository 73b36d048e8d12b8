#include "ui/sheets/QuickEntryLogic.h"

#include "bridge/ArgumentRecords.h"
#include "bridge/CTrnSItem.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/SimpleTransactionArguments.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

QuickEntryOutcome checkQuickEntry(const QuickEntryFields& fields)
{
    if (!fields.name || fields.name->empty())
        return {202, QuickEntryField::Name};
    if (!fields.amount || *fields.amount == 0.0)
        return {238, QuickEntryField::Amount};
    if (!fields.date || !fields.otherAccount || !fields.ourAccount) {
        if (!fields.ourAccount)
            return {129, QuickEntryField::OurAccount};
        return {129, fields.otherAccount ? QuickEntryField::Date : QuickEntryField::OtherAccount};
    }
    // A number in range that is no calendar day would be stored as it is.
    if (*fields.date < 10000000 || *fields.date > 30000000 || !CDate::IsValidDate(static_cast<DateT>(*fields.date)))
        return {151, QuickEntryField::Date};
    return {};
}

QuickEntryOutcome newFastTransactionPressed(SheetDocument& document, arguments::SimpleTransactionArguments& entry,
                                            const QuickEntryFields& fields)
{
    QuickEntryOutcome outcome = checkQuickEntry(fields);
    if (outcome.error == 0) {
        entry.setName(fields.name);
        entry.setAmount(fields.amount);
        entry.setDate(fields.date);
        entry.setOurAccountId(fields.ourAccount);
        entry.setOtherAccountId(fields.otherAccount);
        const auto values = entry.transactionValues(document.bridge());
        std::shared_ptr<CTrnSItem> transaction = values ? document.makeEmptyTransactionOfType(3) : nullptr;
        if (!transaction || !transaction->setEqualToSimpleTransactionArguments(*values))
            outcome = {129, QuickEntryField::OtherAccount};
        else {
            arguments::CTransactionArguments arguments;
            arguments.mTransactionDictionary = transaction->dictionaryRepresentation();
            document.commands().executeCommand(command::kNewTransaction, nullptr, &arguments);
            entry.reset();
            return {0, QuickEntryField::Date};
        }
    }
    CErrorManager::RaiseError(outcome.error);
    return outcome;
}

} // namespace ch
