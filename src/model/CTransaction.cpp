#include "model/CTransaction.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "model/BookingLookups.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/ConversionCent.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/CLocalize.h"
#include "model/foundation/CNSStringToCString.h"
#include "model/foundation/LStream.h"
#include "platform/core/unicode.h"

namespace ch {


namespace {

// The approval and one-off flags came with this version.
constexpr FourCharCode kVersionWithFlags = fourCC("1.02");

// The text as the model's 8-bit text, at most maxChars characters.
std::string ToCText(const std::string& text, std::size_t maxChars)
{
    return CNSStringToCString::convertToDestination(text, maxChars, maxChars);
}

// The first maxChars bytes of an 8-bit text as Unicode.
std::string FromCText(const char* text, std::size_t maxChars)
{
    if (!text) return std::string();
    return MacRomanToUnicode(std::string_view(text, strnlen(text, maxChars)));
}

template <std::size_t N>
void CopyText(const std::string& text, char (&out)[N])
{
    CopyToField(out, ToCText(text, N - 1).c_str());
}

// A text setter that keeps the current text when only the letter case differs.
template <typename References>
bool PutText(CommonOrOwn<References>& references, std::string References::*field, TextRef text)
{
    std::string_view value = text ? *text : std::string_view();
    if (!equalsCaseInsensitive((*references).*field, value))
        references.Change([&](References& changed) { changed.*field = std::string(value); });
    return true;
}

// A value cut toward zero, kept within the range of a long for the error texts.
long TruncatedForMessage(double value)
{
    double t = std::trunc(value);
    if (!(t > double(std::numeric_limits<long>::min()) && t < double(std::numeric_limits<long>::max())))
        return 0;
    return static_cast<long>(t);
}

} // namespace

// --- the references most transactions have

const std::array<CTransaction::References*, 2>& CTransaction::References::All()
{
    // Never destroyed: transactions in static storage may outlive them at exit.
    static const std::array<References*, 2> common = {new References, new References{" ", "", ""}};
    return common;
}

CTransaction::References* CTransaction::References::Common(const References& references)
{
    if (!references.documentReference.empty() || !references.externalReference.empty()) return nullptr;
    for (References* common : All()) {
        if (common->vatNumber == references.vatNumber) return common;
    }
    return nullptr;
}

bool CTransaction::References::IsCommon(const References* references)
{
    const auto& common = All();
    return references == common[0] || references == common[1];
}

CTransaction::References* CTransaction::References::Initial()
{
    return All()[0];
}

// --- construction

CTransaction::CTransaction(CDocAccounting* document, bool withLines, TransactionTypeT type)
    : CTransaction(-1, document, withLines, type, false)
{
}

CTransaction::CTransaction(ObjectIdT id, CDocAccounting* document, bool withLines,
                           TransactionTypeT type, bool unlinked)
    : CNonVisual(kTemporaryId)
{
    mDocument = document;
    CTransaction::Put_Id(id < 0 ? -1 : id);
    SetObjectType(type::kTransaction);
    mTransactionType = type;
    if (unlinked) Put_Status(status::kUnlinked);
    SetDefaults(withLines);
}

CTransaction::CTransaction(LStream* stream, FourCharCode version, CDocAccounting* document, bool)
    : CNonVisual(stream, version, document)
{
    mDocument = document;
    // From '1.10' the description is the header's text.
    if (version::AtLeast(version, version::k1_10))
        SetDescriptionCopy(ToCText(Get_StringrefDesc(), kMaxDescriptionLength).c_str());

    DateT date = 0;
    stream->ReadDateT(date);
    Put_mDate(date);
    if (!version::AtLeast(version, version::k1_10)) {
        char description[kDescriptionSize] = {};
        stream->ReadCString(description);
        Put_mDescription(description);
    }
    stream->ReadAmountT(mTotalAmount);
    stream->ReadAmountT(mLocalAmount);
    // The local amount stays as booked: converting the total again at today's
    // rate would change the books on every load.
    stream->ReadObjectIdT(mCurrencyId);
    stream->ReadObjectIdT(mDocumentId);
    if (!version::AtLeast(version, version::k1_10)) {
        char reference[kReferenceSize] = {};
        stream->ReadCString(reference);
        Put_mDocumentRef(reference);
        char vatNumber[kVATNrSize] = {};
        stream->ReadCString(vatNumber);
        Put_mVATNr(vatNumber);
    }
    CTransaction::Put_Id(Get_Id());
    SetObjectType(type::kTransaction);

    stream->ReadEnumT(mTransactionType);
    if (version::AtLeast(version, kVersionWithFlags)) {
        EnumT flag = 0;
        stream->ReadEnumT(flag);
        mb_Approved = flag != 0;
        stream->ReadEnumT(flag);
        mb_budgetOneOff = flag != 0;
    }
    if (version::AtLeast(version, version::k1_08)) {
        stream->ReadObjectIdT(mReferenceObjectId);
        stream->ReadEnumT(mSpecialTypeT);
        if (version::AtLeast(version, version::k1_09) && !version::AtLeast(version, version::k1_10)) {
            char reference[kReferenceSize] = {};
            stream->ReadCString(reference);
            Put_mExternalReference(reference);
        }
    } else {
        mReferenceObjectId = -1;
        mSpecialTypeT = special_type::kDefault;
    }
    if (version::AtLeast(version, version::k1_10)) {
        std::string vatNumber, documentReference, externalReference;
        stream->ReadCFString(vatNumber);
        stream->ReadCFString(documentReference);
        stream->ReadCFString(externalReference);
        // The usual empty references stay the shared ones.
        if (!vatNumber.empty()) Put_CFVATNr(vatNumber);
        if (!documentReference.empty()) Put_CFDocumentReference(documentReference);
        if (!externalReference.empty()) Put_CFExternalReference(externalReference);
    }
}

namespace {

// A line list without listeners whose lines have none either.
bool NobodyWatches(const CNamedListArray& list)
{
    if (list.HasListeners()) return false;
    const ArrayIndexT count = CountOf(&list);
    CNonVisual* const* block = count > 0 ? static_cast<CNonVisual* const*>(list.GetItemPtr(1)) : nullptr;
    for (ArrayIndexT i = 0; i < count; ++i) {
        if (block[i] && block[i]->HasListeners()) return false;
    }
    return true;
}

} // namespace

CTransaction::~CTransaction()
{
    // The transaction tells its own listeners that it goes: they may look at its lists.
    const bool unwatched = !HasListeners();
    for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
        if (unwatched && NobodyWatches(*list)) {
            // Nobody can see the list hold a deleted line before it goes with
            // this transaction: the lines are deleted where they stand.
            const ArrayIndexT count = CountOf(list);
            CNonVisual* const* block = count > 0 ? static_cast<CNonVisual* const*>(list->GetItemPtr(1)) : nullptr;
            for (ArrayIndexT i = 0; i < count; ++i) CNonVisual::Destroy(block[i]);
            continue;
        }
        std::vector<CNonVisual*> lines;
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) lines.push_back(list->ObjectAt(i));
        list->StopBroadcasting();
        list->RemoveItemsAt(list->GetCount(), 1);
        for (CNonVisual* line : lines) CNonVisual::Destroy(line);
    }
}

