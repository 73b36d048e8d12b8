#include "ui/sheets/OwnerSheetLogic.h"

#include <algorithm>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcoWItem.h"
#include "document/arguments/CAcoWArguments.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/contacts_provider.h"
#include "platform/core/unicode.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

namespace {

bool none(const std::optional<long>& id)
{
    return !id || *id < 1;
}

} // namespace

void OwnerSheetLogic::initialize(const SheetParameters& parameters)
{
    mDocument = parameters.document();
    if (!mDocument)
        return;
    mTemporaryItem = std::make_shared<CAcoWItem>();
    mItemToModify = parameters.itemAs<CAcoWItem>(sheet_key::kOwnerToModify);
    mFromContacts = !mItemToModify && parameters.number(sheet_key::kUseAddressBook).value_or(0) != 0;
    // The contacts are edited in other programs: the picker offers them as
    // they are now, and owners linked to a changed person follow it.
    if (mFromContacts) mDocument->bridge().reloadContacts();
    if (mItemToModify) {
        mTemporaryItem->synchronizeWithObject(*mItemToModify);
        return;
    }
    mTemporaryItem->setGetName(parameters.text(sheet_key::kPartnerName).value_or(""));
    if (const auto address = parameters.text(sheet_key::kPartnerAddress))
        mTemporaryItem->setOfficialAddress(*address);
}

std::vector<ContactPerson> OwnerSheetLogic::pickablePeople() const
{
    const ContactsProvider* contacts = mDocument ? mDocument->bridge().contacts() : nullptr;
    std::vector<ContactPerson> people = contacts ? contacts->people() : std::vector<ContactPerson>();
    // A person who would give the owner no name could only be refused.
    std::erase_if(people, [](const ContactPerson& person) { return !contactNamesOwner(person); });
    std::stable_sort(people.begin(), people.end(), [](const ContactPerson& a, const ContactPerson& b) {
        return compareLocalized(contactDisplayName(a), contactDisplayName(b)) < 0;
    });
    return people;
}

std::optional<std::string> OwnerSheetLogic::linkedContactName() const
{
    const ContactsProvider* contacts = mDocument ? mDocument->bridge().contacts() : nullptr;
    const std::optional<std::string> uid = mItemToModify ? mItemToModify->UID() : std::nullopt;
    if (!contacts || !uid || uid->empty() || !mItemToModify->isABOwner()) return std::nullopt;
    const std::optional<ContactPerson> person = contacts->personWithUID(*uid);
    if (!person) return std::nullopt;
    return contactDisplayName(*person);
}

bool contactNamesOwner(const ContactPerson& person)
{
    const int showAs = person.flags & ContactPerson::kShowAsMask;
    return showAs == ContactPerson::kShowAsCompany ? !person.organization.empty()
                                                   : showAs == ContactPerson::kShowAsPerson && !person.lastName.empty();
}

std::string contactDisplayName(const ContactPerson& person)
{
    if ((person.flags & ContactPerson::kShowAsMask) == ContactPerson::kShowAsCompany && !person.organization.empty())
        return person.organization;
    std::string name = person.firstName;
    if (!name.empty() && !person.lastName.empty()) name += ' ';
    name += person.lastName;
    return name.empty() ? person.organization : name;
}

bool OwnerSheetLogic::canCreateSupplierAccounts() const
{
    return !mItemToModify ||
           (none(mItemToModify->openCreditInvoiceAccount()) && none(mItemToModify->creditorAccount()));
}

bool OwnerSheetLogic::canCreateCustomerAccounts() const
{
    return !mItemToModify ||
           (none(mItemToModify->openDebitInvoiceAccount()) && none(mItemToModify->debitorAccount()));
}

bool OwnerSheetLogic::checkAccountOwnerIsThis(std::optional<long> accountId) const
{
    CDocAccounting* books = mDocument ? mDocument->books() : nullptr;
    if (!mItemToModify || !books)
        return true;
    const CAccount* account = accountId ? books->GetAccountForID(static_cast<ObjectIdT>(*accountId)) : nullptr;
    if (!account)
        return true;
    return mItemToModify->getId() == account->Get_mAccountOwnerId();
}

bool OwnerSheetLogic::checkContents(bool selectSupplierAccounts, bool selectCustomerAccounts,
                                    const std::vector<ContactPerson>& picked)
{
    if (!mTemporaryItem)
        return false;
    if (mFromContacts) {
        if (picked.size() != 1) {
            CErrorManager::RaiseError(232);
            return false;
        }
        // Only what this person holds: nothing of one picked before.
        CAcoWItem& owner = *mTemporaryItem;
        owner.setGetName("");
        owner.setFirstName("");
        owner.setOfficialAddress("");
        owner.setPhone("");
        owner.setFax("");
        owner.setEMail("");
        mTemporaryItem->synchronizeWithABPerson(picked.front());
    }
    const CAcoWItem& item = *mTemporaryItem;
    if (mItemToModify) {
        const bool suppliersOk = !selectSupplierAccounts || (checkAccountOwnerIsThis(item.openCreditInvoiceAccount()) &&
                                                             checkAccountOwnerIsThis(item.creditorAccount()));
        const bool customersOk = !selectCustomerAccounts || (checkAccountOwnerIsThis(item.openDebitInvoiceAccount()) &&
                                                             checkAccountOwnerIsThis(item.debitorAccount()));
        if (!suppliersOk || !customersOk) {
            CErrorManager::RaiseError(265);
            return false;
        }
    }
    // An owner without a name could not be told from the others.
    if (item.getName().empty()) {
        CErrorManager::RaiseError(202);
        return false;
    }
    return true;
}

void OwnerSheetLogic::dialogClosed(int returnCode, const SheetParameters& context, bool createSupplierAccounts,
                                   bool createCustomerAccounts)
{
    if (returnCode <= 0 || !mDocument || !mTemporaryItem)
        return;
    arguments::CAcoWArguments arguments;
    const int action = static_cast<int>(context.number(sheet_key::kDialogAction).value_or(kActionCreate));
    if (action == kActionModify && mItemToModify) {
        mTemporaryItem->getCAcoWArgumentsWithOwnerData(arguments);
        arguments.createSupplierOpenInvoices = createSupplierAccounts;
        arguments.createCustomerOpenInvoices = createCustomerAccounts;
        mDocument->commands().executeCommand(command::kModifyOwner, mItemToModify, &arguments);
    } else if (action == 0 || action == kActionCreate) {
        mTemporaryItem->getCAcoWArgumentsWithOwnerData(arguments);
        arguments.idKey = -1;
        arguments.createSupplierOpenInvoices = createSupplierAccounts;
        arguments.createCustomerOpenInvoices = createCustomerAccounts;
        const long newId = mDocument->commands().executeCommand(command::kNewOwner, nullptr, &arguments);
        // A refused creation leaves the import line as it was.
        if (newId >= 1)
            if (const auto line = context.importLine()) {
                line->setMCounterPartyId(newId);
                mDocument->completeBankImport();
            }
    }
}

} // namespace ch
