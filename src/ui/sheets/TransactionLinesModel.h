#pragma once
// The lines of one side of a transaction being edited (from, to or for) as a
// table: column 0 the account or category, 1 the amount in the line's
// currency, 2 the currency. The lines are read afresh from the transaction
// item whenever the model is reloaded.

#include <memory>

#include <QAbstractTableModel>

#include "bridge/LineItemList.h"
#include "platform/core/four_char_code.h"

namespace ch {

class CDebetItem;
class CTrnSItem;

class TransactionLinesModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kAccountColumn = 0;
    static constexpr int kAmountColumn = 1;
    static constexpr int kCurrencyColumn = 2;

    // 'DebT' (from), 'CreT' (to) or 'ExtD' (for).
    explicit TransactionLinesModel(FourCharCode side, QObject* parent = nullptr);

    FourCharCode side() const { return mSide; }
    void setTransaction(std::shared_ptr<CTrnSItem> transaction);
    const std::shared_ptr<CTrnSItem>& transaction() const { return mTransaction; }
    // The line of the 0-based row; null when none.
    std::shared_ptr<CDebetItem> lineAt(int row) const;
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    FourCharCode mSide;
    std::shared_ptr<CTrnSItem> mTransaction;
    LineItemArray mLines;
};

} // namespace ch
