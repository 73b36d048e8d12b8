#include "import/QifRegisterReader.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "bridge/CNSStringDateTBridge.h"
#include "import/CQuickenData.h"
#include "import/ImportDocument.h"
#include "import/ImportText.h"
#include "import/StatementAmount.h"
#include "model/CAccount.h"
#include "model/CAccountArray.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/ModelCodes.h"
#include "model/foundation/CDate.h"
#include "platform/core/locale_settings.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

bool isBalanceSheetAccount(const CAccount& account)
{
    return account.thisIsAPropretyAccount() || account.thisIsADebtAccount();
}

// A category or transfer text without its class ("Bills:Phone/Work",
// "[Savings]/Work"); the books have no classes.
std::string_view withoutClass(std::string_view text)
{
    const std::size_t close = text.starts_with('[') ? text.find(']') : 0;
    const std::size_t slash = text.find('/', close == std::string_view::npos ? text.size() : close);
    return slash == std::string_view::npos ? text : text.substr(0, slash);
}

// An amount in the file's notation; what does not read so is read in the
// user's own; none when neither reads it.
std::optional<double> fileAmountOf(std::string_view text, bool decimalComma)
{
    if (const std::optional<double> amount = qifAmount(trimmedText(text), decimalComma)) return amount;
    return statementAmount(text);
}

// A register date as written: month/day/year ("1/ 2'06", "12/31'2008"), else
// in the user's own order.
DateT americanDate(std::string_view text)
{
    text = trimmedText(text);
    if (const std::optional<DateT> date = qifDate(text, QifDateOrder::MonthDayYear)) return *date;
    if (const DateT date = CDate::AmericanStringToDateT(text.substr(0, 255)); CDate::IsValidDate(date)) return date;
    return CNSStringDateTBridge::NSStringToDateT(text);
}

// The account named between "[" and "]" (or the end) of an L text.
std::string_view bracketedName(std::string_view text)
{
    text.remove_prefix(1);
    if (const std::size_t close = text.find(']'); close != std::string_view::npos) text = text.substr(0, close);
    return text;
}

DateT configuredDate(std::string_view text, std::int64_t dateFormat)
{
    if (dateFormat == 1)
        return characterCount(text) < 7 ? CNSStringDateTBridge::NSStringToDateT(text)
                                        : CNSStringDateTBridge::NSStringToDateTUsingOsxFormatString(text);
    if (dateFormat == 0) return americanDate(text);
    return 0;
}

// Whether every date is written with dots ("03.11.25") and each reads both
// day first and month first.
bool dotsReadBothWays(const std::vector<std::string_view>& dates)
{
    return !dates.empty() && std::all_of(dates.begin(), dates.end(), [](std::string_view date) {
        return date.find('.') != std::string_view::npos && date.find_first_of("/-'") == std::string_view::npos &&
               qifDate(date, QifDateOrder::DayMonthYear) && qifDate(date, QifDateOrder::MonthDayYear);
    });
}

// Whether the user's short date format writes the day before the month
// ("dd.MM.yy", "d/M/yyyy"); texts in quotes are no fields of the pattern.
bool shortDateFormatPutsDayFirst()
{
    const std::string pattern = currentLocaleSettings().shortDatePattern;
    bool quoted = false;
    for (const char c : pattern) {
        if (c == '\'') quoted = !quoted;
        else if (quoted) continue;
        else if (c == 'd') return true;
        else if (c == 'M' || c == 'L') return false;
    }
    return false;
}

std::string_view orderKey(QifDateOrder order)
{
    switch (order) {
    case QifDateOrder::MonthDayYear: return "QIFDATEMDY";
    case QifDateOrder::DayMonthYear: return "QIFDATEDMY";
    case QifDateOrder::YearMonthDay: return "QIFDATEYMD";
    }
    return {};
}

} // namespace

bool isQifListHeader(std::string_view header)
{
    for (const std::string_view list :
         {"!type:memorized", "!type:cat", "!type:class", "!type:payee", "!type:security", "!type:prices"})
        if (equalsCaseInsensitive(header, list)) return true;
    return false;
}

bool QifRegisterReader::CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const
{
    return compareCaseInsensitive(a, b) < 0;
}

