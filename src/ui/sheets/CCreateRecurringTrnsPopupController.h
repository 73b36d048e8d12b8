#pragma once
// The recurring transaction sheet: the transaction sheet over a recurring
// transaction (created with command 25), with its schedule below the lines:
// the kind of recurrence (0 manual .. 7 several times a year) chooses the
// page of recurringDetailsTab; the weekdays, the monthly date (a day of the
// month, or a weekday of the first, second, third or last week: whichever
// was last chosen or edited; a template that is not monthly yet shows the
// day of its own date, following the date field until the day is typed),
// the number of times a year with as many of
// the twelve dates of the year enabled, and whether what falls due is
// booked at once or waits on the Generated page.

#include <array>

#include "ui/sheets/CCreateTransactionPopupController.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;
class QStackedWidget;

namespace ch {

class CDateEditField;

class CCreateRecurringTrnsPopupController : public CCreateTransactionPopupController {
    Q_OBJECT

public:
    explicit CCreateRecurringTrnsPopupController(QWidget* parent = nullptr);

    // Disables the twelve dates, then enables the first n of them.
    void enableNumberOfTimesPerYear(int n);

public slots:
    // The page of the recurrence kind.
    void setPeriodicity(int kind);

protected:
    void loadSchedule() override;
    void storeSchedule() override;

private:
    // The day of the template's date in the day field, while it follows.
    void followDate();

    QComboBox* periodicityPopup;
    QStackedWidget* recurringDetailsTab;
    QWidget* mWeekdays;
    std::array<QCheckBox*, 7> mWeekdayChecks{};
    QRadioButton* mOnDayOfMonth;
    QSpinBox* mDayOfMonthField;
    QRadioButton* mOnWeekdayOfMonth;
    QComboBox* mWeekOfMonthPopup;
    QComboBox* mWeekdayOfMonthPopup;
    QCheckBox* mAutomaticApprovalCheck;
    QSpinBox* mEveryNDaysField;
    QSpinBox* numberOfTimesPerYearField;
    std::array<CDateEditField*, 12> dateOfYear{};
    // Whether the day of the month follows the template's date.
    bool mDayFollowsDate = false;
};

} // namespace ch