void CTransaction::SetDefaults(bool withLines)
{
    switch (mTransactionType) {
    case transaction_type::kExpense: Put_Name("Unspecified Expense"); break;
    case transaction_type::kIncome: Put_Name("Unspecified Income"); break;
    case transaction_type::kTransfer: Put_Name("Unspecified Transfer"); break;
    default: Put_Name("New Transaction"); break;
    }
    Put_mDescription("");
    SetObjectType(type::kTransaction);
    mb_Approved = false;
    mb_budgetOneOff = false;
    Put_mDate(CDate::GetNowAsDateT());
    Put_mVATNr(" ");
    mTotalAmount = 0.0;
    mLocalAmount = 0.0;
    CNonVisual* inputCurrency = nullptr;
    mCurrencyId = mDocument ? mDocument->Get_InputCurrency(inputCurrency) : 1;
    mDocumentId = -1;
    mReferenceObjectId = -1;
    mSpecialTypeT = special_type::kDefault;
    Put_mDocumentRef("");
    Put_mExternalReference("");
    if (withLines) {
        Add_Debit(1, false, 0.0);
        Add_Credit(1, false, 0.0);
        Add_ExpenseType(1, false, 0.0);
    }
}

bool CTransaction::Put_Id(ObjectIdT id)
{
    if (id < 0) {
        StoreId(NextId(Ids().mi_TrnsNr));
    } else {
        StoreId(id);
        ObjectIdT& counter = Ids().mi_TrnsNr;
        if (static_cast<std::uint32_t>(counter) < static_cast<std::uint32_t>(id)) counter = id;
    }
    return true;
}

// --- fields

bool CTransaction::Put_mDate(DateT date)
{
    const bool moved = date != mDate;
    if (moved) NoteSortDateChanged();
    // The posted lines leave the totals of the old date (a category's year
    // columns, an account's rate of the day) and come back under the new one.
    std::vector<CDebit*> posted;
    if (moved)
        for (CNamedListArray* lines : {&mDebitList, &mCreditList, &mExpenseTypeList})
            for (ArrayIndexT i = 1; i <= CountOf(lines); ++i)
                if (CDebit* line = LineAt(lines, i); line && line->IsPosted()) {
                    line->SubtractFromParent();
                    posted.push_back(line);
                }
    mDate = date;
    mDay = static_cast<std::uint8_t>(CDate::GetDayFromDateT(date));
    mMonth = static_cast<std::uint8_t>(CDate::GetMonthFromDateT(date));
    mYear = static_cast<std::int16_t>(CDate::GetYearFromDateT(date));
    for (CDebit* line : posted) line->AddupToParent();
    BroadcastMessage(msg::kDateChanged);
    // Whoever keeps an account's or category's lines in date order learns
    // that one of them moved (2002 with the line, from what it is booked on).
    if (moved)
        for (CNamedListArray* lines : {&mDebitList, &mCreditList, &mExpenseTypeList})
            for (ArrayIndexT i = 1; i <= CountOf(lines); ++i)
                if (CDebit* line = LineAt(lines, i))
                    if (CNonVisual* holder = line->Get_mAccountPtr()) holder->BroadcastMessage(msg::kDateChanged, line);
    return true;
}

void CTransaction::Get_mDescription(char (&out)[kDescriptionSize]) const
{
    CopyToField(out, mDescriptionIsText ? CNonVisual::Get_StringrefDesc().c_str() : mDescriptionCopy->c_str());
}

void CTransaction::SetDescriptionCopy(std::string copy)
{
    if (copy == CNonVisual::Get_StringrefDesc()) {
        mDescriptionIsText = true;
        mDescriptionCopy.reset();
        return;
    }
    mDescriptionIsText = false;
    if (mDescriptionCopy) *mDescriptionCopy = std::move(copy);
    else mDescriptionCopy = std::make_unique<std::string>(std::move(copy));
}

bool CTransaction::Put_mDescription(const char* description)
{
    if (!description) {
        Put_StringrefDesc(std::string_view());
        SetDescriptionCopy(std::string());
        return true;
    }
    char cut[kMaxDescriptionLength + 1] = {};
    CopyToField(cut, description);
    Put_StringrefDesc(MacRomanToUnicode(description));
    SetDescriptionCopy(cut);
    return true;
}

