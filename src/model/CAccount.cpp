#include "model/CAccount.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "model/BookingLookups.h"
#include "model/CAccType.h"
#include "model/CAccountOwner.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/SettingsAccounts.h"
#include "model/SettledSum.h"
#include "model/CTransaction.h"
#include "model/CTransactionDetailComparator.h"
#include "model/ModelComparators.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/CLocalize.h"
#include "model/foundation/LStream.h"
#include "model/foundation/LString.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

// Refused: a currency or share books on the account.
constexpr long kErrorAccountOfCurrency = 330;
// Refused: the account holds a share.
constexpr long kErrorPortfolioOfShare = 336;


// How a kind of account books a debit: -1 for the kinds a debit lowers,
// 1 for those it raises, 0 without a type.
int BookingSignOf(const CAccType* type)
{
    if (!type) return 0;
    switch (type->Get_mMasterType()) {
    case 1:
    case 4:
    case 6: return -1;
    case 2:
    case 3:
    case 5: return 1;
    default: return 0;
    }
}

constexpr EnumT kLetterA = 97;   // stored by old versions for "none"

// The grouping chain is followed at most this far; a longer chain is a loop.
constexpr int kMaxGroupingDepth = 64;

// The line lists of the accounts and categories the lines are listed in.
CNamedListArray* ListHolding(CDebit* line)
{
    CNonVisual* parent = line->Get_mAccountPtr();
    if (!parent || !line->IsRegisteredWith(parent)) return nullptr;
    if (line->Get_ObjectType() == type::kExpenseTypeDetail)
        return parent->Get_ObjectType() == type::kExpenseType ? static_cast<CExpenseType*>(parent)->Get_mBookings()
                                                               : nullptr;
    if (parent->Get_ObjectType() != type::kAccount) return nullptr;
    auto* account = static_cast<CAccount*>(parent);
    if (line->Get_ObjectType() == type::kDebit) return account->Get_mDebitlist();
    if (line->Get_ObjectType() == type::kCredit) return account->Get_mCreditList();
    return nullptr;
}

// Deletes the transactions as DeleteTransaction does, but takes their lines
// out of each line list, and them out of the document's lists, in one pass
// per list: one by one, every removal would move a whole long list.
void DeleteTransactions(CDocAccounting* document, const std::vector<CTransaction*>& transactions)
{
    std::unordered_map<CNamedListArray*, std::unordered_set<const CNonVisual*>> linesByList;
    for (CTransaction* transaction : transactions) {
        // A blocked transaction refuses; its lines stay where they are.
        if (transaction->Get_ObjectStatus() == status::kBlocked) continue;
        for (CNamedListArray* lines : {transaction->GetDebitList(), transaction->GetCreditList(),
                                       transaction->GetExpenseTypeList()}) {
            for (ArrayIndexT i = 1; i <= CountOf(lines); ++i) {
                CDebit* line = LineAt(lines, i);
                if (!line->IsPosted()) continue;
                if (CNamedListArray* holder = ListHolding(line)) linesByList[holder].insert(line);
            }
        }
    }
    // Each line still tells its account or category when it goes.
    for (auto& [list, lines] : linesByList) list->TakeOut(lines);

    std::unordered_set<const CNonVisual*> linked, unlinked, doomed;
    for (CTransaction* transaction : transactions) {
        bool isUnlinked = transaction->Get_ObjectStatus() == status::kUnlinked;
        if (document && document->mCopiedTransaction == transaction) document->mCopiedTransaction = nullptr;
        if (!transaction->BeforeDelete()) continue;
        (isUnlinked ? unlinked : linked).insert(transaction);
        doomed.insert(transaction);
    }
    for (auto& [list, lines] : linesByList) list->ClearTakenOut();
    // Out of their lists before they go, so that no listener hears of a destroyed object.
    if (document && !doomed.empty()) {
        document->mTransactionList->RemoveObjects(linked);
        document->mUnlinkedList->RemoveObjects(unlinked);
        document->SetModified(true);
    }
    for (CTransaction* transaction : transactions) {
        if (doomed.count(transaction)) delete transaction;
    }
}

} // namespace

// --- construction

CAccount::CAccount(CDocAccounting* document)
    : CNonVisual(-1, document)
{
    mDocument = document;
    CreateLineLists();
    SetDefaults();
}

CAccount::CAccount(ObjectIdT id, CDocAccounting* document)
    : CNonVisual(id, document)
{
    mDocument = document;
    CreateLineLists();
    SetDefaults();
}

