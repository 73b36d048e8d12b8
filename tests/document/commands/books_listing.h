#pragma once
// The books as lines of text, object by object: each object's key, name and
// what ties it to others (an account's type, currency and default category, a category's
// group, a transaction's reference and special kind, each transaction
// line's account and amount, the settings Books > Settings changes), so that
// two sets of books compare with a readable difference.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/CTransaction.h"
#include "model/budget/CBudgetHeader.h"

namespace ch::test {

inline std::string amountText(double amount)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", amount);
    return text;
}

inline std::vector<std::string> listBooks(const CDocAccounting& books)
{
    std::vector<std::string> lines;
    auto each = [](const CNamedListArray& list, auto describe) {
        const auto count = static_cast<ArrayIndexT>(list.GetCount());
        for (ArrayIndexT i = 1; i <= count; ++i) describe(list.ObjectAt(i));
    };
    auto head = [](const CNonVisual* object) { return object->CalculateKey() + " " + object->Get_StringrefName(); };
    each(*books.mAccountOwnerList, [&](CNonVisual* owner) { lines.push_back(head(owner)); });
    each(*books.mAccountTypeList, [&](CNonVisual* type) { lines.push_back(head(type)); });
    each(*books.mCurrencyList, [&](CNonVisual* currency) { lines.push_back(head(currency)); });
    each(*books.mAccountList, [&](CNonVisual* object) {
        auto* account = static_cast<CAccount*>(object);
        lines.push_back(head(account) + " type " + std::to_string(account->Get_mAccountTypeId()) + " currency " +
                        std::to_string(account->Get_mCurrency()) + " kind " +
                        std::to_string(int(account->Get_mAccountSpecialType())) + " balance " +
                        amountText(account->Get_mBalance()) + " / " + amountText(account->Get_mLocalBalance()) +
                        " default category " + std::to_string(account->Get_mDefaultExpenseTypeId()));
    });
    // Groups by name: the file keeps them in record order, and a look-up by
    // name sorts the list in memory, so their order says nothing.
    const std::size_t firstGroup = lines.size();
    each(*books.mMasterExpenseTypeList, [&](CNonVisual* group) { lines.push_back(head(group)); });
    std::sort(lines.begin() + static_cast<std::ptrdiff_t>(firstGroup), lines.end());
    each(*books.mExpenseTypeList, [&](CNonVisual* object) {
        auto* category = static_cast<CExpenseType*>(object);
        lines.push_back(head(category) + " group " + std::to_string(category->Get_mMasterType()));
    });
    auto transactions = [&](CNonVisual* object) {
        auto* transaction = static_cast<CTransaction*>(object);
        lines.push_back(head(transaction) + " on " + std::to_string(transaction->Get_mDate()) + " status " +
                        std::to_string(transaction->Get_ObjectStatus()) + " refers to " +
                        std::to_string(transaction->Get_mReferenceObjectId()) + " special " +
                        std::to_string(int(transaction->Get_mSpecialTypeT())));
        for (CNamedListArray* side :
             {transaction->GetDebitList(), transaction->GetCreditList(), transaction->GetExpenseTypeList()}) {
            const auto count = static_cast<ArrayIndexT>(side->GetCount());
            for (ArrayIndexT i = 1; i <= count; ++i) {
                auto* line = static_cast<CDebit*>(side->ObjectAt(i));
                lines.push_back("  " + line->CalculateKey() + " on " + std::to_string(line->Get_mAccountId()) + " " +
                                amountText(line->Get_mAmount()) + " / " + amountText(line->Get_mLocalAmount()));
            }
        }
    };
    each(*books.mTransactionList, transactions);
    each(*books.mUnlinkedList, transactions);
    each(*books.mBudgetList, [&](CNonVisual* budget) { lines.push_back(head(budget)); });
    if (const CPreference* settings = books.mPreference) {
        std::string line = "settings";
        for (long value : {long(settings->Get_mHomeCurrency()), long(settings->Get_mInputCurrency()),
                           long(settings->Get_mCurrentYearStart()), long(settings->Get_mDefAccntOwnProperty()),
                           long(settings->Get_mDefAccntUnspecifiedExpense()),
                           long(settings->Get_mDefExpTUnspecifiedExpense()),
                           long(settings->Get_mDefExpTUnspecifiedIncome()),
                           long(settings->Get_mDefaultCreditCardAccount()),
                           long(settings->Get_mDefaultCategoryCustomerInvoices())})
            line += " " + std::to_string(value);
        lines.push_back(line);
    }
    return lines;
}

} // namespace ch::test