bool CTransaction::Put_StringrefDesc(TextRef description)
{
    if (!mDescriptionIsText) return CNonVisual::Put_StringrefDesc(description);
    // The copy keeps the text it was.
    std::string before = CNonVisual::Get_StringrefDesc();
    CNonVisual::Put_StringrefDesc(description);
    if (CNonVisual::Get_StringrefDesc() != before) {
        mDescriptionIsText = false;
        mDescriptionCopy = std::make_unique<std::string>(std::move(before));
    }
    return true;
}

bool CTransaction::Put_mLocalAmount(double amount)
{
    mLocalAmount = amount;
    return true;
}

bool CTransaction::IsHomeCurrency(ObjectIdT currencyId) const
{
    return currencyId == booking::HomeCurrencyId(mDocument);
}

CCurrency* CTransaction::Get_mCurrencyPtr()
{
    return booking::FindCurrency(mDocument, mCurrencyId);
}

bool CTransaction::Search_Currency(ObjectIdT id)
{
    return booking::FindCurrency(mDocument, id) != nullptr || IsHomeCurrency(id);
}

bool CTransaction::Put_mTotalAmount(double amount)
{
    if (amount == mTotalAmount) return true;
    mTotalAmount = amount;
    CCurrency* currency = Get_mCurrencyPtr();
    mLocalAmount = IsHomeCurrency(mCurrencyId) || !currency ? amount
                                                            : currency->ConvertToLocal(amount, 0, true);
    if (CountOf(&mDebitList) == 1) LineAt(&mDebitList, 1)->Put_mAmount(amount, currency);
    if (CountOf(&mCreditList) == 1) LineAt(&mCreditList, 1)->Put_mAmount(amount, currency);
    if (CountOf(&mExpenseTypeList) == 1) BalanceExpenseTypes();
    return true;
}

bool CTransaction::Put_mCurrencyId(ObjectIdT id, CCurrency* currency)
{
    mCurrencyId = id;
    if (!currency) currency = booking::FindCurrency(mDocument, id);
    if (currency) mLocalAmount = currency->ConvertToLocal(mTotalAmount, 0, true);
    else if (IsHomeCurrency(id)) mLocalAmount = mTotalAmount;

    // A single line that carries the whole amount follows the currency.
    for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
        if (CountOf(list) != 1) continue;
        CDebit* line = LineAt(list, 1);
        if (line->Get_mAmount() != mTotalAmount) continue;
        if (list == &mCreditList) {
            if (currency) line->Put_mCurrency(currency);
        } else {
            line->Put_mCurrency(id, currency);
        }
        line->Put_mAmount(mTotalAmount, currency);
    }
    return true;
}

bool CTransaction::Put_mDocumentId(ObjectIdT id)
{
    mDocumentId = id;
    return true;
}

void CTransaction::Get_mDocumentRef(char (&out)[kReferenceSize]) const
{
    CopyText(mReferences->documentReference, out);
}

bool CTransaction::Put_mDocumentRef(const char* reference)
{
    mReferences.Change([&](References& references) {
        references.documentReference = FromCText(reference, kReferenceSize - 1);
    });
    return true;
}

void CTransaction::Get_mVATNr(char (&out)[kVATNrSize]) const
{
    CopyText(mReferences->vatNumber, out);
}

bool CTransaction::Put_mVATNr(const char* number)
{
    mReferences.Change([&](References& references) { references.vatNumber = FromCText(number, kVATNrSize - 1); });
    return true;
}

void CTransaction::Get_mExternalReference(char (&out)[kReferenceSize]) const
{
    CopyText(mReferences->externalReference, out);
}

bool CTransaction::Put_mExternalReference(const char* reference)
{
    mReferences.Change([&](References& references) {
        references.externalReference = FromCText(reference, kReferenceSize - 1);
    });
    return true;
}

bool CTransaction::Put_CFVATNr(TextRef text)
{
    return PutText(mReferences, &References::vatNumber, text);
}

bool CTransaction::Put_CFDocumentReference(TextRef text)
{
    return PutText(mReferences, &References::documentReference, text);
}

bool CTransaction::Put_CFExternalReference(TextRef text)
{
    return PutText(mReferences, &References::externalReference, text);
}

bool CTransaction::Put_mb_Approved(bool approved)
{
    mb_Approved = approved;
    return true;
}

bool CTransaction::Put_mb_budgetOneOff(bool oneOff)
{
    mb_budgetOneOff = oneOff;
    return true;
}

bool CTransaction::Put_mTransactionType(TransactionTypeT type)
{
    mTransactionType = type;
    return true;
}

bool CTransaction::Put_mSpecialTypeT(SpecialTypeT type)
{
    mSpecialTypeT = type;
    return true;
}

bool CTransaction::Put_mReferenceObjectId(ObjectIdT id)
{
    mReferenceObjectId = id;
    return true;
}

// --- lines

CDebit* CTransaction::AddLine(CDebit* line, CNamedListArray* list, ArrayIndexT index,
                              bool inLineCurrency, double amount, ObjectIdT accountId)
{
    list->InsertObjectAt(line, index < 0 ? LArray::kLastIndex : index);
    line->Put_mCurrency(mCurrencyId, nullptr);
    line->Put_mTransactionId(Get_Id(), this);
    if (inLineCurrency) {
        line->Put_mAmount(amount, line->Get_mCurrencyptr());
    } else {
        line->Put_mLocalAmount(amount);
    }
    line->Put_mAccountId(accountId, true, nullptr);
    return line;
}

