#pragma once
// CNonvisualExaminator: the questions the rest of the system asks about a
// model object of any kind: is it a transaction, an account, a category; is
// an account (or account type) a property, debt or profit-and-loss one; is a
// category (or category group) an income, expense or transfer one; and the
// same by id within a document. Every test answers false for a null object
// and for an object of a kind the question does not apply to.

#include "model/CNonVisual.h"

namespace ch {

class CNonvisualExaminator {
public:
    virtual ~CNonvisualExaminator() = default;

    // --- by type code
    static bool isTransaction(const CNonVisual* object);
    static bool isAccount(const CNonVisual* object);
    static bool isAccountType(const CNonVisual* object);
    static bool isExpenseType(const CNonVisual* object);
    static bool isMasterExpenseType(const CNonVisual* object);

    // --- by kind: accounts and account types
    static bool isPropertyAccount(const CNonVisual* object);
    static bool isDebtAccount(const CNonVisual* object);
    static bool isProfitAndLossAccount(const CNonVisual* object);
    // --- by kind: categories and category groups, strictly by their group's kind
    static bool isIncome(const CNonVisual* object);
    static bool isExpense(const CNonVisual* object);
    static bool isTransfer(const CNonVisual* object);

    // --- by id within a document
    // The account exists and is a property or debt account.
    static bool isTransferableAccountId(const CDocAccounting* document, ObjectIdT id);
    // The category exists and is a transfer (income, expense) category.
    static bool isTransferReasonCodeId(const CDocAccounting* document, ObjectIdT id);
    static bool isIncomeReasonCodeId(const CDocAccounting* document, ObjectIdT id);
    static bool isExpenseReasonCodeId(const CDocAccounting* document, ObjectIdT id);
};

} // namespace ch
