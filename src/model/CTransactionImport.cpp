// Transactions filled from imported statement lines, updated from them, and
// written as text for the transaction export.

#include <cmath>
#include <string>
#include <vector>

#include "model/BookingLookups.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "model/ConversionCent.h"
#include "model/ModelCodes.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/LStream.h"

namespace ch {

namespace {

std::uint32_t ItemCountOf(const LVariableArray* lines)
{
    return lines ? lines->GetCount() : 0;
}

bool HasText(const char* text)
{
    return text && text[0] != '\0';
}

} // namespace

// --- import

CDebit* CTransaction::AddImportedLine(FourCharCode typeCode, double amount)
{
    if (typeCode == type::kDebit) return Add_Debit(1, true, amount);
    if (typeCode == type::kCredit) return Add_Credit(1, true, amount);
    if (typeCode == type::kExpenseTypeDetail) return Add_ExpenseType(1, true, amount);
    return nullptr;
}

bool CTransaction::Import(const char* name, const char* description, DateT date, double amount,
                          ObjectIdT fromAccountId, ObjectIdT toAccountId, ObjectIdT categoryId,
                          ObjectIdT currencyId, const LVariableArray* debits, const LVariableArray* credits,
                          const LVariableArray* categories)
{
    Put_Name(name ? name : "");
    Put_mDescription(description);
    Put_mDate(date);
    if (currencyId != 0) Put_mCurrencyId(currencyId, nullptr);
    Put_mTotalAmount(amount);

    const ObjectIdT transfer = booking::DefaultsOf(mDocument).unspecifiedTransferCategory;
    struct Side {
        FourCharCode typeCode;
        const LVariableArray* lines;
        ObjectIdT objectId;
    };
    for (const Side& side : {Side{type::kDebit, debits, fromAccountId},
                             Side{type::kCredit, credits, toAccountId},
                             Side{type::kExpenseTypeDetail, categories,
                                  categoryId != 0 ? categoryId : transfer}}) {
        if (ItemCountOf(side.lines) > 0) {
            ImportDetails(side.typeCode, side.lines);
        } else {
            AddImportedLine(side.typeCode, amount)->Put_mAccountId(side.objectId, true, nullptr);
        }
    }
    // One account line in another currency than the transaction's holds
    // what its account received or gave in that currency (a transfer
    // between accounts of two currencies): the money was changed at the rate
    // the two amounts give, not at the day's rate of the books. That line,
    // when it is not in the home currency, takes as its home-currency amount
    // what balances the sides. A line in the home currency gives the rate
    // instead: the lines in the transaction's currency (the categories' too)
    // change at what it is worth against what they move beside it.
    if (ItemCountOf(debits) + ItemCountOf(credits) > 0) {
        struct SidedLine {
            CDebit* line;
            bool debit;
        };
        std::vector<SidedLine> lines;
        for (CNamedListArray* list : {&mDebitList, &mCreditList})
            for (ArrayIndexT i = 1; i <= CountOf(list); ++i) lines.push_back({LineAt(list, i), list == &mDebitList});
        const SidedLine* other = nullptr;
        int count = 0;
        for (const SidedLine& sided : lines)
            if (sided.line->Get_mCurrency() != mCurrencyId) {
                ++count;
                other = &sided;
            }
        if (count == 1 && other->line->Get_mCurrency() != booking::HomeCurrencyId(mDocument)) {
            double unused = 0.0;
            const double debitSide = Get_DebitAmount(unused);
            const double creditSide = Get_CreditAmount(unused);
            const double rest = (other->debit ? debitSide : creditSide) - other->line->Get_mLocalAmount();
            const double local = (other->debit ? creditSide : debitSide) - rest;
            if (local * other->line->Get_mAmount() > 0.0) other->line->Put_mAmounts(local, other->line->Get_mAmount());
        } else if (count == 1) {
            double moved = 0.0;
            for (const SidedLine& sided : lines)
                if (&sided != other) moved += sided.debit == other->debit ? -sided.line->Get_mAmount() : sided.line->Get_mAmount();
            const double rate = moved != 0.0 ? other->line->Get_mLocalAmount() / moved : 0.0;
            if (rate > 0.0)
                for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList})
                    for (ArrayIndexT i = 1; i <= CountOf(list); ++i)
                        if (CDebit* line = LineAt(list, i); line->Get_mCurrency() == mCurrencyId)
                            line->Put_mAmounts(CCurrency::RoundAmount(line->Get_mAmount() * rate), line->Get_mAmount());
        }
    }
    // Lines in another currency than the home one are each rounded to the
    // cent in it: the largest such line of the from side (else of the to
    // side) takes what that rounding leaves between the sides, so that lines
    // that balance in the statement's currency balance in the books. Its
    // amount in its own currency stays the statement's: only its
    // home-currency amount takes the cent; a line in the home currency holds
    // its amount as it is.
    if (ItemCountOf(debits) + ItemCountOf(credits) > 0) {
        double unused = 0.0;
        const double difference = Get_CreditAmount(unused) - Get_DebitAmount(unused);
        const double lines = static_cast<double>(CountOf(&mDebitList) + CountOf(&mCreditList));
        const ObjectIdT home = booking::HomeCurrencyId(mDocument);
        CDebit* largest = LargestLine(&mDebitList, home);
        bool largestIsDebit = largest != nullptr;
        if (!largest) largest = LargestLine(&mCreditList, home);
        if (!largest) {
            largest = LargestLine(&mDebitList);
            largestIsDebit = true;
        }
        if (largest && difference != 0.0 && std::fabs(difference) <= 0.005 * lines + 1e-9)
            largest->Put_mAmounts(largest->Get_mLocalAmount() + (largestIsDebit ? difference : -difference),
                                  largest->Get_mAmount());
    }
    // So too the category lines against what the accounts' lines give.
    if (ItemCountOf(categories) > 0) CategoryLinesTakeConversionCent(*this);
    return Validate();
}

