#pragma once
// The category sheet (see CategorySheetLogic). The group pop-up is offered
// unless the opener preset the group.

#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/sheets/ChartSheetLogic.h"

class QLabel;

namespace ch {

class CAmountField;
class CPopupList;
class CTextField;

class CNewExpenseTypeController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    explicit CNewExpenseTypeController(QWidget* parent = nullptr);

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override;
    void dialogClosed(int returnCode, const SheetParameters& context) override;

private:
    CategorySheetLogic mLogic;
    QLabel* idField;
    CTextField* nameField;
    CTextField* descriptionField;
    CAmountField* taxDeductiblePctField;
    QLabel* balanceField;
    CPopupList* masterTypeField;
};

} // namespace ch
