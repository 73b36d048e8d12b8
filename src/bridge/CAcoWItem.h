#pragma once
// CAcoWItem: the item of an account owner (model type 'aCoW', item and page
// type 'AcoW'): the user, a customer or a supplier, with contact fields, the
// customer and supplier accounts and categories, the invoice and payment
// lines through those accounts, and the link to a person in the contacts
// (the document's contacts provider) by the person's UID.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <cstdint>
#include <vector>

#include "bridge/AccountAncestor.h"
#include "bridge/CNonVisualDataItem.h"

namespace ch {

struct CAcoWArguments;
struct ContactAddress;
struct ContactPerson;

class CAcoWItem : public CNonVisualDataItem {
public:
    // The model's placeholder first name.
    static constexpr std::string_view kFirstNamePlaceholder = "First Name";

    CAcoWItem();
    explicit CAcoWItem(CNonVisual* owner, const Ptr& parent = nullptr);
    ~CAcoWItem() override;

    // --- contact fields (bound: the owner; detached: the stored values)
    std::optional<std::string> firstName() const;
    void setFirstName(std::optional<std::string_view> text);
    std::optional<std::string> officialAddress() const;
    void setOfficialAddress(std::optional<std::string_view> text);
    std::optional<std::string> phone() const;
    void setPhone(std::optional<std::string_view> text);
    std::optional<std::string> fax() const;
    void setFax(std::optional<std::string_view> text);
    std::optional<std::string> eMail() const;
    void setEMail(std::optional<std::string_view> text);
    std::optional<std::string> VATNr() const;
    void setVATNr(std::optional<std::string_view> text);
    std::optional<std::string> UID() const;
    void setUID(std::optional<std::string_view> text);

    // --- accounts and categories
    std::optional<long> openDebitInvoiceAccount() const;
    void setOpenDebitInvoiceAccount(std::optional<long> id);
    std::optional<long> debitorAccount() const;
    void setDebitorAccount(std::optional<long> id);
    std::optional<long> openCreditInvoiceAccount() const;
    void setOpenCreditInvoiceAccount(std::optional<long> id);
    std::optional<long> creditorAccount() const;
    void setCreditorAccount(std::optional<long> id);
    std::optional<long> customerPaymentCategory() const;
    void setCustomerPaymentCategory(std::optional<long> id);
    std::optional<long> supplierInvoiceCategory() const;
    void setSupplierInvoiceCategory(std::optional<long> id);

    // --- derived
    std::string completeName() const;
    bool isCustomer() const;
    bool isSupplier() const;
    // Linked to a person of the contacts (a UID that is not empty).
    bool isABOwner() const;
    bool isNotABOwner() const { return !isABOwner(); }
    // The linked person's primary address, and as text; none when not linked,
    // when the person is gone or has no address.
    std::optional<ContactAddress> ABAddress() const;
    std::optional<std::string> fullAddress() const;
    // The linked person's image bytes; empty when there are none.
    std::vector<std::uint8_t> picture() const;
    // The icon resource of a linked owner ("vCard.icns"); none otherwise.
    std::optional<std::string> image() const;
    // Change announcements only.
    void setPicture() { announceDisplayState("picture"); }
    void setImage() { announceDisplayState("image"); }
    void setIsABOwner() { announceDisplayState("isABOwner"); }
    void setIsNotABOwner() { announceDisplayState("isNotABOwner"); }
    void setFullAddress() { announceDisplayState("fullAddress"); }
    void setCustomerIncoiceArray() { announceDisplayState("customerInvoiceArray"); }

    // Invoice and payment lines; none when the owner is no customer (supplier).
    std::optional<LineItemArray> customerArrayForPayments(bool payments);
    std::optional<LineItemArray> supplierArrayForPayments(bool payments);
    std::optional<LineItemArray> customerInvoiceArray() { return customerArrayForPayments(false); }
    std::optional<LineItemArray> customerPaymentArray() { return customerArrayForPayments(true); }
    std::optional<LineItemArray> supplierInvoiceArray() { return supplierArrayForPayments(false); }
    std::optional<LineItemArray> supplierPaymentArray() { return supplierArrayForPayments(true); }

    // --- operations
    // False when one of the owner's accounts has transactions or may not go.
    bool objectCanBeDeleted() const override;
    bool getCAcoWArgumentsWithOwnerData(CAcoWArguments& arguments);
    // Applies the owner sheet. A linked owner takes its contact fields from
    // the person; when the person is no longer in the contacts the sheet's
    // fields are kept, and so is the link.
    bool synchronizeWithArguments(const CAcoWArguments& arguments);
    void synchronizeWithObject(const CNonVisualDataItem& other) override;
    // Copies the person with the UID; false (nothing changed) when there is none.
    bool synchronizeWithUID(std::string_view uid);
    bool synchronizeWithABPerson(const ContactPerson& person);

private:
    std::optional<ContactPerson> linkedPerson() const;
    void announceDerivedKeys();

    std::optional<std::string> mFirstName;
    std::optional<std::string> mAddress;
    std::optional<std::string> mPhone;
    std::optional<std::string> mFax;
    std::optional<std::string> mEMail;
    std::optional<std::string> mVATNr;
    std::optional<long> mOpenDebitInvoiceAccount;
    std::optional<long> mDebitorAccount;
    std::optional<long> mOpenCreditInvoiceAccount;
    std::optional<long> mCreditorAccount;
    std::optional<std::string> mUID;
    std::optional<long> mCustomerPaymentCategory;
    std::optional<long> mSupplierInvoiceCategory;
};

} // namespace ch
