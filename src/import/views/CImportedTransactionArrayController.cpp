#include "import/views/CImportedTransactionArrayController.h"

#include <QBrush>
#include <QColor>
#include <QDate>

#include "import/CImpTItem.h"
#include "import/ImportRemarks.h"
#include "model/foundation/CDate.h"
#include "platform/core/localized_strings.h"
#include "ui/lists/ValueTransformers.h"

namespace ch {

namespace {
QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

QDate qDateOf(DateT date)
{
    return QDate(int(CDate::GetYearFromDateT(date)), int(CDate::GetMonthFromDateT(date)),
                 int(CDate::GetDayFromDateT(date)));
}

DateT dateTOf(const QDate& date)
{
    return date.isValid() ? DateT(date.year() * 10000 + date.month() * 100 + date.day()) : 0;
}

ObjectIdT chosenId(const CImpTItem& line, LineChoice kind)
{
    switch (kind) {
    case LineChoice::OwnAccount: return line.mOurAccountId();
    case LineChoice::CounterAccount: return line.mOtherAccountId();
    case LineChoice::Category: return line.mExpenseTypeId();
    case LineChoice::Counterparty: return line.mCounterPartyId();
    case LineChoice::Currency: return line.mCurrencyId();
    }
    return 0;
}

// A line cannot be booked without these; an empty one is tinted.
bool required(LineChoice kind)
{
    return kind != LineChoice::Counterparty;
}
} // namespace

std::optional<LineChoice> CImportedTransactionArrayController::choiceOf(int column)
{
    switch (column) {
    case OwnAccount: return LineChoice::OwnAccount;
    case CounterAccount: return LineChoice::CounterAccount;
    case Category: return LineChoice::Category;
    case Counterparty: return LineChoice::Counterparty;
    case Currency: return LineChoice::Currency;
    default: return std::nullopt;
    }
}

std::vector<ChoiceEntry> CImportedTransactionArrayController::choicesFor(int column) const
{
    const std::optional<LineChoice> kind = choiceOf(column);
    return kind ? mActions.choices(*kind) : std::vector<ChoiceEntry>();
}

CImportedTransactionArrayController::CImportedTransactionArrayController(ImportPageActions& actions,
                                                                         QObject* parent)
    : QAbstractTableModel(parent), mActions(actions)
{
    reload();
}

void CImportedTransactionArrayController::reload()
{
    beginResetModel();
    mLineWatches.clear();
    mLines = mActions.lines();
    // Every completion ends by storing the line's remark.
    for (std::size_t i = 0; i < mLines.size(); ++i)
        mLineWatches.push_back(mLines[i]->observe("mRemark", [this, row = int(i)](Observable&, const std::string&) {
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
        }));
    endResetModel();
}

std::shared_ptr<CImpTItem> CImportedTransactionArrayController::lineAt(int row) const
{
    return row >= 0 && row < int(mLines.size()) ? mLines[std::size_t(row)] : nullptr;
}

int CImportedTransactionArrayController::rowOf(const CImpTItem* line) const
{
    for (std::size_t i = 0; i < mLines.size(); ++i)
        if (mLines[i].get() == line) return int(i);
    return -1;
}

int CImportedTransactionArrayController::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(mLines.size());
}

