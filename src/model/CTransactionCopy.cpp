// Transactions made from other transactions: the copy (paste, recurring
// generation), the combination of several into one, and the conversion of
// a transaction to a new home currency.

#include <cmath>
#include <vector>

#include "model/BookingLookups.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "model/ConversionCent.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"

namespace ch {

namespace {

// Takes every line off its account or category and destroys it.
void DiscardLines(CNamedListArray* list)
{
    std::vector<CDebit*> lines;
    for (ArrayIndexT i = 1; i <= CountOf(list); ++i) lines.push_back(LineAt(list, i));
    if (lines.empty()) return;
    list->RemoveItemsAt(list->GetCount(), 1);
    for (CDebit* line : lines) {
        if (line->IsPosted()) line->Unlink();
        delete line;
    }
}

} // namespace

// --- copy

bool CTransaction::InitFromCopy(CTransaction* source)
{
    if (!source || source == this) return false;

    // The base fields without a new id: this transaction took its id from the
    // transaction counter when it was made, and a new general id could be
    // one that another transaction already has.
    char name[kNameSize] = {};
    source->Get_Name(name);
    Put_Name(name);
    Put_StringrefName(source->Get_StringrefName());
    Put_Status(status::kNew);
    for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList})
        DiscardLines(list);
    mReferences.Change([](References& references) { references = References(); });

    // Unlinked before any line is made, so that no line posts.
    Put_mDate(CDate::GetNowAsDateT());
    Put_Status(status::kUnlinked);

    char description[kDescriptionSize] = {};
    source->Get_mDescription(description);
    Put_mDescription(description);
    Put_StringrefDesc(source->Get_StringrefDesc());

    Put_mTotalAmount(source->mTotalAmount);
    mLocalAmount = source->mLocalAmount;
    Put_mCurrencyId(source->mCurrencyId, nullptr);
    mDocumentId = source->mDocumentId;
    Put_CFDocumentReference(source->mReferences->documentReference);
    Put_CFVATNr(source->mReferences->vatNumber);
    mb_Approved = source->mb_Approved;
    mb_budgetOneOff = source->mb_budgetOneOff;

    // The i-th line of the source becomes the i-th line of the copy.
    for (ArrayIndexT i = 1; i <= CountOf(&source->mDebitList); ++i)
        Add_Debit(i, false, 0.0)->InitFromCopy(LineAt(&source->mDebitList, i), mDocument, this, nullptr);
    for (ArrayIndexT i = 1; i <= CountOf(&source->mCreditList); ++i)
        Add_Credit(i, false, 0.0)->InitFromCopy(LineAt(&source->mCreditList, i), mDocument, this, nullptr);
    for (ArrayIndexT i = 1; i <= CountOf(&source->mExpenseTypeList); ++i) {
        Add_ExpenseType(i, false, 0.0)
            ->InitFromCopy(LineAt(&source->mExpenseTypeList, i), mDocument, this, nullptr);
    }
    return true;
}

// --- combination

bool CTransaction::Combine(CNamedListArray* transactions, CDocAccounting* document)
{
    if (!transactions || !document || transactions->GetCount() < 2) return false;
    std::vector<CTransaction*> all;
    for (ArrayIndexT i = 1; i <= CountOf(transactions); ++i) {
        CNonVisual* object = transactions->ObjectAt(i);
        if (!object || object->Get_ObjectType() != type::kTransaction) return false;
        auto* transaction = static_cast<CTransaction*>(object);
        bool listed = false;
        for (CTransaction* seen : all) listed = listed || seen == transaction;
        if (!listed) all.push_back(transaction);
    }
    // Every transaction must be deletable (and the target changeable) before
    // any is merged: a merged one that stays would count twice.
    for (CTransaction* transaction : all) {
        if (transaction->Get_ObjectStatus() == status::kBlocked) {
            CErrorManager::RaiseError(137);
            return false;
        }
    }
    CTransaction* target = all.front();
    for (std::size_t i = 1; i < all.size(); ++i) {
        target->CombineWithTransaction(all[i]);
        document->DeleteObject(all[i]);
    }
    return true;
}

bool CTransaction::CombineWithTransaction(CTransaction* other)
{
    if (!other || other == this) return false;
    mLocalAmount += other->mLocalAmount;
    CCurrency* currency = Get_mCurrencyPtr();
    mTotalAmount = currency ? currency->ConvertToForeign(mLocalAmount, 0, true) : mLocalAmount;

    struct Side {
        CNamedListArray* mine;
        CNamedListArray* theirs;
        FourCharCode kind;
    };
    for (const Side& side : {Side{&mDebitList, &other->mDebitList, type::kDebit},
                             Side{&mCreditList, &other->mCreditList, type::kCredit},
                             Side{&mExpenseTypeList, &other->mExpenseTypeList,
                                  type::kExpenseTypeDetail}}) {
        for (ArrayIndexT i = 1; i <= CountOf(side.theirs); ++i) {
            CDebit* theirs = LineAt(side.theirs, i);
            CDebit* mine = LineOn(side.mine, side.kind, theirs->Get_mAccountId());
            if (mine) mine->Put_mLocalAmount(mine->Get_mLocalAmount() + theirs->Get_mLocalAmount());
        }
    }
    return true;
}

CDebit* CTransaction::SeachObject(CNonVisual* object, CNamedListArray* list)
{
    if (!object) return nullptr;
    for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
        CDebit* line = LineAt(list, i);
        if (line->Get_mAccountId() == object->Get_Id()) return line;
    }
    return nullptr;
}