CDebit* CTransaction::Add_Debit(ArrayIndexT index, bool inLineCurrency, double amount)
{
    booking::Defaults defaults = booking::DefaultsOf(mDocument);
    ObjectIdT account = defaults.unspecifiedIncomeAccount;
    if (mTransactionType == transaction_type::kExpense || mTransactionType == transaction_type::kTransfer)
        account = defaults.ownPropertyAccount;
    return AddLine(new CDebit(mDocument, this), &mDebitList, index, inLineCurrency, amount,
                   account);
}

CCredit* CTransaction::Add_Credit(ArrayIndexT index, bool inLineCurrency, double amount)
{
    booking::Defaults defaults = booking::DefaultsOf(mDocument);
    ObjectIdT account = defaults.unspecifiedIncomeAccount;
    if (mTransactionType == transaction_type::kExpense) account = defaults.unspecifiedExpenseAccount;
    if (mTransactionType == transaction_type::kIncome || mTransactionType == transaction_type::kTransfer)
        account = defaults.ownPropertyAccount;
    return static_cast<CCredit*>(AddLine(new CCredit(mDocument, this), &mCreditList, index,
                                         inLineCurrency, amount, account));
}

CExptypeDetail* CTransaction::Add_ExpenseType(ArrayIndexT index, bool inLineCurrency, double amount)
{
    booking::Defaults defaults = booking::DefaultsOf(mDocument);
    ObjectIdT category = defaults.unspecifiedIncomeCategory;
    if (mTransactionType == transaction_type::kExpense) category = defaults.unspecifiedExpenseCategory;
    if (mTransactionType == transaction_type::kTransfer) category = defaults.unspecifiedTransferCategory;
    return static_cast<CExptypeDetail*>(AddLine(new CExptypeDetail(mDocument, this),
                                                &mExpenseTypeList, index, inLineCurrency,
                                                amount, category));
}

namespace {

bool SetLineAmount(CDebit* line, double amount, bool inLineCurrency)
{
    if (!line) return false;
    if (inLineCurrency) return line->Put_mAmount(amount, line->Get_mCurrencyptr());
    return line->Put_mLocalAmount(amount);
}

} // namespace

bool CTransaction::Set_Debit_Amount(CDebit* line, double amount, bool inLineCurrency)
{
    return SetLineAmount(line, amount, inLineCurrency);
}

bool CTransaction::Set_Credit_Amount(CCredit* line, double amount, bool inLineCurrency)
{
    return SetLineAmount(line, amount, inLineCurrency);
}

bool CTransaction::Set_ExpenseType_Amount(CExptypeDetail* line, double amount, bool inLineCurrency)
{
    return SetLineAmount(line, amount, inLineCurrency);
}

bool CTransaction::SetAccountChecked(CDebit* line, ObjectIdT accountId, bool debitSide)
{
    if (!line) return false;
    CAccount* account = booking::FindAccount(mDocument, accountId);
    bool profitAndLoss = account && account->thisIsAProfitAndLossAccount();
    switch (mTransactionType) {
    case transaction_type::kExpense:
        if (debitSide && profitAndLoss) {
            CErrorManager::RaiseError(134);
            return false;
        }
        if (!debitSide && !profitAndLoss) {
            CErrorManager::RaiseError(131);
            return false;
        }
        break;
    case transaction_type::kIncome:
        if (debitSide && !profitAndLoss) {
            CErrorManager::RaiseError(135);
            return false;
        }
        if (!debitSide && profitAndLoss) {
            CErrorManager::RaiseError(132);
            return false;
        }
        break;
    case transaction_type::kTransfer:
        // A warning only: the account is set all the same.
        if (profitAndLoss) CErrorManager::RaiseError(133);
        break;
    default:
        break;
    }
    return line->Put_mAccountId(accountId, true, nullptr);
}

bool CTransaction::Set_Debit_Account(CDebit* line, ObjectIdT accountId)
{
    return SetAccountChecked(line, accountId, true);
}

bool CTransaction::Set_Credit_Account(CCredit* line, ObjectIdT accountId)
{
    return SetAccountChecked(line, accountId, false);
}

bool CTransaction::Set_ExpenseType_Account(CExptypeDetail* line, ObjectIdT categoryId)
{
    return line && line->Put_mAccountId(categoryId, true, nullptr);
}

bool CTransaction::Set_Debit_Curreny(CDebit* line, ObjectIdT currencyId, CCurrency* currency)
{
    return line && line->Put_mCurrency(currencyId, currency);
}

bool CTransaction::Set_Credit_Curreny(CCredit* line, ObjectIdT currencyId, CCurrency* currency)
{
    return line && line->Put_mCurrency(currencyId, currency);
}

bool CTransaction::Set_ExpenseType_Curreny(CExptypeDetail* line, ObjectIdT currencyId,
                                           CCurrency* currency)
{
    return line && line->Put_mCurrency(currencyId, currency);
}

bool CTransaction::Holds(CNamedListArray* list, const CNonVisual* line)
{
    return line && list->FetchIndexOfObject(line) != 0;
}

bool CTransaction::DeleteLine(CNamedListArray* list, CDebit* line)
{
    if (CountOf(list) == 0) return false;
    if (CountOf(list) == 1) {
        CErrorManager::RaiseError(142);
        return false;
    }
    if (!Holds(list, line) || !line->BeforeDelete()) return false;
    list->RemoveObject(line);
    delete line;
    return true;
}

bool CTransaction::Delete_Debit(CDebit* line)
{
    return DeleteLine(&mDebitList, line);
}

bool CTransaction::Delete_Credit(CCredit* line)
{
    return DeleteLine(&mCreditList, line);
}

bool CTransaction::Delete_ExpenseType(CExptypeDetail* line)
{
    return DeleteLine(&mExpenseTypeList, line);
}

bool CTransaction::LinkDebit(CDebit* line)
{
    return line && mDebitList.AppendObject(line) > 0;
}

bool CTransaction::LinkCredit(CCredit* line)
{
    return line && mCreditList.AppendObject(line) > 0;
}

