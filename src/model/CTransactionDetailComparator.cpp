#include "model/CTransactionDetailComparator.h"

#include <cstring>

#include "model/CDebit.h"
#include "model/CTransaction.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

const CDebit* LineOf(const void* item)
{
    const CDebit* line = nullptr;
    if (item) std::memcpy(&line, item, sizeof line);
    return line;
}

const std::string& NameOf(const CTransaction* transaction)
{
    static const std::string kNone;
    return transaction ? transaction->Get_StringrefName() : kNone;
}

} // namespace

std::int32_t CTransactionDetailComparator::Compare(const void* item1, const void* item2,
                                                   std::uint32_t, std::uint32_t) const
{
    const CDebit* line1 = LineOf(item1);
    const CDebit* line2 = LineOf(item2);
    return CompareTransactions(line1 ? line1->Get_mTransactionPtr() : nullptr,
                               line2 ? line2->Get_mTransactionPtr() : nullptr, line1, line2);
}

LComparator* CTransactionDetailComparator::Clone() const
{
    return new CTransactionDetailComparator(*this);
}

std::int32_t CTransactionDetailComparator::CompareTransactions(const CTransaction* transaction1,
                                                               const CTransaction* transaction2,
                                                               const CDebit* line1,
                                                               const CDebit* line2) const
{
    DateT date1 = transaction1 ? transaction1->Get_mDate() : 0;
    DateT date2 = transaction2 ? transaction2->Get_mDate() : 0;
    if (date1 != date2) return Directed(date1 > date2 ? -1 : 1);
    ObjectIdT id1 = line1 ? line1->Get_Id() : 0;
    ObjectIdT id2 = line2 ? line2->Get_Id() : 0;
    return Directed(id1 > id2 ? -1 : (id1 < id2 ? 1 : 0));
}

bool CTransactionDetailComparator::SwitchSortOrder()
{
    mReverse = !mReverse;
    return mReverse;
}

std::int32_t CTransactionDetailComparator::LargestFirst(double value1, double value2) const
{
    return Directed(value2 > value1 ? 1 : (value1 > value2 ? -1 : 0));
}

std::int32_t CTransactionDetailComparator::TextOrder(const std::string& text1,
                                                     const std::string& text2)
{
    int order = compareCaseInsensitive(text1, text2);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

// --- column variants

LComparator* CTransactionDetailComparatorDesc::Clone() const
{
    return new CTransactionDetailComparatorDesc(*this);
}

std::int32_t CTransactionDetailComparatorDesc::CompareTransactions(const CTransaction* transaction1,
                                                                   const CTransaction* transaction2,
                                                                   const CDebit*, const CDebit*) const
{
    return Directed(TextOrder(NameOf(transaction1), NameOf(transaction2)));
}

LComparator* CTransactionDetailComparatorAcnt::Clone() const
{
    return new CTransactionDetailComparatorAcnt(*this);
}

std::int32_t CTransactionDetailComparatorAcnt::CompareTransactions(const CTransaction*,
                                                                   const CTransaction*,
                                                                   const CDebit* line1,
                                                                   const CDebit* line2) const
{
    return Directed(TextOrder(line1 ? line1->Get_AccountName() : std::string(),
                              line2 ? line2->Get_AccountName() : std::string()));
}

LComparator* CTransactionDetailComparatorLcur::Clone() const
{
    return new CTransactionDetailComparatorLcur(*this);
}

std::int32_t CTransactionDetailComparatorLcur::CompareTransactions(const CTransaction*,
                                                                   const CTransaction*,
                                                                   const CDebit* line1,
                                                                   const CDebit* line2) const
{
    return Directed(TextOrder(line1 ? line1->Get_LocalCurrency() : std::string(),
                              line2 ? line2->Get_LocalCurrency() : std::string()));
}

LComparator* CTransactionDetailComparatorFcur::Clone() const
{
    return new CTransactionDetailComparatorFcur(*this);
}

LComparator* CTransactionDetailComparatorAmtf::Clone() const
{
    return new CTransactionDetailComparatorAmtf(*this);
}

std::int32_t CTransactionDetailComparatorAmtf::CompareTransactions(const CTransaction*,
                                                                   const CTransaction*,
                                                                   const CDebit* line1,
                                                                   const CDebit* line2) const
{
    return LargestFirst(line1 ? line1->Get_mAmount() : 0.0, line2 ? line2->Get_mAmount() : 0.0);
}

LComparator* CTransactionDetailComparatorAmtl::Clone() const
{
    return new CTransactionDetailComparatorAmtl(*this);
}

std::int32_t CTransactionDetailComparatorAmtl::CompareTransactions(const CTransaction*,
                                                                   const CTransaction*,
                                                                   const CDebit* line1,
                                                                   const CDebit* line2) const
{
    return LargestFirst(line1 ? line1->Get_mLocalAmount() : 0.0,
                        line2 ? line2->Get_mLocalAmount() : 0.0);
}

LComparator* CTransactionDetailComparatorBall::Clone() const
{
    return new CTransactionDetailComparatorBall(*this);
}

std::int32_t CTransactionDetailComparatorBall::CompareTransactions(const CTransaction*,
                                                                   const CTransaction*,
                                                                   const CDebit* line1,
                                                                   const CDebit* line2) const
{
    return LargestFirst(line1 ? line1->Get_LocalBalance() : 0.0,
                        line2 ? line2->Get_LocalBalance() : 0.0);
}

LComparator* CTransactionDetailComparatorBalf::Clone() const
{
    return new CTransactionDetailComparatorBalf(*this);
}

std::int32_t CTransactionDetailComparatorBalf::CompareTransactions(const CTransaction*,
                                                                   const CTransaction*,
                                                                   const CDebit* line1,
                                                                   const CDebit* line2) const
{
    return LargestFirst(line1 ? line1->Get_ForeignBalance() : 0.0,
                        line2 ? line2->Get_ForeignBalance() : 0.0);
}

} // namespace ch
