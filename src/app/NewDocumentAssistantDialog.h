#pragma once
// The new-document assistant's window over a new document's window
// (window-modal): the standard set, then the currencies, accounts and
// categories to start with, each page a table of proposed entries (ticked,
// named, with symbol or group, balance and default where the page has them)
// beside the list of those taken over; the thirteen stages down the side,
// the page's icon, title and number at the top; Previous, Next (Create on
// the closing page) and Cancel. The assistant itself (NewDocumentAssistant)
// decides the pages and checks; the closing page's Create hands its plan
// over with planReady.
//
// Ticking an entry takes it over at once, so that the selected list always
// shows what Next will keep; dragging rows onto the other list takes them
// over or gives them back.
//
// Outlets by name: "setPopup", "proposedTable", "selectedList",
// "proposedSearchField", "selectedSearchField", "selectAllBox",
// "takeAllButton", "removeButton", "removeAllButton", "addButton",
// "pageIcon", "pageTitle", "pageCounter", "explanation", "stageStrip",
// "summary", "previousButton", "nextButton", "cancelButton",
// "doNotShowMeButton".

#include <QDialog>

#include "app/AssistantListViews.h"
#include "document/app/NewDocumentAssistant.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableWidgetItem;

namespace ch {

class AssistantStageStrip;
class UserDefaults;

class NewDocumentAssistantDialog : public QDialog {
    Q_OBJECT

public:
    NewDocumentAssistantDialog(UserDefaults& defaults, QWidget* window);
    ~NewDocumentAssistantDialog() override;

    NewDocumentAssistant& assistant() { return mAssistant; }
    AssistantProposedTable* proposedTable() const { return mProposed; }
    AssistantSelectedList* selectedList() const { return mSelected; }

    // The edited balance cell's text, read as an amount field reads it;
    // unreadable text is refused with the converter's alert.
    void commitBalance(std::size_t entry, const QString& text);

signals:
    void planReady(const NewDocumentPlan& plan);

public slots:
    void next();
    void previous();
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void fillTables();
    void refillLater();
    void proposedChanged(QTableWidgetItem* item);
    void rememberShowing();
    void clearSelections();

    UserDefaults& mDefaults;
    NewDocumentAssistant mAssistant;
    AssistantStageStrip* mStages;
    QLabel* mIcon;
    QLabel* mTitle;
    QLabel* mCounter;
    QLabel* mExplanation;
    QStackedWidget* mPages;
    QComboBox* mSetPopup;
    QLineEdit* mProposedSearch;
    QLineEdit* mSelectedSearch;
    QCheckBox* mSelectAll;
    AssistantProposedTable* mProposed;
    AssistantSelectedList* mSelected;
    QPushButton* mAdd;
    QLabel* mSummary;
    QCheckBox* mDoNotShow;
    QPushButton* mPrevious;
    QPushButton* mNext;
    bool mFilling = false;
    bool mRefillQueued = false;
};

} // namespace ch