bool CTransaction::LinkExpenseType(CExptypeDetail* line)
{
    return line && mExpenseTypeList.AppendObject(line) > 0;
}

// --- totals

namespace {

double SumLines(const CNamedListArray* list, double& fluctuation)
{
    double sum = 0.0;
    fluctuation = 0.0;
    for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
        CDebit* line = LineAt(list, i);
        sum += line->Get_mLocalAmount();
        fluctuation += line->Get_PropertyFluctuation();
    }
    return sum;
}

} // namespace

double CTransaction::Get_DebitAmount(double& fluctuation) const
{
    return SumLines(&mDebitList, fluctuation);
}

double CTransaction::Get_CreditAmount(double& fluctuation) const
{
    return SumLines(&mCreditList, fluctuation);
}

double CTransaction::Get_ExpenseTypeAmount(double& fluctuation) const
{
    const CNamedListArray* list = &mExpenseTypeList;
    if (!list) return 0.0;
    double total = 0.0;
    double sum = 0.0;
    for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
        CDebit* line = LineAt(list, i);
        // A negative running total counts by its size before the next line
        // adds: mixed income and expense lines add up as magnitudes.
        if (total < 0.0) total = std::fabs(total);
        total += line->Get_mLocalAmount();
        sum += line->Get_PropertyFluctuation();
    }
    fluctuation = sum;
    return total;
}

double CTransaction::Get_FromToVariation(double& out) const
{
    double debitFluctuation = 0.0;
    double creditFluctuation = 0.0;
    Get_DebitAmount(debitFluctuation);
    Get_CreditAmount(creditFluctuation);
    out = debitFluctuation + creditFluctuation;
    return 0.0;
}

long CTransaction::GetDetailAmountAndType(CNamedListArray* list, double& amount)
{
    long kind = -1;
    for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
        CDebit* line = LineAt(list, i);
        amount += line->Get_mLocalAmount();
        CNonVisual* object = line->Get_mAccountPtr();
        long lineKind = 4;
        if (object && object->Get_ObjectType() == type::kAccount) {
            auto* account = static_cast<CAccount*>(object);
            if (account->thisIsADebtAccount()) lineKind = 2;
            else if (account->thisIsAnOwnPropretyAccount()) lineKind = 1;
            else if (account->thisIsAProfitAndLossAccount()) lineKind = 0;
        }
        kind = kind == -1 || kind == lineKind ? lineKind : 4;
    }
    return kind == -1 ? 4 : kind;
}

bool CTransaction::IsCompletelyPositive() const
{
    double debits = 0.0;
    double credits = 0.0;
    long debitKind = GetDetailAmountAndType(&mDebitList, debits);
    long creditKind = GetDetailAmountAndType(&mCreditList, credits);
    return debitKind == 0 && creditKind == 1 && debits == credits;
}

bool CTransaction::IsCompletelyNegative() const
{
    double debits = 0.0;
    double credits = 0.0;
    long debitKind = GetDetailAmountAndType(&mDebitList, debits);
    long creditKind = GetDetailAmountAndType(&mCreditList, credits);
    return debitKind == 1 && creditKind == 0 && debits == credits;
}

bool CTransaction::IsBetweenPL() const
{
    for (const CNamedListArray* list : {&mDebitList, &mCreditList}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
            CNonVisual* object = LineAt(list, i)->Get_mAccountPtr();
            if (!object || object->Get_ObjectType() != type::kAccount ||
                !static_cast<CAccount*>(object)->thisIsAProfitAndLossAccount())
                return false;
        }
    }
    return true;
}

bool CTransaction::IsOnAccount(CAccount* account) const
{
    if (!account) return false;
    for (const CNamedListArray* list : {&mDebitList, &mCreditList}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
            if (LineAt(list, i)->Get_mAccountPtr() == account) return true;
        }
    }
    return false;
}

bool CTransaction::IsOnExpenseType(CExpenseType* category) const
{
    if (!category) return false;
    for (ArrayIndexT i = 1; i <= CountOf(&mExpenseTypeList); ++i) {
        if (LineAt(&mExpenseTypeList, i)->Get_mAccountPtr() == category) return true;
    }
    return false;
}

CAccount* CTransaction::giveOtherAccount(bool debitSide) const
{
    const CNamedListArray* list = debitSide ? &mDebitList : &mCreditList;
    CDebit* largest = nullptr;
    double size = 0.0;
    for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
        CDebit* line = LineAt(list, i);
        if (std::fabs(line->Get_mLocalAmount()) > size) {
            size = std::fabs(line->Get_mLocalAmount());
            largest = line;
        }
    }
    if (!largest) return nullptr;
    CNonVisual* object = largest->Get_mAccountPtr();
    return object && object->Get_ObjectType() == type::kAccount ? static_cast<CAccount*>(object)
                                                                 : nullptr;
}

bool CTransaction::IsOnModifiedForeignCurrency() const
{
    for (const CNamedListArray* list : {&mDebitList, &mCreditList}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
            CDebit* line = LineAt(list, i);
            if (line->IsOnModifiedForeignCurrency()) return true;
            CNonVisual* object = line->Get_mAccountPtr();
            if (!object || object->Get_ObjectType() != type::kAccount) continue;
            ObjectIdT currencyId = static_cast<CAccount*>(object)->Get_mCurrency();
            if (IsHomeCurrency(currencyId)) continue;
            CCurrency* currency = booking::FindCurrency(mDocument, currencyId);
            if (currency && currency->didRateChangeAfter(mDate)) return true;
        }
    }
    return false;
}

// --- balancing

