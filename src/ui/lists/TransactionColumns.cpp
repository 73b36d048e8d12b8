#include "ui/lists/TransactionColumns.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include <QColor>

#include "bridge/CDebetItem.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/ModelText.h"
#include "model/CDebit.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "model/foundation/CDate.h"
#include "platform/gui/localized_text.h"
#include "ui/GXGradientPainting.h"
#include "ui/lists/ValueTransformers.h"

namespace ch {

namespace {

QString oneLine(std::string value)
{
    QString line = QString::fromStdString(value);
    line.replace(u'\n', u' ');
    return line.trimmed();
}

const CTrnSItem& transactionOf(const CNonVisualDataItem& item)
{
    return static_cast<const CTrnSItem&>(item);
}

const CDebetItem& lineOf(const CNonVisualDataItem& item)
{
    return static_cast<const CDebetItem&>(item);
}

// What a transaction is called in a list: its name and description, else
// the category it is booked on.
QString describedAs(const std::string& nameText, const std::string& descriptionText,
                    const std::function<std::string()>& firstCategory)
{
    // Name and description, each once: a description that repeats the name
    // adds nothing.
    const QString name = oneLine(nameText);
    const QString description = oneLine(descriptionText);
    QString shown = description.isEmpty() || description == name ? name
                    : name.isEmpty()                              ? description
                                                                  : name + u' ' + description;
    if (shown.isEmpty()) shown = QString::fromStdString(firstCategory());
    return shown;
}

QString transactionDescription(const CTrnSItem& transaction)
{
    return describedAs(transaction.getName(), transaction.mDescription(), [&] {
        const LineItemArray lines = transaction.mForList();
        return !lines.empty() && lines.front() ? lines.front()->getAccountName() : std::string();
    });
}

// The same read from the model transaction, for sorting long lists without
// an item per line.
QString transactionDescription(const CTransaction& transaction)
{
    return describedAs(unicodeOrMacRoman(transaction, &CNonVisual::Get_StringrefName, &CNonVisual::Get_Name),
                       transaction.Get_StringrefDesc(), [&] {
                           const CNamedListArray* lines = transaction.GetExpenseTypeList();
                           const auto* first = lines && lines->GetCount() > 0
                                                   ? static_cast<const CDebit*>(lines->ObjectAt(1))
                                                   : nullptr;
                           return first ? first->Get_AccountName() : std::string();
                       });
}

bool isAsciiText(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// oneLine() of ASCII text without going through QString.
std::string asciiOneLine(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; };
    std::size_t first = 0, last = text.size();
    while (first < last && space(text[first])) ++first;
    while (last > first && space(text[last - 1])) --last;
    std::string line(text.substr(first, last - first));
    std::replace(line.begin(), line.end(), '\n', ' ');
    return line;
}

// What the description column sorts by (its text in lower case), read from
// the model transaction; ASCII texts, the usual ones, without QString.
std::string descriptionSortKey(const CTransaction& transaction)
{
    const std::string nameText = unicodeOrMacRoman(transaction, &CNonVisual::Get_StringrefName, &CNonVisual::Get_Name);
    const std::string& descriptionText = transaction.Get_StringrefDesc();
    if (!isAsciiText(nameText) || !isAsciiText(descriptionText))
        return transactionDescription(transaction).toLower().toStdString();
    const std::string name = asciiOneLine(nameText);
    const std::string description = asciiOneLine(descriptionText);
    std::string shown = description.empty() || description == name ? name
                        : name.empty()                              ? description
                                                                    : name + ' ' + description;
    if (shown.empty()) return transactionDescription(transaction).toLower().toStdString();
    std::transform(shown.begin(), shown.end(), shown.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return shown;
}

const CTransaction* transactionObject(const CNonVisual& object)
{
    return dynamic_cast<const CTransaction*>(&object);
}

// The account of the side's main line (the largest amount; the first of
// equals), with an ellipsis when the side has more lines: a dividend reads
// "From Dividends, ..." rather than from the shares' line of no amount.
QString firstAccount(const LineItemArray& lines)
{
    const CDebetItem* main = nullptr;
    double largest = -1.0;
    int count = 0;
    for (const auto& line : lines) {
        if (!line) continue;
        ++count;
        const double size = std::fabs(line->getLocalAmount().value_or(0.0));
        if (size > largest) {
            largest = size;
            main = line.get();
        }
    }
    if (!main) return {};
    const QString name = QString::fromStdString(main->getAccountName());
    return count > 1 ? name + QStringLiteral(", \u2026") : name;
}

QString firstAccount(const CNamedListArray* lines)
{
    const CDebit* main = nullptr;
    double largest = -1.0;
    int count = 0;
    const std::size_t total = lines ? lines->GetCount() : 0;
    for (std::size_t i = 1; i <= total; ++i) {
        const auto* line = static_cast<const CDebit*>(lines->ObjectAt(static_cast<ArrayIndexT>(i)));
        if (!line) continue;
        ++count;
        const double size = std::fabs(line->Get_mLocalAmount());
        if (size > largest) {
            largest = size;
            main = line;
        }
    }
    if (!main) return {};
    const QString name = QString::fromStdString(main->Get_AccountName());
    return count > 1 ? name + QStringLiteral(", \u2026") : name;
}

QVariant amountCell(std::optional<double> amount, int role)
{
    if (role == Qt::DisplayRole) return amountTTransformer(amount);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole && amount && *amount < 0) return QColor(180, 30, 30);
    return {};
}

// A transaction's amount: its total, else (a total never set) what its
// outgoing lines move.
std::optional<double> transactionAmount(const CTrnSItem& transaction)
{
    const std::optional<double> total = transaction.mTotalAmount();
    if (total && *total != 0) return total;
    double sum = 0;
    bool any = false;
    for (const auto& line : transaction.mFromList())
        if (line && line->getAmount()) {
            sum += *line->getAmount();
            any = true;
        }
    return any ? std::optional<double>(sum) : total;
}

double transactionAmount(const CTransaction& transaction)
{
    const double total = transaction.Get_mTotalAmount();
    if (total != 0) return total;
    double sum = 0;
    const CNamedListArray* lines = transaction.GetDebitList();
    const std::size_t count = lines ? lines->GetCount() : 0;
    for (std::size_t i = 1; i <= count; ++i)
        if (const auto* line = static_cast<const CDebit*>(lines->ObjectAt(static_cast<ArrayIndexT>(i))))
            sum += line->Get_Amount();
    return sum;
}

ItemColumn statusColumn()
{
    return {"status", localizedText("LISTCOLSTATUS"),
            [](const CNonVisualDataItem& item, int role) -> QVariant {
                if (role == Qt::DecorationRole) return statusTTransformer(item.objectStatus());
                if (role == Qt::ToolTipRole) return oneLine(item.getName());
                return {};
            },
            [](const CNonVisualDataItem& item) -> SortValue { return double(item.objectStatus() & 0xFF); }, true};
}

} // namespace

SortDescriptor sortByTransactionDate(bool ascending)
{
    return {"mDate", ascending,
            [](const CNonVisualDataItem& item) -> SortValue {
                const auto* transaction = dynamic_cast<const CTrnSItem*>(&item);
                return transaction ? double(transaction->mDate().value_or(0)) : SortValue{};
            },
            [](const CNonVisual& object) -> SortValue {
                const auto* transaction = dynamic_cast<const CTransaction*>(&object);
                return transaction ? double(transaction->Get_mDate()) : SortValue{};
            }};
}

SortDescriptor sortByLineDate(bool ascending)
{
    return {"transactionDateAsNumber", ascending, [](const CNonVisualDataItem& item) -> SortValue {
                return double(lineOf(item).transactionDateAsNumber().value_or(0));
            },
            {}};
}

SortDescriptor sortByLineId(bool ascending)
{
    return {"getId", ascending,
            [](const CNonVisualDataItem& item) -> SortValue { return double(item.getId().value_or(0)); }, {}};
}

SortDescriptor sortByName(bool ascending)
{
    return {"getName", ascending, [](const CNonVisualDataItem& item) -> SortValue { return item.getName(); }, {}};
}

std::vector<ItemColumn> transactionListColumns()
{
    return {
        statusColumn(),
        {"date", localizedText("LISTCOLDATE"),
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             if (role != Qt::DisplayRole) return {};
             return dateTTransformer(transactionOf(item).mDate().value_or(0));
         },
         sortByTransactionDate(true).value, false, sortByTransactionDate(true).objectValue},
        {"description", localizedText("LISTCOLDESCRIPTION"),
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             if (role == Qt::DisplayRole) return transactionDescription(transactionOf(item));
             if (role == Qt::ToolTipRole) return QString::fromStdString(transactionOf(item).fullDescription());
             return {};
         },
         [](const CNonVisualDataItem& item) -> SortValue {
             return transactionDescription(transactionOf(item)).toLower().toStdString();
         },
         false,
         [](const CNonVisual& object) -> SortValue {
             const CTransaction* transaction = transactionObject(object);
             return transaction ? SortValue(descriptionSortKey(*transaction)) : SortValue{};
         }},
        {"from", localizedText("LISTCOLFROM"),
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             return role == Qt::DisplayRole ? firstAccount(transactionOf(item).mFromList()) : QVariant();
         },
         [](const CNonVisualDataItem& item) -> SortValue {
             return firstAccount(transactionOf(item).mFromList()).toStdString();
         },
         false,
         [](const CNonVisual& object) -> SortValue {
             const CTransaction* transaction = transactionObject(object);
             return transaction ? SortValue(firstAccount(transaction->GetDebitList()).toStdString()) : SortValue{};
         }},
        {"to", localizedText("LISTCOLTO"),
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             return role == Qt::DisplayRole ? firstAccount(transactionOf(item).mToList()) : QVariant();
         },
         [](const CNonVisualDataItem& item) -> SortValue {
             return firstAccount(transactionOf(item).mToList()).toStdString();
         },
         false,
         [](const CNonVisual& object) -> SortValue {
             const CTransaction* transaction = transactionObject(object);
             return transaction ? SortValue(firstAccount(transaction->GetCreditList()).toStdString()) : SortValue{};
         }},
        {"amount", localizedText("LISTCOLAMOUNT"),
         [](const CNonVisualDataItem& item, int role) { return amountCell(transactionAmount(transactionOf(item)), role); },
         [](const CNonVisualDataItem& item) -> SortValue { return transactionAmount(transactionOf(item)).value_or(0); },
         false,
         [](const CNonVisual& object) -> SortValue {
             const CTransaction* transaction = transactionObject(object);
             return transaction ? SortValue(transactionAmount(*transaction)) : SortValue{};
         }},
        {"currency", localizedText("LISTCOLCURRENCY"),
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             return role == Qt::DisplayRole ? QString::fromStdString(transactionOf(item).mCurrencyName()) : QVariant();
         },
         [](const CNonVisualDataItem& item) -> SortValue { return transactionOf(item).mCurrencyName(); }},
    };
}

