#pragma once
// Operation groups that record which operation a command reached and answer
// what the test says, so that the dispatch can be checked without the
// operations' own work.

#include <memory>
#include <string>
#include <vector>

#include "document/DocumentOperations.h"
#include "document/MyDocument.h"

namespace ch::test {

struct OperationRecorder {
    std::vector<std::string> calls;
    CommandOutcome answer = CommandOutcome::changed(7);

    CommandOutcome record(std::string name)
    {
        calls.push_back(std::move(name));
        return answer;
    }
};

class RecordingBudget : public BudgetOperations {
public:
    explicit RecordingBudget(OperationRecorder& r) : r(r) {}
    CommandOutcome modifyBudgetDetail(CNonVisualDataItem&, const CArgumentAncestor&) override { return r.record("modifyBudgetDetail"); }
    CommandOutcome modifyBudgetXRef(CNonVisualDataItem&, const CArgumentAncestor&) override { return r.record("modifyBudgetXRef"); }
    CommandOutcome createBudgetXRefForBudget(CNonVisualDataItem&, const CArgumentAncestor&) override { return r.record("createBudgetXRefForBudget"); }
    CommandOutcome deleteBudgetXRef(CNonVisualDataItem&, CNonVisualDataItem&) override { return r.record("deleteBudgetXRef"); }
    CommandOutcome modifyTransferXRef(CNonVisualDataItem&, const CArgumentAncestor&) override { return r.record("modifyTransferXRef"); }
    CommandOutcome modifyBudget(CNonVisualDataItem&, const CArgumentAncestor&) override { return r.record("modifyBudget"); }
    OperationRecorder& r;
};

class RecordingChart : public ChartOperations {
public:
    explicit RecordingChart(OperationRecorder& r) : r(r) {}
    CommandOutcome createCurrency(const arguments::CurrencyArguments&) override { return r.record("createCurrency"); }
    CommandOutcome modifyCurrency(CCurRItem&, const arguments::CurrencyArguments&) override { return r.record("modifyCurrency"); }
    CommandOutcome createShare(const arguments::CShareArguments&) override { return r.record("createShare"); }
    CommandOutcome modifyShare(CCurRItem&, const arguments::CShareArguments&) override { return r.record("modifyShare"); }
    CommandOutcome modifyAccountType(CAccTItem&, const arguments::AccountTypeArguments&) override { return r.record("modifyAccountType"); }
    CommandOutcome createAccountType(const arguments::AccountTypeArguments&) override { return r.record("createAccountType"); }
    CommandOutcome modifyAccount(CAcnTItem&, const arguments::AccountArguments&) override { return r.record("modifyAccount"); }
    CommandOutcome createAccount(const arguments::AccountArguments&) override { return r.record("createAccount"); }
    CommandOutcome modifyCategory(CExpTItem&, const arguments::CategoryParameters&) override { return r.record("modifyCategory"); }
    CommandOutcome createCategory(const arguments::CategoryParameters&) override { return r.record("createCategory"); }
    CommandOutcome modifyCategoryGroup(CMxpTItem&, const arguments::CategoryGroupParameters&) override { return r.record("modifyCategoryGroup"); }
    CommandOutcome createCategoryGroup(const arguments::CategoryGroupParameters&) override { return r.record("createCategoryGroup"); }
    OperationRecorder& r;
};

class RecordingRates : public RateOperations {
public:
    explicit RecordingRates(OperationRecorder& r) : r(r) {}
    CommandOutcome changeRateForCurrency(CCurRItem&, long, double, DateT) override { return r.record("changeRateForCurrency"); }
    CommandOutcome buyOrSellShares(CCurRItem&, const arguments::BuySellSharesParameters&) override { return r.record("buyOrSellShares"); }
    CommandOutcome registerDividendForShare(CCurRItem&, const arguments::RegisterDividendParameters&) override { return r.record("registerDividendForShare"); }
    OperationRecorder& r;
};

class RecordingTransactions : public TransactionOperations {
public:
    explicit RecordingTransactions(OperationRecorder& r) : r(r) {}
    CommandOutcome makeNewTransactionFromTransactionDictionaryRepresentation(const Dictionary&, bool linked) override
    {
        return r.record(linked ? "makeNewTransaction linked" : "makeNewTransaction");
    }
    CommandOutcome updateTransaction(CTrnSItem&, const Dictionary&) override { return r.record("updateTransaction"); }
    CommandOutcome makeNewrecurringTrnsFromTransactionDictionary(const Dictionary&) override { return r.record("makeNewrecurringTrns"); }
    CommandOutcome performLinkTransaction(CTrnSItem&) override { return r.record("performLinkTransaction"); }
    OperationRecorder& r;
};

class RecordingOwners : public OwnerOperations {
public:
    explicit RecordingOwners(OperationRecorder& r) : r(r) {}
    CommandOutcome insertOwnerWithArguments(const arguments::CAcoWArguments&) override { return r.record("insertOwner"); }
    CommandOutcome updateAccountOwner(CAcoWItem&, const arguments::CAcoWArguments&) override { return r.record("updateAccountOwner"); }
    OperationRecorder& r;
};

class RecordingDeletion : public DeletionOperations {
public:
    explicit RecordingDeletion(OperationRecorder& r) : r(r) {}
    CommandOutcome performDeleteCurrency(CCurRItem&) override { return r.record("performDeleteCurrency"); }
    CommandOutcome performDeleteAccount(CAcnTItem&) override { return r.record("performDeleteAccount"); }
    CommandOutcome performDeleteAccountType(CAccTItem&) override { return r.record("performDeleteAccountType"); }
    CommandOutcome performDeleteRecurringTransaction(CRcrTItem&) override { return r.record("performDeleteRecurringTransaction"); }
    CommandOutcome performDeleteMasterExpenseType(CMxpTItem&) override { return r.record("performDeleteMasterExpenseType"); }
    CommandOutcome performDeleteExpenseType(CExpTItem&) override { return r.record("performDeleteExpenseType"); }
    CommandOutcome performDeleteOwner(CAcoWItem&) override { return r.record("performDeleteOwner"); }
    CommandOutcome performDeleteUnlinkedTransaction(CTrnSItem&) override { return r.record("performDeleteUnlinkedTransaction"); }
    CommandOutcome performDeleteTransaction(CTrnSItem&, bool withAsking) override
    {
        return r.record(withAsking ? "performDeleteTransaction asking" : "performDeleteTransaction");
    }
    OperationRecorder& r;
};

class RecordingImport : public ImportOperations {
public:
    explicit RecordingImport(OperationRecorder& r) : r(r) {}
    CommandOutcome importTransactionWithArguments(const arguments::ImportTransactionArguments&) override { return r.record("importTransaction"); }
    OperationRecorder& r;
};

class RecordingBusiness : public BusinessOperations {
public:
    explicit RecordingBusiness(OperationRecorder& r) : r(r) {}
    CommandOutcome createVATRate(const CArgumentAncestor&) override { return r.record("createVATRate"); }
    CommandOutcome updateVATRate(GXNonVisual&, const CArgumentAncestor&) override { return r.record("updateVATRate"); }
    CommandOutcome performDeleteVATRate(GXNonVisual&, bool withAsking) override
    {
        return r.record(withAsking ? "performDeleteVATRate asking" : "performDeleteVATRate");
    }
    CommandOutcome createCustomerInvoice(const CArgumentAncestor&) override { return r.record("createCustomerInvoice"); }
    CommandOutcome modifyCustomerInvoice(CTrnSItem&, const CArgumentAncestor&) override { return r.record("modifyCustomerInvoice"); }
    CommandOutcome createSupplierInvoice(const CArgumentAncestor&) override { return r.record("createSupplierInvoice"); }
    CommandOutcome modifySupplierInvoice(CTrnSItem&, const CArgumentAncestor&) override { return r.record("modifySupplierInvoice"); }
    CommandOutcome createCustomerPayment(const CArgumentAncestor&) override { return r.record("createCustomerPayment"); }
    CommandOutcome splitPayment(CTrnSItem&, const CArgumentAncestor&) override { return r.record("splitPayment"); }
    OperationRecorder& r;
};

// Every group of the document records into the recorder.
inline void installRecordingOperations(MyDocument& document, OperationRecorder& recorder)
{
    DocumentOperationSet& set = document.operations();
    set.budget = std::make_unique<RecordingBudget>(recorder);
    set.chart = std::make_unique<RecordingChart>(recorder);
    set.rates = std::make_unique<RecordingRates>(recorder);
    set.transactions = std::make_unique<RecordingTransactions>(recorder);
    set.owners = std::make_unique<RecordingOwners>(recorder);
    set.deletion = std::make_unique<RecordingDeletion>(recorder);
    set.import = std::make_unique<RecordingImport>(recorder);
    set.business = std::make_unique<RecordingBusiness>(recorder);
}

} // namespace ch::test
