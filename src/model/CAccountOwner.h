#pragma once
// CAccountOwner ('aCoW'): a person or firm that owns accounts or trades with
// the user: the user's own entry ("Me", id 1), customers and suppliers. Beside
// its name it holds contact texts, its Address Book id, and the accounts and
// categories the business bookkeeping uses for its invoices and payments.
// Ids of -1 mean none; a text never set is absent (std::nullopt) and is
// written as an empty text.

#include <optional>
#include <string>

#include "model/CNonVisual.h"

namespace ch {

class CAccountOwner : public CNonVisual {
public:
    CAccountOwner();
    explicit CAccountOwner(ObjectIdT id, CDocAccounting* document = nullptr);
    // Reads the record; version is the file's (it picks the layout).
    CAccountOwner(LStream* stream, FourCharCode version, CDocAccounting* document = nullptr);

    // The defaults and type 'aCoW'.
    void SetDefaults();

    // An owner never refuses its own deletion.
    bool BeforeDelete() override { return true; }
    // Owners write no export line.
    bool Export(LStream*, char) const override { return true; }
    // The record; the two categories only when the document's file version is
    // '2.00' or later.
    void PutStream(LStream* stream) override;

    // The text setters: absent is taken as empty; a text equal to the current
    // one ignoring case changes nothing. No broadcast. Result true.
    virtual bool Put_mCFfirstName(TextRef text);
    virtual bool Put_mCFaddress(TextRef text);
    virtual bool Put_mCFpostCode(TextRef text);
    virtual bool Put_mCFstate(TextRef text);
    virtual bool Put_mCFcity(TextRef text);
    virtual bool Put_mCFphone(TextRef text);
    virtual bool Put_mCFfax(TextRef text);
    virtual bool Put_mCFeMail(TextRef text);
    virtual bool Put_mCFVATNr(TextRef text);
    virtual bool Put_mCFAddressbookId(TextRef text);

    const std::optional<std::string>& Get_mCFfirstName() const { return mFirstName; }
    const std::optional<std::string>& Get_mCFaddress() const { return mAddress; }
    const std::optional<std::string>& Get_mCFpostCode() const { return mPostCode; }
    const std::optional<std::string>& Get_mCFstate() const { return mState; }
    const std::optional<std::string>& Get_mCFcity() const { return mCity; }
    const std::optional<std::string>& Get_mCFphone() const { return mPhone; }
    const std::optional<std::string>& Get_mCFfax() const { return mFax; }
    const std::optional<std::string>& Get_mCFeMail() const { return mEMail; }
    const std::optional<std::string>& Get_mCFVATNr() const { return mVATNr; }
    const std::optional<std::string>& Get_mCFAddressbookId() const { return mAddressbookId; }

    ObjectIdT getMOpenDebitInvoiceAccount() const { return mOpenDebitInvoiceAccount; }
    bool setMOpenDebitInvoiceAccount(ObjectIdT id) { mOpenDebitInvoiceAccount = id; return true; }
    ObjectIdT getMDebitorAccount() const { return mDebitorAccount; }
    bool setMDebitorAccount(ObjectIdT id) { mDebitorAccount = id; return true; }
    ObjectIdT getMOpenCreditInvoiceAccount() const { return mOpenCreditInvoiceAccount; }
    bool setMOpenCreditInvoiceAccount(ObjectIdT id) { mOpenCreditInvoiceAccount = id; return true; }
    ObjectIdT getMCreditorAccount() const { return mCreditorAccount; }
    bool setMCreditorAccount(ObjectIdT id) { mCreditorAccount = id; return true; }
    ObjectIdT getCustomerPaymentCategory() const { return mCustomerPaymentCategory; }
    bool setCustomerPaymentCategory(ObjectIdT id) { mCustomerPaymentCategory = id; return true; }
    ObjectIdT getSupplierInvoiceCategory() const { return mSupplierInvoiceCategory; }
    bool setSupplierInvoiceCategory(ObjectIdT id) { mSupplierInvoiceCategory = id; return true; }

    // The name (Unicode) and six texts; true.
    bool Import(TextRef name, TextRef firstName, TextRef address, TextRef phone, TextRef fax,
                TextRef eMail, TextRef vatNumber);

private:
    static void PutText(std::optional<std::string>& field, TextRef text);

    ObjectIdT mOpenDebitInvoiceAccount = -1;
    ObjectIdT mDebitorAccount = -1;
    ObjectIdT mOpenCreditInvoiceAccount = -1;
    ObjectIdT mCreditorAccount = -1;
    std::optional<std::string> mFirstName;
    std::optional<std::string> mAddress;
    std::optional<std::string> mPostCode;
    std::optional<std::string> mState;
    std::optional<std::string> mCity;
    std::optional<std::string> mPhone;
    std::optional<std::string> mFax;
    std::optional<std::string> mEMail;
    std::optional<std::string> mVATNr;
    std::optional<std::string> mAddressbookId;
    ObjectIdT mCustomerPaymentCategory = -1;
    ObjectIdT mSupplierInvoiceCategory = -1;
};

} // namespace ch
