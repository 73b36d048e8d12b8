// The QIF registers: records of letter lines ended by "^", each with an
// amount becoming one import line. The "sides" only decide whether a record
// yields a line; the line itself gets our account and the other account, and
// its completion decides which way the money goes.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

#include "bridge/CNSStringDateTBridge.h"
#include "import/CQuickenData.h"
#include "import/ImportDocument.h"
#include "import/ImportLookups.h"
#include "import/ImportText.h"
#include "import/QifText.h"
#include "import/StatementAmount.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CAccountArray.h"
#include "model/CCurrency.h"
#include "model/CExpenseType.h"
#include "model/ModelCodes.h"
#include "model/foundation/CDate.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

enum Direction { kMoneyOut = 0, kMoneyIn = 1, kTransfer = 2 };

struct Side {
    CAccount* account = nullptr;
    std::optional<ObjectIdT> id;
};

// What one record has said so far.
struct Record {
    std::optional<double> amount;
    std::optional<std::string> unreadAmount;   // a T text that does not read
    DateT date = 0;
    std::string description;
    std::string payee;
    std::optional<ObjectIdT> categoryId;
    CExpenseType* category = nullptr;
    std::optional<ObjectIdT> otherAccountId;
    Side from;
    Side to;
    bool quantity = false;
    std::string checkNumber;
    bool dated = false;   // a D line was read
    // An L line naming a category the books do not have left the other
    // account and the category to the record's direction: settled at its
    // end, when its own amount has been read.
    bool byDirection = false;
    // Where the record's lines stand in the file (from 1; 0 for none), so
    // that a damaged record can be named.
    std::size_t firstLine = 0;
    std::size_t dateLine = 0;
    std::size_t amountLine = 0;
    bool emptyAmount = false;   // a T line without text
    char lastLetter = 0;        // of the line before
    // The split lines: what each is booked against ("S") and its amount ("$").
    struct Split {
        std::string text;
        std::optional<double> amount;
    };
    std::vector<Split> splits;
};

// A transfer booked from one register, waiting for its other half in the
// register of the account it names.
struct TransferHalf {
    DateT date;
    ObjectIdT account;
    ObjectIdT otherAccount;
    double amount;
    bool sameCurrency;
    // The line this half became: between accounts of two currencies the
    // other half gives it the other account's amount in its own currency.
    CImpTItem::Ptr line;
};

struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return compareCaseInsensitive(a, b) < 0; }
};

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

std::string_view orderKey(QifDateOrder order)
{
    switch (order) {
    case QifDateOrder::MonthDayYear: return "QIFDATEMDY";
    case QifDateOrder::DayMonthYear: return "QIFDATEDMY";
    case QifDateOrder::YearMonthDay: return "QIFDATEYMD";
    }
    return {};
}

// A register header ("!Type:...") whose records are no statement lines:
// memorized transactions, category, class, payee and security lists, prices.
bool isListHeader(std::string_view header)
{
    for (const std::string_view list :
         {"!type:memorized", "!type:cat", "!type:class", "!type:payee", "!type:security", "!type:prices"})
        if (equalsCaseInsensitive(header, list)) return true;
    return false;
}

} // namespace

bool CQuickenData::isStatementHeader(std::string_view header)
{
    for (const std::string_view kind : {"!type:bank", "!type:cash", "!type:ccard", "!type:oth a", "!type:oth l"})
        if (equalsCaseInsensitive(header, kind)) return true;
    return false;
}

