#pragma once
// The category-group sheet (see CategoryGroupSheetLogic): a name, the kind
// (income, expense or transfer) and the group it sits in.

#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/sheets/ChartSheetLogic.h"

class QButtonGroup;
class QLabel;

namespace ch {

class CPopupList;
class CTextField;

class CNewMasterExpenseTypeController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    explicit CNewMasterExpenseTypeController(QWidget* parent = nullptr);

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override;
    void dialogClosed(int returnCode, const SheetParameters& context) override;

private:
    CategoryGroupSheetLogic mLogic;
    QLabel* idField;
    CTextField* nameField;
    QLabel* balanceField;
    QButtonGroup* masterTypeField;
    CPopupList* parentTypeField;
};

} // namespace ch
