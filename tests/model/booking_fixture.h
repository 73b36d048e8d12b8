#pragma once
// A set of books for the booking tests: the default books (EUR, the four
// default accounts, groups 0 to 4, categories 1 to 6) with a fixed today,
// and helpers that add accounts, currencies and transactions the way the
// model root does. Balances of every account, type, category and group can be
// taken as a snapshot and compared.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/CTransaction.h"
#include "model/foundation/CErrorManager.h"
#include "model_test_support.h"

namespace ch::test {

// Ids of the default books.
namespace books {
inline constexpr ObjectIdT kEUR = 1;
inline constexpr ObjectIdT kOwnPropertyType = 1;
inline constexpr ObjectIdT kDebtType = 2;
inline constexpr ObjectIdT kProfitAndLossType = 3;
inline constexpr ObjectIdT kAssetsType = 6;
inline constexpr ObjectIdT kCorrectionAccount = 1;   // also the opening balance
inline constexpr ObjectIdT kIncomeAccount = 2;       // unspecified income
inline constexpr ObjectIdT kExpenseAccount = 3;      // unspecified expense
inline constexpr ObjectIdT kDefaultAccount = 4;      // own property
inline constexpr ObjectIdT kExpenseCategory = 1;
inline constexpr ObjectIdT kIncomeCategory = 2;
inline constexpr ObjectIdT kTransferCategory = 3;
inline constexpr ObjectIdT kOpeningCategory = 4;
inline constexpr ObjectIdT kCurrencyCategory = 5;
inline constexpr ObjectIdT kCorrectionCategory = 6;
} // namespace books

// Everything that carries a balance, by object key.
using BalanceSnapshot = std::map<std::string, double>;

class BookingTest : public ::testing::Test {
protected:
    BookingTest()
    {
        CErrorManager::SetMode(false);
        root.SetDefaults("EUR");
    }

    CAccount* Account(ObjectIdT id) { return static_cast<CAccount*>(root.mAccountList->GetValueForId(id)); }
    CAccType* Type(ObjectIdT id) { return static_cast<CAccType*>(root.mAccountTypeList->GetValueForId(id)); }
    CExpenseType* Category(ObjectIdT id)
    {
        return static_cast<CExpenseType*>(root.mExpenseTypeList->GetValueForId(id));
    }
    CMasterExpenseType* Group(ObjectIdT id)
    {
        return static_cast<CMasterExpenseType*>(root.mMasterExpenseTypeList->GetValueForId(id));
    }
    CCurrency* Currency(ObjectIdT id) { return static_cast<CCurrency*>(root.mCurrencyList->GetValueForId(id)); }

    // A listed account of the type, in the currency (the home currency by default).
    CAccount* AddAccount(const char* name, ObjectIdT typeId, ObjectIdT currencyId = books::kEUR)
    {
        auto* account = new CAccount(&root);
        account->Put_Name(name);
        account->Put_mAccountTypeId(typeId, nullptr, true);
        account->Put_mCurrency(currencyId);
        if (account->Get_mAccountTypePtr()) account->Validate();
        root.mAccountList->InsertObjectAt(account, 1);
        return account;
    }

    // A listed top-level account type of the master type.
    CAccType* AddType(const char* name, long masterType)
    {
        auto* accountType = new CAccType(&root);
        accountType->Put_Name(name);
        accountType->Put_mMasterType(masterType);
        root.mAccountTypeList->InsertObjectAt(accountType, 1);
        return accountType;
    }

    // A listed, validated currency worth `factor` home units per unit.
    CCurrency* AddCurrency(const char* symbol, double factor)
    {
        auto* currency = new CCurrency(-1, &root);
        currency->Put_Name(symbol);
        currency->Put_mConversionFactor(factor, 0);
        currency->Validate();
        root.mCurrencyList->InsertObjectAt(currency, 1);
        return currency;
    }