QifRegisterReader::QifRegisterReader(CQuickenData& file, std::vector<CImpTItem::Ptr>& lines)
    : mFile(file),
      mLines(lines),
      books(file.theDocument->books()),
      defaults(importDefaultsOf(books)),
      dateFormat(UserDefaults::standard().integerForKey(CQuickenData::kDateFormatKey)),
      madeLines(&lines)
{
}

void QifRegisterReader::readToEnd()
{
    learnNotation();
    while (std::optional<std::string> raw = mFile.nextLine()) readLine(*raw);
    finishFile();
    tellNotes();
}

// --- the file as a whole

void QifRegisterReader::learnNotation()
{
    std::vector<std::string> allDates;
    std::vector<std::string> allAmounts;
    mFile.scanRegisters(allDates, allAmounts);
    if (dateFormat == 0 || dateFormat == 1) {
        const std::vector<std::string_view> dateViews(allDates.begin(), allDates.end());
        // Month first means month first: the user's own order, which single
        // dates fall back on, says nothing about the file.
        const bool configuredReadsAll = std::all_of(allDates.begin(), allDates.end(), [&](const std::string& date) {
            if (dateFormat == 0) return qifDate(date, QifDateOrder::MonthDayYear).has_value();
            return CDate::IsValidDate(configuredDate(date, dateFormat));
        });
        if (dotsReadBothWays(dateViews)) {
            // Dotted dates that read both ways: the user's date format
            // decides where it puts the day first (the short date format
            // setting reads them so already); elsewhere they are read month
            // first, as QIF dates are, and a note says that both fit.
            if (!shortDateFormatPutsDayFirst()) {
                fileOrder = QifDateOrder::MonthDayYear;
                mFile.mNotes.push_back(
                    formatMessage(localized("QIFDATEUNDECIDED"), {localized(orderKey(*fileOrder))}));
            } else if (dateFormat != 1 || !configuredReadsAll) {
                fileOrder = QifDateOrder::DayMonthYear;
            }
        } else {
            const std::optional<QifDateOrder> configured =
                dateFormat == 0 ? std::optional<QifDateOrder>(QifDateOrder::MonthDayYear) : std::nullopt;
            fileOrder = qifDateOrderForAll(dateViews, configuredReadsAll, configured);
            if (fileOrder)
                mFile.mNotes.push_back(
                    formatMessage(localized("QIFDATEORDERUSED"), {localized(orderKey(*fileOrder))}));
        }
    }
    decimalComma = qifUsesDecimalComma(std::vector<std::string_view>(allAmounts.begin(), allAmounts.end()));
}

void QifRegisterReader::readLine(const std::string& raw)
{
    if (raw.empty()) return;
    const char letter = raw.front();
    const std::string_view text = std::string_view(raw).substr(1);
    // Records of a list section (memorized transactions, categories,
    // classes, payees, securities, prices) are no statement lines.
    if (inList && letter != '!') return;
    if (!headerMode && !trimmedText(raw).empty()) recordOpen = letter != '^' && letter != '!';
    const std::size_t lineNumber = mFile.nextLineIndex();
    if (!headerMode && letter != '!' && letter != '^' && record.firstLine == 0) record.firstLine = lineNumber;
    // A date right after a split's category is the split's own.
    const bool splitsDate = letter == 'D' && record.lastLetter == 'S';
    if (!headerMode && letter != '!' && letter != '^') record.lastLetter = letter;
    switch (letter) {
    case '!': readHeader(raw); break;
    case 'D':
        if (headerMode) break;
        secondOf(&Record::dateLine, twoDates, lineNumber, letter, splitsDate);
        readDate(text, lineNumber, splitsDate);
        break;
    case 'T':
        secondOf(&Record::amountLine, twoAmounts, lineNumber, letter, splitsDate);
        readAmount(text, lineNumber);
        break;
    case 'N': readNumber(text); break;
    case 'P':
        record.payee = text;
        record.description = text;
        break;
    case 'M': record.description = text; break;
    case 'L':
        if (!headerMode) categoryOrTransfer(withoutClass(text));
        break;
    case 'S': readSplitCategory(text); break;
    case '$':
        if (!record.splits.empty()) record.splits.back().amount = fileAmountOf(text, decimalComma);
        break;
    case 'Q': record.quantity = true; break;
    case '^':
        if (!headerMode) endSplitRecord();
        break;
    default: break;
    }
}