void CQuickenData::scanRegisters(std::vector<std::string>& dates, std::vector<std::string>& amounts)
{
    // The same header rules as the reading below; the reader steps back to
    // where it began.
    std::size_t read = 0;
    bool headerMode = false;
    bool list = false;
    while (std::optional<std::string> raw = nextLine()) {
        ++read;
        if (raw->empty()) continue;
        const std::string_view text = std::string_view(*raw).substr(1);
        switch (raw->front()) {
        case '!': {
            const std::string_view header = withoutTrailingBlanks(*raw);
            if (header.substr(1, 4) == "Acco") {
                headerMode = true;
            } else if (header.substr(1, 4) == "Type") {
                headerMode = false;
                list = isListHeader(header);
            }
            break;
        }
        case 'D':
            if (!headerMode && !list) dates.emplace_back(trimmedText(text));
            break;
        case 'T':
        case 'U':
        case '$':
            if (!list) amounts.emplace_back(trimmedText(text));
            break;
        default: break;
        }
    }
    while (read-- > 0) ResetToStartOfLastRecord();
}

std::int32_t CQuickenData::fetchTransactions(std::vector<CImpTItem::Ptr>& lines)
{
    if (!theDocument) return kNoMoreRecords;
    CDocAccounting& books = theDocument->books();
    const ImportDefaults defaults = importDefaultsOf(books);
    const std::int64_t dateFormat = UserDefaults::standard().integerForKey(kDateFormatKey);

    // The file's notation: its dates in one order for all, its amounts with
    // a decimal point or comma, whatever the user's own settings.
    std::vector<std::string> allDates;
    std::vector<std::string> allAmounts;
    scanRegisters(allDates, allAmounts);
    std::optional<QifDateOrder> fileOrder;
    if (dateFormat == 0 || dateFormat == 1) {
        const std::vector<std::string_view> dateViews(allDates.begin(), allDates.end());
        // Month first means month first: the user's own order, which single
        // dates fall back on, says nothing about the file.
        const bool configuredReadsAll = std::all_of(allDates.begin(), allDates.end(), [&](const std::string& date) {
            if (dateFormat == 0) return qifDate(date, QifDateOrder::MonthDayYear).has_value();
            return CDate::IsValidDate(configuredDate(date, dateFormat));
        });
        const std::optional<QifDateOrder> configured =
            dateFormat == 0 ? std::optional<QifDateOrder>(QifDateOrder::MonthDayYear) : std::nullopt;
        fileOrder = qifDateOrderForAll(dateViews, configuredReadsAll, configured);
        if (fileOrder)
            mNotes.push_back(formatMessage(localized("QIFDATEORDERUSED"), {localized(orderKey(*fileOrder))}));
    }
    const bool decimalComma = qifUsesDecimalComma(std::vector<std::string_view>(allAmounts.begin(), allAmounts.end()));

    bool headerMode = false;
    bool inList = false;   // in a list section that follows a register
    ObjectIdT ourAccountId = 0;
    CAccount* ourAccount = nullptr;
    std::optional<std::string> ourAccountText;
    int direction = kMoneyOut;
    int ordinal = 0;
    std::string dateText;
    std::string amountText;
    Record record;
    // The register's own currency: its amounts are written in it. None while
    // no register names an account: the line takes its account's.
    std::string registerCurrency;
    std::vector<TransferHalf> transferHalves;
    std::size_t otherHalves = 0;

    auto holdsSide = [&](const Side& side) { return ourAccount && side.account == ourAccount; };
    auto holdsTo = [&] { return holdsSide(record.to); };
    auto holdsFrom = [&] { return holdsSide(record.from); };
    // Transfer targets by name, ignoring case as the books do: made from the
    // books' accounts at the first transfer and kept up with the accounts
    // this file makes, so that a file naming many accounts does not walk
    // every account for every name.
    std::optional<std::map<std::string, ObjectIdT, CaseInsensitiveLess>> namedAccounts;
    auto accountNamed = [&](std::string_view name) -> CAccount* {
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
        if (!account && mayCreate()) {
            const ObjectIdT id = theDocument->insertAccount(name, name, defaults.ownPropertyAccountType, -1);
            account = id > 0 ? accountForId(books, id) : nullptr;
        }
        if (account) namedAccounts->try_emplace(std::string(name), account->Get_Id());
        return account;
    };

    auto amountAndSides = [&] {
        if (!ourAccount) {
            const ObjectIdT fallback = ib_creditCardTransaction ? defaults.creditCardAccount : defaults.ownPropertyAccount;
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
    };

    auto emptyCategoryText = [&] {
        record.otherAccountId =
            record.amount ? defaults.unspecifiedIncomeAccount : defaults.unspecifiedExpenseAccount;
    };

    auto categoryOrTransfer = [&](std::string_view text) {
        if (text.empty() || (text.front() == '[' && bracketedName(text).empty())) {
            emptyCategoryText();
            return;
        }
        if (text.front() == '[') {
            CAccount* named = accountNamed(bracketedName(text));
            if (!named) {
                emptyCategoryText();
                return;
            }
            const ObjectIdT namedId = named->Get_Id();
            if (namedId == ourAccountId) {
                // Our own account on the other side: the register's opening balance.
                CAccount* opening = accountForId(books, defaults.openingBalanceAccount);
                record.otherAccountId = defaults.openingBalanceAccount;
                record.categoryId = defaults.openingBalanceCategory;
                record.category = nullptr;
                if (holdsTo()) {
                    record.to.id = ourAccountId;
                    record.from = Side{opening, defaults.openingBalanceAccount};
                } else if (holdsFrom()) {
                    record.from.id = ourAccountId;
                    record.to = Side{opening, defaults.openingBalanceAccount};
                } else {
                    record.from = Side{opening, defaults.openingBalanceAccount};
                    record.to.id = -1;
                }
            } else {
                record.otherAccountId = namedId;
                record.categoryId = defaults.unspecifiedTransferCategory;
                record.category = nullptr;
                direction = kTransfer;
                if (holdsTo()) {
                    record.to.id = ourAccountId;
                    record.from = Side{named, namedId};
                } else if (holdsFrom()) {
                    record.from.id = ourAccountId;
                    record.to = Side{named, namedId};
                }
            }
            return;
        }
        CExpenseType* category = categoryForPath(text);
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
        if ((holdsTo() || holdsFrom()) && !record.otherAccountId) {
            record.otherAccountId = direction == kMoneyIn    ? defaults.unspecifiedIncomeAccount
                                    : direction == kTransfer ? defaults.ownPropertyAccount
                                                             : defaults.unspecifiedExpenseAccount;
        }
        if (holdsTo()) {
            record.to.id = ourAccountId;
            record.from.id = record.otherAccountId;
        } else if (holdsFrom()) {
            record.from.id = ourAccountId;
            record.to.id = record.otherAccountId;
        }
    };

    // Damaged records, by the line they begin at.
    std::vector<std::size_t> unended;       // their "^" lost: ended where the next begins
    std::vector<std::size_t> twoDates;
    std::vector<std::size_t> twoAmounts;
    std::vector<std::size_t> withoutAmount;
    std::size_t waitingLines = 0;           // lines made without an own account

    // Where a finished record's line goes, and whether a transfer is
    // matched with its other half: the parts of a split only leave their
    // halves for later records, and the split's whole is matched with none.
    enum class Halves { Match, LeaveOnly, Ignore };
    std::vector<CImpTItem::Ptr>* madeLines = &lines;
    Halves halves = Halves::Match;

    auto endOfRecord = [&] {
        ++ordinal;
        // (from 1: the transfer half this record left, waiting for its line)
        std::size_t waitingHalf = 0;
        // The other account's own amount, from a half read before this one.
        std::optional<double> otherAmount;
        Record done = std::exchange(record, Record());
        if (done.quantity) return;
        if (!done.amount || (done.emptyAmount && *done.amount == 0.0)) {
            // A "^" alone closes nothing.
            if (done.firstLine != 0) withoutAmount.push_back(done.firstLine);
            return;
        }
        if (*done.amount == 0.0 && !done.unreadAmount) return;

        // The defaults an L line left to the direction: this record's, set
        // by its own T line, wherever the L line stood.
        if (done.byDirection && direction != kTransfer) {
            const bool moneyIn = direction == kMoneyIn;
            if (!done.otherAccountId) {
                done.otherAccountId =
                    moneyIn ? defaults.unspecifiedIncomeAccount : defaults.unspecifiedExpenseAccount;
                if (holdsSide(done.to) && !done.from.id) done.from.id = done.otherAccountId;
                if (holdsSide(done.from) && !done.to.id) done.to.id = done.otherAccountId;
            }
            if (!done.categoryId)
                done.categoryId = moneyIn ? defaults.unspecifiedIncomeCategory : defaults.unspecifiedExpenseCategory;
        }

        const bool waitsForOwnAccount = !ourAccount;
        if (waitsForOwnAccount) {
            // The other side and the category as the money goes; the own
            // account is the user's choice.
            const bool moneyIn = *done.amount >= 0;
            if (!done.otherAccountId)
                done.otherAccountId = moneyIn ? defaults.unspecifiedIncomeAccount : defaults.unspecifiedExpenseAccount;
            if (!done.categoryId)
                done.categoryId = moneyIn ? defaults.unspecifiedIncomeCategory : defaults.unspecifiedExpenseCategory;
        } else if (!done.from.id || !done.to.id || !done.categoryId) {
            auto fallback = [&]() -> std::optional<ObjectIdT> {
                if (direction == kMoneyIn) return defaults.unspecifiedIncomeAccount;
                if (direction == kMoneyOut) return defaults.unspecifiedExpenseAccount;
                return std::nullopt;
            };
            if (!done.from.id && done.to.id) done.from.id = fallback();
            if (!done.to.id && done.from.id) done.to.id = fallback();
            if (!done.categoryId) {
                if (direction == kTransfer) return;
                done.categoryId =
                    direction == kMoneyIn ? defaults.unspecifiedIncomeCategory : defaults.unspecifiedExpenseCategory;
            }
            if (!done.from.id || !done.to.id) return;
        }
        // A transfer written in the registers of both its accounts is
        // booked once: the second half is the first one's duplicate.
        if (direction == kTransfer && done.otherAccountId && ourAccountId > 0 && halves != Halves::Ignore) {
            const ObjectIdT other = *done.otherAccountId;
            const CAccount* otherAccount = accountForId(books, other);
            const bool sameCurrency = otherAccount && ourAccount && otherAccount->Get_mCurrency() == ourAccount->Get_mCurrency();
            // Between two currencies each half holds its own account's
            // amount: the halves go opposite ways, by whatever amounts.
            const auto half = std::find_if(transferHalves.begin(), transferHalves.end(), [&](const TransferHalf& h) {
                return h.date == done.date && h.account == other && h.otherAccount == ourAccountId &&
                       (h.sameCurrency && sameCurrency ? std::fabs(h.amount + *done.amount) < 0.005
                                                       : h.amount * *done.amount < 0.0);
            });
            if (half != transferHalves.end() && halves == Halves::Match) {
                if (!(half->sameCurrency && sameCurrency) && half->line) half->line->setOtherAccountAmount(*done.amount);
                transferHalves.erase(half);
                ++otherHalves;
                return;
            }
            // A split's part whose other half came first as a record of its
            // own: the part is booked with its split, that record not.
            const auto alone = half == transferHalves.end() || !half->line
                                   ? lines.end()
                                   : std::find(lines.begin(), lines.end(), half->line);
            if (alone != lines.end()) {
                if (!(half->sameCurrency && sameCurrency)) otherAmount = half->amount;
                lines.erase(alone);
                transferHalves.erase(half);
                ++otherHalves;
            } else {
                transferHalves.push_back({done.date, ourAccountId, other, *done.amount, sameCurrency, nullptr});
                waitingHalf = transferHalves.size();
            }
        }
        if (!done.category) done.category = categoryForId(books, *done.categoryId);

        std::string title;
        if (!done.payee.empty()) {
            title = done.payee;
        } else if (!done.description.empty()) {
            title = done.description;
        } else {
            const std::string name = done.category ? done.category->Get_StringrefName() : std::string();
            title = (done.checkNumber.empty() ? name : done.checkNumber) + " " + std::to_string(ordinal);
        }
        if (characterCount(title) > kTitleLength) title = firstCharacters(title, kTitleLength);

        auto line = std::make_shared<CImpTItem>();
        line->setMBatch(true);
        line->setDocument(theDocument);
        if (ib_creditCardTransaction) line->setIsOnDebtAccount();
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
                ++mUnreadAmounts;
            }
        });
        line->setMBatch(false);
        if (waitingHalf > 0) transferHalves[waitingHalf - 1].line = line;
        if (otherAmount) line->setOtherAccountAmount(*otherAmount);
        madeLines->push_back(std::move(line));
    };

    // A record whose splits all give their amounts is one line that books
    // one transaction with a line for each split, against its category or
    // account: a split that moves money to another own account reaches it.
    // Each split is read as a record of its own (its category, the
    // direction of its money) and becomes a part of the whole's line.
    auto endOfSplitRecord = [&] {
        const bool split = !record.splits.empty() && !record.unreadAmount &&
                           std::all_of(record.splits.begin(), record.splits.end(),
                                       [](const Record::Split& s) { return s.amount.has_value(); });
        if (!split || record.quantity) {
            endOfRecord();
            return;
        }
        Record whole = std::exchange(record, Record());
        const int ordinalBefore = ordinal;
        const std::size_t waitingBefore = waitingLines;
        std::vector<CImpTItem::Ptr> parts;
        auto readAs = [&](double amount, const std::string& text, std::vector<CImpTItem::Ptr>& into, Halves how) {
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
            endOfRecord();
            madeLines = &lines;
            halves = Halves::Match;
        };
        for (const Record::Split& part : whole.splits) readAs(*part.amount, part.text, parts, Halves::LeaveOnly);
        ordinal = ordinalBefore;
        waitingLines = waitingBefore;
        if (parts.size() <= 1) {
            // One split is a plain record.
            for (CImpTItem::Ptr& part : parts) lines.push_back(std::move(part));
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
        readAs(whole.amount.value_or(total), (first != whole.splits.end() ? *first : whole.splits.front()).text, made,
               Halves::Ignore);
        for (CImpTItem::Ptr& line : made) {
            line->setSplitParts(std::move(parts));
            lines.push_back(std::move(line));
        }
    };

    // Letter lines of a register record not yet ended by "^".
    bool recordOpen = false;
    while (std::optional<std::string> raw = nextLine()) {
        if (raw->empty()) continue;
        const char letter = raw->front();
        const std::string_view text = std::string_view(*raw).substr(1);
        // Records of a list section (memorized transactions, categories,
        // classes, payees, securities, prices) are no statement lines.
        if (inList && letter != '!') continue;
        if (!headerMode && !trimmedText(*raw).empty()) recordOpen = letter != '^' && letter != '!';
        const std::size_t lineNumber = nextLineIndex();
        if (!headerMode && letter != '!' && letter != '^' && record.firstLine == 0) record.firstLine = lineNumber;
        // A second date or amount in a record: with both already read, its
        // "^" was lost and this line begins the next record; else the record
        // is told. A date right after a split's category is the split's own.
        const bool splitsDate = letter == 'D' && record.lastLetter == 'S';
        if (!headerMode && letter != '!' && letter != '^') record.lastLetter = letter;
        auto secondOf = [&](std::size_t Record::*seen, std::vector<std::size_t>& told) {
            if (headerMode || splitsDate || record.*seen == 0) return;
            if (record.dated && record.amount) {
                unended.push_back(record.firstLine);
                endOfRecord();
                record.firstLine = lineNumber;
                record.lastLetter = letter;
            } else {
                told.push_back(record.firstLine);
            }
        };
        switch (letter) {
        case '!': {
            const std::string_view header = withoutTrailingBlanks(*raw);
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
                if (isListHeader(header)) {
                    inList = true;
                    record = Record();
                }
            }
            break;
        }
        case 'D':
            if (headerMode) break;
            secondOf(&Record::dateLine, twoDates);
            // A split's own date leaves the transaction's as it is.
            if (splitsDate) break;
            record.dateLine = lineNumber;
            dateText = text;
            record.dated = true;
            if (fileOrder) {
                if (const std::optional<DateT> date = qifDate(trimmedText(text), *fileOrder)) record.date = *date;
            } else if (dateFormat == 0 || dateFormat == 1) {
                record.date = configuredDate(text, dateFormat);
            }
            break;
        case 'T':
            secondOf(&Record::amountLine, twoAmounts);
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
            break;
        case 'N':
            if (headerMode) {
                ourAccountText = std::string(text);
                ourAccount = accountForName(books, text);
                ourAccountId = ourAccount ? ourAccount->Get_Id() : 0;
                registerCurrency.clear();
                if (const CCurrency* currency = ourAccount ? ourAccount->Get_mCurrencyPtr() : nullptr)
                    registerCurrency = currency->Get_ShortStringRefName();
            } else {
                record.checkNumber = text;
            }
            break;
        case 'P':
            record.payee = text;
            record.description = text;
            break;
        case 'M': record.description = text; break;
        case 'L':
            if (!headerMode) categoryOrTransfer(withoutClass(text));
            break;
        case 'S':
            // A split: its category, unless it is a transfer ("[Account]"); the last one wins
            // when the splits give no amounts.
            record.splits.push_back({std::string(withoutClass(text)), std::nullopt});
            if (!text.empty() && text.front() != '[') {
                if (CExpenseType* category = categoryForPath(withoutClass(text))) {
                    record.categoryId = category->Get_Id();
                    record.category = category;
                } else {
                    record.categoryId = defaults.unspecifiedExpenseCategory;
                    record.category = nullptr;
                }
            }
            break;
        case '$':
            if (!record.splits.empty())
                record.splits.back().amount = fileAmountOf(text, decimalComma);
            break;
        case 'Q': record.quantity = true; break;
        case '^':
            if (!headerMode) endOfSplitRecord();
            break;
        default: break;
        }
    }
    // A last record without its "^" that has what a record needs, a date
    // and an amount, is complete: the file was not cut inside it.
    // It is told all the same: a file cut at a line end looks just so.
    std::optional<std::size_t> lastUnended;
    if (recordOpen && !headerMode && !inList && record.dated && record.amount) {
        lastUnended = record.firstLine;
        endOfSplitRecord();
        recordOpen = false;
    }
    mEndsInsideRecord = recordOpen;

    auto note = [&](std::string_view key, const std::vector<std::size_t>& at) {
        if (!at.empty()) mNotes.push_back(formatMessage(localized(key), {lineNumberList(at)}));
    };
    note("QIFRECORDUNENDED", unended);
    note("QIFTWODATES", twoDates);
    note("QIFTWOAMOUNTS", twoAmounts);
    note("QIFNOAMOUNT", withoutAmount);
    if (lastUnended) note("QIFLASTUNENDED", {*lastUnended});
    if (waitingLines > 0)
        mNotes.push_back(formatMessage(localized(ib_creditCardTransaction ? "QIFNOCARDACCOUNT" : "QIFNOOWNACCOUNT"),
                                       {static_cast<long>(waitingLines)}));
    if (otherHalves > 0)
        mNotes.push_back(formatMessage(localized("QIFTRANSFERHALVES"), {static_cast<long>(otherHalves)}));
    return kNoMoreRecords;
}

} // namespace ch