bool CTransaction::BalanceDebit(CDebit* line)
{
    if (!line) return false;
    double fluctuation = 0.0;
    double total = Get_DebitAmount(fluctuation);
    return Set_Debit_Amount(line, mLocalAmount - (total - line->Get_mLocalAmount()), false);
}

bool CTransaction::BalanceCredit(CCredit* line)
{
    if (!line) return false;
    double fluctuation = 0.0;
    double total = Get_CreditAmount(fluctuation);
    return Set_Credit_Amount(line, mLocalAmount - (total - line->Get_mLocalAmount()), false);
}

bool CTransaction::BalanceExpenseType(CExptypeDetail* line)
{
    if (!line) return false;
    CExpenseType* category = line->CategoryOf();
    double categoryFluctuation = 0.0;
    double total = Get_ExpenseTypeAmount(categoryFluctuation);
    if (!category || category->IsTransfer() || (!category->IsIncome(true) && !category->IsExpense(true)))
        return Set_ExpenseType_Amount(line, mLocalAmount - (total - line->Get_mLocalAmount()), false);

    double debitFluctuation = 0.0;
    double creditFluctuation = 0.0;
    Get_DebitAmount(debitFluctuation);
    Get_CreditAmount(creditFluctuation);
    double d = debitFluctuation + creditFluctuation - categoryFluctuation;
    double amount = category->IsIncome(true) ? line->Get_mLocalAmount() + d
                                             : line->Get_mLocalAmount() - d;
    return Set_ExpenseType_Amount(line, amount, false);
}

long CTransaction::BalanceExpenseTypes()
{
    double categoryFluctuation = 0.0;
    double debitFluctuation = 0.0;
    double creditFluctuation = 0.0;
    Get_ExpenseTypeAmount(categoryFluctuation);
    Get_DebitAmount(debitFluctuation);
    Get_CreditAmount(creditFluctuation);
    if (CountOf(&mExpenseTypeList) != 1 || Get_ObjectStatus() == status::kBlocked) return 0;

    auto* line = LineAt<CExptypeDetail>(&mExpenseTypeList, 1);
    auto accountOfOnly = [](const CNamedListArray* list) -> CAccount* {
        if (CountOf(list) != 1) return nullptr;
        CNonVisual* object = LineAt(list, 1)->Get_mAccountPtr();
        return object && object->Get_ObjectType() == type::kAccount ? static_cast<CAccount*>(object)
                                                                     : nullptr;
    };
    CAccount* fromAccount = accountOfOnly(&mDebitList);
    CAccount* toAccount = accountOfOnly(&mCreditList);
    booking::Defaults defaults = booking::DefaultsOf(mDocument);

    double f = debitFluctuation + creditFluctuation;
    bool income = f >= 0.0;
    double m = std::fabs(f);
    if (m != 0.0) {
        ObjectIdT categoryId = line->Get_mAccountId();
        if (categoryId == defaults.unspecifiedExpenseCategory ||
            categoryId == defaults.unspecifiedIncomeCategory) {
            // An unspecified category takes the account's own default.
            CAccount* account = income ? fromAccount : toAccount;
            CExpenseType* preferred = account ? account->Get_mDefaultExpenseType() : nullptr;
            ObjectIdT target = preferred ? preferred->Get_Id()
                               : income  ? defaults.unspecifiedIncomeCategory
                                         : defaults.unspecifiedExpenseCategory;
            // The amount is shown as the category taken counts it: the
            // settings may name a category of the other kind (an opening
            // balance as the unspecified expense), and the amount by size
            // alone would be turned round by the check when okayed.
            line->Put_mLocalAmount(
                CExptypeDetail::AmountShowing(preferred ? preferred : booking::FindCategory(mDocument, target), f, m));
            line->Put_mAccountId(target, true, nullptr);
        } else if (CExpenseType* category = line->CategoryOf()) {
            if (category->IsIncome(true)) {
                line->Put_mLocalAmount(f);
            } else if (category->IsExpense(true)) {
                line->Put_mLocalAmount(-f);
            }
        }
    }
    if (f == 0.0 && mTotalAmount != 0.0 && fromAccount && toAccount &&
        !fromAccount->thisIsAProfitAndLossAccount() && !toAccount->thisIsAProfitAndLossAccount()) {
        // Between own accounts: a transfer of the whole amount.
        line->Put_mLocalAmount(mLocalAmount);
        CExpenseType* category = line->CategoryOf();
        if (!category || !category->IsTransfer())
            line->Put_mAccountId(defaults.unspecifiedTransferCategory, true, nullptr);
    }
    // A line that only differs from the total by rounding takes the total.
    if (line->Get_mAmount() != mTotalAmount && line->Get_mCurrency() == mCurrencyId) {
        CCurrency* currency = Get_mCurrencyPtr();
        if (currency && currency->ConvertToLocal(mTotalAmount, 0, true) ==
                            currency->ConvertToLocal(line->Get_mAmount(), 0, true))
            line->Put_mAmount(mTotalAmount, currency);
    }
    return 0;
}

// --- validation

namespace {

// Ten to the power of the number of decimals: amounts times this are whole units.
double SmallestUnits()
{
    const long decimals = CDecimal::getNrOfDecimals();
    double s = 1.0;
    for (long i = 0; i < decimals; ++i) s *= 10.0;
    return s;
}

// A category line in another currency than the home one was converted.
bool HasConvertedCategoryLine(const CTransaction& transaction, const CDocAccounting* document)
{
    const ObjectIdT home = booking::HomeCurrencyId(document);
    const CNamedListArray* lines = transaction.GetExpenseTypeList();
    for (ArrayIndexT i = 1; i <= CountOf(lines); ++i) {
        const ObjectIdT currency = LineAt(lines, i)->Get_mCurrency();
        if (currency > 0 && currency != home) return true;
    }
    return false;
}

} // namespace