void QifRegisterReader::finishFile()
{
    // A last record without its "^" that has what a record needs, a date
    // and an amount, is complete: the file was not cut inside it.
    // It is told all the same: a file cut at a line end looks just so.
    if (recordOpen && !headerMode && !inList && record.dated && record.amount) {
        lastUnended = record.firstLine;
        endSplitRecord();
        recordOpen = false;
    }
    mFile.mEndsInsideRecord = recordOpen;
}

void QifRegisterReader::tellNotes()
{
    std::vector<std::string>& notes = mFile.mNotes;
    auto note = [&](std::string_view key, const std::vector<std::size_t>& at) {
        if (!at.empty()) notes.push_back(formatMessage(localized(key), {lineNumberList(at)}));
    };
    note("QIFRECORDUNENDED", unended);
    note("QIFTWODATES", twoDates);
    note("QIFTWOAMOUNTS", twoAmounts);
    note("QIFNOAMOUNT", withoutAmount);
    if (lastUnended) note("QIFLASTUNENDED", {*lastUnended});
    if (waitingLines > 0)
        notes.push_back(formatMessage(localized(mFile.ib_creditCardTransaction ? "QIFNOCARDACCOUNT" : "QIFNOOWNACCOUNT"),
                                      {static_cast<long>(waitingLines)}));
    if (otherHalves > 0)
        notes.push_back(formatMessage(localized("QIFTRANSFERHALVES"), {static_cast<long>(otherHalves)}));
}

// --- the lines of a record

void QifRegisterReader::readHeader(std::string_view raw)
{
    const std::string_view header = withoutTrailingBlanks(raw);
    inList = false;
    if (header.substr(1, 4) == "Acco") {
        headerMode = true;
        ourAccount = nullptr;
        ourAccountId = 0;
        ourAccountText.reset();
        registerCurrency.clear();
        record.otherAccountId.reset();
        record.categoryId.reset();
        record.category = nullptr;
        record.from = Side();
        record.to = Side();
    } else if (header.substr(1, 4) == "Type") {
        headerMode = false;
        if (isQifListHeader(header)) {
            inList = true;
            record = Record();
        }
    }
}

void QifRegisterReader::secondOf(std::size_t Record::*seen, std::vector<std::size_t>& told, std::size_t lineNumber,
                                 char letter, bool splitsDate)
{
    if (headerMode || splitsDate || record.*seen == 0) return;
    if (record.dated && record.amount) {
        unended.push_back(record.firstLine);
        endRecord();
        record.firstLine = lineNumber;
        record.lastLetter = letter;
    } else {
        told.push_back(record.firstLine);
    }
}

void QifRegisterReader::readDate(std::string_view text, std::size_t lineNumber, bool splitsDate)
{
    // A split's own date leaves the transaction's as it is.
    if (splitsDate) return;
    record.dateLine = lineNumber;
    dateText = text;
    record.dated = true;
    if (fileOrder) {
        if (const std::optional<DateT> date = qifDate(trimmedText(text), *fileOrder)) record.date = *date;
    } else if (dateFormat == 0 || dateFormat == 1) {
        record.date = configuredDate(text, dateFormat);
    }
}

void QifRegisterReader::readAmount(std::string_view text, std::size_t lineNumber)
{
    if (!headerMode) record.amountLine = lineNumber;
    record.emptyAmount = trimmedText(text).empty();
    // An empty amount is no amount, as a missing T line.
    if (const std::optional<double> amount =
            trimmedText(text).empty() ? std::optional<double>(0.0) : fileAmountOf(text, decimalComma)) {
        record.amount = *amount;
        record.unreadAmount.reset();
    } else {
        record.amount = 0.0;
        record.unreadAmount = std::string(text);
    }
    amountText = text;
    if (!headerMode) amountAndSides();
}

