#pragma once
// The controls the export and QIF-import sheets share: a from and a to date
// field (the application's date fields: dates typed and shown in the user's
// short format; empty: no date) and the three format choices, tagged 0
// (tab-separated text), 1 (tab-separated text of one account) and 2 (QIF).

class QButtonGroup;
class QVBoxLayout;
class QWidget;

namespace ch {

class CDateEditField;

struct PeriodFormatControls {
    CDateEditField* from = nullptr;  // "dateFromField"
    CDateEditField* to = nullptr;    // "dateToField"
    QButtonGroup* formats = nullptr; // "exportFormatMatrix"
    QVBoxLayout* formatLayout = nullptr;
};

PeriodFormatControls makePeriodFormatControls(QWidget* sheet);

} // namespace ch
