#pragma once
// The base of the owners page's sheets (invoice, payment, split, invoice
// search): what a sheet is opened for, and the owner's callback when it
// closed with OK. Each sheet checks its values with the headless checks,
// raises the numbered error of the first refused value and stays open.

#include <functional>
#include <memory>

#include "ui/sheets/CPopupWindowAncestor.h"

namespace ch {
class CAcoWItem;
class CTrnSItem;
class MyDocument;
} // namespace ch

namespace ch::business {

// What every business sheet is opened for.
struct BusinessSheetContext {
    MyDocument* document = nullptr;
    bool customer = true;                       // "OWNERTYPE"
    std::shared_ptr<CAcoWItem> owner;           // "OWNERID"
    std::shared_ptr<CTrnSItem> objectToModify;  // "OBJECTTOMODIFY"; none: "CREATE"
};

// Runs when the sheet closed with OK.
using SheetAccepted = std::function<void()>;

class BusinessSheet : public CPopupWindowAncestor {
    Q_OBJECT
public:
    explicit BusinessSheet(QWidget* parent) : CPopupWindowAncestor(parent) {}
    void setAccepted(SheetAccepted accepted) { mAccepted = std::move(accepted); }
    void dialogClosed(int returnCode, const SheetParameters& context) override;
    const BusinessSheetContext& context() const { return mContext; }

protected:
    // Raises the error and answers false when there is one.
    static bool refuse(long error);
    BusinessSheetContext mContext;

private:
    SheetAccepted mAccepted;
};

} // namespace ch::business
