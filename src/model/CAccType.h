#pragma once
// CAccType ('AccT'): a node of the chart of accounts. Account types form a
// forest: each type has at most one parent type of the same master type; its
// children are further types (its detail folders) and accounts (its details).
// Its balance, in the home currency, is the sum of the balances of its
// accounts and child types and is kept current by posting: every amount an
// account books climbs from the account's type up the parent chain.
//
// Master types: 1 own property, 2 debt, 3 profit and loss, 4 property,
// 5 debt, 6 assets. Debiteer lowers the balance of 1, 4 and 6 and raises that
// of 2, 3 and 5 (Crediteer the reverse); other values leave it unchanged.
// Profit-and-loss types never broadcast their balance (2004).
//
// The type refers to its parent by id and caches the object; the child lists
// hold pointers and own nothing (the model root owns every type and account).
// Main thread only.

#include <cstddef>
#include <memory>
#include <string>

#include "model/CNonVisual.h"

namespace ch {

class CAccount;

class CAccType : public CNonVisual {
public:
    static constexpr std::size_t kAccountNumberSize = 35;
    static constexpr std::size_t kMaxDescriptionLength = 255;

    explicit CAccType(CDocAccounting* document);
    CAccType(ObjectIdT id, CDocAccounting* document);
    // Copies the common fields, the master type and the description; no
    // parent, no children.
    CAccType(const CAccType& source, CDocAccounting* document);
    // Reads the record; the stored balance is skipped (it starts at 0) and the
    // stored parent is joined when it is already in the document.
    CAccType(LStream* stream, FourCharCode version, CDocAccounting* document);
    // Leaves the parent's child list and lets the children forget this type,
    // so that no pointer to it survives, whatever order the root deletes in.
    ~CAccType() override;

    CAccType(const CAccType&) = delete;
    CAccType& operator=(const CAccType&) = delete;

    // Name "Name", master type 1, no description or accounting number, top
    // level, balance 0.
    void SetDefaults();

    // --- fields (each Put_ returns true)
    long Get_mMasterType() const { return mMasterType; }
    // Moves nothing and posts nothing.
    bool Put_mMasterType(long masterType);
    void Get_mDescription(char (&out)[kDescriptionSize]) const;
    // Cut to 255 characters; null empties it.
    bool Put_mDescription(const char* description);
    void Get_mAccountNumber(char (&out)[kAccountNumberSize]) const;
    // Cut to 34 characters; sets the accounting-number text and broadcasts
    // 2001. Null empties both without a broadcast.
    bool Put_mAccountNumber(const char* number);
    // A text equal to the stored one ignoring case changes nothing; absent is
    // empty. The 8-bit field is not touched.
    virtual bool Put_StringRefAccountingNumber(TextRef text);
    virtual const std::string& Get_StringRefAccountingNumber() const { return mAccountingNumberText; }
    // Sets the description (true); null: false.
    bool Import(const char* description, long, long);

    double Get_mBalance() const { return mBalance; }
    ObjectIdT Get_mParentType() const { return mParentType; }
    CAccType* Get_mParentTypePtr() const { return mParentTypePtr; }
    CNamedListArray* Get_Details() const override { return mDetails.get(); }
    CNamedListArray* Get_DetailFolders() const override { return mDetailFolders.get(); }

    // --- names
    // "number:name" when there is an accounting number, else the name.
    void Get_Name(char (&out)[kNameSize]) const override;
    void Get_NameOnly(char (&out)[kNameSize]) const override;
    // "number : name" when there is an accounting-number text, else the name.
    const std::string& Get_StringrefName() const override;
    virtual const std::string& Get_StringRefNameOnly() const;