void QifRegisterReader::readNumber(std::string_view text)
{
    if (!headerMode) {
        record.checkNumber = text;
        return;
    }
    ourAccountText = std::string(text);
    ourAccount = accountForName(books, text);
    ourAccountId = ourAccount ? ourAccount->Get_Id() : 0;
    registerCurrency.clear();
    if (const CCurrency* currency = ourAccount ? ourAccount->Get_mCurrencyPtr() : nullptr)
        registerCurrency = currency->Get_ShortStringRefName();
}

void QifRegisterReader::readSplitCategory(std::string_view text)
{
    // A split: its category, unless it is a transfer ("[Account]"); the last one wins
    // when the splits give no amounts.
    record.splits.push_back({std::string(withoutClass(text)), std::nullopt});
    if (text.empty() || text.front() == '[') return;
    if (CExpenseType* category = mFile.categoryForPath(withoutClass(text))) {
        record.categoryId = category->Get_Id();
        record.category = category;
    } else {
        record.categoryId = defaults.unspecifiedExpenseCategory;
        record.category = nullptr;
    }
}

void QifRegisterReader::amountAndSides()
{
    if (!ourAccount) {
        const ObjectIdT fallback =
            mFile.ib_creditCardTransaction ? defaults.creditCardAccount : defaults.ownPropertyAccount;
        ourAccount = fallback > 0 ? accountForId(books, fallback) : nullptr;
        ourAccountId = ourAccount ? fallback : 0;
        if (!ourAccount) {
            // No account to read into: the line waits for its own account
            // on the import page, the money going as the statement says.
            direction = *record.amount >= 0 ? kMoneyIn : kMoneyOut;
            return;
        }
    }
    const bool moneyIn = *record.amount >= 0;
    if (isBalanceSheetAccount(*ourAccount)) {
        (moneyIn ? record.to : record.from) = Side{ourAccount, ourAccountId};
        direction = moneyIn ? kMoneyIn : kMoneyOut;
    } else {
        (moneyIn ? record.from : record.to).account = ourAccount;
        direction = moneyIn ? kMoneyOut : kMoneyIn;
    }
}

CAccount* QifRegisterReader::accountNamed(std::string_view name)
{
    if (!namedAccounts) {
        namedAccounts.emplace();
        const auto count = books.mAccountList ? static_cast<ArrayIndexT>(books.mAccountList->GetCount()) : 0;
        for (ArrayIndexT i = 1; i <= count; ++i) {
            CNonVisual* object = books.mAccountList->ObjectAt(i);
            if (object && object->Get_ObjectType() == type::kAccount) {
                const auto* account = static_cast<const CAccount*>(object);
                namedAccounts->try_emplace(account->Get_StringRefNameOnly(), account->Get_Id());   // the first wins
            }
        }
    }
    if (const auto known = namedAccounts->find(name); known != namedAccounts->end())
        if (CAccount* account = accountForId(books, known->second)) return account;
    // The name as the lists show it ("number : name") names an account too.
    CAccount* account = name.find(':') != std::string_view::npos ? accountForName(books, name) : nullptr;
    if (!account && mFile.mayCreate()) {
        const ObjectIdT id = mFile.theDocument->insertAccount(name, name, defaults.ownPropertyAccountType, -1);
        account = id > 0 ? accountForId(books, id) : nullptr;
    }
    if (account) namedAccounts->try_emplace(std::string(name), account->Get_Id());
    return account;
}

void QifRegisterReader::leaveCategoryEmpty()
{
    record.otherAccountId = record.amount ? defaults.unspecifiedIncomeAccount : defaults.unspecifiedExpenseAccount;
}

void QifRegisterReader::categoryOrTransfer(std::string_view text)
{
    if (text.empty() || (text.front() == '[' && bracketedName(text).empty())) {
        leaveCategoryEmpty();
        return;
    }
    if (text.front() != '[') {
        categoryNamed(text);
        return;
    }
    CAccount* named = accountNamed(bracketedName(text));
    if (!named) {
        leaveCategoryEmpty();
        return;
    }
    if (named->Get_Id() == ourAccountId) openingBalance();
    else transferTo(*named);
}

