#pragma once
// CQIFImportController: a sheet prepared for choosing the account, the period
// and the format of a QIF import. Its account list holds the document's
// accounts ("DOCUMENT"); closing it changes nothing. The document's QIF import
// reads the file without asking, so nothing opens this sheet yet.

#include "ui/sheets/CPopupWindowAncestor.h"

class QButtonGroup;

namespace ch {

class CDateEditField;
class CPopupList;

class CQIFImportController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    explicit CQIFImportController(QWidget* parent = nullptr);

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override { return true; }
    void dialogClosed(int, const SheetParameters&) override {}

    // Fills the account list from the document of the parameters.
    void fillPopups();

    CDateEditField* dateFromField = nullptr;
    CDateEditField* dateToField = nullptr;
    CPopupList* limitingAccountPopup = nullptr;
    QButtonGroup* exportFormatMatrix = nullptr;
};

} // namespace ch