CAccount::CAccount(LStream* stream, CDocAccounting* document, FourCharCode version)
    : CNonVisual(stream, version, document)
{
    mDocument = document;
    CreateLineLists();
    SetObjectType(type::kAccount);
    mCurrency = booking::HomeCurrencyId(mDocument);
    mGroupingAccount = Get_Id();

    char text[kDescriptionSize] = {};
    if (version::AtLeast(version, version::k1_01)) {
        char number[kAccountNumberSize] = {};
        stream->ReadCString(number);
        Put_mAccountNumber(number);
    }
    stream->ReadObjectIdT(mAccountOwnerId);
    ObjectIdT typeId = 0;
    stream->ReadObjectIdT(typeId);
    Put_mAccountTypeId(typeId, nullptr, false);
    stream->ReadCString(text);
    CopyToField(mDescription, kMaxDescriptionLength + 1, text);
    char bankNumber[kBankNumberSize] = {};
    stream->ReadCString(bankNumber);
    Put_mNumber(bankNumber);
    // The grouping account may come later in the stream: the id is kept as read.
    stream->ReadObjectIdT(mGroupingAccount);
    double ignored = 0.0;
    stream->ReadAmountT(ignored);
    stream->ReadAmountT(ignored);
    ObjectIdT currencyId = 0;
    stream->ReadObjectIdT(currencyId);
    Put_mCurrency(currencyId);
    EnumT byte = 0;
    stream->ReadEnumT(byte);
    Put_mAccountSpecialType(byte);
    stream->ReadEnumT(byte);
    Put_mCreditCardSubType(byte);
    stream->ReadObjectIdT(mDefaultExpenseType);
    ObjectIdT reserved = 0;
    stream->ReadObjectIdT(reserved);
    stream->ReadAmountT(mFiscalPct);
    for (int i = 0; i < 3; ++i) stream->ReadAmountT(ignored);
    if (version::AtLeast(version, version::k1_10)) {
        std::string bankNumberText = stream->ReadCFString();
        std::string accountingNumberText = stream->ReadCFString();
        mBankNumberText = bankNumberText;
        mAccountingNumberText = accountingNumberText;
        NoteNameChanged();   // the accounting number is part of the display name
    } else {
        Put_StringrefDesc(MacRomanToUnicode(mDescription));
    }
    mBalance = 0.0;
    mLocalBalance = 0.0;
}

CAccount::~CAccount() = default;

void CAccount::CreateLineLists()
{
    mDebitList = std::make_unique<CNamedListArray>(new CTransactionDetailComparator, false);
    mCreditList = std::make_unique<CNamedListArray>(new CTransactionDetailComparator, false);
}

void CAccount::SetDefaults()
{
    mAccountingNumberText.clear();
    mBankNumberText.clear();
    Put_Name("New Account");
    mAccountNumber[0] = '\0';
    mAccountOwnerId = 1;
    mAccountTypeId = 0;
    mAccountType = nullptr;
    mDescription[0] = '\0';
    mGroupingAccount = Get_Id();
    mCurrency = booking::HomeCurrencyId(mDocument);
    mAccountSpecialType = 0;
    mCreditCardSubType = 0;
    Put_mNumber(kDefaultBankNumber);
    mBalance = 0.0;
    mLocalBalance = 0.0;
    mFiscalPct = 100.0;
    SetObjectType(type::kAccount);
}

// --- texts

bool CAccount::Put_mAccountNumber(const char* number)
{
    CopyToField(mAccountNumber, number);
    mAccountingNumberText = MacRomanToUnicode(mAccountNumber);
    NoteNameChanged();   // the accounting number is part of the display name
    BroadcastMessage(msg::kNameChanged);
    return true;
}

void CAccount::Get_mAccountNumber(char (&out)[kAccountNumberSize]) const
{
    CopyToField(out, mAccountNumber);
}

bool CAccount::Put_mDescription(const char* description)
{
    CopyToField(mDescription, kMaxDescriptionLength + 1, description);
    // The description the interface shows follows, as it does for categories.
    Put_StringrefDesc(MacRomanToUnicode(mDescription));
    return true;
}

void CAccount::Get_mDescription(char (&out)[kDescriptionSize]) const
{
    CopyToField(out, mDescription);
}

bool CAccount::Put_mNumber(const char* number)
{
    CopyToField(mNumber, number);
    mBankNumberText = MacRomanToUnicode(mNumber);
    return true;
}

void CAccount::Get_mNumber(char (&out)[kBankNumberSize]) const
{
    CopyToField(out, mNumber);
}

namespace {

bool PutText(std::string& field, TextRef text)
{
    std::string_view value = text ? *text : std::string_view();
    if (!equalsCaseInsensitive(field, value)) field = std::string(value);
    return true;
}

} // namespace

bool CAccount::Put_StringRefAccountingNumber(TextRef text)
{
    // Part of the display name, which lists in name order are kept by.
    NoteNameChanged();
    return PutText(mAccountingNumberText, text);
}

bool CAccount::Put_StringRefBankAccountNumber(TextRef text)
{
    return PutText(mBankNumberText, text);
}

