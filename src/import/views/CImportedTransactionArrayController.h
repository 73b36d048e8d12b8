#pragma once
// CImportedTransactionArrayController: the import page's table of the
// document's pending statement lines. A line's first column accepts or
// refuses it; its date, amount, currency, own account, counter account,
// category and counterparty are edited in place (an id from choicesFor as
// the edit value, a QDate for the date, a double for the amount), each
// through the line's setters, after which every line may have changed. An
// amount the statement's text did not give shows that text. Hovering a line that duplicates a booked transaction
// shows that transaction in full. Rows are read from the lines only when
// drawn; a line completed elsewhere (by a sheet that made its account)
// redraws its row.

#include <QAbstractTableModel>

#include <memory>
#include <optional>
#include <vector>

#include "import/ImportPageActions.h"
#include "platform/core/observable.h"

namespace ch {

class CImpTItem;

class CImportedTransactionArrayController : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Accept,
        Complete,
        Date,
        Title,
        Amount,
        Currency,
        OwnAccount,
        CounterAccount,
        Category,
        Counterparty,
        Remark,
        ColumnCount
    };

    // What a column chooses from the books; none for the other columns.
    static std::optional<LineChoice> choiceOf(int column);
    // What the user may choose in that column, by name.
    std::vector<ChoiceEntry> choicesFor(int column) const;

    // The actions (and their document) outlive the model.
    explicit CImportedTransactionArrayController(ImportPageActions& actions, QObject* parent = nullptr);

    // Reads the document's pending lines again.
    void reload();
    std::shared_ptr<CImpTItem> lineAt(int row) const;
    int rowOf(const CImpTItem* line) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ImportPageActions& mActions;
    std::vector<std::shared_ptr<CImpTItem>> mLines;
    std::vector<Subscription> mLineWatches;
};

} // namespace ch