    // A listed category of the group.
    CExpenseType* AddCategory(const char* name, ObjectIdT groupId)
    {
        auto* category = new CExpenseType(&root);
        category->Put_Name(name);
        category->Put_mMasterType(groupId);
        root.mExpenseTypeList->InsertObjectAt(category, 1);
        return category;
    }

    // A posted transaction of the type with one line on each side, in the list.
    CTransaction* NewTransaction(TransactionTypeT type = transaction_type::kOther, DateT date = 20240301)
    {
        auto* transaction = new CTransaction(&root, true, type);
        transaction->Put_mDate(date);
        root.mTransactionList->InsertObjectAt(transaction, 1);
        return transaction;
    }

    // A booking of `amount` (home currency) from one account to another.
    CTransaction* Book(CAccount* from, CAccount* to, double amount, DateT date = 20240301,
                       ObjectIdT categoryId = books::kTransferCategory)
    {
        CTransaction* transaction = NewTransaction(transaction_type::kOther, date);
        Debit(transaction)->Put_mAccountId(from->Get_Id(), true, nullptr);
        Credit(transaction)->Put_mAccountId(to->Get_Id(), true, nullptr);
        ForLine(transaction)->Put_mAccountId(categoryId, true, nullptr);
        transaction->Put_mTotalAmount(amount);
        return transaction;
    }

    static CDebit* Debit(CTransaction* transaction, ArrayIndexT index = 1)
    {
        return static_cast<CDebit*>(transaction->GetDebitList()->ObjectAt(index));
    }
    static CCredit* Credit(CTransaction* transaction, ArrayIndexT index = 1)
    {
        return static_cast<CCredit*>(transaction->GetCreditList()->ObjectAt(index));
    }
    static CExptypeDetail* ForLine(CTransaction* transaction, ArrayIndexT index = 1)
    {
        return static_cast<CExptypeDetail*>(transaction->GetExpenseTypeList()->ObjectAt(index));
    }

    // The balances of every account (both), type, category and group.
    BalanceSnapshot Balances() { return BalancesOf(root); }
    static BalanceSnapshot BalancesOf(CDocAccounting& books)
    {
        BalanceSnapshot snapshot;
        auto each = [&](CNamedListArray* list, auto take) {
            for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
                take(list->ObjectAt(i));
        };
        each(books.mAccountList.get(), [&](CNonVisual* object) {
            auto* account = static_cast<CAccount*>(object);
            snapshot[account->CalculateKey()] = account->Get_mBalance();
            snapshot[account->CalculateKey() + "/local"] = account->Get_mLocalBalance();
        });
        each(books.mAccountTypeList.get(), [&](CNonVisual* object) {
            snapshot[object->CalculateKey()] = static_cast<CAccType*>(object)->Get_mBalance();
        });
        each(books.mExpenseTypeList.get(), [&](CNonVisual* object) {
            snapshot[object->CalculateKey()] = object->Get_Amount();
        });
        each(books.mMasterExpenseTypeList.get(), [&](CNonVisual* object) {
            snapshot[object->CalculateKey()] = object->Get_Amount();
        });
        return snapshot;
    }

    // Every account's home-currency balance equals what its lines add up to.
    void ExpectBalancesMatchLines()
    {
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(root.mAccountList->GetCount()); ++i) {
            auto* account = static_cast<CAccount*>(root.mAccountList->ObjectAt(i));
            if (!account->Get_mAccountTypePtr()) continue;
            double b1 = 0, b2 = 0, b3 = 0, b4 = 0;
            account->Get_BalanceInPeriod(b1, b2, b3, b4, 99999999, 99999999, 99999999, 99999999, true,
                                         0, 0, 0, 0);
            EXPECT_NEAR(b1, account->Get_mLocalBalance(), 1e-9) << account->CalculateKey();
        }
    }

    ModelEnvironment env;
    CDocAccounting root;
};

} // namespace ch::test