namespace {

// What the rounding of each of `count` lines (and of the total) can leave.
double RoundingOf(ArrayIndexT count)
{
    return 0.005 * (static_cast<double>(count) + 1.0) + 1e-9;
}

// The largest category line takes the difference between the category
// lines and the accounts' lines, in whichever direction its kind counts it;
// `put` gives a line its home-currency amount.
template <typename Put>
bool CategoryLinesTakeCent(CTransaction& transaction, Put put)
{
    double fD = 0.0, fC = 0.0, fE = 0.0;
    transaction.Get_DebitAmount(fD);
    transaction.Get_CreditAmount(fC);
    transaction.Get_ExpenseTypeAmount(fE);
    const double difference = fD + fC - fE;
    if (difference == 0.0) return true;
    const CNamedListArray* lines = transaction.GetExpenseTypeList();
    CDebit* largest = LargestLine(lines);
    if (!largest || std::fabs(difference) > RoundingOf(CountOf(lines))) return false;
    const double was = largest->Get_mLocalAmount();
    put(largest, was + difference);
    transaction.Get_ExpenseTypeAmount(fE);
    if (std::fabs(fD + fC - fE) <= 1e-9) return true;
    put(largest, was - difference);
    transaction.Get_ExpenseTypeAmount(fE);
    if (std::fabs(fD + fC - fE) <= 1e-9) return true;
    put(largest, was);
    return false;
}

} // namespace

CDebit* LargestLine(const CNamedListArray* lines, ObjectIdT passedOver)
{
    CDebit* largest = nullptr;
    for (ArrayIndexT i = 1; i <= CountOf(lines); ++i) {
        CDebit* line = LineAt(lines, i);
        if (passedOver != 0 && line->Get_mCurrency() == passedOver) continue;
        if (!largest || std::fabs(line->Get_mLocalAmount()) > std::fabs(largest->Get_mLocalAmount())) largest = line;
    }
    return largest;
}

bool CategoryLinesTakeConversionCent(CTransaction& transaction)
{
    return CategoryLinesTakeCent(transaction, [](CDebit* line, double local) { line->Put_mLocalAmount(local); });
}

bool LinesTakeNewHomeCents(CTransaction& transaction)
{
    auto put = [](CDebit* line, double local) { line->PutNewHomeAmount(local); };
    double ignored = 0.0;
    const CNamedListArray* debits = transaction.GetDebitList();
    const CNamedListArray* credits = transaction.GetCreditList();
    const double difference = transaction.Get_DebitAmount(ignored) - transaction.Get_CreditAmount(ignored);
    if (std::fabs(difference) > 1e-9) {
        const bool onCredit = CountOf(credits) >= CountOf(debits);
        CDebit* largest = LargestLine(onCredit ? credits : debits);
        if (!largest || std::fabs(difference) > RoundingOf(CountOf(debits) + CountOf(credits))) return false;
        put(largest, largest->Get_mLocalAmount() + (onCredit ? difference : -difference));
    }
    return CountOf(transaction.GetExpenseTypeList()) == 0 || CategoryLinesTakeCent(transaction, put);
}

bool CTransaction::SidesAgree(double debits, double credits)
{
    const double s = SmallestUnits();
    const double difference = std::trunc(debits * s * 10.0 - credits * s * 10.0);
    return difference >= -1.0 && difference <= 1.0;
}

bool CTransaction::AgreeCategoriesWithSides(double* moved, double* shown)
{
    // An invoice's or credit note's category lines say what was invoiced
    // (turnover and VAT) between accounts that hold no property: they are
    // the business's own, not a balance of the property the lines move.
    // A payment's say what it settles (income or expense paid, the VAT it
    // releases) between own accounts that move no profit or loss: zeroing or
    // rebalancing them would take the settled amount out of its category.
    if (mTransactionType == transaction_type::kCustomerInvoice ||
        mTransactionType == transaction_type::kSupplierInvoice ||
        mTransactionType == transaction_type::kCustomerPayment ||
        mTransactionType == transaction_type::kSupplierPayment)
        return true;
    const double s = SmallestUnits();
    double fD = 0.0;
    double fC = 0.0;
    double fE = 0.0;
    Get_DebitAmount(fD);
    Get_CreditAmount(fC);
    Get_ExpenseTypeAmount(fE);
    if (std::trunc(fD * s) + std::trunc(fC * s) == std::trunc(fE * s)) return true;
    if (fD + fC == -fE) {
        for (ArrayIndexT i = 1; i <= CountOf(&mExpenseTypeList); ++i) {
            CDebit* line = LineAt(&mExpenseTypeList, i);
            line->Put_mLocalAmount(-line->Get_mLocalAmount());
        }
        return true;
    }
    if (fD + fC == 0.0) {
        for (ArrayIndexT i = 1; i <= CountOf(&mExpenseTypeList); ++i)
            LineAt(&mExpenseTypeList, i)->Put_mLocalAmount(0.0);
        return true;
    }
    BalanceExpenseTypes();
    Get_DebitAmount(fD);
    Get_CreditAmount(fC);
    Get_ExpenseTypeAmount(fE);
    if (moved) *moved = fD + fC;
    if (shown) *shown = fE;
    return std::fabs(fD + fC - fE) <= 0.5 / s ||
           (HasConvertedCategoryLine(*this, mDocument) && CategoryLinesTakeConversionCent(*this));
}