void CAccount::Get_Name(char (&out)[kNameSize]) const
{
    char name[kNameSize] = {};
    CNonVisual::Get_Name(name);
    if (mAccountNumber[0] == '\0') {
        CopyToField(out, name);
        return;
    }
    std::string combined = std::string(mAccountNumber) + ":" + name;
    CopyToField(out, combined.c_str());
}

void CAccount::Get_NameOnly(char (&out)[kNameSize]) const
{
    CNonVisual::Get_Name(out);
}

const std::string& CAccount::Get_StringrefName() const
{
    const std::string& name = CNonVisual::Get_StringrefName();
    if (mAccountingNumberText.empty()) return name;
    return KeepMadeName(mDisplayName, mAccountingNumberText + " : " + name);
}

const std::string& CAccount::Get_StringRefNameOnly() const
{
    return CNonVisual::Get_StringrefName();
}

// --- plain fields

bool CAccount::Put_mAccountOwnerId(ObjectIdT id)
{
    mAccountOwnerId = id;
    return true;
}

bool CAccount::Put_mBalance(double balance)
{
    mBalance = balance;
    return true;
}

bool CAccount::Put_mLocalBalance(double balance)
{
    mLocalBalance = balance;
    return true;
}

bool CAccount::Put_mFiscalPct(double percentage)
{
    mFiscalPct = percentage;
    return true;
}

bool CAccount::Put_mAccountSpecialType(AccountSpecialTypeT specialType)
{
    mAccountSpecialType = specialType == kLetterA ? 0 : specialType;
    return true;
}

bool CAccount::Put_mCreditCardSubType(CreditCardSubTypeT subType)
{
    mCreditCardSubType = subType == kLetterA ? 0 : subType;
    return true;
}

bool CAccount::Put_mDefaultExpenseType(ObjectIdT id)
{
    mDefaultExpenseType = id;
    return true;
}

CExpenseType* CAccount::Get_mDefaultExpenseType() const
{
    return booking::FindCategory(mDocument, mDefaultExpenseType);
}

// --- type, group and currency

bool CAccount::Put_mAccountTypeId(ObjectIdT id, CAccType* accountType, bool post)
{
    const int oldSign = BookingSignOf(mAccountType);
    if (mAccountType) mAccountType->RemoveAccount(this);
    mAccountType = accountType ? accountType : booking::FindAccountType(mDocument, id);
    // The same lines make the opposite balance under a kind that books the
    // other way round: the balance becomes what reading the lines gives.
    const int newSign = BookingSignOf(mAccountType);
    if (post && oldSign != 0 && newSign != 0 && oldSign != newSign) {
        mBalance = -mBalance;
        mLocalBalance = -mLocalBalance;
        BroadcastMessage(msg::kBalanceChanged);
    }
    if (mAccountType) mAccountType->AddAccount(this, post);
    mAccountTypeId = id;
    return true;
}

bool CAccount::Put_mParentId(ObjectIdT parentId)
{
    return Put_mAccountTypeId(parentId, nullptr, true);
}

bool CAccount::Put_mGroupingAccount(ObjectIdT id, CAccount* account)
{
    if (id == Get_Id()) {
        mGroupingAccount = id;
    } else if (account) {
        mGroupingAccount = account->Get_Id();
    } else {
        mGroupingAccount = booking::FindAccount(mDocument, id) ? id : Get_Id();
    }
    return true;
}

CAccount* CAccount::Get_mGroupingAccountPtr() const
{
    if (mGroupingAccount == Get_Id()) return nullptr;
    CAccount* group = booking::FindAccount(mDocument, mGroupingAccount);
    if (!group || group == this) return nullptr;
    // A chain that comes back to this account (damaged data) makes it its own group.
    const CAccount* step = group;
    for (int depth = 0; depth < kMaxGroupingDepth; ++depth) {
        if (step->mGroupingAccount == step->Get_Id()) return group;
        step = booking::FindAccount(mDocument, step->mGroupingAccount);
        if (!step) return group;
        if (step == this) return nullptr;
    }
    return nullptr;
}

bool CAccount::Put_mCurrency(ObjectIdT id)
{
    bool changed = id != mCurrency;
    mCurrency = id;
    if (changed) {
        CCurrency* currency = Get_mCurrencyPtr();
        mBalance = currency ? currency->ConvertToForeign(mLocalBalance, 0, true) : mLocalBalance;
        BroadcastMessage(msg::kBalanceChanged);
    }
    return true;
}

CCurrency* CAccount::Get_mCurrencyPtr()
{
    return booking::FindCurrency(mDocument, mCurrency);
}

bool CAccount::Search_Currency(ObjectIdT id)
{
    return booking::FindCurrency(mDocument, id) != nullptr;
}

std::string CAccount::Get_currencySymbol()
{
    CCurrency* currency = Get_mCurrencyPtr();
    return currency ? std::string(currency->Get_ShortStringRefName()) : std::string("-?-");
}

