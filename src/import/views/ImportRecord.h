#pragma once
// ImportRecord: a pending statement line as the object sheets see it
// ("IMPORTRECORD"): the account, category or owner a sheet makes for the
// line completes it through the line's setters. It also answers the sheets'
// call-back "setMOtherAccountId:" with the new id ("NEWKEY"). A line that
// left the list meanwhile (booked or dropped) takes nothing.

#include <memory>

#include "ui/sheets/SheetParameters.h"

namespace ch {

class CImpTItem;

class ImportRecord : public ImportLine, public CallbackReceiver {
public:
    explicit ImportRecord(const std::shared_ptr<CImpTItem>& line) : mLine(line) {}

    std::optional<long> mOtherAccountId() const override;
    void setMOtherAccountId(long accountId) override;
    void setMCounterPartyId(long ownerId) override;
    void setMExpenseTypeId(long categoryId, bool recalculate) override;
    bool performCallback(std::string_view selectorName, const std::shared_ptr<Dictionary>& arguments) override;

private:
    std::weak_ptr<CImpTItem> mLine;
};

} // namespace ch
