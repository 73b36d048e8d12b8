#include "ui/sheets/TransactionLinesModel.h"

#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

TransactionLinesModel::TransactionLinesModel(FourCharCode side, QObject* parent)
    : QAbstractTableModel(parent), mSide(side)
{
}

void TransactionLinesModel::setTransaction(std::shared_ptr<CTrnSItem> transaction)
{
    mTransaction = std::move(transaction);
    reload();
}

void TransactionLinesModel::reload()
{
    beginResetModel();
    mLines.clear();
    if (mTransaction) {
        if (mSide == fourCC("DebT"))
            mLines = mTransaction->mFromList();
        else if (mSide == fourCC("CreT"))
            mLines = mTransaction->mToList();
        else
            mLines = mTransaction->mForList();
    }
    endResetModel();
}

std::shared_ptr<CDebetItem> TransactionLinesModel::lineAt(int row) const
{
    return row >= 0 && row < static_cast<int>(mLines.size()) ? mLines[static_cast<std::size_t>(row)] : nullptr;
}

int TransactionLinesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mLines.size());
}

int TransactionLinesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant TransactionLinesModel::data(const QModelIndex& index, int role) const
{
    const auto line = lineAt(index.row());
    if (!line)
        return {};
    if (role == Qt::TextAlignmentRole && index.column() == kAmountColumn)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case kAccountColumn: {
        const auto id = line->account();
        return id && *id > 0 ? QString::fromStdString(line->getAccountName()) : QString();
    }
    case kAmountColumn:
        return QString::fromStdString(
            CNumericTransformer().stringForObjectValue(line->getForeignAmount().value_or(0.0)));
    case kCurrencyColumn:
        return QString::fromStdString(line->getForeignCurrency());
    default:
        return {};
    }
}

QVariant TransactionLinesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case kAccountColumn: return localizedText(mSide == fourCC("ExtD") ? "COLUMNCATEGORY" : "COLUMNACCOUNT");
    case kAmountColumn: return localizedText("COLUMNAMOUNT");
    case kCurrencyColumn: return localizedText("COLUMNCURRENCY");
    default: return {};
    }
}

Qt::ItemFlags TransactionLinesModel::flags(const QModelIndex& index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

} // namespace ch