std::string CAccount::Get_homeCurrencySymbol() const
{
    CCurrency* home = booking::HomeCurrency(mDocument);
    return home ? std::string(home->Get_ShortStringRefName()) : std::string();
}

// --- kind

bool CAccount::thisIsAProfitAndLossAccount() const
{
    return mAccountType && mAccountType->thisIsAProfitAndLossAccount();
}

bool CAccount::thisIsAPropretyAccount() const
{
    return mAccountType && mAccountType->thisIsAPropretyAccount();
}

bool CAccount::thisIsAnOwnPropretyAccount() const
{
    return mAccountType && mAccountType->thisIsAnOwnPropretyAccount();
}

bool CAccount::thisIsADebtAccount() const
{
    return mAccountType && mAccountType->thisIsADebtAccount();
}

long CAccount::Get_WarningLevel(unsigned char) const
{
    if (!mAccountType) return 0;
    if (thisIsAPropretyAccount()) return 1;
    if (thisIsAProfitAndLossAccount()) return 3;
    return 0;
}

void CAccount::GetObjectDescription(std::string& first, std::string&, std::string&,
                                    unsigned char& flag) const
{
    char text[kNameSize] = {};
    first += CLocalize::LocalizedName("Account", text);
    flag = 1;
}

// --- lines and posting

bool CAccount::AddDetail(CDebit* line)
{
    if (!line) return false;
    CNamedListArray* list = nullptr;
    MessageT message = 0;
    if (line->Get_ObjectType() == type::kDebit) {
        list = mDebitList.get();
        message = msg::kDebitLineAdded;
    } else if (line->Get_ObjectType() == type::kCredit) {
        list = mCreditList.get();
        message = msg::kCreditLineAdded;
    } else {
        return false;
    }
    // The line knows whether it is listed here: no search of a long list.
    if (line->IsRegisteredWith(this)) return true;
    ArrayIndexT count = CountOf(list);
    list->InsertObjectAt(line, count == 0 ? 1 : count);
    BroadcastMessage(message, line);
    return true;
}

namespace {

// Removes the line by identity, searching from the end, where lines are
// taken off when a list is emptied transaction by transaction.
bool RemoveLine(CNamedListArray* list, CDebit* line)
{
    // Already taken out with the rest of a batch (see BeforeDelete).
    if (list && list->ForgetTakenOut(line)) return true;
    const ArrayIndexT count = CountOf(list);
    if (count == 0) return false;
    // The items are one block of line pointers, read in place: a long list
    // is searched at memory speed.
    CNonVisual* const* block = static_cast<CNonVisual* const*>(list->GetItemPtr(1));
    for (ArrayIndexT i = count; i >= 1; --i) {
        if (block[i - 1] == line) {
            list->RemoveItemsAt(1, i);
            return true;
        }
    }
    return false;
}

} // namespace

void CAccount::HoldDetail(CDebit* line)
{
    (line->Get_ObjectType() == type::kDebit ? mHeldDebits : mHeldCredits).push_back(line);
}

void CAccount::ListHeldDetails()
{
    struct Side {
        CNamedListArray* list;
        std::vector<CDebit*>& held;
        MessageT message;
        FourCharCode kind;
    };
    for (Side side : {Side{mDebitList.get(), mHeldDebits, msg::kDebitLineAdded, type::kDebit},
                      Side{mCreditList.get(), mHeldCredits, msg::kCreditLineAdded, type::kCredit}}) {
        std::vector<CDebit*> held;
        held.swap(side.held);
        if (held.empty()) continue;
        if (HasListeners() || side.list->HasListeners()) {
            for (CDebit* line : held) {
                side.list->InsertObjectAt(line, std::max<ArrayIndexT>(CountOf(side.list), 1));
                BroadcastMessage(side.message, line);
            }
            continue;
        }
        // Each line would have gone in before the last one listed (the
        // first line of an empty list stays last): the lines after the
        // first take that place together.
        std::size_t from = 0;
        if (CountOf(side.list) == 0) side.list->InsertObjectAt(held[from++], 1);
        std::vector<CNonVisual*> objects(held.begin() + static_cast<std::ptrdiff_t>(from), held.end());
        side.list->InsertObjectsAt(objects.data(), static_cast<std::uint32_t>(objects.size()),
                                   CountOf(side.list), side.kind);
    }
}

bool CAccount::RemoveDetail(CDebit* line)
{
    if (!line) return false;
    bool removed = false;
    if (line->Get_ObjectType() == type::kDebit) {
        removed = RemoveLine(mDebitList.get(), line);
        if (removed) BroadcastMessage(msg::kDebitLineRemoved, line);
    } else if (line->Get_ObjectType() == type::kCredit) {
        removed = RemoveLine(mCreditList.get(), line);
        if (removed) BroadcastMessage(msg::kCreditLineRemoved, line);
    }
    return removed;
}

