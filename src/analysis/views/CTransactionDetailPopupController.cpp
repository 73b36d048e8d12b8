#include "analysis/views/CTransactionDetailPopupController.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>

#include "analysis/CPieChart.h"
#include "analysis/views/ChartView.h"
#include "bridge/CDebetItem.h"
#include "platform/core/localized_strings.h"

namespace ch {

namespace {

QString qt(const std::string& text)
{
    return QString::fromStdString(text);
}

// Holds the window for its point and closes it with the point.
class PopupHandle : public PointDetailWindow {
public:
    explicit PopupHandle(CTransactionDetailPopupController* window) : mWindow(window) {}
    ~PopupHandle() override
    {
        if (mWindow) {
            mWindow->close();
            mWindow->deleteLater();
        }
    }
    void show() override
    {
        if (!mWindow) return;
        mWindow->show();
        mWindow->raise();
    }

private:
    QPointer<CTransactionDetailPopupController> mWindow;
};

} // namespace

int TransactionDetailTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mLines.size());
}

int TransactionDetailTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant TransactionDetailTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(mLines.size())) return {};
    const CDebetItem* line = asLineItem(mLines[static_cast<std::size_t>(index.row())]);
    if (role == Qt::ToolTipRole) return toolTipForRow(index.row());
    if (role == Qt::TextAlignmentRole && index.column() == 3) return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    if (!line) return index.column() == 1 ? qt(mLines[static_cast<std::size_t>(index.row())]->getName()) : QVariant();
    switch (index.column()) {
    case 0: return qt(line->transactionDateAsString());
    case 1: return qt(line->getAccountName());
    case 2: return qt(line->getName());
    default: return qt(line->LocalAmountAsString());
    }
}

QVariant TransactionDetailTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const keys[] = {"Date", "Account", "Description", "Amount"};
    return qt(localized(keys[std::clamp(section, 0, 3)]));
}

QString TransactionDetailTableModel::toolTipForRow(int row) const
{
    if (row < 0 || row >= static_cast<int>(mLines.size())) return {};
    const CDebetItem* line = asLineItem(mLines[static_cast<std::size_t>(row)]);
    return line ? qt(line->fullDescription()) : QString();
}

std::unique_ptr<PointDetailWindow> CTransactionDetailPopupController::make(const ChartElements& lines,
                                                                           const std::string& title,
                                                                           const Colour& colour, QWidget* parent)
{
    return std::make_unique<PopupHandle>(new CTransactionDetailPopupController(lines, title, colour, parent));
}

CTransactionDetailPopupController::CTransactionDetailPopupController(const ChartElements& lines,
                                                                     const std::string& title, const Colour& colour,
                                                                     QWidget* parent)
    : QWidget(parent, Qt::Tool), mLines(lines), mColor(colour)
{
    setObjectName(QStringLiteral("GraphPointPopup"));
    setWindowTitle(qt(title));
    auto* layout = new QHBoxLayout(this);
    auto* table = new QTableView(this);
    table->setObjectName(QStringLiteral("mArrayController"));
    mModel = new TransactionDetailTableModel(lines, table);
    table->setModel(mModel);
    table->horizontalHeader()->setStretchLastSection(true);
    table->verticalHeader()->hide();
    layout->addWidget(table, 3);

    auto pie = CGraph::make<CExpenseTypePieChart>();
    pie->setColor(colour);
    mPieChart = new ChartView(std::move(pie), this);
    mPieChart->setObjectName(QStringLiteral("mPieChart"));
    mPieChart->setMinimumSize(260, 220);
    layout->addWidget(mPieChart, 2);
    mPieChart->synchronizeWithElements(lines);
    resize(760, 300);
}

} // namespace ch