int CImportedTransactionArrayController::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CImportedTransactionArrayController::data(const QModelIndex& index, int role) const
{
    const std::shared_ptr<CImpTItem> line = lineAt(index.row());
    if (!line) return {};
    if (role == Qt::ToolTipRole) {
        const std::string duplicate = mActions.duplicateDescription(*line);
        return duplicate.empty() ? QVariant() : QVariant(text(duplicate));
    }
    // Ticked means booked: a line matching a booked transaction is not.
    if (role == Qt::CheckStateRole && index.column() == Accept)
        return line->mAccept() && !line->hasDuplicate() ? Qt::Checked : Qt::Unchecked;
    const std::optional<LineChoice> kind = choiceOf(index.column());
    if (role == Qt::ForegroundRole && line->hasDuplicate()) return QBrush(QColor(0x99, 0x33, 0x33));
    if (role == Qt::BackgroundRole) {
        const bool missing = (kind && required(*kind) && mActions.chosenName(*line, *kind).empty()) ||
                             (index.column() == Date && !CDate::IsValidDate(line->mValueDate())) ||
                             (index.column() == Amount && line->amountUnread());
        return missing ? QVariant(QBrush(QColor(0xFF, 0xF1, 0xC8))) : QVariant();
    }
    if (role == Qt::TextAlignmentRole && index.column() == Amount)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::EditRole) {
        if (kind) return QVariant::fromValue(qlonglong(chosenId(*line, *kind)));
        if (index.column() == Date)
            return CDate::IsValidDate(line->mValueDate()) ? qDateOf(line->mValueDate()) : QDate::currentDate();
        if (index.column() == Amount) return line->amountUnread() ? QVariant() : QVariant(line->mAmount());
        return {};
    }
    if (role != Qt::DisplayRole) return {};
    if (kind) {
        const std::string chosen = mActions.chosenName(*line, *kind);
        // A code the books have no currency for is shown as the statement writes it.
        if (chosen.empty() && *kind == LineChoice::Currency) return text(line->mCurrency());
        return text(chosen);
    }
    switch (index.column()) {
    case Complete: return text(line->mComplete());
    case Date: return CDate::IsValidDate(line->mValueDate()) ? dateTTransformer(line->mValueDate()) : QString();
    case Title: return text(line->mTitle());
    case Amount: return line->amountUnread() ? text(line->unreadAmountText()) : amountTTransformer(line->mAmount());
    case Remark: return text(remarkOnOneLine(line->mRemark()));
    default: return {};
    }
}

bool CImportedTransactionArrayController::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const std::shared_ptr<CImpTItem> line = lineAt(index.row());
    if (!line) return false;
    if (index.column() == Accept && role == Qt::CheckStateRole) {
        const bool accept = value.toInt() == Qt::Checked;
        line->setMAccept(accept);
        // Ticking a line taken for a duplicate says it is none: it books.
        if (accept && line->hasDuplicate()) {
            line->setHasDuplicate(false);
            if (!mLines.empty()) emit dataChanged(this->index(0, 0), this->index(rowCount() - 1, ColumnCount - 1));
            return true;
        }
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
        return true;
    }
    if (role != Qt::EditRole) return false;
    bool changed = false;
    if (const std::optional<LineChoice> kind = choiceOf(index.column())) {
        bool isNumber = false;
        const ObjectIdT id = ObjectIdT(value.toLongLong(&isNumber));
        changed = isNumber && id != chosenId(*line, *kind) && mActions.choose(*line, *kind, id);
    } else if (index.column() == Date) {
        changed = mActions.setDate(*line, dateTOf(value.toDate()));
    } else if (index.column() == Amount) {
        bool isNumber = false;
        const double amount = value.toDouble(&isNumber);
        changed = isNumber && mActions.setAmount(*line, amount);
    }
    // Every line is completed again: any row may read differently now.
    if (changed && !mLines.empty()) emit dataChanged(this->index(0, 0), this->index(rowCount() - 1, ColumnCount - 1));
    return changed;
}

Qt::ItemFlags CImportedTransactionArrayController::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == Accept) flags |= Qt::ItemIsUserCheckable;
    if (index.column() == Date || index.column() == Amount || choiceOf(index.column())) flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant CImportedTransactionArrayController::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kKeys[ColumnCount] = {
        "IMPCOLACCEPT",     "IMPCOLCOMPLETE",       "IMPCOLDATE",     "IMPCOLTITLE",
        "IMPCOLAMOUNT",     "IMPCOLCURRENCY",       "IMPCOLOWNACCOUNT", "IMPCOLCOUNTERACCOUNT",
        "IMPCOLCATEGORY",   "IMPCOLCOUNTERPARTY",   "IMPCOLREMARK"};
    return section >= 0 && section < ColumnCount ? QVariant(text(localized(kKeys[section]))) : QVariant();
}

} // namespace ch