std::vector<ItemColumn> recurringListColumns()
{
    std::vector<ItemColumn> columns = transactionListColumns();
    columns.erase(columns.begin());   // recurring transactions have no status to show
    // A template's own date is the last one it generated: the list shows
    // when it comes round next, and how often it does.
    auto nextDate = [](const CNonVisualDataItem& item) {
        const auto* recurring = dynamic_cast<const CRcrTItem*>(&item);
        return recurring ? recurring->nextDate() : std::nullopt;
    };
    columns.front() = {"nextDate", localizedText("LISTCOLNEXTDATE"),
                       [nextDate](const CNonVisualDataItem& item, int role) -> QVariant {
                           if (role != Qt::DisplayRole) return {};
                           const std::optional<long> next = nextDate(item);
                           return next ? dateTTransformer(*next) : QVariant(QString());
                       },
                       [nextDate](const CNonVisualDataItem& item) -> SortValue {
                           return double(nextDate(item).value_or(kNeverDate));
                       }};
    columns.insert(columns.begin() + 2,
                   {"recurringType", localizedText("LISTCOLREPEAT"),
                    [](const CNonVisualDataItem& item, int role) -> QVariant {
                        const auto* recurring = dynamic_cast<const CRcrTItem*>(&item);
                        if (role != Qt::DisplayRole || !recurring) return {};
                        return QString::fromStdString(recurring->mRecurringTypeAsString());
                    },
                    [](const CNonVisualDataItem& item) -> SortValue {
                        const auto* recurring = dynamic_cast<const CRcrTItem*>(&item);
                        return double(recurring ? recurring->mRecurringType().value_or(0) : 0);
                    }});
    return columns;
}