void QifRegisterReader::openingBalance()
{
    // Our own account on the other side: the register's opening balance.
    CAccount* opening = accountForId(books, defaults.openingBalanceAccount);
    record.otherAccountId = defaults.openingBalanceAccount;
    record.categoryId = defaults.openingBalanceCategory;
    record.category = nullptr;
    if (holdsSide(record.to)) {
        record.to.id = ourAccountId;
        record.from = Side{opening, defaults.openingBalanceAccount};
    } else if (holdsSide(record.from)) {
        record.from.id = ourAccountId;
        record.to = Side{opening, defaults.openingBalanceAccount};
    } else {
        record.from = Side{opening, defaults.openingBalanceAccount};
        record.to.id = -1;
    }
}

void QifRegisterReader::transferTo(CAccount& named)
{
    const ObjectIdT namedId = named.Get_Id();
    record.otherAccountId = namedId;
    record.categoryId = defaults.unspecifiedTransferCategory;
    record.category = nullptr;
    direction = kTransfer;
    if (holdsSide(record.to)) {
        record.to.id = ourAccountId;
        record.from = Side{&named, namedId};
    } else if (holdsSide(record.from)) {
        record.from.id = ourAccountId;
        record.to = Side{&named, namedId};
    }
}

void QifRegisterReader::categoryNamed(std::string_view text)
{
    CExpenseType* category = mFile.categoryForPath(text);
    if (category) {
        record.categoryId = category->Get_Id();
        record.category = category;
    } else {
        record.byDirection = true;
        record.categoryId.reset();
        record.category = nullptr;
    }
    // A category found names no account: the other side is the
    // unspecified account of the money's direction, for money in as for
    // money out (else a line of income under a known category could
    // never be completed).
    const bool holdsTo = holdsSide(record.to);
    const bool holdsFrom = holdsSide(record.from);
    if ((holdsTo || holdsFrom) && !record.otherAccountId) {
        record.otherAccountId = direction == kMoneyIn    ? defaults.unspecifiedIncomeAccount
                                : direction == kTransfer ? defaults.ownPropertyAccount
                                                         : defaults.unspecifiedExpenseAccount;
    }
    if (holdsTo) {
        record.to.id = ourAccountId;
        record.from.id = record.otherAccountId;
    } else if (holdsFrom) {
        record.from.id = ourAccountId;
        record.to.id = record.otherAccountId;
    }
}

// --- the end of a record

// A record whose splits all give their amounts is one line that books one
// transaction with a line for each split, against its category or account:
// a split that moves money to another own account reaches it. Each split is
// read as a record of its own (its category, the direction of its money)
// and becomes a part of the whole's line.
void QifRegisterReader::endSplitRecord()
{
    const bool split = !record.splits.empty() && !record.unreadAmount &&
                       std::all_of(record.splits.begin(), record.splits.end(),
                                   [](const Record::Split& s) { return s.amount.has_value(); });
    if (!split || record.quantity) {
        endRecord();
        return;
    }
    const Record whole = std::exchange(record, Record());
    const int ordinalBefore = ordinal;
    const std::size_t waitingBefore = waitingLines;
    std::vector<CImpTItem::Ptr> parts;
    for (const Record::Split& part : whole.splits) readSplitAs(whole, *part.amount, part.text, parts, Halves::LeaveOnly);
    ordinal = ordinalBefore;
    waitingLines = waitingBefore;
    if (parts.size() <= 1) {
        // One split is a plain record.
        for (CImpTItem::Ptr& part : parts) mLines.push_back(std::move(part));
        if (!parts.empty()) ++ordinal;
        return;
    }
    // The whole: the record's own amount, booked on the first split's
    // category or account where the line shows one.
    std::vector<CImpTItem::Ptr> made;
    double total = 0.0;
    for (const Record::Split& part : whole.splits) total += *part.amount;
    // (the first split that moves money: one of nothing yields no part)
    const auto first = std::find_if(whole.splits.begin(), whole.splits.end(),
                                    [](const Record::Split& s) { return *s.amount != 0.0; });
    readSplitAs(whole, whole.amount.value_or(total),
                (first != whole.splits.end() ? *first : whole.splits.front()).text, made, Halves::Ignore);
    for (CImpTItem::Ptr& line : made) {
        line->setSplitParts(std::move(parts));
        mLines.push_back(std::move(line));
    }
}

