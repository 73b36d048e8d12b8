#pragma once
// How tall a tab page must be to show all its controls: the lowest bottom
// edge among its direct child widgets (0 without any).

class QWidget;

namespace ch {

class CTabsheetExaminator {
public:
    static double calculateHeight(const QWidget* tabPage);
};

} // namespace ch
