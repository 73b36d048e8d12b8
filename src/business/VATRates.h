#pragma once
// The document's VAT-rate operations: the commands that create (33), modify
// (34) and delete (37) a rate, the accounts and category a new rate makes,
// and the look-ups of rates by id, account and object key. The VAT-rate
// array is the document's, in display order, newest first.

#include <memory>
#include <optional>
#include <string_view>

#include "model/foundation/ModelTypes.h"

namespace ch::arguments {
class VATRateArguments;
}

namespace ch::business {

class BusinessDocument;
class GXVATRate;


// Command 33: a new rate from the arguments, first in the array; posts
// "NEWVATRATECREATED" and marks the document changed. True.
bool createVATRateWithArguments(BusinessDocument& document, const arguments::VATRateArguments& arguments);
// Command 34: the rate takes the arguments; marks the document changed and
// posts "VATRATEUPDATED". True.
bool updateVATRate(BusinessDocument& document, const std::shared_ptr<GXVATRate>& rate,
                   const arguments::VATRateArguments& arguments);
// Asks once whether the rate may go: question 226, or, when transactions are
// booked on the accounts that go with it, a question naming those accounts
// and how many transactions go with them. True for OK.
bool confirmVATRateDeletion(BusinessDocument& document, const GXVATRate& rate);
// Command 37: after confirmVATRateDeletion when asking, deletes the rate's
// paid, received and reconciliation accounts that no other rate uses with
// every transaction booked on them, then the rate; no further question is
// asked. Nothing is deleted when the question is declined or one of those
// accounts may not be deleted (the account says why).
void performDeleteVATRate(BusinessDocument& document, const std::shared_ptr<GXVATRate>& rate, bool withAsking);

// Makes the rate's paid, received or reconciliation account (exactly one flag
// set), named after the rate, in the account type the settings give for it,
// in the home currency, owned by the document's own owner. The new id,
// negative when none was made.
ObjectIdT createAccountForVATRate(BusinessDocument& document, const GXVATRate& rate, bool isPaid, bool isReceived,
                                  bool isReconciled);
// Makes the rate's category of VAT invoiced but not yet received; its id.
ObjectIdT createCategoryInvoicedNotReceivedForVATRate(BusinessDocument& document, const GXVATRate& rate);

// The first rate with the id; without one, the first rate when asked to
// always return one; none otherwise.
std::shared_ptr<GXVATRate> VATRateWithId(BusinessDocument& document, std::optional<long> id, bool alwaysReturnOne);
// Order 0: the rate with id 1, else the first rate; any other order: none.
std::shared_ptr<GXVATRate> getDefaultVATRateForOrder(BusinessDocument& document, int order);
// The first rate whose received account (asPayable true) or paid account
// (false) is the account; the Payable form matches the paid account, the
// Receivable form the received one.
std::shared_ptr<GXVATRate> VATRateForAccountId(BusinessDocument& document, long accountId, bool asPayable);
std::shared_ptr<GXVATRate> VATRateForAccountIdPayable(BusinessDocument& document, long accountId);
std::shared_ptr<GXVATRate> VATRateForAccountIdReceivable(BusinessDocument& document, long accountId);
// Whether a rate other than `ignoring` uses the account as its paid, received
// or reconciliation account.
bool accountIsUsedByVATRate(BusinessDocument& document, long accountId, const GXVATRate* ignoring);
// The rate a "VatR" key names (the id after the first four characters),
// without falling back to another rate; none for other keys. The document's
// look-up by key asks it when its item registry has nothing under the key.
std::shared_ptr<GXVATRate> VATRateForObjectKey(BusinessDocument& document, std::string_view key);

} // namespace ch::business
