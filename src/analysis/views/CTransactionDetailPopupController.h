#pragma once
// The detail window of a clicked bar or wedge: a tool window listing the
// point's booking lines (their full description as tool tip) beside a pie
// of them by account or category, in the point's colour. The point owns it;
// it closes when the point goes.

#include <memory>
#include <string>

#include <QAbstractTableModel>
#include <QWidget>

#include "analysis/CGraphPoint.h"

class QTableView;

namespace ch {

class ChartView;

// The lines as a table: date, account or category, description, amount.
class TransactionDetailTableModel : public QAbstractTableModel {
public:
    explicit TransactionDetailTableModel(ChartElements lines, QObject* parent = nullptr)
        : QAbstractTableModel(parent), mLines(std::move(lines))
    {
    }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The full description of the row's line; empty beyond the lines.
    QString toolTipForRow(int row) const;

private:
    ChartElements mLines;
};

class CTransactionDetailPopupController : public QWidget {
public:
    // A window over the lines, owned by the returned handle.
    static std::unique_ptr<PointDetailWindow> make(const ChartElements& lines, const std::string& title,
                                                   const Colour& colour, QWidget* parent);

    CTransactionDetailPopupController(const ChartElements& lines, const std::string& title, const Colour& colour,
                                      QWidget* parent);

    const ChartElements& mArray() const { return mLines; }
    ChartView* pieChart() const { return mPieChart; }
    TransactionDetailTableModel* tableModel() const { return mModel; }

private:
    ChartElements mLines;
    Colour mColor;
    ChartView* mPieChart = nullptr;
    TransactionDetailTableModel* mModel = nullptr;
};

} // namespace ch