CDebit* CTransaction::LineOn(CNamedListArray* list, FourCharCode kind, ObjectIdT objectId)
{
    for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
        CDebit* line = LineAt(list, i);
        if (line->Get_mAccountId() == objectId) return line;
    }
    CDebit* line = nullptr;
    if (kind == type::kDebit) line = Add_Debit(1, false, 0.0);
    else if (kind == type::kCredit) line = Add_Credit(1, false, 0.0);
    else if (kind == type::kExpenseTypeDetail) line = Add_ExpenseType(1, false, 0.0);
    if (line) line->Put_mAccountId(objectId, true, nullptr);
    return line;
}

CDebit* CTransaction::SearchOrCreateDebit(CAccount* account)
{
    return account ? LineOn(&mDebitList, type::kDebit, account->Get_Id()) : nullptr;
}

CCredit* CTransaction::SearchOrCreateCredit(CAccount* account)
{
    return account ? static_cast<CCredit*>(LineOn(&mCreditList, type::kCredit, account->Get_Id()))
                   : nullptr;
}

CExptypeDetail* CTransaction::SearchOrCreateExptypeDetail(CExpenseType* category)
{
    if (!category) return nullptr;
    return static_cast<CExptypeDetail*>(
        LineOn(&mExpenseTypeList, type::kExpenseTypeDetail, category->Get_Id()));
}

// --- change of home currency

bool CTransaction::SetNewHomeCurrency(CCurrency* oldHome, CCurrency* newHome)
{
    if (!newHome) return false;
    // One unit of the old home currency in the new one, at this transaction's date.
    const double factor = newHome->ConvertToForeign(1.0, mDate, false);
    // Booked wholly in the new home currency, the transaction is worth what
    // its lines hold. Converted instead, their values would come back from
    // the old home currency at today's rate, not at the one of their date,
    // and an account kept in the new home currency, which counts its lines
    // by their values, would move by that difference when a line goes.
    const bool atItsAmounts = HeldWhollyIn(newHome->Get_Id());
    mLocalAmount = atItsAmounts && mCurrencyId == newHome->Get_Id() ? mTotalAmount
                                                                     : CCurrency::RoundAmount(mLocalAmount * factor);
    for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
            CDebit* line = LineAt(list, i);
            if (atItsAmounts) line->PutNewHomeAmount(line->Get_mAmount());
            else line->SetNewHomeCurrency(oldHome, newHome, factor);
        }
    }
    // Each line was rounded to the cent on its own: the lines still balance.
    LinesTakeNewHomeCents(*this);
    return true;
}

bool CTransaction::HeldWhollyIn(ObjectIdT currency) const
{
    double debits = 0.0, credits = 0.0;
    for (const CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
            const CDebit* line = LineAt(list, i);
            if (line->Get_mCurrency() != currency) return false;
            // A value without an amount is a remainder or a rate difference.
            if (line->Get_mAmount() == 0.0 && line->Get_mLocalAmount() != 0.0) return false;
            if (list == &mDebitList) debits += line->Get_mAmount();
            if (list == &mCreditList) credits += line->Get_mAmount();
        }
    }
    return std::fabs(debits - credits) < 0.005;
}

CTransaction* CTransaction::BookHomeCurrencyRemainder(CAccount* account, double delta,
                                                      CDocAccounting* document)
{
    if (!account) return nullptr;
    const double m = std::fabs(delta);
    CTransaction* transaction = NewCorrection(document);
    CDebit* debit = transaction->Add_Debit(1, true, 0.0);
    CDebit* credit = transaction->Add_Credit(1, true, 0.0);
    CDebit* category = transaction->Add_ExpenseType(1, true, 0.0);
    transaction->Put_Status(status::kBalancing);
    transaction->Put_mCurrencyId(booking::HomeCurrencyId(document), nullptr);
    transaction->Put_mTotalAmount(0.0);
    transaction->Put_mDescription("Rounding errors after the home currency was changed");
    transaction->Put_Name("Rounding Errors");
    transaction->mLocalAmount = m;

    // A credit raises a property account, a debit any other.
    const bool accountOnCredit = (delta >= 0.0) == account->thisIsAPropretyAccount();
    CDebit* own = accountOnCredit ? credit : debit;
    CDebit* counter = accountOnCredit ? debit : credit;
    const booking::Defaults defaults = booking::DefaultsOf(document);
    // The account's own line is listed on it but not posted: its balance holds
    // the amount already, only its lines did not.
    own->RemoveFromParent();
    own->Put_mCurrency(account->Get_mCurrency(), nullptr);
    own->Put_mAmounts(m, 0.0);
    own->Put_mAccountId(account->Get_Id(), false, account);
    counter->RemoveFromParent();
    counter->Put_mAmounts(m, 0.0);
    counter->Put_mAccountId(defaults.openingBalanceAccount, true, nullptr);
    // A gain where the account holds property, a loss where it owes, shown
    // as the correction category's kind counts it (the settings may name an
    // expense category): the check that runs when the transaction is okayed
    // on its sheet then finds nothing to turn round.
    double debitFluctuation = 0.0, creditFluctuation = 0.0;
    transaction->Get_DebitAmount(debitFluctuation);
    transaction->Get_CreditAmount(creditFluctuation);
    const double moved = debitFluctuation + creditFluctuation;
    category->RemoveFromParent();
    category->Put_mAmounts(
        CExptypeDetail::AmountShowing(booking::FindCategory(document, defaults.correctionCategory), moved, moved),
        0.0);
    category->Put_mAccountId(defaults.correctionCategory, true, nullptr);
    return transaction;
}

} // namespace ch
