#include "document/OwnerOperationsOfDocument.h"

#include <optional>

#include "bridge/CAcoWItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CPrfRItem.h"
#include "document/DocumentNotifications.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CAcoWArguments.h"
#include "model/CAccountOwner.h"
#include "model/CDocAccounting.h"
#include "platform/core/localized_strings.h"

namespace ch {
namespace {

// A UID of this length or more names a person of the contacts.
constexpr std::size_t kMinimumUIDLength = 5;

bool accountSet(const std::optional<long>& id)
{
    return id && *id > 0;
}

// The person's id the arguments carry: the UID, else the dropped person's.
std::optional<std::string> contactId(const arguments::CAcoWArguments& args)
{
    if (args.UID && !args.UID->empty()) return args.UID;
    if (args.addressBookPerson && !args.addressBookPerson->uid.empty()) return args.addressBookPerson->uid;
    return std::nullopt;
}

TextRef text(const std::optional<std::string>& value)
{
    return value ? TextRef(*value) : std::nullopt;
}

} // namespace

CommandOutcome OwnerOperationsOfDocument::insertOwnerWithArguments(const arguments::CAcoWArguments& args)
{
    const std::optional<std::string> uid = contactId(args);
    const bool linked = uid || args.addressBookPerson;
    if (uid) {
        if (std::shared_ptr<CAcoWItem> existing = mDocument.getAccountOwnerForUID(*uid))
            return updateAccountOwner(*existing, args);
    }
    // A linked owner takes its contact fields from the person below.
    const TextRef none;
    CAccountOwner* made = mDocument.accounting()->InsertAccountOwner(
        -1, linked ? none : text(args.name), linked ? none : text(args.firstName), linked ? none : text(args.address),
        linked ? none : text(args.phone), linked ? none : text(args.fax), linked ? none : text(args.eMail),
        text(args.VATNr));
    if (!made) return CommandOutcome::unchanged(-1);
    std::shared_ptr<CAcoWItem> owner = mDocument.dataItemController().accountOwnerItemForAccountOwner(made);
    owner->synchronizeWithArguments(args);
    createDefaultAccountsFromArguments(args, *owner);
    auto& owners = mDocument.mOwnerArray();
    owners.insert(owners.begin(), owner);
    mDocument.notificationCenter().post(GXCOwnerCreatedNotification, owner);
    return CommandOutcome::changed(made->Get_Id());
}

CommandOutcome OwnerOperationsOfDocument::updateAccountOwner(CAcoWItem& owner, const arguments::CAcoWArguments& args)
{
    bool changed = false;
    if (args.UID && args.UID->size() >= kMinimumUIDLength && args.sourceItem) {
        // Edited in the owner sheet: what the contact does not hold (the VAT
        // number, the accounts and categories) is taken as typed; the fields
        // the contact holds follow the contact, as the sheet shows them.
        changed = owner.synchronizeWithArguments(args);
    } else if (args.UID && args.UID->size() >= kMinimumUIDLength) {
        // A person no longer in the contacts leaves the owner as it is.
        changed = owner.synchronizeWithUID(*args.UID);
    } else if (args.sourceItem) {
        owner.synchronizeWithObject(*args.sourceItem);
        changed = true;
    } else if (args.name) {
        // A replayed entry holds no source item, only the values it wrote:
        // the owner takes those, or the change is lost with the crash.
        changed = owner.synchronizeWithArguments(args);
    }
    changed = createDefaultAccountsFromArguments(args, owner) || changed;
    // The owners page lists customers and suppliers by their accounts: an
    // owner that just got them joins those lists.
    if (changed) mDocument.notificationCenter().post(GXCOwnerModifiedNotification, owner.shared_from_this());
    return {1, changed};
}

bool OwnerOperationsOfDocument::createDefaultAccountsFromArguments(const arguments::CAcoWArguments& args,
                                                                   CAcoWItem& owner)
{
    std::shared_ptr<CPrfRItem> settings = mDocument.mPreference();
    if (!settings) return false;
    const std::string name = owner.getName();
    bool made = false;
    if (args.createSupplierOpenInvoices.value_or(false) && !accountSet(owner.openCreditInvoiceAccount()) &&
        !accountSet(owner.creditorAccount())) {
        owner.setCreditorAccount(
            createAccountForCustomer(owner, name, "SUPPLIERTURNOVER", settings->mSupplierTurnoverAccT()));
        owner.setOpenCreditInvoiceAccount(
            createAccountForCustomer(owner, name, "SUPPLIEROPENINVOICE", settings->mSupplierOpenInvoicAccT()));
        made = true;
    }
    if (args.createCustomerOpenInvoices.value_or(false) && !accountSet(owner.openDebitInvoiceAccount()) &&
        !accountSet(owner.debitorAccount())) {
        owner.setOpenDebitInvoiceAccount(
            createAccountForCustomer(owner, name, "CUSTOMEROPENINVOICE", settings->mCustomerOpenInvoiceAccT()));
        owner.setDebitorAccount(
            createAccountForCustomer(owner, name, "CUSTOMERTURNOVER", settings->mCustomerTurnoverAccT()));
        made = true;
    }
    return made;
}

long OwnerOperationsOfDocument::createAccountForCustomer(CAcoWItem& owner, const std::string& ownerName,
                                                         const std::string& typeCode, long accountType)
{
    std::shared_ptr<CCurRItem> home = mDocument.getHomeCurrency();
    arguments::AccountArguments values(-1, ownerName + ":" + localized(typeCode),
                                       localized(typeCode + "DESC") + ":" + ownerName,
                                       accountType, home ? home->getId() : std::nullopt, std::nullopt, owner.getId(),
                                       -1, std::nullopt, 100.0, 0.0);
    // Part of the owner's command: no command of its own.
    return mDocument.operations().chart->createAccount(values).result;
}

} // namespace ch
