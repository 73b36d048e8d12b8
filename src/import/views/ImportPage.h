#pragma once
// ImportPage: the document window's "Import" tab. It shows the document's
// pending statement lines; the user accepts or refuses each, sets a line's
// date, own account, counter account, category and counterparty in the
// table, chooses the own account a statement names (or makes it), makes
// what the lines lack (a counter account, a category, an owner, an
// account's default category), declares a line no duplicate, and books the
// accepted lines (each one command 31, then a word on how many were booked
// and why the others were not) or drops them all.
//
// The new-account, new-category and new-owner sheets belong to the window:
// it hands them in as handlers; without one the button stays disabled.
//
// "Own Account" acts on every selected line; the other actions that need a
// line take the single selected one. Without (a single) selected line they
// raise error 227. "Default Category" says what it set. Main thread only.

#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "import/ImportPageActions.h"
#include "platform/core/notification_center.h"

class QMenu;
class QPushButton;
class QTableView;

namespace ch {

class CImpTItem;
class CImportedTransactionArrayController;
class MyDocument;

class ImportPage : public QWidget {
    Q_OBJECT

public:
    // Opens a sheet for the line (null: none selected).
    using LineHandler = std::function<void(const std::shared_ptr<CImpTItem>& line, const AccountFromLine& values)>;

    explicit ImportPage(MyDocument& document, QWidget* parent = nullptr);
    ~ImportPage() override;

    void setNewAccountHandler(LineHandler handler);
    void setNewCategoryHandler(LineHandler handler);
    // The window's new-owner sheet for the current line (it asks for the
    // line itself, through currentImportedTransaction).
    void setNewOwnerHandler(std::function<void()> handler);

    CImportedTransactionArrayController& model() const { return *mModel; }
    QTableView* table() const { return mTable; }
    // The menu of "Own Account": the books' own accounts, then a new one
    // named after the statement's number (when the selected lines name one
    // number). Filled for the selected lines when it opens.
    QMenu* ownAccountMenu() const { return mOwnAccountMenu; }
    ImportPageActions& actions() { return mActions; }

    // The single selected line; error 227 and null otherwise.
    std::shared_ptr<CImpTItem> currentImportedTransaction();

public slots:
    // Reads the document's pending lines again.
    void reload();
    void doActualImport();
    void cancelImport();
    // Opens the own-account menu for the selected lines (error 227 without).
    void newPropertyAccount();
    void newPLAccount();
    void newAccountOwner();
    void newExpenseType();
    // The current line's category becomes its counter account's default;
    // the user is told so, or what the line lacks.
    void setDefaultCategory();
    void setSelectionNotDouble();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateButtons();
    std::vector<std::shared_ptr<CImpTItem>> selectedLines() const;
    void fillOwnAccountMenu(const std::vector<std::shared_ptr<CImpTItem>>& lines);
    void refreshRows();

    MyDocument& mDocument;
    ImportPageActions mActions;
    CImportedTransactionArrayController* mModel;
    QTableView* mTable;
    QPushButton* mNewAccountButton;
    QPushButton* mNewCategoryButton;
    QPushButton* mNewOwnerButton;
    QPushButton* mOwnAccountButton;
    QMenu* mOwnAccountMenu;
    LineHandler mNewAccount;
    LineHandler mNewCategory;
    std::function<void()> mNewOwner;
    std::vector<Subscription> mSubscriptions;
};

} // namespace ch
