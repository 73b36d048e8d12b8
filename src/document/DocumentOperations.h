#pragma once
// The document operations that the numbered commands reach, one interface per
// group. The command executor checks every command's target and argument
// object before it calls one, so an operation always receives a target of the
// kind its command names, bound to its model object, and an argument object of
// the command's class.
//
// Each operation answers a CommandOutcome: the command's result and whether
// the books changed. The executor marks the document changed exactly when an
// operation says they did, so no operation marks it itself.
//
// The null implementations change nothing and answer -1; a group's real
// implementation replaces its null one in the document's operation set.

#include <memory>

#include "model/foundation/ModelTypes.h"
#include "platform/core/value.h"

namespace ch {

class CAccTItem;
class CAcnTItem;
class CAcoWItem;
class CArgumentAncestor;
class CCurRItem;
class CExpTItem;
class CMxpTItem;
class CNonVisualDataItem;
class CRcrTItem;
class CTrnSItem;
class GXNonVisual;

namespace arguments {
class AccountArguments;
class AccountTypeArguments;
class BuySellSharesParameters;
class CAcoWArguments;
class CShareArguments;
class CategoryGroupParameters;
class CategoryParameters;
class CurrencyArguments;
class ImportTransactionArguments;
class RegisterDividendParameters;
class TransactionLinkArguments;
} // namespace arguments

struct CommandOutcome {
    int result = -1;
    bool changedBooks = false;