std::vector<ItemColumn> bookingLineColumns(LineBalance balanceOf)
{
    // Each list's running balances are its own: a line is in several lists.
    if (!balanceOf) balanceOf = [](const CNonVisualDataItem& item) { return lineOf(item).getLocalBalance(); };
    return {
        statusColumn(),
        {"date", localizedText("LISTCOLDATE"),
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             if (role != Qt::DisplayRole) return {};
             return dateTTransformer(lineOf(item).transactionDateAsNumber().value_or(0));
         },
         sortByLineDate(true).value},
        {"description", localizedText("LISTCOLDESCRIPTION"),
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             if (role == Qt::DisplayRole) {
                 // A line without its own text reads as its transaction.
                 QString shown = oneLine(lineOf(item).getDescription());
                 if (shown.isEmpty())
                     if (const auto transaction = lineOf(item).parentTransaction())
                         shown = transactionDescription(*transaction);
                 return shown;
             }
             if (role == Qt::ToolTipRole) return QString::fromStdString(lineOf(item).fullDescription());
             return {};
         },
         [](const CNonVisualDataItem& item) -> SortValue { return lineOf(item).getDescription(); }},
        {"account", localizedText("LISTCOLACCOUNT"),
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             return role == Qt::DisplayRole ? QString::fromStdString(lineOf(item).getAccountName()) : QVariant();
         },
         [](const CNonVisualDataItem& item) -> SortValue { return lineOf(item).getAccountName(); }},
        {"amount", localizedText("LISTCOLAMOUNT"),
         [](const CNonVisualDataItem& item, int role) -> QVariant {
             // A line's amount has no sign: its colour tells money in from money out.
             if (role == Qt::ForegroundRole) return toQColor(lineOf(item).tableTextColor());
             return amountCell(lineOf(item).getAmount(), role);
         },
         [](const CNonVisualDataItem& item) -> SortValue { return lineOf(item).getAmount().value_or(0); }},
        {"balance", localizedText("LISTCOLBALANCE"),
         [balanceOf](const CNonVisualDataItem& item, int role) { return amountCell(balanceOf(item), role); },
         [balanceOf](const CNonVisualDataItem& item) -> SortValue { return balanceOf(item).value_or(0); }},
    };
}

} // namespace ch
