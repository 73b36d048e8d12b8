#pragma once
// The booking lines of one account or category as a Qt table: the rows,
// cells, colours and sorting of a CTransactionDetailTableController. Columns
// are given by identifier ("date", "desc", "amtl", "ball", ...) and heading.
// Once attached to a table view, a click on a heading sorts (a second click
// on the same heading reverses), the selected row is the controller's, and
// a double click asks to modify that row's transaction.
//
// Lines that come or go while shown are redrawn on the next turn of the
// event loop: the announcement may arrive in the middle of a model
// operation.

#include <QAbstractTableModel>

#include <memory>
#include <vector>

#include "bridge/CTransactionDetailTableController.h"

class QTableView;

namespace ch {

class BookingLineTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    struct Column {
        QString identifier;
        QString heading;
    };

    explicit BookingLineTableModel(std::vector<Column> columns, QObject* parent = nullptr);
    ~BookingLineTableModel() override;

    // What is shown and what the table's actions do.
    CTransactionDetailTableController& controller() const;

    // Shows the model in the view and follows its headings, selection and
    // double clicks.
    void attach(QTableView* view);
    int columnOf(const QString& identifier) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    class Controller;
    // Another list: the views are told at once.
    void resetRows();
    // The same list changed: the views are told on the next turn.
    void scheduleReset();

    std::unique_ptr<Controller> mController;
    std::vector<Column> mColumns;
    // The rows the views were last told of.
    int mRows = 0;
    bool mReloadScheduled = false;
};

} // namespace ch