bool CTransaction::ImportDetails(FourCharCode typeCode, const LVariableArray* lines)
{
    TransactionLineItem line;
    for (std::uint32_t k = 1; k <= LineCountOf(lines); ++k) {
        if (FetchLineAt(*lines, k, line)) ImportDetail(typeCode, line.accountId, line.currencyId, line.amount);
    }
    return true;
}

bool CTransaction::ImportDetail(FourCharCode typeCode, ObjectIdT accountId, ObjectIdT currencyId,
                                double amount)
{
    CDebit* line = AddImportedLine(typeCode, amount);
    if (!line) return true;
    if (currencyId != 0) line->Put_mCurrency(currencyId, nullptr);
    line->Put_mAmount(amount, line->Get_mCurrencyptr());
    if (typeCode == type::kExpenseTypeDetail && accountId == 0)
        accountId = booking::DefaultsOf(mDocument).unspecifiedTransferCategory;
    line->Put_mAccountId(accountId, true, nullptr);
    return true;
}

// --- update

bool CTransaction::Update(const char* name, const char* description, const LVariableArray* debits,
                          const LVariableArray* credits, const LVariableArray* categories)
{
    // A name is always taken: the byte-order test on 'Inco' that the original
    // made never matched a name on a little-endian machine.
    if (HasText(name)) Put_Name(name);
    if (HasText(description)) Put_mDescription(description);

    struct Side {
        CNamedListArray* list;
        const LVariableArray* lines;
        FourCharCode typeCode;
    };
    for (const Side& side : {Side{&mDebitList, debits, type::kDebit},
                             Side{&mCreditList, credits, type::kCredit},
                             Side{&mExpenseTypeList, categories, type::kExpenseTypeDetail}}) {
        if (std::uint64_t(CountOf(side.list)) * 3 == ItemCountOf(side.lines)) continue;
        UpdateDetail(side.list, side.lines, side.typeCode);
        mTransactionType = transaction_type::kOther;
    }
    return true;
}

bool CTransaction::UpdateDetail(CNamedListArray* list, const LVariableArray* lines, FourCharCode typeCode)
{
    if (!list) return true;
    TransactionLineItem item;
    for (std::uint32_t group = 1; group <= LineCountOf(lines); ++group) {
        if (!FetchLineAt(*lines, group, item)) continue;
        const auto k = static_cast<ArrayIndexT>(group);
        if (k > CountOf(list)) {
            // Missing lines are added in front; the lines already updated keep their values.
            ImportDetail(typeCode, item.accountId, item.currencyId, item.amount);
            continue;
        }
        auto* line = static_cast<CDebit*>(list->ObjectAt(k));
        if (line->Get_mAccountId() != item.accountId) line->Put_mAccountId(item.accountId, true, nullptr);
        if (item.currencyId != 0 && line->Get_mCurrency() != item.currencyId)
            line->Put_mCurrency(item.currencyId, nullptr);
        if (line->Get_mAmount() != item.amount) line->Put_mAmount(item.amount, line->Get_mCurrencyptr());
    }
    return true;
}

// --- text export

bool CTransaction::Export(LStream* stream, char mode) const
{
    if (!stream) return false;
    if (mode == 'A' || mode == 'H') {
        CNonVisual::Export(stream, mode);
        std::string record = std::to_string(mDate);
        auto field = [&record](const std::string& text) {
            record += '\t';
            record += text;
        };
        char description[kDescriptionSize] = {};
        Get_mDescription(description);
        field(description);
        field(CDecimal::DoubleToString(mTotalAmount));
        char symbol[kNameSize] = {};
        if (CCurrency* currency = booking::FindCurrency(mDocument, mCurrencyId)) currency->Get_ShortName(symbol);
        field(symbol);
        field(std::to_string(mCurrencyId));
        char vatNumber[kVATNrSize] = {};
        Get_mVATNr(vatNumber);
        field(vatNumber);
        char reference[kReferenceSize] = {};
        Get_mDocumentRef(reference);
        field(reference);
        record += '\r';
        stream->WriteBlock(record.data(), static_cast<std::int32_t>(record.size()));
    }
    if (mode == 'A' || mode == 'D') {
        for (const CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
            for (ArrayIndexT i = 1; i <= CountOf(list); ++i) list->ObjectAt(i)->Export(stream, 'A');
        }
    }
    return true;
}

} // namespace ch
