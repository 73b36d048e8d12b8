#include "model/CDebit.h"

#include <string_view>

#include "model/BookingLookups.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CTransaction.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LStream.h"
#include "platform/core/unicode.h"

namespace ch {


namespace {

constexpr ObjectStatusT kUnlinked = status::kUnlinked;

bool IsAccount(const CNonVisual* object)
{
    return object && object->Get_ObjectType() == type::kAccount;
}

bool IsCategory(const CNonVisual* object)
{
    return object && object->Get_ObjectType() == type::kExpenseType;
}

} // namespace

// --- construction

CDebit::CDebit(CDocAccounting* document, CNonVisual* transaction)
    : CDebit(type::kDebit, document, transaction)
{
    InitLine();
}

CDebit::CDebit(FourCharCode typeCode, CDocAccounting* document, CNonVisual* transaction)
    : CNonVisual(kTemporaryId)
{
    SetObjectType(typeCode);
    mDocument = document;
    CDebit::Put_mTransactionId(0, transaction);
    // The line id is taken before the line joins any list.
    CDebit::Put_Id(-1);
}

CDebit::CDebit(LStream* stream, CDocAccounting* document, CNonVisual* transaction,
               FourCharCode version, CNonVisual*)
    : CDebit(type::kDebit, stream, document, transaction, version)
{
}

CDebit::CDebit(FourCharCode typeCode, LStream* stream, CDocAccounting* document,
               CNonVisual* transaction, FourCharCode version)
    : CNonVisual(stream, version, document)
{
    SetObjectType(typeCode);
    mDocument = document;
    CDebit::Put_mTransactionId(0, transaction);
    mCurrency = HomeCurrencyId();
}

// Called by each concrete class's constructor, so that the class's own
// look-up and registration apply.
void CDebit::InitLine()
{
    Put_Name("NoName");
    mCurrency = HomeCurrencyId();
    mAmount = 0.0;
    mLocalAmount = 0.0;
    Put_mAccountId(1, false, nullptr);
}

CDebit::~CDebit() = default;

CCredit::CCredit(CDocAccounting* document, CNonVisual* transaction)
    : CDebit(type::kCredit, document, transaction)
{
    InitLine();
}

CCredit::CCredit(LStream* stream, CDocAccounting* document, CNonVisual* transaction,
                 FourCharCode version, CNonVisual*)
    : CDebit(type::kCredit, stream, document, transaction, version)
{
}

CExptypeDetail::CExptypeDetail(CDocAccounting* document, CNonVisual* transaction)
    : CDebit(type::kExpenseTypeDetail, document, transaction)
{
    InitLine();
}

CExptypeDetail::CExptypeDetail(LStream* stream, CDocAccounting* document, CNonVisual* transaction,
                               FourCharCode version, CNonVisual*)
    : CDebit(type::kExpenseTypeDetail, stream, document, transaction, version)
{
}

// --- ids and names

bool CDebit::Put_Id(ObjectIdT id)
{
    if (id == kTemporaryId) {
        StoreId(1);
    } else if (id < 0) {
        StoreId(NextId(Ids().mi_DebetNr));
    } else {
        StoreId(id);
        RaiseCounter(Ids().mi_DebetNr, id);
    }
    return true;
}

void CDebit::NoteReadId(CDocAccounting& document, ObjectIdT id)
{
    ObjectIdT& counter = document.Ids().mi_DebetNr;
    if (counter < id) counter = id;
}

void CDebit::Get_Name(char (&out)[kNameSize]) const
{
    if (mTransaction) {
        mTransaction->Get_Name(out);
    } else {
        CNonVisual::Get_Name(out);
    }
}

// --- the document

ObjectIdT CDebit::HomeCurrencyId() const
{
    return booking::HomeCurrencyId(mDocument);
}

bool CDebit::IsHomeCurrency(ObjectIdT currencyId) const
{
    return currencyId == HomeCurrencyId();
}

CCurrency* CDebit::Get_mCurrencyptr() const
{
    return booking::FindCurrency(mDocument, mCurrency);
}

double CDebit::ToLocal(double amount, CCurrency* currency) const
{
    if (!currency || IsHomeCurrency(currency->Get_Id())) return amount;
    return currency->ConvertToLocal(amount, 0, true);
}

double CDebit::ToLineCurrency(double local) const
{
    if (IsHomeCurrency(mCurrency)) return local;
    CCurrency* currency = Get_mCurrencyptr();
    return currency ? currency->ConvertToForeign(local, 0, true) : local;
}

// --- the transaction

bool CDebit::Put_mTransactionId(ObjectIdT, CNonVisual* transaction)
{
    if (transaction && transaction != mTransaction) {
        NoteSortDateChanged();
        NoteNameChanged();
        mTransaction = transaction;
        mTransactionPtr = dynamic_cast<CTransaction*>(transaction);
    }
    return true;
}

ObjectIdT CDebit::Get_mTransactionId() const
{
    return mTransaction ? mTransaction->Get_Id() : 0;
}

CTransaction* CDebit::Get_mTransactionPtr() const
{
    return mTransactionPtr;
}

DateT CDebit::Get_mDate() const
{
    return mTransaction ? mTransaction->Get_SortDate() : 0;
}

bool CDebit::IsTransactionPosted() const
{
    return mTransaction && mTransaction->Get_ObjectStatus() != kUnlinked &&
           mTransaction->Get_ObjectType() != type::kRecurring &&
           !(mTransactionPtr && mTransactionPtr->IsPostingHeld());
}

bool CDebit::IsPosted() const
{
    return IsTransactionPosted() && mRegistered;
}

// --- the account or category

CNonVisual* CDebit::FindAccount(ObjectIdT id) const
{
    return booking::FindAccount(mDocument, id);
}

CNonVisual* CExptypeDetail::FindAccount(ObjectIdT id) const
{
    return booking::FindCategory(mDocument, id);
}

CNonVisual* CDebit::Get_mAccountPtr() const
{
    // A registered line's object can't go away before the line leaves it;
    // any other line asks its document, so a deleted object is simply absent.
    return mRegistered ? mAccountPtr : FindAccount(mAccountId);
}

CAccount* CDebit::AccountOf() const
{
    CNonVisual* object = Get_mAccountPtr();
    return IsAccount(object) ? static_cast<CAccount*>(object) : nullptr;
}

CExpenseType* CExptypeDetail::CategoryOf() const
{
    CNonVisual* object = Get_mAccountPtr();
    return IsCategory(object) ? static_cast<CExpenseType*>(object) : nullptr;
}

bool CDebit::Search_Account(ObjectIdT id)
{
    return FindAccount(id) != nullptr;
}

bool CExptypeDetail::Search_Account(ObjectIdT)
{
    return true;
}

bool CDebit::Put_mAccountId(ObjectIdT id, bool post, CNonVisual* object)
{
    bool transactionPosted = IsTransactionPosted();
    if (transactionPosted && mRegistered) {
        if (post) SubtractFromParent();
        RemoveFromParent();
    }
    // Only a posted transaction's line joins its account.
    CNonVisual* target = object ? object : (transactionPosted ? FindAccount(id) : nullptr);
    mAccountId = id;
    if (target && transactionPosted) {
        mAccountPtr = target;
        mRegistered = false;
        AddToParent();
        if (post) AddupToParent();
    }
    return true;
}

bool CDebit::AddToParent()
{
    CNonVisual* target = mAccountPtr ? mAccountPtr : Get_mAccountPtr();
    mAccountPtr = nullptr;
    if (!IsAccount(target)) return false;
    mRegistered = static_cast<CAccount*>(target)->AddDetail(this);
    if (mRegistered) mAccountPtr = target;
    return mRegistered;
}

bool CExptypeDetail::AddToParent()
{
    CNonVisual* target = mAccountPtr ? mAccountPtr : Get_mAccountPtr();
    mAccountPtr = nullptr;
    if (!IsCategory(target)) return false;
    // The category answers 1 when the line was listed already; either way it is now.
    static_cast<CExpenseType*>(target)->AddDetail(this);
    mRegistered = true;
    mAccountPtr = target;
    return true;
}

bool CDebit::RemoveFromParent()
{
    CAccount* account = AccountOf();
    mRegistered = false;
    mAccountPtr = nullptr;
    return account && account->RemoveDetail(this);
}

bool CExptypeDetail::RemoveFromParent()
{
    CExpenseType* category = CategoryOf();
    mRegistered = false;
    mAccountPtr = nullptr;
    return category && category->RemoveDetail(this);
}

bool CDebit::AddupToParent()
{
    if (CAccount* account = AccountOf())
        account->Debiteer(mLocalAmount, mAmount, mCurrency, Get_mCurrencyptr(), Get_mDate());
    return true;
}

bool CDebit::SubtractFromParent()
{
    if (CAccount* account = AccountOf())
        account->Debiteer(-mLocalAmount, -mAmount, mCurrency, Get_mCurrencyptr(), Get_mDate());
    return true;
}

bool CCredit::AddupToParent()
{
    if (CAccount* account = AccountOf())
        account->Crediteer(mLocalAmount, mAmount, mCurrency, Get_mCurrencyptr(), Get_mDate());
    return true;
}

bool CCredit::SubtractFromParent()
{
    if (CAccount* account = AccountOf())
        account->Crediteer(-mLocalAmount, -mAmount, mCurrency, Get_mCurrencyptr(), Get_mDate());
    return true;
}

bool CExptypeDetail::AddupToParent()
{
    if (CExpenseType* category = CategoryOf()) category->AddTo(mLocalAmount, mAmount, Get_mDate());
    return true;
}

bool CExptypeDetail::SubtractFromParent()
{
    if (CExpenseType* category = CategoryOf()) category->AddTo(-mLocalAmount, -mAmount, Get_mDate());
    return true;
}

bool CDebit::Link()
{
    AddupToParent();
    AddToParent();
    return true;
}

void CDebit::LinkHeld(CCurrency* currency)
{
    // A line already listed somewhere takes the ordinary way.
    if (mRegistered || mAccountPtr) {
        Link();
        return;
    }
    CNonVisual* target = FindAccount(mAccountId);
    const FourCharCode kind = Get_ObjectType();
    if (kind == type::kExpenseTypeDetail) {
        if (!IsCategory(target)) return;
        auto* category = static_cast<CExpenseType*>(target);
        category->AddTo(mLocalAmount, mAmount, Get_mDate());
        category->HoldDetail(this);
    } else if (kind == type::kDebit || kind == type::kCredit) {
        if (!IsAccount(target)) return;
        auto* account = static_cast<CAccount*>(target);
        if (kind == type::kDebit) account->Debiteer(mLocalAmount, mAmount, mCurrency, currency, Get_mDate());
        else account->Crediteer(mLocalAmount, mAmount, mCurrency, currency, Get_mDate());
        account->HoldDetail(this);
    } else {
        Link();
        return;
    }
    mAccountPtr = target;
    mRegistered = true;
}

bool CDebit::Unlink()
{
    SubtractFromParent();
    RemoveFromParent();
    return true;
}

// --- amounts

bool CDebit::Put_mAmount(double amount, CCurrency* currency)
{
    double local = ToLocal(amount, currency);
    ObjectIdT givenId = currency ? currency->Get_Id() : HomeCurrencyId();
    // An amount in the line's own currency is kept even where its home value
    // stays as it was: a cent of a currency worth less than the home one
    // rounds to nothing at home, and the line must still hold that cent.
    if (local == mLocalAmount && (mCurrency != givenId || amount == mAmount)) return true;
    // The given currency converts on unposted lines too: a template or an
    // unlinked transaction must not keep an amount in the wrong currency.
    double lineAmount = mCurrency == givenId ? amount : ToLineCurrency(local);
    if (!IsTransactionPosted()) {
        mAmount = lineAmount;
        mLocalAmount = local;
        return true;
    }
    bool hasObject = mRegistered;
    if (hasObject) SubtractFromParent();
    mAmount = lineAmount;
    mLocalAmount = local;
    if (hasObject) AddupToParent();
    BroadcastMessage(msg::kLineAmountChanged);
    return true;
}

bool CDebit::Put_mLocalAmount(double local)
{
    if (local == mLocalAmount) return true;
    double lineAmount = ToLineCurrency(local);
    if (!IsTransactionPosted()) {
        mLocalAmount = local;
        mAmount = lineAmount;
        return true;
    }
    bool hasObject = mRegistered;
    if (hasObject) SubtractFromParent();
    mLocalAmount = local;
    mAmount = lineAmount;
    if (hasObject) {
        AddupToParent();
        BroadcastMessage(msg::kLineAmountChanged);
    }
    return true;
}

bool CDebit::Put_mAmounts(double local, double amount)
{
    if (local == mLocalAmount && amount == mAmount) return true;
    if (IsPosted()) {
        SubtractFromParent();
        mLocalAmount = local;
        mAmount = amount;
        AddupToParent();
        BroadcastMessage(msg::kLineAmountChanged);
    } else {
        mLocalAmount = local;
        mAmount = amount;
    }
    return true;
}

bool CDebit::Put_mCurrency(ObjectIdT id, CCurrency*)
{
    if (id == mCurrency) return true;
    // An account kept in the line's old or new currency counts the line by its
    // amount in that currency: the line is posted again, so that the balance
    // is the one its lines give when the document is read again.
    bool posted = IsPosted();
    if (posted) SubtractFromParent();
    Search_Currency(id);
    mCurrency = id;
    mAmount = ToLineCurrency(mLocalAmount);
    if (posted) AddupToParent();
    BroadcastMessage(msg::kLineAmountChanged);
    return true;
}

bool CDebit::Put_mCurrency(CCurrency* currency)
{
    if (currency) SwapCurrency(currency->Get_Id());
    return true;
}

void CDebit::KeepAmountInCurrency(ObjectIdT currency, double amount)
{
    if (currency == mCurrency && amount == mAmount) return;
    mCurrency = currency;
    mAmount = amount;
    BroadcastMessage(msg::kLineAmountChanged);
}

bool CDebit::Search_Currency(ObjectIdT id)
{
    if (!booking::FindCurrency(mDocument, id) && id == mCurrency) SwapCurrency(HomeCurrencyId());
    return true;
}

void CDebit::SwapCurrency(ObjectIdT id)
{
    if (id == mCurrency) return;
    // The amounts stay as they are, but an account kept in a foreign currency
    // counts the line by its currency: a posted line leaves with the old one
    // and comes back with the new one.
    bool posted = IsPosted();
    if (posted) SubtractFromParent();
    mCurrency = id;
    if (posted) AddupToParent();
}

bool CDebit::SetNewHomeCurrency(CCurrency*, CCurrency*, double factor)
{
    // Booked money is whole cents: a fraction would be added up in another
    // order, and round the other way, when the books are read again.
    mLocalAmount = CCurrency::RoundAmount(mLocalAmount * factor);
    return true;
}

// --- checks

bool CDebit::Validate()
{
    bool hasCurrency = Get_mCurrencyptr() != nullptr || IsHomeCurrency(mCurrency);
    bool hasAccount = Get_mAccountPtr() != nullptr || mAccountId != 0;
    if (!hasCurrency || !hasAccount) {
        CErrorManager::RaiseError(129);
        return false;
    }
    return CNonVisual::Validate();
}

bool CDebit::BeforeDelete()
{
    if (mTransaction && mTransaction->Get_ObjectStatus() == status::kBlocked) {
        CErrorManager::RaiseError(140);
        return false;
    }
    if (IsPosted()) {
        SubtractFromParent();
        RemoveFromParent();
    }
    return true;
}

double CDebit::Get_PropertyFluctuation()
{
    CAccount* account = AccountOf();
    return account && account->thisIsAProfitAndLossAccount() ? 0.0 : -mLocalAmount;
}

double CCredit::Get_PropertyFluctuation()
{
    CAccount* account = AccountOf();
    return account && account->thisIsAProfitAndLossAccount() ? 0.0 : mLocalAmount;
}

double CExptypeDetail::Get_PropertyFluctuation()
{
    CExpenseType* category = CategoryOf();
    if (!category) return 0.0;
    // Opening-balance and correction categories count as either; they are
    // taken as income, as the balancing of category lines books them: taken
    // as expense, checking an unchanged opening balance turned its sign.
    if (category->IsIncome(true)) return mLocalAmount;
    if (category->IsExpense(true)) return -mLocalAmount;
    return 0.0;
}

double CExptypeDetail::AmountShowing(const CExpenseType* category, double fluctuation, double otherwise)
{
    if (!category) return otherwise;
    if (category->IsIncome(true)) return fluctuation;
    if (category->IsExpense(true)) return -fluctuation;
    return otherwise;
}

bool CDebit::IsOnModifiedForeignCurrency() const
{
    if (IsHomeCurrency(mCurrency)) return false;
    CCurrency* currency = Get_mCurrencyptr();
    return currency && currency->didRateChangeAfter(Get_mDate());
}

// --- texts

double CDebit::Get_ForeignBalance() const
{
    CAccount* account = AccountOf();
    if (!account || IsHomeCurrency(account->Get_mCurrency())) return mRunningBalance;
    CCurrency* currency = booking::FindCurrency(mDocument, account->Get_mCurrency());
    return currency ? currency->ConvertToForeign(mRunningBalance, 0, true) : mRunningBalance;
}

std::string CDebit::Get_ForeingCurrency() const
{
    CCurrency* currency = Get_mCurrencyptr();
    return currency ? std::string(currency->Get_ShortStringRefName()) : std::string();
}

std::string CDebit::Get_ForeingCurrencyName() const
{
    CCurrency* currency = Get_mCurrencyptr();
    return currency ? std::string(currency->Get_StringrefName()) : std::string();
}

std::string CDebit::Get_LocalCurrency() const
{
    CCurrency* home = booking::HomeCurrency(mDocument);
    return home ? std::string(home->Get_ShortStringRefName()) : std::string();
}

std::string CDebit::Get_AccountName() const
{
    CNonVisual* object = Get_mAccountPtr();
    return object ? object->Get_StringrefName() : std::string();
}

std::string CDebit::Get_BankAccountNumber() const
{
    CAccount* account = AccountOf();
    return account ? account->Get_StringRefBankAccountNumber() : std::string();
}

std::string CDebit::Get_BookingAccountNumber() const
{
    CAccount* account = AccountOf();
    return account ? account->Get_StringRefAccountingNumber() : std::string();
}

std::string CDebit::Get_FullDescription() const
{
    CNonVisual* object = Get_mAccountPtr();
    std::string text = object ? object->Get_StringrefName() : std::string("/");
    text += " : ";
    text += CDecimal::DoubleToString(mAmount);
    text += ' ';
    text += Get_ForeingCurrency();
    return text;
}

bool CDebit::HasComment() const
{
    CTransaction* transaction = Get_mTransactionPtr();
    if (!transaction) return true;
    char description[kDescriptionSize];
    transaction->Get_mDescription(description);
    std::string_view text(description);
    // The texts the model writes itself are no comment of the user's.
    return !(text.empty() || equalsCaseInsensitive(text, "Default transaction descritpion.") ||
             equalsCaseInsensitive(text, "Opening Balance"));
}

bool CDebit::Export(LStream* stream, char) const
{
    std::string line = fourCCToString(Get_ObjectType());
    auto field = [&line](const std::string& text) {
        line += '\t';
        line += text;
    };
    field(std::to_string(Get_Id()));
    field("NoName");
    char accountName[kNameSize] = {};
    if (CNonVisual* object = Get_mAccountPtr()) object->Get_Name(accountName);
    field(accountName);
    field(std::to_string(mAccountId));
    field(Get_ForeingCurrency());
    field(std::to_string(mCurrency));
    field(CDecimal::DoubleToString(mAmount));
    field(std::to_string(Get_mTransactionId()));
    line += '\r';
    stream->WriteBlock(line.data(), static_cast<std::int32_t>(line.size()));
    return true;
}

// --- reading, copying, writing

bool CDebit::InitFromStream(LStream* stream, CDocAccounting* document, CNonVisual* transaction,
                            CNonVisual*)
{
    mDocument = document;
    mAmount = 0.0;
    mLocalAmount = 0.0;
    Put_mTransactionId(transaction ? transaction->Get_Id() : 0, transaction);

    // The account, the amount, its currency, the local amount and the
    // transaction: one run of fixed fields.
    ObjectIdT accountId = 0, currencyId = 0, storedTransactionId = 0;
    double amount = 0.0, local = 0.0;
    {
        LStream::FieldRun fields(*stream, 4 + 8 + 4 + 8 + 4);
        fields.ReadObjectIdT(accountId);
        fields.ReadAmountT(amount);
        fields.ReadObjectIdT(currencyId);
        fields.ReadAmountT(local);
        fields.ReadObjectIdT(storedTransactionId);
    }

    Put_mAccountId(accountId, false, nullptr);
    if (!Search_Account(accountId)) {
        // The account no longer exists: the booking goes on the unspecified
        // expense account and the transaction says so. The books tell of it
        // when they are opened.
        const ObjectIdT bookedOn = booking::DefaultsOf(mDocument).unspecifiedExpenseAccount;
        if (mDocument)
            mDocument->NoteReadDamage().NoteLineOnMissing(type::kAccount, accountId, Get_mTransactionPtr(),
                                                          bookedOn);
        Put_mAccountId(bookedOn, true, nullptr);
        if (CTransaction* owner = Get_mTransactionPtr()) owner->Put_mDescription("Account delta");
    }

    mCurrency = currencyId;
    // A currency that does not exist gives way to the home currency; told likewise.
    if (!booking::FindCurrency(mDocument, currencyId)) {
        if (mDocument) mDocument->NoteReadDamage().NoteMissingReference(type::kCurrency, currencyId, *this);
        SwapCurrency(HomeCurrencyId());
    }
    Put_mAmounts(local, amount);

    // Every writer stores the id of the line's own transaction here.
    return storedTransactionId == Get_mTransactionId();
}

bool CDebit::InitFromCopy(CDebit* source, CDocAccounting* document, CNonVisual* transaction,
                          CNonVisual* account)
{
    mDocument = document;
    Put_mTransactionId(0, transaction);
    Put_mAmounts(0.0, 0.0);
    Put_Name("NoName");
    Put_mAccountId(source->mAccountId, false, account);
    mCurrency = source->mCurrency;
    Search_Currency(mCurrency);
    Put_mLocalAmount(source->mLocalAmount);
    return true;
}

void CDebit::PutStream(LStream* stream)
{
    // The header, the account, the amount, the currency, the local amount
    // and the transaction.
    LStream::WriteRoom room(*stream, HeaderBytes() + 4 + 8 + 4 + 8 + 4);
    WriteHeader(stream);
    stream->WriteObjectIdT(mAccountId);
    stream->WriteAmountTT(mAmount);
    stream->WriteObjectIdT(mCurrency);
    stream->WriteAmountTT(mLocalAmount);
    stream->WriteObjectIdT(Get_mTransactionId());
}

} // namespace ch
