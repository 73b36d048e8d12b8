#include "ui/sheets/CCreateRecurringTrnsPopupController.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>

#include "bridge/CRcrTItem.h"
#include "model/foundation/CDate.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CDateEditField.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

namespace {

constexpr const char* kKindKeys[] = {"TypeManual",  "TypeOnce",   "TypeWeekly", "TypeSeveralTimesAWeek",
                                     "TypeMonthly", "TypeSeveralTimesAMonth", "TypeYearly", "TypeSeveralTimesAYear"};
constexpr const char* kWeekdayKeys[] = {"WEEKDAYMONDAY", "WEEKDAYTUESDAY",  "WEEKDAYWEDNESDAY", "WEEKDAYTHURSDAY",
                                        "WEEKDAYFRIDAY", "WEEKDAYSATURDAY", "WEEKDAYSUNDAY"};
constexpr const char* kWeekOfMonthKeys[] = {"WEEKOFMONTHFIRST", "WEEKOFMONTHSECOND", "WEEKOFMONTHTHIRD",
                                            "WEEKOFMONTHLAST"};
constexpr int kWeekly = 2;
constexpr int kSeveralTimesAWeek = 3;
constexpr int kMonthly = 4;
constexpr int kSeveralTimesAMonth = 5;
constexpr int kSeveralTimesAYear = 7;

QSpinBox* makeNumberField(QWidget* parent, const char* outletName, int minimum, int maximum)
{
    auto* field = new QSpinBox(parent);
    field->setObjectName(QString::fromLatin1(outletName));
    field->setRange(minimum, maximum);
    field->setMaximumWidth(80);
    return field;
}

// The weekday a monthly schedule of weekdays books on, 0 Monday .. 6
// Sunday: the first one flagged from Monday to Saturday, else Sunday when
// flagged, else Saturday.
int weekdayOfMonth(const CRcrTItem& item)
{
    for (int day = 1; day <= 6; ++day)
        if (item.weekday(day).value_or(0) != 0)
            return day - 1;
    return item.weekday(7).value_or(0) != 0 ? 6 : 5;
}

} // namespace