void QifRegisterReader::readSplitAs(const Record& whole, double amount, const std::string& text,
                                    std::vector<CImpTItem::Ptr>& into, Halves how)
{
    record = Record();
    record.date = whole.date;
    record.dated = whole.dated;
    record.description = whole.description;
    record.payee = whole.payee;
    record.checkNumber = whole.checkNumber;
    record.firstLine = whole.firstLine;
    record.amount = amount;
    amountAndSides();
    categoryOrTransfer(text);
    madeLines = &into;
    halves = how;
    endRecord();
    madeLines = &mLines;
    halves = Halves::Match;
}

void QifRegisterReader::endRecord()
{
    ++ordinal;
    Record done = std::exchange(record, Record());
    if (!hasLineAmount(done)) return;
    settleByDirection(done);
    const bool waitsForOwnAccount = !ourAccount;
    if (!completeSides(done, waitsForOwnAccount)) return;
    // (from 1: the transfer half this record left, waiting for its line)
    std::size_t waitingHalf = 0;
    // The other account's own amount, from a half read before this one.
    std::optional<double> otherAmount;
    if (matchTransferHalf(done, waitingHalf, otherAmount)) return;
    if (!done.category) done.category = categoryForId(books, *done.categoryId);
    makeLine(done, titleOf(done), waitsForOwnAccount, waitingHalf, otherAmount);
}

bool QifRegisterReader::hasLineAmount(const Record& done)
{
    if (done.quantity) return false;
    if (!done.amount || (done.emptyAmount && *done.amount == 0.0)) {
        // A "^" alone closes nothing.
        if (done.firstLine != 0) withoutAmount.push_back(done.firstLine);
        return false;
    }
    return *done.amount != 0.0 || done.unreadAmount;
}

void QifRegisterReader::settleByDirection(Record& done) const
{
    // This record's direction, set by its own T line, wherever the L line stood.
    if (!done.byDirection || direction == kTransfer) return;
    const bool moneyIn = direction == kMoneyIn;
    if (!done.otherAccountId) {
        done.otherAccountId = moneyIn ? defaults.unspecifiedIncomeAccount : defaults.unspecifiedExpenseAccount;
        if (holdsSide(done.to) && !done.from.id) done.from.id = done.otherAccountId;
        if (holdsSide(done.from) && !done.to.id) done.to.id = done.otherAccountId;
    }
    if (!done.categoryId)
        done.categoryId = moneyIn ? defaults.unspecifiedIncomeCategory : defaults.unspecifiedExpenseCategory;
}

bool QifRegisterReader::completeSides(Record& done, bool waitsForOwnAccount) const
{
    if (waitsForOwnAccount) {
        // The other side and the category as the money goes; the own
        // account is the user's choice.
        const bool moneyIn = *done.amount >= 0;
        if (!done.otherAccountId)
            done.otherAccountId = moneyIn ? defaults.unspecifiedIncomeAccount : defaults.unspecifiedExpenseAccount;
        if (!done.categoryId)
            done.categoryId = moneyIn ? defaults.unspecifiedIncomeCategory : defaults.unspecifiedExpenseCategory;
        return true;
    }
    if (done.from.id && done.to.id && done.categoryId) return true;
    auto fallback = [&]() -> std::optional<ObjectIdT> {
        if (direction == kMoneyIn) return defaults.unspecifiedIncomeAccount;
        if (direction == kMoneyOut) return defaults.unspecifiedExpenseAccount;
        return std::nullopt;
    };
    if (!done.from.id && done.to.id) done.from.id = fallback();
    if (!done.to.id && done.from.id) done.to.id = fallback();
    if (!done.categoryId) {
        if (direction == kTransfer) return false;
        done.categoryId =
            direction == kMoneyIn ? defaults.unspecifiedIncomeCategory : defaults.unspecifiedExpenseCategory;
    }
    return done.from.id && done.to.id;
}

