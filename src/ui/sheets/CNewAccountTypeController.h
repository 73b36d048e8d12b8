#pragma once
// The account-type sheet (see AccountTypeSheetLogic). The kind is shown, not
// chosen.

#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/sheets/ChartSheetLogic.h"

class QLabel;

namespace ch {

class CPopupList;
class CTextField;

class CNewAccountTypeController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    explicit CNewAccountTypeController(QWidget* parent = nullptr);

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override;
    void dialogClosed(int returnCode, const SheetParameters& context) override;

private:
    AccountTypeSheetLogic mLogic;
    QLabel* idField;
    CTextField* nameField;
    CTextField* classifiactionNumber;
    CPopupList* masterTypePopup;
    CTextField* descriptionField;
    QLabel* localBalance;
};

} // namespace ch