bool CTransaction::Validate()
{
    for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
        bool linesValid = true;
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
            if (!LineAt(list, i)->Validate()) linesValid = false;
        }
        if (!linesValid) return false;
    }

    double fD = 0.0;
    double fC = 0.0;
    double fE = 0.0;
    const double debits = Get_DebitAmount(fD);
    const double credits = Get_CreditAmount(fC);
    const double categories = Get_ExpenseTypeAmount(fE);
    if (mLocalAmount == 0.0 && mTotalAmount == 0.0 && debits == 0.0 && credits == 0.0 &&
        categories == 0.0) {
        CErrorManager::RaiseError(238);
        return false;
    }
    if (!SidesAgree(debits, credits)) {
        CErrorManager::RaiseError(128);
        return false;
    }
    double moved = 0.0;
    double shown = 0.0;
    if (!AgreeCategoriesWithSides(&moved, &shown)) {
        CErrorManager::RaiseError(144, TruncatedForMessage(moved), TruncatedForMessage(-shown));
        return false;
    }
    ObjectStatusT current = Get_ObjectStatus();
    if (current != status::kBlocked && current != status::kBalancing && current != status::kUnlinked)
        Put_Status(status::kNormal);
    return true;
}

// --- posting state

bool CTransaction::IsPosted() const
{
    return Get_ObjectStatus() != status::kUnlinked && Get_ObjectType() != type::kRecurring;
}

void CTransaction::PostHeldLines()
{
    if (!mPostingHeld) return;
    mPostingHeld = false;
    if (!IsPosted()) return;
    for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) LineAt(list, i)->Link();
    }
}

void CTransaction::PostHeldLinesAside(const std::function<CCurrency*(ObjectIdT)>& currencyOf)
{
    if (!mPostingHeld) return;
    mPostingHeld = false;
    if (!IsPosted()) return;
    for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
        const ArrayIndexT count = CountOf(list);
        for (ArrayIndexT i = 1; i <= count; ++i) {
            CDebit* line = LineAt(list, i);
            line->LinkHeld(currencyOf(line->Get_mCurrency()));
        }
    }
}

void CTransaction::PostHeldLinesAside(const std::function<CCurrency*(ObjectIdT)>& currencyOf, CDebit* const* lines,
                                      std::size_t count)
{
    if (!mPostingHeld) return;
    mPostingHeld = false;
    if (!IsPosted()) return;
    for (std::size_t i = 0; i < count; ++i) lines[i]->LinkHeld(currencyOf(lines[i]->Get_mCurrency()));
}

bool CTransaction::Link()
{
    if (Get_ObjectStatus() != status::kUnlinked) {
        CErrorManager::RaiseError(137);
        return false;
    }
    for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) LineAt(list, i)->Link();
    }
    Put_Status(status::kNormal);
    return true;
}

bool CTransaction::Unlink()
{
    if (Get_ObjectStatus() == status::kUnlinked) {
        CErrorManager::RaiseError(137);
        return false;
    }
    for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) LineAt(list, i)->Unlink();
    }
    Put_Status(status::kUnlinked);
    mb_Approved = false;
    return true;
}

bool CTransaction::BeforeDelete()
{
    if (Get_ObjectStatus() == status::kBlocked) {
        CErrorManager::RaiseError(137);
        return false;
    }
    for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
        // From the end, so that each removal takes the list's last item.
        for (ArrayIndexT i = CountOf(list); i >= 1; --i) {
            CDebit* line = LineAt(list, i);
            if (!line->BeforeDelete()) continue;
            list->RemoveItemsAt(1, i);
            delete line;
        }
    }
    return true;
}

// --- texts

std::string CTransaction::Get_DetailDescription(CNamedListArray* list)
{
    std::string text = " ";
    for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
        text += LineAt(list, i)->Get_FullDescription();
        text += "\n";
    }
    return text;
}

std::string CTransaction::Get_FullDescription() const
{
    const struct {
        const char* key;
        CNamedListArray* list;
    } sides[] = {{"FROM", &mDebitList}, {"TO", &mCreditList}, {"FOR", &mExpenseTypeList}};
    std::string text;
    for (const auto& side : sides) {
        if (!side.list) continue;
        char heading[kNameSize] = {};
        text += CLocalize::LocalizedName(side.key, heading);
        text += "\n";
        text += Get_DetailDescription(side.list);
        text += "\n";
    }
    return text;
}

// --- stream

void CTransaction::PutStream(LStream* stream, bool withDetails)
{
    // The header, the fixed fields and the three texts, and room for lines
    // of the usual size (a line named otherwise asks for more itself).
    constexpr std::size_t kUsualLineBytes = 128;
    const std::size_t lines =
        withDetails ? CountOf(&mDebitList) + CountOf(&mCreditList) + CountOf(&mExpenseTypeList) : 0;
    LStream::WriteRoom room(*stream, HeaderBytes() + 36 + 3 * (4 + 2) +
                                         2 * (mReferences->vatNumber.size() + mReferences->documentReference.size() +
                                              mReferences->externalReference.size()) +
                                         lines * kUsualLineBytes);
    WriteHeader(stream);
    stream->WriteDateT(mDate);
    stream->WriteAmountTT(mTotalAmount);
    stream->WriteAmountTT(mLocalAmount);
    stream->WriteObjectIdT(mCurrencyId);
    stream->WriteObjectIdT(mDocumentId);
    stream->WriteEnumT(mTransactionType);
    stream->WriteEnumT(mb_Approved ? 1 : 0);
    stream->WriteEnumT(mb_budgetOneOff ? 1 : 0);
    stream->WriteObjectIdT(mReferenceObjectId);
    stream->WriteEnumT(mSpecialTypeT);
    stream->WriteCFString(mReferences->vatNumber);
    stream->WriteCFString(mReferences->documentReference);
    stream->WriteCFString(mReferences->externalReference);
    if (withDetails) PutDetailsToStream(stream);
}

void CTransaction::PutDetailsToStream(LStream* stream)
{
    for (CNamedListArray* list : {&mDebitList, &mCreditList, &mExpenseTypeList}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) LineAt(list, i)->PutStream(stream);
    }
}

} // namespace ch
