#pragma once
// The comparators of booking lines. Items are line pointers (CDebit* and its
// subclasses). The date comparator orders the line lists of accounts and
// categories and the analysis lists: with mReverse set (the default) newest
// first and, within a date, the highest line id first. The column variants
// order a line table by one column; they have no tie-break, so lines with
// equal keys may come in any order. All share the direction switch: number
// keys put the largest value first while mReverse is set.

#include <cstdint>
#include <string>

#include "model/foundation/LComparator.h"

namespace ch {

class CDebit;
class CTransaction;

class CTransactionDetailComparator : public LComparator {
public:
    CTransactionDetailComparator() = default;

    // The lines' transactions and the lines themselves go to CompareTransactions.
    std::int32_t Compare(const void* item1, const void* item2, std::uint32_t size1,
                         std::uint32_t size2) const override;
    LComparator* Clone() const override;

    // Transaction date (0 without a transaction), then line id (0 without a line).
    virtual std::int32_t CompareTransactions(const CTransaction* transaction1,
                                             const CTransaction* transaction2,
                                             const CDebit* line1, const CDebit* line2) const;

    void SetReverse(bool reverse) { mReverse = reverse; }
    bool GetReverse() const { return mReverse; }
    // Inverts the direction; the new value.
    bool SwitchSortOrder();

protected:
    // natural: negative when the first sorts first in the reverse direction.
    std::int32_t Directed(std::int32_t natural) const { return mReverse ? natural : -natural; }
    // Larger values first (before direction).
    std::int32_t LargestFirst(double value1, double value2) const;
    // Case-insensitive text order (before direction).
    static std::int32_t TextOrder(const std::string& text1, const std::string& text2);

    bool mReverse = true;
};

// By the transactions' names.
class CTransactionDetailComparatorDesc : public CTransactionDetailComparator {
public:
    LComparator* Clone() const override;
    std::int32_t CompareTransactions(const CTransaction*, const CTransaction*, const CDebit*,
                                     const CDebit*) const override;
};

// By the lines' account names.
class CTransactionDetailComparatorAcnt : public CTransactionDetailComparator {
public:
    LComparator* Clone() const override;
    std::int32_t CompareTransactions(const CTransaction*, const CTransaction*, const CDebit*,
                                     const CDebit*) const override;
};

// By the home currency's symbol (CDebit::Get_LocalCurrency).
class CTransactionDetailComparatorLcur : public CTransactionDetailComparator {
public:
    LComparator* Clone() const override;
    std::int32_t CompareTransactions(const CTransaction*, const CTransaction*, const CDebit*,
                                     const CDebit*) const override;
};

// The same key as the Lcur variant.
class CTransactionDetailComparatorFcur : public CTransactionDetailComparatorLcur {
public:
    LComparator* Clone() const override;
};

// By the amounts in the line currency.
class CTransactionDetailComparatorAmtf : public CTransactionDetailComparator {
public:
    LComparator* Clone() const override;
    std::int32_t CompareTransactions(const CTransaction*, const CTransaction*, const CDebit*,
                                     const CDebit*) const override;
};

// By the home-currency amounts.
class CTransactionDetailComparatorAmtl : public CTransactionDetailComparator {
public:
    LComparator* Clone() const override;
    std::int32_t CompareTransactions(const CTransaction*, const CTransaction*, const CDebit*,
                                     const CDebit*) const override;
};

// By the running balances.
class CTransactionDetailComparatorBall : public CTransactionDetailComparator {
public:
    LComparator* Clone() const override;
    std::int32_t CompareTransactions(const CTransaction*, const CTransaction*, const CDebit*,
                                     const CDebit*) const override;
};

// By the running balances in the account currency.
class CTransactionDetailComparatorBalf : public CTransactionDetailComparator {
public:
    LComparator* Clone() const override;
    std::int32_t CompareTransactions(const CTransaction*, const CTransaction*, const CDebit*,
                                     const CDebit*) const override;
};

} // namespace ch
