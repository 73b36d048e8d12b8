#include "import/views/ImportPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "document/MyDocument.h"
#include "import/CImpTItem.h"
#include "import/views/CImportedTransactionArrayController.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/localized_strings.h"
#include "ui/PageHeading.h"

namespace ch {

namespace {

QPushButton* button(const char* name, const char* textKey, QWidget* parent)
{
    auto* made = new QPushButton(QString::fromStdString(localized(textKey)), parent);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

} // namespace

ImportPage::ImportPage(MyDocument& document, QWidget* parent)
    : QWidget(parent), mDocument(document), mActions(document)
{
    setObjectName(QStringLiteral("ImportPage"));
    auto* heading = new PageHeading(this);
    heading->setTitle(QString::fromStdString(localized("IMPPAGETITLE")));
    heading->setSubtitle(QString::fromStdString(localized("IMPPAGESUBTITLE")));

    mModel = new CImportedTransactionArrayController(mActions, this);
    mTable = new QTableView(this);
    mTable->setObjectName(QStringLiteral("mImportedTransactionTable"));
    mTable->setModel(mModel);
    mTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    mTable->setAlternatingRowColors(true);
    mTable->verticalHeader()->hide();
    mTable->verticalHeader()->setDefaultSectionSize(22);
    mTable->horizontalHeader()->setStretchLastSection(true);
    mTable->setColumnWidth(CImportedTransactionArrayController::Accept, 60);
    mTable->setColumnWidth(CImportedTransactionArrayController::Complete, 50);
    mTable->setColumnWidth(CImportedTransactionArrayController::Title, 220);

    auto* ownAccount = button("mOwnAccountFromImportButton", "IMPOWNACCOUNTBUTTON", this);
    mNewAccountButton = button("mNewAccountFromImportButton", "IMPNEWACCOUNTBUTTON", this);
    mNewCategoryButton = button("mNewExpTFromImportButton", "IMPNEWCATEGORYBUTTON", this);
    auto* defaultCategory = button("mDefaultCategoryButton", "IMPDEFAULTCATEGORYBUTTON", this);
    auto* notDouble = button("mNotDoubleButton", "IMPNOTDOUBLEBUTTON", this);
    auto* cancel = button("mCancelImportButton", "IMPCANCELBUTTON", this);
    auto* book = button("mImportButton", "IMPBOOKBUTTON", this);
    book->setDefault(true);
    connect(ownAccount, &QPushButton::clicked, this, &ImportPage::newPropertyAccount);
    connect(mNewAccountButton, &QPushButton::clicked, this, &ImportPage::newPLAccount);
    connect(mNewCategoryButton, &QPushButton::clicked, this, &ImportPage::newExpenseType);
    connect(defaultCategory, &QPushButton::clicked, this, &ImportPage::setDefaultCategory);
    connect(notDouble, &QPushButton::clicked, this, &ImportPage::setSelectionNotDouble);
    connect(cancel, &QPushButton::clicked, this, &ImportPage::cancelImport);
    connect(book, &QPushButton::clicked, this, &ImportPage::doActualImport);

    auto* lineButtons = new QHBoxLayout;
    for (QPushButton* each : {ownAccount, mNewAccountButton, mNewCategoryButton, defaultCategory, notDouble})
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

void ImportPage::updateButtons()
{
    mNewAccountButton->setEnabled(bool(mNewAccount));
    mNewCategoryButton->setEnabled(bool(mNewCategory));
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
    mActions.bookAcceptedLines();
    reload();
}

void ImportPage::cancelImport()
{
    mDocument.statementImport().cancelImport();
    reload();
}

void ImportPage::newPropertyAccount()
{
    if (const auto line = currentImportedTransaction()) {
        mActions.createOwnAccount(*line);
        reload();
    }
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
    if (const auto line = currentImportedTransaction()) {
        const ObjectIdT account = line->mOtherAccountId();
        mActions.setExpenseTypeInAccount(account, line->mExpenseTypeId());
        reload();
    }
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
