#include "import/views/CImportedTransactionArrayController.h"

#include <QBrush>
#include <QColor>

#include "import/CImpTItem.h"
#include "import/ImportRemarks.h"
#include "platform/core/localized_strings.h"
#include "ui/lists/ValueTransformers.h"

namespace ch {

namespace {
QString text(const std::string& value)
{
    return QString::fromStdString(value);
}
} // namespace

CImportedTransactionArrayController::CImportedTransactionArrayController(ImportPageActions& actions,
                                                                         QObject* parent)
    : QAbstractTableModel(parent), mActions(actions)
{
    reload();
}

void CImportedTransactionArrayController::reload()
{
    beginResetModel();
    mLines = mActions.lines();
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
    if (role == Qt::CheckStateRole && index.column() == Accept)
        return line->mAccept() ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ForegroundRole && line->hasDuplicate()) return QBrush(QColor(0x99, 0x33, 0x33));
    if (role == Qt::TextAlignmentRole && index.column() == Amount)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case Complete: return text(line->mComplete());
    case Date: return dateTTransformer(line->mValueDate());
    case Title: return text(line->mTitle());
    case Amount: return amountTTransformer(line->mAmount());
    case Currency: return text(line->mCurrency());
    case Remark: return text(remarkOnOneLine(line->mRemark()));
    default: return {};
    }
}

bool CImportedTransactionArrayController::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const std::shared_ptr<CImpTItem> line = lineAt(index.row());
    if (!line || index.column() != Accept || role != Qt::CheckStateRole) return false;
    line->setMAccept(value.toInt() == Qt::Checked);
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), ColumnCount - 1));
    return true;
}

Qt::ItemFlags CImportedTransactionArrayController::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.column() == Accept) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant CImportedTransactionArrayController::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kKeys[ColumnCount] = {"IMPCOLACCEPT", "IMPCOLCOMPLETE", "IMPCOLDATE", "IMPCOLTITLE",
                                                   "IMPCOLAMOUNT", "IMPCOLCURRENCY", "IMPCOLREMARK"};
    return section >= 0 && section < ColumnCount ? QVariant(text(localized(kKeys[section]))) : QVariant();
}

} // namespace ch
