#pragma once
// The books as lines of text, object by object: each object's key, name and
// what ties it to others (an account's type, currency, owner and default
// category, a currency's dated rates, a category's group, a transaction's
// date, reference and special kind, each transaction line's account and
// amount, a recurring template's schedule, the settings Books > Settings
// changes), so that two sets of books compare with a readable difference.
// An object's own lines follow it, indented.

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
#include "model/CCurrencyRate.h"
#include "model/CRecurringTransaction.h"
#include "model/CTransaction.h"
#include "model/budget/CBudgetHeader.h"

namespace ch::test {

// To the cent; a residue below half a cent either side of zero is zero.
inline std::string amountText(double amount)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", amount);
    return std::string(text) == "-0.00" ? "0.00" : text;
}

// A rate to the digits the books keep of it.
inline std::string rateText(double rate)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.10g", rate);
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
    each(*books.mCurrencyList, [&](CNonVisual* object) {
        auto* currency = static_cast<CCurrency*>(object);
        lines.push_back(head(currency));
        lines.push_back("  kind " + std::to_string(int(currency->Get_mCurrencyType())) + " base " +
                        std::to_string(currency->Get_mBaseCurrency()) + " " +
                        std::to_string(currency->Get_mConversionQuantity()) + " = " +
                        rateText(currency->Get_mConversionFactor()) + " portfolio " +
                        std::to_string(currency->Get_mPortfolioAccountId()));
        // Rates by date: the history is sorted when a rate is looked up, so
        // its order in memory says nothing.
        if (CNamedListArray* history = currency->Get_mHistoryList()) {
            const std::size_t firstRate = lines.size();
            const auto count = static_cast<ArrayIndexT>(history->GetCount());
            for (ArrayIndexT i = 1; i <= count; ++i) {
                auto* rate = static_cast<CCurrencyRate*>(history->ObjectAt(i));
                lines.push_back("  rate from " + std::to_string(rate->Get_mValidFrom()) + " " +
                                std::to_string(rate->Get_mConversionQuantity()) + " = " +
                                rateText(rate->Get_mConversionFactor()));
            }
            std::sort(lines.begin() + static_cast<std::ptrdiff_t>(firstRate), lines.end());
        }
    });
    each(*books.mAccountList, [&](CNonVisual* object) {
        auto* account = static_cast<CAccount*>(object);
        lines.push_back(head(account) + " type " + std::to_string(account->Get_mAccountTypeId()) + " currency " +
                        std::to_string(account->Get_mCurrency()) + " kind " +
                        std::to_string(int(account->Get_mAccountSpecialType())) + " balance " +
                        amountText(account->Get_mBalance()) + " / " + amountText(account->Get_mLocalBalance()) +
                        " default category " + std::to_string(account->Get_mDefaultExpenseTypeId()) + " owner " +
                        std::to_string(account->Get_mAccountOwnerId()));
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
                        std::to_string(int(transaction->Get_mSpecialTypeT())) + " type " +
                        std::to_string(int(transaction->Get_mTransactionType())) + " " +
                        amountText(transaction->Get_mTotalAmount()) + " in " +
                        std::to_string(transaction->Get_mCurrencyId()));
        for (CNamedListArray* side :
             {transaction->GetDebitList(), transaction->GetCreditList(), transaction->GetExpenseTypeList()}) {
            const auto count = static_cast<ArrayIndexT>(side->GetCount());
            for (ArrayIndexT i = 1; i <= count; ++i) {
                auto* line = static_cast<CDebit*>(side->ObjectAt(i));
                lines.push_back("  " + line->CalculateKey() + " on " + std::to_string(line->Get_mAccountId()) + " " +
                                amountText(line->Get_mAmount()) + " / " + amountText(line->Get_mLocalAmount()) +
                                " in " + std::to_string(line->Get_mCurrency()));
            }
        }
    };
    each(*books.mTransactionList, transactions);
    each(*books.mUnlinkedList, transactions);
    each(*books.mRecurringList, [&](CNonVisual* object) {
        transactions(object);
        auto* recurring = static_cast<CRecurringTransaction*>(object);
        std::string schedule = "  every " + std::to_string(int(recurring->Get_mRecurringType())) + " on " +
                               std::to_string(recurring->Get_mOnOff()) + " approved " +
                               std::to_string(recurring->Get_mAutomaticApproval()) + " day " +
                               std::to_string(recurring->Get_mDayOfMonth()) + " week " +
                               std::to_string(int(recurring->Get_mWeekType())) + " monthly " +
                               std::to_string(int(recurring->Get_mMonthlyType())) + " times " +
                               std::to_string(recurring->Get_mNumberOfTimesPerYear()) + " last made " +
                               std::to_string(recurring->Get_mLastGeneratedOn()) + " weekdays";
        for (int day : {recurring->Get_mMonday(), recurring->Get_mTuesday(), recurring->Get_mWednesday(),
                        recurring->Get_mThursday(), recurring->Get_mFriday(), recurring->Get_mSaturDay(),
                        recurring->Get_mSunday()})
            schedule += " " + std::to_string(day);
        schedule += " dates";
        for (int number = 1; number <= 12; ++number) schedule += " " + std::to_string(recurring->Get_mDateOfYear(number));
        lines.push_back(schedule);
    });
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
