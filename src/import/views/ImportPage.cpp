#include "import/views/ImportPage.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "document/MyDocument.h"
#include "import/CImpTItem.h"
#include "import/views/CImportedTransactionArrayController.h"
#include "import/views/ImportLineDelegate.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/gui/localized_text.h"
#include "ui/PageHeading.h"

namespace ch {

namespace {

QPushButton* button(const char* name, const char* textKey, QWidget* parent)
{
    auto* made = new QPushButton(localizedText(textKey), parent);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

} // namespace

ImportPage::ImportPage(MyDocument& document, QWidget* parent)
    : QWidget(parent), mDocument(document), mActions(document)
{
    setObjectName(QStringLiteral("ImportPage"));
    auto* heading = new PageHeading(this);
    heading->setTitle(localizedText("IMPPAGETITLE"));
    heading->setSubtitle(localizedText("IMPPAGESUBTITLE"));

    mModel = new CImportedTransactionArrayController(mActions, this);
    mTable = new QTableView(this);
    mTable->setObjectName(QStringLiteral("mImportedTransactionTable"));
    mTable->setModel(mModel);
    mTable->setItemDelegate(new ImportLineDelegate(mTable));
    mTable->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setAlternatingRowColors(true);
    mTable->verticalHeader()->hide();
    mTable->verticalHeader()->setDefaultSectionSize(22);
    mTable->horizontalHeader()->setStretchLastSection(true);
    mTable->setColumnWidth(CImportedTransactionArrayController::Accept, 60);
    mTable->setColumnWidth(CImportedTransactionArrayController::Complete, 50);
    mTable->setColumnWidth(CImportedTransactionArrayController::Date, 90);
    mTable->setColumnWidth(CImportedTransactionArrayController::Title, 180);
    mTable->setColumnWidth(CImportedTransactionArrayController::Amount, 90);
    mTable->setColumnWidth(CImportedTransactionArrayController::Currency, 70);
    using Columns = CImportedTransactionArrayController;
    for (int column : {Columns::OwnAccount, Columns::CounterAccount, Columns::Category, Columns::Counterparty})
        mTable->setColumnWidth(column, 125);

    mOwnAccountButton = button("mOwnAccountFromImportButton", "IMPOWNACCOUNTBUTTON", this);
    mOwnAccountMenu = new QMenu(mOwnAccountButton);
    mOwnAccountMenu->setObjectName(QStringLiteral("mOwnAccountMenu"));
    mNewAccountButton = button("mNewAccountFromImportButton", "IMPNEWACCOUNTBUTTON", this);
    mNewCategoryButton = button("mNewExpTFromImportButton", "IMPNEWCATEGORYBUTTON", this);
    mNewOwnerButton = button("mNewOwnerFromImportButton", "IMPNEWOWNERBUTTON", this);
    auto* defaultCategory = button("mDefaultCategoryButton", "IMPDEFAULTCATEGORYBUTTON", this);
    auto* notDouble = button("mNotDoubleButton", "IMPNOTDOUBLEBUTTON", this);
    auto* cancel = button("mCancelImportButton", "IMPCANCELBUTTON", this);
    auto* book = button("mImportButton", "IMPBOOKBUTTON", this);
    book->setDefault(true);
    connect(mOwnAccountButton, &QPushButton::clicked, this, &ImportPage::newPropertyAccount);
    connect(mNewAccountButton, &QPushButton::clicked, this, &ImportPage::newPLAccount);
    connect(mNewCategoryButton, &QPushButton::clicked, this, &ImportPage::newExpenseType);
    connect(mNewOwnerButton, &QPushButton::clicked, this, &ImportPage::newAccountOwner);
    connect(defaultCategory, &QPushButton::clicked, this, &ImportPage::setDefaultCategory);
    connect(notDouble, &QPushButton::clicked, this, &ImportPage::setSelectionNotDouble);
    connect(cancel, &QPushButton::clicked, this, &ImportPage::cancelImport);
    connect(book, &QPushButton::clicked, this, &ImportPage::doActualImport);

    auto* lineButtons = new QHBoxLayout;
    for (QPushButton* each :
         {mOwnAccountButton, mNewAccountButton, mNewCategoryButton, mNewOwnerButton, defaultCategory, notDouble})
        lineButtons->addWidget(each);
    lineButtons->addStretch(1);
    lineButtons->addWidget(cancel);
    lineButtons->addWidget(book);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(heading);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(12, 0, 12, 0);
    body->addWidget(mTable, 1);
    body->addLayout(lineButtons);
    layout->addLayout(body, 1);

    // Lines come and go with imports and bookings made elsewhere (the menu).
    mSubscriptions.push_back(
        mDocument.notificationCenter().subscribe("TRANSACTIONCREATED", [this](const Notification&) { reload(); }));
    updateButtons();
}

ImportPage::~ImportPage() = default;

void ImportPage::setNewAccountHandler(LineHandler handler)
{
    mNewAccount = std::move(handler);
    updateButtons();
}

void ImportPage::setNewCategoryHandler(LineHandler handler)
{
    mNewCategory = std::move(handler);
    updateButtons();
}

void ImportPage::setNewOwnerHandler(std::function<void()> handler)
{
    mNewOwner = std::move(handler);
    updateButtons();
}

void ImportPage::updateButtons()
{
    mNewAccountButton->setEnabled(bool(mNewAccount));
    mNewCategoryButton->setEnabled(bool(mNewCategory));
    mNewOwnerButton->setEnabled(bool(mNewOwner));
}

void ImportPage::refreshRows()
{
    // A choice completes every line again: any row may read differently.
    if (mModel->rowCount() > 0)
        emit mModel->dataChanged(mModel->index(0, 0),
                                 mModel->index(mModel->rowCount() - 1, mModel->columnCount() - 1));
}

void ImportPage::showEvent(QShowEvent* event)
{
    reload();
    QWidget::showEvent(event);
}

void ImportPage::reload()
{
    mModel->reload();
}

std::shared_ptr<CImpTItem> ImportPage::currentImportedTransaction()
{
    const QModelIndexList rows = mTable->selectionModel()->selectedRows();
    if (rows.size() != 1) {
        CErrorManager::RaiseError(227);
        return nullptr;
    }
    return mModel->lineAt(rows.front().row());
}

void ImportPage::doActualImport()
{
    mActions.bookAcceptedLinesAndTell();
    reload();
}

void ImportPage::cancelImport()
{
    mDocument.statementImport().cancelImport();
    reload();
}

std::vector<std::shared_ptr<CImpTItem>> ImportPage::selectedLines() const
{
    QModelIndexList rows = mTable->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<std::shared_ptr<CImpTItem>> lines;
    for (const QModelIndex& row : rows)
        if (auto line = mModel->lineAt(row.row())) lines.push_back(std::move(line));
    return lines;
}

void ImportPage::newPropertyAccount()
{
    const auto lines = selectedLines();
    if (lines.empty()) {
        CErrorManager::RaiseError(227);
        return;
    }
    fillOwnAccountMenu(lines);
    mOwnAccountMenu->popup(mOwnAccountButton->mapToGlobal(QPoint(0, mOwnAccountButton->height())));
}

void ImportPage::fillOwnAccountMenu(const std::vector<std::shared_ptr<CImpTItem>>& lines)
{
    mOwnAccountMenu->clear();
    // The menu holds the lines weakly: they may be booked or dropped while it is open.
    const std::vector<std::weak_ptr<CImpTItem>> weak(lines.begin(), lines.end());
    auto stillPending = [weak] {
        std::vector<std::shared_ptr<CImpTItem>> locked;
        for (const auto& each : weak)
            if (auto line = each.lock()) locked.push_back(std::move(line));
        return locked;
    };
    for (const ChoiceEntry& account : mActions.choices(LineChoice::OwnAccount)) {
        QAction* action = mOwnAccountMenu->addAction(QString::fromStdString(account.name));
        action->setCheckable(true);
        action->setChecked(std::all_of(lines.begin(), lines.end(),
                                       [&](const auto& line) { return line->mOurAccountId() == account.id; }));
        connect(action, &QAction::triggered, this, [this, stillPending, id = account.id] {
            if (mActions.chooseOwnAccount(stillPending(), id)) refreshRows();
        });
    }
    // A new account after the statement's number, when the lines name one.
    const std::string number = lines.front()->mOurAccountNumber();
    const bool oneNumber = std::all_of(lines.begin(), lines.end(),
                                       [&](const auto& line) { return line->mOurAccountNumber() == number; });
    if (number.empty() || !oneNumber) return;
    if (!mOwnAccountMenu->isEmpty()) mOwnAccountMenu->addSeparator();
    QAction* make = mOwnAccountMenu->addAction(
        QString::fromStdString(formatMessage(localized("IMPNEWOWNACCOUNTITEM"), {number})));
    make->setObjectName(QStringLiteral("newOwnAccountFromStatement"));
    connect(make, &QAction::triggered, this, [this, stillPending] {
        const auto pending = stillPending();
        // The other lines of that number find the new account by it.
        if (!pending.empty() && mActions.createOwnAccount(*pending.front())) refreshRows();
    });
}

void ImportPage::newAccountOwner()
{
    if (mNewOwner) mNewOwner();
}

void ImportPage::newPLAccount()
{
    if (!mNewAccount) return;
    const QModelIndexList rows = mTable->selectionModel()->selectedRows();
    const auto line = rows.size() == 1 ? mModel->lineAt(rows.front().row()) : nullptr;
    mNewAccount(line, mActions.accountFromLine(line.get()));
}

void ImportPage::newExpenseType()
{
    if (!mNewCategory) return;
    const QModelIndexList rows = mTable->selectionModel()->selectedRows();
    const auto line = rows.size() == 1 ? mModel->lineAt(rows.front().row()) : nullptr;
    mNewCategory(line, mActions.accountFromLine(line.get()));
}

void ImportPage::setDefaultCategory()
{
    const auto line = currentImportedTransaction();
    if (!line) return;
    const ImportPageActions::DefaultCategoryOutcome outcome = mActions.setDefaultCategoryFromLine(*line);
    if (outcome.set) refreshRows();
    if (CErrorManager::GetMode()) return;
    if (outcome.set)
        showInfoText(outcome.message);
    else
        showErrorText(outcome.message);
}

void ImportPage::setSelectionNotDouble()
{
    if (const auto line = currentImportedTransaction()) {
        ImportPageActions::setSelectionNotDouble(*line);
        const int row = mModel->rowOf(line.get());
        emit mModel->dataChanged(mModel->index(row, 0), mModel->index(row, mModel->columnCount() - 1));
    }
}

} // namespace ch
