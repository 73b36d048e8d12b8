#pragma once
// ImportPage: the document window's "Import" tab. It shows the document's
// pending statement lines; the user accepts or refuses each, makes what the
// lines lack (the own account a line names, a counter account, a category,
// an account's default category), declares a line no duplicate, and books
// the accepted lines (each one command 31) or drops them all.
//
// The new-account and new-category sheets belong to the window: it hands
// them in as handlers; without one the button stays disabled.
//
// Actions that need one line take the single selected line; with none or
// several selected they raise error 227. Main thread only.

#include <QWidget>

#include <functional>
#include <memory>

#include "import/ImportPageActions.h"
#include "platform/core/notification_center.h"

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

    CImportedTransactionArrayController& model() const { return *mModel; }
    QTableView* table() const { return mTable; }
    ImportPageActions& actions() { return mActions; }

    // The single selected line; error 227 and null otherwise.
    std::shared_ptr<CImpTItem> currentImportedTransaction();

public slots:
    // Reads the document's pending lines again.
    void reload();
    void doActualImport();
    void cancelImport();
    void newPropertyAccount();
    void newPLAccount();
    void newExpenseType();
    // The current line's category becomes its counter account's default.
    void setDefaultCategory();
    void setSelectionNotDouble();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateButtons();

    MyDocument& mDocument;
    ImportPageActions mActions;
    CImportedTransactionArrayController* mModel;
    QTableView* mTable;
    QPushButton* mNewAccountButton;
    QPushButton* mNewCategoryButton;
    LineHandler mNewAccount;
    LineHandler mNewCategory;
    std::vector<Subscription> mSubscriptions;
};

} // namespace ch