CCreateRecurringTrnsPopupController::CCreateRecurringTrnsPopupController(QWidget* parent)
    : CCreateTransactionPopupController(parent, true)
{
    auto* schedule = new QWidget(this);
    auto* form = makeSheetForm();
    form->setContentsMargins(0, 8, 0, 0);
    periodicityPopup = new QComboBox(schedule);
    periodicityPopup->setObjectName(QStringLiteral("periodicityPopup"));
    for (const char* key : kKindKeys)
        periodicityPopup->addItem(localizedText(key));
    form->addRow(localizedText("RECURRENCE"), periodicityPopup);

    recurringDetailsTab = new QStackedWidget(schedule);
    recurringDetailsTab->setObjectName(QStringLiteral("recurringDetailsTab"));
    std::array<QWidget*, 8> pages{};
    for (int kind = 0; kind < 8; ++kind) {
        pages[kind] = new QWidget(recurringDetailsTab);
        pages[kind]->setObjectName(QString::number(kind));
        recurringDetailsTab->addWidget(pages[kind]);
    }
    // One row of weekdays, moved to the page of the weekly kind shown.
    mWeekdays = new QWidget(pages[kWeekly]);
    auto* weekdayRow = new QHBoxLayout(mWeekdays);
    weekdayRow->setContentsMargins(0, 0, 0, 0);
    for (int day = 0; day < 7; ++day) {
        mWeekdayChecks[day] = new QCheckBox(localizedText(kWeekdayKeys[day]), mWeekdays);
        mWeekdayChecks[day]->setObjectName(QStringLiteral("weekday%1").arg(day + 1));
        weekdayRow->addWidget(mWeekdayChecks[day]);
    }
    weekdayRow->addStretch(1);
    for (int kind : {kWeekly, kSeveralTimesAWeek}) {
        auto* row = new QHBoxLayout(pages[kind]);
        row->setContentsMargins(0, 0, 0, 0);
    }
    pages[kWeekly]->layout()->addWidget(mWeekdays);

    // Monthly: on a day of the month, or on a weekday of a week of the month.
    auto* monthly = new QGridLayout(pages[kMonthly]);
    monthly->setContentsMargins(0, 0, 0, 0);
    mOnDayOfMonth = new QRadioButton(localizedText("DAYOFMONTH"), pages[kMonthly]);
    mOnDayOfMonth->setObjectName(QStringLiteral("onDayOfMonth"));
    mDayOfMonthField = makeNumberField(pages[kMonthly], "dayOfMonthField", 1, 31);
    mOnWeekdayOfMonth = new QRadioButton(localizedText("WEEKDAYOFMONTH"), pages[kMonthly]);
    mOnWeekdayOfMonth->setObjectName(QStringLiteral("onWeekdayOfMonth"));
    mWeekOfMonthPopup = new QComboBox(pages[kMonthly]);
    mWeekOfMonthPopup->setObjectName(QStringLiteral("weekOfMonthPopup"));
    for (const char* key : kWeekOfMonthKeys)
        mWeekOfMonthPopup->addItem(localizedText(key));
    mWeekdayOfMonthPopup = new QComboBox(pages[kMonthly]);
    mWeekdayOfMonthPopup->setObjectName(QStringLiteral("weekdayOfMonthPopup"));
    for (const char* key : kWeekdayKeys)
        mWeekdayOfMonthPopup->addItem(localizedText(key));
    // Wide enough for every entry, in the field and in its list.
    for (QComboBox* popup : {mWeekOfMonthPopup, mWeekdayOfMonthPopup}) {
        popup->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        popup->view()->setMinimumWidth(popup->view()->sizeHintForColumn(0) + 2 * popup->view()->frameWidth());
    }
    monthly->addWidget(mOnDayOfMonth, 0, 0);
    monthly->addWidget(mDayOfMonthField, 0, 1);
    monthly->addWidget(mOnWeekdayOfMonth, 1, 0);
    auto* weekdayOfMonth = new QHBoxLayout;
    weekdayOfMonth->addWidget(mWeekOfMonthPopup);
    weekdayOfMonth->addWidget(mWeekdayOfMonthPopup);
    weekdayOfMonth->addStretch(1);
    monthly->addLayout(weekdayOfMonth, 1, 1);
    monthly->setColumnStretch(2, 1);
    // Editing a way of counting chooses it, even when the day typed is the
    // one shown (the field then tells no change of value).
    auto chooseDay = [this] {
        mDayFollowsDate = false;
        mOnDayOfMonth->setChecked(true);
    };
    connect(mDayOfMonthField, &QSpinBox::valueChanged, mOnDayOfMonth, chooseDay);
    if (QLineEdit* dayText = mDayOfMonthField->findChild<QLineEdit*>())
        connect(dayText, &QLineEdit::textEdited, mOnDayOfMonth, chooseDay);
    for (QComboBox* popup : {mWeekOfMonthPopup, mWeekdayOfMonthPopup})
        connect(popup, &QComboBox::activated, mOnWeekdayOfMonth, [this] { mOnWeekdayOfMonth->setChecked(true); });
    auto* everyNDays = new QFormLayout(pages[kSeveralTimesAMonth]);
    everyNDays->setContentsMargins(0, 0, 0, 0);
    mEveryNDaysField = makeNumberField(pages[kSeveralTimesAMonth], "everyNDaysField", 1, 366);
    everyNDays->addRow(localizedText("EVERYNDAYS"), mEveryNDaysField);

    auto* yearly = new QVBoxLayout(pages[kSeveralTimesAYear]);
    yearly->setContentsMargins(0, 0, 0, 0);
    auto* timesRow = new QFormLayout;
    numberOfTimesPerYearField = makeNumberField(pages[kSeveralTimesAYear], "numberOfTimesPerYearField", 0, 12);
    timesRow->addRow(localizedText("TIMESPERYEAR"), numberOfTimesPerYearField);
    yearly->addLayout(timesRow);
    auto* dates = new QGridLayout;
    dates->setHorizontalSpacing(10);
    for (int i = 0; i < 12; ++i) {
        dateOfYear[i] = new CDateEditField(pages[kSeveralTimesAYear]);
        dateOfYear[i]->setObjectName(QStringLiteral("dateOfYear%1").arg(i + 1));
        dateOfYear[i]->setMaximumWidth(110);
        auto* label = new QLabel(localizedText("DATEOFYEAR").replace(QStringLiteral("%@"), QString::number(i + 1)),
                                 pages[kSeveralTimesAYear]);
        dates->addWidget(label, i % 4, (i / 4) * 2, Qt::AlignRight);
        dates->addWidget(dateOfYear[i], i % 4, (i / 4) * 2 + 1);
    }
    yearly->addLayout(dates);
    form->addRow(QString(), recurringDetailsTab);
    mAutomaticApprovalCheck = new QCheckBox(localizedText("AUTOMATICAPPROVAL"), schedule);
    mAutomaticApprovalCheck->setObjectName(QStringLiteral("automaticApprovalCheck"));
    form->addRow(QString(), mAutomaticApprovalCheck);
    schedule->setLayout(form);
    addBelowLines(schedule);

    connect(periodicityPopup, &QComboBox::currentIndexChanged, this, &CCreateRecurringTrnsPopupController::setPeriodicity);
    connect(dateField(), &QLineEdit::textChanged, this, &CCreateRecurringTrnsPopupController::followDate);
    connect(numberOfTimesPerYearField, &QSpinBox::valueChanged, this,
            &CCreateRecurringTrnsPopupController::enableNumberOfTimesPerYear);
}

