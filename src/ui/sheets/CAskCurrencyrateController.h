#pragma once
// The rate sheet: a new rate of a currency or price of a share, valid from
// the date entered: "quantity SYMBOL = rate BASE". On OK it runs command 18
// on the currency or share itself.
//
// Keys: "mShortName", "mBaseShortName", "mConversionQuantity",
// "mConversionFactor" (the current values) and "DOCUMENT". Refused: a
// quantity not above 0 (215), a rate not above 0 (216), no date or one
// that reads as none (217).

#include <memory>
#include <string_view>

#include "model/foundation/ModelTypes.h"
#include "ui/sheets/CPopupWindowAncestor.h"

class QLabel;

namespace ch {

class CAmountField;
class CCurRItem;
class CDateEditField;

namespace rate_sheet_key {
inline constexpr std::string_view kShortName = "mShortName";
inline constexpr std::string_view kBaseShortName = "mBaseShortName";
inline constexpr std::string_view kConversionQuantity = "mConversionQuantity";
inline constexpr std::string_view kConversionFactor = "mConversionFactor";
} // namespace rate_sheet_key

class CAskCurrencyrateController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    explicit CAskCurrencyrateController(QWidget* parent = nullptr);

    // The currency or share whose rate is entered (the opening's context).
    void setCurrency(std::shared_ptr<CCurRItem> currency) { mCurrency = std::move(currency); }

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override;
    void dialogClosed(int returnCode, const SheetParameters& context) override;

    DateT mDate() const { return mAcceptedDate; }
    double mFactor() const { return mAcceptedFactor; }
    long mQuantity() const { return mAcceptedQuantity; }

private:
    std::shared_ptr<CCurRItem> mCurrency;
    CAmountField* quantityField;
    QLabel* shortNameField;
    CAmountField* amountField;
    QLabel* baseShortNameField;
    CDateEditField* dateField;
    DateT mAcceptedDate = 0;
    double mAcceptedFactor = 0.0;
    long mAcceptedQuantity = 0;
};

} // namespace ch