    static CommandOutcome unchanged(int result = -1) { return {result, false}; }
    static CommandOutcome changed(int result) { return {result, true}; }
};

// Commands 0 to 5: the budget page's changes, handed to its budget items.
// The executor has checked the classes: a budget detail, cross-reference or
// budget item as target, and the budget argument class of the command.
class BudgetOperations {
public:
    virtual ~BudgetOperations();
    virtual CommandOutcome modifyBudgetDetail(CNonVisualDataItem& detail, const CArgumentAncestor& args) = 0;
    virtual CommandOutcome modifyBudgetXRef(CNonVisualDataItem& xref, const CArgumentAncestor& args) = 0;
    virtual CommandOutcome createBudgetXRefForBudget(CNonVisualDataItem& budget,
                                                     const CArgumentAncestor& args) = 0;
    virtual CommandOutcome deleteBudgetXRef(CNonVisualDataItem& xref, CNonVisualDataItem& budget) = 0;
    virtual CommandOutcome modifyTransferXRef(CNonVisualDataItem& budget, const CArgumentAncestor& args) = 0;
    virtual CommandOutcome modifyBudget(CNonVisualDataItem& budget, const CArgumentAncestor& args) = 0;
};

// Commands 6 to 17: currencies, shares, account types, accounts, categories
// and category groups.
class ChartOperations {
public:
    virtual ~ChartOperations();
    virtual CommandOutcome createCurrency(const arguments::CurrencyArguments& args) = 0;                      // 6
    virtual CommandOutcome modifyCurrency(CCurRItem& currency, const arguments::CurrencyArguments& args) = 0; // 7
    virtual CommandOutcome createShare(const arguments::CShareArguments& args) = 0;                           // 8
    virtual CommandOutcome modifyShare(CCurRItem& share, const arguments::CShareArguments& args) = 0;         // 9
    virtual CommandOutcome modifyAccountType(CAccTItem& type, const arguments::AccountTypeArguments& args) = 0; // 10
    virtual CommandOutcome createAccountType(const arguments::AccountTypeArguments& args) = 0;                // 11
    virtual CommandOutcome modifyAccount(CAcnTItem& account, const arguments::AccountArguments& args) = 0;    // 12
    virtual CommandOutcome createAccount(const arguments::AccountArguments& args) = 0;                        // 13
    virtual CommandOutcome modifyCategory(CExpTItem& category, const arguments::CategoryParameters& args) = 0; // 14
    virtual CommandOutcome createCategory(const arguments::CategoryParameters& args) = 0;                     // 15
    virtual CommandOutcome modifyCategoryGroup(CMxpTItem& group, const arguments::CategoryGroupParameters& args) = 0; // 16
    virtual CommandOutcome createCategoryGroup(const arguments::CategoryGroupParameters& args) = 0;           // 17
};

// Commands 18 and 20 to 22: rates, share trades and dividends.
class RateOperations {
public:
    virtual ~RateOperations();
    virtual CommandOutcome changeRateForCurrency(CCurRItem& currency, long quantity, double factor,
                                                 DateT date) = 0;                                        // 18
    virtual CommandOutcome buyOrSellShares(CCurRItem& share, const arguments::BuySellSharesParameters& args) = 0; // 20, 21
    virtual CommandOutcome registerDividendForShare(CCurRItem& share,
                                                    const arguments::RegisterDividendParameters& args) = 0;    // 22
};

// Commands 23 to 25 and 29: transactions from their dictionaries, linking.
class TransactionOperations {
public:
    virtual ~TransactionOperations();
    virtual CommandOutcome makeNewTransactionFromTransactionDictionaryRepresentation(const Dictionary& transaction,
                                                                                    bool linked) = 0; // 23
    virtual CommandOutcome updateTransaction(CTrnSItem& transaction, const Dictionary& values) = 0;       // 24
    virtual CommandOutcome makeNewrecurringTrnsFromTransactionDictionary(const Dictionary& transaction) = 0; // 25
    virtual CommandOutcome performLinkTransaction(CTrnSItem& transaction) = 0;                            // 29
};

// Commands 26 and 27: account owners.
class OwnerOperations {
public:
    virtual ~OwnerOperations();
    virtual CommandOutcome insertOwnerWithArguments(const arguments::CAcoWArguments& args) = 0;                // 26
    virtual CommandOutcome updateAccountOwner(CAcoWItem& owner, const arguments::CAcoWArguments& args) = 0;    // 27
};

// Command 28: the deletion family, chosen by the target's type. Each answers
// whether the object went.
class DeletionOperations {
public:
    virtual ~DeletionOperations();
    virtual CommandOutcome performDeleteCurrency(CCurRItem& currency) = 0;
    virtual CommandOutcome performDeleteAccount(CAcnTItem& account) = 0;
    virtual CommandOutcome performDeleteAccountType(CAccTItem& type) = 0;
    virtual CommandOutcome performDeleteRecurringTransaction(CRcrTItem& transaction) = 0;
    virtual CommandOutcome performDeleteMasterExpenseType(CMxpTItem& group) = 0;
    virtual CommandOutcome performDeleteExpenseType(CExpTItem& category) = 0;
    virtual CommandOutcome performDeleteOwner(CAcoWItem& owner) = 0;
    virtual CommandOutcome performDeleteUnlinkedTransaction(CTrnSItem& transaction) = 0;
    virtual CommandOutcome performDeleteTransaction(CTrnSItem& transaction, bool withAsking) = 0;
};

// Command 31: one statement line becomes a transaction.
class ImportOperations {
public:
    virtual ~ImportOperations();
    virtual CommandOutcome importTransactionWithArguments(const arguments::ImportTransactionArguments& args) = 0;
};

// Commands 33, 34, 37, 38, 39, 41, 42 and 44 to 46: VAT rates, invoices and
// payments. Their argument classes belong to the business bookkeeping, which
// reads its own class out of the argument object.
class BusinessOperations {
public:
    virtual ~BusinessOperations();
    virtual CommandOutcome createVATRate(const CArgumentAncestor& args) = 0;                         // 33
    virtual CommandOutcome updateVATRate(GXNonVisual& rate, const CArgumentAncestor& args) = 0;      // 34
    virtual CommandOutcome performDeleteVATRate(GXNonVisual& rate, bool withAsking) = 0;                  // 37
    virtual CommandOutcome createCustomerInvoice(const CArgumentAncestor& args) = 0;                 // 38
    virtual CommandOutcome modifyCustomerInvoice(CTrnSItem& invoice, const CArgumentAncestor& args) = 0; // 39
    virtual CommandOutcome createSupplierInvoice(const CArgumentAncestor& args) = 0;                 // 41
    virtual CommandOutcome modifySupplierInvoice(CTrnSItem& invoice, const CArgumentAncestor& args) = 0; // 42
    virtual CommandOutcome createCustomerPayment(const CArgumentAncestor& args) = 0;                 // 44, 46
    virtual CommandOutcome splitPayment(CTrnSItem& payment, const CArgumentAncestor& args) = 0;      // 45
    // The payment pays the invoice (52); the transaction pays the balance of
    // the VAT period the arguments name by its dates, without them the one
    // before its date (53). Books without business bookkeeping change nothing.
    virtual CommandOutcome linkPaymentToInvoice(CTrnSItem& payment, CTrnSItem& invoice);
    virtual CommandOutcome setVATBalancePayment(CTrnSItem& transaction,
                                                const arguments::TransactionLinkArguments* values);
    // The payment leaves its invoice (54); every payment leaves the invoice
    // (55); the invoice is settled by a credit note (56).
    virtual CommandOutcome unlinkPayment(CTrnSItem& payment);
    virtual CommandOutcome unlinkPaymentsOfInvoice(CTrnSItem& invoice);
    virtual CommandOutcome makeCreditNote(CTrnSItem& invoice);
    // Whether every account, category, customer or supplier and VAT rate the
    // arguments of the command name (ids above 0) exists in these books: a
    // replayed journal can name what they do not hold. True for commands and
    // arguments of other kinds.
    virtual bool namesOnlyExistingObjects(int command, const CArgumentAncestor& args);
};

// --- null implementations: nothing changes, every answer is -1

class NullBudgetOperations : public BudgetOperations {
public:
    CommandOutcome modifyBudgetDetail(CNonVisualDataItem&, const CArgumentAncestor&) override;
    CommandOutcome modifyBudgetXRef(CNonVisualDataItem&, const CArgumentAncestor&) override;
    CommandOutcome createBudgetXRefForBudget(CNonVisualDataItem&, const CArgumentAncestor&) override;
    CommandOutcome deleteBudgetXRef(CNonVisualDataItem&, CNonVisualDataItem&) override;
    CommandOutcome modifyTransferXRef(CNonVisualDataItem&, const CArgumentAncestor&) override;
    CommandOutcome modifyBudget(CNonVisualDataItem&, const CArgumentAncestor&) override;
};

class NullOwnerOperations : public OwnerOperations {
public:
    CommandOutcome insertOwnerWithArguments(const arguments::CAcoWArguments&) override;
    CommandOutcome updateAccountOwner(CAcoWItem&, const arguments::CAcoWArguments&) override;
};

class NullImportOperations : public ImportOperations {
public:
    CommandOutcome importTransactionWithArguments(const arguments::ImportTransactionArguments&) override;
};

class NullBusinessOperations : public BusinessOperations {
public:
    CommandOutcome createVATRate(const CArgumentAncestor&) override;
    CommandOutcome updateVATRate(GXNonVisual&, const CArgumentAncestor&) override;
    CommandOutcome performDeleteVATRate(GXNonVisual&, bool) override;
    CommandOutcome createCustomerInvoice(const CArgumentAncestor&) override;
    CommandOutcome modifyCustomerInvoice(CTrnSItem&, const CArgumentAncestor&) override;
    CommandOutcome createSupplierInvoice(const CArgumentAncestor&) override;
    CommandOutcome modifySupplierInvoice(CTrnSItem&, const CArgumentAncestor&) override;
    CommandOutcome createCustomerPayment(const CArgumentAncestor&) override;
    CommandOutcome splitPayment(CTrnSItem&, const CArgumentAncestor&) override;
};

// The operations a document's commands reach; the document fills it with its
// own implementations, and a group may be replaced as a whole.
struct DocumentOperationSet {
    std::unique_ptr<BudgetOperations> budget;
    std::unique_ptr<ChartOperations> chart;
    std::unique_ptr<RateOperations> rates;
    std::unique_ptr<TransactionOperations> transactions;
    std::unique_ptr<OwnerOperations> owners;
    std::unique_ptr<DeletionOperations> deletion;
    std::unique_ptr<ImportOperations> import;
    std::unique_ptr<BusinessOperations> business;
};

} // namespace ch