    // --- kind
    bool thisIsAnOwnPropretyAccount() const { return mMasterType == 1; }
    bool thisIsADebtAccount() const { return mMasterType == 2 || mMasterType == 5; }
    bool thisIsAProfitAndLossAccount() const { return mMasterType == 3; }
    bool thisIsAPropretyAccount() const { return !thisIsADebtAccount() && !thisIsAProfitAndLossAccount(); }
    // 0 for debt, 3 for profit and loss, 1 otherwise.
    long Get_WarningLevel(unsigned char) const override;
    long GetIconId() const override { return 132; }
    // Appends the localized "AccountType", "Account" and "AccountType"; flag 1.
    virtual void GetObjectDescription(std::string& first, std::string& second, std::string& third,
                                      unsigned char& flag) const;

    // --- tree
    // True for a top-level type. A parent id that names no type makes the
    // type top level.
    bool IsRootItem() override;
    // Whether an account ('AcnT', judged by its current type) or a type
    // ('AccT') may go below this type: same master type, not this type, not
    // an ancestor of it, not already its child.
    bool IsSubItemAcceptable(FourCharCode typeCode, CNonVisual* candidate) const override;
    // Whether the given type is an ancestor of this one.
    bool isSupertypeOfThis(const CAccType* type) const;
    // Put_mParentType.
    bool Put_mParentId(ObjectIdT parentId) override;
    // Moves the type below the type with the id, with its balance. Refused
    // (false) when no type has the id or that type does not accept this one;
    // a refused move changes nothing.
    bool Put_mParentType(ObjectIdT id);
    // Adds a child type and its balance (to this type and every ancestor);
    // a child already listed changes nothing. 2020.
    bool addAccountType(CAccType* child);
    // Takes a listed child type and its balance away. 2020.
    bool removeAccountType(CAccType* child);
    // Called by the account when it joins or leaves this type. An account
    // joins before the last entry of the list, posting its home-currency
    // balance only when post is set; it always takes its balance with it when
    // it leaves. Leaving answers whether it was listed.
    bool AddAccount(CNonVisual* account, bool post);
    bool RemoveAccount(CNonVisual* account);

    // --- balances (amounts in the home currency)
    // Post an amount by the master type and pass it up to the parent; 2004
    // unless profit and loss.
    bool Debiteer(double amount);
    bool Crediteer(double amount);
    // An exchange-rate correction of an account: the delta is added to this
    // type and every ancestor, without a broadcast.
    bool AdjustLocalBalance(double delta);
    // Rebuilds the balance from the accounts and the (rebuilt) child types.
    double RecalculateLocalBalance();
    // Whether the balances of the own accounts add up to the balance exactly.
    bool Repair() const;

    // --- deletion and persistence
    // 175 with child types, 174 with accounts, 233 when the business settings
    // name it; otherwise it leaves its parent.
    bool BeforeDelete() override;
    // Writes the record, then the records of the child types (depth first).
    void PutStream(LStream* stream) override;
    bool Export(LStream* stream, char separator) const override;

private:
    void CreateLists();
    // The parent object, looked up (and cached) when not yet known; null at the top level.
    CAccType* ResolveParent() const;
    // Posts by the master type; debit lowers property balances.
    bool Post(double amount, bool debit);
    // Adds an amount to the balance the way a joining child or account does.
    void PostJoining(double amount) { mMasterType == 2 || mMasterType == 3 || mMasterType == 5 ? Debiteer(amount) : Crediteer(amount); }
    void PostLeaving(double amount) { mMasterType == 2 || mMasterType == 3 || mMasterType == 5 ? Crediteer(amount) : Debiteer(amount); }

    char mAccountNumber[kAccountNumberSize] = {};
    long mMasterType = 1;
    char mDescription[kDescriptionSize] = {};
    double mBalance = 0.0;
    ObjectIdT mParentType = 0;
    mutable CAccType* mParentTypePtr = nullptr;
    std::string mAccountingNumberText;
    std::unique_ptr<CNamedListArray> mDetails;        // accounts of this type
    std::unique_ptr<CNamedListArray> mDetailFolders;  // child types, by name
    mutable std::string mDisplayName;                 // "number : name", made on request
};

} // namespace ch
