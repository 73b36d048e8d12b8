#pragma once
// The side bar's quick entry: date, the other account (a profit-and-loss
// account), our account (an own-property account), amount and name, and a
// button titled after the kind of transaction they make. The fields follow
// the side bar's quick-entry arguments both ways; the button books through
// the side bar and hands the focus to the field it names.

#include <QWidget>

#include <vector>

#include "platform/core/observable.h"
#include "ui/sheets/QuickEntryLogic.h"

class QFormLayout;
class QPushButton;

namespace ch {

class CAmountField;
class CDateEditField;
class CPopupList;
class CSideBarController;
class CTextField;

class QuickEntryPane : public QWidget {
    Q_OBJECT

public:
    explicit QuickEntryPane(CSideBarController& controller, QWidget* parent = nullptr);
    ~QuickEntryPane() override;

    // What the fields hold now, as the booking reads them.
    QuickEntryFields fields() const;
    // The button's action: ends the editing of every field (what they show
    // is booked), books, and puts the focus where the outcome says.
    void newFastTransactionPressed();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Labels beside their fields while both fit, else above them: a label is
    // never cut, however narrow the side bar.
    void arrangeRows();
    void showArguments();
    QWidget* fieldFor(QuickEntryField field) const;

    CSideBarController& mController;
    QFormLayout* mForm = nullptr;
    CDateEditField* mDate;
    CPopupList* mOtherAccount;
    CPopupList* mOurAccount;
    CAmountField* mAmount;
    CTextField* mName;
    QPushButton* mBook;
    bool mShowing = false;
    std::vector<Subscription> mSubscriptions;
};

} // namespace ch
