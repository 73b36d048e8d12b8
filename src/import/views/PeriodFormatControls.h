#pragma once
// The controls the export and QIF-import sheets share: a from and a to date
// field (cleared to blank: no date) and the three format choices, tagged 0
// (tab-separated text), 1 (tab-separated text of one account) and 2 (QIF).

class QButtonGroup;
class QDateEdit;
class QVBoxLayout;
class QWidget;

namespace ch {

struct PeriodFormatControls {
    QDateEdit* from = nullptr;       // "dateFromField"
    QDateEdit* to = nullptr;         // "dateToField"
    QButtonGroup* formats = nullptr; // "exportFormatMatrix"
    QVBoxLayout* formatLayout = nullptr;
};

PeriodFormatControls makePeriodFormatControls(QWidget* sheet);

} // namespace ch