double CAccount::AmountInAccountCurrency(double local, double foreign, ObjectIdT currencyId,
                                         CCurrency* currency, DateT date)
{
    if (mCurrency == booking::HomeCurrencyId(mDocument)) return local;
    if (currencyId == mCurrency) return foreign;
    CCurrency* own = Get_mCurrencyPtr();
    if (!own) return local;
    if (currency) return own->ConvertFrom(foreign, currencyId, currency, date);
    return own->ConvertToForeign(local, date, true);
}

double CAccount::LineAmountInOwnCurrency(const CDebit& line)
{
    return AmountInAccountCurrency(line.Get_mLocalAmount(), line.Get_mAmount(), line.Get_mCurrency(),
                                   line.Get_mCurrencyptr(), line.Get_mDate());
}

bool CAccount::Post(double local, double foreign, ObjectIdT currencyId, CCurrency* currency,
                    DateT date, bool debit)
{
    // Without a type there is no sign and no chain: nothing is booked.
    if (!mAccountType) return true;
    double amount = AmountInAccountCurrency(local, foreign, currencyId, currency, date);
    switch (mAccountType->Get_mMasterType()) {
    case 1:
    case 4:
    case 6:
        mBalance += debit ? -amount : amount;
        mLocalBalance += debit ? -local : local;
        break;
    case 2:
    case 3:
    case 5:
        mBalance += debit ? amount : -amount;
        mLocalBalance += debit ? local : -local;
        break;
    default:
        break;
    }
    if (CAccount* group = Get_mGroupingAccountPtr()) {
        group->Post(local, foreign, currencyId, currency, date, debit);
    } else if (debit) {
        mAccountType->Debiteer(local);
    } else {
        mAccountType->Crediteer(local);
    }
    BroadcastMessage(msg::kBalanceChanged);
    return true;
}

bool CAccount::Debiteer(double local, double foreign, ObjectIdT currencyId, CCurrency* currency,
                        DateT date)
{
    return Post(local, foreign, currencyId, currency, date, true);
}

bool CAccount::Crediteer(double local, double foreign, ObjectIdT currencyId, CCurrency* currency,
                         DateT date)
{
    return Post(local, foreign, currencyId, currency, date, false);
}

// --- balances from the lines

void CAccount::SumLines(double (&sums)[4], const DateT (&ends)[4], const DateT (&starts)[4],
                        bool cumulative) const
{
    for (double& sum : sums) sum = 0.0;
    auto add = [&](const CNamedListArray* list, double sign) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
            CDebit* line = LineAt(list, i);
            DateT date = line->Get_mDate();
            for (int k = 0; k < 4; ++k) {
                if (date <= ends[k] && (cumulative || starts[k] <= date))
                    sums[k] += sign * line->Get_mLocalAmount();
            }
        }
    };
    add(mDebitList.get(), 1.0);
    add(mCreditList.get(), -1.0);
    if (thisIsAPropretyAccount()) {
        for (double& sum : sums) sum = -sum;
    }
}

bool CAccount::Get_BalanceInPeriod(double& b1, double& b2, double& b3, double& b4, DateT end1,
                                   DateT end2, DateT end3, DateT end4, bool cumulative,
                                   DateT start1, DateT start2, DateT start3, DateT start4) const
{
    double sums[4];
    SumLines(sums, {end1, end2, end3, end4}, {start1, start2, start3, start4}, cumulative);
    b1 = sums[0];
    b2 = sums[1];
    b3 = sums[2];
    b4 = sums[3];
    return true;
}

bool CAccount::Get_MovementsInPeriod(double& b1, double& b2, double& b3, double& b4, DateT end1,
                                     DateT end2, DateT end3, DateT end4, DateT start1, DateT start2,
                                     DateT start3, DateT start4) const
{
    return Get_BalanceInPeriod(b1, b2, b3, b4, end1, end2, end3, end4, false, start1, start2, start3,
                               start4);
}

// --- corrections

bool CAccount::AdjustBlanceTo(double target, bool flag)
{
    if (mBalance == target) return true;
    if (!mAccountType) {
        CErrorManager::RaiseError(153);
        return false;
    }
    CTransaction::AdjustBlance(this, Get_mCurrencyPtr(), target - mBalance, mDocument,
                               thisIsAPropretyAccount(), mBalance == 0.0, flag);
    BroadcastMessage(msg::kBalanceChanged);
    return true;
}

bool CAccount::ForceLocalBalanceToZero()
{
    if (mBalance != 0.0 || mCurrency == booking::HomeCurrencyId(mDocument)) return false;
    // What is left of sums of converted amounts is often a few units in the last
    // bit: booking it would add a correction of 0.00 each time the sheet is okayed.
    if (std::fabs(mLocalBalance) < 0.005) return false;
    CTransaction::ForceLocalBalanceToZero(this, mDocument);
    mLocalBalance = 0.0;
    return true;
}

