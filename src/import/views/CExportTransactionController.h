#pragma once
// CExportTransactionController: the sheet that asks for the period and the
// format of a transaction export. It opens on the last complete month
// before today, limited to the account or category it was opened for
// ("ACNTNAME", "ACNTTYPE"); QIF is the choice with tag 2, any other tag
// means tab-separated text. On OK the exporter receives the period (an
// empty end date means no upper limit, 99999999), the format and the item.

#include <functional>

#include "model/foundation/ModelTypes.h"
#include "platform/core/clock.h"
#include "ui/sheets/CPopupWindowAncestor.h"

class QButtonGroup;
class QLabel;

namespace ch {

class CDateEditField;
class CNonVisualDataItem;

// What the sheet is opened with for an export from the item: its name and
// the item itself ("ACNTNAME", "ACNTTYPE") when its object is an account, a
// category, an account type or a category group; nothing else (the whole
// books) for any other item or none.
SheetParameters exportSheetParameters(const std::shared_ptr<CNonVisualDataItem>& item);

class CExportTransactionController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    using Exporter = std::function<void(const std::shared_ptr<CNonVisualDataItem>& item, DateT from, DateT to,
                                        bool asQif)>;

    explicit CExportTransactionController(Exporter exporter, QWidget* parent = nullptr);

    // The first and last day of the month before the one of `today`.
    static std::pair<DateT, DateT> lastCompleteMonth(CalendarDate today);

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override { return true; }
    void dialogClosed(int returnCode, const SheetParameters& context) override;

    CDateEditField* dateFromField = nullptr;
    CDateEditField* dateToField = nullptr;
    QLabel* limitingAccountText = nullptr;
    QButtonGroup* exportFormatMatrix = nullptr;

private:
    Exporter mExporter;
};

} // namespace ch
