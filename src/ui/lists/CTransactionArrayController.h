#pragma once
// CTransactionArrayController: a transaction list with the two filters of
// the transactions page's filter bar on top of the search. Flag filter:
// 0 everything, 1 flagged (status 7) only, 2 all but flagged, 3 checked
// (status 9) only, 4 all but checked. Period filter: 0 everything, 1 new
// this session, 2 the last seven days and today, 3 this month, 4 this year.
// With a filter on, rows that are no transaction with a model transaction
// are left out.

#include <cstdint>

#include "ui/lists/CNonVisualDataItemArrayController.h"

namespace ch {

class CTransactionArrayController : public CNonVisualDataItemArrayController {
public:
    static constexpr int kFlagged = 7;
    static constexpr int kChecked = 9;

    void setFlagSelectionType(std::uint8_t type);
    void setPeriodSelectionType(std::uint8_t type);
    void setFlagSelectionType(std::uint8_t flagType, std::uint8_t periodType);
    std::uint8_t flagSelectionType() const { return mFlag; }
    std::uint8_t periodSelectionType() const { return mPeriod; }

    // Whether the status and date pass the flag and period filters, with
    // today given (yyyymmdd).
    static bool passesFlagFilter(std::uint8_t type, int status);
    static bool passesPeriodFilter(std::uint8_t type, long date, bool newThisSession, long today);

protected:
    bool filtering() const override;
    bool accepts(const CNonVisualDataItem& item) const override;
    // Transactions are judged by their model object, except for "new this
    // session", which only their item knows.
    bool judgesObjects() const override { return true; }
    void willFilter() override;
    std::optional<bool> acceptsObject(const CNonVisual& object) const override;
    // A text that holds the previous one and reads as no number (which
    // would find ids and amounts) keeps no row the previous one left out.
    bool searchNarrows(const std::string& previous, const std::string& text) const override;

private:
    std::uint8_t mFlag = 0;
    std::uint8_t mPeriod = 0;
    double mSearchNumber = 0.0;   // the search text read as a number
    long mToday = 0;
};

} // namespace ch