bool CAccount::AdjustLocalBalance(double delta, QtyT quantityBefore, QtyT quantityAfter,
                                  double factorBefore, double factorAfter, CCurrency* currency,
                                  TextRef homeName, bool book, DateT date)
{
    mLocalBalance += delta;
    CAccount* group = Get_mGroupingAccountPtr();
    if (!group) {
        if (mAccountType) mAccountType->AdjustLocalBalance(delta);
    } else {
        group->AdjustLocalBalance(delta, quantityBefore, quantityAfter, factorBefore, factorAfter,
                                  currency, homeName, false, date);
    }
    if (book && currency) {
        std::string symbol(currency->Get_ShortStringRefName());
        CCurrency* base = booking::FindCurrency(mDocument, currency->Get_mBaseCurrency());
        std::string baseSymbol = base ? std::string(base->Get_ShortStringRefName()) : std::string();
        std::string home = homeName ? std::string(*homeName) : baseSymbol;
        auto number = [](const char* format, auto value) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, format, value);
            return std::string(buffer);
        };
        char heading[kNameSize] = {};
        std::string description = CLocalize::LocalizedName("CONVDESC", heading);
        description += "\r " + number("%i", static_cast<int>(quantityBefore)) + " " + symbol + " = " +
                       number("%f", factorBefore) + " " + home;
        description += "\r After :  " + number("%i", static_cast<int>(quantityAfter)) + " " + symbol +
                       " = " + number("%f", factorAfter) + " " + baseSymbol;
        CTransaction::makeCurrencyAdjustmentTransaction(this, delta, mDocument, thisIsAPropretyAccount(),
                                                        description, currency, date);
    }
    BroadcastMessage(msg::kBalanceChanged);
    return true;
}

bool CAccount::SetNewHomeCurrency(CCurrency* oldHome, CCurrency* newHome, double factor)
{
    // The running balance carries the binary error of the order its lines
    // were added in; settled, a half cent converts the same way after the
    // books are read again.
    mLocalBalance = SettledSum(mLocalBalance) * factor;
    if (thisIsAProfitAndLossAccount()) {
        if (oldHome && newHome && mCurrency == oldHome->Get_Id()) Put_mCurrency(newHome->Get_Id());
        return true;
    }
    // Ten years ahead in DateT form: every line counts.
    DateT end = CDate::GetNowAsDateT() + 100000;
    double b1 = 0.0, b2 = 0.0, b3 = 0.0, b4 = 0.0;
    Get_BalanceInPeriod(b1, b2, b3, b4, end, end, end, end, true, 0, 0, 0, 0);
    // Only the home-currency value is corrected: what the account holds in
    // its own currency stays. Held in the new home currency, it is worth its
    // balance; otherwise its value at today's rate stands and its lines,
    // converted at the rates of their dates, are brought to it.
    if (newHome && mCurrency == newHome->Get_Id()) mLocalBalance = mBalance;
    else mLocalBalance = CCurrency::RoundAmount(mLocalBalance);
    if (std::fabs(b1 - mLocalBalance) > 0.005)
        CTransaction::BookHomeCurrencyRemainder(this, CCurrency::RoundAmount(mLocalBalance - b1), mDocument);
    return true;
}

// --- queries

ObjectIdT CAccount::CheckDuplicateTransaction(ObjectIdT fromAccountId, ObjectIdT toAccountId,
                                              double amount, long currencyId, DateT fromDate, DateT toDate,
                                              TextRef, TextRef) const
{
    const std::vector<ObjectIdT> candidates = DuplicateTransactionCandidates(
        fromAccountId, toAccountId, amount, fromDate, toDate, static_cast<ObjectIdT>(currencyId));
    return candidates.empty() ? 0 : candidates.front();
}

