#pragma once
// The new-document assistant's window over a new document's window
// (window-modal): the standard set, then the currencies, accounts and
// categories to start with, each page a table of proposed entries (ticked,
// named, with symbol or group, balance and default where the page has them)
// and the list of those taken over; Previous, Next and Cancel. The
// assistant itself (NewDocumentAssistant) decides the pages and checks;
// the closing page's Next hands its plan over with planReady.
//
// Outlets by name: "setPopup", "proposedTable", "selectedList",
// "takeButton", "takeAllButton", "removeButton", "addButton",
// "previousButton", "nextButton", "cancelButton".

#include <QDialog>

#include "document/app/NewDocumentAssistant.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QTableWidgetItem;
class QTextBrowser;

namespace ch {

class UserDefaults;

class NewDocumentAssistantDialog : public QDialog {
    Q_OBJECT

public:
    NewDocumentAssistantDialog(const UserDefaults& defaults, QWidget* window);
    ~NewDocumentAssistantDialog() override;

    NewDocumentAssistant& assistant() { return mAssistant; }
    QTableWidget* proposedTable() const { return mProposed; }

signals:
    void planReady(const NewDocumentPlan& plan);

public slots:
    void next();
    void previous();
    void reject() override;

private:
    void refresh();
    void fillTables();
    void proposedChanged(QTableWidgetItem* item);

    NewDocumentAssistant mAssistant;
    QLabel* mStage;
    QTextBrowser* mExplanation;
    QStackedWidget* mPages;
    QComboBox* mSetPopup;
    QTableWidget* mProposed;
    QListWidget* mSelected;
    QPushButton* mPrevious;
    QPushButton* mNext;
    bool mFilling = false;
};

} // namespace ch