void CCreateRecurringTrnsPopupController::setPeriodicity(int kind)
{
    if (kind < 0 || kind >= recurringDetailsTab->count())
        return;
    if (kind == kWeekly || kind == kSeveralTimesAWeek) {
        QWidget* page = recurringDetailsTab->widget(kind);
        if (mWeekdays->parentWidget() != page) {
            mWeekdays->setParent(page);
            page->layout()->addWidget(mWeekdays);
            mWeekdays->show();
        }
    }
    // The schedule takes the height of the page shown, not of the tallest.
    for (int page = 0; page < recurringDetailsTab->count(); ++page)
        recurringDetailsTab->widget(page)->setSizePolicy(page == kind ? QSizePolicy::Preferred : QSizePolicy::Ignored,
                                                         page == kind ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    recurringDetailsTab->setCurrentIndex(kind);
    recurringDetailsTab->adjustSize();
    if (periodicityPopup->currentIndex() != kind)
        periodicityPopup->setCurrentIndex(kind);
}

void CCreateRecurringTrnsPopupController::followDate()
{
    if (!mDayFollowsDate)
        return;
    const DateT date = dateField()->getDateT();
    if (date <= 0)
        return;
    const QSignalBlocker blockDay(mDayOfMonthField);
    mDayOfMonthField->setValue(static_cast<int>(CDate::GetDayFromDateT(date)));
}

void CCreateRecurringTrnsPopupController::enableNumberOfTimesPerYear(int n)
{
    for (int i = 0; i < 12; ++i)
        dateOfYear[i]->setEnabled(i < n);
}

void CCreateRecurringTrnsPopupController::loadSchedule()
{
    auto item = std::dynamic_pointer_cast<CRcrTItem>(mLogic.temporaryTransaction());
    if (!item) {
        enableNumberOfTimesPerYear(1);
        return;
    }
    const QSignalBlocker blockTimes(numberOfTimesPerYearField);
    const QSignalBlocker blockDay(mDayOfMonthField);
    const int kind = item->mRecurringType().value_or(0);
    const int times = item->mNumberOfTimesPerYear().value_or(0);
    for (int day = 0; day < 7; ++day)
        mWeekdayChecks[day]->setChecked(item->weekday(day + 1).value_or(0) != 0);
    const long dayOfMonth = item->mDayOfMonth().value_or(1);
    mEveryNDaysField->setValue(static_cast<int>(dayOfMonth));
    // Only a monthly template has chosen its way of counting; any other
    // (a new one too) offers the day of its date, as the date field shows it.
    mDayFollowsDate = kind != kMonthly;
    if (mDayFollowsDate) {
        mOnDayOfMonth->setChecked(true);
        followDate();
    } else {
        mDayOfMonthField->setValue(static_cast<int>(dayOfMonth));
        (item->mMonthlyType().value_or(0) == 0 ? mOnDayOfMonth : mOnWeekdayOfMonth)->setChecked(true);
    }
    mWeekOfMonthPopup->setCurrentIndex(std::clamp(item->mWeekType().value_or(0), 0, 3));
    mWeekdayOfMonthPopup->setCurrentIndex(weekdayOfMonth(*item));
    mAutomaticApprovalCheck->setChecked(item->mAutomaticApproval().value_or(true));
    numberOfTimesPerYearField->setValue(times);
    for (int i = 0; i < 12; ++i) {
        const long date = item->mDateOfYear(i + 1).value_or(0);
        if (date > 0)
            dateOfYear[i]->setDateT(static_cast<DateT>(date));
        else
            dateOfYear[i]->clear();
    }
    setPeriodicity(kind);
    enableNumberOfTimesPerYear(times);
}

void CCreateRecurringTrnsPopupController::storeSchedule()
{
    auto item = std::dynamic_pointer_cast<CRcrTItem>(mLogic.temporaryTransaction());
    if (!item)
        return;
    const int kind = periodicityPopup->currentIndex();
    item->setMRecurringType(kind);
    if (kind == kWeekly || kind == kSeveralTimesAWeek) {
        // A weekly schedule keeps one day: the first ticked.
        for (int day = 0; day < 7; ++day)
            item->setWeekday(day + 1, 0);
        for (int day = 0; day < 7; ++day)
            if (mWeekdayChecks[day]->isChecked()) {
                item->setWeekday(day + 1, 1);
                if (kind == kWeekly)
                    break;
            }
    }
    if (kind == kMonthly) {
        const bool onDay = mOnDayOfMonth->isChecked();
        item->setMMonthlyType(onDay ? 0 : 1);
        if (onDay) {
            item->setMDayOfMonth(mDayOfMonthField->value());
        } else {
            item->setMWeekType(mWeekOfMonthPopup->currentIndex());
            // The one weekday flagged (setting it clears the others).
            item->setWeekday(mWeekdayOfMonthPopup->currentIndex() + 1, 1);
        }
    } else if (kind == kSeveralTimesAMonth)
        item->setMDayOfMonth(mEveryNDaysField->value());
    item->setMAutomaticApproval(mAutomaticApprovalCheck->isChecked());
    const int times = numberOfTimesPerYearField->value();
    item->setMNumberOfTimesPerYear(times);
    for (int i = 0; i < 12; ++i)
        item->setMDateOfYear(i + 1, i < times && dateOfYear[i]->getDateT() > 0
                                        ? std::optional<long>(dateOfYear[i]->getDateT())
                                        : std::optional<long>(0));
}

} // namespace ch