std::vector<ObjectIdT> CAccount::DuplicateTransactionCandidates(ObjectIdT fromAccountId, ObjectIdT toAccountId,
                                                                double amount, DateT fromDate, DateT toDate,
                                                                ObjectIdT currencyId) const
{
    const CNamedListArray* searched = nullptr;
    DatedListIndex* index = nullptr;
    ObjectIdT counterpart = 0;
    bool otherSideIsCredit = true;
    if (Get_Id() == fromAccountId) {
        searched = mDebitList.get();
        index = &mDebitDates;
        counterpart = toAccountId;
    } else if (Get_Id() == toAccountId) {
        searched = mCreditList.get();
        index = &mCreditDates;
        counterpart = fromAccountId;
        otherSideIsCredit = false;
    } else {
        return {};
    }
    if (!searched) return {};
    const ObjectIdT homeCurrency = booking::HomeCurrencyId(mDocument);
    // Only the lines dated within the window are looked at; the latest in list order comes first.
    std::vector<std::pair<ArrayIndexT, ObjectIdT>> found;
    for (ArrayIndexT i : index->Within(*searched, fromDate, toDate)) {
        CDebit* line = LineAt(searched, i);
        // The line's amount in the statement's currency, as it was booked: a
        // statement of 1,250.00 EUR is no other than its booking's 1,375.00 $.
        double booked = line->Get_Amount();
        if (currencyId > 0 && line->Get_mCurrency() == currencyId) booked = line->Get_mAmount();
        else if (currencyId > 0 && currencyId != homeCurrency) continue;
        // The same decimal amount, whichever arithmetic made the two doubles
        // (a statement reader's and the books' may differ in the last bit).
        if (std::fabs(booked - amount) >= kSameAmountTolerance) continue;
        CTransaction* transaction = line->Get_mTransactionPtr();
        if (!transaction) continue;
        const CNamedListArray* other =
            otherSideIsCredit ? transaction->GetCreditList() : transaction->GetDebitList();
        for (ArrayIndexT j = 1; j <= CountOf(other); ++j) {
            if (LineAt(other, j)->Get_mAccountId() == counterpart) {
                found.emplace_back(i, transaction->Get_Id());
                break;
            }
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<ObjectIdT> candidates;
    for (const auto& [position, id] : found)
        if (std::find(candidates.begin(), candidates.end(), id) == candidates.end()) candidates.push_back(id);
    return candidates;
}

CAccount* CAccount::giveOtherAccountForDescription(const char* text, bool debitSide) const
{
    if (!text) return nullptr;
    const std::string wanted(text, strnlen(text, kComparedNameCharacters));
    const CNamedListArray* list = debitSide ? mDebitList.get() : mCreditList.get();
    if (!list) return nullptr;
    // The first line of the name, looked up rather than walked to.
    const ArrayIndexT first = (debitSide ? mDebitNames : mCreditNames).FirstNamed(*list, wanted);
    if (first == 0) return nullptr;
    CTransaction* transaction = LineAt(list, first)->Get_mTransactionPtr();
    return transaction ? transaction->giveOtherAccount(!debitSide) : nullptr;
}

std::unique_ptr<CNamedListArray> CAccount::getStockTransactionList() const
{
    auto transactions = std::make_unique<CNamedListArray>(new CTransactionComparator, false);
    for (const CNamedListArray* list : {mDebitList.get(), mCreditList.get()}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
            CTransaction* transaction = LineAt(list, i)->Get_mTransactionPtr();
            if (transaction && transactions->FetchIndexOfObject(transaction) == 0)
                transactions->InsertObjectAt(transaction, 1);
        }
    }
    return transactions;
}

bool CAccount::getStockPerformance(double& invested, double& returned, double& costs, double& value,
                                   DateT fromDate, DateT toDate)
{
    invested = returned = costs = value = 0.0;
    CCurrency* share = Get_mCurrencyPtr();
    std::unique_ptr<CNamedListArray> transactions = getStockTransactionList();
    for (ArrayIndexT i = 1; i <= CountOf(transactions.get()); ++i) {
        auto* transaction = static_cast<CTransaction*>(transactions->ObjectAt(i));
        DateT date = transaction->Get_mDate();
        if ((fromDate != 0 && date < fromDate) || (toDate != 0 && date > toDate)) continue;
        double amount = 0.0, cost = 0.0, rest = 0.0;
        std::int32_t shares = 0;
        transaction->Get_Investment(share, amount, cost, shares, rest, 0, 0);
        if (amount < 0.0) invested += -amount;
        else returned += amount;
        costs += cost;
    }
    value = mLocalBalance;
    return true;
}

// --- deletion and validation

bool CAccount::Validate()
{
    if (!Get_mGroupingAccountPtr()) mGroupingAccount = Get_Id();
    if (mDocument && mDocument->mAccountList) {
        CNonVisual* other = nullptr;
        char name[kNameSize] = {};
        ArrayIndexT position = 0;
        if (mDocument->mAccountList->CheckIdIsUnique(this, other, name, position)) {
            CErrorManager::RaiseError(130);
            return false;
        }
    }
    if (mCurrency == 0 || !mAccountType || Get_Id() <= 0) {
        CErrorManager::RaiseError(129);
        return false;
    }
    Put_Status(status::kNormal);
    return true;
}

bool CAccount::CanBeDeleted(bool showError, CNonVisual* owner) const
{
    auto refuse = [showError](long number) {
        if (showError) CErrorManager::RaiseError(number);
        return false;
    };
    CDocAccounting* document = mDocument;
    auto* self = const_cast<CAccount*>(this);
    if (document && document->BudgetExistsForObject(self, false)) return refuse(199);
    if (document && document->RecurringTransactionExistsForAccount(self)) return refuse(237);
    for (const CNamedListArray* list : {mCreditList.get(), mDebitList.get()}) {
        for (ArrayIndexT i = 1; i <= CountOf(list); ++i) {
            CTransaction* transaction = LineAt(list, i)->Get_mTransactionPtr();
            if (transaction && transaction->Get_ObjectStatus() == status::kBlocked) return refuse(143);
        }
    }
    if (!document) return true;
    if (document->mPreference && SettingsNameAccount(*document->mPreference, Get_Id())) return refuse(233);
    // A trade, dividend or rate change of the currency would book on it.
    if (const CCurrency* user = booking::CurrencyBookingOnAccount(document, Get_Id())) {
        if (showError) {
            char name[kNameSize] = {};
            user->Get_ShortName(name);
            CErrorManager::RaiseError(kErrorAccountOfCurrency, LStr255(name), LStr255());
        }
        return false;
    }
    if (const CCurrency* share = booking::ShareHeldInAccount(document, Get_Id())) {
        if (showError) {
            char name[kNameSize] = {};
            share->Get_ShortName(name);
            CErrorManager::RaiseError(kErrorPortfolioOfShare, LStr255(name), LStr255());
        }
        return false;
    }
    const CNamedListArray* owners = document->mAccountOwnerList.get();
    for (ArrayIndexT i = 1; i <= CountOf(owners); ++i) {
        auto* accountOwner = static_cast<const CAccountOwner*>(owners->ObjectAt(i));
        if (accountOwner == owner) continue;
        ObjectIdT id = Get_Id();
        if (accountOwner->getMDebitorAccount() == id || accountOwner->getMOpenDebitInvoiceAccount() == id ||
            accountOwner->getMCreditorAccount() == id || accountOwner->getMOpenCreditInvoiceAccount() == id)
            return refuse(267);
    }
    return true;
}

bool CAccount::BeforeDelete()
{
    if (!CanBeDeleted(true, nullptr)) return false;
    // Copies waiting to be booked (made by a template since deleted, or
    // imported) are in no line list of the account, yet name it: kept, they
    // would name an account that no longer exists.
    const std::vector<CTransaction*> waiting = WaitingTransactionsOnIt();
    if ((CountOf(mDebitList.get()) + CountOf(mCreditList.get()) > 0 || !waiting.empty()) &&
        !CErrorManager::AskQuestion(261))
        return false;

    // Every transaction booked on the account goes, and its lines leave these lists.
    std::vector<CTransaction*> transactions = waiting;
    std::unordered_set<CTransaction*> seen(waiting.begin(), waiting.end());
    for (const CNamedListArray* list : {mDebitList.get(), mCreditList.get()}) {
        for (ArrayIndexT i = CountOf(list); i >= 1; --i) {
            CTransaction* transaction = LineAt(list, i)->Get_mTransactionPtr();
            if (transaction && seen.insert(transaction).second) transactions.push_back(transaction);
        }
    }
    DeleteTransactions(mDocument, transactions);
    // A booking that stayed would point at a deleted account.
    if (CountOf(mDebitList.get()) + CountOf(mCreditList.get()) > 0 || !WaitingTransactionsOnIt().empty())
        return false;

    if (mAccountType) mAccountType->RemoveAccount(this);
    mAccountType = nullptr;
    return true;
}

std::vector<CTransaction*> CAccount::WaitingTransactionsOnIt() const
{
    std::vector<CTransaction*> waiting;
    if (!mDocument || !mDocument->mUnlinkedList) return waiting;
    const CNamedListArray* unlinked = mDocument->mUnlinkedList.get();
    for (ArrayIndexT i = 1; i <= CountOf(unlinked); ++i) {
        auto* transaction = static_cast<CTransaction*>(unlinked->ObjectAt(i));
        bool onIt = false;
        for (const CNamedListArray* lines : {transaction->GetDebitList(), transaction->GetCreditList()})
            for (ArrayIndexT j = 1; j <= CountOf(lines) && !onIt; ++j)
                onIt = LineAt(lines, j)->Get_mAccountId() == Get_Id();
        if (onIt) waiting.push_back(transaction);
    }
    return waiting;
}

// --- stream

void CAccount::PutStream(LStream* stream)
{
    CNonVisual::PutStream(stream);
    stream->WriteCString(mAccountNumber);
    stream->WriteObjectIdT(mAccountOwnerId);
    stream->WriteObjectIdT(mAccountTypeId);
    stream->WriteCString(mDescription);
    stream->WriteCString(mNumber);
    stream->WriteObjectIdT(mGroupingAccount);
    stream->WriteAmountTT(mBalance);
    stream->WriteAmountTT(mLocalBalance);
    stream->WriteObjectIdT(mCurrency);
    stream->WriteEnumT(mAccountSpecialType);
    stream->WriteEnumT(mCreditCardSubType);
    stream->WriteObjectIdT(mDefaultExpenseType);
    stream->WriteObjectIdT(mCurrency);
    stream->WriteAmountTT(mFiscalPct);
    for (int i = 0; i < 3; ++i) stream->WriteAmountTT(0.0);
    stream->WriteCFString(mBankNumberText);
    stream->WriteCFString(mAccountingNumberText);
}

} // namespace ch