bool QifRegisterReader::matchTransferHalf(const Record& done, std::size_t& waitingHalf,
                                          std::optional<double>& otherAmount)
{
    // A transfer written in the registers of both its accounts is booked
    // once: the second half is the first one's duplicate.
    if (direction != kTransfer || !done.otherAccountId || ourAccountId <= 0 || halves == Halves::Ignore) return false;
    const ObjectIdT other = *done.otherAccountId;
    const CAccount* otherAccount = accountForId(books, other);
    const bool sameCurrency =
        otherAccount && ourAccount && otherAccount->Get_mCurrency() == ourAccount->Get_mCurrency();
    // Between two currencies each half holds its own account's amount: the
    // halves go opposite ways, by whatever amounts.
    const auto half = std::find_if(transferHalves.begin(), transferHalves.end(), [&](const TransferHalf& h) {
        return h.date == done.date && h.account == other && h.otherAccount == ourAccountId &&
               (h.sameCurrency && sameCurrency ? std::fabs(h.amount + *done.amount) < 0.005
                                               : h.amount * *done.amount < 0.0);
    });
    if (half != transferHalves.end() && halves == Halves::Match) {
        if (!(half->sameCurrency && sameCurrency) && half->line) half->line->setOtherAccountAmount(*done.amount);
        transferHalves.erase(half);
        ++otherHalves;
        return true;
    }
    // A split's part whose other half came first as a record of its own:
    // the part is booked with its split, that record not.
    const auto alone = half == transferHalves.end() || !half->line
                           ? mLines.end()
                           : std::find(mLines.begin(), mLines.end(), half->line);
    if (alone != mLines.end()) {
        if (!(half->sameCurrency && sameCurrency)) otherAmount = half->amount;
        mLines.erase(alone);
        transferHalves.erase(half);
        ++otherHalves;
    } else {
        transferHalves.push_back({done.date, ourAccountId, other, *done.amount, sameCurrency, nullptr});
        waitingHalf = transferHalves.size();
    }
    return false;
}

std::string QifRegisterReader::titleOf(Record& done) const
{
    std::string title;
    if (!done.payee.empty()) {
        title = done.payee;
    } else if (!done.description.empty()) {
        title = done.description;
    } else {
        const std::string name = done.category ? done.category->Get_StringrefName() : std::string();
        title = (done.checkNumber.empty() ? name : done.checkNumber) + " " + std::to_string(ordinal);
    }
    if (characterCount(title) > CQuickenData::kTitleLength) title = firstCharacters(title, CQuickenData::kTitleLength);
    return title;
}

void QifRegisterReader::makeLine(const Record& done, const std::string& title, bool waitsForOwnAccount,
                                 std::size_t waitingHalf, std::optional<double> otherAmount)
{
    auto line = std::make_shared<CImpTItem>();
    line->setMBatch(true);
    line->setDocument(mFile.theDocument);
    if (mFile.ib_creditCardTransaction) line->setIsOnDebtAccount();
    if (waitsForOwnAccount) ++waitingLines;
    // Completed once, with everything the record says: a completion
    // between the setters would look for the counter account the record
    // names anyway, walking every account for each line.
    line->fillThenComplete([&] {
        line->setMTitle(title);
        line->setMOurAccountNumber(ourAccountText.value_or(std::string()));
        line->setMAmount(*done.amount);
        line->setMBookingDate(done.date);
        line->setMValueDate(done.date);
        line->setMTransactionDescription(done.description);
        line->setMCurrency(registerCurrency);
        line->setMOurAccountId(ourAccountId);
        line->setMOtherAccountId(done.otherAccountId.value_or(0));
        line->setMExpenseTypeId(*done.categoryId, true);
        line->setMOriginalBookingDate(dateText);
        line->setMOriginalValueDate(dateText);
        line->setMOriginalAmount(amountText);
        if (done.unreadAmount) {
            line->setAmountUnread(*done.unreadAmount);
            ++mFile.mUnreadAmounts;
        }
    });
    line->setMBatch(false);
    if (waitingHalf > 0) transferHalves[waitingHalf - 1].line = line;
    if (otherAmount) line->setOtherAccountAmount(*otherAmount);
    madeLines->push_back(std::move(line));
}

} // namespace ch
