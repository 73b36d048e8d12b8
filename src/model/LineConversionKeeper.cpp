#include "model/LineConversionKeeper.h"

#include <cmath>

#include "model/BookingLookups.h"
#include "model/CAccount.h"
#include "model/CAccountArray.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"

namespace ch {
namespace {

// Smaller than any amount a person books; a conversion that moved less is
// the same.
constexpr double kUnmoved = 1e-9;

} // namespace

LineConversionKeeper::LineConversionKeeper(CDocAccounting* document, bool homeCurrencyChanges)
    : mDocument(document)
{
    if (!document || !document->mAccountList) return;
    const ObjectIdT home = booking::HomeCurrencyId(document);
    CAccountArray* accounts = document->mAccountList.get();
    const auto count = static_cast<ArrayIndexT>(accounts->GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        CNonVisual* object = accounts->ObjectAt(i);
        if (!object || object->Get_ObjectType() != type::kAccount) continue;
        auto* account = static_cast<CAccount*>(object);
        const bool heldInHome = account->Get_mCurrency() == home;
        if (heldInHome && !homeCurrencyChanges) continue;
        for (CNamedListArray* list : {account->Get_mDebitlist(), account->Get_mCreditList()}) {
            if (!list) continue;
            const auto lines = static_cast<ArrayIndexT>(list->GetCount());
            for (ArrayIndexT j = 1; j <= lines; ++j) {
                auto* line = static_cast<CDebit*>(list->ObjectAt(j));
                if (!line || !line->IsPosted()) continue;
                // An account in the home currency counts even its own
                // currency's lines by their home-currency amounts (a
                // remainder booked at an earlier change holds none else).
                if (line->Get_mCurrency() == account->Get_mCurrency() && !heldInHome) continue;
                mNoted.push_back({account, line, account->LineAmountInOwnCurrency(*line)});
            }
        }
    }
}

LineConversionKeeper::~LineConversionKeeper()
{
    const ObjectIdT home = booking::HomeCurrencyId(mDocument);
    for (const Noted& noted : mNoted) {
        if (noted.account->Get_mCurrency() == home) continue;
        if (std::fabs(noted.account->LineAmountInOwnCurrency(*noted.line) - noted.amount) <= kUnmoved) continue;
        noted.line->KeepAmountInCurrency(noted.account->Get_mCurrency(), noted.amount);
    }
}

} // namespace ch
