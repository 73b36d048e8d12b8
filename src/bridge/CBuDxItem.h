#pragma once
// CBuDxItem: the item of one budget cross-reference ('BuDx') - the part of a
// category's planned movement that one account carries in one month. The
// cross-reference sits in the lists of both its account line and its category
// line. Items are made by the budget line's month look-up, not registered.
//
// Getters read the model while the item is bound and the values kept at its
// last refresh after its cross-reference was deleted (the model's message
// 2008 detaches it), so an item still shown somewhere never reads a deleted
// object. The booked
// amounts are the model's alone: their setters change nothing.

#include <optional>
#include <string>

#include "bridge/BudgetArgumentRecords.h"
#include "bridge/CNonVisualDataItem.h"

namespace ch {

class CBudgetXRef;

class CBuDxItem : public CNonVisualDataItem {
public:
    explicit CBuDxItem(CBudgetXRef* xref);

    // --- amounts (bound: the model; detached: the kept values)
    std::optional<double> mBudgetFrom() const;
    std::optional<double> mBudgetTo() const;
    std::optional<double> mXtraBudgetFrom() const;
    std::optional<double> mXtraBudgetTo() const;
    std::optional<double> mActualFrom() const;
    std::optional<double> mActualTo() const;
    std::optional<double> mXtraActualFrom() const;
    std::optional<double> mXtraActualTo() const;
    // The planned amounts: both lines recompute their figures.
    void setMBudgetFrom(std::optional<double> amount);
    void setMBudgetTo(std::optional<double> amount);
    void setMXtraBudgetFrom(std::optional<double> amount);
    void setMXtraBudgetTo(std::optional<double> amount);

    // --- what it ties (names in Unicode, as every other name)
    std::string accountName() const;
    std::string reasonName() const;
    std::optional<long> accountId() const;
    std::optional<long> reasonId() const;
    bool isTransferBudget() const;
    bool getMBlocked() const;
    // Bound: the model's comment; detached: none.
    std::optional<std::string> mComment() const;

    // The amounts of the months zeroBasedMonthFrom..zeroBasedMonthTo (those
    // not blocked); the model's answer, false when detached.
    bool modify(const ModifyBudgetXRefArguments& values);

    // Takes the model's values as the ones to show once detached (done when
    // made and after each change through the item).
    void keepValues();

private:
    CBudgetXRef* xref() const;

    struct Kept {
        double budgetFrom = 0, budgetTo = 0, xtraBudgetFrom = 0, xtraBudgetTo = 0;
        double actualFrom = 0, actualTo = 0, xtraActualFrom = 0, xtraActualTo = 0;
        std::string accountName, reasonName;
        std::optional<long> accountId, reasonId;
        bool transfer = false, blocked = false;
    } mKept;
};

} // namespace ch
