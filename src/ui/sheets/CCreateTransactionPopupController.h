#pragma once
// The transaction entry sheet (see TransactionEntryLogic): name, document
// reference, date, currency and total, and the from, to and for lines in
// three detail tables. Leaving a table forwards with Tab adds a line for
// what its side lacks and stays there; otherwise the focus moves on (from ->
// to -> for -> name). A new account or category asked for from a cell is
// created by a nested sheet whose call-back writes the new id into that
// row. "OK and Next" books the transaction and offers a new one.

#include <functional>
#include <memory>

#include "platform/core/observable.h"
#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/sheets/CTransactionDetailTableView.h"
#include "ui/sheets/TransactionEntryLogic.h"

class QPushButton;
class QVBoxLayout;

namespace ch {

class CAmountField;
class CDateEditField;
class CPopupList;
class CTextField;
class TransactionLinesModel;

class CCreateTransactionPopupController : public CPopupWindowAncestor,
                                          public TransactionDetailTableDelegate,
                                          public CallbackReceiver {
    Q_OBJECT

public:
    explicit CCreateTransactionPopupController(QWidget* parent = nullptr, bool recurring = false);
    ~CCreateTransactionPopupController() override;

    // Opens the nested sheet for a new account (true) or category (false)
    // with the parameters the sheet filled; set by the document's window.
    std::function<void(bool account, const SheetParameters& parameters)> newObjectRequested;

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override;
    void dialogClosed(int returnCode, const SheetParameters& context) override;
    const TransactionEntryLogic& logic() const { return mLogic; }

    // --- the detail tables' requests
    void setObjectIdT(long objectId, CTransactionDetailTableView* table, int row, bool isAccount) override;
    void setAmount(double amount, CTransactionDetailTableView* table, int row) override;
    CTransactionDetailTableView* getNextControlForTable(CTransactionDetailTableView* table, int movement) override;
    void balanceTransactionDetailFromTable(CTransactionDetailTableView* table, int row) override;
    void createNewObjectForTable(CTransactionDetailTableView* table, int row) override;
    void tableGotFocus(CTransactionDetailTableView* table) override;

    // Fills a nested sheet's call-back keys for the table that asked.
    void completeDialogParameters(SheetParameters& parameters);
    // "setFromAccountId:", "setToAccountId:", "setForAccountId:".
    bool performCallback(std::string_view selectorName, const std::shared_ptr<Dictionary>& arguments) override;

public slots:
    void controlOkClicked();

protected:
    // The recurring sheet puts its schedule below the lines.
    void addBelowLines(QWidget* widget);
    virtual void loadSchedule() {}
    virtual void storeSchedule() {}
    CDateEditField* dateField() const { return mDateField; }
    TransactionEntryLogic mLogic;

private:
    CTransactionDetailTableView* makeTable(const char* name, const char* titleKey, FourCharCode side,
                                           QVBoxLayout* into);
    void loadFields();
    void storeFields();
    void reloadTables();
    void goToTable(CTransactionDetailTableView* target, bool atEnd, CTransactionDetailTableView* source);
    void selectNewRow(int row, CTransactionDetailTableView* table);
    FourCharCode sideOf(const CTransactionDetailTableView* table) const;
    void observeDocument();

    CTextField* mNameField;
    CTextField* mDocumentField;
    CDateEditField* mDateField;
    CPopupList* mCurrencyField;
    CAmountField* mAmountField;
    CTransactionDetailTableView* mFromTable;
    CTransactionDetailTableView* mToTable;
    CTransactionDetailTableView* mForTable;
    QPushButton* mControlOkButton;
    QVBoxLayout* mLayout;
    CTransactionDetailTableView* currentTable = nullptr;
    int curentRow = 0;
    std::vector<Subscription> mSubscriptions;
    SheetDocument* mObservedDocument = nullptr;
    bool mLoading = false;
};

} // namespace ch
