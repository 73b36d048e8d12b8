#include "bridge/CAcoWItem.h"

#include "bridge/ArgumentRecords.h"
#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "model/CAccountOwner.h"
#include "platform/core/contacts_provider.h"

namespace ch {

namespace {

constexpr std::string_view kLinkedOwnerIcon = "vCard.icns";
constexpr ObjectIdT kNoAccount = -1;

CAccountOwner* ownerOf(const CNonVisualDataItem& item)
{
    return static_cast<CAccountOwner*>(item.getSourceItem());
}

using TextGetter = const std::optional<std::string>& (CAccountOwner::*)() const;
using TextPutter = bool (CAccountOwner::*)(TextRef);
using IdGetter = ObjectIdT (CAccountOwner::*)() const;
using IdPutter = bool (CAccountOwner::*)(ObjectIdT);

std::optional<std::string> readText(const CNonVisualDataItem& item, TextGetter get,
                                    const std::optional<std::string>& kept)
{
    const CAccountOwner* owner = ownerOf(item);
    return owner ? (owner->*get)() : kept;
}

// None is written as the empty text.
void writeText(const CNonVisualDataItem& item, TextPutter put, std::optional<std::string>& kept,
               std::optional<std::string_view> text)
{
    if (CAccountOwner* owner = ownerOf(item)) (owner->*put)(text.value_or(std::string_view()));
    if (kept != text) kept = text ? std::optional<std::string>(std::string(*text)) : std::nullopt;
}

std::optional<long> readId(const CNonVisualDataItem& item, IdGetter get, const std::optional<long>& kept)
{
    const CAccountOwner* owner = ownerOf(item);
    return owner ? std::optional<long>((owner->*get)()) : kept;
}

// None is written as the model's "no account" (-1): an owner cleared this way
// no longer holds on to the account, so that it can be deleted.
void writeId(const CNonVisualDataItem& item, IdPutter put, std::optional<long>& kept, std::optional<long> id)
{
    if (CAccountOwner* owner = ownerOf(item)) (owner->*put)(id ? static_cast<ObjectIdT>(*id) : kNoAccount);
    kept = id;
}

// The debit ("from") or the credit ("to") lines of the open-invoice account;
// none without that account.
LineItemArray openInvoiceLines(BridgeDocument* document, std::optional<long> accountId, bool debitLines)
{
    std::shared_ptr<CAcnTItem> account =
        document && accountId ? document->getAccountItemForId(static_cast<ObjectIdT>(*accountId)) : nullptr;
    if (!account) return {};
    return debitLines ? account->fromTransactionDetails() : account->toTransactionDetails();
}

} // namespace

CAcoWItem::CAcoWItem() = default;

CAcoWItem::CAcoWItem(CNonVisual* owner, const Ptr& parent) : CNonVisualDataItem(owner, parent) {}

CAcoWItem::~CAcoWItem() = default;

// --- contact fields (bound: the owner's text; detached: the kept one)

std::optional<std::string> CAcoWItem::firstName() const
{
    return readText(*this, &CAccountOwner::Get_mCFfirstName, mFirstName);
}

void CAcoWItem::setFirstName(std::optional<std::string_view> text)
{
    writeText(*this, &CAccountOwner::Put_mCFfirstName, mFirstName, text);
    announce("firstName");
}

std::optional<std::string> CAcoWItem::officialAddress() const
{
    return readText(*this, &CAccountOwner::Get_mCFaddress, mAddress);
}

void CAcoWItem::setOfficialAddress(std::optional<std::string_view> text)
{
    writeText(*this, &CAccountOwner::Put_mCFaddress, mAddress, text);
    announce("officialAddress");
}

std::optional<std::string> CAcoWItem::phone() const
{
    return readText(*this, &CAccountOwner::Get_mCFphone, mPhone);
}

void CAcoWItem::setPhone(std::optional<std::string_view> text)
{
    writeText(*this, &CAccountOwner::Put_mCFphone, mPhone, text);
    announce("phone");
}

std::optional<std::string> CAcoWItem::fax() const
{
    return readText(*this, &CAccountOwner::Get_mCFfax, mFax);
}

void CAcoWItem::setFax(std::optional<std::string_view> text)
{
    writeText(*this, &CAccountOwner::Put_mCFfax, mFax, text);
    announce("fax");
}

std::optional<std::string> CAcoWItem::eMail() const
{
    return readText(*this, &CAccountOwner::Get_mCFeMail, mEMail);
}

void CAcoWItem::setEMail(std::optional<std::string_view> text)
{
    writeText(*this, &CAccountOwner::Put_mCFeMail, mEMail, text);
    announce("eMail");
}

std::optional<std::string> CAcoWItem::VATNr() const
{
    return readText(*this, &CAccountOwner::Get_mCFVATNr, mVATNr);
}

void CAcoWItem::setVATNr(std::optional<std::string_view> text)
{
    writeText(*this, &CAccountOwner::Put_mCFVATNr, mVATNr, text);
    announce("VATNr");
}

std::optional<std::string> CAcoWItem::UID() const
{
    return readText(*this, &CAccountOwner::Get_mCFAddressbookId, mUID);
}

void CAcoWItem::setUID(std::optional<std::string_view> text)
{
    writeText(*this, &CAccountOwner::Put_mCFAddressbookId, mUID, text);
    announce("UID");
}

// --- accounts and categories (bound: the owner's id; detached: the kept one)

std::optional<long> CAcoWItem::openDebitInvoiceAccount() const
{
    return readId(*this, &CAccountOwner::getMOpenDebitInvoiceAccount, mOpenDebitInvoiceAccount);
}

void CAcoWItem::setOpenDebitInvoiceAccount(std::optional<long> id)
{
    writeId(*this, &CAccountOwner::setMOpenDebitInvoiceAccount, mOpenDebitInvoiceAccount, id);
    announce("openDebitInvoiceAccount");
}

std::optional<long> CAcoWItem::debitorAccount() const
{
    return readId(*this, &CAccountOwner::getMDebitorAccount, mDebitorAccount);
}

void CAcoWItem::setDebitorAccount(std::optional<long> id)
{
    writeId(*this, &CAccountOwner::setMDebitorAccount, mDebitorAccount, id);
    announce("debitorAccount");
}

std::optional<long> CAcoWItem::openCreditInvoiceAccount() const
{
    return readId(*this, &CAccountOwner::getMOpenCreditInvoiceAccount, mOpenCreditInvoiceAccount);
}

void CAcoWItem::setOpenCreditInvoiceAccount(std::optional<long> id)
{
    writeId(*this, &CAccountOwner::setMOpenCreditInvoiceAccount, mOpenCreditInvoiceAccount, id);
    announce("openCreditInvoiceAccount");
}

std::optional<long> CAcoWItem::creditorAccount() const
{
    return readId(*this, &CAccountOwner::getMCreditorAccount, mCreditorAccount);
}

void CAcoWItem::setCreditorAccount(std::optional<long> id)
{
    writeId(*this, &CAccountOwner::setMCreditorAccount, mCreditorAccount, id);
    announce("creditorAccount");
}

std::optional<long> CAcoWItem::customerPaymentCategory() const
{
    return readId(*this, &CAccountOwner::getCustomerPaymentCategory, mCustomerPaymentCategory);
}

void CAcoWItem::setCustomerPaymentCategory(std::optional<long> id)
{
    writeId(*this, &CAccountOwner::setCustomerPaymentCategory, mCustomerPaymentCategory, id);
    announce("customerPaymentCategory");
}

std::optional<long> CAcoWItem::supplierInvoiceCategory() const
{
    return readId(*this, &CAccountOwner::getSupplierInvoiceCategory, mSupplierInvoiceCategory);
}

void CAcoWItem::setSupplierInvoiceCategory(std::optional<long> id)
{
    writeId(*this, &CAccountOwner::setSupplierInvoiceCategory, mSupplierInvoiceCategory, id);
    announce("supplierInvoiceCategory");
}

// --- derived

std::string CAcoWItem::completeName() const
{
    std::string first = firstName().value_or(std::string());
    if (first == kFirstNamePlaceholder) first.clear();
    return getName() + " " + first;
}

bool CAcoWItem::isCustomer() const
{
    const std::optional<long> account = debitorAccount();
    return account && *account > 0;
}

bool CAcoWItem::isSupplier() const
{
    const std::optional<long> account = creditorAccount();
    return account && *account > 0;
}

bool CAcoWItem::isABOwner() const
{
    const std::optional<std::string> uid = UID();
    return uid && !uid->empty();
}

std::optional<ContactPerson> CAcoWItem::linkedPerson() const
{
    const std::optional<std::string> uid = UID();
    BridgeDocument* document = parentDocument();
    const ContactsProvider* contacts = document ? document->contacts() : nullptr;
    if (!uid || uid->empty() || !contacts) return std::nullopt;
    return contacts->personWithUID(*uid);
}

std::optional<ContactAddress> CAcoWItem::ABAddress() const
{
    const std::optional<ContactPerson> person = linkedPerson();
    const ContactAddress* address = person ? person->primaryAddress() : nullptr;
    return address ? std::optional<ContactAddress>(*address) : std::nullopt;
}

std::optional<std::string> CAcoWItem::fullAddress() const
{
    const std::optional<ContactAddress> address = ABAddress();
    return address ? std::optional<std::string>(formatAddress(*address)) : std::nullopt;
}

std::vector<std::uint8_t> CAcoWItem::picture() const
{
    const std::optional<ContactPerson> person = linkedPerson();
    return person ? person->imageData : std::vector<std::uint8_t>();
}

std::optional<std::string> CAcoWItem::image() const
{
    return isABOwner() ? std::optional<std::string>(std::string(kLinkedOwnerIcon)) : std::nullopt;
}

void CAcoWItem::announceDerivedKeys()
{
    setPicture();
    setImage();
    setIsABOwner();
    setIsNotABOwner();
    setFullAddress();
}

// --- invoice and payment lines

std::optional<LineItemArray> CAcoWItem::customerArrayForPayments(bool payments)
{
    if (!isCustomer()) return std::nullopt;
    return openInvoiceLines(parentDocument(), openDebitInvoiceAccount(), payments);
}

std::optional<LineItemArray> CAcoWItem::supplierArrayForPayments(bool payments)
{
    if (!isSupplier()) return std::nullopt;
    return openInvoiceLines(parentDocument(), openCreditInvoiceAccount(), !payments);
}

// --- operations

bool CAcoWItem::objectCanBeDeleted() const
{
    BridgeDocument* document = parentDocument();
    if (!document) return true;
    const std::optional<ObjectIdT> id = getId();
    for (const std::shared_ptr<CAcnTItem>& account : document->allAccounts()) {
        if (!account || account->getAccountOwnerId() != id) continue;
        if (!account->objectCanBeDeletedWithMessage(false, this) || account->hasTransactions()) return false;
    }
    return true;
}

bool CAcoWItem::getCAcoWArgumentsWithOwnerData(CAcoWArguments& arguments)
{
    arguments.sourceItem = std::static_pointer_cast<CAcoWItem>(weak_from_this().lock());
    const std::optional<ObjectIdT> id = getId();
    arguments.idKey = id ? std::optional<long>(*id) : std::nullopt;
    arguments.name = getName();
    arguments.firstName = firstName();
    arguments.address = officialAddress();
    arguments.phone = phone();
    arguments.fax = fax();
    arguments.eMail = eMail();
    arguments.VATNr = VATNr();
    arguments.openDebitInvoiceAccount = openDebitInvoiceAccount();
    arguments.debitorAccount = debitorAccount();
    arguments.openCreditInvoiceAccount = openCreditInvoiceAccount();
    arguments.creditorAccount = creditorAccount();
    arguments.UID = UID();
    arguments.customerPaymentCategoryId = customerPaymentCategory();
    arguments.supplierInvoiceCategoryId = supplierInvoiceCategory();
    return true;
}

bool CAcoWItem::synchronizeWithArguments(const CAcoWArguments& arguments)
{
    auto applyContactFields = [&] {
        setFirstName(arguments.firstName);
        setOfficialAddress(arguments.address);
        setPhone(arguments.phone);
        setFax(arguments.fax);
        setEMail(arguments.eMail);
        setUID(arguments.UID);
    };
    const bool linked = arguments.UID && !arguments.UID->empty();

    setGetName(arguments.name);
    if (!linked) applyContactFields();
    setOpenDebitInvoiceAccount(arguments.openDebitInvoiceAccount);
    setDebitorAccount(arguments.debitorAccount);
    setOpenCreditInvoiceAccount(arguments.openCreditInvoiceAccount);
    setCreditorAccount(arguments.creditorAccount);
    setVATNr(arguments.VATNr);
    announceDerivedKeys();
    if (arguments.addressBookPerson) {
        synchronizeWithABPerson(*arguments.addressBookPerson);
    } else if (linked && !synchronizeWithUID(*arguments.UID)) {
        // The person is not in the contacts (any more): the user's edits must
        // not be lost, and the link stays for when the person returns.
        applyContactFields();
    }
    setCustomerPaymentCategory(arguments.customerPaymentCategoryId);
    setSupplierInvoiceCategory(arguments.supplierInvoiceCategoryId);
    return true;
}

void CAcoWItem::synchronizeWithObject(const CNonVisualDataItem& other)
{
    CNonVisualDataItem::synchronizeWithObject(other);
    const auto* source = dynamic_cast<const CAcoWItem*>(&other);
    if (!source) return;
    if (!isABOwner()) {
        setFirstName(source->firstName());
        setOfficialAddress(source->officialAddress());
        setPhone(source->phone());
        setFax(source->fax());
        setEMail(source->eMail());
        setUID(source->UID());
    }
    setOpenDebitInvoiceAccount(source->openDebitInvoiceAccount());
    setDebitorAccount(source->debitorAccount());
    setOpenCreditInvoiceAccount(source->openCreditInvoiceAccount());
    setCreditorAccount(source->creditorAccount());
    setVATNr(source->VATNr());
    announceDerivedKeys();
    setCustomerPaymentCategory(source->customerPaymentCategory());
    setSupplierInvoiceCategory(source->supplierInvoiceCategory());
}

bool CAcoWItem::synchronizeWithUID(std::string_view uid)
{
    BridgeDocument* document = parentDocument();
    const ContactsProvider* contacts = document ? document->contacts() : nullptr;
    const std::optional<ContactPerson> person = contacts ? contacts->personWithUID(uid) : std::nullopt;
    return person && synchronizeWithABPerson(*person);
}

bool CAcoWItem::synchronizeWithABPerson(const ContactPerson& person)
{
    const int showAs = person.flags & ContactPerson::kShowAsMask;
    // What the card does not hold stays empty: no placeholder text of a new
    // owner, nor a value the card no longer has, passes for the contact's.
    if (showAs == ContactPerson::kShowAsCompany) {
        if (!person.organization.empty()) setGetName(person.organization);
    } else if (showAs == ContactPerson::kShowAsPerson) {
        setFirstName(person.firstName);
        if (!person.lastName.empty()) setGetName(person.lastName);
    }
    setUID(person.uid);
    const ContactAddress* address = person.primaryAddress();
    setOfficialAddress(address ? formatAddress(*address) : std::string());
    const ContactValue* phone = person.primaryPhone();
    setPhone(phone ? phone->value : std::string());
    const ContactValue* fax = person.faxNumber();
    setFax(fax ? fax->value : std::string());
    const ContactValue* mail = person.primaryEmail();
    setEMail(mail ? mail->value : std::string());
    announceDerivedKeys();
    return true;
}

} // namespace ch
